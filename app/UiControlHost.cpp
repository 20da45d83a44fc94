#include "app/UiControlHost.h"

#include <algorithm>
#include <cstdlib>
#include <string>

UiControlHost::~UiControlHost() = default;

void UiControlHost::notify(int id, Notification what)
{
    if (transfers > 0 || !receiver)
        return;
    receiver(id, what);
}

void UiControlHost::stepUpDown(int id, int delta)
{
    int buddy = layout.buddyOf(id);
    int low = 0;
    int high = 100;
    if (!buddy || !isEnabled(id) || !range(id, low, high))
        return;
    if (low > high)
        std::swap(low, high);
    std::string current = text(buddy);
    char* end = nullptr;
    long value = std::strtol(current.c_str(), &end, 10);
    if (end == current.c_str() || value < low || value > high)
        value = value < low || end == current.c_str() ? low : high;
    else
        value = std::clamp<long>(value + delta, low, high);
    setText(buddy, std::to_string(value));
    notify(buddy, textChanged);
    notify(id, scrolled);
}
