#pragma once

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"

#include <initializer_list>
#include <memory>

// Small scores for the performer's tests, built straight on the model.

// Piano keys of a few pitches (A0 = 0).
constexpr int keyC4 = 39;
constexpr int keyD4 = 41;
constexpr int keyE4 = 43;
constexpr int keyF4 = 44;
constexpr int keyG4 = 46;
constexpr int keyC5 = 51;

constexpr int whole = MnTicksPerWhole;
constexpr int quarter = MnTicksQuarter;

// Staves x measures of 4/4 whose voices hold whole rests.
inline std::unique_ptr<MnScore> restScore(int measures, int staves = 1)
{
    std::unique_ptr<MnScore> score(new MnScore());
    for (int s = 1; s < staves; ++s)
        score->insertStaff(-1);
    for (int m = 1; m < measures; ++m)
        score->insertMeasure(-1);
    return score;
}

// Writes a voice of a measure from time 0: chords of written values with
// notes given by piano key, appended one after the other. The caller keeps
// the voice filling the measure.
class MpVoiceWriter
{
public:
    MpVoiceWriter(MnMeasure* measure, int voice) : measure(measure), voice(voice)
    {
        BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = 0; i < chords.count(); ++i)
            delete chords[i];
        chords.removeAll();
    }

    MnChord* rest(int value) { return append(value, false, {}); }
    MnChord* chord(int value, std::initializer_list<int> keys) { return append(value, false, keys); }
    // Every note tied from the chord before.
    MnChord* tied(int value, std::initializer_list<int> keys)
    {
        MnChord* made = append(value, false, keys);
        for (int n = 0; n < made->noteCount(); ++n)
            made->note(n)->setTied(true);
        return made;
    }
    // A grace chord before the next chord appended (or at the bar line).
    MnChord* grace(int value, std::initializer_list<int> keys) { return append(value, true, keys); }

private:
    MnChord* append(int value, bool grace, std::initializer_list<int> keys)
    {
        MnChord* made = new MnChord(measure, voice, running, value);
        made->setGrace(grace);
        for (int key : keys)
            made->addNoteByKey(key, false);
        measure->voiceChords(voice).add(made);
        running += made->soundingDuration();
        // Grace chords stand at the time of the chord they precede.
        BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = chords.count() - 2; i >= 0 && chords[i]->isGrace(); --i)
            chords[i]->setTime(made->isGrace() ? running : made->time());
        return made;
    }

    MnMeasure* measure;
    int voice;
    int running = 0;
};

// A line as the line tools place it: inserted at its start, then given its
// length (which stops at the next line of its class).
template <typename Line>
Line* addLine(MnStaff* staff, int start, int length, int kind)
{
    Line* line = new Line();
    line->setKind(kind);
    if (!staff->insertLine(line, start)) {
        delete line;
        return nullptr;
    }
    line->setLength(length);
    return line;
}

inline MnDynamic* addDynamic(MnStaff* staff, int start, int length, int kind)
{
    return addLine<MnDynamic>(staff, start, length, kind);
}

inline MnPedal* addPedal(MnStaff* staff, int start, int length)
{
    return addLine<MnPedal>(staff, start, length, MnPedalSignLineHook);
}

// Sets the written marks of a measure (1-based) of every staff.
struct MeasureMarks
{
    int measure;
    int barline = MnBarlineSingle;
    int repeats = 2;
    int voltas = 0;
    int marker = MnRepeatMarkerNone;
    int jump = MnRepeatJumpNone;
};

inline void applyMarks(MnScore& score, std::initializer_list<MeasureMarks> marks)
{
    for (const MeasureMarks& mark : marks) {
        for (int s = 0; s < score.staffCount(); ++s) {
            MnMeasure* measure = score.staff(s)->measure(mark.measure - 1);
            measure->setBarline(mark.barline);
            measure->setRepeatCount(mark.repeats);
            measure->setVoltaMask(mark.voltas);
            measure->setRepeatMarker(mark.marker);
            measure->setRepeatJump(mark.jump);
        }
    }
}
