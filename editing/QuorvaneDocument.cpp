#include "editing/QuorvaneDocument.h"

#include "editing/EdContext.h"
#include "editing/EdView.h"
#include "foundation/BcMemoryFiler.h"
#include "model/MnCredit.h"
#include "model/MnElement.h"
#include "model/MnLimits.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"

// The full part and group labels, as the score composer lays them out.
static GeVector2d measurePartLabels(const MnScore* score)
{
    return score->partsExtents(false);
}

static QuorvaneDocument::PartLabelExtents partLabelExtents = &measurePartLabels;

QuorvaneDocument::PartLabelExtents QuorvaneDocument::setPartLabelExtents(PartLabelExtents measure)
{
    PartLabelExtents previous = partLabelExtents;
    partLabelExtents = measure ? measure : &measurePartLabels;
    return previous;
}

QuorvaneDocument::QuorvaneDocument()
    : workList(8), drawingOrder(8), collapsedPaths(8), scroll(120.0, -20.0), zoomFactor(300.0),
      snapshots(8), snapshotSizes(8), afterStates(8), beforeStates(8)
{
}

QuorvaneDocument::~QuorvaneDocument()
{
    clearUndo();
    drawingOrder.removeAll();
    deleteWorks(workList);
}

static bool showsAnotherSheetsScore(const MnElement* work)
{
    if (!work->isKindOf(MnSheetMusic::staticClass()))
        return false;
    const MnSheetMusic* sheet = static_cast<const MnSheetMusic*>(work);
    return sheet->score() && !sheet->ownsScore();
}

void QuorvaneDocument::deleteWorks(BcArray<MnElement*>& list)
{
    // Emptied before the deletes, so nothing reads a dying work through it.
    BcArray<MnElement*> dying = std::move(list);
    list = BcArray<MnElement*>(8);
    // A sheet that shows another sheet's score looks at that score when it
    // dies, so every such sheet goes before any owner of a score.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < dying.count(); ++i) {
            if (dying[i] && showsAnotherSheetsScore(dying[i]) == (pass == 0)) {
                delete dying[i];
                dying[i] = nullptr;
            }
        }
    }
}

// --- Framework side ------------------------------------------------------------

bool QuorvaneDocument::OnNewDocument()
{
    drawingOrder.removeAll();
    deleteWorks(workList);
    MnElement* work = static_cast<MnElement*>(MnWork::newInstance());
    workList.add(work);
    drawingOrder.add(work);
    mainIndex = -1;
    collapsedPaths.removeAll();
    clearUndo();
    if (!pushUndoSnapshot())
        return false;
    savedSnapshot = currentIndex;
    return true;
}

static BcString fileNameOf(const BcString& path)
{
    int start = 0;
    for (int i = 0; i < path.length(); ++i) {
        if (path[i] == u'/' || path[i] == u'\\')
            start = i + 1;
    }
    return path.mid(start);
}

bool QuorvaneDocument::OnOpenDocument(const BcString& path)
{
    if (!loadScore(path, false))
        return false;
    clearUndo();
    if (!pushUndoSnapshot())
        return false;
    savedSnapshot = currentIndex;
    documentPath = path;
    documentTitle = fileNameOf(path);
    SetModifiedFlag(false);
    return true;
}

bool QuorvaneDocument::OnSaveDocument(const BcString& path)
{
    // The camera of the document's own view goes into the file; another
    // document's view says nothing about this one.
    GePoint2d keptScroll = scroll;
    double keptZoom = zoomFactor;
    EdView* view = EdContext::current().activeView();
    if (view && view->document() == this) {
        GePoint2d viewScroll = scroll;
        double viewZoom = zoomFactor;
        view->camera(viewScroll, viewZoom);
        setCamera(viewScroll, viewZoom);
    }
    if (!saveScore(path)) {
        setCamera(keptScroll, keptZoom);
        return false;
    }
    documentPath = path;
    documentTitle = fileNameOf(path);
    SetModifiedFlag(false);
    savedSnapshot = currentIndex;
    return true;
}

void QuorvaneDocument::OnCloseDocument()
{
    EdContext& context = EdContext::current();
    if (context.playerPlays(this))
        context.playerStop();
}

