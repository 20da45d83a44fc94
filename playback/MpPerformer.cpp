#include "playback/MpPerformer.h"

#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "model/MnChord.h"
#include "model/MnDynamic.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPart.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "playback/MpDxToCoda.h"
#include "playback/MpDxToFine.h"
#include "playback/MpJump.h"
#include "playback/MpPerformerListener.h"

BC_IMPLEMENT_CREATABLE_CLASS(MpPerformer)

MpPerformer::MpPerformer() = default;

MpPerformer::~MpPerformer()
{
    clearJumps();
}

int MpPerformer::dynamicToVelocity(int kind)
{
    static const int levels[] = {20, 39, 61, 71, 84, 98, 113, 127};
    if (kind < MnDynamicPPP || kind > MnDynamicFFF)
        return 64;
    return levels[kind];
}

int MpPerformer::firstGridTime(const MnScore* score)
{
    if (!score)
        return 0;
    int first = 0;
    for (int s = 0; s < score->staffCount(); ++s) {
        const MnStaff* staff = score->staff(s);
        if (staff->measureCount() == 0)
            continue;
        const MnMeasure* measure = staff->measure(0);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            if (chords.isEmpty())
                continue;
            int length = 0;
            const int time = chords[0]->playbackTime(nullptr, length);
            if (time < first)
                first = time;
        }
    }
    return first;
}

// Unset instruments play as the piano.
int MpPerformer::instrumentTypeOf(const MnScore* score, int staffIndex)
{
    const int instrument = score->part(staffIndex)->instrument();
    return instrument < 0 ? 0 : instrument;
}

MnStaff* MpPerformer::cursorStaff() const
{
    return performerCursor ? performerCursor->staff() : nullptr;
}

MnMeasure* MpPerformer::measureHolding(const MnStaff* staff, int time)
{
    if (!staff || staff->measureCount() == 0)
        return nullptr;
    // Before the first bar line the first measure sounds its leading graces.
    if (time < 0)
        return staff->measure(0);
    return staff->measureAtTime(time);
}

void MpPerformer::start(MpPerformerListener* listener, EdCursor* cursor, bool restart)
{
    performerListener = listener;
    performerCursor = cursor;
    if (restart)
        step = 0;
    level = startLevel;
    offset = 0;
    onsetTick = EdContext::current().tickCount();
    const MnStaff* staff = cursorStaff();
    const MnScore* score = staff ? staff->score() : nullptr;
    collectLines(score);
    buildJumps();
    // One push for each D.C. or D.S., each taken once: perform never grows
    // the stack.
    int pushes = 0;
    for (int i = 0; i < jumps.count(); ++i) {
        if (jumps[i]->isKindOf(MpDxToFine::staticClass()) || jumps[i]->isKindOf(MpDxToCoda::staticClass()))
            ++pushes;
    }
    stateStack.removeAll();
    if (stateStack.capacity() < 1 + pushes)
        stateStack.setCapacity(1 + pushes);
    stateStack.add(MpJump::normalState);
    pedalDown = false;
    for (bool& held : pedalHeld)
        held = false;
    pendingMeasure = -1;
    prepareScore(score);
}

void MpPerformer::reset()
{
    performerListener = nullptr;
    performerCursor = nullptr;
    dynamics.removeAll();
    pedals.removeAll();
    clearJumps();
    stateStack.removeAll();
    preparedScore = nullptr;
    playedMeasure = 0;
    stepMeasure = 0;
}

bool MpPerformer::isFinished() const
{
    const MnStaff* staff = cursorStaff();
    return !staff || performerCursor->time() >= staff->totalTicks();
}

int MpPerformer::passCount(int measureIndex) const
{
    if (measureIndex < 1 || measureIndex > passCounts.count())
        return 0;
    return passCounts[measureIndex - 1];
}

// Dynamics ascend by start; among equal starts the one collected last comes
// first. Pedals keep the order of staves and lines.
void MpPerformer::collectLines(const MnScore* score)
{
    dynamics.removeAll();
    pedals.removeAll();
    if (!score)
        return;
    for (int s = 0; s < score->staffCount(); ++s) {
        const BcArray<MnLine*>& lines = score->staff(s)->lineArray();
        for (int i = 0; i < lines.count(); ++i) {
            MnLine* line = lines[i];
            if (line->isKindOf(MnPedal::staticClass())) {
                pedals.add(static_cast<MnPedal*>(line));
                continue;
            }
            if (!line->isKindOf(MnDynamic::staticClass()))
                continue;
            int place = 0;
            while (place < dynamics.count() && dynamics[place]->start() < line->start())
                ++place;
            dynamics.insertAt(place, static_cast<MnDynamic*>(line));
        }
    }
}

