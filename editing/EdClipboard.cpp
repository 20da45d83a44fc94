#include "editing/EdClipboard.h"

#include "editing/EdCursor.h"
#include "editing/EdNotePath.h"
#include "model/MnChord.h"
#include "model/MnClipboard.h"
#include "model/MnLyric.h"
#include "model/MnLyricIterator.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTuplet.h"

#include <algorithm>
#include <climits>

BC_IMPLEMENT_CREATABLE_CLASS(EdClipboard)

EdClipboard::EdClipboard() = default;

EdClipboard::~EdClipboard()
{
    clear();
}

void EdClipboard::clear()
{
    records.removeAll();
    // The clones' elements leave the live selection as they die.
    owned.clear();
    selected.clear();
}

// The written value: undotted, plus half of it when dotted.
static int writtenValue(const MnChord* chord)
{
    const int undotted = chord->undottedDuration();
    return chord->isDotted() ? undotted + undotted / 2 : undotted;
}

// The tuplet a chord begins, or its distance from the first chord of the
// tuplet that covers it, in sounding and in written ticks.
static void setTupletFields(EdClipNote& record, const MnChord* chord)
{
    if (const MnTuplet* tuplet = chord->tuplet()) {
        record.startsTuplet = true;
        record.tupletSpan = tuplet->span();
        record.tupletNumber = tuplet->number();
        record.tupletAlternative = tuplet->isAlternative();
        return;
    }
    const MnChord* first = chord->measure()->tupletChordAt(chord->voice(), chord->time());
    if (!first || first->normal() < 1)
        return;
    record.tupletOffset = chord->time() - first->time();
    record.tupletNotatedOffset = int((long long)record.tupletOffset * first->actual() / first->normal());
}

EdClipNote EdClipboard::recordOf(const MnChord* chord, const MnNote* note, int line)
{
    EdClipNote record;
    record.isRest = !note;
    record.tied = note && note->isTied();
    record.key = note ? note->keyNumber() : 39;
    record.duration = writtenValue(chord);
    record.time = chord->measure()->startTime() + chord->time();
    // A grace chord counts back from the main chord it precedes; one that
    // ends the staff stands alone at its own time.
    const MnChord* main = nullptr;
    const int distance = EdCursor::graceRun(chord, &main);
    if (distance > 0 && main) {
        record.time = main->measure()->startTime() + main->time();
        record.graceIndex = distance;
    }
    record.voice = chord->voice();
    record.line = line;
    setTupletFields(record, chord);
    if (note)
        record.takeWritingOf(note);
    record.chord = EdClipNote::ChordSettings::of(chord);
    return record;
}

bool EdClipboard::copy(const EdSelection& selection)
{
    clear();
    // Notes and chords become records in one walk, so each element is
    // fetched from memory once; any other element makes the copy a clone of
    // its work instead.
    // One record at most per selected element: one block, filled once.
    records.setCapacity(selection.count());
    const MnScore* score = nullptr;
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* element = selection.element(i);
        const MnNote* note = nullptr;
        const MnChord* chord = nullptr;
        if (element->isKindOf(MnNote::staticClass())) {
            note = static_cast<const MnNote*>(element);
            chord = note->chord();
        } else if (element->isKindOf(MnChord::staticClass())) {
            chord = static_cast<const MnChord*>(element);
        } else {
            records.removeAll();
            return copyOthers(selection);
        }
        const MnStaff* staff = chord ? chord->staff() : nullptr;
        if (!staff)
            continue;
        if (!score)
            score = staff->score();
        else if (staff->score() != score)
            continue;
        records.add(recordOf(chord, note, staff->index()));
    }
    if (records.isEmpty())
        return false;

    const auto before = [](const EdClipNote& a, const EdClipNote& b) {
        if (a.line != b.line)
            return a.line < b.line;
        if (a.time != b.time)
            return a.time < b.time;
        return a.graceIndex < b.graceIndex;
    };
    // A selection made in score order is mostly sorted already.
    if (!std::is_sorted(records.data(), records.data() + records.count(), before))
        std::stable_sort(records.data(), records.data() + records.count(), before);
    int earliest = records[0].time;
    int lowestLine = records[0].line;
    for (int i = 1; i < records.count(); ++i)
        earliest = std::min(earliest, records[i].time);
    for (int i = 0; i < records.count(); ++i) {
        records[i].time -= earliest;
        records[i].line -= lowestLine;
    }
    return true;
}

bool EdClipboard::copyOthers(const EdSelection& selection)
{
    EdSelection others;
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* element = selection.element(i);
        if (!element->isKindOf(MnNote::staticClass()) && !element->isKindOf(MnChord::staticClass()))
            others.add(element);
    }
    return copyElements(others);
}

