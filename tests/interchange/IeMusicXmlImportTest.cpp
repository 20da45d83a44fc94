#include "IeMusicXmlImportSupport.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcStringResources.h"
#include "foundation/BcXmlFiler.h"
#include "interchange/IePartGroup.h"
#include "interchange/IeScorePart.h"
#include "interchange/IeMusicXmlImporter.h"
#include "model/MnCodes.h"
#include "model/MnCredit.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnWork.h"

#include <gtest/gtest.h>

#include <tinyxml.h>

#include <climits>
#include <string>
#include <vector>

namespace
{
std::string text(unsigned id)
{
    return utf8(BcStringResources::current().loadString(id));
}

std::string invalid(const std::string& detail)
{
    std::string message = text(10115);
    return message.replace(message.find("%ls"), 3, detail);
}

const std::string damagedHeader = "<work><work-title>Damaged</work-title></work>"
                                  "<identification><creator type=\"composer\">Nobody</creator></identification>";

struct Refusal
{
    const char* name;
    std::string bytes;
    std::string error;
};

std::vector<unsigned char> works(QuorvaneDocument& document)
{
    BcMemoryFiler filer;
    EXPECT_TRUE(document.writeWorks(filer));
    const BcArray<unsigned char>& bytes = filer.bytes();
    return std::vector<unsigned char>(bytes.data(), bytes.data() + bytes.count());
}
} // namespace