// Sizes every list that perform fills, and asks once what the model would
// otherwise allocate for on first use (the staves' measure start times).
void MpPerformer::prepareScore(const MnScore* score)
{
    playedMeasure = 0;
    playedNext = -1;
    stepMeasure = 0;
    stepCached = 0;
    leadIn = firstGridTime(score);
    arpeggioMeasures.removeAll();
    candidates.removeAll();
    chainNotes.removeAll();
    preparedScore = score;
    // The first lookup of a class object builds its name on the heap: the
    // classes that the notes' pitches and the jumps ask for are looked up
    // here, not on the audio thread.
    MnStaff::staticClass();
    MnStaffChange::staticClass();
    MnOctave::staticClass();
    MpDxToFine::staticClass();
    MpDxToCoda::staticClass();
    if (!score)
        return;

    int measureCount = 0;
    for (int s = 0; s < score->staffCount(); ++s) {
        score->staff(s)->totalTicks();
        if (score->staff(s)->measureCount() > measureCount)
            measureCount = score->staff(s)->measureCount();
    }
    arpeggioMeasures.setSize(measureCount);
    for (int m = 0; m < measureCount; ++m)
        arpeggioMeasures[m] = false;

    const int lists = score->staffCount() * MnMeasure::voiceCount;
    if (playedChords.count() < lists)
        playedChords.setSize(lists);
    int playedTotal = 0;
    int notesAtOnce = 0;
    for (int s = 0; s < score->staffCount(); ++s) {
        const MnStaff* staff = score->staff(s);
        int mostNotes = 0;
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            int mostChords = 0;
            for (int m = 0; m < staff->measureCount(); ++m) {
                const BcArray<MnChord*>& chords = staff->measure(m)->voiceChords(voice);
                if (chords.count() > mostChords)
                    mostChords = chords.count();
                for (int c = 0; c < chords.count(); ++c) {
                    const MnChord* chord = chords[c];
                    if (chord->noteCount() > mostNotes)
                        mostNotes = chord->noteCount();
                    for (int n = 0; n < chord->noteCount(); ++n) {
                        if (chord->note(n)->hasArpeggio())
                            arpeggioMeasures[m] = true;
                    }
                }
            }
            // A voice answers at most once per chord, plus the grace chords
            // of the measure that plays next.
            BcArray<MnPlayedChord>& played = playedChords[s * MnMeasure::voiceCount + voice];
            played.removeAll();
            if (played.capacity() < 2 * mostChords)
                played.setCapacity(2 * mostChords);
            playedTotal += 2 * mostChords;
        }
        notesAtOnce += MnMeasure::voiceCount * mostNotes;
    }
    if (candidates.capacity() < playedTotal)
        candidates.setCapacity(playedTotal);
    if (chainNotes.capacity() < notesAtOnce)
        chainNotes.setCapacity(notesAtOnce);
}

int MpPerformer::perform()
{
    MnStaff* staff = cursorStaff();
    if (!staff)
        return step;
    const MnScore* score = staff->score();
    // A cursor moved to another score since start: prepared now, at the cost
    // of allocating.
    if (score != preparedScore)
        prepareScore(score);
    Moment moment;
    if (step > 0)
        advance(staff, moment);
    const int time = performerCursor->time();
    applyDynamics(time, moment.jumped);
    applyPedals(staff, time, moment);

    const MnMeasure* measure = measureHolding(staff, time);
    if (!measure) {
        if (time == staff->totalTicks())
            endStaff(score, moment);
        return step;
    }
    const int measureStart = measure->startTime();
    moment.measureIndex = measure->index();
    moment.now = time < 0 ? time : time - measureStart;
    if (time == measureStart && moment.measureIndex >= 1 && moment.measureIndex <= passCounts.count())
        ++passCounts[moment.measureIndex - 1];
    step = stepLength(measure);
    soundMeasure(score, moment.measureIndex == 1 ? leadIn : 0, moment);
    return step;
}

