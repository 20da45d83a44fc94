// Attributes of a measure: divisions, the part's staves and their names,
// time signatures, clefs and keys.

#include "interchange/IeMusicXmlImporter.h"

#include "foundation/BcXmlFiler.h"
#include "interchange/IeMusicXmlImporterElements.h"
#include "interchange/IeScorePart.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

#include <climits>

namespace
{
struct TimeRow
{
    int beats;
    int beatType;
    int code;
};

// Every other pair becomes the common-time code.
const TimeRow timeRows[] = {
    {2, 2, MnTime2_2}, {2, 4, MnTime2_4}, {3, 4, MnTime3_4}, {3, 8, MnTime3_8},  {4, 4, MnTime4_4},
    {6, 8, MnTime6_8}, {6, 4, MnTime6_4}, {9, 8, MnTime9_8}, {12, 8, MnTime12_8},
};

int timeCode(int beats, int beatType)
{
    for (const TimeRow& row : timeRows) {
        if (row.beats == beats && row.beatType == beatType)
            return row.code;
    }
    return MnTimeCommon;
}

int clefCode(const BcString& sign, int line)
{
    if (sign == u"F" && line == 4)
        return MnClefBass;
    if (sign == u"C" && line == 3)
        return MnClefAlto;
    if (sign == u"C" && line == 4)
        return MnClefTenor;
    return MnClefTreble;
}

// The staff's changes after the time that only carried the old value on
// take the new one, up to the first that changes it itself: a change made
// earlier for another reason (a time signature of another part) must not
// bring the old clef or key back.
template <typename Get, typename Set>
void carryForward(MnStaff* staff, int time, int oldValue, int newValue, Get get, Set set)
{
    for (int i = 0; i < staff->changeCount(); ++i) {
        MnStaffChange* change = staff->change(i);
        if (change->startTime() <= time)
            continue;
        if (get(change) != oldValue)
            return;
        set(change, newValue);
    }
}

// The definition exactly at the time, made when the staff has none there.
MnStaffDefinition* definitionMadeAt(MnStaff* staff, int time)
{
    MnStaffDefinition* there = staff->definitionAt(time, true);
    if (there)
        return there;
    if (!staff->insertStaffChange(time))
        return nullptr;
    return staff->definitionAt(time, true);
}
} // namespace

void IeMusicXmlImporter::readAttributes(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex,
                                        int position)
{
    IeScorePart* part = scoreParts[partIndex];
    BcString text;
    if (filer.getElementText(BcString("divisions"), text)) {
        bool overflowed = false;
        const int divisions = leadingInteger(text, &overflowed);
        if (overflowed || divisions <= 0 || divisions > maxDivisions) {
            BcString detail("divisions ");
            detail.append(text);
            detail.append(inPart(partIndex));
            refuse(detail);
            return;
        }
        part->divisions = divisions;
    }
    if (part->staffCount == 0 && !setUpStaves(filer, sheet, partIndex))
        return;

    ieForEachChild(filer, [&](TiXmlElement* child) {
        if (ieIsNamed(child, "time"))
            readTime(filer, sheet, partIndex, measureIndex);
        else if (ieIsNamed(child, "clef"))
            readClef(filer, sheet, partIndex, measureIndex, position);
        else if (ieIsNamed(child, "key"))
            readKey(filer, sheet, partIndex, measureIndex);
        return errorText.isEmpty();
    });
}

bool IeMusicXmlImporter::setUpStaves(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex)
{
    MnScore* score = sheet->score();
    IeScorePart* part = scoreParts[partIndex];
    int staffCount = 1;
    BcString text;
    if (filer.getElementText(BcString("staves"), text)) {
        bool overflowed = false;
        staffCount = leadingInteger(text, &overflowed);
        if (overflowed || staffCount < 1 || staffCount > maxStavesPerPart) {
            BcString detail("staves ");
            detail.append(text);
            detail.append(inPart(partIndex));
            refuse(detail);
            return false;
        }
    }
    // The score's first staff goes to the first part that gets staves,
    // whichever part that is; the others append theirs, so no two parts
    // ever share a staff.
    bool anyStaves = false;
    for (int i = 0; i < scoreParts.count(); ++i)
        anyStaves = anyStaves || scoreParts[i]->staffCount > 0;
    const int firstStaff = anyStaves ? score->staffCount() : 0;
    for (int j = 0; j < staffCount; ++j) {
        if (firstStaff + j < score->staffCount())
            continue;
        const long long cells = (long long)(score->staffCount() + 1) * score->staff(0)->measureCount();
        if (score->staffCount() >= MnMaxRecordCount || cells > maxMeasureCells) {
            BcString detail("staves ");
            detail.append(BcString(score->staffCount() + 1));
            detail.append(inPart(partIndex));
            detail.append(BcString(", more measures than the score can hold"));
            refuse(detail);
            return false;
        }
        score->insertStaff(score->staffCount());
        firstVoices.add(-1);
        secondVoices.add(-1);
    }
    part->firstStaff = firstStaff;
    part->staffCount = staffCount;

    if (staffCount == 2 && partGroups.isEmpty()) {
        if (MnPartGroup* group = score->addPartGroup(firstStaff, 2)) {
            group->setName(part->name);
            group->relayout();
            group->setAbbreviation(part->abbreviation);
        }
        return true;
    }
    MnPart* staffPart = score->part(firstStaff);
    staffPart->setName(part->name);
    staffPart->setAbbreviation(part->abbreviation);
    return true;
}

