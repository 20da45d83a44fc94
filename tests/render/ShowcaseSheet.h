#pragma once

// Sheet music that holds every kind of symbol the composers draw, on two
// pages: two voices, grace notes, beams, tuplets, slurs across a system
// break, ties, articulations, dynamics and hairpins, pedals, octave lines,
// voltas, segno, coda and jump words, lyrics, a tablature with its capo,
// key and time changes with courtesy signatures, and a part group.

#include "tests/render/ComposeFixtures.h"

#include <memory>

inline MnChord* writeNote(MnMeasure* measure, int voice, int time, int step, int octave, int duration,
                          int accidental = MnAccidentalNone)
{
    MnNote* note = measure->setNote(voice, time, step, octave, accidental, duration, false);
    return note ? note->chord() : nullptr;
}

inline MnChord* writeChord(MnMeasure* measure, int voice, int time, int duration,
                           std::initializer_list<std::pair<int, int>> notes)
{
    MnChord* chord = nullptr;
    bool first = true;
    for (const auto& [step, octave] : notes) {
        MnNote* note = first ? measure->setNote(voice, time, step, octave, MnAccidentalNone, duration, false)
                             : measure->addNote(voice, time, step, octave, MnAccidentalNone, duration, false);
        first = false;
        if (note)
            chord = note->chord();
    }
    return chord;
}

template <class Line>
inline Line* addLine(MnStaff* staff, int kind, int start, int length, double offset)
{
    Line* line = new Line(staff);
    line->setKind(kind);
    if (!staff->insertLine(line, start)) {
        delete line;
        return nullptr;
    }
    line->setLength(length);
    line->setOffset(offset);
    return line;
}

