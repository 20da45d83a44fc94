// The parts of a MusicXML export: one part per staff, walked system by
// system as the pagination lays it out, its measures with their widths, the
// part's divisions and the two voices with a backup between them.

#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcArray.h"
#include "foundation/BcString.h"
#include "foundation/BcXmlFiler.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"

#include <numeric>

// The fewest divisions per quarter in which the ticks are a whole number:
// a divisor of the quarter's ticks.
static long long divisionsHolding(long long ticks)
{
    return MnTicksQuarter / std::gcd(ticks, (long long)MnTicksQuarter);
}

int IeMusicXmlExporter::partDivisions(const MnScore* score, int staffIndex)
{
    if (!score || staffIndex < 0 || staffIndex >= score->staffCount())
        return 1;
    MnCache scope;
    if (score != divisionsScore || !MnCache::isCurrent(divisionsStamp)) {
        // Per measure, the slots of the finest grid on which any staff starts
        // a chord there must be whole divisions: with w slots in a measure
        // of length L, w x quarter / gcd(w x quarter, L). Kept to a divisor of
        // the quarter's ticks, which loses no slot of whole ticks and keeps
        // every later multiple in range.
        long long divisions = 1;
        const MnStaff* lead = score->staff(0);
        for (int i = 0; i < lead->measureCount(); ++i) {
            const MnMeasure* measure = lead->measure(i);
            const long long length = measure->length();
            if (length <= 0)
                continue;
            const long long slots = (long long)measure->divisions(false) * MnTicksQuarter;
            const long long perQuarter = slots / std::gcd(slots, length);
            divisions = std::lcm(divisions, std::gcd(perQuarter, (long long)MnTicksQuarter));
            divisions = std::lcm(divisions, divisionsHolding(length));
        }
        columnDivisions = int(divisions);
        divisionsScore = score;
        divisionsStamp = MnCache::currentStamp();
        divisionsStaff = -1;
    }
    if (staffIndex == divisionsStaff)
        return staffDivisions;
    // The part's own durations come out whole whether or not the grid
    // caught every onset.
    long long divisions = columnDivisions;
    const MnStaff* staff = score->staff(staffIndex);
    for (int i = 0; i < staff->measureCount(); ++i) {
        const MnMeasure* measure = staff->measure(i);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int c = 0; c < chords.count(); ++c) {
                const int ticks = chords[c]->soundingDuration();
                if (ticks > 0)
                    divisions = std::lcm(divisions, divisionsHolding(ticks));
            }
        }
    }
    // So are the times of the directions written between the notes.
    std::vector<long long> times;
    directionTimesIn(staff, 0, (long long)staff->totalTicks() + 1, times);
    for (const long long time : times)
        divisions = std::lcm(divisions, divisionsHolding(time));
    divisionsStaff = staffIndex;
    staffDivisions = int(divisions);
    return staffDivisions;
}

void IeMusicXmlExporter::writePart(BcXmlFiler& filer, MnSheetMusic* sheet, int staffIndex)
{
    MnScore* score = sheet ? sheet->score() : nullptr;
    if (!score || staffIndex < 0 || staffIndex >= score->staffCount())
        return;
    if (!filer.addElement("part"))
        return;
    filer.setAttribute(BcString("id"), BcString("P") + BcString(staffIndex + 1));
    MnCache scope;
    const int measures = score->staff(0)->measureCount();
    int first = 0;
    const int pages = sheet->pageCount();
    for (int page = 0; page < pages; ++page) {
        const int systems = sheet->systemsOnPage(page);
        for (int system = 0; system < systems && first < measures; ++system) {
            double stretch = 1.0;
            const int count = sheet->fitSystem(first, stretch);
            writeMeasure(filer, score, staffIndex, first, count, stretch);
            first += count;
        }
    }
    filer.goToParent();
}

void IeMusicXmlExporter::writeMove(BcXmlFiler& filer, const char* name, long long duration)
{
    if (duration <= 0 || !filer.addElement(name))
        return;
    filer.addTextElementInt("duration", int(duration));
    filer.goToParent();
}

