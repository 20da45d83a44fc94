#include "interchange/IeMusicXmlExporter.h"

#include "model/MnDynamic.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"
#include "model/MnTempo.h"

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

void addQuarters(MnMeasure* measure, int voice = 0)
{
    for (int beat = 0; beat < 4; ++beat)
        addNote(measure, voice, beat * MnTicksQuarter, MnTicksQuarter);
}

template <typename T>
T* addLine(ExportTestSheet& sheet, int staff, int time, int kind, int length = 0)
{
    T* line = sheet.score->staff(staff)->addLine<T>(time);
    EXPECT_NE(line, nullptr);
    if (!line)
        return nullptr;
    EXPECT_TRUE(line->setKind(kind));
    if (length > 0)
        line->setLength(length);
    EXPECT_EQ(line->length(), length > 0 ? length : line->length());
    return line;
}

void hideMetronome(ExportTestSheet& sheet)
{
    sheet.score->tempo(0)->setShowMetronome(false);
}

// The notes, moves and directions of each measure of the part: "note",
// "backup=3", "forward=3", or a direction as its placement and content
// ("below:dynamics(mf)"); measures are parted by " | ".
std::string partFlow(const ExportedMusicXml& file, int part)
{
    const std::vector<const TiXmlElement*> parts = file.select("part");
    if (part < 1 || part > int(parts.size()))
        return "no part";
    std::string flow;
    for (const TiXmlElement* measure : file.select("measure", parts[part - 1])) {
        std::string items;
        for (const TiXmlElement* child = measure->FirstChildElement(); child; child = child->NextSiblingElement()) {
            const std::string name = child->Value();
            std::string item;
            if (name == "note") {
                item = "note";
            } else if (name == "backup" || name == "forward") {
                item = name + "=" + childText(child, "duration");
            } else if (name == "direction") {
                const char* placement = child->Attribute("placement");
                item = std::string(placement ? placement : "?") + ":" +
                       compactContent(child->FirstChildElement("direction-type"));
                // The frame holds one direction-type and nothing else.
                if (childNames(child) != "direction-type")
                    item += " [" + childNames(child) + "]";
            }
            if (!item.empty())
                items += (items.empty() ? "" : " ") + item;
        }
        flow += (flow.empty() ? "" : " | ") + items;
    }
    return flow;
}

struct DirectionRow
{
    const char* name;
    int staves;
    int measures;
    std::function<void(ExportTestSheet&)> write;
    // partFlow of each part.
    std::vector<std::string> flows;
};

} // namespace

