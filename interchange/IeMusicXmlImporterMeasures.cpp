// Parts and measures: measure numbers to measure indices, the time within a
// measure, print, barlines, repeats and endings, and the measures' lengths
// once every part is read.

#include "interchange/IeMusicXmlImporter.h"

#include "foundation/BcXmlFiler.h"
#include "interchange/IeMusicXmlImporterElements.h"
#include "interchange/IeScorePart.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <algorithm>
#include <climits>

namespace
{
// Calls apply(measure) on the measure at the index in every staff that has it.
template <typename Apply>
void forColumn(MnScore* score, int measureIndex, Apply apply)
{
    if (measureIndex < 0)
        return;
    for (int i = 0; i < score->staffCount(); ++i) {
        MnStaff* staff = score->staff(i);
        if (measureIndex < staff->measureCount())
            apply(staff->measure(measureIndex));
    }
}

// The volta mask of an ending's number text: endings 1..10 listed with
// commas or blanks; anything else ("1.2", "11") names none.
int endingMask(const BcString& numbers)
{
    BcString padded(" ");
    padded.append(numbers);
    padded.append(BcString(" "));
    padded.replaceAll(BcString(","), BcString(" "));
    int mask = 0;
    for (int n = 1; n <= 10; ++n) {
        BcString wanted(" ");
        wanted.append(BcString(n));
        wanted.append(BcString(" "));
        const int length = wanted.length();
        for (int i = 0; i + length <= padded.length(); ++i) {
            if (padded.midRange(i, i + length - 1) == wanted) {
                mask |= 1 << (n - 1);
                break;
            }
        }
    }
    return mask;
}
} // namespace

void IeMusicXmlImporter::readPart(BcXmlFiler& filer, MnSheetMusic* sheet)
{
    BcString id;
    if (!filer.getAttribute(BcString("id"), id)) {
        refuse(BcString("part without id"));
        return;
    }
    int partIndex = -1;
    for (int i = 0; i < scoreParts.count() && partIndex < 0; ++i) {
        if (scoreParts[i]->id == id)
            partIndex = i;
    }
    if (partIndex < 0) {
        BcString detail("part ");
        detail.append(id);
        detail.append(BcString(" missing from the part list"));
        refuse(detail);
        return;
    }
    zeroBasedNumbers = false;
    ieForEachChild(filer, [&](TiXmlElement* child) {
        if (ieIsNamed(child, "measure"))
            readMeasure(filer, sheet, partIndex);
        return errorText.isEmpty();
    });
}

void IeMusicXmlImporter::readMeasure(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex)
{
    MnScore* score = sheet->score();
    BcString numberText;
    if (!filer.getAttribute(BcString("number"), numberText)) {
        BcString detail("measure without number");
        detail.append(inPart(partIndex));
        refuse(detail);
        return;
    }
    const long long number = leadingInteger(numberText);
    if (number == 0)
        zeroBasedNumbers = true;
    const long long index = zeroBasedNumbers ? number : number - 1;
    auto refuseMeasure = [&](const char* why) {
        BcString detail("measure ");
        detail.append(numberText);
        detail.append(inPart(partIndex));
        detail.append(BcString(why));
        refuse(detail);
    };
    if (index < 0) {
        refuseMeasure("");
        return;
    }
    // A number that skips ahead gets every measure up to it, as far as the
    // staves can hold them.
    while (score->staff(0)->measureCount() <= index) {
        const long long cells = (long long)(score->staff(0)->measureCount() + 1) * score->staffCount();
        if (index >= MnMaxRecordCount || cells > maxMeasureCells || !score->insertMeasure(-1)) {
            refuseMeasure(", more measures than the score can hold");
            return;
        }
    }
    const int measureIndex = static_cast<int>(index);
    highestMeasure = std::max(highestMeasure, measureIndex);
    while (reachedTimes.count() <= measureIndex)
        reachedTimes.add(-1);
    reachedTimes[measureIndex] = std::max(reachedTimes[measureIndex], 0);

    if (!filer.current->FirstChildElement())
        return;
    for (int i = 0; i < score->staffCount(); ++i) {
        firstVoices.add(-1);
        secondVoices.add(-1);
    }
    int position = 0;
    int chordStart = 0;
    int filledLength = 0;
    BcArray<MnStaff*> held;
    bool notesRead = false;
    ieForEachChild(filer, [&](TiXmlElement* child) {
        // The part's staves may be made by its first attributes.
        holdStaves(partIndex, held, score);
        if (ieIsNamed(child, "print")) {
            if (ieAttributeIs(filer, "new-system", "yes") && measureIndex > 0)
                forColumn(score, measureIndex - 1, [](MnMeasure* m) { m->setSystemBreak(MnSystemBreakSystem); });
        } else if (ieIsNamed(child, "attributes")) {
            readAttributes(filer, sheet, partIndex, measureIndex, position);
        } else if (ieIsNamed(child, "barline")) {
            readBarline(filer, sheet, measureIndex);
        } else if (ieIsNamed(child, "backup")) {
            moveByDuration(filer, partIndex, -1, position);
        } else if (ieIsNamed(child, "forward")) {
            moveByDuration(filer, partIndex, 1, position);
        } else if (ieIsNamed(child, "note")) {
            readNote(filer, sheet, partIndex, measureIndex, &chordStart, &position);
            notesRead = true;
        } else if (ieIsNamed(child, "direction")) {
            readDirection(filer, sheet, partIndex, measureIndex, position);
        }
        filledLength = std::max(filledLength, position);
        return errorText.isEmpty();
    });
    firstVoices.removeAll();
    secondVoices.removeAll();
    for (int i = 0; i < held.count(); ++i) {
        MnStaff* staff = held[i];
        staff->setReconcilingSuspended(false);
        // Without notes the chords did not change: what stands in the
        // measure stays as the file put it.
        if (!notesRead || measureIndex >= staff->measureCount())
            continue;
        // Notes longer than what is left of the measure carry into the
        // measures after it.
        const long long end = static_cast<long long>(staff->measureStartTime(measureIndex)) +
                              std::max(filledLength, staff->measure(measureIndex)->length());
        for (int m = measureIndex; m < staff->measureCount() && staff->measureStartTime(m) < end; ++m)
            settleMeasure(staff, staff->measure(m));
    }
    if (measureIndex < reachedTimes.count())
        reachedTimes[measureIndex] = std::max(reachedTimes[measureIndex], filledLength);
}

