// Pasting note records: each record is written into the measure that holds
// its time with the measure's slot operations, which split values at bar
// lines and fill gaps with rests. A paste that starts inside a tuplet of the
// target squeezes the records that fall into the rest of that tuplet by its
// ratio and moves every later record earlier by what the squeeze saved.

#include "editing/EdClipboard.h"

#include "editing/EdMeasureCursor.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTuplet.h"

#include <map>
#include <tuple>

bool EdClipboard::paste(MnStaff* staff, int time, EdSelection* pasted)
{
    if (!staff)
        return false;
    if (pasteScore(staff, time))
        return true;
    return pasteRecords(staff, time, pasted);
}

// Writes the sounding pitch back when the spelling alone no longer gives it
// (an accidental that carried through the old measure, say), keeping the
// spelling where it can.
static void keepPitch(MnNote* note, int key)
{
    const int sounding = note->keyNumber();
    if (sounding == key)
        return;
    const int alteration = note->effectiveAccidental() + key - sounding;
    if (!note->setAlteration(alteration) || note->keyNumber() != key)
        note->setKeyNumber(key);
}

// A note placed from a record that restores writing gets its tie and
// arpeggio back; a chord it begins, the chord's settings.
static void restoreWriting(MnNote* note, const EdClipNote& record, bool beginsChord)
{
    keepPitch(note, record.key);
    MnChord* chord = note->chord();
    if (!chord->isGrace()) {
        note->setTiePlacement(record.tiePlacement);
        note->setArpeggio(record.arpeggio);
        // Setting the type walks the notes of every staff at the chord.
        if (note->arpeggioType() != record.arpeggioType)
            note->setArpeggioType(record.arpeggioType);
    }
    if (beginsChord)
        record.chord.applyTo(chord);
}

namespace
{
// What a tuplet's first copied record says about where the tuplet's notes
// stand: records copied from the middle of a tuplet count from the first
// one copied, not from the tuplet's first chord.
using TupletKey = std::tuple<int, int, int>;

TupletKey tupletKeyOf(const EdClipNote& record)
{
    return TupletKey(record.line, record.voice, record.time - record.tupletOffset);
}

// The state of one line of a paste: the source and target times of the
// last record placed, and the shift that squeezing into a tuplet started.
struct LineState
{
    long long lastRecordTime = -1;
    long long lastTargetTime = -1;
};

// Where a record goes when the paste starts inside a tuplet of the target
// voice: the onset squeezed by the tuplet's ratio, and the shift that the
// squeeze saves for what follows the tuplet.
struct Fit
{
    long long place;
    long long shift;
    long long shiftFrom;
    bool converted = false;
};

// Pass 1 finds the tuplet by its written reach, pass 2 by its span.
Fit fitIntoTuplet(const MnMeasure* measure, int voice, long long onset, int pass, long long pastePoint,
                  long long measureStart, long long shift, long long shiftFrom, long long recordTime,
                  const LineState& state)
{
    Fit fit{onset, shift, shiftFrom};
    const BcArray<MnChord*>& chords = measure->voiceChords(voice);
    const MnChord* carrier = nullptr;
    for (int i = 0; i < chords.count() && chords[i]->time() <= onset && !carrier; ++i) {
        const MnChord* chord = chords[i];
        const MnTuplet* tuplet = chord->tuplet();
        if (!tuplet || chord->normal() < 1)
            continue;
        const long long reach =
            pass == 1 ? (long long)chord->actual() * tuplet->span() / chord->normal() : tuplet->span();
        if (onset < chord->time() + reach)
            carrier = chord;
    }
    if (!carrier)
        return fit;
    const long long span = carrier->tuplet()->span();
    const long long actual = carrier->actual();
    const long long normal = carrier->normal();
    const long long first = carrier->time();
    if (pastePoint >= span + first)
        return fit;
    long long into = onset - first;
    long long newShift = shift;
    long long newFrom = shiftFrom;
    if (shiftFrom == -1 && into > 0) {
        newShift = (span - into) * actual / normal - (span - into);
        newFrom = measureStart + first + span;
    }
    if (first < pastePoint)
        into = onset - pastePoint;
    const long long squeezed = into * normal / actual - into + onset;
    if (state.lastRecordTime == -1 || state.lastTargetTime < squeezed || recordTime <= state.lastRecordTime)
        fit = Fit{squeezed, newShift, newFrom, true};
    return fit;
}
} // namespace

