#include "model/MnLyricIterator.h"

#include "model/MnChord.h"
#include "model/MnLyric.h"
#include "model/MnNote.h"

MnLyricIterator::MnLyricIterator(const MnLyric* lyric, bool forward) : lyric(lyric), forward(forward)
{
}

void MnLyricIterator::begin()
{
    syllable = 0;
    start = lyric ? lyric->firstChord() : nullptr;
    spanTiedChords();
}

bool MnLyricIterator::atEnd() const
{
    return !start || !lyric || syllable >= lyric->syllableCount();
}

// A note of the same step, octave and sounding key; with tiedOnly, one that
// is itself the second note of a tie.
static bool holdsSameNote(const MnChord* chord, const MnNote* note, bool tiedOnly)
{
    const int key = note->keyNumber();
    for (int i = 0; i < chord->noteCount(); ++i) {
        const MnNote* other = chord->note(i);
        if (tiedOnly && !other->isTied())
            continue;
        if (other->step() == note->step() && other->octave() == note->octave() && other->keyNumber() == key)
            return true;
    }
    return false;
}

void MnLyricIterator::spanTiedChords()
{
    end = start;
    if (!end)
        return;
    for (;;) {
        MnChord* following = forward ? end->nextChord() : end->previousChord();
        if (!following || following->noteCount() == 0)
            return;
        for (int i = 0; i < following->noteCount(); ++i) {
            const MnNote* note = following->note(i);
            // Forward, the note is tied from the same note in end; backward,
            // it goes on into a tied note of end.
            const bool continues = forward ? note->isTied() && holdsSameNote(end, note, false)
                                           : holdsSameNote(end, note, true);
            if (!continues)
                return;
        }
        end = following;
    }
}

void MnLyricIterator::next()
{
    ++syllable;
    if (!lyric || syllable >= lyric->syllableCount() || !end) {
        start = nullptr;
        end = nullptr;
        return;
    }
    MnChord* chord = forward ? end->nextChord() : end->previousChord();
    while (chord && (chord->isGrace() || chord->noteCount() == 0))
        chord = forward ? chord->nextChord() : chord->previousChord();
    start = chord;
    spanTiedChords();
}
