// The directions of a MusicXML export: the starting tempo's metronome,
// dynamic marks, hairpins, octave lines, pedals and the repeat-jump words,
// each in a "direction" of its own.

#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcString.h"
#include "foundation/BcXmlFiler.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnMeasure.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "model/MnTicks.h"

#include <algorithm>

namespace
{
// Staff position of the middle line: marks above it are placed above.
constexpr double middleLine = -4.0;

const char* const dynamicMarks[] = {"ppp", "pp", "p", "mp", "mf", "f", "ff", "fff"};

const char* const jumpWords[] = {nullptr, "Fine", "To Coda", "D.C. al Fine", "D.S. al Fine", "D.C. al Coda",
                                 "D.S. al Coda"};

// The name of an undotted beat for the metronome; null for a length that
// no note value names.
const char* beatName(int ticks)
{
    static const struct
    {
        int ticks;
        const char* name;
    } names[] = {
        {4 * MnTicksPerWhole, "long"}, {2 * MnTicksPerWhole, "breve"}, {MnTicksPerWhole, "whole"},
        {MnTicksHalf, "half"},         {MnTicksQuarter, "quarter"},    {MnTicksEighth, "eighth"},
        {MnTicksSixteenth, "16th"},    {MnTicks32nd, "32nd"},          {MnTicks64th, "64th"},
    };
    for (const auto& row : names) {
        if (row.ticks == ticks)
            return row.name;
    }
    return nullptr;
}

// What a line of the staff writes where it starts and where it ends.
enum LineTimes
{
    writesNothing = 0,
    writesAtStart = 1,
    writesAtEnd = 2,
};

// The octave shift as the file names it: a line below the staff counts
// down however its kind reads.
int octaveShiftOf(const MnLine* line)
{
    return static_cast<const MnOctave*>(line)->pitchShift();
}

int lineTimesOf(const MnLine* line)
{
    if (line->isKindOf(MnDynamic::staticClass())) {
        if (line->kind() >= MnDynamicPPP && line->kind() <= MnDynamicFFF)
            return writesAtStart;
        return MnDynamic::isHairpin(line->kind()) ? writesAtStart | writesAtEnd : writesNothing;
    }
    if (line->isKindOf(MnOctave::staticClass()))
        return octaveShiftOf(line) != 0 ? writesAtStart | writesAtEnd : writesNothing;
    if (line->isKindOf(MnPedal::staticClass()))
        return writesAtStart | writesAtEnd;
    return writesNothing;
}

const char* placementOf(const MnLine* line)
{
    return line->position().y > middleLine ? "above" : "below";
}

// Opens "direction" with its placement and its "direction-type"; true when
// both were added, the cursor then on the type.
bool openDirection(BcXmlFiler& filer, const char* placement)
{
    if (!filer.addElement("direction"))
        return false;
    filer.setAttribute("placement", placement);
    if (filer.addElement("direction-type"))
        return true;
    filer.goToParent();
    return false;
}

void closeDirection(BcXmlFiler& filer)
{
    filer.goToParent();
    filer.goToParent();
}

void writeMetronome(BcXmlFiler& filer, const MnTempo* tempo)
{
    const int beat = tempo->beatUnit();
    const char* name = beatName(beat);
    bool dotted = false;
    if (!name && beat % 3 == 0) {
        name = beatName(beat / 3 * 2);
        dotted = name != nullptr;
    }
    // A metronome without its beat is not one the file can hold.
    if (!name || !openDirection(filer, "above"))
        return;
    if (filer.addElement("metronome")) {
        filer.addTextElement("beat-unit", name);
        if (dotted && filer.addElement("beat-unit-dot"))
            filer.goToParent();
        filer.addTextElementInt("per-minute", tempo->beatsPerMinute());
        filer.goToParent();
    }
    closeDirection(filer);
}

void writeLine(BcXmlFiler& filer, const MnLine* line, bool atStart, bool atEnd)
{
    if (line->isKindOf(MnDynamic::staticClass())) {
        const int kind = line->kind();
        if (kind >= MnDynamicPPP && kind <= MnDynamicFFF) {
            if (!atStart || !openDirection(filer, placementOf(line)))
                return;
            if (filer.addElement("dynamics")) {
                if (filer.addElement(dynamicMarks[kind]))
                    filer.goToParent();
                filer.goToParent();
            }
            closeDirection(filer);
            return;
        }
        if (!MnDynamic::isHairpin(kind) || !openDirection(filer, placementOf(line)))
            return;
        const bool crescendo = kind == MnDynamicCrescendoHairpin;
        if (filer.addElement("wedge")) {
            filer.setAttribute("type", atStart ? (crescendo ? "crescendo" : "diminuendo") : "stop");
            // The open end of the hairpin.
            if (crescendo ? atEnd : atStart)
                filer.setAttribute("spread", 20);
            filer.goToParent();
        }
        closeDirection(filer);
    } else if (line->isKindOf(MnOctave::staticClass())) {
        const int shift = octaveShiftOf(line);
        if (shift == 0 || !openDirection(filer, shift > 0 ? "above" : "below"))
            return;
        if (filer.addElement("octave-shift")) {
            filer.setAttribute("type", !atStart ? "stop" : shift > 0 ? "down" : "up");
            if (atStart)
                filer.setAttribute("size", shift == 1 || shift == -1 ? 8 : 15);
            filer.goToParent();
        }
        closeDirection(filer);
    } else if (line->isKindOf(MnPedal::staticClass())) {
        if (!openDirection(filer, placementOf(line)))
            return;
        if (filer.addElement("pedal")) {
            filer.setAttribute("type", atStart ? "start" : "stop");
            if (atStart) {
                const int kind = line->kind();
                filer.setAttribute("line", kind == MnPedalSignRelease || kind == MnPedalSign ? "no" : "yes");
                filer.setAttribute("sign", kind <= MnPedalSign ? "yes" : "no");
            }
            filer.goToParent();
        }
        closeDirection(filer);
    }
}

// The measure of the staff that ends at the time; null when none does.
const MnMeasure* measureEndingAt(const MnStaff* staff, int time)
{
    const MnMeasure* measure = time > 0 ? staff->measureAtTime(time - 1) : nullptr;
    if (!measure || (long long)measure->startTime() + measure->length() != time)
        return nullptr;
    return measure;
}
} // namespace

