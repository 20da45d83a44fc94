#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class wxEvtHandler;

// Carries (timestamp, message) pairs from any thread to the interface
// thread, in the order they were posted: the MIDI input's driver thread
// hands its data over this way. Delivery rides on the toolkit's CallAfter,
// which every event loop runs, modal ones included, so nothing is dropped
// while a dialog is open.
class UiHandOff
{
public:
    using Receiver = std::function<void(unsigned timestamp, unsigned message)>;

    // The receiver runs on the thread of the handler's event loop.
    UiHandOff(wxEvtHandler& handler, Receiver receiver);
    ~UiHandOff();
    UiHandOff(const UiHandOff&) = delete;
    UiHandOff& operator=(const UiHandOff&) = delete;

    // From any thread.
    void post(unsigned timestamp, unsigned message);

    // Delivers what is waiting, in order; a receiver that runs an event loop
    // of its own does not get later data ahead of earlier.
    void deliver();

private:
    struct Item
    {
        unsigned timestamp;
        unsigned message;
    };
    struct State;

    wxEvtHandler& handler;
    Receiver receiver;
    std::shared_ptr<State> state;
    bool delivering = false;
};
