#include "model/MnScore.h"

#include "foundation/BcFiler.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnMeasureNumber.h"
#include "model/MnPageLayout.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"

BC_IMPLEMENT_CREATABLE_CLASS(MnScore)

// Show starting tempo and hide staves in the flags byte of the record.
static constexpr unsigned char flagShowStartingTempo = 0x01;
static constexpr unsigned char flagHideStaves = 0x04;

MnScore::MnScore()
{
    staves.add(new MnStaff(this, 0, 0));
    parts.add(new MnPart(this, 0));
    tempos.add(new MnTempo(this));
    measureNumber = new MnMeasureNumber(this);
    measureNumberScratch = new MnText;
}

MnScore::~MnScore()
{
    deleteStavesAndParts();
    for (int i = 0; i < groups.count(); ++i)
        delete groups[i];
    groups.removeAll();
    for (int i = 0; i < tempos.count(); ++i)
        delete tempos[i];
    tempos.removeAll();
    delete measureNumber;
    measureNumber = nullptr;
    delete measureNumberScratch;
    measureNumberScratch = nullptr;
}

void MnScore::deleteStavesAndParts()
{
    for (int i = 0; i < staves.count(); ++i)
        delete staves[i];
    staves.removeAll();
    for (int i = 0; i < parts.count(); ++i)
        delete parts[i];
    parts.removeAll();
}

MnElement* MnScore::parent() const
{
    return sheet;
}

bool MnScore::removeChild(MnElement* child)
{
    if (!child)
        return false;
    int index = mnIndexOf(staves, child);
    if (index < 0)
        index = mnIndexOf(parts, child);
    if (index >= 0)
        return removeStaff(index);
    index = mnIndexOf(groups, child);
    if (index >= 0) {
        delete groups[index];
        groups.removeAt(index);
        return true;
    }
    index = mnIndexOf(tempos, child);
    if (index == 0) {
        // The starting tempo stays: playback and the property page read it.
        showStartingTempo = false;
        return true;
    }
    if (index > 0) {
        delete tempos[index];
        tempos.removeAt(index);
        return true;
    }
    return false;
}

bool MnScore::read(BcFiler& filer)
{
    BcString nameValue;
    if (!filer.readString(nameValue))
        return false;
    scoreName = nameValue;
    if (!readPoint(filer, origin))
        return false;
    if (filer.version() > 2) {
        double scaleValue = 0.0;
        if (!filer.readDouble(scaleValue))
            return false;
        // Positions are divided by the scale when a staff is dragged; a
        // scale out of range reads as 1.
        drawingScale = mnIsScale(scaleValue) ? scaleValue : 1.0;
    }
    if (!readStavesAndParts(filer) || !readPartGroups(filer) || !readTempos(filer))
        return false;
    unsigned char flags = 0;
    if (!filer.readByte(flags))
        return false;
    showStartingTempo = (flags & flagShowStartingTempo) != 0;
    hideStaves = (flags & flagHideStaves) != 0;
    if (filer.version() > 0 && !measureNumber->read(filer))
        return false;
    return filer.isOk();
}

bool MnScore::readStavesAndParts(BcFiler& filer)
{
    int count = 0;
    if (!readCount(filer, MnMaxRecordCount, count))
        return false;
    deleteStavesAndParts();
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        MnStaff* staff = new MnStaff(this, staves.count(), 0);
        if (!staff->read(filer)) {
            delete staff;
            ok = false;
            break;
        }
        staves.add(staff);
    }
    // The layout walks measure i of every staff as one column.
    ok = ok && haveSameMeasures();
    // The parts follow the staves without a count of their own.
    for (int i = 0; ok && i < count; ++i) {
        MnPart* part = new MnPart(this, parts.count());
        if (!part->read(filer)) {
            delete part;
            ok = false;
            break;
        }
        parts.add(part);
    }
    // Staff i and part i belong together, and there is always one of each.
    while (parts.count() > staves.count()) {
        delete parts[parts.count() - 1];
        parts.removeAt(parts.count() - 1);
    }
    if (staves.isEmpty())
        staves.add(new MnStaff(this, 0, 0));
    while (parts.count() < staves.count())
        parts.add(new MnPart(this, parts.count()));
    return ok;
}

