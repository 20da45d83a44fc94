#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcString.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnNote.h"
#include "model/MnStaffChange.h"

#include "interchange/ExportTestSheet.h"
#include "interchange/ExportedMusicXml.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

void addNote(MnMeasure* measure, int voice, int time, int duration)
{
    ASSERT_NE(measure->addNote(voice, time, 4, 4, MnAccidentalNone, duration, false), nullptr);
}

void addTuplet(MnMeasure* measure, int time, int span, int count, int value)
{
    ASSERT_TRUE(measure->makeTuplet(0, time, span, count, false));
    for (int i = 0; i < count; ++i)
        addNote(measure, 0, time + i * (span / count), value);
}

// The durations of the measure's notes and backups in order; a note
// without a duration shows as "-".
std::string durations(const TiXmlElement* measure)
{
    std::string line;
    for (const TiXmlElement* child = measure ? measure->FirstChildElement() : nullptr; child;
         child = child->NextSiblingElement()) {
        const std::string name = child->Value();
        if (name != "note" && name != "backup")
            continue;
        if (!line.empty())
            line += ' ';
        if (std::string(child->Value()) == "backup")
            line += "backup ";
        line += childText(child, "duration");
    }
    return line;
}

struct DivisionsRow
{
    const char* name;
    int staves;
    int timeType;
    std::function<void(ExportTestSheet&)> write;
    int part;
    int divisions;
    const char* durations;
};

} // namespace

TEST(IeMusicXmlExporterMeasures, DivisionsMakeEveryDurationWhole)
{
    const DivisionsRow rows[] = {
        {"eighths in 4/4", 1, MnTime4_4,
         [](ExportTestSheet& s) {
             MnMeasure* m = s.measure(0, 0);
             addNote(m, 0, 0, MnTicksQuarter);
             addNote(m, 0, MnTicksQuarter, MnTicksHalf);
             addNote(m, 0, 3 * MnTicksQuarter, MnTicksEighth);
             addNote(m, 0, 3 * MnTicksQuarter + MnTicksEighth, MnTicksEighth);
             addNote(m, 1, 0, MnTicksPerWhole);
         },
         1, 2, "2 4 1 1 backup 8 8"},
        {"eighth triplets in 2/4", 1, MnTime2_4,
         [](ExportTestSheet& s) {
             addTuplet(s.measure(0, 0), 0, MnTicksQuarter, 3, MnTicksEighth);
             addNote(s.measure(0, 0), 0, MnTicksQuarter, MnTicksQuarter);
         },
         1, 3, "1 1 1 3"},
        {"another staff's sixteenths raise a part of quarters", 2, MnTime4_4,
         [](ExportTestSheet& s) {
             for (int beat = 0; beat < 4; ++beat)
                 addNote(s.measure(0, 0), 0, beat * MnTicksQuarter, MnTicksQuarter);
             for (int i = 0; i < 4; ++i)
                 addNote(s.measure(1, 0), 0, i * MnTicksSixteenth, MnTicksSixteenth);
         },
         1, 4, "4 4 4 4"},
        {"six quarter-note triplets in 4/4", 1, MnTime4_4,
         [](ExportTestSheet& s) {
             addTuplet(s.measure(0, 0), 0, MnTicksHalf, 3, MnTicksQuarter);
             addTuplet(s.measure(0, 0), MnTicksHalf, MnTicksHalf, 3, MnTicksQuarter);
         },
         1, 3, "2 2 2 2 2 2"},
        {"half-note triplets in 4/4", 1, MnTime4_4,
         [](ExportTestSheet& s) { addTuplet(s.measure(0, 0), 0, MnTicksPerWhole, 3, MnTicksHalf); }, 1, 3,
         "4 4 4"},
        {"dotted quarters in 3/8", 1, MnTime3_8,
         [](ExportTestSheet& s) { addNote(s.measure(0, 0), 0, 0, 90720); }, 1, 2, "3"},
        {"quintuplet sixteenths in 2/4", 1, MnTime2_4,
         [](ExportTestSheet& s) {
             addTuplet(s.measure(0, 0), 0, MnTicksQuarter, 5, MnTicksSixteenth);
             addNote(s.measure(0, 0), 0, MnTicksQuarter, MnTicksQuarter);
         },
         1, 5, "1 1 1 1 1 5"},
    };
    int index = 0;
    for (const DivisionsRow& row : rows) {
        SCOPED_TRACE(row.name);
        ExportTestSheet sheet(row.staves, 1, row.timeType);
        row.write(sheet);
        IeMusicXmlExporter exporter;
        EXPECT_EQ(exporter.partDivisions(sheet.score, row.part - 1), row.divisions);
        ExportedMusicXml file(&sheet.sheet, nullptr, "divisions-" + std::to_string(index++));
        std::vector<const TiXmlElement*> parts = file.select("part");
        ASSERT_GE(int(parts.size()), row.part);
        EXPECT_EQ(durations(file.select("measure", parts[row.part - 1])[0]), row.durations);
    }
}