BcString QuorvaneDocument::titleWithoutStar(const BcString& title)
{
    if (title.length() > 1 && title.endsWith(BcString("*")))
        return title.midRange(0, title.length() - 2);
    return title;
}

BcString QuorvaneDocument::titleForModified(const BcString& title, bool modified)
{
    BcString result = titleWithoutStar(title);
    if (modified)
        result.append(BcString("*"));
    return result;
}

void QuorvaneDocument::SetModifiedFlag(bool modified)
{
    modifiedFlag = modified;
    documentTitle = titleForModified(documentTitle, modified);
    modifiedTick = EdContext::current().tickCount();
}

// After the framework's prompt or dialog: the star comes back while modified.
static void restoreStar(BcString& title, bool modified)
{
    if (modified && !title.isEmpty() && !title.endsWith(BcString("*")))
        title.append(BcString("*"));
}

bool QuorvaneDocument::SaveModified(const std::function<bool()>& frameworkPrompt)
{
    documentTitle = titleWithoutStar(documentTitle);
    bool result = frameworkPrompt ? frameworkPrompt() : true;
    restoreStar(documentTitle, modifiedFlag);
    return result;
}

bool QuorvaneDocument::OnFileSave(const std::function<bool()>& frameworkSave)
{
    BcString oldTitle;
    if (documentPath.isEmpty()) {
        BcString name;
        defaultFileName(name);
        if (!name.isEmpty()) {
            oldTitle = documentTitle;
            documentTitle = name;
        }
    }
    documentTitle = titleWithoutStar(documentTitle);
    bool result = frameworkSave ? frameworkSave() : false;
    restoreStar(documentTitle, modifiedFlag);
    if (documentPath.isEmpty() && !oldTitle.isEmpty())
        documentTitle = oldTitle;
    return result;
}

bool QuorvaneDocument::OnFileSaveAs(const std::function<bool()>& frameworkSaveAs)
{
    return OnFileSave(frameworkSaveAs);
}

static bool appendCreditTexts(const MnElement* work, BcString& out)
{
    if (!work || !work->isKindOf(MnSheetMusic::staticClass()))
        return false;
    const MnSheetMusic* sheet = static_cast<const MnSheetMusic*>(work);
    for (int i = 0; i < sheet->creditCount(); ++i) {
        const BcString& text = sheet->credit(i)->text();
        if (!text.isEmpty()) {
            out = text;
            return true;
        }
    }
    return false;
}

BcString QuorvaneDocument::defaultFileNameOf(const BcArray<MnElement*>& works,
                                             const BcArray<MnElement*>& displayOrder,
                                             int mainScoreIndex)
{
    BcString name;
    if (works.count() > 0 && works[0] && works[0]->isKindOf(MnWork::staticClass())) {
        const BcString& title = static_cast<const MnWork*>(works[0])->title;
        if (!title.isEmpty())
            return title;
    }
    if (mainScoreIndex > 0 && mainScoreIndex < works.count() &&
        appendCreditTexts(works[mainScoreIndex], name))
        return name;
    for (int i = 1; i < displayOrder.count(); ++i) {
        if (appendCreditTexts(displayOrder[i], name))
            return name;
    }
    return BcString();
}

void QuorvaneDocument::defaultFileName(BcString& out) const
{
    out = defaultFileNameOf(workList, drawingOrder, mainIndex);
}

// --- Works ------------------------------------------------------------------------

void QuorvaneDocument::ensureMainScore()
{
    if (mainIndex == -1 && workList.count() >= 2)
        mainIndex = 1;
}

bool QuorvaneDocument::setMainScoreIndex(int index)
{
    if (index != -1 && (index < 1 || index >= workList.count()))
        return false;
    mainIndex = index;
    return true;
}

bool QuorvaneDocument::addWork(MnElement* work)
{
    // A document whose file lists more works could not be opened again.
    if (!work || workList.indexOf(work) >= 0 || workList.count() >= MnMaxRecordCount)
        return false;
    workList.add(work);
    drawingOrder.add(work);
    ensureMainScore();
    return true;
}

