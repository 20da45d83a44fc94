// What a MusicXML export hangs on a note: its "notations" (ties,
// articulations, fermata, slurs, arpeggio) and the "lyric" syllables sung
// on its chord.

#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcArray.h"
#include "foundation/BcString.h"
#include "foundation/BcXmlFiler.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnLyric.h"
#include "model/MnLyricIterator.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <algorithm>

namespace
{
// The file numbers arpeggios 1 to 16 only.
constexpr int highestArpeggioNumber = 16;

constexpr char16_t blank = u' ';

// A tie bends away from the stem; in a chord the outer note on the stem's
// side bends towards it, as the chord's other notes leave no room there.
bool tieGoesOver(const MnChord* chord, const MnNote* note)
{
    if (note->tiePlacement() != MnPlacementAuto)
        return note->tiePlacement() == MnPlacementAbove;
    const int notes = chord->noteCount();
    if (chord->autoStemDirection() == MnPlacementAbove)
        return notes >= 2 && chord->note(notes - 1) == note;
    return !(notes >= 2 && chord->note(0) == note);
}

// The number of the arpeggio whose chain the note is in: its chain's place
// among the lines and the single notes that sound at that time, counted
// from the last staff, within the file's range.
int arpeggioNumber(const MnChord* chord, const MnNote* first)
{
    const MnMeasure* measure = chord->measure();
    const MnStaff* staff = measure ? measure->staff() : nullptr;
    const MnScore* score = staff ? staff->score() : nullptr;
    if (!score)
        return 1;
    BcArray<MnNote*> notes;
    score->notesAtTime(measure->index() - 1, chord->time(), notes);
    int number = 0;
    for (int i = 0; i < notes.count(); ++i) {
        MnNote* note = notes[i];
        if (!note->computeArpeggioChain() || note->arpeggioChainFirst() == note)
            ++number;
        if (note == first)
            break;
    }
    return std::clamp(number, 1, highestArpeggioNumber);
}

const char* syllabicOf(bool wordStarts, bool wordEnds)
{
    if (wordStarts)
        return wordEnds ? "single" : "begin";
    return wordEnds ? "end" : "middle";
}
} // namespace

bool IeMusicXmlExporter::holdsSameNote(const MnChord* chord, const MnNote* note, bool tiedOnly)
{
    if (!chord)
        return false;
    // The same sounding key: with step and octave equal, the same
    // alteration and the same octave line.
    int alteration = 0;
    int shift = 0;
    bool known = false;
    for (int i = 0; i < chord->noteCount(); ++i) {
        const MnNote* other = chord->note(i);
        if ((tiedOnly && !other->isTied()) || other->step() != note->step() || other->octave() != note->octave())
            continue;
        if (!known) {
            alteration = note->effectiveAccidental();
            shift = octaveShiftAt(note->chord());
            known = true;
        }
        if (other->effectiveAccidental() == alteration && octaveShiftAt(chord) == shift)
            return true;
    }
    return false;
}

