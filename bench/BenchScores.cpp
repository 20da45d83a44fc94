#include "BenchScores.h"

#include "foundation/BcString.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTicks.h"

#include <string>

namespace {

// One beat of voice 0 from the time on, by pattern: a triad, two eighths, a
// triplet of eighths, or a chord with accidentals.
void writeBeat(MnMeasure* measure, int time, int pattern, int octave)
{
    switch (pattern) {
    case 0:
        measure->addNote(0, time, 0, octave, MnAccidentalNone, MnTicksQuarter, false);
        measure->addNote(0, time, 2, octave, MnAccidentalNone, MnTicksQuarter, false);
        measure->addNote(0, time, 4, octave, MnAccidentalNone, MnTicksQuarter, false);
        break;
    case 1:
        measure->addNote(0, time, 3, octave, MnAccidentalNone, MnTicksEighth, false);
        measure->addNote(0, time + MnTicksEighth, 5, octave, MnAccidentalNone, MnTicksEighth, false);
        break;
    case 2:
        measure->makeTuplet(0, time, MnTicksQuarter, 3, false);
        for (int k = 0; k < 3; ++k)
            measure->addNote(0, time + k * (MnTicksQuarter / 3), k * 2, octave, MnAccidentalNone, MnTicksEighth,
                             false);
        break;
    default:
        measure->addNote(0, time, 1, octave, MnAccidentalSharp, MnTicksQuarter, false);
        measure->addNote(0, time, 3, octave, MnAccidentalSharp, MnTicksQuarter, false);
        measure->addNote(0, time, 5, octave, MnAccidentalFlat, MnTicksQuarter, false);
        measure->addNote(0, time, 6, octave, MnAccidentalNatural, MnTicksQuarter, false);
        break;
    }
}

std::string lyricText(int syllables)
{
    static const char* const words[] = {"la", "li-", "ra", "lo", "mu-", "sic", "sing", "a-", "long"};
    std::string text;
    for (int i = 0; i < syllables; ++i) {
        text += words[i % 9];
        if (text.back() != '-')
            text += ' ';
    }
    return text;
}

} // namespace

std::unique_ptr<MnSheetMusic> makeBenchSheet(int staves, int measures)
{
    std::unique_ptr<MnSheetMusic> sheet(new MnSheetMusic);
    MnScore* score = sheet->score();
    while (score->staffCount() < staves)
        score->insertStaff(-1);
    // At half size a page of A4 holds a few measures of ten staves per
    // system, and two systems.
    score->setScale(0.5);
    const int keyChange = measures / 3;
    const int timeChange = 2 * measures / 3;
    for (int s = 0; s < staves; ++s) {
        MnStaff* staff = score->staff(s);
        while (staff->measureCount() < measures)
            staff->insertMeasure(-1, staff->measureCount() < timeChange ? MnTime4_4 : MnTime3_4);
        if (staff->insertStaffChange(staff->measure(keyChange)->startTime()))
            staff->change(staff->changeCount() - 1)->setKey(-3);
        if (staff->insertStaffChange(staff->measure(timeChange)->startTime()))
            staff->change(staff->changeCount() - 1)->setTimeType(MnTime3_4);
    }

    for (int s = 0; s < staves; ++s) {
        MnStaff* staff = score->staff(s);
        const int octave = 4 + s % 2;
        for (int i = 0; i < measures; ++i) {
            MnMeasure* measure = staff->measure(i);
            for (int beat = 0; beat < measure->beats(); ++beat)
                writeBeat(measure, beat * measure->beatTicks(), (i + beat + s) % 4, octave);
            if (i % 2 == 0) {
                const int value = measure->beats() == 3 ? 3 * MnTicksQuarter : MnTicksHalf;
                measure->addNote(1, 0, 4, octave - 1, MnAccidentalNone, value, false);
            }
        }
        if (s % 3 == 0) {
            MnLyric* lyric = staff->addLyric(0, 0);
            lyric->setText(BcString(lyricText(6 * measures).c_str()));
        }
    }
    return sheet;
}

std::unique_ptr<MnScore> makeRestScore(int staves, int measures)
{
    std::unique_ptr<MnScore> score(new MnScore());
    for (int s = 1; s < staves; ++s)
        score->insertStaff(-1);
    for (int m = 1; m < measures; ++m)
        score->insertMeasure(-1);
    return score;
}

void writeEvenNotes(MnMeasure* measure, int count, int value, int firstKey, int keyStep, int keySpan)
{
    BcArray<MnChord*>& chords = measure->voiceChords(0);
    for (int i = 0; i < chords.count(); ++i)
        delete chords[i];
    chords.removeAll();
    for (int i = 0; i < count; ++i) {
        MnChord* chord = new MnChord(measure, 0, i * value, value);
        chord->addNoteByKey(firstKey + (i * keyStep) % keySpan, false);
        chords.add(chord);
    }
}