namespace {

// Random music over a few staves and meters: values from a 64th to a half,
// dotted values, tuplets of 2 to 9 over many spans, chords, grace notes and
// a second voice; some sheets of long values only.
class RandomSheet
{
public:
    explicit RandomSheet(unsigned seed) : random(seed) {}

    std::unique_ptr<ExportTestSheet> make()
    {
        static const int meters[] = {MnTime4_4, MnTime2_4, MnTime3_4, MnTime6_8, MnTime9_8, MnTime3_8, MnTime12_8};
        const int meter = meters[pick(0, 6)];
        coarse = pick(0, 2) == 0;
        std::unique_ptr<ExportTestSheet> sheet(new ExportTestSheet(pick(1, 3), pick(1, 4), meter));
        for (int s = 0; s < sheet->score->staffCount(); ++s) {
            for (int m = 0; m < sheet->score->staff(s)->measureCount(); ++m) {
                writeVoice(sheet->measure(s, m), 0);
                if (pick(0, 2) == 0)
                    writeVoice(sheet->measure(s, m), 1);
            }
        }
        return sheet;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    void writeVoice(MnMeasure* measure, int voice)
    {
        static const int values[] = {MnTicksHalf, MnTicksQuarter, 90720,       MnTicksEighth,
                                     45360,       MnTicksSixteenth, 22680,     MnTicks32nd, MnTicks64th};
        // Music of long values only has a coarse grid, which tuplets divide
        // into slots that need not be whole divisions of a quarter.
        const int shortest = coarse ? 2 : 8;
        // Rests of values that fill the measure, then tuplets over some of
        // them, then notes in most chords. A value that does not fit gives
        // way to the longest plain one that does.
        int time = 0;
        while (time < measure->length()) {
            int value = values[pick(0, shortest)];
            if (time + value > measure->length() || time % value != 0) {
                value = MnTicksHalf;
                while (time + value > measure->length() || time % value != 0)
                    value /= 2;
            }
            if (!measure->setRest(voice, time, value))
                return;
            time += value;
        }
        BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = 0; i < chords.count(); ++i) {
            if (pick(0, coarse ? 1 : 2) == 0)
                measure->makeTuplet(voice, chords[i]->time(), chords[i]->duration(), coarse ? 3 : pick(2, 9),
                                    pick(0, 1) == 1);
        }
        for (int i = 0; i < chords.count(); ++i) {
            MnChord* chord = chords[i];
            if (chord->isGrace() || pick(0, 3) == 0)
                continue;
            for (int n = pick(1, 3); n > 0; --n)
                chord->addNote(pick(0, 6), pick(3, 5), MnAccidentalNone, false);
            if (voice == 0 && pick(0, 5) == 0)
                measure->addGraceNote(chord, pick(0, 6), 5, MnAccidentalNone, MnTicksSixteenth);
        }
    }

    std::mt19937 random;
    bool coarse = false;
};

} // namespace

TEST(IeMusicXmlExporterMeasures, EveryVoiceFillsItsMeasureInDivisions)
{
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::unique_ptr<ExportTestSheet> sheet = RandomSheet(seed).make();
        ExportedMusicXml file(&sheet->sheet, nullptr, "random-" + std::to_string(seed));
        IeMusicXmlExporter exporter;
        std::vector<const TiXmlElement*> parts = file.select("part");
        ASSERT_EQ(int(parts.size()), sheet->score->staffCount());
        for (int p = 0; p < int(parts.size()); ++p) {
            const MnStaff* staff = sheet->score->staff(p);
            const long long divisions = exporter.partDivisions(sheet->score, p);
            std::vector<const TiXmlElement*> measures = file.select("measure", parts[p]);
            ASSERT_EQ(int(measures.size()), staff->measureCount());
            for (int m = 0; m < staff->measureCount(); ++m) {
                SCOPED_TRACE("part " + std::to_string(p + 1) + " measure " + std::to_string(m + 1));
                const long long whole = staff->measure(m)->length() * divisions;
                ASSERT_EQ(whole % MnTicksQuarter, 0);
                // Per voice: the durations up to a backup, and the backup;
                // the notes of a chord after its first take no time.
                std::vector<long long> sums(1, 0);
                for (const TiXmlElement* child = measures[m]->FirstChildElement(); child;
                     child = child->NextSiblingElement()) {
                    const long long duration = std::atoll(childText(child, "duration").c_str());
                    if (std::string(child->Value()) == "backup") {
                        EXPECT_EQ(duration, whole / MnTicksQuarter);
                        sums.push_back(0);
                    } else if (!child->FirstChildElement("chord")) {
                        sums.back() += duration;
                    }
                }
                for (long long sum : sums)
                    EXPECT_EQ(sum, whole / MnTicksQuarter);
            }
        }
    }
}

