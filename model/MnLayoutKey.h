#pragma once

#include <cstdint>
#include <cstring>

// A fingerprint of every value a cached layout was computed from, so that
// the layout may be kept from one MnCache scope to the next and used again
// only while nothing it depends on has changed. Each step of both lanes is
// a one-to-one function of the lane for a given value, so two sequences of
// values that differ in one value never meet; that other differences meet
// in both independent 64-bit lanes is far less likely than a hardware
// fault.
class MnLayoutKey
{
public:
    void add(long long value)
    {
        const std::uint64_t v = std::uint64_t(value);
        low = (low ^ v) * 0x100000001B3ull;
        high = rotate(high + v * 0xC2B2AE3D27D4EB4Full, 29) * 0x9E3779B97F4A7C15ull;
        ++count;
    }
    void add(double value)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        add((long long)bits);
    }
    void add(int value) { add((long long)value); }
    void add(bool value) { add((long long)(value ? 1 : 0)); }

    // Two values in one step, for values that each fit 32 bits.
    void add(int first, int second) { add((long long)((std::uint64_t(std::uint32_t(first)) << 32) | std::uint32_t(second))); }

    bool operator==(const MnLayoutKey& other) const
    {
        return low == other.low && high == other.high && count == other.count;
    }
    bool operator!=(const MnLayoutKey& other) const { return !(*this == other); }

private:
    static std::uint64_t rotate(std::uint64_t v, int bits) { return (v << bits) | (v >> (64 - bits)); }

    std::uint64_t low = 0xCBF29CE484222325ull;
    std::uint64_t high = 0x84222325CBF29CE4ull;
    std::uint64_t count = 0;
};
