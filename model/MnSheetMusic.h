#pragma once

#include "model/MnElement.h"

class MnCredit;
class MnPageLayout;
class MnPageNumber;
class MnScore;
class MnText;

// A score laid out on paper: paper size and orientation, margins with their
// links, the distance between systems, the credits placed on the pages, the
// page-number template and layouts of single pages. It is a top-level work
// of a document. Several sheets may show one score; the sheet that is the
// score's parent owns it.
//
// Lengths are millimetres; a page's origin is its top-left corner, y up, so
// points on a page have y <= 0.
class MnSheetMusic : public MnElement
{
    BC_DECLARE_CREATABLE_CLASS(MnSheetMusic)
public:
    enum Presentation
    {
        PagesInRows = 0,
        Book = 1,     // two-page spreads with a page that can be turned
    };

    // A4 portrait with a new score of four measures at the left margin,
    // the credits "Untitled" and "Unknown" and the page-number template.
    MnSheetMusic();
    // Deletes the score only when it is this sheet's own.
    ~MnSheetMusic() override;

    MnElement* parent() const override;
    // Deletes one of its credits or page layouts.
    bool removeChild(MnElement* child) override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    bool moveTo(const GePoint2d& point) override;

    MnScore* score() const { return sheetScore; }
    // Whether the score's parent is this sheet.
    bool ownsScore() const;
    // Shows another sheet's score, or takes a free score over (a score
    // without parent becomes this sheet's own). The old score is deleted
    // when this sheet owned it.
    void setScore(MnScore* score);

    int creditCount() const { return credits.count(); }
    MnCredit* credit(int index) const { return credits[index]; }
    // A new credit on the page with the text "New text", clamped at (0, 0);
    // null when the sheet holds MnMaxRecordCount credits.
    MnCredit* addCredit(int page);

    MnPageNumber* pageNumberTemplate() const { return pageNumberStyle; }
    // The template for -1, nothing for the first page (0); otherwise the
    // scratch text filled with the page's number in the template's style,
    // placed at the page's outer bottom corner.
    MnText* pageNumberText(int page);

    int pageLayoutCount() const { return pageLayouts.count(); }
    MnPageLayout* pageLayoutAt(int index) const { return pageLayouts[index]; }
    // The first layout of the page; with create, a new one when it has none
    // (none for a page outside 0..MnMaxPages - 1, or when the sheet holds
    // MnMaxRecordCount layouts).
    MnPageLayout* pageLayout(int page, bool create);
    // The last layout of the page, the one the pagination reads (a damaged
    // file may hold two); with create, a new one when it has none.
    MnPageLayout* paginatedPageLayout(int page, bool create);

    int presentation() const { return sheetPresentation; }
    void setPresentation(int presentation);
    // 1..4 pages per row; 5 puts all pages in one row, and so more than 5
    // become 5. False, with nothing changed, for fewer than 1.
    int pagesPerRow() const { return sheetPagesPerRow; }
    bool setPagesPerRow(int pages);
    bool isFirstPageRight() const { return firstPageRight; }
    void setFirstPageRight(bool right) { firstPageRight = right; }
    int currentPage() const { return sheetCurrentPage; }
    // Brought into 0..MnMaxPages - 1.
    void setCurrentPage(int page);
    // Degrees of the page being turned in a book; view state, not filed.
    double turnAngle() const { return sheetTurnAngle; }
    void setTurnAngle(double angle) { sheetTurnAngle = angle; }

    int paperWidth() const { return sheetPaperWidth; }
    int paperHeight() const { return sheetPaperHeight; }
    // False, with nothing changed, unless both lie in 1..MnMaxPaperLength.
    bool setPaperSize(int width, int height);
    bool isLandscape() const { return sheetLandscape != 0; }
    void setLandscape(bool landscape) { sheetLandscape = landscape ? 1 : 0; }
    int paperColor() const { return sheetPaperColor; }
    void setPaperColor(int color) { sheetPaperColor = color; }

    // The stored margins, before links and mirroring; negative ones become
    // 0, longer ones MnMaxPaperLength.
    int storedLeftMargin() const { return marginLeft; }
    int storedRightMargin() const { return marginRight; }
    int storedTopMargin() const { return marginTop; }
    int storedBottomMargin() const { return marginBottom; }
    void setMargins(int left, int right, int top, int bottom);
    bool rightEqualsLeft() const { return linkRightToLeft; }
    bool bottomEqualsTop() const { return linkBottomToTop; }
    bool topEqualsRight() const { return linkTopToRight; }
    bool isMirrored() const { return mirrorMargins; }
    void setMarginLinks(bool rightEqualsLeft, bool bottomEqualsTop, bool topEqualsRight, bool mirror);
    double systemSpacing() const { return sheetSystemSpacing; }
    // False, with nothing changed, outside 0..MnMaxCoordinate.
    bool setSystemSpacing(double spacing);

