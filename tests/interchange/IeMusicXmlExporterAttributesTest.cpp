#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcString.h"
#include "model/MnStaffChange.h"

#include "interchange/ExportTestSheet.h"
#include "interchange/ExportedMusicXml.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

void addNote(MnMeasure* measure, int voice, int time, int duration)
{
    ASSERT_NE(measure->addNote(voice, time, 4, 4, MnAccidentalNone, duration, false), nullptr);
}

// The attributes of the part's measures, one line each, in file order.
std::vector<std::string> attributeLines(const ExportedMusicXml& file, int part)
{
    std::vector<std::string> lines;
    const TiXmlElement* element = file.select("part")[part - 1];
    for (const TiXmlElement* attributes : file.select("measure/attributes", element))
        lines.push_back(elementLine(attributes));
    return lines;
}

} // namespace

TEST(IeMusicXmlExporterAttributes, TheStaffDefinitionWritesItAll)
{
    const struct
    {
        int timeType;
        int clef;
        int key;
        const char* attributes;
    } rows[] = {
        {MnTimeCommon, MnClefTreble, 0,
         "attributes(divisions=1 key(fifths=0) time[symbol=common](beats=4 beat-type=4) "
         "clef[number=1](sign=G line=2))"},
        {MnTime4_4, MnClefBass, -3,
         "attributes(divisions=1 key(fifths=-3) time(beats=4 beat-type=4) clef[number=1](sign=F line=4))"},
        {MnTimeCut, MnClefAlto, 7,
         "attributes(divisions=1 key(fifths=7) time[symbol=cut](beats=2 beat-type=2) clef[number=1](sign=C line=3))"},
        {MnTime6_8, MnClefTenor, 2,
         "attributes(divisions=1 key(fifths=2) time(beats=6 beat-type=8) clef[number=1](sign=C line=4))"},
        {MnTime12_8, MnClefTreble, 0,
         "attributes(divisions=1 key(fifths=0) time(beats=12 beat-type=8) clef[number=1](sign=G line=2))"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.attributes);
        ExportTestSheet sheet(1, 1, row.timeType);
        MnStaff* staff = sheet.score->staff(0);
        ASSERT_TRUE(staff->setClef(row.clef));
        ASSERT_TRUE(staff->setKey(row.key));
        ExportedMusicXml file(&sheet.sheet, nullptr, "attributes-" + std::to_string(row.timeType));
        // Divisions 1 and up: the rest that fills the measure is whole.
        std::vector<std::string> lines = attributeLines(file, 1);
        ASSERT_EQ(lines.size(), 1u);
        std::string expected = row.attributes;
        const std::string divisions = childText(file.select("part/measure/attributes")[0], "divisions");
        expected.replace(expected.find("divisions=1"), 11, "divisions=" + divisions);
        EXPECT_EQ(lines[0], expected);
    }
}

TEST(IeMusicXmlExporterAttributes, AStaffChangeWritesOnlyWhatItChanges)
{
    ExportTestSheet sheet(1, 3);
    MnStaff* staff = sheet.score->staff(0);
    for (int i = 0; i < 3; ++i) {
        for (int beat = 0; beat < 4; ++beat)
            addNote(sheet.measure(0, i), 0, beat * MnTicksQuarter, MnTicksQuarter);
    }
    // A key at measure 2; a clef at the third beat of measure 3, where the
    // second voice also starts a chord.
    addNote(sheet.measure(0, 2), 1, 0, MnTicksHalf);
    addNote(sheet.measure(0, 2), 1, MnTicksHalf, MnTicksHalf);
    ASSERT_TRUE(staff->insertStaffChange(sheet.measure(0, 1)->startTime()));
    ASSERT_TRUE(staff->change(0)->setKey(-2));
    ASSERT_TRUE(staff->insertStaffChange(sheet.measure(0, 2)->startTime() + MnTicksHalf));
    ASSERT_TRUE(staff->change(1)->setClef(MnClefBass));
    ExportedMusicXml file(&sheet.sheet, nullptr, "attributes-changes");

    std::vector<const TiXmlElement*> measures = file.select("part/measure");
    ASSERT_EQ(measures.size(), 3u);
    EXPECT_EQ(childLines(measures[1], "attributes"), "attributes(key(fifths=-2))");
    EXPECT_EQ(childNames(measures[1]), "attributes note note note note barline");
    // Both voices tell it at their chord of that time.
    EXPECT_EQ(childLines(measures[2], "attributes"),
              "attributes(clef[number=1](sign=F line=4)) | attributes(clef[number=1](sign=F line=4))");
    EXPECT_EQ(childNames(measures[2]), "note note attributes note note backup note attributes note barline");
}

TEST(IeMusicXmlExporterAttributes, ATimeChangeWritesItsTime)
{
    ExportTestSheet sheet(1, 2);
    MnStaff* staff = sheet.score->staff(0);
    ASSERT_TRUE(staff->insertStaffChange(sheet.measure(0, 1)->startTime()));
    ASSERT_TRUE(staff->change(0)->setTime(MnTime3_4));
    ExportedMusicXml file(&sheet.sheet, nullptr, "attributes-time");
    // The 4/4 measure from there on is re-barred into 3/4 ones.
    std::vector<const TiXmlElement*> measures = file.select("part/measure");
    ASSERT_GE(measures.size(), 2u);
    EXPECT_EQ(childLines(measures[1], "attributes"), "attributes(time(beats=3 beat-type=4))");
}

