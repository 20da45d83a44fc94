#include "model/MnClipboard.h"

#include <atomic>

static std::atomic<MnClipboard::Factory> installedFactory{nullptr};

MnClipboard::~MnClipboard() = default;

std::unique_ptr<MnClipboard> MnClipboard::make()
{
    const Factory factory = installedFactory.load(std::memory_order_acquire);
    return factory ? factory() : nullptr;
}

MnClipboard::Factory MnClipboard::install(Factory factory)
{
    return installedFactory.exchange(factory, std::memory_order_acq_rel);
}
