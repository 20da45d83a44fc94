#pragma once

#include "playback/MpTestScores.h"

#include <memory>
#include <random>

// Random music over a few staves: values from a 64th to a half, triplets,
// chords of up to three notes, ties where a pitch repeats, staccato, grace
// notes of every kind (leading, at the bar line, single appoggiaturas),
// arpeggio lines, a second voice, dynamics, pedals, and repeats, endings and
// jumps.
class RandomScore
{
public:
    explicit RandomScore(unsigned seed) : random(seed) {}

    std::unique_ptr<MnScore> make()
    {
        const int staves = pick(1, 3);
        const int measures = pick(4, 7);
        std::unique_ptr<MnScore> score = restScore(measures, staves);
        for (int s = 0; s < staves; ++s) {
            MnStaff* staff = score->staff(s);
            score->part(s)->setInstrument(chance(3) ? MnInstrumentGuitar : MnInstrumentPiano);
            for (int m = 0; m < measures; ++m) {
                writeVoice(staff->measure(m), 0);
                if (chance(3))
                    writeVoice(staff->measure(m), 1);
            }
            addGraces(staff);
            addLines(staff, measures);
        }
        addMarks(*score, measures);
        return score;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chance(int oneIn) { return pick(1, oneIn) == 1; }

    void writeVoice(MnMeasure* measure, int voice)
    {
        // Every value is a number of 64ths, so the measure fills exactly.
        static const int values[] = {MnTicksHalf,      MnTicksQuarter, MnTicksEighth, MnTicksSixteenth,
                                     MnTicks32nd,      MnTicks64th,    45360};
        MpVoiceWriter writer(measure, voice);
        int left = measure->length();
        while (left > 0) {
            int value = values[pick(0, 6)];
            for (int i = 0; value > left; ++i)
                value = values[i];
            writer.rest(value);
            left -= value;
        }
        // Triplets over some quarters and eighths that start on the grid.
        BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = 0; i < chords.count(); ++i) {
            const int value = chords[i]->duration();
            if ((value == MnTicksQuarter || value == MnTicksEighth) && chance(3))
                measure->makeTuplet(voice, chords[i]->time(), value, 3, false);
        }
        for (int i = 0; i < chords.count(); ++i) {
            MnChord* chord = chords[i];
            if (chance(4))
                continue; // a rest
            const int notes = pick(1, 3);
            for (int n = 0; n < notes; ++n) {
                const int key = keyC4 + 2 * pick(0, 6);
                const MnChord* before = chord->previousChord();
                bool tied = false;
                for (int k = 0; before && k < before->noteCount(); ++k)
                    tied = tied || (before->note(k)->keyNumber() == key && chance(2));
                chord->addNoteByKey(key, tied);
            }
            if (chance(5))
                chord->setArticulation(chance(2) ? MnArticulationStaccato : MnArticulationStaccatissimo, true);
            if (chord->noteCount() > 1 && chance(4)) {
                for (int n = 0; n + 1 < chord->noteCount(); ++n)
                    chord->note(n)->setArpeggio(true);
            }
        }
    }

    void addGraces(MnStaff* staff)
    {
        for (int m = 0; m < staff->measureCount(); ++m) {
            MnMeasure* measure = staff->measure(m);
            BcArray<MnChord*>& chords = measure->voiceChords(0);
            for (int i = chords.count() - 1; i >= 0; --i) {
                MnChord* main = chords[i];
                if (main->isGrace() || !chance(6))
                    continue;
                const int count = pick(1, 2);
                // Grace notes before a measure's first chord may stand at the
                // end of the measure before.
                MnMeasure* holder = main->time() == 0 && m > 0 && chance(2) ? staff->measure(m - 1) : measure;
                for (int g = 0; g < count; ++g) {
                    if (MnNote* note = holder->addGraceNoteByKey(main, keyE4 + g, MnTicksSixteenth); note && chance(2))
                        note->chord()->setGraceSlash(true);
                }
            }
        }
    }

    void addLines(MnStaff* staff, int measures)
    {
        const int end = measures * whole;
        for (int i = 0; i < 4; ++i) {
            const int start = pick(0, measures * 16 - 1) * MnTicksSixteenth;
            const int length = pick(1, 24) * MnTicksSixteenth;
            const int kind = chance(2) ? pick(MnDynamicPPP, MnDynamicFFF)
                                       : (chance(2) ? MnDynamicCrescendoHairpin : MnDynamicDiminuendoHairpin);
            addDynamic(staff, start, length < end - start ? length : end - start, kind);
        }
        for (int i = 0; i < 2; ++i) {
            const int start = pick(0, measures * 4 - 1) * MnTicksQuarter;
            addPedal(staff, start, pick(1, 8) * MnTicksQuarter);
        }
    }

    void addMarks(MnScore& score, int measures)
    {
        for (int m = 1; m <= measures; ++m) {
            MeasureMarks marks{.measure = m};
            if (chance(4))
                marks.barline = pick(MnBarlineEndRepeat, MnBarlineEndStartRepeat);
            marks.repeats = pick(2, 3);
            if (chance(5))
                marks.voltas = pick(1, 3);
            if (chance(6))
                marks.marker = pick(MnRepeatMarkerSegno, MnRepeatMarkerCoda);
            if (chance(6))
                marks.jump = pick(MnRepeatJumpFine, MnRepeatJumpDalSegnoAlCoda);
            applyMarks(score, {marks});
        }
    }

    std::mt19937 random;
};
