// The geometry of a chord: where it stands in its measure, how far its
// heads, accidentals, dots, flags, arpeggio line, grace chords and changes
// reach to either side, the direction of its stem alone and in its beam
// group, and the columns of its heads, accidentals and dots beside a chord
// of the other voice at the same time.

#include "model/MnChord.h"

#include "model/MnCache.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffDefinition.h"
#include "model/MnTicks.h"

#include <algorithm>
#include <cmath>

// Arrays that the layout refills many times per pass. They are per thread:
// the performer measures its private score on the audio thread.
struct MnHeadScratch
{
    BcArray<MnNote*> merged;
    BcArray<bool> own;
    BcArray<MnNoteLayout> mergedRecords;
    BcArray<MnNoteLayout> upRecords;
    BcArray<MnNoteLayout> downRecords;
};

static MnHeadScratch& headScratch()
{
    thread_local MnHeadScratch scratch;
    return scratch;
}

// What layoutNoteHeads answers besides the records.
struct MnHeadOffsets
{
    double head = 0.0;
    double accidentals = 0.0;
    double dots = 0.0;
    int smallestShift = 0;
};

static MnHeadOffsets layoutHeadsInto(const MnChord* chord, BcArray<MnNoteLayout>& records)
{
    MnHeadOffsets offsets;
    chord->layoutNoteHeads(offsets.head, offsets.accidentals, offsets.dots, offsets.smallestShift, records, -2);
    return offsets;
}

static int roundedPosition(const MnNote* note)
{
    return int(std::lround(note->position().y));
}

static int smallestShift(const BcArray<MnNoteLayout>& records)
{
    int smallest = 0;
    for (int i = 0; i < records.count(); ++i)
        smallest = std::min(smallest, records[i].headShift);
    return smallest;
}

// The middle line decides: a chord whose notes reach farther below it than
// above it takes an up stem.
static int stemFromExtremes(int low, int high, double average)
{
    const int below = std::abs(low + 4);
    const int above = std::abs(high + 4);
    const double deciding = below != above ? (below > above ? low : high) : average;
    return deciding < -4.0 ? 1 : -1;
}

// The first non-grace chord of the other voice that starts with the chord.
static const MnChord* otherVoiceChord(const MnChord* chord)
{
    const MnMeasure* measure = chord->measure();
    if (!measure || chord->voice() < 0 || chord->voice() >= MnMeasure::voiceCount)
        return nullptr;
    const BcArray<MnChord*>& chords = measure->voiceChords(chord->voice() == 0 ? 1 : 0);
    for (int i = 0; i < chords.count(); ++i) {
        if (!chords[i]->isGrace() && chords[i]->time() == chord->time())
            return chords[i];
    }
    return nullptr;
}

double MnChord::headHalfWidth() const
{
    return mnNoteHeadHalfWidth(undottedDuration());
}

bool MnChord::hasSeconds() const
{
    if (MnCache::isCurrent(secondsStamp))
        return secondsCached;
    secondsCached = mnHasSeconds(notes);
    secondsStamp = MnCache::currentStamp();
    return secondsCached;
}

void MnChord::noteRange(int& low, int& high) const
{
    if (notes.isEmpty()) {
        low = -4;
        high = -4;
        return;
    }
    low = roundedPosition(notes[0]);
    high = low;
    for (int i = 1; i < notes.count(); ++i) {
        const int position = roundedPosition(notes[i]);
        low = std::min(low, position);
        high = std::max(high, position);
    }
}

int MnChord::autoStemDirection() const
{
    int direction = stem;
    if (direction == 0) {
        if (grace) {
            direction = 1;
        } else if (notes.isEmpty()) {
            direction = -1;
        } else {
            int low = 0;
            int high = 0;
            noteRange(low, high);
            long long sum = 0;
            for (int i = 0; i < notes.count(); ++i)
                sum += roundedPosition(notes[i]);
            direction = stemFromExtremes(low, high, double(sum) / notes.count());
        }
    }
    return stemInverted ? -direction : direction;
}

int MnChord::stemDirection(bool* alone) const
{
    if (!MnCache::isCurrent(stemStamp)) {
        bool decidedAlone = true;
        stemCached = contextStemDirection(decidedAlone);
        stemAlone = decidedAlone;
        stemStamp = MnCache::currentStamp();
    }
    if (alone)
        *alone = stemAlone;
    return stemCached;
}

