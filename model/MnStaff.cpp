#include "model/MnStaff.h"

#include "foundation/BcFiler.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnLimits.h"
#include "model/MnLine.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnOctave.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"

BC_IMPLEMENT_CLASS(MnStaff)

MnStaff::MnStaff(MnScore* score, int index, int timeSignatureType)
    : MnStaffDefinition(0, 0, timeSignatureType), owner(score), staffIndex(index)
{
    measures.add(new MnMeasure(this, 1, timeSignatureType));
}

MnStaff::~MnStaff()
{
    deleteContent();
}

void MnStaff::deleteContent()
{
    deleteTimeContent();
    for (int i = 0; i < lyrics.count(); ++i)
        delete lyrics[i];
    lyrics.removeAll();
    delete tab;
    tab = nullptr;
}

void MnStaff::deleteTimeContent()
{
    for (int i = 0; i < changes.count(); ++i)
        delete changes[i];
    changes.removeAll();
    for (int i = 0; i < measures.count(); ++i)
        delete measures[i];
    measures.removeAll();
    for (int i = 0; i < lines.count(); ++i)
        delete lines[i];
    lines.removeAll();
    linesChanged();
}

MnElement* MnStaff::parent() const
{
    return owner;
}

bool MnStaff::removeChild(MnElement* child)
{
    if (!child)
        return false;
    int index = mnIndexOf(changes, child);
    if (index >= 0) {
        if (changes[index]->changesTime())
            return removeTimeChange(index);
        delete changes[index];
        changes.removeAt(index);
        return true;
    }
    index = mnIndexOf(measures, child);
    if (index >= 0)
        return owner ? owner->removeMeasure(index) : false;
    index = mnIndexOf(lines, child);
    if (index >= 0) {
        delete lines[index];
        lines.removeAt(index);
        linesChanged();
        return true;
    }
    index = mnIndexOf(lyrics, child);
    if (index >= 0) {
        delete lyrics[index];
        lyrics.removeAt(index);
        return true;
    }
    if (child != tab || !tab)
        return false;
    delete tab;
    tab = nullptr;
    if (!owner)
        return true;
    // A group that ends with this staff no longer reaches over a tablature;
    // a one-staff group existed only to bracket the staff with it.
    for (int i = owner->partGroupCount() - 1; i >= 0; --i) {
        MnPartGroup* group = owner->partGroup(i);
        if (group->firstStaff() + group->staffCount() != staffIndex + 1)
            continue;
        if (group->staffCount() >= 2)
            group->setCoversTablature(false);
        else
            owner->removeChild(group);
    }
    return true;
}

bool MnStaff::read(BcFiler& filer)
{
    // The staff's own definition carries its time byte in every version.
    if (!readDefinition(filer, true))
        return false;
    // Records before version 5 have no lyrics and no tablature: a staff
    // keeps its own when it reads one.
    deleteTimeContent();
    const bool ok = readChanges(filer) && readMeasures(filer) && readLines(filer) && readLyrics(filer);
    if (measures.isEmpty())
        measures.add(new MnMeasure(this, 1, time()));
    if (!ok)
        return false;
    double spacingValue = 0.0;
    if (!filer.readDouble(spacingValue))
        return false;
    // Staves are stacked by their spacing; the layout divides by the
    // heights they make.
    if (!mnIsStaffSpacing(spacingValue))
        return false;
    staffSpacing = spacingValue;
    return filer.isOk();
}

bool MnStaff::readChanges(BcFiler& filer)
{
    int count = 0;
    if (!readCount(filer, MnMaxRecordCount, count))
        return false;
    for (int i = 0; i < count; ++i) {
        MnStaffChange* change = new MnStaffChange(this, 1, clef(), key(), time());
        if (!change->read(filer)) {
            delete change;
            return false;
        }
        // Lookups walk the changes in time order and stop at the first later
        // one, so the order is part of the record's meaning.
        if (!changes.isEmpty() && changes[changes.count() - 1]->startTime() >= change->startTime()) {
            delete change;
            return false;
        }
        changes.add(change);
    }
    return true;
}

bool MnStaff::readMeasures(BcFiler& filer)
{
    int count = 0;
    if (!readCount(filer, MnMaxRecordCount, count))
        return false;
    long long total = 0;
    for (int i = 0; i < count; ++i) {
        MnMeasure* measure = new MnMeasure(this, measures.count() + 1, time());
        if (!measure->read(filer)) {
            delete measure;
            return false;
        }
        measures.add(measure);
        // Staff times are 32-bit: a staff must not outgrow them.
        total += measure->length();
        if (total > MnMaxStaffTicks)
            return false;
    }
    return true;
}

