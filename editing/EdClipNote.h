#pragma once

class MnChord;
class MnNote;

// One copied note or rest of the clipboard, a value record. Times are staff
// times in ticks, counted from the copy's earliest record.
struct EdClipNote
{
    // How a chord is written besides its notes: what a paste that gives
    // lifted music back as it was restores.
    // Kept in bytes: a copy of a long score holds many records.
    struct ChordSettings
    {
        signed char stemDirection = 0;
        signed char beamMode = -1;
        signed char slurPlacement = 0;
        unsigned char articulations = 0;
        bool stemInverted = false;
        bool graceSlash = false;
        bool slurStart = false;

        static ChordSettings of(const MnChord* chord);
        // Beam mode, stem, inversion, grace slash and slur placement, then the
        // slur start and slur bit, joining the placement of a slur the chord
        // continues or leads into, then the other articulation bits; bit 0x80
        // stays the target's.
        void applyTo(MnChord* chord) const;
    };

    // 1: a chord selected as a whole, copied and pasted as a rest of its
    // duration; 0: a note.
    bool isRest = false;
    // The note is tied from the previous chord; 0 for a rest.
    bool tied = false;
    // Piano key 0..87 of the note; 39 for a rest.
    int key = 39;
    // The chord's written value: undotted, plus half of it when dotted.
    int duration = 0;
    // Staff time of the chord; of a grace chord, the time of the main chord
    // it precedes.
    int time = 0;
    // 0 for a main chord; n for the n-th grace chord back from its main chord.
    int graceIndex = 0;
    int voice = 0;
    // Index of the chord's staff in its score.
    int line = 0;
    // The chord carries a tuplet: its span, number and alternative flag.
    bool startsTuplet = false;
    int tupletSpan = 0;
    int tupletNumber = 0;
    bool tupletAlternative = false;
    // Inside a tuplet it does not start: the distance from the tuplet's first
    // chord in sounding ticks, and the same distance in written ticks.
    int tupletOffset = 0;
    int tupletNotatedOffset = 0;

    // How the note was written, in bytes like the chord's settings.
    signed char step = 0;
    signed char octave = 4;
    signed char accidental = 3;
    signed char tiePlacement = 0;
    signed char arpeggioType = 0;
    bool arpeggio = false;
    ChordSettings chord;

    // The note's spelling and links, for a record of that note.
    void takeWritingOf(const MnNote* note);
};