void IeMusicXmlExporter::writeNotations(BcXmlFiler& filer, MnChord* chord, MnNote* note)
{
    if (!chord || !note)
        return;
    MnChord* previous = chord->previousChord();
    MnChord* next = chord->nextChord();
    const bool tieStops = note->isTied() && holdsSameNote(previous, note, false);
    const bool tieStarts = holdsSameNote(next, note, true);
    const int marks = chord->articulations() &
                      (MnArticulationStaccatissimo | MnArticulationStaccato | MnArticulationTenuto |
                       MnArticulationAccent | MnArticulationStrongAccent);
    const bool fermata = chord->hasArticulation(MnArticulationFermata);
    // A slur runs over the chords that carry the slur bit and ends on the
    // chord after them; a chord flagged as a slur start ends the slur that
    // reaches it and opens its own.
    const bool slurred = chord->hasArticulation(MnArticulationSlur);
    const bool slurredBefore = previous && previous->hasArticulation(MnArticulationSlur);
    const bool slurStarts = slurred && next && (chord->isSlurStart() || !slurredBefore);
    const bool slurStops = slurredBefore && (!slurred || !next || chord->isSlurStart());
    const bool arpeggio = note->computeArpeggioChain();
    if (!tieStarts && !tieStops && !marks && !fermata && !slurStarts && !slurStops && !arpeggio)
        return;
    if (!filer.addElement("notations"))
        return;

    if ((tieStarts || tieStops) && filer.addElement("tied")) {
        filer.setAttribute("type", tieStarts ? "start" : "stop");
        filer.setAttribute("orientation", tieGoesOver(chord, note) ? "over" : "under");
        filer.goToParent();
    }
    if (marks && filer.addElement("articulations")) {
        static const struct
        {
            int bit;
            const char* name;
        } articulations[] = {
            {MnArticulationStaccatissimo, "staccatissimo"},
            {MnArticulationStaccato, "staccato"},
            {MnArticulationTenuto, "tenuto"},
            {MnArticulationAccent, "accent"},
            {MnArticulationStrongAccent, "strong-accent"},
        };
        for (const auto& articulation : articulations) {
            if ((marks & articulation.bit) && filer.addElement(articulation.name))
                filer.goToParent();
        }
        filer.goToParent();
    }
    if (fermata && filer.addElement("fermata"))
        filer.goToParent();
    // Each voice numbers its slurs apart, so that overlapping slurs of a
    // staff's two voices cannot pair up with each other.
    const int slurNumber = chord->voice() + 1;
    if (slurStops && filer.addElement("slur")) {
        filer.setAttribute("number", slurNumber);
        filer.setAttribute("type", "stop");
        filer.goToParent();
    }
    if (slurStarts && filer.addElement("slur")) {
        filer.setAttribute("number", slurNumber);
        filer.setAttribute("type", "start");
        filer.goToParent();
    }
    if (arpeggio && filer.addElement("arpeggiate")) {
        const MnNote* first = note->arpeggioChainFirst();
        filer.setAttribute("number", arpeggioNumber(chord, first));
        if (first && first->arpeggioType() == MnArpeggioUp)
            filer.setAttribute("direction", "up");
        else if (first && first->arpeggioType() == MnArpeggioDown)
            filer.setAttribute("direction", "down");
        filer.goToParent();
    }
    filer.goToParent();
}

void IeMusicXmlExporter::indexLyrics(const MnStaff* staff)
{
    if (staff == lyricsStaff && MnCache::isCurrent(lyricsStamp))
        return;
    lyricsStaff = staff;
    lyricsStamp = MnCache::currentStamp();
    syllables.clear();
    // Each line is walked once; every chord then finds its syllables by
    // its voice and time.
    const BcArray<MnLyric*>& lyrics = staff->lyricArray();
    for (int line = 0; line < lyrics.count(); ++line) {
        MnLyricIterator walk(lyrics[line]);
        for (walk.begin(); !walk.atEnd(); walk.next()) {
            const MnMeasure* measure = walk.start->measure();
            const long long time = (long long)measure->startTime() + walk.start->time();
            syllables.push_back({time, walk.start->voice(), line, walk.syllable});
        }
    }
    std::sort(syllables.begin(), syllables.end(), [](const SyllableAt& a, const SyllableAt& b) {
        if (a.voice != b.voice)
            return a.voice < b.voice;
        if (a.time != b.time)
            return a.time < b.time;
        return a.line < b.line;
    });
}

void IeMusicXmlExporter::writeLyrics(BcXmlFiler& filer, MnChord* chord)
{
    const MnMeasure* measure = chord ? chord->measure() : nullptr;
    const MnStaff* staff = measure ? measure->staff() : nullptr;
    if (!staff)
        return;
    indexLyrics(staff);
    const SyllableAt key{(long long)measure->startTime() + chord->time(), chord->voice(), -1, 0};
    auto at = std::lower_bound(syllables.begin(), syllables.end(), key, [](const SyllableAt& a, const SyllableAt& b) {
        return a.voice != b.voice ? a.voice < b.voice : a.time < b.time;
    });
    const BcArray<MnLyric*>& lyrics = staff->lyricArray();
    for (; at != syllables.end() && at->voice == key.voice && at->time == key.time; ++at) {
        const MnLyric* lyric = lyrics[at->line];
        const int k = at->syllable;
        // Only a blank parts words; the other separators join syllables.
        const bool wordStarts = k == 0 || lyric->separator(k - 1) == blank;
        const bool wordEnds = k >= lyric->syllableCount() - 1 || lyric->separator(k) == blank;
        if (!filer.addElement("lyric"))
            continue;
        filer.setAttribute("number", lyric->passThrough());
        filer.addTextElement("syllabic", syllabicOf(wordStarts, wordEnds));
        filer.addTextElementString("text", lyric->syllable(k));
        filer.goToParent();
    }
}
