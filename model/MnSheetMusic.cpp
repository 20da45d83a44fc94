#include "model/MnSheetMusic.h"

#include "foundation/BcFiler.h"
#include "foundation/BcSettings.h"
#include "foundation/BcStringResources.h"
#include "model/MnCredit.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnPageLayout.h"
#include "model/MnPageNumber.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffDefinition.h"

BC_IMPLEMENT_CREATABLE_CLASS(MnSheetMusic)

// A new sheet shows four measures on every staff.
static constexpr int newSheetMeasures = 4;

MnSheetMusic::MnSheetMusic()
    : pageNumberStyle(new MnPageNumber()), pageNumberScratch(new MnText()),
      sheetPaperColor(BcSettings::current().value(BcSettings::paperDefaultColor))
{
    sheetScore = new MnScore();
    sheetScore->setSheetMusic(this);
    sheetScore->moveTo(GePoint2d(leftMargin(0), -80.0));
    for (int i = 0; i < sheetScore->staffCount(); ++i) {
        MnStaff* staff = sheetScore->staff(i);
        while (staff->measureCount() < newSheetMeasures) {
            int lastStart = staff->measure(staff->measureCount() - 1)->startTime();
            if (!staff->insertMeasure(-1, staff->definitionAt(lastStart, false)->time()))
                break;
        }
    }

    MnCredit* title = new MnCredit(this, 0);
    title->setText(BcStringResources::current().loadString(BcStringResources::untitled));
    title->setCreditAlignment(1);
    title->setAlignment(1);
    title->setSize(16.0);
    title->moveTo(GePoint2d(0.0, 0.0));
    credits.add(title);

    MnCredit* composer = new MnCredit(this, 0);
    composer->setText(BcStringResources::current().loadString(BcStringResources::unknown));
    composer->setCreditAlignment(2);
    composer->setAlignment(2);
    composer->setSize(8.0);
    composer->moveTo(GePoint2d(0.0, -25.0));
    credits.add(composer);
}

MnSheetMusic::~MnSheetMusic()
{
    deleteOwnedScore();
    for (int i = 0; i < credits.count(); ++i)
        delete credits[i];
    delete pageNumberStyle;
    delete pageNumberScratch;
    for (int i = 0; i < pageLayouts.count(); ++i)
        delete pageLayouts[i];
}

void MnSheetMusic::deleteOwnedScore()
{
    if (ownsScore())
        delete sheetScore;
    sheetScore = nullptr;
}

bool MnSheetMusic::ownsScore() const
{
    return sheetScore && sheetScore->parent() == this;
}

void MnSheetMusic::setScore(MnScore* score)
{
    if (score == sheetScore)
        return;
    deleteOwnedScore();
    sheetScore = score;
    if (sheetScore && !sheetScore->parent())
        sheetScore->setSheetMusic(this);
}

MnElement* MnSheetMusic::parent() const
{
    return nullptr;
}

bool MnSheetMusic::removeChild(MnElement* child)
{
    int index = mnIndexOf(credits, child);
    if (index >= 0) {
        credits.removeAt(index);
        delete child;
        return true;
    }
    index = mnIndexOf(pageLayouts, child);
    if (index >= 0) {
        pageLayouts.removeAt(index);
        delete child;
        return true;
    }
    return false;
}

