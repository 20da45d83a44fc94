// The horizontal layout of a measure column, shared by all staves: one list
// of onsets and one of x offsets. It starts from a fixed spacing per
// duration, is widened for collisions, key and time changes, bar lines, the
// user's width and lyric syllables, and is finally stretched to fill a
// system. The first staff's measure keeps the unstretched layout across
// MnCache scopes under the key of everything it was computed from, so a
// pass after an edit lays out only the columns the edit touched.

#include "model/MnScore.h"

#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnColumnLayout.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnStaffDefinition.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"

#include <algorithm>

static thread_local long long columnLayouts = 0;

long long MnScore::columnLayoutCount()
{
    return columnLayouts;
}

double durationSpacing(int ticks)
{
    switch (ticks) {
    case 241920:
        return 10.0;
    case 181440:
        return 12.5; // a half and a quarter for its dot
    case 120960:
        return 7.5;
    case 90720:
        return 8.125; // a quarter and 3.125 for its dot
    case 60480:
        return 5.0;
    case 45360:
    case 22680:
    case 11340:
    case 5670:
        return 6.25;
    default:
        return 3.125;
    }
}

// Sorts and drops repeated values.
static void sortUnique(BcArray<int>& values)
{
    if (values.isEmpty())
        return;
    int* begin = &values[0];
    std::sort(begin, begin + values.count());
    values.setSize(int(std::unique(begin, begin + values.count()) - begin));
}

// The index of the last onset at or before the time; 0 before the first.
static int onsetIndexAtOrBefore(const BcArray<int>& onsets, int time)
{
    const int* first = &onsets[0];
    const int after = int(std::upper_bound(first, first + onsets.count(), time) - first);
    return after > 0 ? after - 1 : 0;
}

static void shiftFrom(BcArray<double>& x, int from, double by)
{
    for (int j = from; j < x.count(); ++j)
        x[j] += by;
}

const MnColumnLayout* MnScore::columnLayout(int measureIndex) const
{
    if (staves.isEmpty() || measureIndex < 0 || measureIndex >= staves[0]->measureCount())
        return nullptr;
    MnColumnLayout& layout = staves[0]->measure(measureIndex)->columnLayout();
    const int stamp = MnCache::currentStamp();
    if (stamp != 0 && layout.stamp == stamp)
        return &layout;
    MnLayoutKey key;
    columnKey(measureIndex, key);
    if (!layout.computed || layout.key != key) {
        computeColumnLayout(measureIndex, layout);
        layout.key = key;
        layout.computed = true;
        ++columnLayouts;
    }
    layout.stamp = stamp;
    return &layout;
}

double MnScore::measureNaturalWidth(int measureIndex) const
{
    MnCache scope;
    const MnColumnLayout* layout = columnLayout(measureIndex);
    return layout ? layout->naturalWidth : 0.0;
}

void MnScore::layoutMeasureColumn(int measureIndex, BcArray<int>& onsets, BcArray<double>& x, double stretch) const
{
    onsets.removeAll();
    x.removeAll();
    MnCache scope;
    const MnColumnLayout* layout = columnLayout(measureIndex);
    if (!layout)
        return;
    onsets = layout->onsets;
    x = layout->x;
    // The stretch spreads the column's natural width, each onset by its
    // share of the natural spacing; the widenings stay as they are.
    if (!(stretch > 1.0) || x.isEmpty())
        return;
    const double last = x[x.count() - 1];
    const double target = layout->naturalWidth * stretch + (last - layout->naturalWidth);
    if (target - last <= 0.0)
        return;
    for (int j = 0; j < x.count(); ++j)
        x[j] += (target - last) * layout->weights[j];
}

