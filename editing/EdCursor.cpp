#include "editing/EdCursor.h"

#include "foundation/BcClassManager.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnStaff.h"

BC_IMPLEMENT_CREATABLE_CLASS(EdCursor)

EdCursor::EdCursor() = default;
EdCursor::~EdCursor() = default;

MnStaff* EdCursor::staff() const
{
    if (staffHolder.count() != 1)
        return nullptr;
    MnElement* held = staffHolder.element(0);
    if (!held->isKindOf(MnStaff::staticClass()))
        return nullptr;
    return static_cast<MnStaff*>(held);
}

void EdCursor::setPosition(int time, int graceIndex, bool extend)
{
    cursorTime = time;
    cursorGraceIndex = graceIndex;
    if (!extend)
        setAnchor(time, graceIndex);
}

void EdCursor::setAnchor(int time, int graceIndex)
{
    anchor = time;
    anchorGrace = graceIndex;
}

// The grace chords that open a voice of a measure.
static int leadingGraceChords(const MnMeasure* measure, int voice)
{
    if (!measure || voice < 0 || voice >= MnMeasure::voiceCount)
        return 0;
    int count = measure->chordCount(voice, false);
    int graces = 0;
    while (graces < count) {
        const MnChord* chord = measure->chordAt(graces, voice, false);
        if (!chord || !chord->isGrace())
            break;
        ++graces;
    }
    return graces;
}

bool EdCursor::setAtStaffStart(MnStaff* staff, int voice)
{
    staffHolder.clear();
    if (staff)
        staffHolder.add(staff);
    cursorVoice = voice;
    int graces = 0;
    if (staff && staff->measureCount() > 0)
        graces = leadingGraceChords(staff->measure(0), voice);
    setPosition(0, graces, false);
    return true;
}

bool EdCursor::setAtMeasureStart(MnMeasure* measure, int voice)
{
    if (!measure)
        return false;
    staffHolder.clear();
    if (measure->staff())
        staffHolder.add(measure->staff());
    cursorVoice = voice;
    setPosition(measure->startTime(), leadingGraceChords(measure, voice), false);
    return true;
}

static int staffTimeOf(const MnChord* chord)
{
    return chord->measure()->startTime() + chord->time();
}

int EdCursor::graceRun(const MnChord* chord, const MnChord** main)
{
    int run = 0;
    const MnChord* walk = chord;
    for (; walk && walk->isGrace(); walk = walk->nextChord())
        ++run;
    if (main)
        *main = walk;
    return run;
}

bool EdCursor::setAtChord(MnChord* chord, int voice, bool keepAnchor)
{
    if (!chord || !chord->measure())
        return false;
    MnStaff* chordStaff = chord->staff();
    const bool extend = keepAnchor && staff() && staff() == chordStaff;
    staffHolder.clear();
    if (chordStaff)
        staffHolder.add(chordStaff);
    cursorVoice = voice;
    const MnChord* main = nullptr;
    const int distance = graceRun(chord, &main);
    if (distance > 0 && main) {
        setPosition(staffTimeOf(main), distance, extend);
        return true;
    }
    setPosition(staffTimeOf(chord), 0, extend);
    return true;
}

bool EdCursor::locate(MnMeasure*& measure, int& offset, int& firstVoice, int& lastVoice) const
{
    const MnStaff* cursorStaff = staff();
    if (!cursorStaff || cursorStaff->measureCount() == 0 || cursorVoice >= MnMeasure::voiceCount)
        return false;
    firstVoice = cursorVoice >= 0 ? cursorVoice : 0;
    lastVoice = cursorVoice >= 0 ? cursorVoice : MnMeasure::voiceCount - 1;
    if (cursorTime < 0) {
        measure = cursorStaff->measure(0);
        offset = cursorTime;
        return true;
    }
    MnMeasure* holding = cursorStaff->measureAtTime(cursorTime);
    if (!holding)
        return false;
    measure = holding;
    offset = cursorTime - holding->startTime();
    return true;
}

