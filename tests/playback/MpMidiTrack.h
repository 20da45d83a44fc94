#pragma once

#include "foundation/BcArray.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A strict reader of the files the MIDI writer makes, for its tests: one
// header of format 0 with one track, every delta at most four bytes, every
// channel event with its status byte, the track ending with its
// end-of-track event exactly where its length says.

struct MpMidiEvent
{
    long long time;           // absolute, in file ticks
    std::vector<int> bytes;   // the event without its delta
    int deltaLength;          // bytes of its delta

    bool isMeta(int type) const { return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == type; }
    bool isChannel() const { return !bytes.empty() && bytes[0] >= 0x80 && bytes[0] < 0xF0; }
    int kind() const { return bytes[0] >> 4; }
    int channel() const { return bytes[0] & 0x0F; }
};

// One note as the file sounds it, paired by channel and key.
struct MpMidiNote
{
    int channel;
    int key;         // MIDI note number
    long long on;    // file ticks
    long long off;
    int velocity;

    bool operator==(const MpMidiNote& other) const
    {
        return channel == other.channel && key == other.key && on == other.on && off == other.off &&
               velocity == other.velocity;
    }
};

struct MpMidiFile
{
    int format = -1;
    int trackCount = -1;
    int division = -1;
    std::vector<MpMidiEvent> events; // the end of track included
    std::string error;

    // Events of the channel kind (8 note off, 9 note on, C program ...).
    std::vector<MpMidiEvent> channelEvents(int kind) const
    {
        std::vector<MpMidiEvent> found;
        for (const MpMidiEvent& event : events) {
            if (event.isChannel() && event.kind() == kind)
                found.push_back(event);
        }
        return found;
    }
    std::vector<MpMidiEvent> metaEvents(int type) const
    {
        std::vector<MpMidiEvent> found;
        for (const MpMidiEvent& event : events) {
            if (event.isMeta(type))
                found.push_back(event);
        }
        return found;
    }
    // The notes in the order they start; a note on with velocity 0 ends a
    // note, and a note off without a sounding note is dropped.
    std::vector<MpMidiNote> notes() const
    {
        std::vector<MpMidiNote> done;
        std::map<std::pair<int, int>, std::vector<std::size_t>> sounding;
        std::vector<MpMidiNote> started;
        for (const MpMidiEvent& event : events) {
            if (!event.isChannel() || (event.kind() != 8 && event.kind() != 9))
                continue;
            const std::pair<int, int> at(event.channel(), event.bytes[1]);
            if (event.kind() == 9 && event.bytes[2] > 0) {
                sounding[at].push_back(started.size());
                started.push_back(MpMidiNote{event.channel(), event.bytes[1], event.time, -1, event.bytes[2]});
                continue;
            }
            std::vector<std::size_t>& open = sounding[at];
            if (open.empty())
                continue;
            started[open.front()].off = event.time;
            open.erase(open.begin());
        }
        return started;
    }
};

namespace mpmidi {

inline bool take(const BcArray<unsigned char>& bytes, int& at, int count, std::uint32_t& value)
{
    if (at + count > bytes.count())
        return false;
    value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[at++];
    return true;
}

inline bool quantity(const BcArray<unsigned char>& bytes, int& at, std::uint32_t& value, int& length)
{
    value = 0;
    for (length = 1; length <= 4; ++length) {
        if (at >= bytes.count())
            return false;
        const int byte = bytes[at++];
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

} // namespace mpmidi

// False, with the reason in file.error, for anything the writer must not
// make.
inline bool readMidiFile(const BcArray<unsigned char>& bytes, MpMidiFile& file)
{
    using namespace mpmidi;
    int at = 0;
    std::uint32_t value = 0;
    auto fail = [&file, &at](const std::string& why) {
        file.error = why + " at byte " + std::to_string(at);
        return false;
    };
    if (!take(bytes, at, 4, value) || value != 0x4D546864)
        return fail("no MThd");
    if (!take(bytes, at, 4, value) || value != 6)
        return fail("header length");
    take(bytes, at, 2, value);
    file.format = int(value);
    take(bytes, at, 2, value);
    file.trackCount = int(value);
    if (!take(bytes, at, 2, value))
        return fail("short header");
    file.division = int(value);
    if (!take(bytes, at, 4, value) || value != 0x4D54726B)
        return fail("no MTrk");
    if (!take(bytes, at, 4, value) || at + int(value) != bytes.count())
        return fail("track length");
    long long time = 0;
    while (at < bytes.count()) {
        std::uint32_t delta = 0;
        int deltaLength = 0;
        if (!quantity(bytes, at, delta, deltaLength))
            return fail("delta");
        time += delta;
        MpMidiEvent event{time, {}, deltaLength};
        if (at >= bytes.count())
            return fail("event missing");
        const int status = bytes[at++];
        event.bytes.push_back(status);
        if (status == 0xFF) {
            if (at >= bytes.count())
                return fail("meta type");
            event.bytes.push_back(bytes[at++]);
            std::uint32_t length = 0;
            int lengthBytes = 0;
            if (!quantity(bytes, at, length, lengthBytes) || at + int(length) > bytes.count())
                return fail("meta length");
            event.bytes.push_back(int(length));
            for (std::uint32_t i = 0; i < length; ++i)
                event.bytes.push_back(bytes[at++]);
        } else if (status >= 0x80 && status < 0xF0) {
            const int kind = status >> 4;
            const int dataCount = (kind == 0xC || kind == 0xD) ? 1 : 2;
            for (int i = 0; i < dataCount; ++i) {
                if (at >= bytes.count() || bytes[at] >= 0x80)
                    return fail("data byte");
                event.bytes.push_back(bytes[at++]);
            }
        } else {
            return fail("status byte " + std::to_string(status));
        }
        file.events.push_back(event);
        if (event.isMeta(0x2F))
            break;
    }
    if (file.events.empty() || !file.events.back().isMeta(0x2F) || at != bytes.count())
        return fail("end of track");
    return true;
}