// Everything the layout of the column reads: the meters, bar lines and
// user widths of its measures, the definitions in effect from just before
// it to its end, every chord and note of its voices with the syllables sung
// on them, and the part scales.
void MnScore::columnKey(int index, MnLayoutKey& key) const
{
    key.add(index);
    key.add(staves.count());
    for (int s = 0; s < staves.count(); ++s) {
        const MnStaff* staff = staves[s];
        staff->measureSyllables();
        key.add(parts[s]->partScale());
        if (index >= staff->measureCount()) {
            key.add(-1);
            continue;
        }
        const MnMeasure* measure = staff->measure(index);
        key.add(measure->beats());
        key.add(measure->beatTicks());
        key.add(measure->barline());
        key.add(measure->userWidth());
        key.add(index > 0 ? staff->measure(index - 1)->barline() : -1);
        const int start = measure->startTime();
        const int end = start + measure->length();
        const MnStaffDefinition* before = staff->definitionAt(start - 1, false);
        key.add(before->clef());
        key.add(before->key());
        key.add(before->time());
        for (int c = 0; c < staff->changeCount(); ++c) {
            const MnStaffChange* change = staff->change(c);
            if (change->startTime() < start)
                continue;
            if (change->startTime() > end)
                break;
            key.add(change->startTime());
            key.add(change->clef());
            key.add(change->key());
            key.add(change->time());
        }
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            key.add(chords.count());
            for (int i = 0; i < chords.count(); ++i) {
                const MnChord* chord = chords[i];
                // The small codes share a word: each keeps its own bits.
                const int codes = (chord->isGrace() ? 1 : 0) | (chord->isStemInverted() ? 2 : 0) |
                                  ((chord->stemSetting() + 1) & 0xF) << 2 | ((chord->beamMode() + 1) & 0xF) << 6 |
                                  (chord->actual() & 0xFF) << 10 | (chord->normal() & 0xFF) << 18;
                key.add(chord->time(), chord->duration());
                key.add(codes, chord->tuplet() ? chord->tuplet()->span() : -1);
                key.add(chord->syllableWidth());
                key.add(chord->noteCount());
                for (int n = 0; n < chord->noteCount(); ++n) {
                    const MnNote* note = chord->note(n);
                    key.add(note->octave(),
                            (note->step() & 0xFF) << 16 | (note->accidental() & 0xFF) << 8 | (note->hasArpeggio() ? 1 : 0));
                }
            }
        }
    }
}

namespace {

// A chord that starts at an onset of the column, with the nearest earlier
// chord of its voice in the same measure.
struct OnsetChord
{
    int onset;
    const MnChord* chord;
    const MnChord* previous;
    int previousOnset;
    int staff;
    double scale;
};

} // namespace

