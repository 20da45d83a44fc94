#include "interchange/IeMusicXmlExporter.h"

#include "model/MnChord.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"

#include "interchange/ExportTestSheet.h"
#include "interchange/ExportedMusicXml.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

MnChord* chordAt(MnMeasure* measure, int voice, int time)
{
    BcArray<MnChord*>& chords = measure->voiceChords(voice);
    for (int i = 0; i < chords.count(); ++i) {
        if (!chords[i]->isGrace() && chords[i]->time() == time)
            return chords[i];
    }
    return nullptr;
}

void addOctaveLine(MnMeasure* measure, int kind, double offset)
{
    MnOctave* line = new MnOctave();
    ASSERT_TRUE(line->setKind(kind));
    ASSERT_TRUE(line->setOffset(offset));
    ASSERT_TRUE(measure->staff()->insertLine(line, 0));
    line->setLength(MnTicksPerWhole);
    ASSERT_EQ(line->length(), MnTicksPerWhole);
}

void addNote(MnMeasure* measure, int time, int step, int octave, int duration, int accidental = MnAccidentalNone)
{
    ASSERT_NE(measure->addNote(0, time, step, octave, accidental, duration, false), nullptr);
}

struct NoteRow
{
    const char* name;
    std::function<void(MnMeasure*)> write;
    // The first notes of the measure, each as compactContent reads it.
    std::vector<std::string> notes;
};

} // namespace

