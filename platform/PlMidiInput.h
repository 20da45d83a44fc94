#pragma once

#include "foundation/BcString.h"

#include <memory>
#include <string>
#include <vector>

// The MIDI input devices of the ALSA sequencer, through RtMidi. A device is
// a readable port of another client: the kernel's "Midi Through" port and
// the ports of this program's own clients are left out, so the first device
// is the user's keyboard and the count falls to 0 when it is unplugged.
//
// One device is open at a time. Its messages arrive on RtMidi's thread and
// go to the callback as status | data1 << 8 | data2 << 16, stamped in
// milliseconds since start by the monotonic clock as each arrives; system
// exclusive and timing messages are dropped, active sensing is kept. Reset
// stops delivery and start resumes it, the port staying connected; once
// reset or close returns no callback runs.
//
// Where there is no sequencer (no /dev/snd/seq) the list is empty and
// nothing opens. Nothing RtMidi throws leaves this class.
class PlMidiInput
{
public:
    using Callback = void (*)(void* userdata, unsigned message, unsigned timestamp);

    // The name of this program's sequencer clients.
    static const char* const clientName;

    // Never null; the sequencer is reached on first use.
    static PlMidiInput* create();
    ~PlMidiInput();
    PlMidiInput(const PlMidiInput&) = delete;
    PlMidiInput& operator=(const PlMidiInput&) = delete;

    // Whether the sequencer could be opened (tried again while it could not).
    bool isAvailable();
    int deviceCount();
    // The port's name without its client and address.
    bool productName(int device, BcString& name);
    bool open(int device, Callback callback, void* userdata);
    bool start();
    bool reset();
    bool close();
    bool isOpenDevicePresent();

    // Whether a port, named as RtMidi lists it ("client:port c:p"), is a
    // device: not the sequencer's through port, not a client named ownClient.
    static bool isDevicePort(const std::string& portName, const std::string& ownClient);
    // "Client:Port name 20:0" -> "Port name".
    static std::string displayName(const std::string& portName);

private:
    struct Connection;

    PlMidiInput();
    // The devices' full port names, in the sequencer's order.
    std::vector<std::string> devices();

    std::unique_ptr<Connection> connection;
};
