#include "commands/EdPlaybackCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdNotePath.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "foundation/GeMatrix2d.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

namespace {

MnScore* scoreOfWork(MnElement* work)
{
    if (work->isKindOf(MnScore::staticClass()))
        return static_cast<MnScore*>(work);
    if (work->isKindOf(MnSheetMusic::staticClass()))
        return static_cast<MnSheetMusic*>(work)->score();
    return nullptr;
}

// The score an element belongs to: its own score, else the score of its
// sheet music; null for neither.
MnScore* scoreAbove(MnElement* element)
{
    for (MnElement* walk = element; walk; walk = walk->parent()) {
        if (walk->isKindOf(MnScore::staticClass()))
            return static_cast<MnScore*>(walk);
    }
    for (MnElement* walk = element; walk; walk = walk->parent()) {
        if (walk->isKindOf(MnSheetMusic::staticClass()))
            return static_cast<MnSheetMusic*>(walk)->score();
    }
    return nullptr;
}

// The measure of the staff that holds the time (the first for a negative
// time); null past the end.
MnMeasure* measureHolding(const MnStaff* staff, int time)
{
    if (staff->measureCount() == 0)
        return nullptr;
    if (time < 0)
        return staff->measure(0);
    return staff->measureAtTime(time);
}

// On a grace chord the user's place is the chord it leads to, while sound
// begins at the grace chord itself.
void placeGraceCursor(const EdCursor& cursor, int& startTime, int& cursorTime)
{
    const int voice = cursor.voice();
    if (cursor.graceIndex() <= 0 || voice < 0 || voice >= MnMeasure::voiceCount)
        return;
    MnMeasure* measure = measureHolding(cursor.staff(), cursor.time());
    if (!measure)
        return;
    const int offset = cursor.time() - measure->startTime();
    const BcArray<MnChord*>& chords = measure->voiceChords(voice);
    MnChord* main = nullptr;
    for (int i = 0; i < chords.count() && !main; ++i) {
        if (!chords[i]->isGrace() && chords[i]->time() == offset)
            main = chords[i];
    }
    if (!main)
        return;
    cursorTime = measure->startTime() + main->time();
    int count = 0;
    for (MnChord* walk = main->previousChord(); walk && walk->isGrace(); walk = walk->previousChord()) {
        if (++count == cursor.graceIndex()) {
            int length = 0;
            startTime = walk->measure()->startTime() + walk->playbackTime(nullptr, length);
            return;
        }
    }
}

// The one score the selection's elements belong to, or null.
MnScore* scoreOfSelection(const EdSelection& selection)
{
    MnScore* found = nullptr;
    for (int i = 0; i < selection.count(); ++i) {
        MnScore* score = scoreAbove(selection.element(i));
        if (!score)
            continue;
        if (found && score != found)
            return nullptr;
        found = score;
    }
    return found;
}

MnScore* mainScore(EdContext& context)
{
    QuorvaneDocument* document = context.activeDocument();
    const int main = document ? document->mainScoreIndex() : -1;
    if (main < 1 || main >= document->works().count())
        return nullptr;
    return scoreOfWork(document->works()[main]);
}

// Grace chords that open a voice sound before the bar line.
int earliestStart(MnScore* score)
{
    int earliest = 0;
    for (int s = 0; s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        if (staff->measureCount() == 0)
            continue;
        MnMeasure* first = staff->measure(0);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = first->voiceChords(voice);
            if (chords.isEmpty())
                continue;
            int length = 0;
            const int time = chords[0]->playbackTime(nullptr, length);
            if (time < earliest)
                earliest = time;
        }
    }
    return earliest;
}

}

bool EdPlaybackCommands::startPosition(MnScore*& score, int& startTime, int& cursorTime)
{
    score = nullptr;
    startTime = 0;
    cursorTime = 0;
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    MnStaff* staff = view ? view->cursor().staff() : nullptr;
    if (staff && view->cursor().time() < staff->totalTicks()) {
        score = staff->score();
        startTime = cursorTime = view->cursor().time();
        placeGraceCursor(view->cursor(), startTime, cursorTime);
    } else {
        if (view)
            score = scoreOfSelection(view->selection());
        if (!score)
            score = mainScore(context);
    }
    if (!score)
        return false;
    if (startTime == 0) {
        const int earliest = earliestStart(score);
        if (earliest < 0)
            startTime = earliest;
    }
    return true;
}

