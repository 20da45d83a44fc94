#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Builds Standard MIDI Files from readable event lists, so that a test shows
// the bytes it feeds a reader. The byte rules are written out here on their
// own rather than taken from the code under test.
//
//     MidiTrack melody;
//     melody.noteOn(0, 0, 60).noteOff(480, 0, 60).endOfTrack();
//     std::vector<unsigned char> file = MidiFileBuilder(1, 480).track(conductor).track(melody).bytes();
//
// Every event takes its delta time in file ticks first. raw() appends bytes
// as they stand, for running status, damaged events and the like.
class MidiTrack
{
public:
    MidiTrack& noteOn(std::uint32_t delta, int channel, int key, int velocity = 100)
    {
        return message(delta, 0x90 | channel, {key, velocity});
    }
    MidiTrack& noteOff(std::uint32_t delta, int channel, int key, int velocity = 64)
    {
        return message(delta, 0x80 | channel, {key, velocity});
    }
    MidiTrack& program(std::uint32_t delta, int channel, int program)
    {
        return message(delta, 0xC0 | channel, {program});
    }
    MidiTrack& controller(std::uint32_t delta, int channel, int number, int value)
    {
        return message(delta, 0xB0 | channel, {number, value});
    }
    // A channel message: the status byte, then its data bytes.
    MidiTrack& message(std::uint32_t delta, int status, std::initializer_list<int> data)
    {
        quantity(delta);
        bytes.push_back(static_cast<unsigned char>(status));
        for (int value : data)
            bytes.push_back(static_cast<unsigned char>(value));
        return *this;
    }
    // Data bytes under the status in force (running status).
    MidiTrack& running(std::uint32_t delta, std::initializer_list<int> data)
    {
        quantity(delta);
        for (int value : data)
            bytes.push_back(static_cast<unsigned char>(value));
        return *this;
    }