int MnChord::contextStemDirection(bool& alone) const
{
    alone = true;
    const int index = indexInVoice();
    int first = 0;
    int last = 0;
    if (undottedDuration() >= MnTicksQuarter || beam == 2 || index < 0 ||
        !owner->beamGroup(voiceIndex, index, first, last))
        return autoStemDirection();

    // The group's notes decide together: from its first chord on, through
    // the chords of this chord's grace state that continue the beam.
    const BcArray<MnChord*>& chords = owner->voiceChords(voiceIndex);
    int low = 0;
    int high = 0;
    bool anyExtreme = false;
    long long sum = 0;
    int counted = 0;
    for (int i = first; i < chords.count(); ++i) {
        const MnChord* chord = chords[i];
        if (i > first) {
            if (chord->grace != grace) {
                if (grace)
                    break;
                continue;
            }
            if (owner->beamLink(voiceIndex, i) != 1)
                break;
        }
        int chordLow = -4;
        int chordHigh = -4;
        chord->noteRange(chordLow, chordHigh);
        low = anyExtreme ? std::min(low, chordLow) : chordLow;
        high = anyExtreme ? std::max(high, chordHigh) : chordHigh;
        anyExtreme = true;
        for (int n = 0; n < chord->notes.count(); ++n) {
            sum += roundedPosition(chord->notes[n]);
            ++counted;
        }
    }

    const MnChord* lead = chords[first];
    int direction = lead->stem;
    if (direction == 0) {
        if (grace) {
            direction = 1;
        } else {
            // On a tie the group's average, rounded, decides; a group of
            // rests stands on the middle line.
            const double average = counted > 0 ? std::round(double(sum) / counted) : -4.0;
            direction = stemFromExtremes(low, high, average);
        }
    }
    alone = false;
    return lead->stemInverted ? -direction : direction;
}

void MnChord::mergeVoiceNotes(const MnChord* other, BcArray<MnNote*>& merged, BcArray<bool>& ownFlags) const
{
    merged.removeAll();
    ownFlags.removeAll();
    const MnChord* first = this;
    const MnChord* second = other;
    if (other && voiceIndex != 0 && other->voiceIndex == 0)
        std::swap(first, second);
    for (int i = 0; i < first->notes.count(); ++i) {
        merged.add(first->notes[i]);
        ownFlags.add(first == this);
    }
    if (!second)
        return;
    for (int i = 0; i < second->notes.count(); ++i) {
        MnNote* note = second->notes[i];
        int place = 0;
        while (place < merged.count() && merged[place]->diatonicPosition() < note->diatonicPosition())
            ++place;
        merged.insertAt(place, note);
        ownFlags.insertAt(place, second == this);
    }
}

// How far the heads of the up-stem chord stand right (t > 0) or left (t =
// -3) of the down-stem chord's heads; 0 when they do not meet or share one
// head.
static double voiceDistance(const MnChord* up, const MnChord* down, const BcArray<MnNoteLayout>& upRecords,
                            const BcArray<MnNoteLayout>& downRecords)
{
    const int upCount = up->noteCount();
    const int downCount = down->noteCount();
    const int upLowest = up->note(0)->diatonicPosition();
    const int downHighest = down->note(downCount - 1)->diatonicPosition();
    const int apart = upLowest - downHighest;
    const bool otherShapes = up->undottedDuration() != down->undottedDuration() &&
                             (up->undottedDuration() > MnTicksQuarter || down->undottedDuration() > MnTicksQuarter);
    if (apart >= 2 || (apart == 0 && !otherShapes))
        return 0.0;
    if (apart == 1) {
        const bool downClear = downCount == 1 || down->note(downCount - 2)->diatonicPosition() < downHighest;
        const bool upClear = upCount == 1 || up->note(1)->diatonicPosition() > upLowest;
        if (downClear && upClear)
            return -3.0;
    } else if (apart == 0) {
        const bool downClear = downCount == 1 || downHighest - down->note(downCount - 2)->diatonicPosition() >= 2;
        const bool upClear = upCount == 1 || up->note(1)->diatonicPosition() - upLowest >= 2;
        if (downClear && upClear)
            return -3.0;
    }
    // The voices overlap: the up-stem heads stand right of the down-stem
    // heads, far enough for the closest pair that stays on its stem's side.
    double distance = 0.75;
    for (int u = 0; u < upCount; ++u) {
        if (upRecords[u].headShift != 0)
            continue;
        for (int d = 0; d < downCount; ++d) {
            if (downRecords[d].headShift != 0)
                continue;
            const int k = down->note(d)->diatonicPosition() - up->note(u)->diatonicPosition();
            double needed = 0.75;
            if (k == -2 || k == 1)
                needed = 2.5;
            else if (k == -1 || k == 0)
                needed = 3.5;
            distance = std::max(distance, needed);
        }
    }
    return distance;
}