TEST(IeMusicXmlExporterDirections, WritesEachDirectionAtItsTime)
{
    const DirectionRow rows[] = {
        {"a shown metronome of 96 quarters, in part 1 only", 2, 1, [](ExportTestSheet&) {},
         {"above:metronome(beat-unit=quarter per-minute=96) note", "note"}},
        {"a dotted quarter beat", 1, 1,
         [](ExportTestSheet& s) {
             ASSERT_TRUE(s.score->tempo(0)->setBeatUnit(MnTicksQuarter * 3 / 2));
             ASSERT_TRUE(s.score->tempo(0)->setBeatsPerMinute(72));
         },
         {"above:metronome(beat-unit=quarter beat-unit-dot per-minute=72) note"}},
        {"a hidden metronome", 1, 1, hideMetronome, {"note"}},
        {"a beat that no note value names", 1, 1,
         [](ExportTestSheet& s) { ASSERT_TRUE(s.score->tempo(0)->setBeatUnit(50000)); }, {"note"}},
        {"marks below and above the staff; a word dynamic is not written", 1, 1,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             addQuarters(s.measure(0, 0));
             addLine<MnDynamic>(s, 0, 0, MnDynamicMF);
             MnDynamic* loud = addLine<MnDynamic>(s, 0, MnTicksQuarter, MnDynamicF);
             ASSERT_TRUE(loud->setOffset(2.0));
             addLine<MnDynamic>(s, 0, MnTicksHalf, MnDynamicCresc);
         },
         {"below:dynamics(mf) note above:dynamics(f) note note note"}},
        {"a crescendo over beats 1 to 3", 1, 1,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             addQuarters(s.measure(0, 0));
             addLine<MnDynamic>(s, 0, 0, MnDynamicCrescendoHairpin, MnTicksHalf);
         },
         {"below:wedge[type=crescendo] note note below:wedge[type=stop,spread=20] note note"}},
        {"a diminuendo over beats 2 to 4", 1, 1,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             addQuarters(s.measure(0, 0));
             addLine<MnDynamic>(s, 0, MnTicksQuarter, MnDynamicDiminuendoHairpin, MnTicksHalf);
         },
         {"note below:wedge[type=diminuendo,spread=20] note note below:wedge[type=stop] note"}},
        {"an 8va over two measures", 1, 3,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             addLine<MnOctave>(s, 0, 0, MnOctaveOneUp, 2 * MnTicksPerWhole);
         },
         {"above:octave-shift[type=down,size=8] note | note | above:octave-shift[type=stop] note"}},
        {"an 8va below the staff, a 15ma", 1, 3,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             MnOctave* low = addLine<MnOctave>(s, 0, 0, MnOctaveOneUp, MnTicksPerWhole);
             ASSERT_TRUE(low->setOffset(-12.0));
             addLine<MnOctave>(s, 0, 2 * MnTicksPerWhole, MnOctaveTwoUp, MnTicksHalf);
         },
         {"below:octave-shift[type=up,size=8] note | below:octave-shift[type=stop] note | "
          "above:octave-shift[type=down,size=15] note backup=2 above:octave-shift[type=stop] forward=2"}},
        {"pedals of kinds 5, 3 and 4", 1, 3,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             for (int i = 0; i < 3; ++i)
                 addQuarters(s.measure(0, i));
             const int kinds[] = {MnPedalHookLineHook, MnPedalSignRelease, MnPedalSign};
             for (int i = 0; i < 3; ++i)
                 addLine<MnPedal>(s, 0, i * MnTicksPerWhole, kinds[i], MnTicksHalf);
         },
         {"below:pedal[type=start,line=yes,sign=no] note note below:pedal[type=stop] note note | "
          "below:pedal[type=start,line=no,sign=yes] note note below:pedal[type=stop] note note | "
          "below:pedal[type=start,line=no,sign=yes] note note below:pedal[type=stop] note note"}},
        {"D.C. al Fine on an inner measure, in part 1 only", 2, 2,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             for (int staff = 0; staff < 2; ++staff)
                 ASSERT_TRUE(s.measure(staff, 0)->setRepeatJump(MnRepeatJumpDaCapoAlFine));
         },
         {"note | above:words=D.C. al Fine note", "note | note"}},
        {"D.S. al Coda on the last measure", 1, 2,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             ASSERT_TRUE(s.measure(0, 1)->setRepeatJump(MnRepeatJumpDalSegnoAlCoda));
         },
         {"note | note above:words=D.S. al Coda"}},
        {"a hairpin ending at the piece's end", 1, 1,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             addQuarters(s.measure(0, 0));
             addLine<MnDynamic>(s, 0, MnTicksHalf, MnDynamicCrescendoHairpin, MnTicksHalf);
         },
         {"note note below:wedge[type=crescendo] note note below:wedge[type=stop,spread=20]"}},
        {"a hairpin ending and a mark inside a held note", 1, 1,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             addNote(s.measure(0, 0), 0, 0, MnTicksPerWhole);
             addQuarters(s.measure(0, 0), 1);
             addLine<MnDynamic>(s, 0, 0, MnDynamicCrescendoHairpin, MnTicksQuarter);
             addLine<MnDynamic>(s, 0, MnTicksHalf, MnDynamicMF);
         },
         {"below:wedge[type=crescendo] note backup=3 below:wedge[type=stop,spread=20] forward=3 backup=2 "
          "below:dynamics(mf) forward=2 backup=4 note note note note"}},
        {"a mark at an eighth inside a whole note makes the divisions finer", 1, 1,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             addNote(s.measure(0, 0), 0, 0, MnTicksPerWhole);
             addLine<MnDynamic>(s, 0, MnTicksEighth, MnDynamicPP);
         },
         {"note backup=7 below:dynamics(pp) forward=7"}},
        {"a grace chord before a marked chord: the mark and the hairpin once", 1, 1,
         [](ExportTestSheet& s) {
             hideMetronome(s);
             MnMeasure* m = s.measure(0, 0);
             addQuarters(m);
             ASSERT_NE(m->addGraceNote(m->mainChordAt(0, MnTicksQuarter), 2, 5, MnAccidentalNone, MnTicksEighth),
                       nullptr);
             addLine<MnDynamic>(s, 0, MnTicksQuarter, MnDynamicP);
             addLine<MnPedal>(s, 0, MnTicksQuarter, MnPedalSignRelease, MnTicksHalf);
         },
         // In the staff's order of the lines.
         {"note below:pedal[type=start,line=no,sign=yes] below:dynamics(p) note note note below:pedal[type=stop] "
          "note"}},
    };
    int index = 0;
    for (const DirectionRow& row : rows) {
        SCOPED_TRACE(row.name);
        ExportTestSheet sheet(row.staves, row.measures);
        row.write(sheet);
        ExportedMusicXml file(&sheet.sheet, nullptr, "directions-" + std::to_string(index++));
        std::vector<std::string> flows;
        for (int part = 1; part <= row.staves; ++part)
            flows.push_back(partFlow(file, part));
        EXPECT_EQ(flows, row.flows);
    }
}
