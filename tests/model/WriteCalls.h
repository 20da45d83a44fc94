#pragma once

#include "foundation/BcFiler.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcString.h"
#include "model/MnElement.h"
#include "model/RecordBytes.h"

#include <climits>
#include <cmath>
#include <optional>
#include <vector>

// One value that an element handed to its filer while it wrote its record.
struct WriteCall
{
    enum Type
    {
        Byte,
        Bool,
        ByteAndFlag,
        Char,
        Short,
        Int,
        Double,
        String,
        Float,
        Bytes,
    };
    Type type;
    double number = 0.0; // the value of every numeric call
    bool flag = false;   // the flag of a byte-and-flag
    BcString text;
    std::vector<unsigned char> block;

    bool operator==(const WriteCall& other) const
    {
        // NaN is the same value as NaN here: the calls compare as filed.
        const bool sameNumber = number == other.number || (number != number && other.number != other.number);
        return type == other.type && sameNumber && flag == other.flag && text == other.text && block == other.block;
    }
};

// A filer that keeps the calls of a record's writer, so that a test can file
// the same record again with one value replaced by one that no setter
// makes. It reads nothing.
class WriteCallFiler : public BcFiler
{
public:
    std::vector<WriteCall> calls;

    int version() override { return BcMemoryFiler::currentVersion; }
    bool isOk() override { return true; }
    bool readByte(unsigned char&) override { return false; }
    bool readBool(bool&) override { return false; }
    bool readByteAndFlag(char&, bool&) override { return false; }
    bool readChar(char&) override { return false; }
    bool readShort(short&) override { return false; }
    bool readInt(int&) override { return false; }
    bool readDouble(double&) override { return false; }
    bool readString(BcString&) override { return false; }
    bool writeByte(unsigned char value) override { return add(WriteCall::Byte, value); }
    bool writeBool(bool value) override { return add(WriteCall::Bool, value ? 1 : 0); }
    bool writeByteAndFlag(char value, bool flag) override
    {
        // The value is filed in seven bits and read back sign-extended.
        const int seven = value & 0x7F;
        add(WriteCall::ByteAndFlag, seven >= 64 ? seven - 128 : seven);
        calls.back().flag = flag;
        return true;
    }
    bool writeChar(char value) override { return add(WriteCall::Char, static_cast<signed char>(value)); }
    bool writeShort(short value) override { return add(WriteCall::Short, value); }
    bool writeInt(int value) override { return add(WriteCall::Int, value); }
    bool writeDouble(double value) override { return add(WriteCall::Double, value); }
    bool writeString(const BcString& value) override
    {
        add(WriteCall::String, 0);
        calls.back().text = value;
        return true;
    }
    bool isAtEnd() override { return true; }
    void rewind() override {}
    bool writeFloat(float value) override { return add(WriteCall::Float, value); }
    bool writeBytes(const unsigned char* bytes, int count) override
    {
        add(WriteCall::Bytes, 0);
        calls.back().block.assign(bytes, bytes + count);
        return true;
    }

private:
    bool add(WriteCall::Type type, double number)
    {
        WriteCall call;
        call.type = type;
        call.number = number;
        calls.push_back(call);
        return true;
    }
};

inline std::vector<WriteCall> writeCallsOf(const MnElement& element)
{
    WriteCallFiler filer;
    element.write(filer);
    return filer.calls;
}

// Files the calls again through a memory filer of the current version.
inline Bytes fileCalls(const std::vector<WriteCall>& calls)
{
    BcMemoryFiler filer;
    for (const WriteCall& call : calls) {
        switch (call.type) {
        case WriteCall::Byte:
            filer.writeByte((unsigned char)call.number);
            break;
        case WriteCall::Bool:
            filer.writeBool(call.number != 0);
            break;
        case WriteCall::ByteAndFlag:
            filer.writeByteAndFlag(char(int(call.number)), call.flag);
            break;
        case WriteCall::Char:
            filer.writeChar(char(int(call.number)));
            break;
        case WriteCall::Short:
            filer.writeShort(short(int(call.number)));
            break;
        case WriteCall::Int:
            filer.writeInt(int(call.number));
            break;
        case WriteCall::Double:
            filer.writeDouble(call.number);
            break;
        case WriteCall::String:
            filer.writeString(call.text);
            break;
        case WriteCall::Float:
            filer.writeFloat(float(call.number));
            break;
        case WriteCall::Bytes:
            filer.writeBytes(call.block.data(), int(call.block.size()));
            break;
        }
    }
    return bytesOf(filer);
}

// Where a record keeps a value: in the first call of the type whose value
// changes with it, as value x multiplier + bias, in the whole value or in
// the bits [shift, shift + width) of it.
struct Field
{
    WriteCall::Type type;
    int shift = 0;
    int width = 0;
    int multiplier = 1;
    int bias = 0;
    // False when the record keeps the value so that no filed value breaks
    // its rule (a step is filed within the diatonic position).
    bool patchable = true;
};

inline Field whole(WriteCall::Type type, int multiplier = 1, int bias = 0)
{
    Field field{type};
    field.multiplier = multiplier;
    field.bias = bias;
    return field;
}

inline Field bits(WriteCall::Type type, int shift, int width, int bias = 0)
{
    Field field{type};
    field.shift = shift;
    field.width = width;
    field.bias = bias;
    return field;
}

// The call with the value filed in place of the old one; none when the
// record has no room for it.
inline std::optional<WriteCall> patchedCall(const Field& field, const WriteCall& call, double value)
{
    if (!field.patchable)
        return std::nullopt;
    WriteCall patched = call;
    if (field.type == WriteCall::Double) {
        patched.number = value;
        return patched;
    }
    if (!(std::trunc(value) == value))
        return std::nullopt; // also NaN and infinities
    const long long raw = (long long)value * field.multiplier + field.bias;
    if (field.width > 0) {
        if (raw < 0 || raw >= (1LL << field.width))
            return std::nullopt;
        const long long mask = ((1LL << field.width) - 1) << field.shift;
        patched.number = double(((long long)call.number & ~mask) | (raw << field.shift));
        return patched;
    }
    long long low = INT_MIN;
    long long high = INT_MAX;
    switch (field.type) {
    case WriteCall::Byte:
        low = 0;
        high = 255;
        break;
    case WriteCall::ByteAndFlag:
        low = -64;
        high = 63;
        break;
    case WriteCall::Char:
        low = -128;
        high = 127;
        break;
    case WriteCall::Short:
        low = -32768;
        high = 32767;
        break;
    default:
        break;
    }
    if (raw < low || raw > high)
        return std::nullopt;
    patched.number = double(raw);
    return patched;
}

// The index of the first call of the type whose value differs between two
// writes of the same record.
inline int fieldCall(const std::vector<WriteCall>& a, const std::vector<WriteCall>& b, WriteCall::Type type)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].type == type && !(a[i] == b[i]))
            return int(i);
    }
    return -1;
}