bool MnScore::haveSameMeasures() const
{
    for (int i = 1; i < staves.count(); ++i) {
        const MnStaff* staff = staves[i];
        if (staff->measureCount() != staves[0]->measureCount())
            return false;
        for (int m = 0; m < staff->measureCount(); ++m) {
            const MnMeasure* measure = staff->measure(m);
            const MnMeasure* column = staves[0]->measure(m);
            if (measure->beats() != column->beats() || measure->beatTicks() != column->beatTicks())
                return false;
        }
    }
    return true;
}

bool MnScore::readPartGroups(BcFiler& filer)
{
    int count = 0;
    if (!readCount(filer, MnMaxRecordCount, count))
        return false;
    for (int i = 0; i < groups.count(); ++i)
        delete groups[i];
    groups.removeAll();
    for (int i = 0; i < count; ++i) {
        MnPartGroup* group = new MnPartGroup(this, 0, staves.count());
        // The group's reader checks that it brackets staves of this score.
        if (!group->read(filer)) {
            delete group;
            return false;
        }
        groups.add(group);
    }
    return true;
}

bool MnScore::readTempos(BcFiler& filer)
{
    int count = 0;
    if (!readCount(filer, MnMaxRecordCount, count))
        return false;
    for (int i = 0; i < tempos.count(); ++i)
        delete tempos[i];
    tempos.removeAll();
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        MnTempo* tempo = new MnTempo(this);
        if (!tempo->read(filer)) {
            delete tempo;
            ok = false;
            break;
        }
        tempos.add(tempo);
    }
    // Playback and the score's properties read the starting tempo, mark 0.
    if (tempos.isEmpty())
        tempos.add(new MnTempo(this));
    return ok;
}

bool MnScore::write(BcFiler& filer) const
{
    filer.writeString(scoreName);
    filer.writeDouble(origin.x);
    filer.writeDouble(origin.y);
    filer.writeDouble(drawingScale);
    filer.writeInt(staves.count());
    for (int i = 0; i < staves.count(); ++i)
        staves[i]->write(filer);
    for (int i = 0; i < parts.count(); ++i)
        parts[i]->write(filer);
    filer.writeInt(groups.count());
    for (int i = 0; i < groups.count(); ++i)
        groups[i]->write(filer);
    filer.writeInt(tempos.count());
    for (int i = 0; i < tempos.count(); ++i)
        tempos[i]->write(filer);
    unsigned char flags = 0;
    if (showStartingTempo)
        flags |= flagShowStartingTempo;
    if (hideStaves)
        flags |= flagHideStaves;
    filer.writeByte(flags);
    measureNumber->write(filer);
    return filer.isOk();
}

GePoint2d MnScore::position() const
{
    return origin;
}

double MnScore::width() const
{
    return staves.isEmpty() ? 0.0 : staves[0]->width();
}

double MnScore::height() const
{
    if (staves.isEmpty())
        return 0.0;
    const MnStaff* last = staves[staves.count() - 1];
    const double top = origin.y - last->position().y;
    const MnTablature* tablature = last->tablature();
    if (!tablature)
        return top + last->height();
    return top + (tablature->height() - tablature->position().y) * last->partScale();
}

bool MnScore::moveTo(const GePoint2d& point)
{
    if (!isPosition(point))
        return false;
    GePoint2d at = point;
    if (sheet) {
        // The first system stays inside the printable area of the first
        // page: its labels right of the left margin, its first measure left
        // of the right margin, all its staves above the bottom margin.
        MnCache scope;
        const double usableWidth = sheet->pageWidth() - sheet->leftMargin(0) - sheet->rightMargin(0);
        const double usableHeight = sheet->pageHeight() - sheet->topMargin() - sheet->bottomMargin();
        const double labels = partsExtents(false).x;
        if (at.x + drawingScale * labels < 0.0)
            at.x = -drawingScale * labels;
        const MnMeasure* first = staves[0]->measure(0);
        const double firstEnd = first->position().x + first->width();
        if (at.x > usableWidth - firstEnd)
            at.x = usableWidth - firstEnd;
        if (at.y > 0.0)
            at.y = 0.0;
        if (at.y < height() * drawingScale - usableHeight)
            at.y = height() * drawingScale - usableHeight;
    }
    if (!isMove(origin, at))
        return false;
    origin = at;
    for (int i = 0; i < tempos.count(); ++i)
        tempos[i]->moveTo(tempos[i]->position());
    return true;
}

