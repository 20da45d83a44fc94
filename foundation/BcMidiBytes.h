#pragma once

#include <cstdint>

class BcFiler;

// Big-endian integers and variable-length quantities as Standard MIDI Files
// store them. The MIDI importer reads with them and the MIDI writer writes
// with them, so both sides agree on the one place where the format's byte
// rules live.
class BcMidiBytes
{
public:
    // Four 7-bit groups: the largest quantity the format allows.
    static constexpr std::uint32_t maxQuantity = 0x0FFFFFFF;

    // Reads a big-endian unsigned number of 1..4 bytes. Fails (leaving value
    // untouched) on a bad byte count or when the filer runs out.
    static bool readBigEndian(BcFiler& filer, int byteCount, std::uint32_t& value);
    // Reads a variable-length quantity of at most four bytes; a fifth
    // continuation byte fails, so a hostile file cannot ask for an endless one.
    static bool readQuantity(BcFiler& filer, std::uint32_t& value);

    // Writes the low byteCount (1..4) bytes of value, most significant first;
    // fails when value does not fit.
    static bool writeBigEndian(BcFiler& filer, std::uint32_t value, int byteCount);
    // Writes value as a variable-length quantity; fails above maxQuantity.
    static bool writeQuantity(BcFiler& filer, std::uint32_t value);
    // The number of bytes writeQuantity uses for value (1..4), or 0 when it
    // cannot be written.
    static int quantityLength(std::uint32_t value);
};