bool QuorvaneDocument::removeWork(MnElement* work)
{
    int index = work ? workList.indexOf(work) : -1;
    // Entry 0, the work information, stays for the document's life.
    if (index <= 0)
        return false;
    if (index < mainIndex)
        --mainIndex;
    else if (index == mainIndex)
        mainIndex = -1;
    workList.removeAt(index);
    int drawn = drawingOrder.indexOf(work);
    if (drawn >= 0)
        drawingOrder.removeAt(drawn);
    ensureMainScore();
    return true;
}

bool QuorvaneDocument::bringToFront(MnElement* element)
{
    int found = -1;
    for (MnElement* up = element; up && found < 0; up = up->parent())
        found = drawingOrder.indexOf(up);
    if (found <= 0 || found == drawingOrder.count() - 1)
        return false;
    MnElement* work = drawingOrder[found];
    drawingOrder.removeAt(found);
    drawingOrder.add(work);
    return true;
}

bool QuorvaneDocument::worksExtents(GePoint2d& topLeft, GePoint2d& bottomRight) const
{
    bool found = false;
    GePoint2d low, high;
    for (int i = 1; i < workList.count(); ++i) {
        MnElement* work = workList[i];
        GePoint2d position = work->position();
        double x = position.x;
        double y = position.y;
        double w = work->width();
        double h = work->height();
        if (work->isKindOf(MnScore::staticClass())) {
            const MnScore* score = static_cast<const MnScore*>(work);
            double labels = -partLabelExtents(score).x;
            double scale = score->scale();
            x -= labels * scale;
            w = (w + labels) * scale;
            h *= scale;
        }
        if (!found) {
            low = GePoint2d(x, y);
            high = GePoint2d(x + w, y - h);
            found = true;
            continue;
        }
        if (x < low.x)
            low.x = x;
        if (y > low.y)
            low.y = y;
        if (x + w > high.x)
            high.x = x + w;
        if (y - h < high.y)
            high.y = y - h;
    }
    if (!found)
        return false;
    topLeft = low;
    bottomRight = high;
    return true;
}

// --- Project-browser folding --------------------------------------------------------

void QuorvaneDocument::browserItems(BcArray<MnElement*>& out, bool onlyCollapsed) const
{
    out.removeAll();
    auto offer = [&](MnElement* item) {
        if (!onlyCollapsed || isCollapsed(item))
            out.add(item);
    };
    for (int i = 1; i < workList.count(); ++i) {
        MnElement* work = workList[i];
        offer(work);
        MnScore* score = nullptr;
        if (work->isKindOf(MnScore::staticClass()))
            score = static_cast<MnScore*>(work);
        else if (work->isKindOf(MnSheetMusic::staticClass()))
            score = static_cast<MnSheetMusic*>(work)->score();
        if (!score)
            continue;
        for (int p = 0; p < score->staffCount(); ++p)
            offer(score->part(p));
        for (int g = 0; g < score->partGroupCount(); ++g)
            offer(score->partGroup(g));
    }
}

bool QuorvaneDocument::isCollapsed(const MnElement* element) const
{
    EdPath path(element, workList);
    if (path.isUnset())
        return false;
    for (int i = 0; i < collapsedPaths.count(); ++i) {
        if (collapsedPaths[i] == path)
            return true;
    }
    return false;
}

bool QuorvaneDocument::addCollapsed(const MnElement* element)
{
    EdPath path(element, workList);
    if (path.isUnset() || isCollapsed(element))
        return false;
    collapsedPaths.add(path);
    return true;
}

bool QuorvaneDocument::removeCollapsed(const MnElement* element)
{
    EdPath path(element, workList);
    if (path.isUnset())
        return false;
    int found = collapsedPaths.indexOf(path);
    if (found < 0)
        return false;
    collapsedPaths.removeAt(found);
    return true;
}

void QuorvaneDocument::clearCollapsed()
{
    collapsedPaths.removeAll();
}

// --- Camera -----------------------------------------------------------------------

void QuorvaneDocument::setCamera(const GePoint2d& scrollPosition, double zoom)
{
    scroll = scrollPosition;
    zoomFactor = zoom;
}
