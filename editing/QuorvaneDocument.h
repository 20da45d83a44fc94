#pragma once

#include "editing/EdScoreFile.h"
#include "editing/EdSelectionState.h"
#include "foundation/BcArray.h"
#include "foundation/BcString.h"
#include "foundation/GePoint2d.h"
#include "foundation/GeVector2d.h"
#include "model/EdPath.h"

#include <functional>

class BcMemoryFiler;
class EdGuideLine;
class MnElement;
class MnScore;

// One project: the works laid out on the desk (entry 0 the work information,
// then free-standing scores and sheet musics), the order they are drawn in, the
// main score, the folded project-browser items, the view's camera and the
// whole-document undo history. It owns every element of the project.
//
// The class holds no user-interface code: the shell's document adapter
// forwards the framework's calls to the operations named after them here.
class QuorvaneDocument
{
public:
    QuorvaneDocument();
    QuorvaneDocument(const QuorvaneDocument&) = delete;
    QuorvaneDocument& operator=(const QuorvaneDocument&) = delete;
    ~QuorvaneDocument();

    // --- Framework side ------------------------------------------------------

    // Gives a fresh document its work information and first undo snapshot.
    bool OnNewDocument();

    // Opens a score file into this document; the undo history restarts with
    // one snapshot. A failed open leaves the document as it was.
    bool OnOpenDocument(const BcString& path);

    // Copies the active view's camera, then writes the score file and marks the
    // document saved. A failed save leaves the old file and the flags alone.
    bool OnSaveDocument(const BcString& path);

    // Stops the player when it plays this document.
    void OnCloseDocument();

    // Stores the flag, keeps the title's star in step and stamps the time.
    void SetModifiedFlag(bool modified);
    bool IsModified() const { return modifiedFlag; }

    // The close prompt: the framework's prompt sees the title without its
    // star; the star comes back while the document stays modified.
    bool SaveModified(const std::function<bool()>& frameworkPrompt);

    // File/Save and File/Save As: a never-saved document offers its default
    // file name as the title while the framework asks for a file; a cancelled
    // dialog gets the previous title back.
    bool OnFileSave(const std::function<bool()>& frameworkSave);
    bool OnFileSaveAs(const std::function<bool()>& frameworkSaveAs);

    const BcString& title() const { return documentTitle; }
    void setTitle(const BcString& title) { documentTitle = title; }
    const BcString& pathName() const { return documentPath; }
    void setPathName(const BcString& path) { documentPath = path; }

    // The title rules as pure functions: one trailing "*" exactly while
    // modified; a title that is "*" alone keeps it.
    static BcString titleWithoutStar(const BcString& title);
    static BcString titleForModified(const BcString& title, bool modified);

    // The name offered for a document never saved: the work's title, else the
    // credits of the main sheet music, else those of the sheet musics in
    // display order; empty when all are empty.
    void defaultFileName(BcString& out) const;
    static BcString defaultFileNameOf(const BcArray<MnElement*>& works,
                                      const BcArray<MnElement*>& displayOrder, int mainScoreIndex);

    // --- Works ---------------------------------------------------------------

    const BcArray<MnElement*>& works() const { return workList; }
    const BcArray<MnElement*>& displayOrder() const { return drawingOrder; }
    int mainScoreIndex() const { return mainIndex; }
    // Chooses the main score; false unless index is -1 or a work after entry 0.
    bool setMainScoreIndex(int index);

    // Appends a work; the document owns it from now on. False for a work it
    // holds already and when it holds MnMaxRecordCount works.
    bool addWork(MnElement* work);
    // Takes a work out of the document (not deleted: the caller owns it).
    // False for entry 0, the work information, and for anything not a work.
    bool removeWork(MnElement* work);
    // Moves the work holding the element to the end of the display order.
    bool bringToFront(MnElement* element);
    // Appends the guide lines that the works offer the dragged element: for
    // a sheet music, the edges of the other sheets' pages; for a staff of a
    // score standing free on the desk, the x and y of the other free scores.
    // Anything else gets none. The caller owns the lines.
    bool addGuideLines(BcArray<EdGuideLine*>& lines, MnElement* dragged);
    // The box of every work but the work information, y growing upwards.
    // False, with the points untouched, when there is no such work.
    bool worksExtents(GePoint2d& topLeft, GePoint2d& bottomRight) const;

