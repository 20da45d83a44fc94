#include "foundation/BcMidiBytes.h"

#include "foundation/BcFiler.h"

bool BcMidiBytes::readBigEndian(BcFiler& filer, int byteCount, std::uint32_t& value)
{
    if (byteCount < 1 || byteCount > 4)
        return false;
    std::uint32_t result = 0;
    for (int i = 0; i < byteCount; ++i)
    {
        unsigned char byte = 0;
        if (!filer.readByte(byte))
            return false;
        result = (result << 8) | byte;
    }
    value = result;
    return true;
}

bool BcMidiBytes::readQuantity(BcFiler& filer, std::uint32_t& value)
{
    std::uint32_t result = 0;
    for (int i = 0; i < 4; ++i)
    {
        unsigned char byte = 0;
        if (!filer.readByte(byte))
            return false;
        result = (result << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0)
        {
            value = result;
            return true;
        }
    }
    return false;
}

bool BcMidiBytes::writeBigEndian(BcFiler& filer, std::uint32_t value, int byteCount)
{
    if (byteCount < 1 || byteCount > 4)
        return false;
    if (byteCount < 4 && value >> (8 * byteCount) != 0)
        return false;
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
        if (!filer.writeByte(static_cast<unsigned char>(value >> shift)))
            return false;
    return true;
}

int BcMidiBytes::quantityLength(std::uint32_t value)
{
    if (value > maxQuantity)
        return 0;
    int length = 1;
    while (value >>= 7)
        ++length;
    return length;
}

bool BcMidiBytes::writeQuantity(BcFiler& filer, std::uint32_t value)
{
    const int length = quantityLength(value);
    if (length == 0)
        return false;
    for (int group = length - 1; group >= 0; --group)
    {
        unsigned char byte = static_cast<unsigned char>((value >> (7 * group)) & 0x7F);
        if (group > 0)
            byte |= 0x80;
        if (!filer.writeByte(byte))
            return false;
    }
    return true;
}
