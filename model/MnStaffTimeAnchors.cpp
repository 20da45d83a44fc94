// What a staff anchors to times — staff changes, lines and lyric lines —
// follows the chords when a measure's chords change and when a span of time
// is cut out of the staff.

#include "model/MnStaff.h"

#include "model/MnChord.h"
#include "model/MnChordOnsets.h"
#include "model/MnLine.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnStaffChange.h"

static bool containsTime(const BcArray<int>& times, int time)
{
    for (int i = 0; i < times.count(); ++i) {
        if (times[i] == time)
            return true;
    }
    return false;
}

void MnStaff::reconcileWithMeasure(MnMeasure* measure)
{
    if (reconcilingSuspended || !measure || measure->staff() != this)
        return;
    const int start = measure->startTime();
    const int end = start + measure->length();

    // Staff changes sit on the onsets of the voices that hold music; the
    // measure's start counts always, so that a clef, key or meter at the
    // bar line stays there when the measure holds only rests.
    BcArray<int> musicOnsets;
    musicOnsets.add(start);
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
        if (!measure->isMeasureRest(voice))
            addChordOnsets(measure, voice, musicOnsets);
    }
    for (int i = changes.count() - 1; i >= 0; --i) {
        MnStaffChange* change = changes[i];
        const int time = change->startTime();
        if (time < start || time >= end || containsTime(musicOnsets, time))
            continue;
        int target = end;
        for (int k = 0; k < musicOnsets.count(); ++k) {
            if (musicOnsets[k] > time) {
                target = musicOnsets[k];
                break;
            }
        }
        // The changes after this one have been moved already, so a change
        // standing at the target is the only one that can be in the way.
        if (i + 1 < changes.count() && changes[i + 1]->startTime() == target) {
            changes.removeAt(i);
            delete change;
        } else {
            change->setStartTime(target);
        }
    }

    // Lines start on the onset of some chord, of any voice, grace chords
    // included; their ends reach to the end of a chord.
    BcArray<int> onsets;
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice)
        addChordOnsets(measure, voice, onsets);
    for (int i = lines.count() - 1; i >= 0; --i) {
        const int lineStart = lines[i]->start();
        if (lineStart >= start && lineStart < end && !containsTime(onsets, lineStart)) {
            MnLine* line = lines[i];
            lines.removeAt(i);
            linesChanged();
            delete line;
        }
    }
    for (int i = 0; i < lines.count(); ++i) {
        MnLine* line = lines[i];
        if (line->length() < 0)
            continue;
        const int lineEnd = line->end();
        if (lineEnd <= start || lineEnd > end)
            continue;
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            int chordEnd = -1;
            for (int k = 0; k < chords.count() && chordEnd < 0; ++k) {
                const int candidate = start + chords[k]->time() + chords[k]->soundingDuration();
                if (candidate >= lineEnd)
                    chordEnd = candidate;
            }
            if (chordEnd < 0)
                continue;
            if (chordEnd != lineEnd)
                line->setLength(chordEnd - line->start());
            break;
        }
    }

    // A lyric line that starts in the measure and has lost the chord it
    // started on moves to the chord of its voice that now sounds there.
    // (Looked up in the measure itself: finding the chord through the staff
    // would walk the measures before it at every edit.)
    for (int i = 0; i < lyrics.count(); ++i) {
        MnLyric* lyric = lyrics[i];
        const int voice = lyric->voice();
        if (lyric->start() < start || lyric->start() >= end || voice < 0 || voice >= MnMeasure::voiceCount)
            continue;
        const BcArray<MnChord*>& chords = measure->voiceChords(voice);
        bool anchored = false;
        for (int k = 0; k < chords.count() && !anchored; ++k)
            anchored = !chords[k]->isGrace() && start + chords[k]->time() == lyric->start();
        if (!anchored)
            lyric->reanchor();
    }
}