bool MnSheetMusic::read(BcFiler& filer)
{
    if (!readPoint(filer, sheetPosition))
        return false;

    bool ownScore = false;
    if (!filer.readBool(ownScore))
        return false;
    if (ownScore) {
        // A score that fails to read is dropped; the sheet keeps the one it had.
        MnScore* score = new MnScore();
        score->setSheetMusic(this);
        if (!score->read(filer)) {
            delete score;
            return false;
        }
        deleteOwnedScore();
        sheetScore = score;
    }

    int creditTotal = 0;
    if (!readCount(filer, MnMaxRecordCount, creditTotal))
        return false;
    for (int i = 0; i < credits.count(); ++i)
        delete credits[i];
    credits.removeAll();
    // A count that promises more credits than the data holds ends at the
    // first record that runs out.
    for (int i = 0; i < creditTotal; ++i) {
        MnCredit* credit = new MnCredit(this, 0);
        if (!credit->read(filer)) {
            delete credit;
            return false;
        }
        credits.add(credit);
    }

    if (filer.version() > 0) {
        if (!pageNumberStyle->read(filer))
            return false;
        int layoutTotal = 0;
        if (!readCount(filer, MnMaxRecordCount, layoutTotal))
            return false;
        for (int i = 0; i < pageLayouts.count(); ++i)
            delete pageLayouts[i];
        pageLayouts.removeAll();
        for (int i = 0; i < layoutTotal; ++i) {
            MnPageLayout* layout = new MnPageLayout(this, 0);
            if (!layout->read(filer)) {
                delete layout;
                return false;
            }
            pageLayouts.add(layout);
        }
    }

    int presentation = 0;
    int pagesPerRow = 0;
    bool firstRight = false;
    int currentPage = 0;
    int paperWidth = 0;
    int paperHeight = 0;
    int landscape = 0;
    int paperColor = 0;
    if (!filer.readInt(presentation) || !filer.readInt(pagesPerRow) || !filer.readBool(firstRight) ||
        !filer.readInt(currentPage) || !filer.readInt(paperWidth) || !filer.readInt(paperHeight) ||
        !filer.readInt(landscape) || !filer.readInt(paperColor))
        return false;
    // Pages are laid out in rows of this many and measured from the paper;
    // five or more pages per row all mean one row.
    if (!mnIsPaperLength(paperWidth) || !mnIsPaperLength(paperHeight) || !setPagesPerRow(pagesPerRow))
        return false;
    setPaperSize(paperWidth, paperHeight);
    setPresentation(presentation);
    firstPageRight = firstRight;
    setCurrentPage(currentPage);
    sheetLandscape = landscape != 0 ? 1 : 0;
    sheetPaperColor = paperColor;

    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    if (!filer.readInt(left) || !filer.readInt(right) || !filer.readInt(top) || !filer.readInt(bottom))
        return false;
    setMargins(left, right, top, bottom);
    bool rightLinked = false;
    bool bottomLinked = false;
    bool topLinked = false;
    bool mirror = false;
    if (!filer.readBool(rightLinked) || !filer.readBool(bottomLinked) || !filer.readBool(topLinked) ||
        !filer.readBool(mirror))
        return false;
    setMarginLinks(rightLinked, bottomLinked, topLinked, mirror);
    double spacing = 0.0;
    if (!filer.readDouble(spacing))
        return false;
    // Pages are filled by dividing by the system distance.
    if (!mnIsSystemSpacing(spacing))
        return false;
    sheetSystemSpacing = spacing;
    return filer.isOk();
}

bool MnSheetMusic::write(BcFiler& filer) const
{
    filer.writeDouble(sheetPosition.x);
    filer.writeDouble(sheetPosition.y);
    bool ownScore = ownsScore();
    filer.writeBool(ownScore);
    if (ownScore)
        sheetScore->write(filer);
    filer.writeInt(credits.count());
    for (int i = 0; i < credits.count(); ++i)
        credits[i]->write(filer);
    pageNumberStyle->write(filer);
    filer.writeInt(pageLayouts.count());
    for (int i = 0; i < pageLayouts.count(); ++i)
        pageLayouts[i]->write(filer);
    filer.writeInt(sheetPresentation);
    filer.writeInt(sheetPagesPerRow);
    filer.writeBool(firstPageRight);
    filer.writeInt(sheetCurrentPage);
    filer.writeInt(sheetPaperWidth);
    filer.writeInt(sheetPaperHeight);
    filer.writeInt(sheetLandscape);
    filer.writeInt(sheetPaperColor);
    filer.writeInt(marginLeft);
    filer.writeInt(marginRight);
    filer.writeInt(marginTop);
    filer.writeInt(marginBottom);
    filer.writeBool(linkRightToLeft);
    filer.writeBool(linkBottomToTop);
    filer.writeBool(linkTopToRight);
    filer.writeBool(mirrorMargins);
    filer.writeDouble(sheetSystemSpacing);
    return filer.isOk();
}

GePoint2d MnSheetMusic::position() const
{
    return sheetPosition;
}

bool MnSheetMusic::moveTo(const GePoint2d& point)
{
    if (!isPosition(point) || !isMove(sheetPosition, point))
        return false;
    sheetPosition = point;
    return true;
}

MnCredit* MnSheetMusic::addCredit(int page)
{
    if (credits.count() >= MnMaxRecordCount)
        return nullptr;
    MnCredit* credit = new MnCredit(this, page);
    credit->setText(BcStringResources::current().loadString(BcStringResources::newText));
    credit->moveTo(GePoint2d(0.0, 0.0));
    credits.add(credit);
    return credit;
}