bool MnStaff::readLines(BcFiler& filer)
{
    int count = 0;
    if (!readCount(filer, MnMaxRecordCount, count))
        return false;
    for (int i = 0; i < count; ++i) {
        unsigned char code = 0;
        if (!filer.readByte(code))
            return false;
        MnLine* line = nullptr;
        switch (code) {
        case LineOctave:
            line = new MnOctave(this);
            break;
        case LineDynamic:
            line = new MnDynamic(this);
            break;
        case LinePedal:
            line = new MnPedal(this);
            break;
        default:
            // A line of a class this version does not know has no record.
            continue;
        }
        if (!line->read(filer)) {
            delete line;
            return false;
        }
        lines.add(line);
        linesChanged();
    }
    return true;
}

bool MnStaff::readLyrics(BcFiler& filer)
{
    if (filer.version() < 5)
        return true;
    int count = 0;
    if (!readCount(filer, MnMaxRecordCount, count))
        return false;
    for (int i = 0; i < lyrics.count(); ++i)
        delete lyrics[i];
    lyrics.removeAll();
    for (int i = 0; i < count; ++i) {
        MnLyric* lyric = new MnLyric(this);
        if (!lyric->read(filer)) {
            delete lyric;
            return false;
        }
        lyrics.add(lyric);
    }
    bool hasTablature = false;
    if (!filer.readBool(hasTablature))
        return false;
    delete tab;
    tab = nullptr;
    if (hasTablature) {
        MnTablature* tablature = new MnTablature(this);
        if (!tablature->read(filer)) {
            delete tablature;
            return false;
        }
        tab = tablature;
    }
    return true;
}

bool MnStaff::write(BcFiler& filer) const
{
    writeDefinition(filer);
    filer.writeInt(changes.count());
    for (int i = 0; i < changes.count(); ++i)
        changes[i]->write(filer);
    filer.writeInt(measures.count());
    for (int i = 0; i < measures.count(); ++i)
        measures[i]->write(filer);
    filer.writeInt(lines.count());
    for (int i = 0; i < lines.count(); ++i) {
        const MnLine* line = lines[i];
        if (line->isKindOf(MnOctave::staticClass()))
            filer.writeByte(LineOctave);
        else if (line->isKindOf(MnDynamic::staticClass()))
            filer.writeByte(LineDynamic);
        else if (line->isKindOf(MnPedal::staticClass()))
            filer.writeByte(LinePedal);
        else {
            filer.writeByte(LineOther);
            continue;
        }
        line->write(filer);
    }
    filer.writeInt(lyrics.count());
    for (int i = 0; i < lyrics.count(); ++i)
        lyrics[i]->write(filer);
    filer.writeBool(tab != nullptr);
    if (tab)
        tab->write(filer);
    filer.writeDouble(staffSpacing);
    return filer.isOk();
}

GePoint2d MnStaff::position() const
{
    if (!owner)
        return GePoint2d(0.0, 0.0);
    GePoint2d at = owner->position();
    for (int i = 1; i <= staffIndex && i < owner->staffCount(); ++i) {
        const MnStaff* above = owner->staff(i - 1);
        const MnStaff* staff = owner->staff(i);
        double gap = 0.0;
        if (above->tab) {
            const MnTablature* tablature = above->tab;
            gap = (tablature->height() - tablature->position().y) * above->partScale();
        } else {
            gap = above->height();
        }
        at.y -= gap + staff->staffSpacing - 8.0;
    }
    return at;
}

double MnStaff::height() const
{
    return 8.0 * partScale();
}

double MnStaff::scale() const
{
    return owner ? partScale() * owner->scale() : 1.0;
}

double MnStaff::partScale() const
{
    if (!owner || staffIndex < 0 || staffIndex >= owner->staffCount())
        return 1.0;
    return owner->part(staffIndex)->partScale();
}

MnStaffDefinition* MnStaff::definitionAt(int time, bool exactOnly)
{
    return const_cast<MnStaffDefinition*>(static_cast<const MnStaff*>(this)->definitionAt(time, exactOnly));
}

const MnStaffDefinition* MnStaff::definitionAt(int time, bool exactOnly) const
{
    const MnStaffDefinition* found = nullptr;
    for (int i = 0; i < changes.count() && changes[i]->startTime() <= time; ++i) {
        if (!exactOnly || changes[i]->startTime() == time)
            found = changes[i];
    }
    if (found)
        return found;
    if (exactOnly && time > 0)
        return nullptr;
    return this;
}

