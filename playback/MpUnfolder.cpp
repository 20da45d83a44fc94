#include "playback/MpUnfolder.h"

#include "editing/EdCursor.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcString.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnLimits.h"
#include "model/MnLine.h"
#include "model/MnLyric.h"
#include "model/MnLyricIterator.h"
#include "model/MnMeasure.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "playback/MpDummyListener.h"

#include <algorithm>

BC_IMPLEMENT_CREATABLE_CLASS(MpUnfolder)

namespace {

const BcClass* classOfLines(int lineClass)
{
    switch (lineClass) {
    case MpUnfolder::OctaveLines:
        return MnOctave::staticClass();
    case MpUnfolder::PedalLines:
        return MnPedal::staticClass();
    default:
        return MnDynamic::staticClass();
    }
}

// Copies the record of one element into another of the same class.
template <typename T>
void copyRecord(const T* from, T* to)
{
    BcMemoryFiler filer;
    if (!from->write(filer))
        return;
    filer.rewind();
    to->read(filer);
}

// Cuts a line to end at the time; a line that would be left without a length
// keeps the one it has.
void cutLine(MnLine* line, int time)
{
    if (line && line->end() > time && time > line->start())
        line->setLength(time - line->start());
}

bool isRepeatEnd(const MnMeasure* measure)
{
    const int barline = measure->barline();
    return barline == MnBarlineEndRepeat || barline == MnBarlineEndStartRepeat ||
           measure->repeatJump() != MnRepeatJumpNone;
}

} // namespace

MpUnfolder::MpUnfolder() = default;

MpUnfolder::~MpUnfolder()
{
    // A score still here was never handed over.
    delete unfoldedScore;
}

int MpUnfolder::openLineRemainder(int lineClass, int staffIndex) const
{
    if (lineClass < 0 || lineClass >= lineClassCount || staffIndex < 0 || staffIndex >= remainders[lineClass].count())
        return 0;
    return remainders[lineClass][staffIndex];
}

void MpUnfolder::clearJumpMarks(MnMeasure* measure)
{
    if (!measure)
        return;
    const MnStaff* staff = measure->staff();
    const MnScore* score = staff ? staff->score() : nullptr;
    const int index = measure->index() - 1;
    const int staffCount = score ? score->staffCount() : 1;
    for (int s = 0; s < staffCount; ++s) {
        MnMeasure* each = measure;
        if (score) {
            const MnStaff* other = score->staff(s);
            if (index < 0 || index >= other->measureCount())
                continue;
            each = other->measure(index);
        }
        const int barline = each->barline();
        if (barline == MnBarlineEndRepeat || barline == MnBarlineStartRepeat || barline == MnBarlineEndStartRepeat)
            each->setBarline(MnBarlineSingle);
        each->setVoltaMask(0);
        each->setVoltaClosed(false);
        each->setRepeatMarker(MnRepeatMarkerNone);
        each->setRepeatJump(MnRepeatJumpNone);
    }
    measure->setVoltaText(BcString());
}

MnScore* MpUnfolder::unfold(const MnScore* score)
{
    delete unfoldedScore;
    unfoldedScore = nullptr;
    for (BcArray<int>& remainder : remainders)
        remainder.removeAll();
    full = false;
    if (!score || score->staffCount() == 0)
        return new MnScore();

    // The performer walks the score without changing it; the cursor wants
    // a staff it could edit.
    MnStaff* staff = const_cast<MnStaff*>(score->staff(0));
    EdCursor walker;
    walker.setAtStaffStart(staff, -1);
    walker.setPosition(0, 0, false);
    MpDummyListener listener;
    start(&listener, &walker, true);

    int lastIndex = 0;
    int lastOffset = 0;
    while (!isFinished()) {
        const int before = walker.time();
        const int given = lastStep();
        perform();
        const int time = walker.time();
        const MnMeasure* measure = time < 0 ? staff->measure(0) : staff->measureAtTime(time);
        if (!measure)
            continue;
        const int index = measure->index();
        const int offset = time < 0 ? 0 : time - measure->startTime();
        // A jump back to the start of the measure just left (a one-measure
        // repeat) lands on the same index and offset: only the cursor's
        // failure to advance by the step it was given tells of it. A first
        // ending's jump to its own start is a plain advance.
        const bool advanced = time == before + given;
        if (lastIndex == 0 || index != lastIndex || offset < lastOffset || !advanced)
            appendMeasure(score, index, lastIndex == 0, index != lastIndex + 1 || !advanced);
        lastOffset = offset;
        lastIndex = index;
        setLastStep(measure->length());
    }
    reset();

    MnScore* result = unfoldedScore ? unfoldedScore : new MnScore();
    unfoldedScore = nullptr;
    return result;
}

