#include "IeMusicXmlImportSupport.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnLine.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "model/MnTuplet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
std::string measure(const std::string& number, const std::string& content)
{
    return "<measure number=\"" + number + "\">" + content + "</measure>";
}

// A pitched note: step, octave, duration and whatever else the element holds.
std::string note(const std::string& step, int octave, int duration, const std::string& more = "")
{
    return "<note><pitch><step>" + step + "</step><octave>" + std::to_string(octave) + "</octave></pitch><duration>" +
           std::to_string(duration) + "</duration>" + more + "</note>";
}

std::string rest(int duration, const std::string& more = "")
{
    return "<note><rest/><duration>" + std::to_string(duration) + "</duration>" + more + "</note>";
}

std::string backup(int duration)
{
    return "<backup><duration>" + std::to_string(duration) + "</duration></backup>";
}

std::string direction(const std::string& type, const std::string& more = "")
{
    return "<direction><direction-type>" + type + "</direction-type>" + more + "</direction>";
}

const std::string quarters = "<attributes><divisions>1</divisions></attributes>";

struct Placed
{
    int time;
    int step;
    int octave;
    int duration;
    bool operator==(const Placed&) const = default;
};

// The first notes of the voice's chords (rests as step -1).
std::vector<Placed> voiceOf(const MnMeasure* measure, int voice)
{
    std::vector<Placed> placed;
    const BcArray<MnChord*>& chords = measure->voiceChords(voice);
    for (int i = 0; i < chords.count(); ++i) {
        const MnChord* chord = chords[i];
        if (chord->isRest())
            placed.push_back({chord->time(), -1, 0, chord->duration()});
        else
            placed.push_back({chord->time(), chord->note(0)->step(), chord->note(0)->octave(), chord->duration()});
    }
    return placed;
}

std::vector<const MnLine*> linesOf(const MnStaff* staff, const BcClass* cls)
{
    std::vector<const MnLine*> found;
    for (int i = 0; i < staff->lineArray().count(); ++i) {
        if (staff->lineArray()[i]->isKindOf(cls))
            found.push_back(staff->lineArray()[i]);
    }
    return found;
}
} // namespace

