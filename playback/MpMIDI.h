#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcMemoryFiler.h"
#include "playback/MpPerformer.h"
#include "playback/MpPerformerListener.h"

#include <cstdint>

class BcFiler;
class BcString;
class MnScore;

// Writes a score as a Standard MIDI File of format 0 with one track, as it
// sounds: it performs the score and is itself the listener that turns the
// notes started and stopped into channel events, so the file holds the
// repeats, endings, jumps and dynamics in play order.
//
// Each distinct instrument of the parts gets a channel with its program and
// the key of its first staff. Channel 10 (index 9) is left out, since General
// MIDI plays it as drums; instruments beyond the fifteen channels that
// remain share channels in turn and write no program or key of their own.
class MpMIDI : public MpPerformer, public MpPerformerListener
{
    BC_DECLARE_CREATABLE_CLASS(MpMIDI)
public:
    // Model ticks per file tick: a quarter note is 30240 file ticks.
    static constexpr int deltaQuantum = 2;
    static constexpr int division = 60480 / deltaQuantum;
    // The channels that instruments own: 0..8 and 10..15.
    static constexpr int ownedChannels = 15;

    MpMIDI();
    ~MpMIDI() override;

    // Builds the file image of the score in memory and writes it to a
    // temporary file beside path, renamed over path only when every byte is
    // written. False when the image cannot be built or the file not written;
    // a file already at path is then left as it was.
    bool exportScore(const BcString& path, MnScore* score);
    // The whole file image of the score, appended to out. False, with out
    // untouched, when a silence between two events is longer than a delta
    // time can say (0x0FFFFFFF file ticks).
    bool buildFile(MnScore* score, BcArray<unsigned char>& out);

    void noteOn(int instrumentType, int key, double velocity) override;
    // Notes that release themselves have no place in a file.
    void noteOnTimed(int, int, double, unsigned) override {}
    void noteOff(int instrumentType, int key) override;

    // The channel of the n-th distinct instrument (0-based): 0..8, then
    // 10..15, then in turn from channel 0 again.
    static int channelOfSlot(int slot);
    // Microseconds per quarter note of a tempo mark, within the 24 bits that
    // the file holds (1..0xFFFFFF).
    static std::uint32_t tempoMicroseconds(int beatUnit, int beatsPerMinute);
    // Numerator, power-of-two denominator and MIDI clocks per click of a
    // time-signature code (MnTimeSignatureType).
    static void timeSignatureBytes(int type, int& numerator, int& denominatorPower, int& clocks);

    // The channel slot of each distinct instrument code, in staff order
    // (filled by buildFile).
    const BcArray<int>& channelInstruments() const { return instruments; }

private:
    // One change of key in a staff: where it stands and what it sets.
    struct KeyChange
    {
        int time;
        int key;
    };

    void collectChannels(const MnScore* score);
    void collectKeyChanges(const MnScore* score);
    int slotOf(int instrumentType) const;
    void writeHeader(BcFiler& file) const;
    void writeTrackStart(const MnScore* score);
    void writeKeySignatureChanges();
    void writeKeySignatureEvent(BcFiler& track, std::uint32_t delta, int channel, int key);
    void writeChannelEvent(BcFiler& track, std::uint32_t delta, int kind, int channel, int data1, int data2);
    // The file ticks since the last event; marks lastEventTime as now.
    std::uint32_t takeDelta();
    void writeByte(BcFiler& filer, int value);
    void writeDelta(BcFiler& filer, std::uint32_t delta);

    const MnScore* exportedScore = nullptr;
    BcMemoryFiler* trackBuffer = nullptr;
    // Performance time, counted from the first grid time of the score, and
    // the time of the last event written (model ticks).
    long long currentTime = 0;
    long long lastEventTime = 0;
    // Distinct instrument codes (-1 taken as 0) in staff order, and the key
    // of each one's first staff.
    BcArray<int> instruments;
    BcArray<int> channelKeys;
    // Per staff: the instrument slot of its part and its key changes.
    BcArray<int> staffSlots;
    BcArray<BcArray<KeyChange>> keyChanges;
    // A write failed or a delta did not fit; the image is not used.
    bool failed = false;
};
