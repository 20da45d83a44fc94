#include "app/UiHandOff.h"

#include <wx/event.h>

// Shared with the calls in flight: a call that arrives after the hand-off
// is gone finds it marked closed and does nothing.
struct UiHandOff::State
{
    std::mutex lock;
    std::deque<Item> items;
    bool scheduled = false;
    UiHandOff* owner = nullptr;
};

UiHandOff::UiHandOff(wxEvtHandler& handler, Receiver receiver)
    : handler(handler), receiver(std::move(receiver)), state(std::make_shared<State>())
{
    state->owner = this;
}

UiHandOff::~UiHandOff()
{
    std::lock_guard<std::mutex> guard(state->lock);
    state->owner = nullptr;
    state->items.clear();
}

void UiHandOff::post(unsigned timestamp, unsigned message)
{
    std::shared_ptr<State> shared = state;
    {
        std::lock_guard<std::mutex> guard(shared->lock);
        if (!shared->owner)
            return;
        shared->items.push_back(Item{timestamp, message});
        if (shared->scheduled)
            return;
        shared->scheduled = true;
    }
    handler.CallAfter([shared] {
        UiHandOff* owner = nullptr;
        {
            std::lock_guard<std::mutex> guard(shared->lock);
            owner = shared->owner;
        }
        if (owner)
            owner->deliver();
    });
}

void UiHandOff::deliver()
{
    if (delivering)
        return;
    delivering = true;
    for (;;) {
        Item item;
        {
            std::lock_guard<std::mutex> guard(state->lock);
            if (state->items.empty()) {
                state->scheduled = false;
                break;
            }
            item = state->items.front();
            state->items.pop_front();
        }
        if (receiver)
            receiver(item.timestamp, item.message);
    }
    delivering = false;
}
