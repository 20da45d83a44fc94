#include "foundation/BcSettings.h"

#include <atomic>

static const struct
{
    const char* name;
    int defaultValue;
} keyTable[BcSettings::keyCount] = {
    {"BackgroundColor", 0xFFFFFF},
    {"SelectionColor", 0xFF7F00},
    {"SelectionVoice2Color", 0x00A000},
    {"PlayingColor", 0x3695F2},
    {"PaperDefaultColor", 0xFFFFFF},
    {"Antialiasing", 2},
};

static std::atomic<const BcSettings*> installed{nullptr};

BcSettings::~BcSettings() = default;

int BcSettings::value(Key key) const
{
    return defaultValue(key);
}

int BcSettings::defaultValue(Key key)
{
    return key >= 0 && key < keyCount ? keyTable[key].defaultValue : 0;
}

const char* BcSettings::name(Key key)
{
    return key >= 0 && key < keyCount ? keyTable[key].name : "";
}

const BcSettings& BcSettings::current()
{
    static const BcSettings defaults;
    const BcSettings* settings = installed.load(std::memory_order_acquire);
    return settings ? *settings : defaults;
}

void BcSettings::install(const BcSettings* settings)
{
    installed.store(settings, std::memory_order_release);
}
