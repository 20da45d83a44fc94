#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcString.h"
#include "model/MnChord.h"
#include "model/MnLyric.h"
#include "model/MnNote.h"

#include "interchange/ExportTestSheet.h"
#include "interchange/ExportedMusicXml.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

MnNote* addNote(MnMeasure* measure, int voice, int time, int step, int octave, int duration, bool tied = false)
{
    MnNote* note = measure->addNote(voice, time, step, octave, MnAccidentalNone, duration, tied);
    EXPECT_NE(note, nullptr);
    return note;
}

// Four quarters of G4 in the voice.
void addQuarters(MnMeasure* measure, int voice = 0)
{
    for (int beat = 0; beat < 4; ++beat)
        addNote(measure, voice, beat * MnTicksQuarter, 4, 4, MnTicksQuarter);
}

MnChord* chordAt(MnMeasure* measure, int voice, int time)
{
    return measure->mainChordAt(voice, time);
}

struct NotationRow
{
    const char* name;
    int staves;
    int measures;
    std::function<void(ExportTestSheet&)> write;
    // The notations of every note of part 1 (in file order, rests left
    // out), as compactContent reads them; "" for none.
    std::vector<std::string> notations;
    int part = 1;
};

std::vector<std::string> notationsOf(const ExportedMusicXml& file, int part)
{
    std::vector<std::string> lines;
    for (const TiXmlElement* note : file.notes(part)) {
        if (!note->FirstChildElement("rest"))
            lines.push_back(compactContent(note->FirstChildElement("notations")));
    }
    return lines;
}

} // namespace