// Copies this chord's entries of a merged layout into its own records, note
// by note (a voice's own unisons may come out of the merge reordered).
static void takeOwnRecords(const BcArray<MnNote*>& ownNotes, const BcArray<MnNote*>& merged,
                           const BcArray<bool>& own, const BcArray<MnNoteLayout>& mergedRecords,
                           BcArray<MnNoteLayout>& records, bool accidentalsOnly)
{
    for (int i = 0; i < merged.count(); ++i) {
        if (!own[i])
            continue;
        const int index = ownNotes.indexOf(merged[i]);
        if (index < 0 || index >= records.count())
            continue;
        if (accidentalsOnly)
            records[index].accidentalColumn = mergedRecords[i].accidentalColumn;
        else
            records[index] = mergedRecords[i];
    }
}

void MnChord::layoutNoteHeads(double& headOffset, double& accidentalOffset, double& dotOffset,
                              int& smallestHeadShift, BcArray<MnNoteLayout>& records, int direction) const
{
    headOffset = 0.0;
    accidentalOffset = 0.0;
    dotOffset = 0.0;
    smallestHeadShift = 0;
    records.removeAll();
    if (notes.isEmpty())
        return;
    const int stemUp = direction == -2 ? stemDirection() : direction;
    const MnChord* other = otherVoiceChord(this);
    if (!other || other->notes.isEmpty()) {
        layoutNoteColumns(notes, records, stemUp, true, true);
        smallestHeadShift = smallestShift(records);
        return;
    }

    const int otherStem = other->stemDirection();
    MnHeadScratch& scratch = headScratch();
    if (otherStem == stemUp) {
        // Both stems on one side: the two voices share one set of columns.
        mergeVoiceNotes(other, scratch.merged, scratch.own);
        scratch.mergedRecords.removeAll();
        layoutNoteColumns(scratch.merged, scratch.mergedRecords, stemUp, true, true);
        smallestHeadShift = smallestShift(scratch.mergedRecords);
        records.setSize(notes.count());
        takeOwnRecords(notes, scratch.merged, scratch.own, scratch.mergedRecords, records, false);
        if (undottedDuration() == MnTicksHalf && other->undottedDuration() < MnTicksHalf) {
            // The wider open head is centred on the filled heads' column.
            bool movedLeft = false;
            bool leftOfStem = false;
            for (int i = 0; i < scratch.mergedRecords.count(); ++i) {
                movedLeft = movedLeft || scratch.mergedRecords[i].headShift == -1;
                leftOfStem = leftOfStem || scratch.mergedRecords[i].leftOfStem != 0;
            }
            const double shift = (2.75 - 2.0 * mnNoteHeadHalfWidth(MnTicksQuarter)) / 2.0;
            if (stemUp == -1) {
                headOffset = shift;
                accidentalOffset = movedLeft ? shift : -shift;
                dotOffset = -shift;
            } else if (stemUp == 1) {
                headOffset = -shift;
                accidentalOffset = shift;
                dotOffset = leftOfStem ? -shift : shift;
            }
        }
        return;
    }

    // Opposite stems: each chord keeps its own heads, and the up-stem chord
    // stands aside when the voices meet.
    const MnChord* up = this;
    const MnChord* down = other;
    if (stemUp == -1 || (stemUp != 1 && otherStem == 1)) {
        up = other;
        down = this;
    }
    scratch.upRecords.removeAll();
    scratch.downRecords.removeAll();
    layoutNoteColumns(up->notes, scratch.upRecords, 1, true, false);
    layoutNoteColumns(down->notes, scratch.downRecords, -1, true, false);
    const double distance = voiceDistance(up, down, scratch.upRecords, scratch.downRecords);
    bool downMoved = false;
    for (int i = 0; i < scratch.downRecords.count(); ++i)
        downMoved = downMoved || scratch.downRecords[i].headShift == -1;
    bool upLeftOfStem = false;
    for (int i = 0; i < scratch.upRecords.count(); ++i)
        upLeftOfStem = upLeftOfStem || scratch.upRecords[i].leftOfStem != 0;
    const double upWidth = up->headHalfWidth();
    const double downWidth = down->headHalfWidth();
    if (up == this) {
        headOffset = distance;
        if (distance >= 0.0)
            accidentalOffset = downMoved ? -distance - 2.0 * downWidth : -distance;
        else
            dotOffset = upLeftOfStem ? -distance - 2.0 * upWidth : -distance;
        records = scratch.upRecords;
    } else {
        if (distance < 0.0)
            accidentalOffset = downMoved ? distance + 2.0 * downWidth : distance;
        else
            dotOffset = upLeftOfStem ? distance + 2.0 * upWidth : distance;
        records = scratch.downRecords;
    }
    smallestHeadShift = smallestShift(records);

    // Both voices share the accidental columns.
    mergeVoiceNotes(other, scratch.merged, scratch.own);
    scratch.mergedRecords.removeAll();
    layoutNoteColumns(scratch.merged, scratch.mergedRecords, 1, false, true);
    takeOwnRecords(notes, scratch.merged, scratch.own, scratch.mergedRecords, records, true);
}

