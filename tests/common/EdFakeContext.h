#pragma once

#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdNotePath.h"
#include "editing/EdSelection.h"
#include "editing/EdSelectionObserver.h"
#include "editing/EdTool.h"
#include "editing/EdView.h"
#include "foundation/BcString.h"
#include "foundation/GeMatrix2d.h"
#include "foundation/GePoint2d.h"

#include <functional>
#include <vector>

// A score view with no window: a selection, a cursor, a camera and a pending
// tool, and counters of what editing asked of it.
class EdFakeView : public EdView
{
public:
    explicit EdFakeView(QuorvaneDocument* document = nullptr) : shownDocument(document) {}
    ~EdFakeView() override
    {
        if (pendingInterface)
            pendingInterface->end();
        delete pendingTool;
    }

    QuorvaneDocument* document() override { return shownDocument; }
    EdSelection& selection() override { return viewSelection; }
    EdCursor& cursor() override { return viewCursor; }
    bool hasPendingTool() override { return pendingTool != nullptr; }
    unsigned pendingToolModifiers() override
    {
        if (pendingInterface)
            return pendingInterface->modifierKeys();
        return pendingTool ? toolModifiers : 0;
    }

    // As the shell's view does: out of the view first, then cancelled and
    // deleted, so the tool's transaction reloads the current snapshot.
    bool discardPendingTool() override
    {
        if (!pendingTool)
            return false;
        EdCommand* tool = pendingTool;
        EdTool* interface = pendingInterface;
        pendingTool = nullptr;
        pendingInterface = nullptr;
        tool->cancel = true;
        ++toolsDiscarded;
        if (interface)
            interface->end();
        delete tool;
        return true;
    }

    bool redraw(bool markActivity) override
    {
        ++redraws;
        if (markActivity)
            activityTick = activityMark;
        if (onRedraw)
            onRedraw();
        return true;
    }

    void camera(GePoint2d& scroll, double& zoom) override
    {
        scroll = scrollPosition;
        zoom = zoomValue;
    }

    void goTo(MnMeasure* measure, EdCommand* edit, bool markActivity) override
    {
        lastGoTo = measure;
        lastGoToEdit = edit;
        ++goTos;
        if (markActivity)
            activityTick = activityMark;
    }

    unsigned long long lastActivityTick() const override { return activityTick; }
    void setLastActivityTick(unsigned long long tick) override { activityTick = tick; }

    // As the shell's placing tool: a transaction that holds the new element
    // as a change until it is confirmed (committed) or discarded (reloaded).
    bool placeElement(MnElement* element, const GeMatrix2d& placement) override
    {
        placedElement = element;
        placedWith = placement;
        discardPendingTool();
        EdCommand* tool = new EdCommand;
        tool->markModified();
        pendingTool = tool;
        return true;
    }

    // Ends the pending tool as a click that places its element does.
    bool confirmPendingTool()
    {
        if (!pendingTool)
            return false;
        EdCommand* tool = pendingTool;
        EdTool* interface = pendingInterface;
        pendingTool = nullptr;
        pendingInterface = nullptr;
        if (interface)
            interface->end();
        delete tool;
        return true;
    }

    // As the shell's view: the tool pending in place of any other, begun,
    // with the keyboard focus.
    bool startTool(EdTool* tool) override
    {
        if (!tool)
            return false;
        discardPendingTool();
        pendingTool = &tool->transaction();
        pendingInterface = tool;
        ++toolsStarted;
        tool->begin();
        ++focusTaken;
        return true;
    }

    void releaseTool(EdTool* tool) override
    {
        if (!tool || tool != pendingInterface)
            return;
        pendingTool = nullptr;
        pendingInterface = nullptr;
    }

    // The test says which chord lies where: the fake's model points are
    // its client pixels.
    MnChord* chordAtPoint(const GePoint2d& point, double& height) override
    {
        return pointAt ? pointAt(point, height) : nullptr;
    }
    GePoint2d clientToModel(int x, int y) override { return modelAt ? modelAt(x, y) : GePoint2d(x, y); }
    void screenToClient(int& x, int& y) override
    {
        x -= clientOriginX;
        y -= clientOriginY;
    }
    void setDragRectangle(const GePoint2d& from, const GePoint2d& to) override
    {
        dragFrom = from;
        dragTo = to;
    }
    void showGuideLinesOnce(const BcArray<EdGuideLine*>& lines) override
    {
        ++guideLineFrames;
        guideLinesShown = lines.count();
    }