TEST_F(MusicXmlImport, NotesRestsAndChords)
{
    struct Row
    {
        const char* name;
        std::string content;
        std::vector<Placed> voice0;
        std::vector<Placed> voice1;
    };
    const std::vector<Row> rows = {
        {"no duration and not grace changes nothing",
         "<note><pitch><step>C</step><octave>4</octave></pitch></note>" + note("D", 4, 4),
         {{0, 1, 4, 241920}},
         {}},
        {"a chord member keeps the chord start", note("F", 4, 2) + note("A", 4, 2, "<chord/>") + note("C", 5, 2),
         {{0, 3, 4, 120960}, {120960, 0, 5, 120960}},
         {}},
        {"a third voice is dropped after moving the position",
         note("C", 5, 2, "<voice>1</voice>") + backup(2) + note("E", 4, 2, "<voice>2</voice>") + backup(2) +
             note("G", 3, 2, "<voice>3</voice>") + note("B", 4, 2, "<voice>1</voice>"),
         {{0, 0, 5, 120960}, {120960, 6, 4, 120960}},
         {{0, 2, 4, 120960}, {120960, -1, 0, 120960}}},
        {"a double-dotted quarter is not added",
         "<attributes><divisions>4</divisions></attributes>" + note("C", 4, 7) + backup(7) +
             "<forward><duration>16</duration></forward>",
         {{0, -1, 0, 241920}},
         {}},
        {"rests", rest(1) + rest(1) + note("E", 4, 2), {{0, -1, 0, 60480}, {60480, -1, 0, 60480}, {120960, 2, 4, 120960}}, {}},
        {"wholes at divisions 10080",
         "<attributes><divisions>10080</divisions></attributes>" + note("G", 4, 40320),
         {{0, 4, 4, 241920}},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MnSheetMusic* sheet = importText(onePart(measure("1", quarters + row.content)));
        ASSERT_NE(sheet, nullptr);
        const MnMeasure* m = sheet->score()->staff(0)->measure(0);
        EXPECT_EQ(voiceOf(m, 0), row.voice0);
        if (!row.voice1.empty()) {
            EXPECT_EQ(voiceOf(m, 1), row.voice1);
        }
    }
}

TEST_F(MusicXmlImport, RefusedNotes)
{
    struct Row
    {
        const char* name;
        std::string content;
        const char* error;
    };
    const std::vector<Row> rows = {
        {"negative duration", note("C", 4, -1), "Invalid MusicXML data: note duration -1 in part P1"},
        {"past 32-bit ticks", "<attributes><divisions>1</divisions></attributes>" + note("C", 4, 2000000000),
         "Invalid MusicXML data: note duration 2000000000 in part P1"},
        {"5:4 tuplet",
         note("C", 4, 1, "<time-modification><actual-notes>5</actual-notes><normal-notes>4</normal-notes>"
                         "</time-modification>"),
         "Unsupported 5:4 tuplet found"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int works = document.works().count();
        IeMusicXmlImporter importer;
        EXPECT_FALSE(importer.importFile(BcString(writeFile(onePart(measure("1", quarters + row.content))).c_str())));
        EXPECT_EQ(utf8(importer.errorText), row.error);
        EXPECT_EQ(document.works().count(), works);
    }
}

TEST_F(MusicXmlImport, PitchSettings)
{
    auto altered = [](const std::string& step, int alter, const std::string& more) {
        return "<note><pitch><step>" + step + "</step><alter>" + std::to_string(alter) +
               "</alter><octave>4</octave></pitch><duration>4</duration>" + more + "</note>";
    };
    struct Row
    {
        const char* name;
        std::string content;
        int accidental;
        int alteration;
    };
    const std::vector<Row> rows = {
        {"sharp-sharp", altered("C", 2, "<accidental>sharp-sharp</accidental>"), 2, 2},
        {"double-sharp", altered("C", 2, "<accidental>double-sharp</accidental>"), 2, 2},
        {"flat-flat", altered("C", -2, "<accidental>flat-flat</accidental>"), -2, -2},
        {"a written natural without alter", altered("C", 0, "<accidental>natural</accidental>"), 0, 0},
        {"alter alone still sounds",
         "<note><pitch><step>F</step><alter>1</alter><octave>4</octave></pitch><duration>4</duration></note>", 1,
         1},
        {"alter outside -2..2 is left alone",
         "<note><pitch><step>F</step><alter>5</alter><octave>4</octave></pitch><duration>4</duration></note>", 3,
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MnSheetMusic* sheet = importText(onePart(measure("1", quarters + row.content)));
        ASSERT_NE(sheet, nullptr);
        const MnChord* chord = sheet->score()->staff(0)->measure(0)->voiceChords(0)[0];
        ASSERT_FALSE(chord->isRest());
        EXPECT_EQ(chord->note(0)->accidental(), row.accidental);
        EXPECT_EQ(chord->note(0)->effectiveAccidental(), row.alteration);
    }
}

TEST_F(MusicXmlImport, TiedSharpAcrossTheBarKeepsItsPitch)
{
    const std::string sharpF = "<pitch><step>F</step><alter>1</alter><octave>4</octave></pitch>";
    MnSheetMusic* sheet = importText(onePart(
        measure("1", quarters + "<note>" + sharpF + "<duration>4</duration><accidental>sharp</accidental>" +
                         "<notations><tied type=\"start\"/></notations></note>") +
        measure("2", "<note>" + sharpF + "<duration>4</duration><notations><tied type=\"stop\"/></notations></note>")));
    ASSERT_NE(sheet, nullptr);
    const MnNote* second = sheet->score()->staff(0)->measure(1)->voiceChords(0)[0]->note(0);
    EXPECT_TRUE(second->isTied());
    EXPECT_EQ(second->effectiveAccidental(), 1);
    EXPECT_FALSE(sheet->score()->staff(0)->measure(0)->voiceChords(0)[0]->note(0)->isTied());
}

TEST_F(MusicXmlImport, ChordSettings)
{
    auto grace = [](const std::string& step, const std::string& type) {
        return "<note><grace/><pitch><step>" + step + "</step><octave>5</octave></pitch><type>" + type +
               "</type></note>";
    };
    MnSheetMusic* sheet = importText(onePart(measure(
        "1", "<attributes><divisions>2</divisions></attributes>" + grace("D", "nonsense") +
                 note("C", 5, 2, "<stem>down</stem><beam number=\"1\">continue</beam><beam number=\"2\">begin</beam>") +
                 "<forward><duration>1</duration></forward>" + grace("E", "16th") + backup(1) +
                 rest(2, "<stem>none</stem>") +
                 "<note><rest><display-step>C</display-step><display-octave>5</display-octave></rest>"
                 "<duration>2</duration></note>"
                 "<note><rest><display-step>G</display-step><display-octave>6</display-octave></rest>"
                 "<duration>2</duration></note>")));
    ASSERT_NE(sheet, nullptr);
    const BcArray<MnChord*>& chords = sheet->score()->staff(0)->measure(0)->voiceChords(0);
    // The second grace note stands where no chord starts.
    ASSERT_EQ(chords.count(), 5);
    EXPECT_TRUE(chords[0]->isGrace());
    EXPECT_EQ(chords[0]->duration(), 30240);
    EXPECT_FALSE(chords[1]->isGrace());
    EXPECT_EQ(chords[1]->stemDirection(), -1);
    EXPECT_EQ(chords[1]->beamMode(), 3);
    // C5 in the treble clef lies at (-38 + 35) / 2 x 2 = -2; G6 would lie
    // at 8, above the range, and leaves the rest where rests stand.
    EXPECT_EQ(chords[3]->restPosition(), -2);
    EXPECT_EQ(chords[4]->restPosition(), chords[2]->restPosition());
}

TEST_F(MusicXmlImport, TupletsAndNotations)
{
    const std::string triplet =
        "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes></time-modification>";
    const std::string actualOnly = "<time-modification><actual-notes>3</actual-notes></time-modification>";
    MnSheetMusic* sheet = importText(onePart(
        measure("1", "<attributes><divisions>6</divisions></attributes>" + note("C", 4, 2, triplet) +
                         note("D", 4, 2, triplet + "<notations><slur type=\"start\"/></notations>") +
                         note("E", 4, 2, triplet) + note("F", 4, 6, actualOnly + "<notations><tied orientation=\"under\"/></notations>") +
                         note("G", 4, 12, "<notations><slur type=\"stop\"/><slur type=\"start\" number=\"2\"/>"
                                          "<articulations><spiccato/><accent/></articulations><fermata/>"
                                          "</notations>")) +
        measure("2", note("A", 4, 24, "<notations><slur type=\"stop\" number=\"2\"/></notations>"))));
    ASSERT_NE(sheet, nullptr);
    const BcArray<MnChord*>& chords = sheet->score()->staff(0)->measure(0)->voiceChords(0);
    ASSERT_EQ(chords.count(), 5);
    ASSERT_NE(chords[0]->tuplet(), nullptr);
    EXPECT_EQ(chords[0]->tuplet()->span(), 60480);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(chords[i]->duration(), 30240);
        EXPECT_EQ(chords[i]->actual(), 3);
    }
    EXPECT_EQ(chords[3]->duration(), 60480);
    EXPECT_EQ(chords[3]->tuplet(), nullptr);
    EXPECT_EQ(chords[3]->note(0)->tiePlacement(), -1);
    EXPECT_FALSE(chords[3]->note(0)->isTied());
    const int slur = MnArticulationSlur;
    EXPECT_FALSE(chords[0]->hasArticulation(slur));
    EXPECT_TRUE(chords[1]->hasArticulation(slur));
    EXPECT_TRUE(chords[2]->hasArticulation(slur));
    EXPECT_TRUE(chords[3]->hasArticulation(slur));
    EXPECT_TRUE(chords[4]->hasArticulation(slur));
    EXPECT_TRUE(chords[4]->isSlurStart());
    EXPECT_EQ(chords[4]->articulations() & ~slur, 0x01 | 0x08 | 0x40);
    EXPECT_FALSE(sheet->score()->staff(0)->measure(1)->voiceChords(0)[0]->hasArticulation(slur));
}

TEST_F(MusicXmlImport, SlursOfAnotherVoiceMarkNothing)
{
    MnSheetMusic* sheet = importText(onePart(measure(
        "1", quarters + note("C", 5, 2, "<voice>1</voice><notations><slur type=\"start\"/></notations>") +
                 note("D", 5, 2, "<voice>1</voice>") + backup(4) +
                 note("C", 4, 4, "<voice>2</voice><notations><slur type=\"stop\"/></notations>"))));
    ASSERT_NE(sheet, nullptr);
    const MnMeasure* m = sheet->score()->staff(0)->measure(0);
    for (int voice = 0; voice < 2; ++voice) {
        for (int i = 0; i < m->voiceChords(voice).count(); ++i)
            EXPECT_FALSE(m->voiceChords(voice)[i]->hasArticulation(MnArticulationSlur));
    }
}

TEST_F(MusicXmlImport, Lyrics)
{
    auto lyric = [](const std::string& text, const std::string& syllabic, const std::string& number = "1") {
        return "<lyric number=\"" + number + "\"><syllabic>" + syllabic + "</syllabic><text>" + text +
               "</text></lyric>";
    };
    MnSheetMusic* sheet = importText(onePart(
        measure("1", quarters + note("C", 5, 1, lyric("Tra", "begin") + lyric("one", "single", "2")) +
                         note("C", 5, 1, lyric("la", "end") + lyric("two", "single", "2")) +
                         note("C", 5, 1, lyric("yes", "single") + lyric("x", "single", "16")) +
                         note("C", 5, 1, "<lyric><extend/></lyric>") + backup(4) +
                         note("C", 4, 4, "<voice>2</voice>" + lyric("low", "single")))));
    ASSERT_NE(sheet, nullptr);
    const BcArray<MnLyric*>& lines = sheet->score()->staff(0)->lyricArray();
    std::vector<std::string> texts;
    for (int i = 0; i < lines.count(); ++i)
        texts.push_back(utf8(lines[i]->text()) + "/" + std::to_string(lines[i]->voice()) + "/" +
                        std::to_string(lines[i]->passThrough()));
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"Tra-la yes/0/1", "low/1/1", "one two/0/2", "x/0/1"}));
}