TEST(IeMusicXmlExporterNotations, TiesArticulationsSlursAndArpeggios)
{
    const std::string slurStart = "slur[number=1,type=start]";
    const std::string slurStop = "slur[number=1,type=stop]";
    const NotationRow rows[] = {
        {"two tied halves", 1, 1,
         [](ExportTestSheet& s) {
             addNote(s.measure(0, 0), 0, 0, 0, 4, MnTicksHalf);
             addNote(s.measure(0, 0), 0, MnTicksHalf, 0, 4, MnTicksHalf, true);
         },
         {"tied[type=start,orientation=under]", "tied[type=stop,orientation=under]"}},
        {"three tied notes over the bar line: the middle one only starts", 1, 2,
         [](ExportTestSheet& s) {
             addNote(s.measure(0, 0), 0, 0, 6, 4, MnTicksHalf);
             addNote(s.measure(0, 0), 0, MnTicksHalf, 6, 4, MnTicksHalf, true);
             addNote(s.measure(0, 1), 0, 0, 6, 4, MnTicksPerWhole, true);
         },
         {"tied[type=start,orientation=over]", "tied[type=start,orientation=over]",
          "tied[type=stop,orientation=over]"}},
        {"a chord with its stem up: the upper note over, the lower under; set placements win", 1, 1,
         [](ExportTestSheet& s) {
             MnMeasure* m = s.measure(0, 0);
             addNote(m, 0, 0, 0, 4, MnTicksHalf);
             addNote(m, 0, 0, 2, 4, MnTicksHalf);
             addNote(m, 0, MnTicksHalf, 0, 4, MnTicksHalf, true)->setTiePlacement(MnPlacementAbove);
             addNote(m, 0, MnTicksHalf, 2, 4, MnTicksHalf, true)->setTiePlacement(MnPlacementBelow);
         },
         {"tied[type=start,orientation=under]", "tied[type=start,orientation=over]",
          "tied[type=stop,orientation=over]", "tied[type=stop,orientation=under]"}},
        {"a tied note without its first note ties nothing", 1, 1,
         [](ExportTestSheet& s) {
             addNote(s.measure(0, 0), 0, 0, 0, 4, MnTicksHalf);
             addNote(s.measure(0, 0), 0, MnTicksHalf, 1, 4, MnTicksHalf, true);
         },
         {"", ""}},
        {"articulations in their order, then the fermata", 1, 1,
         [](ExportTestSheet& s) {
             MnMeasure* m = s.measure(0, 0);
             addQuarters(m);
             chordAt(m, 0, 0)->setArticulations(MnArticulationAccent | MnArticulationStaccato);
             chordAt(m, 0, MnTicksQuarter)
                 ->setArticulations(MnArticulationStrongAccent | MnArticulationTenuto | MnArticulationStaccatissimo |
                                    MnArticulationFermata);
             chordAt(m, 0, MnTicksHalf)->setArticulations(MnArticulationFermata);
         },
         {"articulations(staccato accent)", "articulations(staccatissimo tenuto strong-accent) fermata", "fermata",
          ""}},
        {"three chords, the first two slurred", 1, 1,
         [](ExportTestSheet& s) {
             MnMeasure* m = s.measure(0, 0);
             addQuarters(m);
             chordAt(m, 0, 0)->setArticulation(MnArticulationSlur, true);
             chordAt(m, 0, MnTicksQuarter)->setArticulation(MnArticulationSlur, true);
         },
         {slurStart, "", slurStop, ""}},
        {"a slurred last chord starts nothing", 1, 1,
         [](ExportTestSheet& s) {
             addQuarters(s.measure(0, 0));
             chordAt(s.measure(0, 0), 0, 3 * MnTicksQuarter)->setArticulation(MnArticulationSlur, true);
         },
         {"", "", "", ""}},
        {"a slur start ends the slur that reaches it and starts the next", 1, 1,
         [](ExportTestSheet& s) {
             MnMeasure* m = s.measure(0, 0);
             addQuarters(m);
             chordAt(m, 0, 0)->setArticulation(MnArticulationSlur, true);
             chordAt(m, 0, MnTicksQuarter)->setArticulation(MnArticulationSlur, true);
             chordAt(m, 0, MnTicksQuarter)->setSlurStart(true);
         },
         {slurStart, slurStop + " " + slurStart, slurStop, ""}},
        {"a slur in each voice: numbers 1 and 2", 1, 1,
         [](ExportTestSheet& s) {
             MnMeasure* m = s.measure(0, 0);
             addQuarters(m, 0);
             addQuarters(m, 1);
             for (int voice = 0; voice < 2; ++voice)
                 chordAt(m, voice, 0)->setArticulation(MnArticulationSlur, true);
         },
         {slurStart, slurStop, "", "", "slur[number=2,type=start]", "slur[number=2,type=stop]", "", ""}},
        {"an arpeggio over two staves, upward", 2, 1,
         [](ExportTestSheet& s) {
             MnNote* low = addNote(s.measure(1, 0), 0, 0, 0, 3, MnTicksPerWhole);
             addNote(s.measure(1, 0), 0, 0, 2, 3, MnTicksPerWhole)->setArpeggio(true);
             low->setArpeggio(true);
             addNote(s.measure(0, 0), 0, 0, 0, 5, MnTicksPerWhole)->setArpeggio(true);
             addNote(s.measure(0, 0), 0, 0, 2, 5, MnTicksPerWhole);
             ASSERT_TRUE(low->setArpeggioType(MnArpeggioUp));
         },
         {"arpeggiate[number=1,direction=up]", "arpeggiate[number=1,direction=up]"}},
        {"an arpeggio after a single note of the staff below", 2, 1,
         [](ExportTestSheet& s) {
             addNote(s.measure(1, 0), 0, 0, 0, 3, MnTicksPerWhole);
             addNote(s.measure(0, 0), 0, 0, 0, 5, MnTicksPerWhole)->setArpeggio(true);
             addNote(s.measure(0, 0), 0, 0, 2, 5, MnTicksPerWhole);
             MnNote* first = s.measure(0, 0)->mainChordAt(0, 0)->note(0);
             ASSERT_TRUE(first->setArpeggioType(MnArpeggioDown));
         },
         {"arpeggiate[number=2,direction=down]", "arpeggiate[number=2,direction=down]"}},
        {"20 notes before the chain's first", 1, 1,
         [](ExportTestSheet& s) {
             for (int place = 0; place < 22; ++place)
                 addNote(s.measure(0, 0), 0, 0, place % 7, 2 + place / 7, MnTicksPerWhole);
             s.measure(0, 0)->mainChordAt(0, 0)->note(20)->setArpeggio(true);
         },
         {"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "arpeggiate[number=16]",
          "arpeggiate[number=16]"}},
    };
    int index = 0;
    for (const NotationRow& row : rows) {
        SCOPED_TRACE(row.name);
        ExportTestSheet sheet(row.staves, row.measures);
        row.write(sheet);
        ExportedMusicXml file(&sheet.sheet, nullptr, "notations-" + std::to_string(index++));
        EXPECT_EQ(notationsOf(file, row.part), row.notations);
    }
}