    QuorvaneDocument* shownDocument;
    EdSelection viewSelection;
    EdCursor viewCursor;
    // Owned; a tool is an open transaction.
    EdCommand* pendingTool = nullptr;
    // The same tool as a tool, when it came through startTool.
    EdTool* pendingInterface = nullptr;
    unsigned toolModifiers = 0;
    int toolsStarted = 0;
    int focusTaken = 0;
    std::function<MnChord*(const GePoint2d&, double&)> pointAt;
    // Replaces the identity from client pixels to model points.
    std::function<GePoint2d(int, int)> modelAt;
    GePoint2d dragFrom;
    GePoint2d dragTo;
    int clientOriginX = 0;
    int clientOriginY = 0;
    int guideLineFrames = 0;
    int guideLinesShown = 0;
    GePoint2d scrollPosition{120.0, -20.0};
    double zoomValue = 300.0;
    int redraws = 0;
    int toolsDiscarded = 0;
    MnMeasure* lastGoTo = nullptr;
    MnElement* placedElement = nullptr;
    GeMatrix2d placedWith;
    // What marking activity records, and the tick now.
    unsigned long long activityMark = 5000;
    unsigned long long activityTick = 0;
    // Called at each redraw, to look at what the view would draw.
    std::function<void()> onRedraw;
    EdCommand* lastGoToEdit = nullptr;
    int goTos = 0;
};

// Counts how often it was told of a change.
class EdFakeObserver : public EdSelectionObserver
{
public:
    void selectionChanged() override { ++calls; }
    int calls = 0;
};

// The editor context of a test: installs itself for its lifetime and records
// what editing asked of the shell and the player.
class EdFakeContext : public EdContext
{
public:
    EdFakeContext() { previous = EdContext::install(this); }
    ~EdFakeContext() override { EdContext::install(previous); }
    EdFakeContext(const EdFakeContext&) = delete;
    EdFakeContext& operator=(const EdFakeContext&) = delete;

    // Shows the document in the fake view and makes both active.
    void activate(QuorvaneDocument* doc)
    {
        document = doc;
        view.shownDocument = doc;
        activeViewPresent = true;
    }

    QuorvaneDocument* activeDocument() override { return document; }
    EdView* activeView() override { return activeViewPresent ? &view : nullptr; }
    void updateAllViews(QuorvaneDocument*, EdView*) override { ++allViewsUpdates; }

    bool playerIsPlaying() override { return playing; }
    bool playerPlays(const QuorvaneDocument* doc) override { return playing && doc == playedDocument; }
    bool playerPosition(int lookAheadMilliseconds, EdNotePath& position) override
    {
        if (!playing)
            return false;
        position = playerReports;
        return true;
    }
    void playerUpdate(MnElement* position) override
    {
        ++playerUpdates;
        playerUpdatedAt = position;
    }
    void playerStop() override
    {
        playing = false;
        ++playerStops;
    }
    void setToolbarTempo(int beatsPerMinute) override { toolbarTempos.push_back(beatsPerMinute); }
    void adoptScoreTuning(MnScore* score) override { adoptedTunings.push_back(score); }

    void refreshProjectBrowser() override { ++browserRefreshes; }
    bool projectBrowserHasFocus() override { return browserFocus; }
    bool deleteSelectedVoice() override { return browserCaretOnVoice && deleteVoice && deleteVoice(); }
    void showHint(unsigned int commandId) override { hints.push_back(commandId); }
    void showInformation(unsigned int stringId) override { messages.push_back(stringId); }
    void showInformationText(const BcString& text) override { messageTexts.push_back(text); }
    bool askYesNo(unsigned int stringId) override
    {
        questions.push_back(stringId);
        return answerYes;
    }

    bool isShiftDown() override { return shift; }
    bool isCtrlDown() override { return ctrl; }
    bool isHeld(HeldKey key) override { return key >= 0 && key < heldKeyCount && held[key]; }
    bool pointerPosition(int& x, int& y) override
    {
        x = pointer[0];
        y = pointer[1];
        return true;
    }
    // Each read advances the clock by clockStep.
    unsigned long long clockMilliseconds() override
    {
        const unsigned long long now = clock;
        clock += clockStep;
        return now;
    }

