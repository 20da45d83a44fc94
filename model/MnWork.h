#pragma once

#include "foundation/BcString.h"
#include "model/MnElement.h"

// The descriptive information of a document's music: six free texts. A
// document keeps it as its first work, ahead of its scores and sheet music.
// It has no position, size or parent and never moves; its users read and
// replace the texts directly.
class MnWork : public MnElement
{
    BC_DECLARE_CREATABLE_CLASS(MnWork)
public:
    MnWork() = default;
    ~MnWork() override = default;

    MnElement* parent() const override;
    // The six texts in the order of the fields below, no count, no versions.
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    bool moveTo(const GePoint2d& point) override;

    BcString title;
    BcString subtitle;
    BcString composer;
    BcString arranger;
    BcString lyricist;
    BcString copyright;
};