MnElement* EdClipboard::placeRecord(int index, MnMeasure* measure, int slot)
{
    const EdClipNote& record = records[index];
    const int voice = record.voice;
    if (record.isRest)
        return measure->setRest(voice, slot, record.duration) ? measure->mainChordAt(voice, slot) : nullptr;

    const EdClipNote* previous = index > 0 ? &records[index - 1] : nullptr;
    if (record.graceIndex > 0) {
        // Before the grace chords already made for the chord at the slot.
        MnChord* earliest = measure->mainChordAt(voice, slot);
        if (!earliest)
            return nullptr;
        for (MnChord* before = earliest->previousChord(); before && before->isGrace() && before->measure() == measure;
             before = earliest->previousChord())
            earliest = before;
        const bool newChord = !previous || previous->graceIndex != record.graceIndex || previous->time != record.time ||
                              previous->voice != record.voice || previous->line != record.line;
        MnNote* note = nullptr;
        if (restoresWriting)
            note = newChord ? measure->addGraceNote(earliest, record.step, record.octave, record.accidental,
                                                    record.duration)
                            : measure->addNoteToGraceChord(earliest, record.step, record.octave, record.accidental,
                                                           record.duration);
        else
            note = newChord ? measure->addGraceNoteByKey(earliest, record.key, record.duration)
                            : measure->addNoteToGraceChordByKey(earliest, record.key, record.duration);
        if (note && restoresWriting)
            restoreWriting(note, record, newChord);
        return note;
    }

    if (slot < 0 || slot >= measure->length())
        return nullptr;
    // The nearest main record before it in its voice and line: a note at the
    // same time joins its chord.
    const EdClipNote* joined = nullptr;
    for (int j = index - 1; j >= 0 && records[j].voice == voice && records[j].line == record.line; --j) {
        if (records[j].graceIndex == 0) {
            joined = &records[j];
            break;
        }
    }
    const bool join = joined && !joined->isRest && joined->time == record.time;
    MnNote* note = nullptr;
    if (restoresWriting)
        note = join ? measure->addNote(voice, slot, record.step, record.octave, record.accidental, record.duration,
                                       record.tied)
                    : measure->setNote(voice, slot, record.step, record.octave, record.accidental, record.duration,
                                       record.tied);
    else
        note = join ? measure->addNoteByKey(voice, slot, record.key, record.duration, record.tied)
                    : measure->setNoteByKey(voice, slot, record.key, record.duration, record.tied);
    if (!note)
        return nullptr;
    if (!join && joined && joined->time + joined->duration == record.time) {
        // The slot follows the previous record directly: grace chords left
        // there from the target do not belong.
        MnChord* chord = note->chord();
        for (MnChord* before = chord->previousChord(); before && before->isGrace() && before->measure() == measure;
             before = chord->previousChord())
            measure->removeChild(before);
    }
    if (restoresWriting)
        restoreWriting(note, record, !join);
    return note;
}

bool EdClipboard::pasteRecords(MnStaff* staff, int time, EdSelection* pasted)
{
    std::map<TupletKey, int> firstOffsets;
    int maxLine = 0;
    for (int i = 0; i < records.count(); ++i) {
        const EdClipNote& record = records[i];
        maxLine = std::max(maxLine, record.line);
        if (record.startsTuplet || record.tupletOffset != 0)
            firstOffsets.emplace(tupletKeyOf(record), record.tupletNotatedOffset - record.tupletOffset);
    }

    long long shift = 0;
    long long shiftFrom = -1;
    bool result = false;
    MnStaff* target = staff;
    const MnScore* score = staff->score();
    for (int line = 0; line <= maxLine; ++line) {
        if (line > 0) {
            const int next = target->index() + 1;
            if (!score || next < 1 || next >= score->staffCount())
                break;
            target = score->staff(next);
        }
        LineState state;
        EdMeasureCursor cursor(target);
        for (int r = 0; r < records.count(); ++r) {
            const EdClipNote& record = records[r];
            if (record.line != line || record.voice < 0 || record.voice >= MnMeasure::voiceCount)
                continue;
            const int voice = record.voice;
            const long long at = (long long)time + record.time;
            int measureStart = 0;
            MnMeasure* measure = cursor.find(at, measureStart);
            if (!measure)
                continue;
            long long onset = at - measureStart;
            if (at >= shiftFrom)
                onset -= shift;

            if (record.startsTuplet &&
                measure->makeTuplet(voice, int(onset), record.tupletSpan, record.tupletNumber,
                                    record.tupletAlternative)) {
                result = true;
                const MnChord* first = measure->tupletChordAt(voice, int(onset));
                if (pasted && first)
                    pasted->add(first->tuplet());
            }
            if (record.startsTuplet || record.tupletOffset != 0) {
                const auto found = firstOffsets.find(tupletKeyOf(record));
                onset += record.tupletNotatedOffset - record.tupletOffset - found->second;
            }

            Fit fit{onset, shift, shiftFrom};
            for (int pass = 1; pass <= 2; ++pass) {
                fit = fitIntoTuplet(measure, voice, onset, pass, (long long)time - measureStart, measureStart, shift,
                                    shiftFrom, record.time, state);
                MnElement* made = placeRecord(r, measure, int(fit.place));
                if (made) {
                    result = true;
                    if (pasted)
                        pasted->add(made);
                }
                // Grace records are never tried again, nor do they count as
                // the last record placed.
                if (record.graceIndex > 0 && !record.isRest)
                    break;
                if (made) {
                    state.lastRecordTime = record.time;
                    state.lastTargetTime = fit.place;
                    break;
                }
                if (!fit.converted)
                    break;
            }
            // Only the first record that finds a measure can start a shift.
            if (fit.shiftFrom == -1) {
                shift = 0;
                shiftFrom = 0;
            } else {
                shift = fit.shift;
                shiftFrom = fit.shiftFrom;
            }
        }
    }
    return result;
}
