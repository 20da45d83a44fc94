#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcClass.h"
#include "foundation/BcString.h"
#include "model/MnCredit.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnWork.h"

#include "interchange/ExportTestSheet.h"
#include "interchange/ExportedMusicXml.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dirent.h>
#include <limits>
#include <memory>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

static bool fileExists(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

static std::string folderListing(const std::string& folder)
{
    std::string listing;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                listing += name + "\n";
        }
        closedir(dir);
    }
    return listing;
}

TEST(IeMusicXmlExporter, IsRegisteredWithAFactory)
{
    ASSERT_NE(IeMusicXmlExporter::staticClass(), nullptr);
    std::unique_ptr<BcObject> made(IeMusicXmlExporter::staticClass()->createObject());
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isKindOf(IeMusicXmlExporter::staticClass()));
    EXPECT_EQ(static_cast<IeMusicXmlExporter*>(made.get())->scale, 1.0);
}

TEST(IeMusicXmlExporter, WritesTheFrameInOrder)
{
    FixedExportClock clock;
    ExportTestSheet sheet(3);
    MnWork work;
    work.title = "Ständchen & <Lied>";
    work.subtitle = "for three";
    work.composer = "A. Composer";
    work.arranger = "B. Arranger";
    work.lyricist = "C. Lyricist";
    work.copyright = "© 2024";
    ExportedMusicXml file(&sheet.sheet, &work, "frame");

    EXPECT_EQ(readWholeFile(file.path).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>", 0), 0u);
    ASSERT_NE(file.root(), nullptr);
    EXPECT_STREQ(file.root()->Value(), "score-partwise");
    EXPECT_STREQ(file.root()->Attribute("version"), "3.1");
    EXPECT_EQ(childNames(file.root()), "work identification defaults credit credit part-list part part part");
    EXPECT_EQ(compactContent(file.select("work")[0]), "work-title=Ständchen & <Lied>");
    EXPECT_EQ(compactContent(file.select("identification")[0]),
              "creator[type=composer]=A. Composer creator[type=arranger]=B. Arranger "
              "creator[type=lyricist]=C. Lyricist rights=© 2024 "
              "encoding(software=Quorvane 1.5.1 encoding-date=2024-03-07)");
    std::vector<const TiXmlElement*> parts = file.select("part");
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_STREQ(parts[0]->Attribute("id"), "P1");
    EXPECT_STREQ(parts[2]->Attribute("id"), "P3");
}

TEST(IeMusicXmlExporter, EmptyWorkTextsLeaveOnlyTheEncoding)
{
    FixedExportClock clock;
    MnWork empty;
    const struct
    {
        const char* name;
        MnWork* work;
    } rows[] = {{"empty-work", &empty}, {"no-work", nullptr}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ExportTestSheet sheet;
        ExportedMusicXml file(&sheet.sheet, row.work, row.name);
        EXPECT_EQ(childNames(file.root()), "identification defaults credit credit part-list part");
        EXPECT_EQ(compactContent(file.select("identification")[0]),
                  "encoding(software=Quorvane 1.5.1 encoding-date=2024-03-07)");
    }
}

TEST(IeMusicXmlExporter, AClockThatCannotBeReadWritesNoDate)
{
    TestClock clock(std::numeric_limits<time_t>::max());
    ExportTestSheet sheet;
    ExportedMusicXml file(&sheet.sheet, nullptr, "no-date");
    EXPECT_EQ(compactContent(file.select("identification")[0]), "encoding(software=Quorvane 1.5.1)");
}

TEST(IeMusicXmlExporter, WritesThePageLayoutInTenths)
{
    ExportTestSheet sheet;
    ASSERT_EQ(sheet.sheet.paperWidth(), 210);
    ASSERT_EQ(sheet.sheet.storedTopMargin(), 16);
    ExportedMusicXml file(&sheet.sheet, nullptr, "a4");
    EXPECT_EQ(compactContent(file.select("defaults")[0]),
              "scaling(millimeters=6.350000 tenths=40.000000) "
              "page-layout(page-height=1870.866142 page-width=1322.834646 page-margins[type=both]("
              "left-margin=62.992126 right-margin=62.992126 top-margin=100.787402 bottom-margin=100.787402))");
}

TEST(IeMusicXmlExporter, TwoExportsWithOneClockAreIdentical)
{
    FixedExportClock clock;
    ExportTestSheet sheet(2, 3);
    sheet.measure(0, 1)->addNote(0, 0, 0, 4, MnAccidentalNone, MnTicksHalf, false);
    MnWork work;
    work.title = "Twice";
    ExportedMusicXml first(&sheet.sheet, &work, "twice-1");
    ExportedMusicXml second(&sheet.sheet, &work, "twice-2");
    const std::string bytes = readWholeFile(first.path);
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(bytes, readWholeFile(second.path));
}

TEST(IeMusicXmlExporter, AFailedSaveAnswersFalseAndKeepsWhatWasThere)
{
    ExportTestSheet sheet;
    IeMusicXmlExporter exporter;

    const std::string missing = exportOutputPath("no-such-folder/score.musicxml");
    EXPECT_FALSE(exporter.exportFile(widePath(missing).c_str(), nullptr, &sheet.sheet));
    EXPECT_FALSE(fileExists(missing));

    // A file that cannot grow past a few bytes: the write fails as on a full
    // disk, which even root meets.
    const std::string folder = exportOutputPath("full-disk");
    mkdir(folder.c_str(), 0777);
    const std::string path = folder + "/score.musicxml";
    FILE* old = std::fopen(path.c_str(), "wb");
    ASSERT_NE(old, nullptr);
    std::fputs("old", old);
    std::fclose(old);
    rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small = limit;
    small.rlim_cur = 256;
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = exporter.exportFile(widePath(path).c_str(), nullptr, &sheet.sheet);
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readWholeFile(path), "old");
    EXPECT_EQ(folderListing(folder), "score.musicxml\n");

    EXPECT_FALSE(exporter.exportFile(nullptr, nullptr, &sheet.sheet));
    EXPECT_FALSE(exporter.exportFile(widePath(path).c_str(), nullptr, nullptr));
    EXPECT_EQ(readWholeFile(path), "old");
}