bool MnStaff::insertStaffChange(int time)
{
    if (!MnStaffChange::isChangeTime(time) || changes.count() >= MnMaxRecordCount)
        return false;
    int after = -1;
    for (int i = 0; i < changes.count(); ++i) {
        if (changes[i]->startTime() == time)
            return false;
        if (changes[i]->startTime() < time)
            after = i;
    }
    const MnStaffDefinition* before = after >= 0 ? static_cast<const MnStaffDefinition*>(changes[after]) : this;
    changes.insertAt(after + 1, new MnStaffChange(this, time, before->clef(), before->key(), before->time()));
    return true;
}

bool MnStaff::moveStaffChange(MnStaffChange* change, int time)
{
    const int index = changes.indexOf(change);
    if (index < 0 || !MnStaffChange::isChangeTime(time) || change->changesTime() || definitionAt(time, true))
        return false;
    changes.removeAt(index);
    change->setStartTime(time);
    change->setTimeType(definitionAt(time, false)->time());
    int after = -1;
    for (int i = 0; i < changes.count(); ++i) {
        if (changes[i]->startTime() < time)
            after = i;
    }
    changes.insertAt(after + 1, change);
    return true;
}

bool MnStaff::insertMeasure(int index, int timeSignatureType)
{
    int beats = 0;
    int beatTicks = 0;
    mnTimeSignatureMeter(timeSignatureType, beats, beatTicks);
    return insertMeasure(index, beats, beatTicks);
}

bool MnStaff::insertMeasure(int index, int beats, int beatTicks)
{
    // The staff must stay one that its record reader reads back.
    if (index > measures.count() || measures.count() >= MnMaxRecordCount || beats < 1 || beats > MnMaxBeats ||
        !mnIsBeatTicks(beatTicks) || (long long)totalTicks() + (long long)beats * beatTicks > MnMaxStaffTicks)
        return false;
    MnMeasure* measure = nullptr;
    if (index < 0) {
        // Appending extends the start times in place: recounting them for
        // every new measure would make building a long staff quadratic.
        const bool extendStartTimes = startTimesValid && startTimes.count() == measures.count() + 1;
        measure = new MnMeasure(this, measures.count() + 1, beats, beatTicks);
        measures.add(measure);
        if (extendStartTimes) {
            startTimes.add(startTimes[startTimes.count() - 1] + measure->length());
            // The new measure's constructor announced the change this extends.
            startTimesValid = true;
        }
    } else {
        measure = new MnMeasure(this, index + 1, beats, beatTicks);
        measures.insertAt(index, measure);
        for (int i = index + 1; i < measures.count(); ++i)
            measures[i]->setIndex(i + 1);
    }
    const int start = measure->startTime();
    const int length = measure->length();
    for (int i = 0; i < changes.count(); ++i) {
        if (changes[i]->startTime() >= start)
            changes[i]->setStartTime(changes[i]->startTime() + length);
    }
    for (int i = 0; i < lines.count(); ++i) {
        if (lines[i]->start() >= start)
            lines[i]->setStart(lines[i]->start() + length, true);
    }
    // Lyric lines stay with the notes they are sung to.
    for (int i = 0; i < lyrics.count(); ++i) {
        if (lyrics[i]->start() >= start)
            lyrics[i]->setStart(lyrics[i]->start() + length);
    }
    return true;
}

int MnStaff::voiceCount() const
{
    // Measures hold exactly two voices, so no voice beyond the second counts.
    for (int i = 0; i < measures.count(); ++i) {
        const MnMeasure* measure = measures[i];
        const BcArray<MnChord*>& second = measure->voiceChords(1);
        const bool empty = (second.count() == 1 && second[0]->isRest()) || measure->isMeasureRest(1);
        if (!empty)
            return 2;
    }
    return 1;
}

int MnStaff::measureStartTime(int index) const
{
    // An array of another length means measures came or went unannounced.
    if (!startTimesValid || startTimes.count() != measures.count() + 1) {
        startTimes.setSize(measures.count() + 1);
        int start = 0;
        for (int i = 0; i < measures.count(); ++i) {
            startTimes[i] = start;
            start += measures[i]->length();
        }
        startTimes[measures.count()] = start;
        startTimesValid = true;
    }
    if (index < 0)
        return 0;
    return startTimes[index < measures.count() ? index : measures.count()];
}

int MnStaff::totalTicks() const
{
    return measureStartTime(measures.count());
}

bool MnStaff::setSpacing(double spacing)
{
    if (!mnIsStaffSpacing(spacing))
        return false;
    staffSpacing = spacing;
    return true;
}

void MnStaff::setTablature(MnTablature* tablature)
{
    if (tablature == tab)
        return;
    delete tab;
    tab = tablature;
}