MnText* MnSheetMusic::pageNumberText(int page)
{
    if (page == -1)
        return pageNumberStyle;
    if (page < 0 || page == 0)
        return nullptr;
    MnText* text = pageNumberScratch;
    text->setText(BcString(page + 1));
    text->setFont(pageNumberStyle->font());
    text->setSize(pageNumberStyle->size());
    text->setUnderline(pageNumberStyle->isUnderlined());
    text->setAlignment(pageNumberStyle->alignment());
    double y = -pageHeight() + bottomMargin() / 2.0;
    // Page numbers stand at the outer corner: the left one of a mirrored
    // left-hand page, the right one of any other.
    if (isLeftPage(page) && mirrorMargins) {
        text->setAlignment(6);
        text->moveTo(GePoint2d(leftMargin(page), y));
    } else {
        text->setAlignment(8);
        text->moveTo(GePoint2d(pageWidth() - rightMargin(page), y));
    }
    return text;
}

MnPageLayout* MnSheetMusic::paginatedPageLayout(int page, bool create)
{
    for (int i = pageLayouts.count() - 1; i >= 0; --i) {
        if (pageLayouts[i]->page() == page)
            return pageLayouts[i];
    }
    return pageLayout(page, create);
}

MnPageLayout* MnSheetMusic::pageLayout(int page, bool create)
{
    for (int i = 0; i < pageLayouts.count(); ++i) {
        if (pageLayouts[i]->page() == page)
            return pageLayouts[i];
    }
    if (!create || !mnIsPage(page) || pageLayouts.count() >= MnMaxRecordCount)
        return nullptr;
    MnPageLayout* layout = new MnPageLayout(this, page);
    pageLayouts.add(layout);
    return layout;
}

void MnSheetMusic::setPresentation(int presentation)
{
    sheetPresentation = presentation == Book ? Book : PagesInRows;
}

bool MnSheetMusic::setPagesPerRow(int pages)
{
    if (pages < 1)
        return false;
    sheetPagesPerRow = pages > MnMaxPagesPerRow ? MnMaxPagesPerRow : pages;
    return true;
}

void MnSheetMusic::setCurrentPage(int page)
{
    sheetCurrentPage = page < 0 ? 0 : page >= MnMaxPages ? MnMaxPages - 1 : page;
}

bool MnSheetMusic::setPaperSize(int width, int height)
{
    if (!mnIsPaperLength(width) || !mnIsPaperLength(height))
        return false;
    sheetPaperWidth = width;
    sheetPaperHeight = height;
    return true;
}

void MnSheetMusic::setMargins(int left, int right, int top, int bottom)
{
    marginLeft = mnClampedMargin(left);
    marginRight = mnClampedMargin(right);
    marginTop = mnClampedMargin(top);
    marginBottom = mnClampedMargin(bottom);
}

bool MnSheetMusic::setSystemSpacing(double spacing)
{
    if (!mnIsSystemSpacing(spacing))
        return false;
    sheetSystemSpacing = spacing;
    return true;
}

void MnSheetMusic::setMarginLinks(bool rightEqualsLeft, bool bottomEqualsTop, bool topEqualsRight, bool mirror)
{
    linkRightToLeft = rightEqualsLeft;
    linkBottomToTop = bottomEqualsTop;
    linkTopToRight = topEqualsRight;
    mirrorMargins = mirror;
}

double MnSheetMusic::pageWidth() const
{
    int longer = sheetPaperWidth > sheetPaperHeight ? sheetPaperWidth : sheetPaperHeight;
    int shorter = sheetPaperWidth > sheetPaperHeight ? sheetPaperHeight : sheetPaperWidth;
    return sheetLandscape ? longer : shorter;
}

double MnSheetMusic::pageHeight() const
{
    int longer = sheetPaperWidth > sheetPaperHeight ? sheetPaperWidth : sheetPaperHeight;
    int shorter = sheetPaperWidth > sheetPaperHeight ? sheetPaperHeight : sheetPaperWidth;
    return sheetLandscape ? shorter : longer;
}

bool MnSheetMusic::isLeftPage(int page) const
{
    bool oddNumber = (page + 1) % 2 != 0;
    return oddNumber != firstPageRight;
}

double MnSheetMusic::leftMargin(int page) const
{
    if (isLeftPage(page) && mirrorMargins && !linkRightToLeft)
        return marginRight;
    return marginLeft;
}

double MnSheetMusic::rightMargin(int page) const
{
    if ((isLeftPage(page) && mirrorMargins) || linkRightToLeft)
        return marginLeft;
    return marginRight;
}

double MnSheetMusic::topMargin() const
{
    if (linkTopToRight)
        return linkRightToLeft ? marginLeft : marginRight;
    return marginTop;
}

double MnSheetMusic::bottomMargin() const
{
    return linkBottomToTop ? topMargin() : marginBottom;
}