void IeMusicXmlImporter::moveByDuration(BcXmlFiler& filer, int partIndex, int direction, int& position)
{
    BcString text;
    if (!filer.getElementText(BcString("duration"), text))
        return;
    bool overflowed = false;
    const long long duration = leadingInteger(text, &overflowed);
    const long long divisions = scoreParts[partIndex]->divisions;
    // Multiplied first: dividing first would lose the remainder of every
    // division (a full 4/4 bar at 1024 divisions would miss 256 ticks).
    const long long ticks = duration * ticksPerQuarter / divisions;
    const long long moved = position + direction * ticks;
    if (overflowed || duration < 0 || moved > INT_MAX) {
        BcString detail(direction < 0 ? "backup " : "forward ");
        detail.append(text);
        detail.append(inPart(partIndex));
        refuse(detail);
        return;
    }
    // A backup past the measure's start is a slip of the writing program;
    // the measure starts there all the same.
    position = static_cast<int>(std::max(0LL, moved));
}

void IeMusicXmlImporter::readBarline(BcXmlFiler& filer, MnSheetMusic* sheet, int measureIndex)
{
    MnScore* score = sheet->score();
    const bool left = ieAttributeIs(filer, "location", "left");
    BcString style;
    if (filer.getElementText(BcString("bar-style"), style)) {
        int repeat = 0;
        if (filer.findElement(BcString("repeat"), 0)) {
            if (ieAttributeIs(filer, "direction", "backward"))
                repeat = -1;
            else if (ieAttributeIs(filer, "direction", "forward"))
                repeat = 1;
            filer.goToParent();
        }
        const int target = left ? measureIndex - 1 : measureIndex;
        if (target >= 0) {
            int barline = -1;
            if (style == u"light-light" && repeat == 0)
                barline = MnBarlineDouble;
            else if (style == u"light-heavy" && repeat == 0)
                barline = MnBarlineFinal;
            else if (style == u"light-heavy" && repeat == -1)
                barline = MnBarlineEndRepeat;
            if (barline >= 0) {
                forColumn(score, target, [&](MnMeasure* m) { m->setBarline(barline); });
            } else if (style == u"heavy-light" && repeat == 1 && measureIndex > 0) {
                // A start repeat is the bar line that ends the measure before.
                forColumn(score, measureIndex - 1, [](MnMeasure* m) {
                    m->setBarline(m->barline() == MnBarlineEndRepeat ? MnBarlineEndStartRepeat
                                                                     : MnBarlineStartRepeat);
                });
            }
        }
    }
    if (!filer.findElement(BcString("ending"), 0))
        return;
    BcString numbers;
    BcString type;
    const bool complete = filer.getAttribute(BcString("number"), numbers) && filer.getAttribute(BcString("type"), type);
    filer.goToParent();
    if (!complete)
        return;
    if (type == u"start" && left) {
        const int mask = endingMask(numbers);
        forColumn(score, measureIndex, [&](MnMeasure* m) { m->setVoltaMask(mask); });
    } else if (type == u"stop" && !left) {
        forColumn(score, measureIndex, [](MnMeasure* m) { m->setVoltaClosed(true); });
    }
}

void IeMusicXmlImporter::finishMeasures(MnSheetMusic* sheet)
{
    if (highestMeasure < 0)
        return;
    MnScore* score = sheet->score();
    // The default sheet's measures past the file's last one hold nothing.
    for (int last = score->staff(0)->measureCount() - 1; last > highestMeasure; --last)
        score->removeMeasure(last);

    // A measure that no part filled (a pickup, a short last measure) keeps
    // only the beats up to the furthest time a part reached, and the beat
    // that time lies in. Decided over all parts, so that no part loses beats
    // that another filled.
    MnStaff* first = score->staff(0);
    for (int m = 0; m <= highestMeasure && m < first->measureCount() && m < reachedTimes.count(); ++m) {
        const int reached = reachedTimes[m];
        if (reached <= 0)
            continue;
        MnMeasure* measure = first->measure(m);
        const int beatTicks = measure->beatTicks();
        const long long firstEmptyBeat = (static_cast<long long>(reached) + beatTicks - 1) / beatTicks;
        if (firstEmptyBeat >= measure->beats())
            continue;
        BcArray<int> beats;
        for (int beat = static_cast<int>(firstEmptyBeat); beat < measure->beats(); ++beat)
            beats.add(beat);
        measure->removeBeats(beats);
    }
}