TEST(IeMusicXmlExporterNotes, WritesPitchValueAndNotationOfEachNote)
{
    const NoteRow rows[] = {
        {"a triad: chord on the second and third note",
         [](MnMeasure* m) {
             addNote(m, 0, 0, 4, MnTicksQuarter);
             addNote(m, 0, 2, 4, MnTicksQuarter);
             addNote(m, 0, 4, 4, MnTicksQuarter);
         },
         {"pitch(step=C octave=4) duration=1 voice=1 type=quarter stem=up",
          "chord pitch(step=E octave=4) duration=1 voice=1 type=quarter stem=up",
          "chord pitch(step=G octave=4) duration=1 voice=1 type=quarter stem=up"}},
        {"G major: the key alters, a written natural shows",
         [](MnMeasure* m) {
             m->staff()->setKey(1);
             addNote(m, 0, 3, 4, MnTicksQuarter);
             addNote(m, MnTicksQuarter, 3, 4, MnTicksQuarter, MnAccidentalNatural);
             addNote(m, MnTicksHalf, 3, 4, MnTicksQuarter);
         },
         {"pitch(step=F alter=1 octave=4) duration=1 voice=1 type=quarter stem=up",
          "pitch(step=F octave=4) duration=1 voice=1 type=quarter accidental=natural stem=up",
          "pitch(step=F octave=4) duration=1 voice=1 type=quarter stem=up"}},
        {"written flats and sharps alter and show",
         [](MnMeasure* m) {
             addNote(m, 0, 6, 4, MnTicksHalf, MnAccidentalFlat);
             addNote(m, MnTicksHalf, 0, 5, MnTicksHalf, MnAccidentalDoubleSharp);
         },
         {"pitch(step=B alter=-1 octave=4) duration=2 voice=1 type=half accidental=flat stem=down",
          "pitch(step=C alter=2 octave=5) duration=2 voice=1 type=half accidental=double-sharp stem=down"}},
        {"8va above the staff sounds an octave up",
         [](MnMeasure* m) {
             addNote(m, 0, 0, 4, MnTicksPerWhole);
             addOctaveLine(m, MnOctaveOneUp, 2.0);
         },
         {"pitch(step=C octave=5) duration=4 voice=1 type=whole stem=up"}},
        {"8va below the staff sounds an octave down",
         [](MnMeasure* m) {
             addNote(m, 0, 0, 4, MnTicksPerWhole);
             addOctaveLine(m, MnOctaveOneUp, -12.0);
         },
         {"pitch(step=C octave=3) duration=4 voice=1 type=whole stem=up"}},
        {"15ma over octave 9 stays in octave 9",
         [](MnMeasure* m) {
             addNote(m, 0, 0, 7, MnTicksPerWhole);
             ASSERT_TRUE(chordAt(m, 0, 0)->note(0)->setOctave(9));
             addOctaveLine(m, MnOctaveTwoUp, 2.0);
         },
         {"pitch(step=C octave=9) duration=4 voice=1 type=whole stem=down"}},
        {"a triplet of eighths, a rest among them",
         [](MnMeasure* m) {
             ASSERT_TRUE(m->makeTuplet(0, 0, MnTicksQuarter, 3, false));
             addNote(m, 0, 0, 5, MnTicksEighth);
             addNote(m, MnTicksQuarter / 3, 1, 5, MnTicksEighth);
             addNote(m, MnTicksQuarter, 2, 5, MnTicksQuarter);
         },
         {"pitch(step=C octave=5) duration=1 voice=1 type=eighth time-modification(actual-notes=3 normal-notes=2) "
          "stem=down beam=begin",
          "pitch(step=D octave=5) duration=1 voice=1 type=eighth time-modification(actual-notes=3 normal-notes=2) "
          "stem=down beam=end",
          "rest duration=1 voice=1 type=eighth time-modification(actual-notes=3 normal-notes=2)",
          "pitch(step=E octave=5) duration=3 voice=1 type=quarter stem=down"}},
        {"four beamed sixteenths",
         [](MnMeasure* m) {
             for (int i = 0; i < 4; ++i)
                 addNote(m, i * MnTicksSixteenth, 4, 4, MnTicksSixteenth);
         },
         {"pitch(step=G octave=4) duration=1 voice=1 type=16th stem=up beam=begin beam[number=2]=begin",
          "pitch(step=G octave=4) duration=1 voice=1 type=16th stem=up beam=continue beam[number=2]=continue",
          "pitch(step=G octave=4) duration=1 voice=1 type=16th stem=up beam=continue beam[number=2]=continue",
          "pitch(step=G octave=4) duration=1 voice=1 type=16th stem=up beam=end beam[number=2]=end"}},
        {"an eighth and two sixteenths: no secondary begin",
         [](MnMeasure* m) {
             addNote(m, 0, 4, 4, MnTicksEighth);
             addNote(m, MnTicksEighth, 4, 4, MnTicksSixteenth);
             addNote(m, MnTicksEighth + MnTicksSixteenth, 4, 4, MnTicksSixteenth);
         },
         {"pitch(step=G octave=4) duration=2 voice=1 type=eighth stem=up beam=begin",
          "pitch(step=G octave=4) duration=1 voice=1 type=16th stem=up beam=continue beam[number=2]=continue",
          "pitch(step=G octave=4) duration=1 voice=1 type=16th stem=up beam=end beam[number=2]=end"}},
        {"a dotted quarter and an eighth",
         [](MnMeasure* m) {
             addNote(m, 0, 5, 4, 90720);
             addNote(m, 90720, 5, 4, MnTicksEighth);
         },
         {"pitch(step=A octave=4) duration=3 voice=1 type=quarter dot stem=up",
          "pitch(step=A octave=4) duration=1 voice=1 type=eighth stem=up"}},
        {"a slashed grace note before a quarter",
         [](MnMeasure* m) {
             addNote(m, 0, 2, 4, MnTicksQuarter);
             MnNote* grace = m->addGraceNote(chordAt(m, 0, 0), 1, 4, MnAccidentalNone, MnTicksEighth);
             ASSERT_NE(grace, nullptr);
             ASSERT_TRUE(grace->chord()->setGraceSlash(true));
         },
         {"grace[slash=yes] pitch(step=D octave=4) voice=1 type=eighth stem=up",
          "pitch(step=E octave=4) duration=1 voice=1 type=quarter stem=up"}},
        {"rests by their place on the staff",
         [](MnMeasure* m) {
             for (int i = 0; i < 4; ++i)
                 ASSERT_TRUE(m->setRest(0, i * MnTicksQuarter, MnTicksQuarter));
             ASSERT_TRUE(chordAt(m, 0, MnTicksQuarter)->setRestPosition(0));
             ASSERT_TRUE(chordAt(m, 0, MnTicksHalf)->setRestPosition(-41));
             ASSERT_TRUE(chordAt(m, 0, 3 * MnTicksQuarter)->setRestPosition(32));
         },
         {"rest duration=1 voice=1 type=quarter", "rest(display-step=F display-octave=5) duration=1 voice=1 type=quarter",
          "rest duration=1 voice=1 type=quarter", "rest duration=1 voice=1 type=quarter"}},
        {"rests at the lowest and highest places that have a display pitch",
         [](MnMeasure* m) {
             ASSERT_TRUE(m->setRest(0, 0, MnTicksHalf));
             ASSERT_TRUE(m->setRest(0, MnTicksHalf, MnTicksHalf));
             ASSERT_TRUE(chordAt(m, 0, 0)->setRestPosition(-38));
             ASSERT_TRUE(chordAt(m, 0, MnTicksHalf)->setRestPosition(31));
         },
         {"rest(display-step=C display-octave=0) duration=2 voice=1 type=half",
          "rest(display-step=B display-octave=9) duration=2 voice=1 type=half"}},
    };
    int index = 0;
    for (const NoteRow& row : rows) {
        SCOPED_TRACE(row.name);
        ExportTestSheet sheet;
        row.write(sheet.measure(0, 0));
        ExportedMusicXml file(&sheet.sheet, nullptr, "notes-" + std::to_string(index++));
        std::vector<const TiXmlElement*> notes = file.notes();
        ASSERT_GE(notes.size(), row.notes.size());
        for (size_t i = 0; i < row.notes.size(); ++i)
            EXPECT_EQ(compactContent(notes[i]), row.notes[i]) << "note " << i;
    }
}