    MidiTrack& meta(std::uint32_t delta, int type, const std::vector<unsigned char>& data)
    {
        quantity(delta);
        bytes.push_back(0xFF);
        bytes.push_back(static_cast<unsigned char>(type));
        quantity(static_cast<std::uint32_t>(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    MidiTrack& trackName(std::uint32_t delta, const std::string& name) { return meta(delta, 0x03, text(name)); }
    MidiTrack& instrumentName(std::uint32_t delta, const std::string& name) { return meta(delta, 0x04, text(name)); }
    MidiTrack& channelPrefix(std::uint32_t delta, int channel)
    {
        return meta(delta, 0x20, {static_cast<unsigned char>(channel)});
    }
    MidiTrack& tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter)
    {
        return meta(delta, 0x51,
                    {static_cast<unsigned char>(microsecondsPerQuarter >> 16),
                     static_cast<unsigned char>(microsecondsPerQuarter >> 8),
                     static_cast<unsigned char>(microsecondsPerQuarter)});
    }
    // The denominator as a power of two: 2 for a quarter, 3 for an eighth.
    MidiTrack& timeSignature(std::uint32_t delta, int numerator, int denominatorPower)
    {
        return meta(delta, 0x58,
                    {static_cast<unsigned char>(numerator), static_cast<unsigned char>(denominatorPower), 24, 8});
    }
    // Sharps above 0, flats below.
    MidiTrack& keySignature(std::uint32_t delta, int fifths, bool minor = false)
    {
        return meta(delta, 0x59, {static_cast<unsigned char>(static_cast<signed char>(fifths)),
                                  static_cast<unsigned char>(minor ? 1 : 0)});
    }
    MidiTrack& endOfTrack(std::uint32_t delta = 0) { return meta(delta, 0x2F, {}); }
    MidiTrack& systemExclusive(std::uint32_t delta, const std::vector<unsigned char>& data)
    {
        quantity(delta);
        bytes.push_back(0xF0);
        quantity(static_cast<std::uint32_t>(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    MidiTrack& raw(std::initializer_list<int> data)
    {
        for (int value : data)
            bytes.push_back(static_cast<unsigned char>(value));
        return *this;
    }

    // A variable-length quantity of any size: seven bits a byte, most
    // significant first, bit 7 on every byte but the last.
    MidiTrack& quantity(std::uint32_t value)
    {
        unsigned char groups[5];
        int count = 0;
        do {
            groups[count++] = static_cast<unsigned char>(value & 0x7F);
            value >>= 7;
        } while (value != 0);
        while (count > 0) {
            --count;
            bytes.push_back(static_cast<unsigned char>(groups[count] | (count > 0 ? 0x80 : 0)));
        }
        return *this;
    }

    static std::vector<unsigned char> text(const std::string& value)
    {
        return std::vector<unsigned char>(value.begin(), value.end());
    }

    std::vector<unsigned char> bytes;
};

class MidiFileBuilder
{
public:
    // The header chunk; the track count is what the tracks added make,
    // unless trackCount sets another.
    MidiFileBuilder(int format, int division) : fileFormat(format), fileDivision(division) {}

    MidiFileBuilder& track(const MidiTrack& track)
    {
        return chunk("MTrk", track.bytes, static_cast<std::uint32_t>(track.bytes.size()));
    }
    // A chunk of any type; its length field may lie.
    MidiFileBuilder& chunk(const char type[4], const std::vector<unsigned char>& data, std::uint32_t length)
    {
        body.insert(body.end(), type, type + 4);
        bigEndian(body, length, 4);
        body.insert(body.end(), data.begin(), data.end());
        ++chunks;
        return *this;
    }
    MidiFileBuilder& trackCount(int count)
    {
        declaredTracks = count;
        return *this;
    }
    MidiFileBuilder& headerLength(std::uint32_t length)
    {
        declaredHeaderLength = length;
        return *this;
    }

    std::vector<unsigned char> bytes() const
    {
        std::vector<unsigned char> file = {'M', 'T', 'h', 'd'};
        bigEndian(file, declaredHeaderLength, 4);
        bigEndian(file, static_cast<std::uint32_t>(fileFormat), 2);
        bigEndian(file, static_cast<std::uint32_t>(declaredTracks >= 0 ? declaredTracks : chunks), 2);
        bigEndian(file, static_cast<std::uint32_t>(fileDivision), 2);
        // A header that says it is longer carries that many bytes.
        for (std::uint32_t i = 6; i < declaredHeaderLength && i < 64; ++i)
            file.push_back(0);
        file.insert(file.end(), body.begin(), body.end());
        return file;
    }

    static void bigEndian(std::vector<unsigned char>& out, std::uint32_t value, int byteCount)
    {
        for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
            out.push_back(static_cast<unsigned char>(value >> shift));
    }

private:
    int fileFormat;
    int fileDivision;
    int declaredTracks = -1;
    std::uint32_t declaredHeaderLength = 6;
    int chunks = 0;
    std::vector<unsigned char> body;
};

// A small file with a bit of everything: a conductor track (name, tempo,
// 6/8, a key and a key change), a piano track with chords, running status
// and a system-exclusive event, and a strings track on channel 3 with a
// channel prefix, a controller and a pitch bend.
inline std::vector<unsigned char> midiSampleFile()
{
    MidiTrack conductor;
    conductor.trackName(0, "Piece").tempo(0, 600000).timeSignature(0, 6, 3).keySignature(0, -2)
        .keySignature(6 * 96, 1).endOfTrack();
    MidiTrack piano;
    piano.instrumentName(0, "Piano").noteOn(0, 0, 48).noteOn(0, 0, 64).running(48, {67, 90}).noteOff(48, 0, 64)
        .running(0, {67, 0}).noteOn(0, 0, 62).systemExclusive(0, {0x43, 0x10, 0xF7}).noteOff(96, 0, 62)
        .noteOff(0, 0, 48).endOfTrack();
    MidiTrack strings;
    strings.channelPrefix(0, 3).instrumentName(0, "Strings").program(0, 3, 48).controller(0, 3, 7, 100)
        .noteOn(32, 3, 55).message(10, 0xE3, {0, 64}).noteOff(150, 3, 55).noteOn(0, 3, 57).noteOff(96, 3, 57)
        .endOfTrack();
    return MidiFileBuilder(1, 96).track(conductor).track(piano).track(strings).bytes();
}
