#include "model/MnNoteLayout.h"

#include "model/MnCodes.h"
#include "model/MnNote.h"
#include "model/MnTicks.h"

#include <cmath>

double mnNoteHeadHalfWidth(int undottedDuration)
{
    // The filled head is a tilted oval: 1.5 at 74 degrees, less its outline.
    static const double filledHead = 1.5 * std::sin(74.0 * 3.14159265358979323846 / 180.0) - 0.15;
    return undottedDuration == MnTicksHalf ? 1.375 : filledHead;
}

bool mnHasSeconds(const BcArray<MnNote*>& notes)
{
    for (int i = 1; i < notes.count(); ++i) {
        if (notes[i]->diatonicPosition() - notes[i - 1]->diatonicPosition() <= 1)
            return true;
    }
    return false;
}

// A note on a line has an even staff position, whatever the clef: the
// clefs shift by even numbers of steps.
static bool liesOnLine(const MnNote* note)
{
    return (long long)std::lround(note->position().y) % 2 == 0;
}

static void layoutHeads(const BcArray<MnNote*>& notes, BcArray<MnNoteLayout>& records, int direction)
{
    const int count = notes.count();
    const bool seconds = mnHasSeconds(notes);
    // The walk starts at the stem's end of the chord: the top note for a
    // down stem, the bottom note for an up stem.
    const int first = direction <= 0 ? count - 1 : 0;
    const int step = direction <= 0 ? -1 : 1;
    bool previousInPair = false;
    bool previousMoved = false;
    for (int n = 0, i = first; n < count; ++n, i += step) {
        const int next = i + step;
        const bool inPair = seconds && next >= 0 && next < count &&
                            std::abs(notes[next]->diatonicPosition() - notes[i]->diatonicPosition()) <= 1;
        const bool moved = previousInPair && !previousMoved;
        MnNoteLayout& record = records[i];
        if (moved)
            record.headShift += direction;
        record.leftOfStem = (direction <= 0 ? moved : seconds && !moved) ? 1 : 0;
        if (!liesOnLine(notes[i]))
            record.dotShift = 0;
        else
            record.dotShift = i + 1 < count && notes[i + 1]->diatonicPosition() - notes[i]->diatonicPosition() <= 1
                                  ? -1
                                  : 1;
        previousInPair = inPair;
        previousMoved = moved;
    }
}

static void layoutAccidentals(const BcArray<MnNote*>& notes, BcArray<MnNoteLayout>& records)
{
    // The note last placed in each column, by its index in the list.
    BcArray<int> lastInColumn;
    for (int i = notes.count() - 1; i >= 0; --i) {
        if (notes[i]->accidental() == MnAccidentalNone)
            continue;
        const int position = notes[i]->diatonicPosition();
        int column = -1;
        for (int c = 0; c < lastInColumn.count(); ++c) {
            // Accidentals an octave or more apart never collide.
            if (notes[lastInColumn[c]]->diatonicPosition() - position > 6) {
                column = c;
                break;
            }
        }
        if (column >= 0) {
            lastInColumn[column] = i;
            records[i].accidentalColumn = -column;
            continue;
        }
        lastInColumn.add(i);
        column = lastInColumn.count() - 1;
        if (column == 2) {
            // A third column would stand far from the heads: the new note
            // takes the middle column and its former note moves out.
            const int displaced = lastInColumn[1];
            lastInColumn[1] = i;
            lastInColumn[2] = displaced;
            records[displaced].accidentalColumn = -2;
            column = 1;
        }
        records[i].accidentalColumn = -column;
    }
}

void layoutNoteColumns(const BcArray<MnNote*>& notes, BcArray<MnNoteLayout>& records, int direction, bool heads,
                       bool accidentals)
{
    if (records.isEmpty()) {
        records.setSize(notes.count());
        for (int i = 0; i < records.count(); ++i)
            records[i] = MnNoteLayout();
    }
    if (records.count() < notes.count())
        return;
    if (heads)
        layoutHeads(notes, records, direction);
    if (accidentals)
        layoutAccidentals(notes, records);
}