TEST_F(MusicXmlImport, RefusesDamagedFilesAndChangesNothing)
{
    const std::string sample = readFile(sampleDir() + "/01a-Pitches-Pitches.xml");
    std::string utf16 = "\xFF\xFE";
    for (char c : sample.substr(0, 400)) {
        utf16 += c;
        utf16 += '\0';
    }
    std::string deep = "<score-partwise>";
    for (int i = 0; i < 300; ++i)
        deep += "<a>";
    for (int i = 0; i < 300; ++i)
        deep += "</a>";
    deep += "</score-partwise>";
    const std::string p1 = "<score-part id=\"P1\"><part-name>Flute</part-name></score-part>";
    auto damaged = [&](const std::string& attributes, const std::string& music) {
        return scoreText(damagedHeader, p1,
                         "<part id=\"P1\"><measure number=\"1\"><attributes>" + attributes + "</attributes>" + music +
                             "</measure></part>");
    };
    const std::vector<Refusal> rows = {
        {"not XML", "hello, world", text(10063)},
        {"a zip", std::string("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + "<score-partwise/>", text(10063)},
        {"UTF-16 with its byte-order mark", utf16, text(10063)},
        {"300 nested elements", deep, text(10063)},
        {"empty", "", text(10063)},
        {"timewise", "<?xml version=\"1.0\"?><score-timewise><part-list/></score-timewise>", text(10064)},
        {"another root", "<opus><title>x</title></opus>", text(10064)},
        {"divisions 0", damaged("<divisions>0</divisions>", ""), invalid("divisions 0 in part P1")},
        {"divisions below 0", damaged("<divisions>-4</divisions>", ""), invalid("divisions -4 in part P1")},
        {"divisions too many", damaged("<divisions>10000001</divisions>", ""),
         invalid("divisions 10000001 in part P1")},
        {"divisions past 32 bits", damaged("<divisions>99999999999</divisions>", ""),
         invalid("divisions 99999999999 in part P1")},
        {"negative backup", damaged("", "<backup><duration>-1</duration></backup>"), invalid("backup -1 in part P1")},
        {"overflowing backup", damaged("", "<backup><duration>4294967297</duration></backup>"),
         invalid("backup 4294967297 in part P1")},
        {"negative forward", damaged("", "<forward><duration>-2</duration></forward>"),
         invalid("forward -2 in part P1")},
        {"overflowing forward", damaged("", "<forward><duration>99999999999</duration></forward>"),
         invalid("forward 99999999999 in part P1")},
        {"forward past 32-bit ticks",
         damaged("<divisions>1</divisions>", "<forward><duration>20000</duration></forward>"
                                             "<forward><duration>20000</duration></forward>"),
         invalid("forward 20000 in part P1")},
        {"staves 0", damaged("<staves>0</staves>", ""), invalid("staves 0 in part P1")},
        {"staves 17", damaged("<staves>17</staves>", ""), invalid("staves 17 in part P1")},
        {"part not in the list",
         scoreText(damagedHeader, p1, "<part id=\"P9\"><measure number=\"1\"/></part>"),
         invalid("part P9 missing from the part list")},
        {"part before the list",
         "<score-partwise><part id=\"P1\"><measure number=\"1\"/></part><part-list>" + p1 +
             "</part-list></score-partwise>",
         invalid("part P1 missing from the part list")},
        {"score-part without id", scoreText(damagedHeader, "<score-part><part-name>A</part-name></score-part>", ""),
         invalid("score-part without id")},
        {"part without id", scoreText(damagedHeader, p1, "<part><measure number=\"1\"/></part>"),
         invalid("part without id")},
        {"measure without number", scoreText(damagedHeader, p1, "<part id=\"P1\"><measure/></part>"),
         invalid("measure without number in part P1")},
        {"negative measure", scoreText(damagedHeader, p1, "<part id=\"P1\"><measure number=\"-2\"/></part>"),
         invalid("measure -2 in part P1")},
        {"measure the staves cannot hold",
         scoreText(damagedHeader, p1, "<part id=\"P1\"><measure number=\"5000\"/></part>"),
         invalid("measure 5000 in part P1, more measures than the score can hold")},
        {"measure past 32 bits",
         scoreText(damagedHeader, p1, "<part id=\"P1\"><measure number=\"99999999999\"/></part>"),
         invalid("measure 99999999999 in part P1, more measures than the score can hold")},
    };
    for (const Refusal& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<unsigned char> before = works(document);
        IeMusicXmlImporter importer;
        EXPECT_FALSE(importer.importFile(BcString(writeFile(row.bytes).c_str())));
        EXPECT_EQ(utf8(importer.errorText), row.error);
        EXPECT_EQ(document.works().count(), 1);
        EXPECT_EQ(works(document), before);
    }

    IeMusicXmlImporter missing;
    EXPECT_FALSE(missing.importFile(BcString((outputDir() + "/no-such-file.musicxml").c_str())));
    EXPECT_EQ(utf8(missing.errorText), text(10063));
    EXPECT_EQ(document.works().count(), 1);
}

// Every cut of a sample that ends inside its root is damage; a cut before
// the root's name is XML without a score.
TEST_F(MusicXmlImport, PrefixesOfASampleAreRefused)
{
    const std::string sample = readFile(sampleDir() + "/46a-Barlines.xml");
    const size_t root = sample.find("<score-partwise");
    const size_t end = sample.rfind("</score-partwise>");
    ASSERT_NE(root, std::string::npos);
    const std::vector<unsigned char> before = works(document);
    const std::string path = writeFile("");
    for (size_t cut = 1; cut < end + 16; cut += cut < root + 40 ? 1 : 13) {
        SCOPED_TRACE(cut);
        writeFileAt(path, sample.substr(0, cut));
        IeMusicXmlImporter importer;
        EXPECT_FALSE(importer.importFile(BcString(path.c_str())));
        EXPECT_EQ(utf8(importer.errorText), cut <= root + 1 ? text(10064) : text(10063));
    }
    EXPECT_EQ(works(document), before);
}

TEST_F(MusicXmlImport, AcceptsAnyVersionAndAPartListWithoutParts)
{
    const std::vector<std::string> roots = {"<score-partwise>", "<score-partwise version=\"3.1\">",
                                            "<score-partwise version=\"banana\">", "<score-partwise version=\"\">"};
    for (const std::string& root : roots) {
        SCOPED_TRACE(root);
        MnSheetMusic* sheet = importText(root + "<part-list><score-part id=\"P1\"/></part-list></score-partwise>");
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->creditCount(), 0);
        EXPECT_EQ(sheet->score()->staffCount(), 1);
        EXPECT_EQ(sheet->score()->staff(0)->measureCount(), 4);
        EXPECT_EQ(sheet->score()->staff(0)->measure(3)->beats(), 4);
    }
    EXPECT_EQ(document.works().count(), 5);
    EXPECT_EQ(document.displayOrder().count(), 5);
    EXPECT_EQ(document.mainScoreIndex(), 1);
}

TEST_F(MusicXmlImport, HeaderFillsTheWorkOnlyOnSuccess)
{
    const std::string header = "<work><work-title>Sonata &#38; Fugue</work-title></work>"
                               "<identification>"
                               "<creator type=\"composer\">First</creator>"
                               "<creator type=\"poet\">Ignored</creator>"
                               "<creator>No type</creator>"
                               "<creator type=\"composer\">Second</creator>"
                               "<creator type=\"lyricist\">Words</creator>"
                               "<creator type=\"arranger\">Setting</creator>"
                               "<creator type=\"composer\"></creator>"
                               "<rights>(c) Someone</rights>"
                               "</identification>";
    ASSERT_NE(importText(scoreText(header, "", "")), nullptr);
    const MnWork* work = static_cast<const MnWork*>(document.works()[0]);
    EXPECT_EQ(utf8(work->title), "Sonata & Fugue");
    EXPECT_EQ(utf8(work->composer), "Second");
    EXPECT_EQ(utf8(work->lyricist), "Words");
    EXPECT_EQ(utf8(work->arranger), "Setting");
    EXPECT_EQ(utf8(work->copyright), "(c) Someone");
    EXPECT_EQ(utf8(work->subtitle), "");
}

TEST_F(MusicXmlImport, PageSizeAndMargins)
{
    struct Row
    {
        const char* name;
        std::string defaults;
        int width, height, left, right, top, bottom;
    };
    const std::string scaling = "<scaling><millimeters>6</millimeters><tenths>40</tenths></scaling>";
    auto margins = [](const char* type, int value) {
        std::string open = type ? std::string("<page-margins type=\"") + type + "\">" : "<page-margins>";
        const std::string v = std::to_string(value);
        return open + "<left-margin>" + v + "</left-margin><right-margin>" + v + "</right-margin><top-margin>" + v +
               "</top-margin><bottom-margin>" + v + "</bottom-margin></page-margins>";
    };
    const std::vector<Row> rows = {
        {"tenths scaled", scaling + "<page-layout><page-width>999</page-width><page-height>980</page-height>"
                                    "</page-layout>",
         149, 147, 10, 10, 16, 16},
        {"millimetres without scaling", "<page-layout><page-width>300</page-width><page-height>200</page-height>"
                                        "</page-layout>",
         300, 200, 10, 10, 16, 16},
        {"a width alone", "<page-layout><page-width>300</page-width></page-layout>", 210, 297, 10, 10, 16, 16},
        {"scaling with tenths 0", "<scaling><millimeters>6</millimeters><tenths>0</tenths></scaling>"
                                  "<page-layout><page-width>300</page-width><page-height>200</page-height>"
                                  "</page-layout>",
         300, 200, 10, 10, 16, 16},
        {"written with six decimals", "<page-layout><page-width>215.999999</page-width>"
                                      "<page-height>279.399999</page-height></page-layout>",
         216, 279, 10, 10, 16, 16},
        {"odd before both", "<page-layout>" + margins("both", 5) + margins("odd", 7) + "</page-layout>", 210, 297, 7,
         7, 7, 7},
        {"both alone", "<page-layout>" + margins("both", 5) + "</page-layout>", 210, 297, 5, 5, 5, 5},
        {"untyped alone", "<page-layout>" + margins(nullptr, 6) + margins("even", 9) + "</page-layout>", 210, 297, 6,
         6, 6, 6},
        {"even never", "<page-layout>" + margins("even", 9) + "</page-layout>", 210, 297, 10, 10, 16, 16},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MnSheetMusic* sheet = importText(scoreText("<defaults>" + row.defaults + "</defaults>", "", ""));
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->paperWidth(), row.width);
        EXPECT_EQ(sheet->paperHeight(), row.height);
        EXPECT_EQ(sheet->storedLeftMargin(), row.left);
        EXPECT_EQ(sheet->storedRightMargin(), row.right);
        EXPECT_EQ(sheet->storedTopMargin(), row.top);
        EXPECT_EQ(sheet->storedBottomMargin(), row.bottom);
    }
}

