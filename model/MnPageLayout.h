#pragma once

#include "model/MnElement.h"

class MnSheetMusic;

// The layout of one page of a sheet music after the first: where its first
// system starts in the printable area (top-left corner, y up, so y <= 0)
// and how far apart its systems stand.
class MnPageLayout : public MnElement
{
    BC_DECLARE_CLASS(MnPageLayout)
public:
    // The offset (0, 0) and the sheet's system spacing; the sheet gives
    // pages in 0..MnMaxPages - 1 only.
    MnPageLayout(MnSheetMusic* sheetMusic, int page);
    ~MnPageLayout() override = default;

    MnElement* parent() const override;
    // Page index, offset and spacing; no version branches.
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // The offset.
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    // Only y moves, kept on the page: at most 0 and at least the score's
    // height less the usable height.
    bool moveTo(const GePoint2d& point) override;
    // The score's scale.
    double scale() const override;
    // The point of the page's printable area in the document: the page's
    // origin and margins added.
    GePoint2d toPageCoordinates(const GePoint2d& point, const EdPath* path) const override;

    MnSheetMusic* sheetMusic() const { return layoutSheet; }
    int page() const { return layoutPage; }
    const GePoint2d& offset() const { return layoutOffset; }
    double systemSpacing() const { return layoutSystemSpacing; }
    // False, with nothing changed, outside 0..MnMaxCoordinate.
    bool setSystemSpacing(double spacing);

private:
    MnSheetMusic* layoutSheet;
    int layoutPage;
    GePoint2d layoutOffset;
    double layoutSystemSpacing;
};
