#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcObject.h"
#include "foundation/BcString.h"

#include <cstdint>
#include <memory>
#include <string>

class MnScore;
class QuorvaneDocument;

// Reads a Standard MIDI File (formats 0 and 1, ticks per quarter) and builds
// a new score from it: a staff per channel, a treble and bass pair for piano
// and organ programs, notes quantised to plain values in the first voice,
// the first tempo and time signature, key signatures and instrument names.
// The score becomes a new work of the document only when the whole file was
// read; a failed import leaves the document as it was and says why in
// errorText.
class IeMIDIImporter : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(IeMIDIImporter)
public:
    IeMIDIImporter();
    ~IeMIDIImporter() override;
    IeMIDIImporter(const IeMIDIImporter&) = delete;
    IeMIDIImporter& operator=(const IeMIDIImporter&) = delete;

    // The largest file the importer opens.
    static constexpr long long maxFileSize = 64LL << 20;

    // Imports the file into the active document (EdContext). On false,
    // errorText holds the reason.
    virtual bool importFile(const BcString& path);
    // The same for a whole file already in memory, into the given document.
    // An importer serves one import; a second call fails.
    bool importBytes(const unsigned char* data, int size, QuorvaneDocument& document);

    const BcString& errorText() const { return error; }

private:
    // A note (value > 0, pitch a key index) or a key signature (value 0,
    // pitch the fifths) waiting for its measures. The staves are made as the
    // file names their channels, but the measures only once the whole file
    // was read: a staff made late would otherwise copy every measure made
    // so far.
    struct Placement
    {
        int staff;
        int time;   // model ticks
        int pitch;
        int value;
    };

    struct MidiOpenNote
    {
        int channel;
        int key;          // MIDI note number
        long long start;  // file ticks
    };

    // The first failure wins; answers false so callers can return it.
    bool fail(unsigned stringId);

    // The file's structure.
    bool readChunkId(std::string& id);
    bool readHeader();
    bool readTrack();
    bool readMetaEvent();
    bool readSystemExclusive();
    bool readChannelEvent(unsigned char first);
    bool readDataByte(int& value);
    // Reads a length and checks it against the bytes left, so that nothing
    // is allocated or skipped for bytes the file does not have.
    bool readLength(int& length);
    bool skipBytes(int count);
    bool readText(int length, std::string& text);

    // The music.
    bool noteOn(int key);
    bool noteOff(int key);
    bool setKeySignature(int channel, int fifths);
    // The staff of a channel's note, creating the channel's staves (and the
    // score) on first use; -1 only when the score cannot take a staff.
    int staffIndex(int channel, int key);
    int findStaff(int channel, int key) const;
    bool createScore(int channel);
    // Model ticks of a file time; false when beyond the longest staff.
    bool modelTime(long long fileTime, int& ticks) const;
    // Makes the measures that the music reaches, then places the notes and
    // key signatures in the order they came.
    bool placeMusic();
    bool hasNotes() const;
    void finishScore();

    static int quantisedDuration(long long ticks);
    static bool isKeyboardProgram(int program);
    static int timeSignatureType(int numerator, int denominatorPower);

    BcMemoryFiler filer;
    bool started = false;
    int trackCount = 0;
    int division = 0;
    bool endOfTrack = false;
    long long trackTime = 0;
    int channelPrefix = 0;
    std::uint32_t tempo = 0;
    int timeNumerator = 0;
    int timeDenominatorPower = 0;
    int runningChannel = 0;
    int runningKind = 0;
    bool hasTrackName = false;
    std::string trackName;
    bool hasInstrumentName[16] = {};
    std::string instrumentNames[16];
    int programs[16] = {};
    // Owned until handed to the document.
    std::unique_ptr<MnScore> score;
    // The channel of each staff, twice in a row for a pair.
    BcArray<int> staffChannels;
    BcArray<MidiOpenNote> openNotes;
    BcArray<Placement> placements{1024};
    // The latest time the measures must hold; -1 for none.
    int reachedTime = -1;
    BcString error;
};