void IeMusicXmlExporter::writeDirectionsBetweenChords(BcXmlFiler& filer, MnStaff* staff, const MnMeasure* measure,
                                                      bool last, long long position, int divisions)
{
    // The measure's times at which the first voice starts no chord; the
    // piece's end belongs to the last measure.
    const long long start = measure->startTime();
    const long long end = start + measure->length();
    std::vector<long long> times;
    directionTimesIn(staff, start, last ? end + 1 : end, times);
    const BcArray<MnChord*>& chords = measure->voiceChords(0);
    int c = 0;
    for (const long long time : times) {
        while (c < chords.count() && start + chords[c]->time() < time)
            ++c;
        if (c < chords.count() && start + chords[c]->time() == time)
            continue;
        // A backup to the time and a forward back: the voice's notes stay
        // whole, and the direction still lands at its time.
        const long long at = (time - start) * divisions / MnTicksQuarter;
        writeMove(filer, "backup", position - at);
        writeMove(filer, "forward", at - position);
        writeDirections(filer, staff, int(time));
        writeMove(filer, "backup", at - position);
        writeMove(filer, "forward", position - at);
    }
}

void IeMusicXmlExporter::writeMeasure(BcXmlFiler& filer, MnScore* score, int staffIndex, int firstMeasure,
                                      int measureCount, double stretch)
{
    if (!score || staffIndex < 0 || staffIndex >= score->staffCount())
        return;
    MnCache scope;
    MnStaff* staff = score->staff(staffIndex);
    const MnStaff* lead = score->staff(0);
    const int divisions = partDivisions(score, staffIndex);
    // A key or time change at a system's start shows in the system's header,
    // so its first measure lacks the room the column keeps for it.
    double headerRoom = 0.0;
    if (firstMeasure > 0 && firstMeasure < lead->measureCount()) {
        const int start = lead->measure(firstMeasure)->startTime();
        headerRoom = score->keySignatureWidth(start, true, 2.0) + score->timeSignatureWidth(start, 2.0);
    }
    BcArray<int> onsets;
    BcArray<double> offsets;
    const long long end = (long long)firstMeasure + measureCount;
    for (int i = firstMeasure < 0 ? 0 : firstMeasure; i < end; ++i) {
        if (i >= staff->measureCount() || i >= lead->measureCount())
            break;
        MnMeasure* measure = staff->measure(i);
        score->layoutMeasureColumn(i, onsets, offsets, stretch);
        double width = offsets.isEmpty() ? 0.0 : offsets[offsets.count() - 1];
        if (i == firstMeasure)
            width -= headerRoom;
        if (!filer.addElement("measure"))
            return;
        filer.setAttribute("number", lead->measure(i)->index());
        filer.setAttribute("width", width / scale);
        writeBarlineSide(filer, measure, true);

        const int start = measure->startTime();
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            BcArray<MnChord*>& chords = measure->voiceChords(voice);
            if (voice > 0) {
                if (chords.isEmpty() || (chords.count() == 1 && chords[0]->isRest()) ||
                    measure->isMeasureRest(voice))
                    continue;
                writeMove(filer, "backup", int((long long)measure->length() * divisions / MnTicksQuarter));
            }
            // Where the voice has got to, in divisions from the measure's
            // start.
            long long position = 0;
            for (int c = 0; c < chords.count(); ++c) {
                MnChord* chord = chords[c];
                const int time = start + chord->time();
                if (MnStaffDefinition* definition = staff->definitionAt(time, true))
                    writeAttributes(filer, divisions, definition);
                // Once per time: a grace chord takes its main chord's
                // directions ahead of it.
                if (voice == 0 && (c == 0 || chords[c - 1]->time() != chord->time()))
                    writeDirections(filer, staff, time);
                writeChord(filer, chord, c, divisions);
                if (!chord->isGrace())
                    position += (long long)chord->soundingDuration() * divisions / MnTicksQuarter;
            }
            if (voice == 0)
                writeDirectionsBetweenChords(filer, staff, measure, i + 1 == staff->measureCount(), position,
                                             divisions);
        }
        // Last: a reader that takes a new meter at the measure's attributes
        // re-bars what it has read so far, and would carry a bar line read
        // before them to the end of the re-barred run.
        writeBarlineSide(filer, measure, false);
        filer.goToParent();
    }
}