TEST_F(MusicXmlImport, Directions)
{
    const std::string metronome =
        direction("<metronome><beat-unit>quarter</beat-unit><beat-unit-dot/><per-minute>120</per-minute></metronome>");
    MnSheetMusic* sheet = importText(onePart(
        measure("1", quarters + metronome + direction("<dynamics><p/></dynamics>") +
                         direction("<wedge type=\"crescendo\"/>") + direction("<wedge type=\"crescendo\"/>") +
                         direction("<octave-shift type=\"down\" size=\"8\"/>") + note("C", 5, 2, "<voice>1</voice>") +
                         direction("<octave-shift type=\"stop\" size=\"8\"/>") + direction("<dynamics><f/></dynamics>") +
                         note("C", 5, 2, "<voice>1</voice>") + direction("<wedge type=\"stop\"/>") + backup(4) +
                         note("E", 5, 2, "<voice>2</voice>") + note("E", 5, 2, "<voice>2</voice>") +
                         direction("<pedal type=\"start\"/>")) +
        measure("2", note("C", 4, 2) + direction("<pedal type=\"stop\"/>") + note("D", 4, 1) + note("E", 4, 1)) +
        measure("3", direction("<octave-shift type=\"up\"/>") + note("C", 4, 4))));
    ASSERT_NE(sheet, nullptr);
    const MnScore* score = sheet->score();
    EXPECT_EQ(score->tempo(0)->beatUnit(), 90720);
    EXPECT_EQ(score->tempo(0)->beatsPerMinute(), 120);
    const MnStaff* staff = score->staff(0);
    // The octave line stops mid-measure: the second voice's first note lies
    // under it, its second note after it.
    EXPECT_EQ(voiceOf(staff->measure(0), 0),
              (std::vector<Placed>{{0, 0, 4, 120960}, {120960, 0, 5, 120960}}));
    EXPECT_EQ(voiceOf(staff->measure(0), 1),
              (std::vector<Placed>{{0, 2, 4, 120960}, {120960, 2, 5, 120960}}));
    const std::vector<const MnLine*> octaves = linesOf(staff, MnOctave::staticClass());
    ASSERT_EQ(octaves.size(), 1u);
    EXPECT_EQ(octaves[0]->length(), 120960);
    const std::vector<const MnLine*> dynamics = linesOf(staff, MnDynamic::staticClass());
    // p at 0 refuses the crescendos there; f at the half stands.
    ASSERT_EQ(dynamics.size(), 2u);
    EXPECT_EQ(dynamics[0]->kind(), MnDynamicP);
    EXPECT_EQ(dynamics[1]->kind(), MnDynamicF);
    EXPECT_EQ(dynamics[1]->start(), 120960);
    const std::vector<const MnLine*> pedals = linesOf(staff, MnPedal::staticClass());
    ASSERT_EQ(pedals.size(), 1u);
    EXPECT_EQ(pedals[0]->start(), 241920);
    EXPECT_EQ(pedals[0]->start() + pedals[0]->length(), 241920 + 181440);
    EXPECT_EQ(pedals[0]->kind(), MnPedalSignRelease);
}