inline std::unique_ptr<MnSheetMusic> makeShowcaseSheet()
{
    const int Q = MnTicksQuarter, E = MnTicksEighth, H = MnTicksHalf;
    std::unique_ptr<MnSheetMusic> sheet(new MnSheetMusic);
    MnScore* score = sheet->score();
    score->insertStaff(-1);
    score->insertStaff(-1);
    while (score->staff(0)->measureCount() < 24)
        score->insertMeasure(-1);
    MnPartGroup* group = score->addPartGroup(0, 2);
    if (group)
        group->setBracketType(0);
    score->staff(1)->setClef(1);
    MnStaff* guitar = score->staff(2);
    MnTablature* tablature = new MnTablature(guitar);
    guitar->setTablature(tablature);
    tablature->setCapoOn(true);
    tablature->setCapoFret(2);

    for (int m = 0; m < 24; ++m) {
        MnMeasure* top = score->staff(0)->measure(m);
        MnMeasure* bass = score->staff(1)->measure(m);
        MnMeasure* tab = guitar->measure(m);
        switch (m % 4) {
        case 0:
            // Beamed eighths under a slur, then a tied half.
            for (int i = 0; i < 4; ++i)
                writeNote(top, 0, i * E, (i * 2) % 7, 5, E);
            writeNote(top, 0, H, 4, 4, H);
            writeChord(bass, 0, 0, H, {{0, 3}, {4, 3}});
            writeChord(bass, 0, H, H, {{2, 3}, {4, 3}});
            break;
        case 1:
            // A triplet with an accent, a grace note and two voices.
            top->makeTuplet(0, 0, Q, 3, false);
            for (int i = 0; i < 3; ++i)
                writeNote(top, 0, i * Q / 3, 4 + i, 4, E);
            writeNote(top, 0, H, 3, 5, Q, MnAccidentalSharp);
            writeNote(top, 0, H + Q, 2, 5, Q);
            writeNote(top, 1, 0, 0, 4, H);
            writeNote(top, 1, H, 1, 4, H);
            writeNote(bass, 0, 0, 4, 2, Q * 4);
            break;
        case 2:
            writeNote(top, 0, 0, 6, 4, Q);
            writeNote(top, 0, Q, 0, 5, Q);
            writeNote(top, 0, H, 1, 5, H);
            writeNote(bass, 0, 0, 0, 3, H);
            writeNote(bass, 0, H, 4, 2, H);
            break;
        default:
            writeChord(top, 0, 0, Q * 4, {{0, 5}, {2, 5}, {4, 5}});
            break;
        }
        writeChord(tab, 0, 0, H, {{2, 3}, {6, 3}, {2, 4}});
        writeNote(tab, 0, H, 4, 4, Q);
        writeNote(tab, 0, H + Q, 2, 5, Q);
    }
    MnStaff* staff = score->staff(0);
    for (int m = 0; m < 24; m += 4) {
        MnMeasure* measure = staff->measure(m);
        BcArray<MnChord*>& chords = measure->voiceChords(0);
        for (int i = 0; i < 3 && i < chords.count(); ++i)
            chords[i]->setArticulation(MnArticulationSlur, true);
        if (chords.count() > 4)
            chords[4]->note(0)->setTied(false);
        MnMeasure* next = staff->measure(m + 1);
        if (chords.count() > 4)
            chords[4]->setArticulation(MnArticulationStaccato | MnArticulationAccent, true);
        (void)next;
        MnMeasure* grace = staff->measure(m + 2);
        if (!grace->voiceChords(0).isEmpty())
            grace->addGraceNote(grace->voiceChords(0)[0], 4, 5, MnAccidentalNone, E);
    }
    // A slur across the break after the first system's last measures, and a
    // tie into the next measure.
    for (int m = 3; m < 9; ++m) {
        BcArray<MnChord*>& chords = staff->measure(m)->voiceChords(0);
        for (int i = 0; i < chords.count(); ++i) {
            if (chords[i]->noteCount() > 0)
                chords[i]->setArticulation(MnArticulationSlur, m < 8);
        }
    }
    staff->measure(2)->setNote(0, MnTicksHalf, 1, 5, MnAccidentalNone, MnTicksHalf, false);
    staff->measure(3)->voiceChords(0)[0]->note(0)->setTied(true);

    // Repeats, voltas and jumps.
    staff->measure(3)->setBarline(4);
    for (int s = 0; s < score->staffCount(); ++s) {
        score->staff(s)->measure(6)->setBarline(3);
        score->staff(s)->measure(6)->setVoltaMask(1);
        score->staff(s)->measure(6)->setVoltaClosed(true);
        score->staff(s)->measure(7)->setVoltaMask(2);
    }
    staff->measure(9)->setRepeatMarker(1);
    staff->measure(13)->setRepeatMarker(2);
    staff->measure(15)->setRepeatJump(5);

    // Changes with courtesy signatures.
    for (int s = 0; s < score->staffCount(); ++s) {
        MnStaff* each = score->staff(s);
        if (each->insertStaffChange(each->measure(12)->startTime()))
            each->change(each->changeCount() - 1)->setKey(-3);
        if (each->insertStaffChange(each->measure(16)->startTime()))
            each->change(each->changeCount() - 1)->setTimeType(MnTime4_4);
    }

    addLine<MnDynamic>(staff, MnDynamicP, 0, Q, -12.0);
    addLine<MnDynamic>(staff, MnDynamicCrescendoHairpin, Q, 7 * MnTicksPerWhole / 2, -12.0);
    addLine<MnDynamic>(staff, MnDynamicFF, 4 * MnTicksPerWhole, Q, -12.0);
    addLine<MnDynamic>(staff, MnDynamicDim, 10 * MnTicksPerWhole, H, -12.0);
    addLine<MnOctave>(staff, 1, 17 * MnTicksPerWhole, 4 * MnTicksPerWhole, 0.0);
    addLine<MnPedal>(score->staff(1), 0, 0, 2 * MnTicksPerWhole, -12.0);
    addLine<MnPedal>(score->staff(1), 2, 4 * MnTicksPerWhole, 2 * MnTicksPerWhole, -12.0);
    addLine<MnPedal>(score->staff(1), 7, 8 * MnTicksPerWhole, 2 * MnTicksPerWhole, -12.0);
    MnLyric* lyric = staff->addLyric(2 * MnTicksPerWhole, 0);
    if (lyric)
        lyric->setText(BcString("Lau-da-te Do-mi-num om-nes gen-tes lau-da-te e-um om-nes po-pu-li"));
    return sheet;
}