void MnScore::computeColumnLayout(int index, MnColumnLayout& layout) const
{
    BcArray<int>& onsets = layout.onsets;
    BcArray<double>& x = layout.x;
    BcArray<double>& weights = layout.weights;
    onsets.removeAll();
    x.removeAll();
    weights.removeAll();
    const MnMeasure* lead = staves[0]->measure(index);
    const int length = lead->length();
    // The grid of the column. Its count is capped at the measure's length,
    // so that the lcm of many staves never makes a step of 0.
    const long long divisions = std::clamp<long long>(lead->divisions(false), 1, std::max(1, length));
    const int step = std::max(1, int(length / divisions));
    const double largestScale = scaledByLargestPart(1.0);

    // Onsets: the grid points where a chord starts; grace chords count for
    // the natural width only.
    BcArray<int> starts;
    for (int s = 0; s < staves.count(); ++s) {
        if (index >= staves[s]->measureCount())
            continue;
        const MnMeasure* measure = staves[s]->measure(index);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i) {
                const int time = chords[i]->time();
                if (time < 0 || time >= length || time % step != 0)
                    continue;
                if (!chords[i]->isGrace())
                    onsets.add(time);
                if (time > 0)
                    starts.add(time);
            }
        }
    }
    sortUnique(starts);
    double natural = 0.0;
    int previous = 0;
    for (int i = 0; i < starts.count(); ++i) {
        natural += durationSpacing(starts[i] - previous);
        previous = starts[i];
    }
    layout.naturalWidth = natural + durationSpacing(length - previous);

    // 1, 2: the onsets with the measure's end, spaced by their durations.
    sortUnique(onsets);
    onsets.add(length);
    const int last = onsets.count() - 1;
    x.setSize(onsets.count());
    weights.setSize(onsets.count());
    x[0] = 0.0;
    for (int j = 1; j <= last; ++j)
        x[j] = x[j - 1] + durationSpacing(onsets[j] - onsets[j - 1]);
    for (int j = 0; j <= last; ++j)
        weights[j] = x[last] > 0.0 ? x[j] / x[last] : 0.0;

    // The chords at the onsets, with their predecessors in the voice.
    BcArray<OnsetChord> placed;
    for (int s = 0; s < staves.count(); ++s) {
        if (index >= staves[s]->measureCount())
            continue;
        const double scale = parts[s]->partScale();
        const MnMeasure* measure = staves[s]->measure(index);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            const MnChord* before = nullptr;
            int lastOnset = -1;
            for (int i = 0; i < chords.count(); ++i) {
                const MnChord* chord = chords[i];
                if (chord->isGrace())
                    continue;
                const int at = onsetIndexAtOrBefore(onsets, chord->time());
                if (at < last && onsets[at] == chord->time() && at != lastOnset) {
                    placed.add(OnsetChord{at, chord, before, before ? onsetIndexAtOrBefore(onsets, before->time()) : -1,
                                          s, scale});
                    lastOnset = at;
                }
                before = chord;
            }
        }
    }
    if (placed.count() > 1)
        std::stable_sort(&placed[0], &placed[0] + placed.count(),
                         [](const OnsetChord& a, const OnsetChord& b) { return a.onset < b.onset; });

    // 3: collisions, onset by onset; the first onset also makes room after
    // the system's or the bar line's start.
    int cursor = 0;
    for (int n = 0; n <= last; ++n) {
        double widen = n == 0 ? 4.0 + 1.5 * largestScale : 0.0;
        for (; cursor < placed.count() && placed[cursor].onset == n; ++cursor) {
            const OnsetChord& entry = placed[cursor];
            const double needed = (entry.chord->leftExtent(MnChord::ExtentChanges) + 1.0) * entry.scale;
            double available = x[n];
            if (entry.previous)
                available -= x[entry.previousOnset] + entry.previous->rightExtent();
            widen = std::max(widen, needed - available);
        }
        if (n == last) {
            // Trailing grace chords and a clef change at the bar line stand
            // before it.
            for (int s = 0; s < staves.count(); ++s) {
                if (index >= staves[s]->measureCount())
                    continue;
                const double scale = parts[s]->partScale();
                const MnMeasure* measure = staves[s]->measure(index);
                const BcArray<MnChord*>& chords = measure->voiceChords(0);
                double needed = 0.0;
                int i = chords.count() - 1;
                for (; i >= 0 && chords[i]->isGrace(); --i)
                    needed += chords[i]->width() * 0.6 * scale;
                const int end = measure->startTime() + length;
                const MnStaffDefinition* change = staves[s]->definitionAt(end, true);
                if (change && change != staves[s] && change->changesClef())
                    needed += 6.0 * scale;
                double available = x[last];
                if (i >= 0)
                    available -= x[onsetIndexAtOrBefore(onsets, chords[i]->time())] + chords[i]->rightExtent();
                widen = std::max(widen, needed - available);
            }
        }
        if (widen > 0.0)
            shiftFrom(x, n, widen);
    }

    // 4: room for a key or time change at the measure's start.
    if (index >= 1) {
        const int start = lead->startTime();
        shiftFrom(x, 0, keySignatureWidth(start, true, 2.0) + timeSignatureWidth(start, 2.0));
    }
    // 5, 6: the bar lines at both ends.
    shiftFrom(x, 0, scaledByLargestPart(lead->leadingBarlineSpace(false)));
    x[last] += scaledByLargestPart(lead->barlineSpace(false));
    // 7: the width the user added, spread like a stretch.
    if (lead->userWidth() > 0.0) {
        for (int j = 0; j <= last; ++j)
            x[j] += lead->userWidth() * weights[j];
    }

    // 8: room for the syllables, staff by staff: two neighbours' halves and
    // a gap between them.
    BcArray<double> sung;
    for (int s = 0; s < staves.count(); ++s) {
        sung.setSize(onsets.count());
        bool any = false;
        for (int j = 0; j <= last; ++j)
            sung[j] = 0.0;
        const double scale = parts[s]->partScale();
        for (int p = 0; p < placed.count(); ++p) {
            if (placed[p].staff != s)
                continue;
            const double width = placed[p].chord->syllableWidth() * scale;
            if (width > sung[placed[p].onset]) {
                sung[placed[p].onset] = width;
                any = true;
            }
        }
        if (!any)
            continue;
        for (int k = 0; k <= last; ++k) {
            const double gap = k > 0 ? x[k] - x[k - 1] : x[0];
            const double left = k > 0 ? sung[k - 1] / 2.0 : 0.0;
            double right = sung[k] / 2.0;
            if (left > 0.0 && right > 0.0)
                right += 3.0 * scale;
            const double over = right + left - gap;
            if (over > 0.0)
                shiftFrom(x, k, over);
        }
    }
}