TEST(MusicXmlNumbers, LenientNumbersAndWholeMillimetres)
{
    struct IntegerRow
    {
        const char* text;
        int value;
        bool overflowed;
    };
    const IntegerRow integers[] = {
        {"12.5", 12, false}, {"  42", 42, false},          {"-7", -7, false},
        {"+3", 3, false},    {"abc", 0, false},            {"", 0, false},
        {"2147483647", INT_MAX, false}, {"99999999999", INT_MAX, true}, {"\n 8 bars", 8, false},
    };
    for (const IntegerRow& row : integers) {
        SCOPED_TRACE(row.text);
        bool overflowed = !row.overflowed;
        EXPECT_EQ(IeMusicXmlImporter::leadingInteger(BcString(row.text), &overflowed), row.value);
        EXPECT_EQ(overflowed, row.overflowed);
    }
    struct DecimalRow
    {
        const char* text;
        double value;
    };
    const DecimalRow decimals[] = {{"6.35", 6.35}, {" -1.5e2x", -150.0}, {".5", 0.5}, {"inf", 0.0},
                                   {"0x10", 0.0},   {"+2", 2.0},          {"", 0.0},   {"7.", 7.0}};
    for (const DecimalRow& row : decimals) {
        SCOPED_TRACE(row.text);
        EXPECT_DOUBLE_EQ(IeMusicXmlImporter::leadingDecimal(BcString(row.text)), row.value);
    }
    struct LengthRow
    {
        double length;
        int millimetres;
    };
    const LengthRow lengths[] = {{11.99999997, 12}, {215.99999996, 216}, {999 * 0.15, 149}, {12.0, 12},
                                 {11.998, 11},      {-3.5, -3},          {1e300, 1000000000}};
    for (const LengthRow& row : lengths) {
        SCOPED_TRACE(row.length);
        EXPECT_EQ(IeMusicXmlImporter::wholeMillimetres(row.length), row.millimetres);
    }
}