void MpUnfolder::startScore(const MnScore* source)
{
    delete unfoldedScore;
    unfoldedScore = new MnScore();
    full = false;
    BcMemoryFiler filer;
    filer.bytes().setGrowBy(1024);
    bool copied = source->write(filer);
    if (copied) {
        filer.rewind();
        copied = unfoldedScore->read(filer);
    }
    if (!copied || unfoldedScore->staffCount() != source->staffCount()) {
        // Nothing sensible can be appended to a copy that failed.
        delete unfoldedScore;
        unfoldedScore = new MnScore();
        full = true;
    }

    for (int s = 0; s < unfoldedScore->staffCount(); ++s) {
        MnStaff* staff = unfoldedScore->staff(s);
        // Lines and lyrics come back measure by measure; those of the first
        // measure too, so that each is there once.
        BcArray<MnLine*>& lines = staff->lineArray();
        while (!lines.isEmpty()) {
            MnLine* line = lines[lines.count() - 1];
            lines.removeAt(lines.count() - 1);
            delete line;
        }
        BcArray<MnLyric*>& lyrics = staff->lyricArray();
        while (!lyrics.isEmpty()) {
            MnLyric* lyric = lyrics[lyrics.count() - 1];
            lyrics.removeAt(lyrics.count() - 1);
            delete lyric;
        }
    }
    MnStaff* first = unfoldedScore->staff(0);
    while (first->measureCount() > 1)
        unfoldedScore->removeMeasure(first->measureCount() - 1);
    clearJumpMarks(first->measure(0));
    for (BcArray<int>& remainder : remainders) {
        remainder.removeAll();
        for (int s = 0; s < unfoldedScore->staffCount(); ++s)
            remainder.add(0);
    }
}

bool MpUnfolder::appendEmptyMeasure()
{
    MnStaff* first = unfoldedScore->staff(0);
    const MnMeasure* last = first->measure(first->measureCount() - 1);
    int beats = 0;
    int beatTicks = 0;
    mnTimeSignatureMeter(first->definitionAt(last->startTime(), false)->time(), beats, beatTicks);
    if (first->measureCount() >= MnMaxRecordCount ||
        (long long)first->totalTicks() + (long long)beats * beatTicks > MnMaxStaffTicks)
        return false;
    return unfoldedScore->insertMeasure(-1);
}

void MpUnfolder::appendMeasure(const MnScore* source, int measureIndex, bool first, bool jumped)
{
    if (!source || source->staffCount() == 0 || measureIndex < 1 ||
        measureIndex > source->staff(0)->measureCount())
        return;
    if (first)
        startScore(source);
    if (!unfoldedScore || full)
        return;
    const int staffCount = std::min(source->staffCount(), unfoldedScore->staffCount());

    if (!first) {
        if (!appendEmptyMeasure()) {
            full = true;
            return;
        }
        for (int s = 0; s < staffCount; ++s) {
            const MnStaff* sourceStaff = source->staff(s);
            const MnMeasure* sourceMeasure = sourceStaff->measure(measureIndex - 1);
            MnStaff* staff = unfoldedScore->staff(s);
            carryStaffChanges(sourceStaff, s, sourceMeasure, staff->measureStartTime(staff->measureCount() - 1));
            MnMeasure* measure = staff->measure(staff->measureCount() - 1);
            copyRecord(sourceMeasure, measure);
            clearJumpMarks(measure);
        }
    }

    for (int lineClass = 0; lineClass < lineClassCount; ++lineClass) {
        for (int s = 0; s < staffCount; ++s)
            copyLines(source->staff(s), s, lineClass, source->staff(s)->measure(measureIndex - 1), jumped);
    }

    for (int s = 0; s < staffCount; ++s) {
        const MnStaff* sourceStaff = source->staff(s);
        // Past the end of a repeated section or a jump mark, a lyric of one
        // pass stops, and the lyrics of the pass now sung take over.
        const bool restart =
            jumped || (measureIndex >= 2 && isRepeatEnd(sourceStaff->measure(measureIndex - 2)));
        copyLyrics(sourceStaff, s, sourceStaff->measure(measureIndex - 1), restart);
    }
}