    // The part-label extents of a score (x at most 0), measured by the
    // score's own label layout; tests may put in their own measure.
    using PartLabelExtents = GeVector2d (*)(const MnScore* score);
    static PartLabelExtents setPartLabelExtents(PartLabelExtents measure);

    // --- Project-browser folding -----------------------------------------------

    void browserItems(BcArray<MnElement*>& out, bool onlyCollapsed) const;
    bool isCollapsed(const MnElement* element) const;
    bool addCollapsed(const MnElement* element);
    bool removeCollapsed(const MnElement* element);
    void clearCollapsed();
    const BcArray<EdPath>& collapsedItems() const { return collapsedPaths; }

    // --- Camera --------------------------------------------------------------

    const GePoint2d& scrollPosition() const { return scroll; }
    double zoom() const { return zoomFactor; }
    void setCamera(const GePoint2d& scrollPosition, double zoom);
    unsigned long long lastModifiedTick() const { return modifiedTick; }

    // --- Score file ------------------------------------------------------------

    bool saveScore(const BcString& path);
    // silent keeps the newer-version message back (autosave recovery).
    bool loadScore(const BcString& path, bool silent);
    // The same over a file image in memory.
    bool saveScoreBytes(BcArray<unsigned char>& out);
    bool loadScoreBytes(const unsigned char* bytes, int size, bool silent);

    // Appends the works block; answers the filer's ok state.
    bool writeWorks(BcMemoryFiler& filer) const;
    // Replaces the works, display order, main score and folded items from a
    // works block. Every value is checked; on failure the document keeps what
    // it had.
    bool readWorks(BcMemoryFiler& filer);

    // --- Undo history ----------------------------------------------------------

    // Appends a snapshot of the works and drops the redo steps. False, with
    // the history untouched, when the works cannot be written.
    bool pushUndoSnapshot();
    void clearUndo();
    int undoIndex() const { return currentIndex; }
    int savedIndex() const { return savedSnapshot; }
    int snapshotCount() const { return snapshots.count(); }
    bool canUndo() const { return currentIndex > 0; }
    bool canRedo() const { return currentIndex >= 0 && currentIndex < snapshots.count() - 1; }

    // One step back or forward: the works are read from the snapshot, the
    // selection and cursor of the active view put back and the modified flag
    // set to whether the step differs from the saved one. False at the ends.
    bool stepUndo();
    bool stepRedo();
    // Reads the current snapshot back over the works (a cancelled edit).
    bool reloadCurrentSnapshot();

    void captureSelectionState(EdSelectionState* out, const EdSelectionState* from);
    void restoreSelectionState(const EdSelectionState& state);
    EdSelectionState& startState() { return openingState; }

private:
    bool readSnapshot(int index);
    void deleteWorks(BcArray<MnElement*>& list);
    void ensureMainScore();
    void dropHistoryAbove(int index);

    BcArray<MnElement*> workList;
    BcArray<MnElement*> drawingOrder;
    int mainIndex = -1;
    BcArray<EdPath> collapsedPaths;
    GePoint2d scroll;
    double zoomFactor;
    unsigned long long modifiedTick = 0;

    BcArray<unsigned char*> snapshots;
    BcArray<int> snapshotSizes;
    BcArray<EdSelectionState*> afterStates;
    BcArray<EdSelectionState*> beforeStates;
    int currentIndex = -1;
    int savedSnapshot = -1;
    EdSelectionState openingState;

    BcString documentTitle;
    BcString documentPath;
    bool modifiedFlag = false;
};