TEST_F(MusicXmlImport, Credits)
{
    const std::string defaults = "<defaults><scaling><millimeters>6</millimeters><tenths>40</tenths></scaling>"
                                 "</defaults>";
    const std::string credits =
        "<credit page=\"1\"><credit-type>title</credit-type>"
        "<credit-words default-x=\"100\" default-y=\"1500\" font-size=\"200\" justify=\"center\">Title</credit-words>"
        "<credit-words>Subtitle</credit-words><credit-words></credit-words></credit>"
        "<credit page=\"2\"><credit-words font-size=\"0\" valign=\"bottom\" halign=\"right\">Right</credit-words>"
        "</credit>"
        "<credit><credit-words justify=\"center\" valign=\"middle\">Centred</credit-words>"
        "<credit-words font-size=\"14.7\">Plain</credit-words></credit>";
    MnSheetMusic* sheet = importText(scoreText(defaults + credits, "", ""));
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->creditCount(), 5);
    struct Row
    {
        const char* text;
        int page;
        double size;
        int alignment;
        int justification;
    };
    const Row rows[] = {
        {"Title", 0, 99, 1, 1}, {"Subtitle", 0, 99, 1, 1}, {"Right", 1, 12, 8, -1},
        {"Centred", 0, 12, 1, 1}, {"Plain", 0, 14, 1, 1},
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(rows[i].text);
        const MnCredit* credit = sheet->credit(i);
        EXPECT_EQ(utf8(credit->text()), rows[i].text);
        EXPECT_EQ(credit->page(), rows[i].page);
        EXPECT_EQ(credit->type(), MnCreditNone);
        EXPECT_DOUBLE_EQ(credit->size(), rows[i].size);
        EXPECT_EQ(credit->alignment(), rows[i].alignment);
        EXPECT_EQ(credit->creditAlignment(), rows[i].justification);
    }
    // The second words of a credit keep the first one's place.
    EXPECT_DOUBLE_EQ(sheet->credit(0)->position().x, 15.0);
    EXPECT_DOUBLE_EQ(sheet->credit(1)->position().x, 15.0);
    EXPECT_DOUBLE_EQ(sheet->credit(1)->position().y, sheet->credit(0)->position().y);
}

