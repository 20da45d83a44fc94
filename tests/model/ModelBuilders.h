#pragma once

#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnCodes.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"

#include <initializer_list>

// Replaces a voice with chords of the given written values, one after the
// other from time 0 (the caller keeps them filling the measure), and answers
// the first of them.
inline MnChord* setVoice(MnMeasure* measure, int voice, std::initializer_list<int> durations)
{
    BcArray<MnChord*>& chords = measure->voiceChords(voice);
    for (int i = 0; i < chords.count(); ++i)
        delete chords[i];
    chords.removeAll();
    int time = 0;
    for (int duration : durations) {
        MnChord* chord = new MnChord(measure, voice, time, duration);
        chords.add(chord);
        time += chord->soundingDuration();
    }
    return chords.isEmpty() ? nullptr : chords[0];
}

// Inserts a grace chord of the value directly before the chord at index.
inline MnChord* insertGraceChord(MnMeasure* measure, int voice, int index, int duration)
{
    BcArray<MnChord*>& chords = measure->voiceChords(voice);
    const int time = index < chords.count() ? chords[index]->time() : measure->length();
    MnChord* grace = new MnChord(measure, voice, time, duration);
    grace->setGrace(true);
    chords.insertAt(index, grace);
    return grace;
}

// A score with one staff of the meter and the given number of measures.
struct StaffFixture
{
    explicit StaffFixture(int measures, int type = MnTime4_4)
    {
        staff = score.staff(0);
        staff->setTimeType(type);
        for (int i = 0; i < measures; ++i)
            staff->insertMeasure(-1, type);
        score.removeMeasure(0);
    }
    MnMeasure* measure(int index) { return staff->measure(index); }
    MnScore score;
    MnStaff* staff = nullptr;
};