// A direction belongs at its time whichever voice starts a chord there; one
// where no chord starts goes to the next chord of the measure.
TEST_F(MusicXmlImport, DirectionsBeforeTheirChordsKeepTheirTime)
{
    const std::string eighths = "<attributes><divisions>2</divisions></attributes>";
    const std::string v1 = "<voice>1</voice>";
    const std::string v2 = "<voice>2</voice>";
    const std::string f = direction("<dynamics><f/></dynamics>");
    const std::string forward = "<forward><duration>1</duration></forward>";
    const int q = 60480;
    enum Kind { Dynamic, Octave, Pedal };
    struct Case
    {
        const char* name;
        std::string content;
        Kind kind;
        int start;
        int length; // -1: not compared
        int lineKind = -1; // -1: not compared
    };
    const Case cases[] = {
        {"a mark before a second-voice chord",
         note("C", 5, 8, v1) + backup(8) + note("E", 4, 2, v2) + f + note("E", 4, 2, v2) + note("E", 4, 4, v2),
         Dynamic, q, -1},
        {"a hairpin before a second-voice chord",
         note("C", 5, 4, v1) + note("C", 5, 4, v1) + backup(8) + note("E", 4, 2, v2) +
             direction("<wedge type=\"crescendo\"/>") + note("E", 4, 2, v2) + direction("<wedge type=\"stop\"/>") +
             note("E", 4, 4, v2),
         Dynamic, q, q},
        {"an octave line before a second-voice chord",
         note("C", 5, 8, v1) + backup(8) + note("E", 4, 2, v2) + direction("<octave-shift type=\"down\" size=\"8\"/>") +
             note("E", 5, 2, v2) + direction("<octave-shift type=\"stop\" size=\"8\"/>") + note("E", 4, 4, v2),
         Octave, q, 3 * q}, // ends with the first voice's whole note, as the model keeps lines
        {"a pedal before a second-voice chord",
         note("C", 5, 8, v1) + backup(8) + note("E", 4, 2, v2) + direction("<pedal type=\"start\"/>") +
             note("E", 4, 2, v2) + note("E", 4, 4, v2),
         Pedal, q, -1},
        {"a mark before a first-voice chord inside a rest",
         note("C", 5, 4, v1) + forward + f + note("D", 5, 1, v1) + note("E", 5, 2, v1), Dynamic, 5 * q / 2, -1},
        {"a mark where no chord starts goes to the next one",
         note("C", 5, 4, v1) + note("C", 5, 4, v1) + backup(7) + f, Dynamic, 2 * q, -1},
        {"a mark after the last chord goes back to it", note("C", 5, 8, v1) + backup(6) + f, Dynamic, 0, -1},
        {"of two marks meeting on one chord the later stays",
         note("C", 5, 4, v1) + note("C", 5, 4, v1) + backup(7) + direction("<dynamics><p/></dynamics>") + forward + f,
         Dynamic, 2 * q, -1, MnDynamicF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MnSheetMusic* sheet = importText(onePart(measure("1", eighths + c.content) + measure("2", note("C", 5, 8))));
        ASSERT_NE(sheet, nullptr);
        const MnStaff* staff = sheet->score()->staff(0);
        const BcClass* cls = c.kind == Dynamic  ? MnDynamic::staticClass()
                             : c.kind == Octave ? MnOctave::staticClass()
                                                : MnPedal::staticClass();
        const std::vector<const MnLine*> lines = linesOf(staff, cls);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0]->start(), c.start);
        if (c.length >= 0)
            EXPECT_EQ(lines[0]->length(), c.length);
        if (c.lineKind >= 0)
            EXPECT_EQ(lines[0]->kind(), c.lineKind);
    }
    // The octave line still lowers the note written under it.
    MnSheetMusic* sheet = importText(onePart(measure("1", eighths + cases[2].content)));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(voiceOf(sheet->score()->staff(0)->measure(0), 1),
              (std::vector<Placed>{{0, 2, 4, q}, {q, 2, 4, q}, {2 * q, 2, 4, 2 * q}}));
}

