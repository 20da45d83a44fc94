#pragma once

// The rest of the Play menu: the octave and transposition of the computer
// keyboard played as a piano, the instrument that previews notes, the
// output volume, and the fretboard pane's tuning and capo.
class EdPlayMenuCommands
{
public:
    // 1..7: the keyboard's lowest A is A0 .. A6.
    static void cmdKeyboardOctave(int octave);
    // -5..+6 semitones; -5 and -4 would reach below A0 at octave 1.
    static void cmdKeyboardTranspose(int semitones);
    // An MnInstrument code.
    static void cmdInstrument(int instrument);
    // A level 0..0xFFFF for both channels.
    static void cmdVolume(unsigned level);
    static void cmdVolumeMute();
    static void cmdVolumeUp();
    static void cmdVolumeDown();
    // A preset of FretboardTuning.
    static void cmdTuning(int preset);
    static void cmdTuningCustom();
    static void cmdCapo();

    // What one press of Up or Down changes the level by.
    static constexpr unsigned volumeStep = 6553;

    static void addRows();
};
