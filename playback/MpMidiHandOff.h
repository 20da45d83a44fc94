#pragma once

#include <deque>
#include <mutex>

class UiMIDIInput;

// Carries a MIDI message and its time stamp from the driver's thread to the
// user-interface thread: in the order posted and never dropped, also while a
// modal dialog runs its own event loop.
class MpMidiHandOff
{
public:
    virtual ~MpMidiHandOff();
    // Any thread; never blocks for long and never fails.
    virtual void post(unsigned timestamp, unsigned message) = 0;
};

// The hand-off as a queue that the user-interface thread drains. After each
// post it calls the wake function, where the shell asks its event loop (the
// modal loops' too) to drain the queue on the interface thread; tests drain
// it themselves.
class MpMidiHandOffQueue : public MpMidiHandOff
{
public:
    using Wake = void (*)(void* userdata);

    MpMidiHandOffQueue() = default;
    MpMidiHandOffQueue(const MpMidiHandOffQueue&) = delete;
    MpMidiHandOffQueue& operator=(const MpMidiHandOffQueue&) = delete;

    // Set before the input opens; called on the posting thread.
    void setWake(Wake wake, void* userdata);
    void post(unsigned timestamp, unsigned message) override;

    // Hands every queued message, oldest first, to UiMIDIInput::onData;
    // messages posted meanwhile are handed too. Answers how many.
    int drain(UiMIDIInput& input);
    // Takes the oldest message; false when none waits.
    bool take(unsigned& timestamp, unsigned& message);
    int pending() const;

private:
    struct Message
    {
        unsigned timestamp;
        unsigned message;
    };

    mutable std::mutex mutex;
    std::deque<Message> messages;
    Wake wakeFunction = nullptr;
    void* wakeData = nullptr;
};