TEST(IeMusicXmlExporterNotes, AHiddenRestIsNotPrinted)
{
    ExportTestSheet sheet;
    MnMeasure* measure = sheet.measure(0, 0);
    ASSERT_TRUE(measure->setRest(0, 0, MnTicksHalf));
    chordAt(measure, 0, 0)->setHidden(true);
    ExportedMusicXml file(&sheet.sheet, nullptr, "hidden-rest");
    std::vector<const TiXmlElement*> notes = file.notes();
    ASSERT_FALSE(notes.empty());
    EXPECT_STREQ(notes[0]->Attribute("print-object"), "no");
    EXPECT_EQ(compactContent(notes[0]), "rest duration=2 voice=1 type=half");
    ASSERT_GE(notes.size(), 2u);
    EXPECT_EQ(notes[1]->Attribute("print-object"), nullptr);
}

TEST(IeMusicXmlExporterNotes, ATripletThatBeginsWithARestKeepsItsRatio)
{
    ExportTestSheet sheet(1, 1, MnTime2_4);
    MnMeasure* measure = sheet.measure(0, 0);
    ASSERT_TRUE(measure->makeTuplet(0, 0, MnTicksQuarter, 3, false));
    addNote(measure, 2 * MnTicksQuarter / 3, 0, 5, MnTicksEighth);
    ExportedMusicXml file(&sheet.sheet, nullptr, "triplet-rest-first");
    std::vector<const TiXmlElement*> notes = file.notes();
    ASSERT_GE(notes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(childText(notes[i], "type"), "eighth") << i;
        EXPECT_EQ(compactContent(notes[i]->FirstChildElement("time-modification")),
                  "actual-notes=3 normal-notes=2")
            << i;
    }
    EXPECT_EQ(notes[0]->FirstChildElement("rest") != nullptr, true);
}