    bool runGoToDialog(int highestMeasure, int& measureNumber) override
    {
        ++goToDialogs;
        goToHighest = highestMeasure;
        goToInitial = measureNumber;
        if (!confirmDialogs)
            return false;
        measureNumber = goToAnswer;
        return true;
    }
    bool runTransposeDialog(TransposeChoice& choice) override
    {
        if (!confirmDialogs)
            return false;
        choice = transposeAnswer;
        return true;
    }
    bool chooseFile(bool save, const BcString& filter, const BcString& defaultName, BcString& path,
                    int& filterIndex) override
    {
        ++fileDialogs;
        fileDialogSaves = save;
        fileFilter = filter;
        fileDefaultName = defaultName;
        if (!confirmDialogs)
            return false;
        path = fileAnswer;
        filterIndex = filterAnswer;
        return true;
    }
    void runSelectionObserver() override
    {
        ++selectionObserverRuns;
        if (onSelectionObserver)
            onSelectionObserver();
    }

    bool visibleFretboardTuning(VisibleFretboard& tuning) override
    {
        if (!fretboardShown)
            return false;
        tuning = fretboard;
        return true;
    }

    bool playerIsOpen() override { return playerOpen; }
    bool playerIsPaused() override { return playerOpen && paused; }
    void playerPlay(MnScore* score, int startTime, int displayFloor) override
    {
        ++plays;
        playedScore = score;
        playedStart = startTime;
        playedFloor = displayFloor;
        if (playerOpen) {
            playing = true;
            paused = false;
        }
    }
    void playerPause() override
    {
        ++pauses;
        paused = true;
    }
    void playerResume() override
    {
        ++resumes;
        paused = false;
    }
    void playerNoteOffAll() override { ++notesOffAll; }
    unsigned playerVolume() override { return volume; }
    void setPlayerVolume(unsigned value) override
    {
        if (playerOpen)
            volume = value;
    }
    unsigned playerSavedVolume() override { return savedVolume; }
    void setPlayerSavedVolume(unsigned value) override
    {
        if (playerOpen)
            savedVolume = value;
    }
    bool playerIsMuted() override { return playerOpen && (volume & 0xFFFFu) == 0 && savedVolume != 0; }

    bool recorderIsRecording() override { return recording; }
    void recorderStart(unsigned long long tick) override
    {
        recording = true;
        recordStartTick = tick;
    }
    void recorderStop() override { recording = false; }
    MnScore* recorderTakeScore() override
    {
        MnScore* score = recordedScore;
        recordedScore = nullptr;
        return score;
    }

    int midiInputState() override { return midiState; }
    bool midiInputOpen(BcString& failure) override
    {
        ++midiOpenTries;
        if (!midiOpens) {
            failure = midiFailure;
            return false;
        }
        midiState = midiInputOn;
        return true;
    }
    bool midiInputStart() override
    {
        if (midiState == midiInputOff && midiStartWorks)
            midiState = midiInputOn;
        return midiState == midiInputOn;
    }
    bool midiInputReset() override
    {
        ++midiResets;
        if (midiState == midiInputOn && midiResetWorks)
            midiState = midiInputOff;
        return midiState == midiInputOff;
    }
    void releaseMidiInputKeys() override { ++midiKeyReleases; }

    bool hasMainWindow() override { return mainWindow; }
    void refreshInstrumentPanes() override { ++paneRefreshes; }
    void redrawPianoKeyboard() override { ++pianoRedraws; }

    bool fretboardTuning(FretboardTuning& out) override
    {
        if (!mainWindow)
            return false;
        out = tuning;
        return true;
    }
    bool setFretboardTuning(const FretboardTuning& value) override
    {
        if (!mainWindow || value.equals(tuning))
            return false;
        tuning = value;
        ++tuningChanges;
        return true;
    }
    bool fretboardCapo(FretboardCapo& out) override
    {
        if (!mainWindow)
            return false;
        out = capo;
        return true;
    }
    void setFretboardCapo(const FretboardCapo& value) override
    {
        capo = value;
        ++capoRepaints;
    }
    bool fretboardScreenRect(int& left, int& top, int& right, int& bottom) override
    {
        if (!mainWindow)
            return false;
        left = paneRect[0];
        top = paneRect[1];
        right = paneRect[2];
        bottom = paneRect[3];
        return true;
    }
    void movePointer(int x, int y) override
    {
        pointer[0] = x;
        pointer[1] = y;
        ++pointerMoves;
    }
    void runFretboardTuningDialog(const FretboardTuning& start) override { tuningDialogs.push_back(start); }

