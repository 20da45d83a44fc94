#pragma once

#include "playback/SfBankSubset.h"

#include <string>
#include <vector>

class BcString;
class SfBankFile;

// The program's own bank, "Instruments.sf2": ten presets taken from a
// General MIDI bank. The player finds its instruments by preset index, so
// the order is fixed: 0 piano, 1 guitar, 2 electric guitar, 3 bass guitar,
// 4 flute, 5 saxophone, 6 violin, 7 cello, 8 double bass, 9 trumpet. Each
// is the bank-0 preset of the General MIDI program that MIDI files write
// for that instrument, so playback and exported files sound alike.
class SfInstrumentBank
{
public:
    static constexpr int presetCount = 10;

    // The General MIDI programs of presets 0..9.
    static const int programs[presetCount];

    // The bank's bytes, made from source (read with its points as shorts).
    // The result is loaded back through the synthesizer's own loader and
    // must give the ten presets in order. repairs receives what was mended
    // in copied sample headers. False with a reason otherwise, bytes
    // untouched. The same source always gives the same bytes.
    static bool make(const SfBankFile& source, std::vector<unsigned char>& bytes, std::vector<std::string>& repairs,
                     BcString& reason);
};