double MnChord::rightExtent() const
{
    if (MnCache::isCurrent(rightStamp))
        return rightCached;
    bool alone = true;
    const int direction = stemDirection(&alone);
    const double headWidth = headHalfWidth();
    double room = 1.5;
    if (hasSeconds() && direction > 0)
        room = 2.0 * headWidth + 1.5;
    bool upFlag = false;
    if (undottedDuration() <= MnTicksEighth && alone && direction > 0) {
        room += 2.0; // the flag of an up stem
        upFlag = true;
    }
    thread_local BcArray<MnNoteLayout> records;
    double heads = layoutHeadsInto(this, records).head;
    if (grace) {
        heads += 1.0;
        if (isDotted() && !upFlag)
            heads += 0.84; // the dot of a grace chord beside its stem
    }
    rightCached = std::max(0.0, heads + room);
    rightStamp = MnCache::currentStamp();
    return rightCached;
}

double MnChord::leftExtent(int kind) const
{
    kind = std::clamp(kind, int(ExtentHeads), int(ExtentChanges));
    if (MnCache::isCurrent(extentStamps[kind]))
        return extents[kind];
    const double extent = computeLeftExtent(kind);
    extents[kind] = extent;
    extentStamps[kind] = MnCache::currentStamp();
    return extent;
}

double MnChord::computeLeftExtent(int kind) const
{
    if (kind == ExtentHeads) {
        double widest = 3.0;
        for (int i = 0; i < notes.count(); ++i)
            widest = std::max(widest, notes[i]->width());
        thread_local BcArray<MnNoteLayout> records;
        const MnHeadOffsets offsets = layoutHeadsInto(this, records);
        int column = 0;
        for (int i = 0; i < records.count(); ++i)
            column = std::min(column, records[i].accidentalColumn);
        const double headWidth = headHalfWidth();
        return std::max(0.0, widest - (2.0 * headWidth * offsets.smallestShift + offsets.accidentals + 2.0 * column) -
                                 1.5 - offsets.head);
    }
    if (kind == ExtentArpeggio)
        return arpeggioLeftExtent();

    double extent = leftExtent(kind - 1);
    if (grace || !owner)
        return extent;
    if (kind == ExtentGrace) {
        const BcArray<MnChord*>& chords = owner->voiceChords(voiceIndex);
        for (int i = indexInVoice() - 1; i >= 0 && chords[i]->grace; --i)
            extent += 0.6 * chords[i]->width(); // grace chords are drawn at 0.6
        return extent;
    }

    const MnStaff* ownerStaff = owner->staff();
    if (chordTime <= 0 || !ownerStaff)
        return extent;
    const int time = owner->startTime() + chordTime;
    const MnStaffDefinition* change = ownerStaff->definitionAt(time, true);
    if (!change || change == ownerStaff)
        return extent;
    const bool clefChange = change->changesClef();
    double keyRoom = 0.0;
    const MnScore* score = ownerStaff->score();
    const double scale = ownerStaff->partScale();
    if (change->changesKey() && score && scale > 0.0)
        keyRoom = score->keySignatureWidth(time, true, 2.0) / scale;
    const double clefRoom = clefChange ? 7.0 : (keyRoom > 0.0 ? 1.0 : 0.0);
    return extent + clefRoom + keyRoom;
}