TEST_F(MusicXmlImport, PartListKeepsLevelOneGroups)
{
    struct Group
    {
        int firstPart;
        int partCount;
        int symbol;
        bool open;
    };
    struct Row
    {
        const char* name;
        std::string partList;
        std::vector<std::string> ids;
        std::vector<Group> groups;
    };
    auto start = [](const char* number, const char* symbol) {
        std::string element = "<part-group type=\"start\"";
        if (number)
            element += std::string(" number=\"") + number + "\"";
        element += ">";
        if (symbol)
            element += std::string("<group-symbol>") + symbol + "</group-symbol>";
        return element + "<group-name>G</group-name></part-group>";
    };
    auto stop = [](const char* number) {
        return std::string("<part-group type=\"stop\" number=\"") + number + "\"/>";
    };
    auto part = [](const char* id) { return std::string("<score-part id=\"") + id + "\"/>"; };
    const std::vector<Row> rows = {
        {"start, P1, P2, stop, P3", start("1", "bracket") + part("P1") + part("P2") + stop("1") + part("P3"),
         {"P1", "P2", "P3"}, {{0, 2, 1, false}}},
        {"number 2 ignored", start("1", "square") + part("P1") + start("2", "brace") + part("P2") + stop("2") +
                                 part("P3") + stop("1"),
         {"P1", "P2", "P3"}, {{0, 3, 2, false}}},
        {"empty group, no number, no symbol", start(nullptr, nullptr) + stop("1") + part("P1"), {"P1"},
         {{-1, 0, 0, false}}},
        {"a start while one is open", start("1", "line") + part("P1") + start("1", "none") + part("P2") + stop("1"),
         {"P1", "P2"}, {{0, 1, 3, true}, {1, 1, 1, false}}},
        {"duplicate ids", part("P1") + part("P1"), {"P1", "P1"}, {}},
        {"a group without type", "<part-group number=\"1\"/>" + part("P1"), {"P1"}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BcXmlFiler filer;
        ASSERT_TRUE(filer.open(BcString(writeFile(scoreText("", row.partList, "")).c_str())));
        ASSERT_TRUE(filer.findElement(BcString("score-partwise"), 0));
        ASSERT_TRUE(filer.findElement(BcString("part-list"), 0));
        TiXmlElement* list = filer.current;
        IeMusicXmlImporter importer;
        importer.readPartList(filer);
        EXPECT_EQ(filer.current, list);
        ASSERT_EQ(importer.scoreParts.count(), int(row.ids.size()));
        for (int i = 0; i < importer.scoreParts.count(); ++i)
            EXPECT_EQ(utf8(importer.scoreParts[i]->id), row.ids[i]);
        ASSERT_EQ(importer.partGroups.count(), int(row.groups.size()));
        for (int i = 0; i < importer.partGroups.count(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(importer.partGroups[i]->firstPart, row.groups[i].firstPart);
            EXPECT_EQ(importer.partGroups[i]->partCount, row.groups[i].partCount);
            EXPECT_EQ(importer.partGroups[i]->symbol, row.groups[i].symbol);
            EXPECT_EQ(importer.partGroups[i]->open, row.groups[i].open);
            EXPECT_EQ(utf8(importer.partGroups[i]->name), "G");
        }
    }
}

TEST_F(MusicXmlImport, StavesOfTheParts)
{
    struct Row
    {
        const char* name;
        std::string partList;
        std::string parts;
        std::vector<std::string> staffNames;
        int groups;
    };
    auto part = [](const char* id) {
        return std::string("<score-part id=\"") + id + "\"><part-name>" + id + " name</part-name>"
               "<part-abbreviation>" + id + ".</part-abbreviation></score-part>";
    };
    auto music = [](const char* id, const char* attributes) {
        return std::string("<part id=\"") + id + "\"><measure number=\"1\"><attributes>" + attributes +
               "</attributes></measure><measure number=\"2\"><attributes><staves>3</staves></attributes>"
               "</measure></part>";
    };
    const std::string group = "<part-group type=\"start\"/>";
    const std::string stop = "<part-group type=\"stop\"/>";
    const std::vector<Row> rows = {
        {"two staves, no list groups", part("P1") + part("P2"),
         music("P1", "<staves>2</staves>") + music("P2", ""), {"", "", "P2 name"}, 1},
        // The list's group holds one staff, too few to bracket.
        {"two staves beside a list group", part("P1") + group + part("P2") + stop,
         music("P1", "<staves>2</staves>") + music("P2", ""), {"P1 name", "", "P2 name"}, 0},
        {"a part without attributes leaves the first staff to the next", part("P1") + part("P2"),
         "<part id=\"P1\"><measure number=\"1\"/></part>" + music("P2", "<staves>1</staves>"), {"P2 name"}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MnSheetMusic* sheet = importText(scoreText("", row.partList, row.parts));
        ASSERT_NE(sheet, nullptr);
        const MnScore* score = sheet->score();
        ASSERT_EQ(score->staffCount(), int(row.staffNames.size()));
        for (int i = 0; i < score->staffCount(); ++i)
            EXPECT_EQ(utf8(score->part(i)->name()), row.staffNames[i]) << i;
        ASSERT_EQ(score->partGroupCount(), row.groups);
        if (row.groups == 1) {
            EXPECT_EQ(score->partGroup(0)->firstStaff(), 0);
            EXPECT_EQ(score->partGroup(0)->staffCount(), 2);
            EXPECT_EQ(utf8(score->partGroup(0)->name()), "P1 name");
            EXPECT_EQ(utf8(score->partGroup(0)->abbreviation()), "P1.");
        }
    }
}
