#pragma once

#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdNotePath.h"
#include "editing/EdSelection.h"
#include "editing/EdSelectionObserver.h"
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
    ~EdFakeView() override { delete pendingTool; }

    QuorvaneDocument* document() override { return shownDocument; }
    EdSelection& selection() override { return viewSelection; }
    EdCursor& cursor() override { return viewCursor; }
    bool hasPendingTool() override { return pendingTool != nullptr; }
    unsigned pendingToolModifiers() override { return pendingTool ? toolModifiers : 0; }

    // As the shell's view does: out of the view first, then cancelled and
    // deleted, so the tool's transaction reloads the current snapshot.
    bool discardPendingTool() override
    {
        if (!pendingTool)
            return false;
        EdCommand* tool = pendingTool;
        pendingTool = nullptr;
        tool->cancel = true;
        ++toolsDiscarded;
        delete tool;
        return true;
    }

    bool redraw(bool markActivity) override
    {
        ++redraws;
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
    }

    unsigned long long lastActivity() override { return activity; }
    void setLastActivity(unsigned long long tick) override { activity = tick; }

    // As the shell's placing tool: a transaction that holds the new element
    // as a change until it is confirmed (committed) or discarded (reloaded).
    bool placeElement(MnElement* element, const GeMatrix2d& placement) override
    {
        placedElement = element;
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
        pendingTool = nullptr;
        delete tool;
        return true;
    }

    QuorvaneDocument* shownDocument;
    EdSelection viewSelection;
    EdCursor viewCursor;
    // Owned; a tool is an open transaction.
    EdCommand* pendingTool = nullptr;
    unsigned toolModifiers = 0;
    GePoint2d scrollPosition{120.0, -20.0};
    double zoomValue = 300.0;
    int redraws = 0;
    int toolsDiscarded = 0;
    MnMeasure* lastGoTo = nullptr;
    MnElement* placedElement = nullptr;
    EdCommand* lastGoToEdit = nullptr;
    int goTos = 0;
    unsigned long long activity = 0;
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
    unsigned long long clockMilliseconds() override { return clock; }

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
    bool chooseFile(bool save, const BcString& filter, BcString& path) override
    {
        if (!confirmDialogs)
            return false;
        path = fileAnswer;
        return true;
    }

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
    unsigned long long clock = 1000;

    bool confirmDialogs = false;
    int goToAnswer = 1;
    int goToDialogs = 0;
    int goToHighest = 0;
    int goToInitial = 0;
    TransposeChoice transposeAnswer;
    BcString fileAnswer;

private:
    EdContext* previous = nullptr;
};