GePoint2d MnScore::toPageCoordinates(const GePoint2d& point, const EdPath*) const
{
    if (!sheet)
        return point;
    GePoint2d page = sheet->toPageCoordinates(sheet->position(), nullptr);
    return GePoint2d(page.x + sheet->leftMargin(0) + point.x, page.y - sheet->topMargin() + point.y);
}

double MnScore::scale() const
{
    return drawingScale;
}

bool MnScore::setScale(double scale)
{
    if (scale == drawingScale || !mnIsScale(scale))
        return false;
    const bool grew = scale > drawingScale;
    drawingScale = scale;
    if (grew) {
        // A larger score may no longer fit where it stands, on the first page
        // nor on the later pages that have layouts of their own.
        moveTo(origin);
        if (sheet) {
            for (int i = 0; i < sheet->pageLayoutCount(); ++i) {
                MnPageLayout* layout = sheet->pageLayoutAt(i);
                layout->moveTo(layout->position());
            }
        }
    }
    return true;
}

MnText* MnScore::measureNumberText(int measureIndex)
{
    if (measureIndex == -1)
        return measureNumber;
    measureNumberScratch->setText(BcString(measureIndex + 1));
    measureNumberScratch->setFont(measureNumber->font());
    measureNumberScratch->setSize(measureNumber->size());
    measureNumberScratch->setUnderline(measureNumber->isUnderlined());
    measureNumberScratch->setAlignment(measureNumber->alignment());
    measureNumberScratch->moveTo(measureNumber->position());
    return measureNumberScratch;
}

MnStaff* MnScore::insertStaff(int index)
{
    MnStaff* first = staves[0];
    const int type = first->time();
    MnStaff* staff = nullptr;
    if (index < 0 || index >= staves.count()) {
        staff = new MnStaff(this, staves.count(), type);
        staves.add(staff);
        parts.add(new MnPart(this, parts.count()));
    } else {
        staff = new MnStaff(this, index, type);
        staves.insertAt(index, staff);
        parts.insertAt(index, new MnPart(this, index));
        for (int i = index + 1; i < staves.count(); ++i) {
            staves[i]->setIndex(i);
            parts[i]->setStaffIndex(i);
        }
    }

    // Each measure takes the meter of its column at once, so that the new
    // staff never outgrows the first one on the way.
    while (staff->measureCount() < first->measureCount()) {
        const MnMeasure* model = first->measure(staff->measureCount());
        if (!staff->insertMeasure(-1, model->beats(), model->beatTicks()))
            break;
    }

    for (int column = 0; column < first->measureCount(); ++column) {
        const MnMeasure* model = first->measure(column);
        MnMeasure* measure = staff->measure(column);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i)
                delete chords[i];
            chords.removeAll();
        }
        measure->setBeats(model->beats());
        measure->setBeatTicks(model->beatTicks());
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice)
            measure->fillGapsWithRests(voice, 1, 1);
        const BcString volta = model->voltaText(true);
        for (int i = 0; i < staves.count(); ++i) {
            MnMeasure* same = staves[i]->measure(column);
            same->setBarline(model->barline());
            same->setVoltaMask(model->voltaMask());
            same->setVoltaClosed(model->isVoltaClosed());
            same->setRepeatMarker(model->repeatMarker());
            same->setRepeatJump(model->repeatJump());
            same->setSystemBreak(model->systemBreak());
        }
        measure->setVoltaText(volta);
    }

    for (int i = 0; i < first->changeCount(); ++i) {
        const MnStaffChange* change = first->change(i);
        if (!change->changesTime())
            continue;
        staff->insertStaffChange(change->startTime());
        MnStaffDefinition* there = staff->definitionAt(change->startTime(), true);
        if (there && there != staff)
            static_cast<MnStaffChange*>(there)->setTimeType(change->time());
    }

    for (int i = 0; i < groups.count(); ++i) {
        MnPartGroup* group = groups[i];
        const int firstStaff = group->firstStaff();
        if (firstStaff < index && index < firstStaff + group->staffCount())
            group->setStaffCount(group->staffCount() + 1);
        else if (index >= 0 && firstStaff >= index)
            group->setFirstStaff(firstStaff + 1);
    }
    return staff;
}

