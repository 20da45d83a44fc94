#pragma once

#include "foundation/BcMemoryFiler.h"
#include "model/MnElement.h"

#include <vector>

typedef std::vector<unsigned char> Bytes;

inline Bytes bytesOf(const BcMemoryFiler& filer)
{
    const BcArray<unsigned char>& bytes = filer.bytes();
    return Bytes(bytes.data(), bytes.data() + bytes.count());
}

inline void fillFiler(BcMemoryFiler& filer, const Bytes& data)
{
    filer.bytes().setSize(int(data.size()));
    for (size_t i = 0; i < data.size(); ++i)
        filer.bytes()[int(i)] = data[i];
    filer.rewind();
}

// The record an element writes at the current version.
inline Bytes recordOf(const MnElement& element)
{
    BcMemoryFiler filer;
    element.write(filer);
    return bytesOf(filer);
}

// Reads a record of the given version into the element; answers the reader's result.
inline bool readRecord(MnElement& element, const Bytes& data, int version = BcMemoryFiler::currentVersion)
{
    BcMemoryFiler filer(version);
    fillFiler(filer, data);
    return element.read(filer);
}

// Builds hand-made records of older versions value by value.
class RecordBuilder
{
public:
    explicit RecordBuilder(int version = BcMemoryFiler::currentVersion) : filer(version) {}
    RecordBuilder& byte(unsigned char v) { filer.writeByte(v); return *this; }
    RecordBuilder& boolean(bool v) { filer.writeBool(v); return *this; }
    RecordBuilder& character(int v) { filer.writeChar(char(v)); return *this; }
    RecordBuilder& byteAndFlag(int v, bool flag) { filer.writeByteAndFlag(char(v), flag); return *this; }
    RecordBuilder& shortValue(int v) { filer.writeShort(short(v)); return *this; }
    RecordBuilder& integer(int v) { filer.writeInt(v); return *this; }
    RecordBuilder& real(double v) { filer.writeDouble(v); return *this; }
    RecordBuilder& string(const char* utf8) { filer.writeString(BcString(utf8)); return *this; }
    RecordBuilder& record(const MnElement& element) { element.write(filer); return *this; }
    RecordBuilder& bytes(const Bytes& data)
    {
        if (!data.empty())
            filer.writeBytes(data.data(), int(data.size()));
        return *this;
    }
    Bytes done() const { return bytesOf(filer); }

private:
    BcMemoryFiler filer;
};