void MpUnfolder::setDefinitionAt(int staffIndex, int time, int clef, int key, int timeType, bool withTime)
{
    // A change already there (made for the meter of another staff) takes
    // the clef and key; none there is made.
    auto changeAt = [time](MnStaff* staff) -> MnStaffDefinition* {
        MnStaffDefinition* there = staff->definitionAt(time, true);
        if (!there && staff->insertStaffChange(time))
            there = staff->definitionAt(time, true);
        return there;
    };
    MnStaffDefinition* definition = changeAt(unfoldedScore->staff(staffIndex));
    if (!definition)
        return;
    definition->setClef(clef);
    definition->setKey(key);
    if (!withTime)
        return;
    // The meter holds for every staff. The measure copied next brings its
    // own length, so the measures need no re-barring.
    for (int s = 0; s < unfoldedScore->staffCount(); ++s) {
        if (MnStaffDefinition* each = changeAt(unfoldedScore->staff(s)))
            each->setTimeType(timeType);
    }
}

void MpUnfolder::carryStaffChanges(const MnStaff* source, int staffIndex, const MnMeasure* sourceMeasure,
                                   int newStart)
{
    const MnStaff* staff = unfoldedScore->staff(staffIndex);
    const bool withTime = staffIndex == 0;
    const int sourceStart = sourceMeasure->startTime();
    const int sourceEnd = sourceStart + sourceMeasure->length();
    auto differs = [withTime](const MnStaffDefinition* a, const MnStaffDefinition* b) {
        return a->clef() != b->clef() || a->key() != b->key() || (withTime && a->time() != b->time());
    };

    // What is in force where the measure starts in the source, restored
    // where the copy starts: after a jump the staff may have changed since.
    // This holds for a jump back to measure 1 too.
    if (!source->definitionAt(sourceStart, true) || sourceStart == 0) {
        const MnStaffDefinition* wanted = source->definitionAt(sourceStart, false);
        if (differs(wanted, staff->definitionAt(newStart, false)))
            setDefinitionAt(staffIndex, newStart, wanted->clef(), wanted->key(), wanted->time(), withTime);
    }
    for (int c = 0; c < source->changeCount(); ++c) {
        const MnStaffChange* change = source->change(c);
        const int time = change->startTime();
        if (time < sourceStart)
            continue;
        if (time >= sourceEnd)
            break;
        const int at = newStart + time - sourceStart;
        if (differs(change, staff->definitionAt(at, false)))
            setDefinitionAt(staffIndex, at, change->clef(), change->key(), change->time(), withTime);
    }
}

MnLine* MpUnfolder::addCopiedLine(MnStaff* staff, int lineClass, const MnLine* original, int start, int length)
{
    MnLine* line = nullptr;
    switch (lineClass) {
    case OctaveLines:
        line = staff->addLine<MnOctave>(start);
        break;
    case PedalLines:
        line = staff->addLine<MnPedal>(start);
        break;
    default:
        line = staff->addLine<MnDynamic>(start);
        break;
    }
    if (!line)
        return nullptr;
    copyRecord(original, line);
    // The record brought the original's place in time; the line keeps the
    // place among the staff's lines that it was added at.
    line->setStart(start, true);
    line->setLength(length);
    return line;
}