TEST_F(MusicXmlImport, OpenHairpinsAndPedalsKeepLaterMarks)
{
    MnSheetMusic* sheet = importText(onePart(measure(
        "1", quarters + direction("<wedge type=\"crescendo\"/>") + direction("<pedal type=\"start\"/>") +
                 note("C", 4, 1) + note("C", 4, 1) + direction("<dynamics><f/></dynamics>") +
                 direction("<wedge type=\"stop\"/>") + note("C", 4, 1) + direction("<pedal type=\"stop\"/>") +
                 note("C", 4, 1))));
    ASSERT_NE(sheet, nullptr);
    const MnStaff* staff = sheet->score()->staff(0);
    const std::vector<const MnLine*> dynamics = linesOf(staff, MnDynamic::staticClass());
    ASSERT_EQ(dynamics.size(), 2u);
    EXPECT_EQ(dynamics[0]->kind(), MnDynamicCrescendoHairpin);
    EXPECT_EQ(dynamics[1]->kind(), MnDynamicF);
    const std::vector<const MnLine*> pedals = linesOf(staff, MnPedal::staticClass());
    ASSERT_EQ(pedals.size(), 1u);
    EXPECT_EQ(pedals[0]->length(), 241920);
}

TEST_F(MusicXmlImport, PartGroups)
{
    const std::string piano = "<score-part id=\"P1\"/>";
    const std::string violin = "<score-part id=\"P2\"/>";
    const std::string pianoPart = "<part id=\"P1\"><measure number=\"1\"><attributes><divisions>1</divisions>"
                                  "<staves>2</staves></attributes></measure></part>";
    const std::string violinPart =
        "<part id=\"P2\"><measure number=\"1\"><attributes><divisions>1</divisions></attributes></measure></part>";
    auto group = [](const char* type, const char* more = "") {
        return std::string("<part-group type=\"") + type + "\" number=\"1\">" + more + "</part-group>";
    };
    struct Row
    {
        const char* name;
        std::string partList;
        std::vector<int> groups; // first staff, staff count, ...
    };
    const std::vector<Row> rows = {
        {"piano and violin under a brace",
         group("start", "<group-symbol>brace</group-symbol>") + piano + violin + group("stop"), {0, 3}},
        {"a one-staff part alone; the piano outside gets no group either", piano + group("start") + violin + group("stop"), {}},
        {"an unstopped group", group("start") + piano + violin, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MnSheetMusic* sheet = importText(scoreText("", row.partList, pianoPart + violinPart));
        ASSERT_NE(sheet, nullptr);
        std::vector<int> groups;
        for (int i = 0; i < sheet->score()->partGroupCount(); ++i) {
            groups.push_back(sheet->score()->partGroup(i)->firstStaff());
            groups.push_back(sheet->score()->partGroup(i)->staffCount());
        }
        EXPECT_EQ(groups, row.groups);
    }
}

TEST_F(MusicXmlImport, UnsupportedTupletSampleAddsNothing)
{
    const int works = document.works().count();
    IeMusicXmlImporter importer;
    EXPECT_FALSE(importer.importFile(BcString((sampleDir() + "/23a-Tuplets.xml").c_str())));
    EXPECT_EQ(utf8(importer.errorText), "Unsupported 4:2 tuplet found");
    EXPECT_EQ(document.works().count(), works);
}

TEST_F(MusicXmlImport, SampleNotes)
{
    auto first = [](const MnSheetMusic* sheet, int staff, int measureIndex, int voice = 0) {
        return sheet->score()->staff(staff)->measure(measureIndex)->voiceChords(voice)[0];
    };
    MnSheetMusic* sheet = importPath(sampleDir() + "/01a-Pitches-Pitches.xml");
    ASSERT_NE(sheet, nullptr);
    const MnNote* g2 = first(sheet, 0, 0)->note(0);
    EXPECT_EQ(std::vector<int>({g2->step(), g2->octave(), g2->accidental(), first(sheet, 0, 0)->duration()}),
              std::vector<int>({4, 2, 3, 60480}));
    const MnNote* gSharp = first(sheet, 0, 8)->note(0);
    EXPECT_EQ(std::vector<int>({gSharp->step(), gSharp->octave(), gSharp->accidental()}), std::vector<int>({4, 2, 1}));
    std::vector<int> accidentals;
    for (int i = 0; i < sheet->score()->staff(0)->measure(26)->voiceChords(0).count(); ++i)
        accidentals.push_back(sheet->score()->staff(0)->measure(26)->voiceChords(0)[i]->note(0)->accidental());
    EXPECT_NE(std::find(accidentals.begin(), accidentals.end(), 2), accidentals.end());
    EXPECT_NE(std::find(accidentals.begin(), accidentals.end(), -2), accidentals.end());

    sheet = importPath(sampleDir() + "/02a-Rests-Durations.xml");
    ASSERT_NE(sheet, nullptr);
    std::vector<int> rests;
    for (const Placed& placed : voiceOf(sheet->score()->staff(0)->measure(3), 0)) {
        if (rests.size() < 8)
            rests.push_back(placed.step == -1 ? placed.duration : 0);
    }
    EXPECT_EQ(rests, (std::vector<int>{120960, 60480, 30240, 15120, 7560, 3780, 1890, 945}));

    sheet = importPath(sampleDir() + "/03b-Rhythm-Backup.xml");
    ASSERT_NE(sheet, nullptr);
    const MnMeasure* m = sheet->score()->staff(0)->measure(0);
    EXPECT_EQ(m->beats(), 3);
    EXPECT_EQ(voiceOf(m, 0), (std::vector<Placed>{{0, 0, 4, 60480}, {60480, 0, 4, 60480}, {120960, -1, 0, 60480}}));
    EXPECT_EQ(voiceOf(m, 1), (std::vector<Placed>{{0, -1, 0, 60480}, {60480, 5, 3, 60480}, {120960, 5, 3, 60480}}));

    sheet = importPath(sampleDir() + "/21a-Chord-Basic.xml");
    ASSERT_NE(sheet, nullptr);
    m = sheet->score()->staff(0)->measure(0);
    EXPECT_EQ(m->beats(), 2);
    ASSERT_EQ(m->voiceChords(0).count(), 2);
    ASSERT_EQ(m->voiceChords(0)[0]->noteCount(), 2);
    EXPECT_EQ(m->voiceChords(0)[0]->note(1)->step(), 5);
    EXPECT_TRUE(m->voiceChords(0)[1]->isRest());

    sheet = importPath(sampleDir() + "/24a-GraceNotes.xml");
    ASSERT_NE(sheet, nullptr);
    const MnChord* grace = first(sheet, 0, 0);
    EXPECT_TRUE(grace->isGrace());
    EXPECT_FALSE(grace->hasGraceSlash());
    EXPECT_EQ(std::vector<int>({grace->duration(), grace->note(0)->step(), grace->note(0)->octave()}),
              std::vector<int>({15120, 1, 5}));
    EXPECT_EQ(grace->nextChord()->note(0)->step(), 0);

    sheet = importPath(sampleDir() + "/32a-Notations.xml");
    ASSERT_NE(sheet, nullptr);
    auto bitsOf = [&](int measureIndex) {
        int bits = 0;
        const BcArray<MnChord*>& chords = sheet->score()->staff(0)->measure(measureIndex)->voiceChords(0);
        for (int i = 0; i < chords.count(); ++i)
            bits |= chords[i]->articulations();
        return bits;
    };
    EXPECT_TRUE(bitsOf(0) & 0x40);
    EXPECT_EQ(bitsOf(2) & 0x1E, 0x1E);
    EXPECT_TRUE(bitsOf(3) & 0x01);

    sheet = importPath(sampleDir() + "/33b-Spanners-Tie.xml");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(first(sheet, 0, 1)->note(0)->isTied());

    sheet = importPath(sampleDir() + "/61a-Lyrics.xml");
    ASSERT_NE(sheet, nullptr);
    const BcArray<MnLyric*>& lyrics = sheet->score()->staff(0)->lyricArray();
    ASSERT_EQ(lyrics.count(), 4);
    EXPECT_EQ(utf8(lyrics[0]->text()), "Tra-la-li Ja!");

    sheet = importPath(sampleDir() + "/41c-StaffGroups.xml");
    ASSERT_NE(sheet, nullptr);
    std::vector<int> groups;
    for (int i = 0; i < sheet->score()->partGroupCount(); ++i) {
        const MnPartGroup* group = sheet->score()->partGroup(i);
        groups.insert(groups.end(), {group->firstStaff(), group->staffCount(), group->bracketType()});
    }
    EXPECT_EQ(groups, (std::vector<int>{0, 9, 1, 9, 7, 1, 20, 3, 1, 23, 5, 1}));
}

TEST_F(MusicXmlImport, DirectionsSample)
{
    MnSheetMusic* sheet = importPath(sampleDir() + "/31a-Directions.xml");
    ASSERT_NE(sheet, nullptr);
    const MnStaff* staff = sheet->score()->staff(0);
    const int bar = 241920;
    std::vector<std::vector<int>> marks;
    for (const MnLine* line : linesOf(staff, MnDynamic::staticClass())) {
        if (line->start() >= 2 * bar && line->start() < 3 * bar)
            marks.push_back({line->start() - 2 * bar, line->kind()});
    }
    EXPECT_EQ(marks, (std::vector<std::vector<int>>{{0, 2}, {60480, 1}, {120960, 0}}));
    bool hairpin = false;
    for (const MnLine* line : linesOf(staff, MnDynamic::staticClass())) {
        if (line->kind() == MnDynamicCrescendoHairpin && line->start() == 8 * bar)
            hairpin = line->length() == 60480;
    }
    EXPECT_TRUE(hairpin);
    EXPECT_TRUE(linesOf(staff, MnOctave::staticClass()).empty());
    const std::vector<const MnLine*> pedals = linesOf(staff, MnPedal::staticClass());
    ASSERT_EQ(pedals.size(), 1u);
    EXPECT_EQ(pedals[0]->kind(), MnPedalSignRelease);
    EXPECT_EQ(pedals[0]->start(), 10 * bar);
    EXPECT_EQ(pedals[0]->length(), bar);
    EXPECT_EQ(sheet->score()->tempo(0)->beatsPerMinute(), 96);
    EXPECT_EQ(sheet->score()->tempo(0)->beatUnit(), 60480);
}
