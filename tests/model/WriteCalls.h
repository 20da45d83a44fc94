#pragma once

#include "foundation/BcFiler.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcString.h"
#include "model/MnElement.h"
#include "model/RecordBytes.h"

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
