#pragma once

#include "model/MnText.h"

class MnSheetMusic;

// Kind of text a credit shows: the index of the work text it follows, or
// none for a text of its own.
enum MnCreditType
{
    MnCreditNone = -1,
    MnCreditTitle = 0,
    MnCreditSubtitle = 1,
    MnCreditComposer = 2,
    MnCreditArranger = 3,
    MnCreditLyricist = 4,
    MnCreditRights = 5,
};

// A free text on a page of a sheet music: a title, composer, rights line or
// any other text. Its position is in millimetres from the top-left corner
// of the page's printable area; a credit with an alignment of 0..2 is
// justified between the page's margins when it is drawn, a free one (-1)
// stands at its own x.
class MnCredit : public MnText
{
    BC_DECLARE_CLASS(MnCredit)
public:
    static constexpr int typeCount = 6;

    // A credit of the sheet on the page (brought into 0..MnMaxPages - 1): no
    // type, aligned left.
    explicit MnCredit(MnSheetMusic* sheetMusic = nullptr, int page = 0);
    ~MnCredit() override = default;

    MnElement* parent() const override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    double width() const override;
    // Moves to the point, then into the printable area of its page.
    bool moveTo(const GePoint2d& point) override;
    // Guide lines at the other credits: one at each one's height, and one
    // at its x when both stand free.
    bool addGuideLines(BcArray<EdGuideLine*>& lines, const EdPath* path) override;
    // The sheet's page coordinates, from the first page's printable area.
    GePoint2d toPageCoordinates(const GePoint2d& point, const EdPath* path) const override;
    // An empty text is refused (false, nothing changes).
    bool setText(const BcString& text) override;

    MnSheetMusic* sheetMusic() const { return creditSheet; }
    void setSheetMusic(MnSheetMusic* sheetMusic) { creditSheet = sheetMusic; }

    int page() const { return creditPage; }
    // False, with nothing changed, for a page outside 0..MnMaxPages - 1.
    bool setPage(int page);
    // MnCreditType.
    int type() const { return creditType; }
    // Types outside -1..5 become -1 (a text of its own).
    void setType(int type);
    // -1 free, 0 left, 1 centre, 2 right.
    int creditAlignment() const { return creditJustification; }
    // Values outside -1..2 become -1 (free).
    void setCreditAlignment(int alignment);

private:
    MnSheetMusic* creditSheet;
    int creditPage;
    int creditType = MnCreditNone;
    int creditJustification = 0;
};