double MnChord::arpeggioLeftExtent() const
{
    const double own = leftExtent(ExtentHeads);
    const MnStaff* ownerStaff = staff();
    const MnScore* score = ownerStaff ? ownerStaff->score() : nullptr;
    // Most columns have no arpeggio at all; asking the measures first spares
    // every chord the walk over the staves.
    if (!score || !owner->columnHasArpeggio())
        return own;
    const MnNote* first = nullptr;
    const MnNote* last = nullptr;
    for (int i = 0; i < notes.count() && !first; ++i) {
        if (notes[i]->computeArpeggioChain()) {
            first = notes[i]->arpeggioChainFirst();
            last = notes[i]->arpeggioChainLast();
        }
    }
    if (!first || !last)
        return own;

    BcArray<MnNote*> sounding;
    score->notesAtTime(owner->index() - 1, chordTime, sounding);
    const double scale = ownerStaff->partScale();
    const double firstScale = first->chord()->staff() ? first->chord()->staff()->partScale() : 1.0;
    if (!(scale > 0.0))
        return own;
    double extent = 0.0;
    bool inChain = false;
    for (int i = 0; i < sounding.count(); ++i) {
        const MnNote* note = sounding[i];
        inChain = inChain || note == first;
        if (!inChain)
            continue;
        const MnStaff* noteStaff = note->chord()->staff();
        const double noteScale = noteStaff ? noteStaff->partScale() : 1.0;
        // The line stands left of the widest chord it joins, measured in
        // this chord's scale.
        extent = std::max(extent, 2.0 * firstScale / scale +
                                      (noteScale / scale) * (note->chord()->leftExtent(ExtentHeads) + 1.0));
        if (note == last)
            break;
    }
    return extent;
}

double MnChord::graceOffset() const
{
    if (!grace || !owner)
        return 0.0;
    double offset = -0.6 * rightExtent();
    const BcArray<MnChord*>& chords = owner->voiceChords(voiceIndex);
    for (int i = indexInVoice() + 1; i > 0 && i < chords.count(); ++i) {
        const MnChord* chord = chords[i];
        if (!chord->grace) {
            offset -= chord->leftExtent(ExtentArpeggio);
            break;
        }
        offset -= 0.6 * chord->width();
    }
    return offset;
}

GePoint2d MnChord::position() const
{
    if (!MnCache::isCurrent(positionStamp)) {
        double x = 0.0;
        if (owner) {
            const double content = owner->width() - owner->headerWidth();
            if (!notes.isEmpty() || writtenDuration != MnTicksPerWhole) {
                // The chord's share of the measure's equal slots.
                const int slots = std::max(owner->divisions(false), owner->beats());
                if (slots > 1) {
                    const double slotTicks = double(owner->beats()) * owner->beatTicks() / slots;
                    x = (chordTime / slotTicks) * (content / (slots - 1));
                }
            } else {
                x = content / 2.0; // a whole rest in the middle of the measure
            }
        }
        positionX = x;
        positionStamp = MnCache::currentStamp();
    }
    return GePoint2d(positionX, double(restY));
}

double MnChord::width() const
{
    return leftExtent(ExtentChanges) + rightExtent();
}

double MnChord::syllableWidth() const
{
    return MnCache::isCurrent(syllableStamp) ? syllableCached : 0.0;
}

void MnChord::raiseSyllableWidth(double width) const
{
    if (!MnCache::isCurrent(syllableStamp)) {
        syllableStamp = MnCache::currentStamp();
        syllableCached = width;
        return;
    }
    syllableCached = std::max(syllableCached, width);
}