void MpPerformer::applyDynamics(int now, bool jumped)
{
    for (int i = 0; i < dynamics.count(); ++i) {
        const MnDynamic* dynamic = dynamics[i];
        const int start = dynamic->start();
        const int length = dynamic->length();
        const int end = start + length;
        if (!(start <= now && now < end) && !(now == end && !jumped))
            continue;
        const int kind = dynamic->kind();
        if (kind >= MnDynamicPPP && kind <= MnDynamicFFF) {
            if (now == start) {
                level = dynamicToVelocity(kind);
                offset = 0;
            }
            continue;
        }
        // A hairpin without a length has nothing to spread its change over.
        if (!MnDynamic::isHairpin(kind) || length <= 0)
            continue;
        const bool crescendo = kind == MnDynamicCrescendoHairpin;
        if (now == start && (crescendo ? offset < 0 : offset > 0)) {
            level += offset;
            offset = 0;
        }
        // The hairpin reaches the first mark within its span when that lies
        // its way, else it spans the distance from p to f.
        int range = dynamicToVelocity(MnDynamicF) - dynamicToVelocity(MnDynamicP);
        for (int j = i + 1; j < dynamics.count() && dynamics[j]->start() <= end; ++j) {
            const int markKind = dynamics[j]->kind();
            if (markKind < MnDynamicPPP || markKind > MnDynamicFFF)
                continue;
            const int mark = dynamicToVelocity(markKind);
            if (crescendo ? mark > level : mark < level)
                range = crescendo ? mark - level : level - mark;
            break;
        }
        const double reached = double(now - start) / length * range;
        if (crescendo) {
            const int rise = int(reached);
            offset = rise < 127 - level ? rise : 127 - level;
        } else {
            const int fall = int(-reached);
            offset = fall > -level ? fall : -level;
        }
    }
}

void MpPerformer::applyPedals(const MnStaff* staff, int now, Moment& moment)
{
    int leftEnd = -1;
    if (moment.jumped && moment.leftIndex >= 1 && moment.leftIndex <= staff->measureCount()) {
        const MnMeasure* left = staff->measure(moment.leftIndex - 1);
        leftEnd = left->startTime() + left->length();
    }
    for (int i = 0; i < pedals.count(); ++i) {
        const int start = pedals[i]->start();
        const int end = pedals[i]->end();
        // A jump away from the measure where the pedal ends lifts it there.
        if (end == leftEnd)
            releasePedal();
        if (start == now) {
            pedalDown = true;
            moment.pedalPressed = true;
        } else if (end == now) {
            releasePedal();
        }
    }
}

void MpPerformer::releasePedal()
{
    pedalDown = false;
    releaseHeldKeys();
}

void MpPerformer::releaseHeldKeys()
{
    for (int key = 0; key < keyCount; ++key) {
        if (!pedalHeld[key])
            continue;
        pedalHeld[key] = false;
        if (performerListener)
            performerListener->noteOff(0, key);
    }
}

void MpPerformer::release(int instrumentType, int key, const Moment& moment)
{
    if (!pedalDown || moment.pedalPressed || instrumentType != 0) {
        if (performerListener)
            performerListener->noteOff(instrumentType, key);
        return;
    }
    // Piano notes wait for the pedal.
    pedalHeld[key] = true;
}

void MpPerformer::releaseNotes(const MnChord* chord, int instrumentType, const Moment& moment)
{
    for (int n = 0; n < chord->noteCount(); ++n)
        release(instrumentType, chord->note(n)->keyNumber(), moment);
}

// The chords still sounding at the end: those of the last measure, or,
// after a Fine, of the measure the jump left.
void MpPerformer::endStaff(const MnScore* score, const Moment& moment)
{
    for (int s = 0; s < score->staffCount(); ++s) {
        const MnStaff* staff = score->staff(s);
        int index = staff->measureCount();
        if (moment.jumped && moment.leftIndex >= 1 && moment.leftIndex <= staff->measureCount())
            index = moment.leftIndex;
        if (index < 1)
            continue;
        const int instrumentType = instrumentTypeOf(score, s);
        const MnMeasure* measure = staff->measure(index - 1);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            if (!chords.isEmpty())
                releaseNotes(chords[chords.count() - 1], instrumentType, moment);
        }
    }
    releaseHeldKeys();
}
