#include "playback/MpMidiHandOff.h"

#include "playback/UiMIDIInput.h"

MpMidiHandOff::~MpMidiHandOff() = default;

void MpMidiHandOffQueue::setWake(Wake wake, void* userdata)
{
    std::lock_guard<std::mutex> guard(mutex);
    wakeFunction = wake;
    wakeData = userdata;
}

void MpMidiHandOffQueue::post(unsigned timestamp, unsigned message)
{
    Wake wake = nullptr;
    void* data = nullptr;
    {
        std::lock_guard<std::mutex> guard(mutex);
        messages.push_back(Message{timestamp, message});
        wake = wakeFunction;
        data = wakeData;
    }
    if (wake)
        wake(data);
}

bool MpMidiHandOffQueue::take(unsigned& timestamp, unsigned& message)
{
    std::lock_guard<std::mutex> guard(mutex);
    if (messages.empty())
        return false;
    timestamp = messages.front().timestamp;
    message = messages.front().message;
    messages.pop_front();
    return true;
}

int MpMidiHandOffQueue::drain(UiMIDIInput& input)
{
    int handed = 0;
    unsigned timestamp = 0;
    unsigned message = 0;
    // One at a time and outside the lock: onData may enter a note, which
    // may take its time, while the driver goes on posting.
    while (take(timestamp, message)) {
        input.onData(timestamp, message);
        ++handed;
    }
    return handed;
}

int MpMidiHandOffQueue::pending() const
{
    std::lock_guard<std::mutex> guard(mutex);
    return int(messages.size());
}
