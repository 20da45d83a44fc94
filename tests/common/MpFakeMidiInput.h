#pragma once

#include "foundation/BcString.h"
#include "playback/MpMidiInputDriver.h"
#include "playback/MrRecorder.h"
#include "playback/UiMIDIInputHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

inline std::ostream& operator<<(std::ostream& out, const MrEvent& event)
{
    return out << "{" << event.start << ".." << event.end << ", key " << event.key << "}";
}

// MIDI input devices for tests: each may fail at its capabilities, its open
// or its start; reset and close may fail; devices come and go. Messages are
// delivered from a thread of their own, as a driver's thread would, and
// only while a device is open and started; reset and close wait for a
// delivery under way, so no callback runs after they return.
class MpFakeMidiInputDriver : public MpMidiInputDriver
{
public:
    struct Device
    {
        std::string name;
        bool failCapabilities = false;
        bool failOpen = false;
        bool failStart = false;
    };

    // A short message and its time stamp.
    struct Timed
    {
        unsigned message;
        unsigned timestamp;
    };

    static unsigned noteOn(int note, int velocity = 100, int channel = 0)
    {
        return unsigned(0x90 | channel) | unsigned(note) << 8 | unsigned(velocity) << 16;
    }
    static unsigned noteOff(int note) { return 0x80u | unsigned(note) << 8 | 64u << 16; }
    static constexpr unsigned activeSensing = 0xFE;

    bool isAvailable() override { return available; }
    int deviceCount() override { return available ? int(devices.size()) : 0; }
    bool productName(int device, BcString& name) override
    {
        if (!available || device < 0 || device >= int(devices.size()) || devices[device].failCapabilities)
            return false;
        name = BcString(devices[device].name.c_str());
        return true;
    }
    bool open(int device, Callback callback, void* userdata) override
    {
        calls.push_back("open " + std::to_string(device));
        if (!available || device < 0 || device >= int(devices.size()) || devices[device].failOpen || isOpen())
            return false;
        std::lock_guard<std::mutex> guard(delivery);
        openName = devices[device].name;
        deliverTo = callback;
        deliverData = userdata;
        return true;
    }
    bool start() override
    {
        calls.push_back("start");
        const int device = openIndex();
        if (device < 0 || devices[device].failStart)
            return false;
        std::lock_guard<std::mutex> guard(delivery);
        started = true;
        return true;
    }
    bool reset() override
    {
        calls.push_back("reset");
        if (!isOpen() || failReset)
            return false;
        std::lock_guard<std::mutex> guard(delivery);
        started = false;
        return true;
    }
    bool close() override
    {
        calls.push_back("close");
        if (!isOpen() || failClose)
            return false;
        std::lock_guard<std::mutex> guard(delivery);
        started = false;
        deliverTo = nullptr;
        deliverData = nullptr;
        openName.clear();
        return true;
    }
    bool isOpenDevicePresent() override { return openIndex() >= 0; }

    bool isOpen() const { return deliverTo != nullptr; }
    bool isStarted() const { return started; }
    const std::string& openDeviceName() const { return openName; }

    // Takes the device away, as pulling its cable does.
    void unplug(const std::string& name)
    {
        for (size_t i = 0; i < devices.size(); ++i) {
            if (devices[i].name == name) {
                devices.erase(devices.begin() + long(i));
                return;
            }
        }
    }

    // Delivers the messages, in order, on a new thread and waits for it;
    // answers that thread's id.
    std::thread::id inject(const std::vector<Timed>& messages)
    {
        std::thread::id id;
        std::thread sender([&] {
            id = std::this_thread::get_id();
            deliver(messages);
        });
        sender.join();
        return id;
    }

    // What the driver's thread does with each message.
    void deliver(const std::vector<Timed>& messages)
    {
        for (const Timed& timed : messages) {
            std::lock_guard<std::mutex> guard(delivery);
            if (started && deliverTo)
                deliverTo(deliverData, timed.message, timed.timestamp);
        }
    }

    std::vector<Device> devices;
    bool available = true;
    bool failReset = false;
    bool failClose = false;
    // "open <n>", "start", "reset", "close", in the order called.
    std::vector<std::string> calls;

private:
    int openIndex() const
    {
        if (!isOpen())
            return -1;
        for (size_t i = 0; i < devices.size(); ++i) {
            if (devices[i].name == openName)
                return int(i);
        }
        return -1;
    }

    std::mutex delivery;
    Callback deliverTo = nullptr;
    void* deliverData = nullptr;
    std::string openName;
    bool started = false;
};

// The shell's side of the MIDI input: the player's keys as a log with the
// thread that pressed them, the 88 key flags, the panels' repaints, note
// entry as a log, the chord threshold and a recorder of its own.
class MpFakeMidiInputHost : public UiMIDIInputHost
{
public:
    struct Sound
    {
        bool down;
        int key;
        std::thread::id thread;
    };
    struct Entered
    {
        int key;
        bool addToChord;
        bool operator==(const Entered& other) const { return key == other.key && addToChord == other.addToChord; }
        friend std::ostream& operator<<(std::ostream& out, const Entered& entered)
        {
            return out << "{key " << entered.key << (entered.addToChord ? ", chord}" : "}");
        }
    };

    MpFakeMidiInputHost() : held(new bool[keyCount]()) {}

    void keyDown(int key) override
    {
        std::lock_guard<std::mutex> guard(soundsLock);
        sounds.push_back(Sound{true, key, std::this_thread::get_id()});
    }
    void keyUp(int key) override
    {
        std::lock_guard<std::mutex> guard(soundsLock);
        sounds.push_back(Sound{false, key, std::this_thread::get_id()});
    }
    void noteOffAll() override { ++notesOff; }

    bool isHeldByMidiInput(int key) override { return checked(key) && held[key]; }
    void setHeldByMidiInput(int key, bool value) override
    {
        if (checked(key))
            held[key] = value;
    }
    void invalidatePanels() override { ++invalidations; }
    bool releaseMidiInputKeys() override
    {
        ++releases;
        bool any = false;
        for (int key = 0; key < keyCount; ++key) {
            any = any || held[key];
            held[key] = false;
        }
        if (any)
            ++invalidations;
        return any;
    }
    int chordThreshold() override { return threshold; }
    void enterNote(int key, bool addToChord) override
    {
        checked(key);
        entered.push_back(Entered{key, addToChord});
    }
    MrRecorder* recorder() override { return &recording; }

    bool heldKey(int key) const { return held[key]; }
    int heldCount() const
    {
        int count = 0;
        for (int key = 0; key < keyCount; ++key)
            count += held[key] ? 1 : 0;
        return count;
    }
    std::vector<Sound> soundsSoFar()
    {
        std::lock_guard<std::mutex> guard(soundsLock);
        return sounds;
    }

    int notesOff = 0;
    int invalidations = 0;
    int releases = 0;
    int threshold = 64;
    std::vector<Entered> entered;
    MrRecorder recording;

private:
    bool checked(int key)
    {
        if (key >= 0 && key < keyCount)
            return true;
        ADD_FAILURE() << "key " << key << " reached the key table";
        return false;
    }

    std::unique_ptr<bool[]> held;
    std::mutex soundsLock;
    std::vector<Sound> sounds;
};