    bool newDocument() override
    {
        ++newDocuments;
        return makeDocument && makeDocument();
    }
    void runParallaxScore(MnScore* score, int startTime, int cursorTime) override
    {
        parallaxScore = score;
        parallaxStart = startTime;
        parallaxCursor = cursorTime;
        ++parallaxRuns;
    }
    bool run3dPrinting() override
    {
        ++printingRuns;
        return meshBuilds;
    }
    void runManuscriptPaper(MnScore* score) override { manuscriptScores.push_back(score); }

    EdFakeView view;
    bool activeViewPresent = false;
    QuorvaneDocument* document = nullptr;
    int allViewsUpdates = 0;

    bool playing = false;
    const QuorvaneDocument* playedDocument = nullptr;
    EdNotePath playerReports;
    int playerUpdates = 0;
    int playerStops = 0;
    MnElement* playerUpdatedAt = nullptr;
    std::vector<int> toolbarTempos;
    std::vector<MnScore*> adoptedTunings;

    int browserRefreshes = 0;
    bool browserFocus = false;
    bool browserCaretOnVoice = false;
    // What the browser does to the caret's voice.
    std::function<bool()> deleteVoice;
    std::vector<unsigned int> hints;
    std::vector<unsigned int> messages;
    std::vector<BcString> messageTexts;
    std::vector<unsigned int> questions;
    bool answerYes = false;

    bool shift = false;
    bool ctrl = false;
    bool held[heldKeyCount] = {};
    unsigned long long clock = 1000;

    bool confirmDialogs = false;
    int goToAnswer = 1;
    int goToDialogs = 0;
    int goToHighest = 0;
    int goToInitial = 0;
    TransposeChoice transposeAnswer;
    BcString fileAnswer;
    int selectionObserverRuns = 0;
    // What the application's observer does when run.
    std::function<void()> onSelectionObserver;

    bool fretboardShown = false;
    VisibleFretboard fretboard;
    int filterAnswer = 0;
    int fileDialogs = 0;
    bool fileDialogSaves = false;
    BcString fileFilter;
    BcString fileDefaultName;
    unsigned long long clockStep = 0;

    bool playerOpen = false;
    bool paused = false;
    int plays = 0;
    int pauses = 0;
    int resumes = 0;
    int notesOffAll = 0;
    MnScore* playedScore = nullptr;
    int playedStart = 0;
    int playedFloor = 0;
    unsigned volume = 0xFFFFFFFFu;
    unsigned savedVolume = 0xFFFFFFFFu;

    bool recording = false;
    unsigned long long recordStartTick = 0;
    // Handed over by the next recorderTakeScore.
    MnScore* recordedScore = nullptr;

    int midiState = midiInputClosed;
    bool midiOpens = false;
    BcString midiFailure;
    bool midiStartWorks = true;
    bool midiResetWorks = true;
    int midiOpenTries = 0;
    int midiResets = 0;
    int midiKeyReleases = 0;

    bool mainWindow = true;
    int paneRefreshes = 0;
    int pianoRedraws = 0;
    FretboardTuning tuning = FretboardTuning::preset(0);
    int tuningChanges = 0;
    FretboardCapo capo;
    int capoRepaints = 0;
    int paneRect[4] = {100, 200, 600, 300};
    int pointer[2] = {20, 20};
    int pointerMoves = 0;
    std::vector<FretboardTuning> tuningDialogs;

    int newDocuments = 0;
    // What File/New does; without it no document comes.
    std::function<bool()> makeDocument;
    MnScore* parallaxScore = nullptr;
    int parallaxStart = 0;
    int parallaxCursor = 0;
    int parallaxRuns = 0;
    bool meshBuilds = false;
    int printingRuns = 0;
    std::vector<MnScore*> manuscriptScores;

private:
    EdContext* previous = nullptr;
};