void EdPlaybackCommands::cmdPlayScore()
{
    EdContext& context = EdContext::current();
    const bool request = context.pauseToggleRequest();
    context.pauseToggleRequest() = false;
    EdCommand edit;
    const bool playing = context.playerIsOpen() && context.playerIsPlaying();
    const bool paused = playing && context.playerIsPaused();
    if (playing && !paused) {
        if (request)
            context.playerPause();
        else
            context.playerStop();
        return;
    }
    if (paused && request) {
        context.playerResume();
        return;
    }
    MnScore* score = nullptr;
    int startTime = 0;
    int cursorTime = 0;
    if (!startPosition(score, startTime, cursorTime))
        return;
    EdView* view = context.activeView();
    bool moved = false;
    if (context.toggles().playbackTracking && view && score->staffCount() > 0) {
        if (MnMeasure* measure = measureHolding(score->staff(0), cursorTime)) {
            view->goTo(measure, &edit, true);
            moved = true;
        }
    }
    context.playerPlay(score, startTime, cursorTime);
    edit.close();
    // Tracking starts at once rather than after the user's quiet spell.
    if (moved)
        view->setLastActivityTick(0);
}

void EdPlaybackCommands::cmdPlaybackTracking()
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    bool& tracking = context.toggles().playbackTracking;
    tracking = !tracking;
    EdView* view = context.activeView();
    bool moved = false;
    if (tracking && view && view->document() && context.playerIsOpen() && context.playerIsPlaying()) {
        EdNotePath position;
        if (context.playerPosition(0, position)) {
            MnElement* element = position.resolve(view->document()->works());
            if (element && element->isKindOf(MnMeasure::staticClass())) {
                view->goTo(static_cast<MnMeasure*>(element), &edit, true);
                moved = true;
            }
        }
    }
    edit.close();
    if (moved)
        view->setLastActivityTick(0);
}

void EdPlaybackCommands::cmdRecord()
{
    EdContext& context = EdContext::current();
    if (!context.recorderIsRecording()) {
        context.recorderStart(context.tickCount());
        return;
    }
    context.recorderStop();
    QuorvaneDocument* document = context.activeDocument();
    EdView* view = context.activeView();
    if (!document || !view)
        return;
    view->discardPendingTool();
    MnScore* score = context.recorderTakeScore();
    if (!score)
        return;
    if (!document->addWork(score)) {
        delete score;
        return;
    }
    // The placing tool's own transaction commits the new work; cancelling it
    // reloads the document as it was.
    MnElement* placed = score->staffCount() > 0 ? static_cast<MnElement*>(score->staff(0)) : score;
    view->placeElement(placed, GeMatrix2d());
}

void EdPlaybackCommands::cmdMidiInput()
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    switch (context.midiInputState()) {
    case EdContext::midiInputClosed: {
        BcString failure;
        if (!context.midiInputOpen(failure) && !failure.isEmpty())
            context.showInformationText(failure);
        break;
    }
    case EdContext::midiInputOn:
        if (context.playerIsOpen())
            context.playerNoteOffAll();
        context.releaseMidiInputKeys();
        context.midiInputReset();
        break;
    case EdContext::midiInputOff:
        context.midiInputStart();
        break;
    default:
        break;
    }
}

static EdCommandState playScoreState(unsigned, const EdCommandInputs& inputs)
{
    const bool sounding = inputs.playing && !inputs.paused;
    return EdCommandState{sounding || inputs.score, sounding};
}

static EdCommandState trackingState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.score, inputs.toggles.playbackTracking};
}

static EdCommandState neverState(unsigned, const EdCommandInputs&)
{
    return EdCommandState{false, false};
}

static EdCommandState midiInputState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.midiInput != EdContext::midiInputClosed, inputs.midiInput == EdContext::midiInputOn};
}

void EdPlaybackCommands::addRows()
{
    EdCommandTable::add({playScoreId, [](unsigned) { cmdPlayScore(); }, &playScoreState});
    EdCommandTable::add({playbackTrackingId, [](unsigned) { cmdPlaybackTracking(); }, &trackingState});
    // Recording has no way in yet: the command is built but stays greyed.
    EdCommandTable::add({recordId, [](unsigned) { cmdRecord(); }, &neverState});
    EdCommandTable::add({midiInputId, [](unsigned) { cmdMidiInput(); }, &midiInputState});
}