TEST(IeMusicXmlExporterMeasures, StreamedAsBuiltForRandomMusic)
{
    FixedExportClock clock;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::unique_ptr<ExportTestSheet> sheet = RandomSheet(seed).make();
        expectStreamedAsBuilt(&sheet->sheet, nullptr, "streamed-random-" + std::to_string(seed));
    }
}

TEST(IeMusicXmlExporterMeasures, ASecondVoiceOfOneRestIsLeftOut)
{
    ExportTestSheet sheet(1, 3);
    // Measure 1: voice 2 is its whole-measure rest; measure 2: voice 2 holds
    // a note; measure 3: voice 2 is a hidden rest.
    addNote(sheet.measure(0, 0), 0, 0, MnTicksPerWhole);
    addNote(sheet.measure(0, 1), 0, 0, MnTicksPerWhole);
    addNote(sheet.measure(0, 1), 1, 0, MnTicksHalf);
    sheet.measure(0, 2)->voiceChords(1)[0]->setHidden(true);
    ExportedMusicXml file(&sheet.sheet, nullptr, "second-voice");
    std::vector<const TiXmlElement*> measures = file.select("part/measure");
    ASSERT_EQ(measures.size(), 3u);
    // The first measure opens with the staff's attributes and the starting
    // tempo; each closes with its barline.
    EXPECT_EQ(childNames(measures[0]), "attributes direction note barline");
    EXPECT_EQ(childNames(measures[1]), "note backup note note barline");
    EXPECT_EQ(childText(measures[1]->LastChild("note")->ToElement(), "voice"), "2");
    EXPECT_EQ(childNames(measures[2]), "note barline");
}

TEST(IeMusicXmlExporterMeasures, WritesEveryMeasureOfEveryPageInOrder)
{
    ExportTestSheet sheet(2, 60);
    for (int m = 0; m < 60; ++m)
        for (int beat = 0; beat < 4; ++beat)
            addNote(sheet.measure(m % 2, m), 0, beat * MnTicksQuarter, MnTicksQuarter);
    {
        MnCache scope;
        ASSERT_GT(sheet.sheet.pageCount(), 1);
    }
    ExportedMusicXml file(&sheet.sheet, nullptr, "pages");
    for (const TiXmlElement* part : file.select("part")) {
        std::vector<const TiXmlElement*> measures = file.select("measure", part);
        ASSERT_EQ(measures.size(), 60u);
        for (int m = 0; m < 60; ++m)
            EXPECT_EQ(std::string(measures[m]->Attribute("number")), std::to_string(m + 1));
    }
}

TEST(IeMusicXmlExporterMeasures, WidthsAreTheLaidOutColumnsLessTheRoomOfAChangeInTheHeader)
{
    ExportTestSheet sheet(2, 6);
    sheet.measure(0, 1)->setSystemBreak(1);
    // A change of key and time where the second system starts.
    for (int s = 0; s < 2; ++s) {
        MnStaff* staff = sheet.score->staff(s);
        ASSERT_TRUE(staff->insertStaffChange(staff->measure(2)->startTime()));
        ASSERT_TRUE(staff->change(0)->setKey(3));
        ASSERT_TRUE(staff->change(0)->setTimeType(MnTimeCommon));
    }
    double expected[6] = {};
    double headerRoom = 0.0;
    {
        MnCache scope;
        int first = 0;
        while (first < 6) {
            double stretch = 1.0;
            const int count = sheet.sheet.fitSystem(first, stretch);
            for (int i = first; i < first + count; ++i) {
                BcArray<int> onsets;
                BcArray<double> x;
                sheet.score->layoutMeasureColumn(i, onsets, x, stretch);
                expected[i] = x[x.count() - 1];
            }
            if (first == 2) {
                const int start = sheet.measure(0, 2)->startTime();
                headerRoom =
                    sheet.score->keySignatureWidth(start, true, 2.0) + sheet.score->timeSignatureWidth(start, 2.0);
            }
            first += count;
        }
        double stretch = 1.0;
        ASSERT_EQ(sheet.sheet.fitSystem(0, stretch), 2);
    }
    ASSERT_GT(headerRoom, 0.0);
    expected[2] -= headerRoom;
    ExportedMusicXml file(&sheet.sheet, nullptr, "widths");
    for (const TiXmlElement* part : file.select("part")) {
        std::vector<const TiXmlElement*> measures = file.select("measure", part);
        ASSERT_EQ(measures.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(std::string(measures[i]->Attribute("width")),
                      BcString(expected[i] / IeMusicXmlExporter::millimetresPerTenth).toNarrow(BcString::utf8CodePage))
                << "measure " << i + 1;
        }
    }
}
