#include "app/UiNoteInput.h"

#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "model/MnChord.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "model/MnTuplet.h"

#include <algorithm>
#include <cstdlib>

UiTempoBox::~UiTempoBox() = default;

namespace {

const int dottedValues[] = {5670, 11340, 22680, 45360, 90720, 181440};

// The chord an element stands for: itself, or a note's chord.
MnChord* chordOf(MnElement* element)
{
    if (element->isKindOf(MnChord::staticClass()))
        return static_cast<MnChord*>(element);
    if (element->isKindOf(MnNote::staticClass()))
        return static_cast<MnNote*>(element)->chord();
    return nullptr;
}

MnScore* scoreOf(MnElement* element)
{
    if (element->isKindOf(MnScore::staticClass()))
        return static_cast<MnScore*>(element);
    if (element->isKindOf(MnSheetMusic::staticClass()))
        return static_cast<MnSheetMusic*>(element)->score();
    return nullptr;
}

void followChords(EdContext& context, EdSelection& selection)
{
    EdContext::NoteInput& input = context.noteInput();
    const int n = selection.count();
    int chordsSeen = 0;
    bool playing = context.playerIsPlaying();
    for (int i = 0; i < n; ++i) {
        MnElement* element = selection.element(i);
        if (!element)
            continue;
        if (MnChord* chord = chordOf(element)) {
            int value = UiNoteInput::undotted(chord->duration());
            bool dotted = UiNoteInput::isDotted(chord->duration());
            bool rest = chord->noteCount() == 0;
            if (chordsSeen == 0) {
                input.inputDuration = value;
                input.inputDotted = dotted;
                input.inputRest = rest;
                if (n == 1)
                    input.inputVoice = chord->voice();
            } else {
                if (input.inputDuration != value)
                    input.inputDuration = 0;
                if (input.inputDotted != dotted)
                    input.inputDotted = false;
                if (input.inputRest != rest)
                    input.inputRest = false;
            }
            ++chordsSeen;
        } else if (element->isKindOf(MnTuplet::staticClass()) && n == 1) {
            MnTuplet* tuplet = static_cast<MnTuplet*>(element);
            input.inputDuration = UiNoteInput::undotted(tuplet->span());
            input.inputDotted = UiNoteInput::isDotted(tuplet->span());
            input.inputRest = false;
            if (tuplet->chord())
                input.inputVoice = tuplet->chord()->voice();
        } else if (element->isKindOf(MnLyric::staticClass()) && n == 1) {
            input.inputVoice = static_cast<MnLyric*>(element)->voice();
        }
        // The score's starting tempo, unless it plays: playback runs at the
        // box's tempo.
        if (!playing) {
            MnScore* score = scoreOf(element);
            if (score && score->tempoCount() > 0 && score->tempo(0))
                context.setToolbarTempo(UiNoteInput::clampTempo(score->tempo(0)->beatsPerMinute()));
        }
    }
}

// The cursor stays while the selection covers it; else it goes to the end
// of its staff, from where note entry appends.
void keepCursor(EdView& view)
{
    EdCursor& cursor = view.cursor();
    MnStaff* staff = cursor.staff();
    if (!staff)
        return;
    const int total = staff->totalTicks();
    if (cursor.time() >= total)
        return;
    EdSelection& selection = view.selection();
    MnMeasure* measure = nullptr;
    int measureStart = 0;
    // A negative time falls in the first measure.
    for (int i = 0, start = 0; i < staff->measureCount(); ++i) {
        MnMeasure* m = staff->measure(i);
        int length = m->beats() * m->beatTicks();
        if (cursor.time() < start + length) {
            measure = m;
            measureStart = start;
            break;
        }
        start += length;
    }
    if (!measure || selection.contains(measure) || selection.contains(staff) || cursor.voice() < 0)
        return;
    MnChord* chord = nullptr;
    if (cursor.voice() < MnMeasure::voiceCount) {
        const BcArray<MnChord*>& chords = measure->voiceChords(cursor.voice());
        for (int i = 0; i < chords.count(); ++i) {
            MnChord* c = chords[i];
            if (c && !c->isGrace() && c->time() == cursor.time() - measureStart) {
                chord = c;
                break;
            }
        }
    }
    if (chord) {
        for (int step = 0; step < cursor.graceIndex(); ++step) {
            MnChord* previous = chord->previousChord();
            if (!previous || !previous->isGrace()) {
                cursor.setAtChord(chord, cursor.voice(), false);
                break;
            }
            chord = previous;
        }
        if (selection.contains(chord))
            return;
        for (int i = 0; i < chord->noteCount(); ++i)
            if (selection.contains(chord->note(i)))
                return;
    }
    cursor.setPosition(total, 0, false);
    cursor.setAnchor(total, 0);
}

}

bool UiNoteInput::isDotted(int duration)
{
    return std::find(std::begin(dottedValues), std::end(dottedValues), duration) != std::end(dottedValues);
}

int UiNoteInput::undotted(int duration)
{
    return isDotted(duration) ? duration * 2 / 3 : duration;
}

int UiNoteInput::clampTempo(int beatsPerMinute)
{
    return std::clamp(beatsPerMinute, slowestTempo, fastestTempo);
}

int UiNoteInput::tempoOfText(const char* text)
{
    if (!text)
        return slowestTempo;
    const char* c = text;
    while (*c == ' ' || *c == '\t')
        ++c;
    bool negative = false;
    if (*c == '+' || *c == '-')
        negative = *c++ == '-';
    long long value = 0;
    for (; *c >= '0' && *c <= '9'; ++c)
        value = std::min(value * 10 + (*c - '0'), 1000000LL);
    return clampTempo(int(negative ? -value : value));
}

void UiNoteInput::selectionChanged(EdContext& context)
{
    EdView* view = context.activeView();
    if (!view)
        return;
    EdSelection& selection = view->selection();
    if (selection.count() == 0) {
        // A running tool keeps its input; the voice always stays.
        if (!view->hasPendingTool()) {
            context.noteInput().inputDuration = 0;
            context.noteInput().inputRest = false;
            context.noteInput().inputDotted = false;
        }
    } else {
        followChords(context, selection);
    }
    if (EdView* active = context.activeView())
        keepCursor(*active);
}