void IeMusicXmlImporter::readTime(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex)
{
    BcString beats;
    BcString beatType;
    if (!filer.getElementText(BcString("beats"), beats) || !filer.getElementText(BcString("beat-type"), beatType))
        return;
    const int code = timeCode(leadingInteger(beats), leadingInteger(beatType));
    MnStaff* staff = sheet->score()->staff(scoreParts[partIndex]->firstStaff);
    // Either way the time signature goes to every staff of the score.
    if (measureIndex == 0) {
        staff->setTime(code);
        return;
    }
    if (measureIndex >= staff->measureCount())
        return;
    const int start = staff->measureStartTime(measureIndex);
    if (staff->definitionAt(start, false)->time() == code)
        return;
    if (MnStaffDefinition* there = definitionMadeAt(staff, start))
        there->setTime(code);
}

void IeMusicXmlImporter::readClef(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex,
                                  int position)
{
    const IeScorePart* part = scoreParts[partIndex];
    BcString text;
    int number = 1;
    if (filer.getAttribute(BcString("number"), text))
        number = leadingInteger(text);
    // A clef of a staff the part does not have would land on another part's.
    if (number < 1 || number > part->staffCount)
        return;
    BcString sign;
    BcString line;
    if (!filer.getElementText(BcString("sign"), sign) || !filer.getElementText(BcString("line"), line))
        return;
    const int clef = clefCode(sign, leadingInteger(line));
    MnStaff* staff = sheet->score()->staff(part->firstStaff + number - 1);
    auto getClef = [](MnStaffDefinition* d) { return d->clef(); };
    auto setClef = [](MnStaffDefinition* d, int value) { d->setClef(value); };
    if (measureIndex == 0 && position == 0) {
        staff->setClef(clef);
        for (int i = 0; i < staff->changeCount(); ++i)
            staff->change(i)->setClef(clef);
        return;
    }
    if (measureIndex >= staff->measureCount())
        return;
    const long long time = (long long)staff->measureStartTime(measureIndex) + position;
    if (!MnStaffChange::isChangeTime(time > INT_MAX ? 0 : static_cast<int>(time)))
        return;
    const int at = static_cast<int>(time);
    const int old = staff->definitionAt(at, false)->clef();
    if (old == clef)
        return;
    if (MnStaffDefinition* there = definitionMadeAt(staff, at)) {
        there->setClef(clef);
        carryForward(staff, at, old, clef, getClef, setClef);
    }
}

void IeMusicXmlImporter::readKey(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex)
{
    BcString text;
    if (!filer.getElementText(BcString("fifths"), text))
        return;
    const int fifths = leadingInteger(text);
    if (!mnIsKeySignature(fifths))
        return;
    const IeScorePart* part = scoreParts[partIndex];
    auto getKey = [](MnStaffDefinition* d) { return d->key(); };
    auto setKey = [](MnStaffDefinition* d, int value) { d->setKey(value); };
    // A key belongs to its own part: a transposing instrument's key must not
    // re-pitch the parts around it.
    for (int s = part->firstStaff; s < part->firstStaff + part->staffCount; ++s) {
        MnStaff* staff = sheet->score()->staff(s);
        if (measureIndex >= staff->measureCount())
            continue;
        const int start = measureIndex == 0 ? 0 : staff->measureStartTime(measureIndex);
        const int old = staff->definitionAt(start, false)->key();
        if (old == fifths)
            continue;
        MnStaffDefinition* there = measureIndex == 0 ? staff : definitionMadeAt(staff, start);
        if (!there)
            continue;
        there->setKey(fifths);
        carryForward(staff, start, old, fifths, getKey, setKey);
    }
}