void MnStaff::removeTimeSpan(int time, int length, bool keepAtStart)
{
    if (length <= 0)
        return;
    const int cut = time;
    const int after = time + length;

    // The changes before the span stay; those after it move back; of those
    // inside, a time signature carries its meter to what now follows the
    // cut, unless a change from after the span arrives there.
    // Whether each change alters the meter is read before any moves.
    BcArray<bool> altersMeter;
    for (int i = 0; i < changes.count(); ++i)
        altersMeter.add(changes[i]->changesTime());
    BcArray<MnStaffChange*> kept;
    BcArray<MnStaffChange*> gone;
    MnStaffChange* atCut = nullptr;
    MnStaffChange* meter = nullptr;
    BcArray<MnStaffChange*> later;
    for (int i = 0; i < changes.count(); ++i) {
        MnStaffChange* change = changes[i];
        const int start = change->startTime();
        if (start < cut) {
            kept.add(change);
        } else if (start >= after) {
            later.add(change);
        } else if (keepAtStart && start == cut) {
            atCut = change;
        } else if (altersMeter[i]) {
            // The latest meter of the span is the one that held on.
            if (meter)
                gone.add(meter);
            meter = change;
        } else {
            gone.add(change);
        }
    }
    for (int i = 0; i < later.count(); ++i)
        later[i]->setStartTime(later[i]->startTime() - length);
    if (!later.isEmpty() && later[0]->startTime() == cut) {
        // The change that arrives replaces what stood at the cut; one that
        // stays with its measure takes its clef and key over instead.
        if (meter)
            gone.add(meter);
        meter = nullptr;
        if (atCut) {
            atCut->setClef(later[0]->clef());
            atCut->setKey(later[0]->key());
            gone.add(later[0]);
            later.removeAt(0);
        }
    }
    if (meter && atCut) {
        gone.add(meter);
        meter = nullptr;
    }
    if (meter)
        meter->setStartTime(cut);
    changes.removeAll();
    for (int i = 0; i < kept.count(); ++i)
        changes.add(kept[i]);
    if (atCut)
        changes.add(atCut);
    if (meter)
        changes.add(meter);
    for (int i = 0; i < later.count(); ++i)
        changes.add(later[i]);
    for (int i = 0; i < gone.count(); ++i)
        delete gone[i];

    // A change that has arrived at the staff's start becomes the staff's
    // own definition.
    while (!changes.isEmpty() && changes[0]->startTime() <= 0 && changes[0] != meter) {
        MnStaffChange* first = changes[0];
        MnStaffDefinition::setClef(first->clef());
        MnStaffDefinition::setKey(first->key());
        MnStaffDefinition::setTime(first->time());
        changes.removeAt(0);
        delete first;
    }

    for (int i = lines.count() - 1; i >= 0; --i) {
        MnLine* line = lines[i];
        const int start = line->start();
        const int end = line->end();
        if (start >= after) {
            line->setStart(start - length, true);
        } else if (start < cut) {
            if (end > after)
                line->setLength(line->length() - length);
            else if (end > cut)
                line->setLength(cut - start);
        } else if (end > after) {
            line->setStart(cut, true);
            line->setLength(end - after);
        } else {
            lines.removeAt(i);
            linesChanged();
            delete line;
        }
    }

    // Lyric lines after the span move back with it; one in the span that no
    // longer starts on a chord of its voice moves to the chord sounding
    // there; one past the staff's new end goes.
    for (int i = lyrics.count() - 1; i >= 0; --i) {
        MnLyric* lyric = lyrics[i];
        if (lyric->start() >= after)
            lyric->setStart(lyric->start() - length);
        else if (lyric->start() >= cut && !lyric->firstChord())
            lyric->reanchor();
    }
    const int total = totalTicks();
    for (int i = lyrics.count() - 1; i >= 0; --i) {
        if (lyrics[i]->start() >= total) {
            MnLyric* lyric = lyrics[i];
            lyrics.removeAt(i);
            delete lyric;
        }
    }

    // The meter went with the measures it began in: what follows goes back
    // to the meter before it.
    if (!meter)
        return;
    const int before = definitionAt(cut - 1, false)->time();
    if (meter->time() != before) {
        for (int m = 0; m < measures.count(); ++m) {
            if (measureStartTime(m) != cut)
                continue;
            // Without re-barring, the measures keep the meter they have,
            // and so does the change that names it.
            if (!rebar(m, before))
                return;
            break;
        }
    }
    const int index = changes.indexOf(meter);
    if (index >= 0) {
        changes.removeAt(index);
        delete meter;
    }
}