bool MnScore::removeStaff(int index)
{
    if (staves.count() < 2 || index < 0 || index >= staves.count())
        return false;
    delete staves[index];
    staves.removeAt(index);
    delete parts[index];
    parts.removeAt(index);
    for (int i = index; i < staves.count(); ++i) {
        staves[i]->setIndex(i);
        parts[i]->setStaffIndex(i);
    }
    adjustPartGroupsAfterRemoval(index);
    return true;
}

void MnScore::adjustPartGroupsAfterRemoval(int staff)
{
    for (int i = groups.count() - 1; i >= 0; --i) {
        MnPartGroup* group = groups[i];
        const int first = group->firstStaff();
        const int count = group->staffCount();
        if (first > staff) {
            group->setFirstStaff(first - 1);
            continue;
        }
        if (staff >= first + count)
            continue;
        if (count < 3) {
            delete group;
            groups.removeAt(i);
            continue;
        }
        group->setStaffCount(count - 1);
        for (int j = 0; j < groups.count(); ++j) {
            if (j != i && groups[j]->firstStaff() == first && groups[j]->staffCount() == count - 1) {
                delete group;
                groups.removeAt(i);
                break;
            }
        }
    }
}

bool MnScore::canGroupStaves(int first, int count) const
{
    if (count == 1) {
        if (first < 0 || first >= staves.count() || !staves[first]->tablature())
            return false;
        for (int i = 0; i < groups.count(); ++i) {
            if (groups[i]->firstStaff() == first && groups[i]->staffCount() == 1)
                return false;
        }
        return true;
    }
    if (count < 2)
        return false;
    const int last = first + count - 1;
    if (first < 0 || last >= staves.count())
        return false;
    for (int i = 0; i < groups.count(); ++i) {
        const int groupFirst = groups[i]->firstStaff();
        const int groupLast = groupFirst + groups[i]->staffCount() - 1;
        if (groupFirst == first && groupLast == last)
            return false;
        if (groupFirst < first && first <= groupLast && groupLast < last)
            return false;
        if (first < groupFirst && groupFirst <= last && last < groupLast)
            return false;
    }
    return true;
}

MnPartGroup* MnScore::addPartGroup(int first, int count)
{
    if (!canGroupStaves(first, count))
        return nullptr;
    MnPartGroup* group = new MnPartGroup(this, first, count);
    groups.add(group);
    return group;
}

bool MnScore::insertMeasure(int index)
{
    bool all = true;
    for (int i = 0; i < staves.count(); ++i) {
        MnStaff* staff = staves[i];
        int reference = 0;
        if (index < 0)
            reference = staff->measureCount() - 1;
        else if (index > 0)
            reference = index - 1;
        if (reference < 0 || reference >= staff->measureCount()) {
            all = false;
            continue;
        }
        const int type = staff->definitionAt(staff->measure(reference)->startTime(), false)->time();
        if (!staff->insertMeasure(index, type))
            all = false;
    }
    return all;
}

bool MnScore::removeMeasure(int index)
{
    bool all = true;
    for (int i = 0; i < staves.count(); ++i) {
        MnStaff* staff = staves[i];
        if (staff->measureCount() < 2 || index < 0 || index >= staff->measureCount()) {
            all = false;
            continue;
        }
        MnMeasure* measure = staff->measure(index);
        const int start = measure->startTime();
        const int length = measure->length();
        BcArray<MnMeasure*>& measures = staff->measureArray();
        measures.removeAt(index);
        delete measure;
        for (int j = index; j < measures.count(); ++j)
            measures[j]->setIndex(j + 1);
        staff->removeTimeSpan(start, length);
    }
    return all;
}