namespace {

struct BarlineRow
{
    const char* name;
    int staves;
    int measures;
    std::function<void(ExportTestSheet&)> write;
    // The barlines of each measure of each part, part by part.
    std::vector<std::string> barlines;
};

// Sets the same on the measure of every staff, as the editor does.
void forColumn(ExportTestSheet& sheet, int index, const std::function<void(MnMeasure*)>& apply)
{
    for (int s = 0; s < sheet.score->staffCount(); ++s)
        apply(sheet.measure(s, index));
}

} // namespace

TEST(IeMusicXmlExporterAttributes, BarlinesRepeatsEndingsSegnoAndCoda)
{
    const std::string regular = "barline[location=right](bar-style=regular)";
    const std::string forward = "barline[location=left](bar-style=heavy-light repeat[direction=forward])";
    const BarlineRow rows[] = {
        {"a plain measure", 1, 1, [](ExportTestSheet&) {}, {regular}},
        {"double and final", 1, 2,
         [](ExportTestSheet& s) {
             s.measure(0, 0)->setBarline(MnBarlineDouble);
             s.measure(0, 1)->setBarline(MnBarlineFinal);
         },
         {"barline[location=right](bar-style=light-light)", "barline[location=right](bar-style=light-heavy)"}},
        {"a start repeat opens the next measure", 1, 2,
         [](ExportTestSheet& s) { s.measure(0, 0)->setBarline(MnBarlineStartRepeat); }, {"", forward + " | " + regular}},
        {"an end repeat, then an end and start repeat", 1, 3,
         [](ExportTestSheet& s) {
             s.measure(0, 0)->setBarline(MnBarlineEndRepeat);
             s.measure(0, 1)->setBarline(MnBarlineEndStartRepeat);
         },
         {"barline[location=right](bar-style=light-heavy repeat[direction=backward])",
          "barline[location=right](bar-style=light-heavy repeat[direction=backward])", forward + " | " + regular}},
        {"a closed first-time bar, then an open second-time bar, in the first part only", 2, 2,
         [](ExportTestSheet& s) {
             forColumn(s, 0, [](MnMeasure* m) {
                 m->setVoltaMask(1);
                 m->setVoltaClosed(true);
             });
             forColumn(s, 1, [](MnMeasure* m) { m->setVoltaMask(2); });
         },
         {"barline[location=left](ending[number=1,type=start]=1.) | "
          "barline[location=right](bar-style=regular ending[number=1,type=stop])",
          "barline[location=left](ending[number=2,type=start]=2.) | "
          "barline[location=right](bar-style=regular ending[number=2,type=discontinue])",
          regular, regular}},
        {"endings 1 and 2 with a text of their own, endings 1 and 3", 1, 2,
         [](ExportTestSheet& s) {
             s.measure(0, 0)->setVoltaMask(3);
             s.measure(0, 0)->setVoltaClosed(true);
             ASSERT_TRUE(s.measure(0, 0)->setVoltaText(BcString("1.-2.")));
             s.measure(0, 1)->setVoltaMask(5);
         },
         {"barline[location=left](ending[number=1, 2,type=start]=1.-2.) | "
          "barline[location=right](bar-style=regular ending[number=1, 2,type=stop])",
          "barline[location=left](ending[number=1, 3,type=start]=1. 3.) | "
          "barline[location=right](bar-style=regular ending[number=1, 3,type=discontinue])"}},
        {"an ending over a start repeat keeps its right barline", 1, 2,
         [](ExportTestSheet& s) {
             s.measure(0, 0)->setVoltaMask(1);
             s.measure(0, 0)->setBarline(MnBarlineStartRepeat);
         },
         {"barline[location=left](ending[number=1,type=start]=1.) | "
          "barline[location=right](ending[number=1,type=discontinue])",
          forward + " | " + regular}},
        {"segno and coda in the first part only, with a repeat", 2, 3,
         [](ExportTestSheet& s) {
             forColumn(s, 0, [](MnMeasure* m) { m->setBarline(MnBarlineStartRepeat); });
             forColumn(s, 1, [](MnMeasure* m) { m->setRepeatMarker(MnRepeatMarkerSegno); });
             forColumn(s, 2, [](MnMeasure* m) { m->setRepeatMarker(MnRepeatMarkerCoda); });
         },
         {"", "barline[location=left](bar-style=heavy-light segno repeat[direction=forward]) | " + regular,
          "barline[location=left](coda) | " + regular, "", forward + " | " + regular, regular}},
    };
    int index = 0;
    for (const BarlineRow& row : rows) {
        SCOPED_TRACE(row.name);
        ExportTestSheet sheet(row.staves, row.measures);
        row.write(sheet);
        ExportedMusicXml file(&sheet.sheet, nullptr, "barlines-" + std::to_string(index++));
        std::vector<std::string> barlines;
        for (const TiXmlElement* part : file.select("part")) {
            for (const TiXmlElement* measure : file.select("measure", part))
                barlines.push_back(childLines(measure, "barline"));
        }
        EXPECT_EQ(barlines, row.barlines);
        // The left barline opens the measure, the right one closes it.
        for (const TiXmlElement* measure : file.select("part/measure")) {
            for (const TiXmlElement* barline : file.select("barline", measure)) {
                const std::string location = barline->Attribute("location");
                EXPECT_EQ(barline == measure->FirstChildElement() ? "left" : barline == measure->LastChild()
                                                                                    ? "right"
                                                                                    : "inside",
                          location);
            }
        }
    }
}
