#pragma once

class MnChord;
class MnLyric;

// Walks the syllables of a lyric line together with the chords that carry
// them: each syllable takes one chord with notes (start) and the chords tied
// on from it (through end). Rests and grace chords carry no syllable. The
// walk ends when the syllables or the chords run out.
class MnLyricIterator
{
public:
    // forward walks to later chords, backward to earlier ones.
    explicit MnLyricIterator(const MnLyric* lyric, bool forward = true);
    virtual ~MnLyricIterator() = default;

    // Syllable 0 on the lyric's first chord.
    void begin();
    // The next syllable on the next chord with notes after end.
    void next();
    // end = start, then on over every chord whose notes all continue ties
    // from it.
    void spanTiedChords();
    bool atEnd() const;

    const MnLyric* lyric;
    bool forward;
    MnChord* start = nullptr;
    MnChord* end = nullptr;
    int syllable = 0;
};
