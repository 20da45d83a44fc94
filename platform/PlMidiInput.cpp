#include "platform/PlMidiInput.h"

#include <RtMidi.h>

#include <chrono>
#include <mutex>
#include <unistd.h>

const char* const PlMidiInput::clientName = "Quorvane";

namespace {

// Errors after construction come here instead of being thrown.
void ignoreError(RtMidiError::Type, const std::string&, void*) {}

// A sequencer client of our own; null where the sequencer cannot be opened.
std::unique_ptr<RtMidiIn> newClient()
{
    // Without the device node ALSA would only print its failure on every
    // hot-plug poll.
    if (::access("/dev/snd/seq", F_OK) != 0)
        return nullptr;
    try {
        std::unique_ptr<RtMidiIn> client(new RtMidiIn(RtMidi::LINUX_ALSA, PlMidiInput::clientName));
        if (client->getCurrentApi() != RtMidi::LINUX_ALSA)
            return nullptr;
        client->setErrorCallback(&ignoreError, nullptr);
        return client;
    } catch (...) {
        return nullptr;
    }
}

long long monotonicMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

struct PlMidiInput::Connection
{
    // Lists the ports; never connected, so its list is not read while the
    // input's thread reads events.
    std::unique_ptr<RtMidiIn> lister;
    // Connected to the open device.
    std::unique_ptr<RtMidiIn> input;
    std::string openPort;

    // Held while a message is delivered and while delivery is switched.
    std::mutex delivery;
    Callback callback = nullptr;
    void* userdata = nullptr;
    bool started = false;
    long long startedAt = 0;

    static void receive(double, std::vector<unsigned char>* message, void* data)
    {
        Connection* self = static_cast<Connection*>(data);
        if (!self || !message || message->empty() || message->size() > 3)
            return;
        unsigned packed = 0;
        for (size_t i = 0; i < message->size(); ++i)
            packed |= unsigned((*message)[i]) << (8 * i);
        std::lock_guard<std::mutex> guard(self->delivery);
        if (!self->started || !self->callback)
            return;
        const unsigned stamp = unsigned(monotonicMilliseconds() - self->startedAt);
        self->callback(self->userdata, packed, stamp);
    }
};

PlMidiInput::PlMidiInput() : connection(new Connection) {}

PlMidiInput::~PlMidiInput()
{
    close();
}

PlMidiInput* PlMidiInput::create()
{
    return new PlMidiInput;
}

bool PlMidiInput::isAvailable()
{
    if (!connection->lister)
        connection->lister = newClient();
    return connection->lister != nullptr;
}

std::vector<std::string> PlMidiInput::devices()
{
    std::vector<std::string> names;
    if (!isAvailable())
        return names;
    try {
        RtMidiIn& lister = *connection->lister;
        const unsigned count = lister.getPortCount();
        for (unsigned i = 0; i < count; ++i) {
            const std::string name = lister.getPortName(i);
            if (!name.empty() && isDevicePort(name, clientName))
                names.push_back(name);
        }
    } catch (...) {
        names.clear();
    }
    return names;
}

int PlMidiInput::deviceCount()
{
    return int(devices().size());
}

bool PlMidiInput::productName(int device, BcString& name)
{
    const std::vector<std::string> names = devices();
    if (device < 0 || device >= int(names.size()))
        return false;
    name = BcString(displayName(names[device]).c_str());
    return true;
}

bool PlMidiInput::open(int device, Callback callback, void* userdata)
{
    if (connection->input || !callback)
        return false;
    const std::vector<std::string> names = devices();
    if (device < 0 || device >= int(names.size()))
        return false;
    std::unique_ptr<RtMidiIn> input = newClient();
    if (!input)
        return false;
    try {
        // The port's number in the new client's own list.
        const unsigned count = input->getPortCount();
        unsigned port = count;
        for (unsigned i = 0; i < count; ++i) {
            if (input->getPortName(i) == names[device]) {
                port = i;
                break;
            }
        }
        if (port == count)
            return false;
        // Active sensing is what tells an unplugged keyboard from a quiet one.
        input->ignoreTypes(true, true, false);
        {
            std::lock_guard<std::mutex> guard(connection->delivery);
            connection->callback = callback;
            connection->userdata = userdata;
            connection->started = false;
        }
        input->setCallback(&Connection::receive, connection.get());
        input->openPort(port, std::string(clientName) + " Input");
        if (!input->isPortOpen()) {
            std::lock_guard<std::mutex> guard(connection->delivery);
            connection->callback = nullptr;
            connection->userdata = nullptr;
            return false;
        }
    } catch (...) {
        std::lock_guard<std::mutex> guard(connection->delivery);
        connection->callback = nullptr;
        connection->userdata = nullptr;
        return false;
    }
    connection->input = std::move(input);
    connection->openPort = names[device];
    return true;
}

bool PlMidiInput::start()
{
    if (!connection->input)
        return false;
    std::lock_guard<std::mutex> guard(connection->delivery);
    connection->startedAt = monotonicMilliseconds();
    connection->started = true;
    return true;
}

bool PlMidiInput::reset()
{
    if (!connection->input)
        return false;
    std::lock_guard<std::mutex> guard(connection->delivery);
    connection->started = false;
    return true;
}

bool PlMidiInput::close()
{
    if (!connection->input)
        return false;
    {
        std::lock_guard<std::mutex> guard(connection->delivery);
        connection->started = false;
        connection->callback = nullptr;
        connection->userdata = nullptr;
    }
    try {
        // Closing the port ends RtMidi's thread before the client goes.
        connection->input->closePort();
        connection->input->cancelCallback();
    } catch (...) {
    }
    connection->input.reset();
    connection->openPort.clear();
    return true;
}

bool PlMidiInput::isOpenDevicePresent()
{
    if (!connection->input)
        return false;
    for (const std::string& name : devices()) {
        if (name == connection->openPort)
            return true;
    }
    return false;
}

bool PlMidiInput::isDevicePort(const std::string& portName, const std::string& ownClient)
{
    const size_t colon = portName.find(':');
    const std::string client = colon == std::string::npos ? portName : portName.substr(0, colon);
    return client != "Midi Through" && client != ownClient;
}

std::string PlMidiInput::displayName(const std::string& portName)
{
    std::string name = portName;
    // The address RtMidi appends: " <client>:<port>".
    const size_t space = name.rfind(' ');
    if (space != std::string::npos) {
        const std::string address = name.substr(space + 1);
        const size_t colon = address.find(':');
        const bool digits = colon != std::string::npos && colon > 0 && colon + 1 < address.size() &&
                            address.find_first_not_of("0123456789:") == std::string::npos &&
                            address.find(':', colon + 1) == std::string::npos;
        if (digits)
            name = name.substr(0, space);
    }
    const size_t colon = name.find(':');
    if (colon != std::string::npos && colon + 1 < name.size())
        name = name.substr(colon + 1);
    return name;
}