void IeMusicXmlExporter::indexDirections(const MnStaff* staff)
{
    if (staff == directionsStaff && MnCache::isCurrent(directionsStamp))
        return;
    directionsStaff = staff;
    directionsStamp = MnCache::currentStamp();
    lineTimes.clear();
    directionTimes.clear();
    octaveSpans.clear();
    const BcArray<MnLine*>& lines = staff->lineArray();
    for (int i = 0; i < lines.count(); ++i) {
        const MnLine* line = lines[i];
        if (line->isKindOf(MnOctave::staticClass()))
            octaveSpans.push_back({line->start(), (long long)line->start() + line->length(), octaveShiftOf(line)});
        const int times = lineTimesOf(line);
        if (times & writesAtStart)
            lineTimes.push_back({line->start(), i});
        // A line of no length writes its start and its end at once.
        if ((times & writesAtEnd) && line->length() > 0)
            lineTimes.push_back({(long long)line->start() + line->length(), i});
    }
    std::sort(lineTimes.begin(), lineTimes.end());
    for (const auto& entry : lineTimes)
        directionTimes.push_back(entry.first);
    const MnScore* score = staff->score();
    if (staff->index() == 0) {
        if (score && score->tempoCount() > 0 && score->tempo(0)->showsMetronome())
            directionTimes.push_back(0);
        for (int i = 0; i < staff->measureCount(); ++i) {
            const MnMeasure* measure = staff->measure(i);
            if (measure->repeatJump() != MnRepeatJumpNone && mnIsRepeatJump(measure->repeatJump()))
                directionTimes.push_back((long long)measure->startTime() + measure->length());
        }
    }
    std::sort(directionTimes.begin(), directionTimes.end());
    directionTimes.erase(std::unique(directionTimes.begin(), directionTimes.end()), directionTimes.end());
}

int IeMusicXmlExporter::octaveShiftAt(const MnChord* chord)
{
    const MnMeasure* measure = chord ? chord->measure() : nullptr;
    const MnStaff* staff = measure ? measure->staff() : nullptr;
    if (!staff)
        return 0;
    indexDirections(staff);
    const long long time = (long long)measure->startTime() + chord->time();
    int shift = 0;
    for (const OctaveSpan& span : octaveSpans) {
        if (span.start <= time && time < span.end)
            shift = span.shift;
    }
    return shift;
}

void IeMusicXmlExporter::directionTimesIn(const MnStaff* staff, long long from, long long to,
                                          std::vector<long long>& times)
{
    times.clear();
    if (!staff)
        return;
    indexDirections(staff);
    for (auto at = std::lower_bound(directionTimes.begin(), directionTimes.end(), from);
         at != directionTimes.end() && *at < to; ++at)
        times.push_back(*at);
}

void IeMusicXmlExporter::writeDirections(BcXmlFiler& filer, MnStaff* staff, int time)
{
    if (!staff)
        return;
    indexDirections(staff);
    const MnScore* score = staff->score();
    const bool first = staff->index() == 0;
    if (time == 0 && first && score && score->tempoCount() > 0 && score->tempo(0)->showsMetronome())
        writeMetronome(filer, score->tempo(0));

    const BcArray<MnLine*>& lines = staff->lineArray();
    const std::pair<long long, int> from{time, -1};
    for (auto at = std::lower_bound(lineTimes.begin(), lineTimes.end(), from);
         at != lineTimes.end() && at->first == time; ++at) {
        const MnLine* line = lines[at->second];
        const bool atStart = line->start() == time;
        const bool atEnd = (long long)line->start() + line->length() == time;
        // A hairpin, octave line or pedal of no length still closes, or
        // the file would leave it open.
        if (atStart && atEnd && (lineTimesOf(line) & writesAtEnd)) {
            writeLine(filer, line, true, false);
            writeLine(filer, line, false, true);
        } else {
            writeLine(filer, line, atStart, atEnd);
        }
    }

    if (!first)
        return;
    const MnMeasure* ended = measureEndingAt(staff, time);
    const int jump = ended ? ended->repeatJump() : MnRepeatJumpNone;
    if (jump != MnRepeatJumpNone && mnIsRepeatJump(jump) && openDirection(filer, "above")) {
        filer.addTextElement("words", jumpWords[jump]);
        closeDirection(filer);
    }
}