// The nearest element of the class at or above the element.
template <class T>
static T* atOrAbove(MnElement* element)
{
    for (MnElement* walk = element; walk; walk = walk->parent()) {
        if (walk->isKindOf(T::staticClass()))
            return static_cast<T*>(walk);
    }
    return nullptr;
}

bool EdClipboard::copyElements(const EdSelection& elements)
{
    // The works the elements lie in: sheet musics first, then scores that
    // no sheet of the list shows as its own.
    BcArray<MnElement*> candidates;
    for (int i = 0; i < elements.count(); ++i) {
        MnElement* element = elements.element(i);
        if (element->isKindOf(MnSheetMusic::staticClass()) && candidates.indexOf(element) < 0)
            candidates.add(element);
    }
    for (int i = 0; i < elements.count(); ++i) {
        MnScore* score = atOrAbove<MnScore>(elements.element(i));
        if (!score || candidates.indexOf(score) >= 0)
            continue;
        if (score->parent() && candidates.indexOf(score->parent()) >= 0)
            continue;
        candidates.add(score);
    }
    if (candidates.isEmpty())
        return false;

    MnElement* work = candidates[0];
    if (work->isKindOf(MnSheetMusic::staticClass())) {
        std::unique_ptr<MnSheetMusic> sheet(new MnSheetMusic());
        if (!sheet->copyFrom(work))
            return false;
        owned.emplace_back(std::move(sheet));
        return true;
    }
    return copyScore(static_cast<MnScore*>(work), elements);
}

bool EdClipboard::copyScore(MnScore* score, const EdSelection& elements)
{
    std::unique_ptr<MnScore> clone(new MnScore());
    if (!clone->copyFrom(score))
        return false;

    BcArray<MnElement*> original;
    original.add(score);
    BcArray<MnElement*> copied;
    copied.add(clone.get());
    for (int i = 0; i < elements.count(); ++i) {
        MnElement* element = elements.element(i);
        if (atOrAbove<MnScore>(element) != score)
            continue;
        const EdNotePath path(element, original);
        if (!path.isUnset()) {
            selected.add(path.resolve(copied));
            continue;
        }
        if (!element->isKindOf(MnStaffChange::staticClass()))
            continue;
        BcArray<MnElement*> span;
        collectStaffChangeSpan(static_cast<MnStaffChange*>(element), span);
        for (int k = 0; k < span.count(); ++k) {
            if (!elements.contains(span[k]))
                selected.add(EdNotePath(span[k], original).resolve(copied));
        }
    }
    if (!cropScore(clone.get(), selected)) {
        clone.reset();
        selected.clear();
        return false;
    }
    owned.emplace_back(std::move(clone));
    return true;
}

bool EdClipboard::pasteItems(EdSelection* made) const
{
    // Without a collection no one would own the works.
    if (!made)
        return false;
    bool any = false;
    for (const std::unique_ptr<MnElement>& clone : owned) {
        std::unique_ptr<MnElement> work;
        if (clone->isKindOf(MnSheetMusic::staticClass()))
            work.reset(new MnSheetMusic());
        else if (clone->isKindOf(MnScore::staticClass()))
            work.reset(new MnScore());
        if (!work || !work->copyFrom(clone.get()))
            continue;
        made->add(work.release());
        any = true;
    }
    return any;
}

void EdClipboard::collectStaffChangeSpan(MnStaffChange* change, BcArray<MnElement*>& out)
{
    MnStaff* staff = change ? change->staff() : nullptr;
    if (!staff)
        return;
    // The change governs from its time up to the next change of its staff.
    const int from = change->startTime();
    int to = INT_MAX;
    const int index = staff->changeArray().indexOf(change);
    if (index >= 0 && index + 1 < staff->changeCount())
        to = staff->change(index + 1)->startTime();
    for (int m = 0; m < staff->measureCount(); ++m) {
        MnMeasure* measure = staff->measure(m);
        const int start = staff->measureStartTime(m);
        const int lastTick = start + measure->length() - 1;
        if (lastTick < from || start >= to)
            continue;
        if (start >= from && lastTick < to) {
            out.add(measure);
            continue;
        }
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i) {
                const int time = start + chords[i]->time();
                if (time >= from && time < to)
                    out.add(chords[i]);
            }
        }
    }
}

static void widen(int* start, int* end, int from, int to)
{
    if (*start < 0 || from < *start)
        *start = from;
    if (*end < 0 || to > *end)
        *end = to;
}

