#pragma once

// Codes shared by the model, the composers, playback and interchange. The
// model stores them in plain ints; the enumerators only name the values.

// Written accidental of a note; None lets the measure and the key decide.
enum MnAccidental
{
    MnAccidentalDoubleFlat = -2,
    MnAccidentalFlat = -1,
    MnAccidentalNatural = 0,
    MnAccidentalSharp = 1,
    MnAccidentalDoubleSharp = 2,
    MnAccidentalNone = 3,
};

enum MnClef
{
    MnClefTreble = 0,
    MnClefBass = 1,
    MnClefAlto = 2,
    MnClefTenor = 3,
};

// Meter of a staff definition; the meter decides a new measure's beats and
// beat length (mnTimeSignatureMeter).
enum MnTimeSignatureType
{
    MnTimeCommon = 0,   // 4/4 shown as the common-time sign
    MnTime4_4 = 1,
    MnTime2_2 = 2,
    MnTimeCut = 3,      // 2/2 shown as the cut-time sign
    MnTime2_4 = 4,
    MnTime3_4 = 5,
    MnTime6_8 = 6,
    MnTime9_8 = 7,
    MnTime3_8 = 8,
    MnTime6_4 = 9,
    MnTime12_8 = 10,
};

// Instrument of a part; MnInstrumentProgram + n stands for General MIDI
// program n (0..127) chosen directly.
enum MnInstrument
{
    MnInstrumentNone = -1,
    MnInstrumentPiano = 0,
    MnInstrumentOrgan = 1,
    MnInstrumentPipeOrgan = 2,
    MnInstrumentGuitar = 3,
    MnInstrumentElectricGuitar = 4,
    MnInstrumentBassGuitar = 5,
    MnInstrumentViolin = 6,
    MnInstrumentCello = 7,
    MnInstrumentDoubleBass = 8,
    MnInstrumentFlute = 9,
    MnInstrumentTrumpet = 10,
    MnInstrumentSaxophone = 11,
    MnInstrumentProgram = 128,
};

// Bits of a chord's articulation byte.
enum MnArticulation
{
    MnArticulationStaccatissimo = 0x01,
    MnArticulationStaccato = 0x02,
    MnArticulationTenuto = 0x04,
    MnArticulationAccent = 0x08,
    MnArticulationStrongAccent = 0x10,
    MnArticulationSlur = 0x20, // slurred to the next chord of the same kind
    MnArticulationFermata = 0x40,
};

// Bar line at the end of a measure.
enum MnBarline
{
    MnBarlineSingle = 0,
    MnBarlineDouble = 1,
    MnBarlineFinal = 2,
    MnBarlineEndRepeat = 3,
    MnBarlineStartRepeat = 4, // starts the repeat of the next measure
    MnBarlineEndStartRepeat = 5,
};

enum MnRepeatMarker
{
    MnRepeatMarkerNone = 0,
    MnRepeatMarkerSegno = 1,
    MnRepeatMarkerCoda = 2,
};

// Jump written at a measure.
enum MnRepeatJump
{
    MnRepeatJumpNone = 0,
    MnRepeatJumpFine = 1,
    MnRepeatJumpToCoda = 2,
    MnRepeatJumpDaCapoAlFine = 3,
    MnRepeatJumpDalSegnoAlFine = 4,
    MnRepeatJumpDaCapoAlCoda = 5,
    MnRepeatJumpDalSegnoAlCoda = 6,
};

enum MnSystemBreak
{
    MnSystemBreakNone = 0,
    MnSystemBreakSystem = 1, // the system ends after the measure
    MnSystemBreakPage = 2,   // the page ends after the measure
};

// Where a stem, a tie or a slur goes.
enum MnPlacement
{
    MnPlacementBelow = -1, // stem down, tie or slur under the notes
    MnPlacementAuto = 0,
    MnPlacementAbove = 1,
};

// Beaming of a chord.
enum MnBeamMode
{
    MnBeamAuto = -1,
    MnBeamBegin = 0,
    MnBeamContinue = 1,
    MnBeamNone = 2,
    MnBeamContinueBreakSecondary = 3,
};

enum MnArpeggioType
{
    MnArpeggioPlain = 0,
    MnArpeggioUp = 1,
    MnArpeggioDown = 2,
};

enum MnTupletBracket
{
    MnTupletBracketAuto = 0,
    MnTupletBracketNone = 1,
    MnTupletBracketShown = 2,
};

// A measure belongs to at most the endings 1..10 of a volta bracket.
constexpr int MnVoltaMaskBits = 0x3FF;

// The range of each code: the composers, the pitch rules and playback look
// the codes up in tables of exactly these entries.
constexpr bool mnIsAccidental(int code)
{
    return code >= MnAccidentalDoubleFlat && code <= MnAccidentalNone;
}

constexpr bool mnIsClef(int code)
{
    return code >= MnClefTreble && code <= MnClefTenor;
}

// Fifths of a key signature: negative flats, positive sharps.
constexpr bool mnIsKeySignature(int fifths)
{
    return fifths >= -7 && fifths <= 7;
}

constexpr bool mnIsTimeSignatureType(int code)
{
    return code >= MnTimeCommon && code <= MnTime12_8;
}

constexpr bool mnIsPlacement(int code)
{
    return code >= MnPlacementBelow && code <= MnPlacementAbove;
}

constexpr bool mnIsBeamMode(int code)
{
    return code >= MnBeamAuto && code <= MnBeamContinueBreakSecondary;
}

constexpr bool mnIsArpeggioType(int code)
{
    return code >= MnArpeggioPlain && code <= MnArpeggioDown;
}

// A bracket code outside the three is drawn as the automatic one.
constexpr int mnTupletBracket(int code)
{
    return code >= MnTupletBracketAuto && code <= MnTupletBracketShown ? code : MnTupletBracketAuto;
}

constexpr bool mnIsBarline(int code)
{
    return code >= MnBarlineSingle && code <= MnBarlineEndStartRepeat;
}

constexpr bool mnIsRepeatMarker(int code)
{
    return code >= MnRepeatMarkerNone && code <= MnRepeatMarkerCoda;
}

constexpr bool mnIsRepeatJump(int code)
{
    return code >= MnRepeatJumpNone && code <= MnRepeatJumpDalSegnoAlCoda;
}

constexpr bool mnIsSystemBreak(int code)
{
    return code >= MnSystemBreakNone && code <= MnSystemBreakPage;
}

constexpr bool mnIsVoltaMask(int mask)
{
    return (mask & ~MnVoltaMaskBits) == 0;
}

// Beats and ticks per beat that a new measure of the meter takes. A code
// outside 0..10 gives 4 beats of a quarter.
void mnTimeSignatureMeter(int timeSignatureType, int& beats, int& beatTicks);

// Staff-step offset of a clef: a note stands at octave x 7 + step + offset.
int mnClefOffset(int clef);
