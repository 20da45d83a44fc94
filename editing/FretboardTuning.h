#pragma once

// The strings of the fretboard pane: how many, the open note of each and the
// number of frets. Copied by value; entries from strings on are 0.
struct FretboardTuning
{
    static constexpr int maxStrings = 8;
    static constexpr int presetCount = 5;

    int strings = 0;
    // Letter index of each open note: 0..6 A..G, 7..13 the same flat, 14..20 sharp.
    int pitch[maxStrings] = {};
    // Octave of each open note; octave 4 holds middle C.
    int octave[maxStrings] = {};
    int frets = 0;

    // The same strings, the same open notes on each and the same frets; the
    // entries past the string count do not matter.
    bool equals(const FretboardTuning& other) const;

    // The preset tunings in their fixed order: 0 Guitar, 1 Bass guitar,
    // 2 Ukelele, 3 Mandolin, 4 Banjo. An index outside them gives preset 0.
    static FretboardTuning preset(int index);
    // The first preset the tuning equals, or -1.
    static int presetIndex(const FretboardTuning& tuning);
};