void EdClipboard::selectedTimeSpan(MnStaff* staff, const EdSelection& selected, int* start, int* end)
{
    if (!staff || !start || !end)
        return;
    if (selected.contains(staff)) {
        widen(start, end, 0, staff->totalTicks());
        return;
    }
    for (int m = 0; m < staff->measureCount(); ++m) {
        MnMeasure* measure = staff->measure(m);
        const int measureStart = staff->measureStartTime(m);
        if (selected.contains(measure)) {
            widen(start, end, measureStart, measureStart + measure->length());
            continue;
        }
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i) {
                const MnChord* chord = chords[i];
                bool chosen = selected.contains(chord);
                for (int n = 0; n < chord->noteCount() && !chosen; ++n)
                    chosen = selected.contains(chord->note(n));
                if (!chosen)
                    continue;
                const int time = measureStart + chord->time();
                const int length = chord->isGrace() || chord->actual() < 1
                                       ? 0
                                       : int((long long)chord->duration() * chord->normal() / chord->actual());
                widen(start, end, time, time + length);
            }
        }
    }
}

// Keeps the lyric lines of a staff to the syllables sung in [from, to): a
// line that begins earlier loses its syllables before from and starts at
// the first one it keeps.
static void cropLyrics(MnStaff* staff, int from, int to)
{
    for (int i = staff->lyricArray().count() - 1; i >= 0; --i) {
        MnLyric* lyric = staff->lyricArray()[i];
        const int start = lyric->start();
        if (start >= from && start < to) {
            lyric->truncate(to - start);
            continue;
        }
        int dropped = 0;
        int firstKept = -1;
        if (start < from) {
            MnLyricIterator walk(lyric);
            for (walk.begin(); !walk.atEnd(); walk.next()) {
                const int onset = walk.start->measure()->startTime() + walk.start->time();
                if (onset >= from) {
                    firstKept = onset;
                    break;
                }
                ++dropped;
            }
        }
        if (firstKept < 0 || (dropped > 0 && !lyric->removeLeadingSyllables(dropped))) {
            staff->removeChild(lyric);
            continue;
        }
        lyric->setStart(firstKept);
        lyric->truncate(to - firstKept);
    }
}

// Crops the clone to the measures first..last.
static void cropToMeasures(MnScore* clone, int first, int last)
{
    MnStaff* firstStaff = clone->staff(0);
    const int from = firstStaff->measureStartTime(first);
    const int to = firstStaff->measureStartTime(last + 1);
    for (int s = 0; s < clone->staffCount(); ++s) {
        MnStaff* staff = clone->staff(s);
        const MnStaffDefinition* inEffect = staff->definitionAt(from, false);
        const int clef = inEffect->clef();
        const int key = inEffect->key();
        staff->setClef(clef);
        staff->setKey(key);
        cropLyrics(staff, from, to);
    }
    for (int m = firstStaff->measureCount() - 1; m >= 0; --m) {
        if (m >= first && m <= last)
            continue;
        // A meter that begins with a removed measure still holds for the
        // measures after it.
        const int start = firstStaff->measureStartTime(m);
        const MnStaffDefinition* here = start > 0 ? firstStaff->definitionAt(start, true) : nullptr;
        if (here && here->changesTime() && m + 1 < firstStaff->measureCount()) {
            const int next = firstStaff->measureStartTime(m + 1);
            for (int s = 0; s < clone->staffCount(); ++s) {
                MnStaff* staff = clone->staff(s);
                if (!staff->definitionAt(next, true))
                    staff->insertStaffChange(next);
            }
        }
        firstStaff->removeChild(firstStaff->measure(m));
    }
}

// Takes out of every measure column the beats that lie wholly before start
// or from end on; the beats are found before any is removed.
static void trimBeats(MnScore* clone, int start, int end)
{
    MnStaff* firstStaff = clone->staff(0);
    BcArray<MnMeasure*> measures;
    BcArray<BcArray<int>> cuts;
    for (int m = 0; m < firstStaff->measureCount(); ++m) {
        MnMeasure* measure = firstStaff->measure(m);
        const long long measureStart = firstStaff->measureStartTime(m);
        const long long beat = measure->beatTicks();
        const bool endsAfter = measureStart + measure->length() > end;
        BcArray<int> beats;
        for (int w = 0; w < measure->beats(); ++w) {
            if (measureStart + (w + 1) * beat <= start || (endsAfter && measureStart + w * beat >= end))
                beats.add(w);
        }
        if (!beats.isEmpty()) {
            measures.add(measure);
            cuts.add(beats);
        }
    }
    for (int i = 0; i < measures.count(); ++i)
        measures[i]->removeBeats(cuts[i]);
}