namespace {

MnLyric* addLyric(MnStaff* staff, int time, const char* text, int verse = 1, int voice = 0)
{
    MnLyric* lyric = staff->addLyric(time, voice);
    EXPECT_NE(lyric, nullptr);
    if (!lyric)
        return nullptr;
    EXPECT_TRUE(lyric->setText(BcString(text)));
    EXPECT_TRUE(lyric->setPassThrough(verse));
    return lyric;
}

struct LyricRow
{
    const char* name;
    int measures;
    std::function<void(ExportTestSheet&)> write;
    // The lyrics of each "note" of part 1 in file order, rests included.
    std::vector<std::string> lyrics;
};

} // namespace

TEST(IeMusicXmlExporterNotations, LyricsFollowTheirChords)
{
    const LyricRow rows[] = {
        {"a hyphenated word and a single word, verse 2", 1,
         [](ExportTestSheet& s) {
             addQuarters(s.measure(0, 0));
             addLyric(s.score->staff(0), 0, "Sing-ing song", 2);
         },
         {"lyric[number=2](syllabic=begin text=Sing)", "lyric[number=2](syllabic=end text=ing)",
          "lyric[number=2](syllabic=single text=song)", ""}},
        {"a middle syllable, the other separators joining", 1,
         [](ExportTestSheet& s) {
             addQuarters(s.measure(0, 0));
             addLyric(s.score->staff(0), 0, "a-le\u00b7lu ja", 0);
         },
         {"lyric[number=0](syllabic=begin text=a)", "lyric[number=0](syllabic=middle text=le)",
          "lyric[number=0](syllabic=end text=lu)", "lyric[number=0](syllabic=single text=ja)"}},
        {"nothing on rests and grace chords", 1,
         [](ExportTestSheet& s) {
             MnMeasure* m = s.measure(0, 0);
             addNote(m, 0, 0, 4, 4, MnTicksQuarter);
             addNote(m, 0, MnTicksHalf, 4, 4, MnTicksQuarter);
             addNote(m, 0, 3 * MnTicksQuarter, 4, 4, MnTicksQuarter);
             ASSERT_NE(m->addGraceNote(m->mainChordAt(0, MnTicksHalf), 2, 5, MnAccidentalNone, MnTicksEighth),
                       nullptr);
             addLyric(s.score->staff(0), 0, "one two three");
         },
         {"lyric[number=1](syllabic=single text=one)", "", "", "lyric[number=1](syllabic=single text=two)",
          "lyric[number=1](syllabic=single text=three)"}},
        {"a syllable on a note tied over the bar line is written once; two verses", 2,
         [](ExportTestSheet& s) {
             MnMeasure* first = s.measure(0, 0);
             addNote(first, 0, 0, 4, 4, 3 * MnTicksQuarter);
             addNote(first, 0, 3 * MnTicksQuarter, 4, 4, MnTicksQuarter);
             addNote(s.measure(0, 1), 0, 0, 4, 4, MnTicksHalf, true);
             addNote(s.measure(0, 1), 0, MnTicksHalf, 5, 4, MnTicksHalf);
             addLyric(s.score->staff(0), 0, "long held-on", 1);
             addLyric(s.score->staff(0), 0, "A B C", 2);
         },
         // In the staff's order of the lines: the later line of one start
         // comes first.
         {"lyric[number=2](syllabic=single text=A) | lyric[number=1](syllabic=single text=long)",
          "lyric[number=2](syllabic=single text=B) | lyric[number=1](syllabic=begin text=held)", "",
          "lyric[number=2](syllabic=single text=C) | lyric[number=1](syllabic=end text=on)"}},
    };
    int index = 0;
    for (const LyricRow& row : rows) {
        SCOPED_TRACE(row.name);
        ExportTestSheet sheet(1, row.measures);
        row.write(sheet);
        ExportedMusicXml file(&sheet.sheet, nullptr, "lyrics-" + std::to_string(index++));
        std::vector<std::string> lyrics;
        for (const TiXmlElement* note : file.notes(1))
            lyrics.push_back(childLines(note, "lyric"));
        EXPECT_EQ(lyrics, row.lyrics);
    }
}
