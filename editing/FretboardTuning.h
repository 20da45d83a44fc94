#pragma once

class MnTablature;

// The strings of the fretboard pane: how many, the open note of each and the
// number of frets. Copied by value; entries from strings on are 0.
//
// A position is string x (frets + 1) + fret, string 0 the top row and fret 0
// the open string. The capo limit is the capo's fret while a capo is on,
// else 0: a fret at or below it sounds the capo's fret.
struct FretboardTuning
{
    static constexpr int maxStrings = 8;
    static constexpr int presetCount = 5;
    static constexpr int letterCount = 21;
    static constexpr int maxOctave = 8;
    static constexpr int maxFrets = 99;

    int strings = 0;
    // Letter index of each open note: 0..6 A..G, 7..13 the same flat, 14..20 sharp.
    int pitch[maxStrings] = {};
    // Octave of each open note; octave 4 holds middle C.
    int octave[maxStrings] = {};
    int frets = 0;

    // The same strings, the same open notes on each and the same frets; the
    // entries past the string count do not matter.
    bool equals(const FretboardTuning& other) const;

    // Strings 1..8, letters 0..20, octaves 0..8 and frets 1..99: what the
    // pane can draw and the settings may hold.
    bool isValid() const;
    // Sets the entries from the string count on to 0.
    void clearUnusedStrings();

    // The piano key (0 A0 .. 87 C8) of an open note, held in 0..87; letters
    // outside 0..20 count as A.
    static int openKeyOf(int letter, int octave);
    // The key of a string's open note; -1 for a string outside the tuning.
    int openKey(int string) const;

    // (frets + 1) x strings; 0 for a tuning that is not valid.
    int positionCount() const;
    // The key a position sounds, or -1 outside the neck. Not held to 87:
    // high frets of high strings go past the piano.
    int keyAtPosition(int position, int capoLimit) const;
    // The n-th position (n from 0, string 1 first, one per string) that
    // sounds the key at or above the capo limit; -1 when there is none or
    // the key lies outside 0..87.
    int positionOfKey(int key, int n, int capoLimit) const;

    // The letter index of a tablature string's open note (step 0..6 from C,
    // accidental -1 flat, +1 sharp; other accidentals count as natural, a
    // step outside 0..6 as A), and back; false, with nothing set, for a
    // letter outside 0..20.
    static int letterOf(int step, int accidental);
    static bool stepOf(int letter, int& step, int& accidental);

    // The tuning of a tablature's strings and frets; false, with the result
    // untouched, when its string count lies outside 1..8.
    static bool fromTablature(const MnTablature& tablature, FretboardTuning& tuning);

    // The preset tunings in their fixed order: 0 Guitar, 1 Bass guitar,
    // 2 Ukelele, 3 Mandolin, 4 Banjo. An index outside them gives preset 0.
    static FretboardTuning preset(int index);
    // The first preset the tuning equals, or -1.
    static int presetIndex(const FretboardTuning& tuning);
    // The string id of a preset's name.
    static unsigned presetNameId(int index);
};
