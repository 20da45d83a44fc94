#include "IeMusicXmlImportSupport.h"

#include "model/MnCodes.h"
#include "model/MnCredit.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const MnStaffDefinition* definitionOfMeasure(const MnStaff* staff, int measureIndex)
{
    return staff->definitionAt(staff->measureStartTime(measureIndex), false);
}

std::vector<int> beatsOf(const MnStaff* staff)
{
    std::vector<int> beats;
    for (int i = 0; i < staff->measureCount(); ++i)
        beats.push_back(staff->measure(i)->beats());
    return beats;
}

std::string measure(const std::string& number, const std::string& content = "")
{
    return "<measure number=\"" + number + "\">" + content + "</measure>";
}

std::string forward(int duration)
{
    return "<forward><duration>" + std::to_string(duration) + "</duration></forward>";
}

std::string backup(int duration)
{
    return "<backup><duration>" + std::to_string(duration) + "</duration></backup>";
}

const std::string quarters = "<attributes><divisions>1</divisions></attributes>";
const std::string twoParts = "<score-part id=\"P1\"/><score-part id=\"P2\"/>";
} // namespace

TEST_F(MusicXmlImport, MeasureNumbersAndTrimming)
{
    struct Row
    {
        const char* name;
        std::string xml;
        std::vector<int> beats;
    };
    const std::vector<Row> rows = {
        {"numbers 1..3 fill 0..2, the default fourth goes", onePart(measure("1") + measure("2") + measure("3")),
         {4, 4, 4}},
        {"a pickup 0 of one quarter", onePart(measure("0", quarters + forward(1)) + measure("1") + measure("2")),
         {1, 4, 4}},
        {"a partly filled beat stays", onePart(measure("0", "<attributes><divisions>2</divisions></attributes>" +
                                                               forward(3)) +
                                               measure("1")),
         {2, 4}},
        {"a number that skips ahead", onePart(measure("1") + measure("7")), {4, 4, 4, 4, 4, 4, 4}},
        {"a short second voice keeps the beats of the first",
         onePart(measure("0", quarters + forward(4) + backup(4) + forward(1)) + measure("1")), {4, 4}},
        {"a last part of two staves trims too",
         onePart(measure("0", "<attributes><divisions>1</divisions><staves>2</staves></attributes>" + forward(1)) +
                 measure("1")),
         {1, 4}},
        {"the part that reached furthest decides",
         scoreText("", twoParts,
                   "<part id=\"P1\">" + measure("0", quarters + forward(1)) + measure("1") + "</part>" +
                       "<part id=\"P2\">" + measure("0", quarters + forward(2)) + measure("1") + "</part>"),
         {2, 4}},
        {"an empty measure trims nothing", onePart(measure("0") + measure("1")), {4, 4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MnSheetMusic* sheet = importText(row.xml);
        ASSERT_NE(sheet, nullptr);
        for (int i = 0; i < sheet->score()->staffCount(); ++i)
            EXPECT_EQ(beatsOf(sheet->score()->staff(i)), row.beats) << "staff " << i;
    }
}

// A number that does not start with a digit reads as 0: it fills the first
// measure again and the part counts from 0 from then on.
TEST_F(MusicXmlImport, NumberStartingWithALetter)
{
    const std::string doubleBar = "<barline><bar-style>light-light</bar-style></barline>";
    MnSheetMusic* sheet = importText(onePart(measure("1") + measure("2") + measure("X1", doubleBar) +
                                             measure("3", doubleBar)));
    ASSERT_NE(sheet, nullptr);
    const MnStaff* staff = sheet->score()->staff(0);
    ASSERT_EQ(staff->measureCount(), 4);
    const int barlines[] = {MnBarlineDouble, MnBarlineSingle, MnBarlineSingle, MnBarlineDouble};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(staff->measure(i)->barline(), barlines[i]) << i;
}

// The time where a clef lands shows where backup and forward left the
// measure's position.
TEST_F(MusicXmlImport, BackupAndForwardMoveThePosition)
{
    struct Row
    {
        const char* name;
        std::string divisions;
        std::string moves;
        int time;
    };
    const std::vector<Row> rows = {
        {"a backup past the start stops there", "1", forward(1) + backup(4) + forward(1), 60480},
        {"1024 divisions convert without loss", "1024", forward(3072), 181440},
        {"11 divisions convert without loss", "11", forward(11), 60480},
        {"half a quarter", "2", forward(1), 30240},
        {"a decimal duration reads its whole part", "4", "<forward><duration>2.9</duration></forward>", 30240},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // The measure is filled after the clef, so that it keeps its beats.
        const std::string clef = "<attributes><clef><sign>F</sign><line>4</line></clef></attributes>" +
                                 backup(1000000) + forward(4 * std::stoi(row.divisions));
        MnSheetMusic* sheet = importText(onePart(
            measure("1", "<attributes><divisions>" + row.divisions + "</divisions></attributes>") + measure("2") +
            measure("3", row.moves + clef) + measure("4")));
        ASSERT_NE(sheet, nullptr);
        const MnStaff* staff = sheet->score()->staff(0);
        const int at = staff->measureStartTime(2) + row.time;
        const MnStaffDefinition* change = staff->definitionAt(at, true);
        ASSERT_NE(change, nullptr);
        EXPECT_NE(change, staff);
        EXPECT_EQ(change->clef(), MnClefBass);
        EXPECT_EQ(definitionOfMeasure(staff, 2)->clef(), row.time == 0 ? MnClefBass : MnClefTreble);
    }
}

TEST_F(MusicXmlImport, Barlines)
{
    struct Row
    {
        const char* name;
        std::string fourth;
        std::string fifth;
        int barlines[6];
    };
    auto barline = [](const char* location, const char* style, const char* repeat) {
        std::string element = "<barline";
        if (location)
            element += std::string(" location=\"") + location + "\"";
        element += ">";
        if (style)
            element += std::string("<bar-style>") + style + "</bar-style>";
        if (repeat)
            element += std::string("<repeat direction=\"") + repeat + "\"/>";
        return element + "</barline>";
    };
    const std::vector<Row> rows = {
        {"start repeat at measure 5", "", barline("left", "heavy-light", "forward"), {0, 0, 0, 4, 0, 0}},
        {"start repeat after an end repeat", barline("right", "light-heavy", "backward"),
         barline("left", "heavy-light", "forward"), {0, 0, 0, 5, 0, 0}},
        {"double", "", barline(nullptr, "light-light", nullptr), {0, 0, 0, 0, 1, 0}},
        {"final", "", barline("right", "light-heavy", nullptr), {0, 0, 0, 0, 2, 0}},
        {"a left double ends the measure before", "", barline("left", "light-light", nullptr), {0, 0, 0, 1, 0, 0}},
        {"a repeat without a style", "", barline("right", nullptr, "backward"), {0, 0, 0, 0, 0, 0}},
        {"heavy-heavy", "", barline("right", "heavy-heavy", nullptr), {0, 0, 0, 0, 0, 0}},
        {"a forward repeat on light-heavy", "", barline("right", "light-heavy", "forward"), {0, 0, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MnSheetMusic* sheet = importText(scoreText(
            "", twoParts,
            "<part id=\"P1\">" + measure("1", "<attributes/>") + measure("2") + measure("3") + measure("4", row.fourth) +
                measure("5", row.fifth) + measure("6") + "</part><part id=\"P2\">" + measure("1", "<attributes/>") +
                "</part>"));
        ASSERT_NE(sheet, nullptr);
        ASSERT_EQ(sheet->score()->staffCount(), 2);
        for (int s = 0; s < 2; ++s) {
            const MnStaff* staff = sheet->score()->staff(s);
            ASSERT_EQ(staff->measureCount(), 6);
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ(staff->measure(i)->barline(), row.barlines[i]) << "staff " << s << " measure " << i;
        }
    }
    // A left bar line of the first measure has no measure before it.
    MnSheetMusic* sheet = importText(onePart(measure("1", barline("left", "light-light", nullptr))));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->score()->staff(0)->measure(0)->barline(), MnBarlineSingle);
}

TEST_F(MusicXmlImport, Endings)
{
    struct Row
    {
        const char* name;
        std::string barline;
        int mask;
        bool closed;
    };
    auto ending = [](const char* location, const char* number, const char* type) {
        return std::string("<barline location=\"") + location + "\"><ending number=\"" + number + "\" type=\"" +
               type + "\"/></barline>";
    };
    const std::vector<Row> rows = {
        {"1, 2", ending("left", "1, 2", "start"), 0x3, false},
        {"1.2", ending("left", "1.2", "start"), 0, false},
        {"10", ending("left", "10", "start"), 1 << 9, false},
        {"11", ending("left", "11", "start"), 0, false},
        {"a start on the right", ending("right", "1", "start"), 0, false},
        {"stop closes", ending("right", "1", "stop"), 0, true},
        {"a stop on the left", ending("left", "1", "stop"), 0, false},
        {"discontinue", ending("right", "2", "discontinue"), 0, false},
        {"with a repeat of its own", "<barline location=\"left\"><repeat direction=\"forward\"/>"
                                     "<ending number=\"3\" type=\"start\"/></barline>",
         0x4, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MnSheetMusic* sheet = importText(onePart(measure("1") + measure("2", row.barline) + measure("3")));
        ASSERT_NE(sheet, nullptr);
        const MnStaff* staff = sheet->score()->staff(0);
        EXPECT_EQ(staff->measure(1)->voltaMask(), row.mask);
        EXPECT_EQ(staff->measure(1)->isVoltaClosed(), row.closed);
        EXPECT_EQ(staff->measure(0)->voltaMask(), 0);
        EXPECT_EQ(staff->measure(2)->voltaMask(), 0);
    }
}

TEST_F(MusicXmlImport, NewSystemBreaksTheMeasureBefore)
{
    const std::string newSystem = "<print new-system=\"yes\"/>";
    MnSheetMusic* sheet = importText(onePart(measure("1", newSystem) + measure("2") + measure("3", newSystem) +
                                             measure("4", "<print new-system=\"no\"/>")));
    ASSERT_NE(sheet, nullptr);
    const MnStaff* staff = sheet->score()->staff(0);
    const int breaks[] = {MnSystemBreakNone, MnSystemBreakSystem, MnSystemBreakNone, MnSystemBreakNone};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(staff->measure(i)->systemBreak(), breaks[i]) << i;
}

TEST_F(MusicXmlImport, TimeSignatures)
{
    struct Row
    {
        const char* time;
        int code;
    };
    const int defaultCode = MnSheetMusic().score()->staff(0)->time();
    const Row rows[] = {
        {"<beats>4</beats><beat-type>4</beat-type>", MnTime4_4},
        {"<beats>5</beats><beat-type>4</beat-type>", MnTimeCommon},
        {"<beats>3</beats><beat-type>4</beat-type>", MnTime3_4},
        {"<beats>12</beats><beat-type>8</beat-type>", MnTime12_8},
        {"<beats>3</beats>", defaultCode},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.time);
        const std::string time = std::string("<attributes><time>") + row.time + "</time></attributes>";
        MnSheetMusic* sheet = importText(onePart(measure("1", time) + measure("2") + measure("3", time)));
        ASSERT_NE(sheet, nullptr);
        const MnStaff* staff = sheet->score()->staff(0);
        EXPECT_EQ(staff->time(), row.code);
        EXPECT_EQ(definitionOfMeasure(staff, 2)->time(), row.code);
        EXPECT_EQ(staff->measureCount(), 3);
    }
}

TEST_F(MusicXmlImport, Clefs)
{
    struct Row
    {
        const char* name;
        std::string clef;
        int code;
    };
    auto clef = [](const char* sign, const char* line) {
        std::string element = "<clef><sign>" + std::string(sign) + "</sign>";
        if (line)
            element += std::string("<line>") + line + "</line>";
        return element + "</clef>";
    };
    const std::vector<Row> rows = {
        {"G2", clef("G", "2"), MnClefTreble},       {"F4", clef("F", "4"), MnClefBass},
        {"C3", clef("C", "3"), MnClefAlto},         {"C4", clef("C", "4"), MnClefTenor},
        {"unknown sign", clef("X", "4"), MnClefTreble}, {"F on line 3", clef("F", "3"), MnClefTreble},
        {"no line", clef("F", nullptr), MnClefTenor},
        {"another part's staff", "<clef number=\"2\"><sign>F</sign><line>4</line></clef>", MnClefTenor},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string tenor = "<attributes><clef><sign>C</sign><line>4</line></clef></attributes>";
        MnSheetMusic* sheet = importText(
            scoreText("", twoParts,
                      "<part id=\"P1\">" + measure("1", tenor) + measure("2", "<attributes>" + row.clef + "</attributes>") +
                          "</part><part id=\"P2\">" + measure("1", "<attributes/>") + "</part>"));
        ASSERT_NE(sheet, nullptr);
        const MnScore* score = sheet->score();
        EXPECT_EQ(definitionOfMeasure(score->staff(0), 1)->clef(), row.code);
        EXPECT_EQ(definitionOfMeasure(score->staff(1), 1)->clef(), MnClefTreble);
    }
}

// Changes that another part made (here a time signature) take a later
// part's clefs and keys, and a key stays with its own part.
TEST_F(MusicXmlImport, ClefsAndKeysOfALaterPart)
{
    const std::string threeFour = "<attributes><time><beats>3</beats><beat-type>4</beat-type></time></attributes>";
    const std::string first = "<attributes><key><fifths>2</fifths></key><clef><sign>F</sign><line>4</line></clef>"
                              "</attributes>";
    const std::string second = "<attributes><key><fifths>-3</fifths></key><clef><sign>C</sign><line>3</line></clef>"
                               "</attributes>";
    MnSheetMusic* sheet = importText(
        scoreText("", twoParts,
                  "<part id=\"P1\">" + measure("1", "<attributes/>") + measure("2") + measure("3", threeFour) +
                      measure("4") + "</part><part id=\"P2\">" + measure("1", first) + measure("2", second) +
                      measure("3") + measure("4") + "</part>"));
    ASSERT_NE(sheet, nullptr);
    const MnScore* score = sheet->score();
    ASSERT_EQ(score->staffCount(), 2);
    const int clefs[] = {MnClefBass, MnClefAlto, MnClefAlto, MnClefAlto};
    const int keys[] = {2, -3, -3, -3};
    for (int m = 0; m < 4; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(definitionOfMeasure(score->staff(0), m)->key(), 0);
        EXPECT_EQ(definitionOfMeasure(score->staff(0), m)->clef(), MnClefTreble);
        EXPECT_EQ(definitionOfMeasure(score->staff(1), m)->key(), keys[m]);
        EXPECT_EQ(definitionOfMeasure(score->staff(1), m)->clef(), clefs[m]);
        EXPECT_EQ(definitionOfMeasure(score->staff(1), m)->time(), m < 2 ? score->staff(0)->time() : MnTime3_4);
    }
    // A key the model cannot show is left out.
    MnSheetMusic* outOfRange =
        importText(onePart(measure("1", "<attributes><key><fifths>-11</fifths></key></attributes>")));
    ASSERT_NE(outOfRange, nullptr);
    EXPECT_EQ(outOfRange->score()->staff(0)->key(), 0);
}

TEST_F(MusicXmlImport, Samples)
{
    struct Row
    {
        const char* file;
        int staves;
        int measures;
    };
    const Row rows[] = {
        {"01a-Pitches-Pitches.xml", 1, 27},      {"02a-Rests-Durations.xml", 1, 6},
        {"03a-Rhythm-Durations.xml", 1, 6},      {"03b-Rhythm-Backup.xml", 1, 1},
        {"11a-TimeSignatures.xml", 1, 11},       {"12a-Clefs.xml", 1, 17},
        {"13a-KeySignatures.xml", 1, 46},        {"21a-Chord-Basic.xml", 1, 1},
        {"24a-GraceNotes.xml", 1, 3},            {"31a-Directions.xml", 1, 15},
        {"32a-Notations.xml", 1, 24},            {"33b-Spanners-Tie.xml", 1, 2},
        {"41c-StaffGroups.xml", 28, 1},          {"43a-PianoStaff.xml", 2, 1},
        {"45b-RepeatWithAlternatives.xml", 1, 4}, {"46a-Barlines.xml", 1, 13},
        {"51a-Header-Credits.xml", 1, 1},        {"52a-PageLayout.xml", 1, 5},
        {"61a-Lyrics.xml", 1, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        MnSheetMusic* sheet = importPath(sampleDir() + "/" + row.file);
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->score()->staffCount(), row.staves);
        for (int i = 0; i < sheet->score()->staffCount(); ++i)
            EXPECT_EQ(sheet->score()->staff(i)->measureCount(), row.measures);
    }
}

TEST_F(MusicXmlImport, SampleContents)
{
    // Time signatures.
    MnSheetMusic* sheet = importPath(sampleDir() + "/11a-TimeSignatures.xml");
    ASSERT_NE(sheet, nullptr);
    const int times[] = {2, 1, 2, 0, 4, 5, 1, 0, 8, 6, 10};
    for (int m = 0; m < 11; ++m)
        EXPECT_EQ(definitionOfMeasure(sheet->score()->staff(0), m)->time(), times[m]) << "11a measure " << m + 1;

    // Clefs; percussion names no line and changes nothing.
    sheet = importPath(sampleDir() + "/12a-Clefs.xml");
    ASSERT_NE(sheet, nullptr);
    const int clefs[] = {MnClefTreble, MnClefAlto, MnClefTenor, MnClefBass, MnClefBass,
                         MnClefTreble, MnClefBass, MnClefTreble};
    for (int m = 0; m < 8; ++m)
        EXPECT_EQ(definitionOfMeasure(sheet->score()->staff(0), m)->clef(), clefs[m]) << "12a measure " << m + 1;

    // Keys beyond seven fifths are left out.
    sheet = importPath(sampleDir() + "/13a-KeySignatures.xml");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(definitionOfMeasure(sheet->score()->staff(0), 0)->key(), 0);
    EXPECT_EQ(definitionOfMeasure(sheet->score()->staff(0), 8)->key(), -7);
    EXPECT_EQ(definitionOfMeasure(sheet->score()->staff(0), 45)->key(), 7);

    // A piano part without list groups.
    sheet = importPath(sampleDir() + "/43a-PianoStaff.xml");
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->score()->partGroupCount(), 1);
    EXPECT_EQ(utf8(sheet->score()->partGroup(0)->name()), "MusicXML Part");
    EXPECT_EQ(sheet->score()->staff(0)->clef(), MnClefTreble);
    EXPECT_EQ(sheet->score()->staff(1)->clef(), MnClefBass);

    // Voltas.
    sheet = importPath(sampleDir() + "/45b-RepeatWithAlternatives.xml");
    ASSERT_NE(sheet, nullptr);
    const MnStaff* staff = sheet->score()->staff(0);
    EXPECT_EQ(staff->measure(1)->voltaMask(), 1);
    EXPECT_TRUE(staff->measure(1)->isVoltaClosed());
    EXPECT_EQ(staff->measure(1)->barline(), MnBarlineEndRepeat);
    EXPECT_EQ(staff->measure(2)->voltaMask(), 2);
    EXPECT_FALSE(staff->measure(2)->isVoltaClosed());
    EXPECT_EQ(staff->measure(3)->barline(), MnBarlineFinal);

    // Bar lines.
    sheet = importPath(sampleDir() + "/46a-Barlines.xml");
    ASSERT_NE(sheet, nullptr);
    for (int m = 0; m < 13; ++m) {
        const int expected = m == 5 ? MnBarlineDouble : m == 6 ? MnBarlineFinal : MnBarlineSingle;
        EXPECT_EQ(sheet->score()->staff(0)->measure(m)->barline(), expected) << "46a measure " << m + 1;
    }

    // Page layout.
    sheet = importPath(sampleDir() + "/52a-PageLayout.xml");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->paperWidth(), 160);
    EXPECT_EQ(sheet->paperHeight(), 90);
    EXPECT_EQ(sheet->storedLeftMargin(), 14);
    EXPECT_EQ(sheet->storedRightMargin(), 20);
    EXPECT_EQ(sheet->storedTopMargin(), 4);
    EXPECT_EQ(sheet->storedBottomMargin(), 6);
    for (int m = 0; m < 5; ++m)
        EXPECT_EQ(sheet->score()->staff(0)->measure(m)->systemBreak(), m == 1 ? MnSystemBreakSystem : 0) << m;

    // Credits.
    sheet = importPath(sampleDir() + "/51a-Header-Credits.xml");
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->creditCount(), 9);
    for (int i = 0; i < 9; ++i) {
        const bool second = utf8(sheet->credit(i)->text()) == "2a";
        EXPECT_EQ(sheet->credit(i)->page(), second ? 1 : 0) << utf8(sheet->credit(i)->text());
    }
}