bool EdClipboard::cropScore(MnScore* clone, const EdSelection& selected)
{
    if (!clone)
        return false;
    if (selected.contains(clone))
        return true;

    bool staffSelected = false;
    for (int s = 0; s < clone->staffCount() && !staffSelected; ++s)
        staffSelected = selected.contains(clone->staff(s));
    if (!staffSelected) {
        const MnStaff* firstStaff = clone->staff(0);
        if (firstStaff->measureCount() == 0)
            return false;
        int first = -1;
        int last = -1;
        for (int i = 0; i < selected.count(); ++i) {
            const MnMeasure* measure = atOrAbove<MnMeasure>(selected.element(i));
            if (!measure || !measure->staff() || measure->staff()->score() != clone)
                continue;
            const int index = measure->index() - 1;
            if (first < 0 || index < first)
                first = index;
            last = std::max(last, index);
        }
        if (first < 0 || last >= firstStaff->measureCount())
            return false;
        cropToMeasures(clone, first, last);
    } else {
        int lowest = -1;
        int highest = -1;
        for (int i = 0; i < selected.count(); ++i) {
            const MnStaff* staff = atOrAbove<MnStaff>(selected.element(i));
            if (!staff || staff->score() != clone)
                continue;
            if (lowest < 0 || staff->index() < lowest)
                lowest = staff->index();
            highest = std::max(highest, staff->index());
        }
        if (lowest < 0)
            return false;
        for (int s = clone->staffCount() - 1; s >= 0; --s) {
            if (s < lowest || s > highest)
                clone->removeChild(clone->staff(s));
        }
    }

    int start = -1;
    int end = -1;
    for (int s = clone->staffCount() - 1; s >= 0; --s)
        selectedTimeSpan(clone->staff(s), selected, &start, &end);
    if (start < 0 || end < 0)
        return false;
    trimBeats(clone, start, end);
    return true;
}

bool EdClipboard::copyMeasures(MnStaff* staff, int first, int last)
{
    if (!staff)
        return false;
    const int count = staff->measureCount();
    if (first < 0)
        first = 0;
    if (last < 0 || last >= count)
        last = count - 1;
    // The records are counted first, so that the block grows once.
    int recordCount = records.count();
    for (int m = first; m <= last; ++m) {
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = staff->measure(m)->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i)
                recordCount += chords[i]->isRest() ? (chords[i]->tuplet() ? 1 : 0) : chords[i]->noteCount();
        }
    }
    if (recordCount > records.capacity())
        records.setCapacity(recordCount);
    int offset = 0;
    for (int m = first; m <= last; ++m) {
        const MnMeasure* measure = staff->measure(m);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i) {
                const MnChord* chord = chords[i];
                // A rest that begins a tuplet carries the tuplet back.
                if (chord->isRest() && !chord->tuplet())
                    continue;
                EdClipNote record;
                record.duration = writtenValue(chord);
                record.time = offset + chord->time();
                record.graceIndex = EdCursor::graceRun(chord);
                record.voice = voice;
                setTupletFields(record, chord);
                record.chord = EdClipNote::ChordSettings::of(chord);
                if (chord->isRest()) {
                    record.isRest = true;
                    records.add(record);
                    continue;
                }
                for (int n = 0; n < chord->noteCount(); ++n) {
                    const MnNote* note = chord->note(n);
                    record.tied = note->isTied();
                    record.key = note->keyNumber();
                    record.takeWritingOf(note);
                    records.add(record);
                }
            }
        }
        offset += measure->length();
    }
    return true;
}

namespace
{
// The clipboard the model lifts music through: a stack clipboard that gives
// the music back as it was written.
class ModelClipboard : public MnClipboard
{
public:
    ModelClipboard() { clipboard.setRestoresWriting(true); }

    bool copyNotes(const BcArray<MnNote*>& notes) override
    {
        EdSelection selection;
        for (int i = 0; i < notes.count(); ++i)
            selection.add(notes[i]);
        return clipboard.copy(selection);
    }
    bool copyMeasures(MnStaff* staff, int first, int last) override
    {
        return clipboard.copyMeasures(staff, first, last);
    }
    bool paste(MnStaff* staff, int time) override { return clipboard.paste(staff, time, nullptr); }

private:
    EdClipboard clipboard;
};

std::unique_ptr<MnClipboard> makeModelClipboard()
{
    return std::make_unique<ModelClipboard>();
}
} // namespace

void EdClipboard::installModelClipboard()
{
    MnClipboard::install(&makeModelClipboard);
}
