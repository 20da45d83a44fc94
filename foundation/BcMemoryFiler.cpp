#include "foundation/BcMemoryFiler.h"

#include "foundation/BcString.h"

#include <cstdint>
#include <cstring>

BcMemoryFiler::BcMemoryFiler(int version) : formatVersion(version) {}

int BcMemoryFiler::version()
{
    return formatVersion;
}

bool BcMemoryFiler::isOk()
{
    return ok != 0;
}

bool BcMemoryFiler::take(unsigned char* out, int n)
{
    if (n < 0 || offset < 0 || offset > data.count() || n > data.count() - offset) {
        ok = 0;
        return false;
    }
    std::memcpy(out, data.data() + offset, size_t(n));
    offset += n;
    return true;
}

bool BcMemoryFiler::put(const unsigned char* in, int n)
{
    if (n <= 0)
        return true;
    long long needed = (long long)offset + n;
    // Positions and sizes are ints: data beyond 2 GiB cannot be held.
    if (needed > 0x7FFFFFFF)
        return false;
    if (needed > data.capacity()) {
        // Whole steps of 1024, but at least doubling, so that a large
        // snapshot is not copied once per kilobyte.
        const long long step = data.growBy();
        long long grown = (needed + step - 1) / step * step;
        long long doubled = 2LL * data.capacity();
        long long capacity = grown > doubled ? grown : doubled;
        if (capacity > 0x7FFFFFFF)
            capacity = 0x7FFFFFFF;
        data.setCapacity(int(capacity));
    }
    // Bytes between the data's end and the position stay as the buffer has them.
    if (offset > data.count())
        data.setSize(offset);
    std::memcpy(data.data() + offset, in, size_t(n));
    offset += n;
    data.setSize(offset);
    return true;
}

bool BcMemoryFiler::readByte(unsigned char& value)
{
    return take(&value, 1);
}

bool BcMemoryFiler::readBool(bool& value)
{
    unsigned char b;
    if (!take(&b, 1))
        return false;
    value = b != 0;
    return true;
}

bool BcMemoryFiler::readByteAndFlag(char& value, bool& flag)
{
    unsigned char b;
    if (!readByte(b))
        return false;
    // Bit 6 is copied into bit 7, so the value comes back as -64..63.
    value = char((b & 0x40) ? (b | 0x80) : (b & 0x7F));
    flag = (b & 0x80) != 0;
    return true;
}

bool BcMemoryFiler::readChar(char& value)
{
    unsigned char b;
    if (!take(&b, 1))
        return false;
    value = char(b);
    return true;
}

bool BcMemoryFiler::readShort(short& value)
{
    unsigned char b[2];
    if (!take(b, 2))
        return false;
    value = short(uint16_t(b[0] | (b[1] << 8)));
    return true;
}

bool BcMemoryFiler::readInt(int& value)
{
    unsigned char b[4];
    if (!take(b, 4))
        return false;
    value = int(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24));
    return true;
}

bool BcMemoryFiler::readDouble(double& value)
{
    unsigned char b[8];
    if (!take(b, 8))
        return false;
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | b[i];
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool BcMemoryFiler::readString(BcString& value)
{
    if (offset < 0 || offset > data.count()) {
        ok = 0;
        return false;
    }
    const unsigned char* start = data.data() + offset;
    int available = (data.count() - offset) / 2;
    int length = 0;
    while (length < available && (start[2 * length] | start[2 * length + 1]) != 0)
        ++length;
    if (length == available) {
        ok = 0;
        return false;
    }
    char16_t* units = new char16_t[length + 1];
    for (int i = 0; i < length; ++i)
        units[i] = char16_t(start[2 * i] | (start[2 * i + 1] << 8));
    units[length] = 0;
    value = BcString(units);
    delete[] units;
    offset += 2 * length + 2;
    return true;
}

bool BcMemoryFiler::writeByte(unsigned char value)
{
    return put(&value, 1);
}

bool BcMemoryFiler::writeBool(bool value)
{
    return writeByte(value ? 1 : 0);
}

bool BcMemoryFiler::writeByteAndFlag(char value, bool flag)
{
    unsigned char b = (unsigned char)value;
    return writeByte(flag ? (b | 0x80) : (b & 0x7F));
}

bool BcMemoryFiler::writeChar(char value)
{
    return writeByte((unsigned char)value);
}

bool BcMemoryFiler::writeShort(short value)
{
    uint16_t v = uint16_t(value);
    unsigned char b[2] = {(unsigned char)(v & 0xFF), (unsigned char)(v >> 8)};
    return put(b, 2);
}

bool BcMemoryFiler::writeInt(int value)
{
    uint32_t v = uint32_t(value);
    unsigned char b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = (unsigned char)(v >> (8 * i));
    return put(b, 4);
}

bool BcMemoryFiler::writeDouble(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    unsigned char b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = (unsigned char)(bits >> (8 * i));
    return put(b, 8);
}

bool BcMemoryFiler::writeString(const BcString& value)
{
    const char16_t* units = value.chars();
    int length = value.length();
    if (length > (0x7FFFFFFF - 2) / 2)
        return false;
    // One reservation for the whole string, then the units and the terminator.
    unsigned char* b = new unsigned char[2 * size_t(length) + 2];
    for (int i = 0; i < length; ++i) {
        b[2 * i] = (unsigned char)(units[i] & 0xFF);
        b[2 * i + 1] = (unsigned char)(units[i] >> 8);
    }
    b[2 * length] = 0;
    b[2 * length + 1] = 0;
    bool written = put(b, 2 * length + 2);
    delete[] b;
    return written;
}

bool BcMemoryFiler::isAtEnd()
{
    return offset >= data.count();
}

void BcMemoryFiler::rewind()
{
    offset = 0;
}

bool BcMemoryFiler::writeFloat(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return writeInt(int(bits));
}

bool BcMemoryFiler::writeBytes(const unsigned char* bytes, int count)
{
    if (!bytes || count <= 0)
        return true;
    return put(bytes, count);
}
