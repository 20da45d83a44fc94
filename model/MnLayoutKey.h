#pragma once

#include <cstdint>
#include <cstring>

// A fingerprint of every value a cached layout was computed from, so that
// the layout may be kept from one MnCache scope to the next and used again
// only while nothing it depends on has changed. Two independent 64-bit
// mixes make a false match far less likely than any hardware fault.
class MnLayoutKey
{
public:
    void add(long long value)
    {
        const std::uint64_t v = mix(std::uint64_t(value) + 0x9E3779B97F4A7C15ull * ++count);
        low = (low ^ v) * 0x100000001B3ull;
        high = rotate(high ^ (v * 0xC2B2AE3D27D4EB4Full), 29) * 0x9E3779B97F4A7C15ull + 0x165667B19E3779F9ull;
    }
    void add(double value)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        add((long long)bits);
    }
    void add(int value) { add((long long)value); }
    void add(bool value) { add((long long)(value ? 1 : 0)); }

    bool operator==(const MnLayoutKey& other) const
    {
        return low == other.low && high == other.high && count == other.count;
    }
    bool operator!=(const MnLayoutKey& other) const { return !(*this == other); }

private:
    static std::uint64_t mix(std::uint64_t z)
    {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    static std::uint64_t rotate(std::uint64_t v, int bits) { return (v << bits) | (v >> (64 - bits)); }

    std::uint64_t low = 0xCBF29CE484222325ull;
    std::uint64_t high = 0x84222325CBF29CE4ull;
    std::uint64_t count = 0;
};