    // The page's dimensions as the orientation shows them.
    double pageWidth() const;
    double pageHeight() const;
    // With the default settings the even pages (0, 2, ...) are left-hand.
    bool isLeftPage(int page) const;
    // Margins of a page after the links and the mirroring; the two side
    // margins of every page sum to the same value.
    double leftMargin(int page) const;
    double rightMargin(int page) const;
    double topMargin() const;
    double bottomMargin() const;

    // Pagination and page placement (MnSheetMusicPagination.cpp). Systems
    // take measures while they fit the usable width, pages take systems
    // while they fit below each other; a measure's break code 1 ends its
    // system, 2 its page. Page lengths are millimetres, system widths the
    // score's unscaled units. The results are cached within one MnCache
    // scope; every operation opens one of its own around its work.
    // From one system's top to the next one's on the page.
    double systemDistance(int page) const;
    // Where the page's first system starts in its printable area.
    GePoint2d pageContentOrigin(int page) const;
    // The number of measures (at least 1) of the system that starts at the
    // measure, and the stretch that fills the system with them (below 0
    // for a measure too wide for a system of its own).
    int fitSystem(int firstMeasure, double& stretch) const;
    int pageCount() const;
    int systemsOnPage(int page) const;
    int systemCount() const;
    // The page of the system that holds the measure, with the system's
    // index on its page, its first measure and its measure count for the
    // outputs that are not null. A measure outside the score leaves the
    // outputs untouched and answers the page count.
    int locateMeasure(int measure, int* systemOnPage, int* firstMeasureOfSystem, int* measureCount) const;
    // The top-left corner of the page in the document (relative to the
    // sheet's position with pageRelative); false when the page is not
    // shown. A current page past the last page is first stepped back.
    bool pageOrigin(int page, GePoint2d& origin, bool pageRelative);
    // Degrees by which a book turns the page about its spine.
    double pageTurnAngle(int page);
    // The first page of the book's current spread (-1: the first spread
    // has only a right page).
    int spreadFirstPage() const;
    // Turns the book to the next spread; false at the last one.
    bool nextSpread();
    // The corners of every shown page.
    bool addSnapPoints(BcArray<GePoint2d>& points) override;

private:
    void deleteOwnedScore();
    // A book's spread begins at this page.
    bool startsSpread(int page) const;
    // Steps a current page past the last page back to the last spread.
    void bringCurrentPageIn();
    // The page's place in the current spread: 0, 1 its left and right
    // page, 2, 3 those of the next spread.
    int bookSlot(int page) const;
    // Pages side by side in one row.
    int pageColumns() const;
    // Room for a key or time change after the measure, with its courtesy
    // signature before the bar line.
    double changeRoomAfter(int measure) const;
    double usableWidth() const;
    double usableHeight() const;
    const MnPageLayout* lastPageLayout(int page) const;

    GePoint2d sheetPosition;
    MnScore* sheetScore = nullptr;
    BcArray<MnCredit*> credits;
    MnPageNumber* pageNumberStyle;
    MnText* pageNumberScratch;
    BcArray<MnPageLayout*> pageLayouts;
    int sheetPresentation = PagesInRows;
    int sheetPagesPerRow = 5;
    bool firstPageRight = false;
    int sheetCurrentPage = 0;
    double sheetTurnAngle = 0.0;
    int sheetPaperWidth = 210;
    int sheetPaperHeight = 297;
    int sheetLandscape = 0;
    int sheetPaperColor;
    int marginLeft = 10;
    int marginRight = 10;
    int marginTop = 16;
    int marginBottom = 16;
    bool linkRightToLeft = true;
    bool linkBottomToTop = true;
    bool linkTopToRight = false;
    bool mirrorMargins = true;
    double sheetSystemSpacing = 20.0;

    // The pagination of the current MnCache scope.
    mutable int paginationStamp = 0;
    mutable int paginatedPages = 0;
    mutable int paginatedSystems = 0;
    mutable BcArray<int> systemsPerPage;
    // Per system: its first measure, its page and its index on the page.
    mutable BcArray<int> systemStarts;
    mutable BcArray<int> systemPages;
    mutable BcArray<int> systemSlots;
    // Per first measure: the fitted system (0 when not fitted yet).
    mutable int fitStamp = 0;
    mutable BcArray<int> fitCounts;
    mutable BcArray<double> fitStretches;
};