// Of the chords at one place of a voice (the main chord at the offset and
// the grace chords before it, those kept at the end of the previous measure
// included), the one that has the grace run.
static MnChord* chordOfGraceRun(const MnMeasure* measure, int voice, int offset, int run)
{
    MnChord* main = measure->mainChordAt(voice, offset);
    if (!main)
        return nullptr;
    const int place = staffTimeOf(main);
    for (MnChord* walk = main; walk && staffTimeOf(walk) == place; walk = walk->previousChord()) {
        if (EdCursor::graceRun(walk) == run)
            return walk;
    }
    return nullptr;
}

MnChord* EdCursor::land(int time, int graceIndex, MnChord* chord, bool extend)
{
    setPosition(time, graceIndex, extend);
    return chord;
}

MnChord* EdCursor::moveNext(bool extend)
{
    MnMeasure* measure = nullptr;
    int offset = 0;
    int firstVoice = 0;
    int lastVoice = 0;
    if (!locate(measure, offset, firstVoice, lastVoice))
        return nullptr;

    // One grace position nearer to the main chord.
    if (cursorGraceIndex > 0) {
        for (int voice = firstVoice; voice <= lastVoice; ++voice) {
            if (MnChord* chord = chordOfGraceRun(measure, voice, offset, cursorGraceIndex - 1))
                return land(cursorTime, cursorGraceIndex - 1, chord, extend);
        }
    }

    // The earliest later onset; of a grace group, its first chord.
    MnChord* next = nullptr;
    for (int voice = firstVoice; voice <= lastVoice; ++voice) {
        const BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = 0; i < chords.count(); ++i) {
            if (chords[i]->time() > offset) {
                if (!next || chords[i]->time() < next->time())
                    next = chords[i];
                break;
            }
        }
    }
    if (next)
        return land(measure->startTime() + next->time(), graceRun(next), next, extend);

    const MnMeasure* following = measure->nextMeasure();
    if (!following)
        return nullptr;
    const BcArray<MnChord*>& chords = following->voiceChords(firstVoice);
    if (chords.isEmpty())
        return nullptr;
    return land(following->startTime() + chords[0]->time(), graceRun(chords[0]), chords[0], extend);
}

// The chord with the latest onset before the time among the voices of the
// measure, the first voice winning a tie; walking back, the main chord of a
// grace group comes first.
static MnChord* latestBefore(const MnMeasure* measure, int firstVoice, int lastVoice, long long time)
{
    MnChord* latest = nullptr;
    for (int voice = firstVoice; voice <= lastVoice; ++voice) {
        const BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = chords.count() - 1; i >= 0; --i) {
            if (chords[i]->time() < time) {
                if (!latest || chords[i]->time() > latest->time())
                    latest = chords[i];
                break;
            }
        }
    }
    return latest;
}

MnChord* EdCursor::movePrevious(bool extend)
{
    MnMeasure* measure = nullptr;
    int offset = 0;
    int firstVoice = 0;
    int lastVoice = 0;
    if (!locate(measure, offset, firstVoice, lastVoice))
        return nullptr;

    // One grace position further back.
    for (int voice = firstVoice; voice <= lastVoice; ++voice) {
        if (MnChord* chord = chordOfGraceRun(measure, voice, offset, cursorGraceIndex + 1))
            return land(cursorTime, cursorGraceIndex + 1, chord, extend);
    }

    // The latest earlier onset in this measure, else in the one before;
    // grace chords kept at the end of that one belong to the cursor's own
    // place and were passed above.
    if (MnChord* previous = latestBefore(measure, firstVoice, lastVoice, offset))
        return land(measure->startTime() + previous->time(), graceRun(previous), previous, extend);
    const MnMeasure* before = measure->previousMeasure();
    if (!before)
        return nullptr;
    const int beforeStart = before->startTime();
    MnChord* previous = latestBefore(before, firstVoice, lastVoice, (long long)cursorTime - beforeStart);
    if (!previous)
        return nullptr;
    return land(beforeStart + previous->time(), graceRun(previous), previous, extend);
}