void MpUnfolder::copyLines(const MnStaff* source, int staffIndex, int lineClass, const MnMeasure* sourceMeasure,
                           bool jumped)
{
    MnStaff* staff = unfoldedScore->staff(staffIndex);
    const BcClass* lineType = classOfLines(lineClass);
    const MnMeasure* measure = staff->measure(staff->measureCount() - 1);
    const int newStart = measure->startTime();
    const int newLength = measure->length();
    const int sourceStart = sourceMeasure->startTime();
    const int sourceEnd = sourceStart + sourceMeasure->length();
    int& remainder = remainders[lineClass][staffIndex];

    // The line copied last runs on into this measure.
    MnLine* open = nullptr;
    if (remainder > 0) {
        const BcArray<MnLine*>& lines = staff->lineArray();
        for (int i = lines.count() - 1; i >= 0 && !open; --i) {
            if (lines[i]->isKindOf(lineType))
                open = lines[i];
        }
        if (open)
            open->setLength(open->length() + std::min(remainder, newLength));
        remainder = std::max(0, remainder - newLength);
    }

    const BcArray<MnLine*>& sourceLines = source->lineArray();
    if (jumped) {
        // The music goes on elsewhere: what ran on stops at the bar line,
        // and a line that covers the start of the measure jumped to starts
        // again with it, up to the next line of its class.
        cutLine(open, newStart);
        remainder = 0;
        const MnLine* covering = nullptr;
        int nextStart = -1;
        for (int i = 0; i < sourceLines.count(); ++i) {
            const MnLine* line = sourceLines[i];
            if (!line->isKindOf(lineType))
                continue;
            if (line->start() >= sourceEnd)
                break;
            if (line->start() < sourceStart) {
                if (!covering && line->end() > sourceStart)
                    covering = line;
            } else if (nextStart < 0) {
                nextStart = line->start() - sourceStart;
            }
        }
        if (covering && nextStart != 0) {
            int runs = covering->end() - sourceStart;
            if (nextStart > 0 && nextStart < runs)
                runs = nextStart;
            if (MnLine* carried = addCopiedLine(staff, lineClass, covering, newStart, std::min(runs, newLength))) {
                open = carried;
                remainder = std::max(0, runs - newLength);
            }
        }
    }

    for (int i = 0; i < sourceLines.count(); ++i) {
        const MnLine* line = sourceLines[i];
        if (line->start() >= sourceEnd)
            break;
        if (line->start() < sourceStart || !line->isKindOf(lineType))
            continue;
        const int offset = line->start() - sourceStart;
        const int at = newStart + offset;
        cutLine(open, at);
        const int room = newLength - offset;
        remainder = std::max(0, line->length() - room);
        if (MnLine* copy = addCopiedLine(staff, lineClass, line, at, std::min(line->length(), room)))
            open = copy;
    }
}

// A copy of a lyric line at the time, sung in the pass it lands in.
static MnLyric* copyLyric(MnStaff* staff, const MnLyric* lyric, int start)
{
    MnLyric* copy = staff->addLyric(start, lyric->voice());
    if (!copy)
        return nullptr;
    copyRecord(lyric, copy);
    copy->setStart(start);
    if (copy->passThrough() > 1)
        copy->setPassThrough(1);
    return copy;
}

void MpUnfolder::copyLyrics(const MnStaff* source, int staffIndex, const MnMeasure* sourceMeasure, bool restart)
{
    MnStaff* staff = unfoldedScore->staff(staffIndex);
    const int newStart = staff->measureStartTime(staff->measureCount() - 1);
    const int sourceStart = sourceMeasure->startTime();
    const int sourceEnd = sourceStart + sourceMeasure->length();
    const int pass = passCount(sourceMeasure->index());
    const BcArray<MnLyric*>& sourceLyrics = source->lyricArray();
    auto sungNow = [pass](const MnLyric* lyric) {
        return lyric->passThrough() == 0 || lyric->passThrough() == pass;
    };

    if (restart) {
        // What the copies sang on past here belongs to the music left.
        BcArray<MnLyric*>& lyrics = staff->lyricArray();
        for (int i = 0; i < lyrics.count(); ++i) {
            if (lyrics[i]->start() < newStart)
                lyrics[i]->truncate(newStart - lyrics[i]->start());
        }
        // A line that the source sings across the bar line goes on from the
        // first of its syllables sung in this measure.
        for (int i = 0; i < sourceLyrics.count(); ++i) {
            const MnLyric* lyric = sourceLyrics[i];
            if (lyric->start() >= sourceStart)
                break;
            if (!sungNow(lyric) || lyric->start() + lyric->duration() <= sourceStart)
                continue;
            MnLyricIterator walk(lyric);
            int syllable = -1;
            int onset = 0;
            for (walk.begin(); !walk.atEnd(); walk.next()) {
                onset = walk.start->measure()->startTime() + walk.start->time();
                if (onset >= sourceStart) {
                    syllable = walk.syllable;
                    break;
                }
            }
            if (syllable < 0 || onset >= sourceEnd)
                continue;
            MnLyric* copy = copyLyric(staff, lyric, newStart + onset - sourceStart);
            if (copy && syllable > 0)
                copy->removeLeadingSyllables(syllable);
        }
    }

    for (int i = 0; i < sourceLyrics.count(); ++i) {
        const MnLyric* lyric = sourceLyrics[i];
        if (lyric->start() >= sourceEnd)
            break;
        if (lyric->start() >= sourceStart && sungNow(lyric))
            copyLyric(staff, lyric, newStart + lyric->start() - sourceStart);
    }
}
