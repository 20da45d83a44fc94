#include "interchange/IeMusicXmlExporter.h"

#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnLyricIterator.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnStaffChange.h"
#include "model/MnTempo.h"

#include "interchange/ExportTestSheet.h"
#include "interchange/ExportedMusicXml.h"
#include "interchange/IeMusicXmlImportSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A score exported and imported again keeps what both sides know. What the
// file does not carry back, and so is not compared: repeat counts, segno,
// coda, jump words, word dynamics, volta texts, credit types, pedal kinds
// and lengths, and automatic tie placement (the export writes the side it
// decides).

namespace {

MnNote* addNote(MnMeasure* measure, int voice, int time, int step, int octave, int duration, bool tied = false,
                int accidental = MnAccidentalNone)
{
    MnNote* note = measure->addNote(voice, time, step, octave, accidental, duration, tied);
    EXPECT_NE(note, nullptr) << "measure " << measure->index() << " voice " << voice << " time " << time;
    return note;
}

MnChord* chordAt(MnMeasure* measure, int voice, int time)
{
    MnChord* chord = measure->mainChordAt(voice, time);
    EXPECT_NE(chord, nullptr);
    return chord;
}

template <typename T>
T* addLine(MnStaff* staff, int time, int kind, int length, double offset = 0.0)
{
    T* line = staff->addLine<T>(time);
    EXPECT_NE(line, nullptr) << "line at " << time;
    if (!line)
        return nullptr;
    EXPECT_TRUE(line->setKind(kind));
    line->setLength(length);
    if (offset != 0.0) {
        EXPECT_TRUE(line->setOffset(offset));
    }
    return line;
}

void forColumn(MnScore* score, int index, const std::function<void(MnMeasure*)>& apply)
{
    for (int s = 0; s < score->staffCount(); ++s)
        apply(score->staff(s)->measure(index));
}

// The fixture: two staves in a group, 4/4 then 3/4, with every kind of
// element the export writes.
void buildFixture(ExportTestSheet& sheet)
{
    MnScore* score = sheet.score;
    MnStaff* upper = score->staff(0);
    MnStaff* lower = score->staff(1);
    ASSERT_TRUE(score->part(0)->setName(BcString("Flute")));
    ASSERT_TRUE(score->part(1)->setName(BcString("Piano")));
    MnPartGroup* group = score->addPartGroup(0, 2);
    ASSERT_NE(group, nullptr);
    group->setBracketType(1);
    group->setName(BcString("Ensemble"));
    ASSERT_TRUE(score->tempo(0)->setBeatUnit(MnTicksQuarter * 3 / 2));
    ASSERT_TRUE(score->tempo(0)->setBeatsPerMinute(72));

    ASSERT_TRUE(upper->setKey(1));
    ASSERT_TRUE(lower->setKey(1));
    ASSERT_TRUE(lower->setClef(MnClefBass));
    // 3/4 from measure 6 on.
    ASSERT_TRUE(upper->insertStaffChange(sheet.measure(0, 5)->startTime()));
    ASSERT_TRUE(upper->change(0)->setTime(MnTime3_4));
    ASSERT_GE(upper->measureCount(), 9);
    // F major from measure 4 on; a treble clef at the third beat of the
    // lower staff's measure 2.
    ASSERT_TRUE(upper->insertStaffChange(sheet.measure(0, 3)->startTime()));
    for (int i = 0; i < upper->changeCount(); ++i) {
        if (upper->change(i)->startTime() == sheet.measure(0, 3)->startTime()) {
            ASSERT_TRUE(upper->change(i)->setKey(-1));
        }
    }
    ASSERT_TRUE(lower->insertStaffChange(sheet.measure(1, 1)->startTime() + MnTicksHalf));
    ASSERT_TRUE(lower->change(0)->setClef(MnClefTreble));

    const int q = MnTicksQuarter;
    const int e = MnTicksEighth;
    const int third = MnTicksQuarter / 3;

    // Measure 1: a slurred pair with articulations, a triplet that starts
    // with a rest, a written natural; two verses.
    MnMeasure* m = sheet.measure(0, 0);
    addNote(m, 0, 0, 4, 4, q);
    addNote(m, 0, q, 3, 4, q);
    ASSERT_TRUE(m->makeTuplet(0, 2 * q, q, 3, false));
    addNote(m, 0, 2 * q + third, 5, 4, e);
    addNote(m, 0, 2 * q + 2 * third, 6, 4, e);
    addNote(m, 0, 3 * q, 3, 5, q, false, MnAccidentalNatural);
    chordAt(m, 0, 0)->setArticulations(MnArticulationSlur | MnArticulationStaccato);
    chordAt(m, 0, q)->setArticulations(MnArticulationTenuto | MnArticulationStaccatissimo);
    chordAt(m, 0, 3 * q)->setArticulations(MnArticulationAccent | MnArticulationFermata);
    MnLyric* verse1 = upper->addLyric(0, 0);
    ASSERT_NE(verse1, nullptr);
    ASSERT_TRUE(verse1->setText(BcString("Sing-ing a long song")));
    MnLyric* verse2 = upper->addLyric(0, 0);
    ASSERT_NE(verse2, nullptr);
    ASSERT_TRUE(verse2->setText(BcString("la la la la-la")));
    ASSERT_TRUE(verse2->setPassThrough(2));

    // Measure 2: a chord, a tie over the bar line into measure 3; a mark and
    // a crescendo; a second voice.
    m = sheet.measure(0, 1);
    addNote(m, 0, 0, 1, 5, MnTicksHalf);
    addNote(m, 0, 0, 3, 5, MnTicksHalf);
    addNote(m, 0, MnTicksHalf, 2, 5, MnTicksHalf);
    addNote(m, 1, 0, 6, 4, q);
    addNote(m, 1, q, 5, 4, q);
    addNote(m, 1, MnTicksHalf, 4, 4, MnTicksHalf);
    addLine<MnDynamic>(upper, m->startTime(), MnDynamicCrescendoHairpin, MnTicksHalf);

    // Measure 3: the tied note, a grace chord, a double barline.
    m = sheet.measure(0, 2);
    addNote(m, 0, 0, 2, 5, q, true);
    addNote(m, 0, q, 0, 5, q);
    addNote(m, 0, MnTicksHalf, 6, 4, MnTicksHalf);
    ASSERT_NE(m->addGraceNote(chordAt(m, 0, q), 1, 5, MnAccidentalNone, e), nullptr);
    addLine<MnDynamic>(upper, m->startTime(), MnDynamicMF, 0);
    forColumn(score, 2, [](MnMeasure* x) { x->setBarline(MnBarlineDouble); });

    // Measure 4 (F major), a start repeat of the next; measure 5 ends the
    // repeat with a sharp and a flat written.
    m = sheet.measure(0, 3);
    addNote(m, 0, 0, 3, 4, MnTicksPerWhole);
    forColumn(score, 3, [](MnMeasure* x) { x->setBarline(MnBarlineStartRepeat); });
    m = sheet.measure(0, 4);
    addNote(m, 0, 0, 6, 4, MnTicksHalf);
    addNote(m, 0, MnTicksHalf, 3, 5, MnTicksHalf, false, MnAccidentalSharp);
    forColumn(score, 4, [](MnMeasure* x) {
        x->setBarline(MnBarlineEndRepeat);
        x->setRepeatCount(3);
    });

    // 3/4 from here. Measure 6: an 8va over two measures, slurs in both
    // voices, an end and start repeat.
    m = sheet.measure(0, 5);
    for (int beat = 0; beat < 3; ++beat)
        addNote(m, 0, beat * q, 4 + beat, 5, q);
    addNote(m, 1, 0, 2, 5, MnTicksHalf);
    addNote(m, 1, MnTicksHalf, 1, 5, q);
    chordAt(m, 0, 0)->setArticulation(MnArticulationSlur, true);
    chordAt(m, 0, q)->setArticulation(MnArticulationSlur, true);
    chordAt(m, 1, 0)->setArticulation(MnArticulationSlur, true);
    addLine<MnOctave>(upper, m->startTime(), MnOctaveOneUp, 2 * m->length(), 12.0);
    forColumn(score, 5, [](MnMeasure* x) {
        x->setBarline(MnBarlineEndStartRepeat);
        x->setRepeatMarker(MnRepeatMarkerSegno);
    });
    m = sheet.measure(0, 6);
    addNote(m, 0, 0, 0, 6, MnTicksHalf * 3 / 2);
    ASSERT_TRUE(m->setRepeatJump(MnRepeatJumpDalSegnoAlCoda));

    // Measures 8 and 9: a first ending, closed, with a text of its own, and
    // an open second ending that ends the piece.
    forColumn(score, 7, [](MnMeasure* x) {
        x->setVoltaMask(1);
        x->setVoltaClosed(true);
    });
    ASSERT_TRUE(sheet.measure(0, 7)->setVoltaText(BcString("1st time")));
    forColumn(score, 8, [](MnMeasure* x) { x->setVoltaMask(2 | 4); });
    const int last = upper->measureCount() - 1;
    forColumn(score, last, [](MnMeasure* x) { x->setBarline(MnBarlineFinal); });
    addNote(sheet.measure(0, 7), 0, 0, 4, 4, q);
    addNote(sheet.measure(0, 8), 0, 0, 4, 4, MnTicksHalf * 3 / 2);
    addLine<MnDynamic>(upper, sheet.measure(0, 7)->startTime(), MnDynamicCresc, 0);

    // The lower staff: whole notes over quarters, an 8vb that ends inside
    // a held note (the quarters after its end sound as written), a
    // diminuendo ending inside one, pedals; a mark and a crescendo where
    // only the second voice starts a chord.
    for (int i = 0; i < 5; ++i) {
        m = sheet.measure(1, i);
        addNote(m, 0, 0, 4, 2, MnTicksPerWhole);
        for (int beat = 0; beat < 4; ++beat)
            addNote(m, 1, beat * q, beat, 2, q);
    }
    addLine<MnOctave>(lower, sheet.measure(1, 2)->startTime(), MnOctaveOneUp, MnTicksPerWhole + MnTicksHalf, -14.0);
    addLine<MnDynamic>(lower, sheet.measure(1, 0)->startTime(), MnDynamicDiminuendoHairpin, q);
    addLine<MnDynamic>(lower, sheet.measure(1, 1)->startTime(), MnDynamicP, 0, 2.0);
    addLine<MnPedal>(lower, sheet.measure(1, 1)->startTime(), MnPedalHookLineHook, MnTicksHalf);
    addLine<MnPedal>(lower, sheet.measure(1, 4)->startTime(), MnPedalSign, q);
    addLine<MnDynamic>(lower, sheet.measure(1, 2)->startTime() + q, MnDynamicF, 0, 2.0);
    addLine<MnDynamic>(lower, sheet.measure(1, 3)->startTime() + q, MnDynamicCrescendoHairpin, MnTicksHalf);
    addLine<MnPedal>(lower, sheet.measure(1, 2)->startTime() + 3 * q, MnPedalSign, q);
}

// The syllables sung on each chord, by verse.
std::map<const MnChord*, std::string> syllablesByChord(const MnStaff* staff)
{
    std::map<const MnChord*, std::string> sung;
    const BcArray<MnLyric*>& lyrics = staff->lyricArray();
    for (int i = 0; i < lyrics.count(); ++i) {
        MnLyricIterator walk(lyrics[i]);
        for (walk.begin(); !walk.atEnd(); walk.next())
            sung[walk.start] += " " + std::to_string(lyrics[i]->passThrough()) + ":" +
                                utf8(lyrics[i]->syllable(walk.syllable));
    }
    for (auto& entry : sung) {
        // Verse order, whatever the order of the lines.
        std::vector<std::string> parts;
        std::string text = entry.second;
        size_t at = 0;
        while ((at = text.find(' ', 1)) != std::string::npos) {
            parts.push_back(text.substr(1, at - 1));
            text = text.substr(at);
        }
        parts.push_back(text.substr(1));
        std::sort(parts.begin(), parts.end());
        entry.second.clear();
        for (const std::string& part : parts)
            entry.second += " " + part;
    }
    return sung;
}

const char* const stepNames = "CDEFGAB";

// One line per measure: meter, barline, endings, then every chord of both
// voices with its time, value, tuplet, marks, clef and key, notes and
// syllables.
std::vector<std::string> describeStaff(const MnStaff* staff)
{
    MnCache scope;
    std::vector<std::string> lines;
    const std::map<const MnChord*, std::string> sung = syllablesByChord(staff);
    for (int i = 0; i < staff->measureCount(); ++i) {
        const MnMeasure* measure = staff->measure(i);
        std::string line = std::to_string(measure->beats()) + "x" + std::to_string(measure->beatTicks()) +
                           " bar " + std::to_string(measure->barline());
        if (staff->index() == 0 && measure->voltaMask())
            line += " volta " + std::to_string(measure->voltaMask()) + (measure->isVoltaClosed() ? " closed" : "");
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = const_cast<MnMeasure*>(measure)->voiceChords(voice);
            for (int c = 0; c < chords.count(); ++c) {
                const MnChord* chord = chords[c];
                const MnChord* tuplet = measure->tupletChordAt(voice, chord->time());
                // Rests outside tuplets are the filling, which either side
                // may shape its own way.
                if (chord->isRest() && !tuplet)
                    continue;
                line += "\n  v" + std::to_string(voice) + " t" + std::to_string(chord->time()) + " d" +
                        std::to_string(chord->duration());
                if (chord->isGrace())
                    line += " grace";
                if (tuplet)
                    line += " " + std::to_string(tuplet->actual()) + ":" + std::to_string(tuplet->normal());
                if (chord->articulations())
                    line += " marks " + std::to_string(chord->articulations());
                const MnChord* previous = chord->previousChord();
                if (chord->isSlurStart() && previous && previous->hasArticulation(MnArticulationSlur))
                    line += " new slur";
                const MnStaffDefinition* definition =
                    staff->definitionAt(measure->startTime() + chord->time(), false);
                line += " clef " + std::to_string(definition->clef()) + " key " + std::to_string(definition->key());
                for (int n = 0; n < chord->noteCount(); ++n) {
                    const MnNote* note = chord->note(n);
                    line += " ";
                    line += stepNames[note->step()];
                    line += std::to_string(note->octave());
                    if (note->accidental() != MnAccidentalNone)
                        line += "acc" + std::to_string(note->accidental());
                    if (note->isTied())
                        line += "~";
                }
                if (auto found = sung.find(chord); found != sung.end())
                    line += " sung" + found->second;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

// The lines that the file carries back: marks and hairpins with kind and
// start (hairpins with their length), octave lines by their shift, pedal
// starts.
std::vector<std::string> describeLines(const MnStaff* staff)
{
    std::vector<std::string> lines;
    const BcArray<MnLine*>& all = staff->lineArray();
    for (int i = 0; i < all.count(); ++i) {
        const MnLine* line = all[i];
        const std::string at = " at " + std::to_string(line->start());
        if (line->isKindOf(MnDynamic::staticClass())) {
            if (line->kind() <= MnDynamicFFF)
                lines.push_back("mark " + std::to_string(line->kind()) + at);
            else if (MnDynamic::isHairpin(line->kind()))
                lines.push_back("hairpin " + std::to_string(line->kind()) + at + " for " +
                                std::to_string(line->length()));
        } else if (line->isKindOf(MnOctave::staticClass())) {
            lines.push_back("octave " + std::to_string(static_cast<const MnOctave*>(line)->pitchShift()) + at +
                            " for " + std::to_string(line->length()));
        } else if (line->isKindOf(MnPedal::staticClass())) {
            lines.push_back("pedal" + at);
        }
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

class MusicXmlRoundTrip : public MusicXmlImport
{
};

} // namespace

TEST_F(MusicXmlRoundTrip, AnExportedScoreImportsBackTheSame)
{
    ExportTestSheet sheet(2, 9);
    buildFixture(sheet);
    ASSERT_FALSE(HasFatalFailure());
    ExportedMusicXml file(&sheet.sheet, nullptr, "round-trip");
    ASSERT_TRUE(file.exported);
    MnSheetMusic* imported = importPath(file.path);
    ASSERT_NE(imported, nullptr);
    MnScore* score = imported->score();
    ASSERT_EQ(score->staffCount(), 2);

    // The reader's notes put the lines where the model keeps them: a line
    // ends with a chord of the first voice that sounds at its end. So does
    // the original, once its measures are reconciled.
    for (int s = 0; s < 2; ++s) {
        MnStaff* staff = sheet.score->staff(s);
        for (int i = 0; i < staff->measureCount(); ++i)
            staff->reconcileWithMeasure(staff->measure(i));
    }
    for (int s = 0; s < 2; ++s) {
        SCOPED_TRACE("staff " + std::to_string(s));
        const std::vector<std::string> expected = describeStaff(sheet.score->staff(s));
        const std::vector<std::string> actual = describeStaff(score->staff(s));
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(actual[i], expected[i]) << "measure " << i + 1;
        EXPECT_EQ(describeLines(score->staff(s)), describeLines(sheet.score->staff(s)));
        EXPECT_EQ(utf8(score->part(s)->name()), utf8(sheet.score->part(s)->name()));
    }
    const MnTempo* tempo = score->tempo(0);
    EXPECT_EQ(tempo->beatUnit(), MnTicksQuarter * 3 / 2);
    EXPECT_EQ(tempo->beatsPerMinute(), 72);
    ASSERT_EQ(score->partGroupCount(), 1);
    EXPECT_EQ(score->partGroup(0)->firstStaff(), 0);
    EXPECT_EQ(score->partGroup(0)->staffCount(), 2);
    EXPECT_EQ(score->partGroup(0)->bracketType(), 1);
    EXPECT_EQ(utf8(score->partGroup(0)->name()), "Ensemble");
}