TEST(IeMusicXmlExporter, WritesToAPathOutsideAscii)
{
    ExportTestSheet sheet;
    ExportedMusicXml file(&sheet.sheet, nullptr, "Übung 楽譜 😀");
    EXPECT_TRUE(file.exported);
    EXPECT_TRUE(fileExists(file.path));
    EXPECT_EQ(childNames(file.root()), "identification defaults credit credit part-list part");
}

TEST(IeMusicXmlExporter, WritesEachCreditWithItsPlaceAndAlignment)
{
    ExportTestSheet sheet;
    // What a new sheet starts with: the title centred at the top margin, the
    // composer right-aligned 25 mm below it.
    MnCredit* free = sheet.sheet.addCredit(1);
    ASSERT_NE(free, nullptr);
    free->setText("Free text");
    free->setType(MnCreditRights);
    free->setCreditAlignment(-1);
    free->setAlignment(10); // baseline row
    free->setSize(9.75);
    free->moveTo(GePoint2d(30.0, -100.0));
    ExportedMusicXml file(&sheet.sheet, nullptr, "credits");

    std::vector<const TiXmlElement*> credits = file.select("credit");
    ASSERT_EQ(credits.size(), 3u);
    const char* const expected[] = {
        "credit-words[default-x=0.000000,default-y=1770.078740,font-size=16,justify=center,valign=top]=Untitled",
        "credit-words[default-x=0.000000,default-y=1612.598425,font-size=8,justify=right,valign=top]=Unknown",
        "credit-type=rights credit-words[default-x=188.976378,default-y=1140.157480,font-size=9,valign=baseline]"
        "=Free text",
    };
    const char* const pages[] = {"1", "1", "2"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(credits[i]->Attribute("page"), pages[i]);
        EXPECT_EQ(compactContent(credits[i]), expected[i]);
    }
}

TEST(IeMusicXmlExporter, NumbersPartGroupsByNesting)
{
    struct Group
    {
        int first;
        int count;
        int bracket;
        const char* name;
    };
    const struct
    {
        const char* name;
        std::vector<Group> groups;
        const char* partList;
    } rows[] = {
        {"two groups side by side reuse number 1",
         {{0, 2, 0, ""}, {2, 2, 1, "Strings"}},
         "part-group[number=1,type=start](group-symbol=brace) score-part[id=P1](part-name) "
         "score-part[id=P2](part-name) part-group[number=1,type=stop] "
         "part-group[number=1,type=start](group-name=Strings group-symbol=bracket) score-part[id=P3](part-name) "
         "score-part[id=P4](part-name) part-group[number=1,type=stop]"},
        {"two groups starting at one staff open in group order",
         {{0, 4, 2, ""}, {0, 2, 3, ""}},
         "part-group[number=1,type=start](group-symbol=square) part-group[number=2,type=start](group-symbol=line) "
         "score-part[id=P1](part-name) score-part[id=P2](part-name) part-group[number=2,type=stop] "
         "score-part[id=P3](part-name) score-part[id=P4](part-name) part-group[number=1,type=stop]"},
        {"a group after a nested one takes the freed number",
         {{0, 4, 0, ""}, {0, 2, 0, ""}, {2, 2, 0, ""}},
         "part-group[number=1,type=start](group-symbol=brace) part-group[number=2,type=start](group-symbol=brace) "
         "score-part[id=P1](part-name) score-part[id=P2](part-name) part-group[number=2,type=stop] "
         "part-group[number=2,type=start](group-symbol=brace) score-part[id=P3](part-name) "
         "score-part[id=P4](part-name) part-group[number=1,type=stop] part-group[number=2,type=stop]"},
    };
    int index = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ExportTestSheet sheet(4);
        for (const Group& spec : row.groups) {
            MnPartGroup* group = sheet.score->addPartGroup(spec.first, spec.count);
            ASSERT_NE(group, nullptr);
            group->setBracketType(spec.bracket);
            group->setName(spec.name);
        }
        ExportedMusicXml file(&sheet.sheet, nullptr, "part-groups-" + std::to_string(index++));
        EXPECT_EQ(compactContent(file.select("part-list")[0]), row.partList);
    }
}

TEST(IeMusicXmlExporter, WritesPartNamesAndAbbreviations)
{
    ExportTestSheet sheet(3);
    sheet.score->part(0)->setName("Violin");
    sheet.score->part(0)->setAbbreviation("Vl.");
    sheet.score->part(2)->setName("Cello");
    MnPartGroup* group = sheet.score->addPartGroup(0, 3);
    ASSERT_NE(group, nullptr);
    group->setName("Trio");
    group->setAbbreviation("Tr.");
    ExportedMusicXml file(&sheet.sheet, nullptr, "part-names");
    EXPECT_EQ(compactContent(file.select("part-list")[0]),
              "part-group[number=1,type=start](group-name=Trio group-abbreviation=Tr. group-symbol=brace) "
              "score-part[id=P1](part-name=Violin part-abbreviation=Vl.) score-part[id=P2](part-name) "
              "score-part[id=P3](part-name=Cello) part-group[number=1,type=stop]");
}
