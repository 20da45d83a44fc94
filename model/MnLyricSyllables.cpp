#include "model/MnLyric.h"

#include "model/MnChord.h"
#include "model/MnLyricIterator.h"
#include "model/MnMeasure.h"

// Cutting a lyric line to a range of music: the clipboard and the repeat
// unfolder keep the syllables that fall into what they copy.

bool MnLyric::truncate(int ticks)
{
    // Keeps the syllables whose chords start less than ticks after the
    // lyric's start: what a copy of a range of music takes along.
    MnLyricIterator walk(this);
    for (walk.begin(); !walk.atEnd(); walk.next()) {
        const int onset = walk.start->measure()->startTime() + walk.start->time() - lyricStart;
        if (onset < ticks)
            continue;
        int cut = 0;
        if (walk.syllable > 0) {
            const int previous = walk.syllable - 1;
            cut = syllableStarts[previous] + syllableTexts[previous].length();
            if (cut > text().length())
                cut = text().length();
        }
        // A cut before the first syllable leaves the line without text.
        MnText::setText(cut > 0 ? text().midRange(0, cut - 1) : BcString());
        splitSyllables();
        return true;
    }
    return false;
}

bool MnLyric::removeLeadingSyllables(int count)
{
    if (count < 0 || count >= syllableTexts.count())
        return false;
    const BcString& string = text();
    MnText::setText(string.midRange(syllableStarts[count], string.length() - 1));
    splitSyllables();
    return true;
}
