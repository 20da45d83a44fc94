#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcFiler.h"

// The filer over a growable byte buffer: values follow each other
// little-endian and unaligned, without tags. Owners fill bytes() directly
// before reading and take the written bytes from it afterwards.
class BcMemoryFiler : public BcFiler
{
public:
    static constexpr int currentVersion = 5;

    explicit BcMemoryFiler(int version = currentVersion);

    int version() override;
    bool isOk() override;
    bool readByte(unsigned char& value) override;
    bool readBool(bool& value) override;
    bool readByteAndFlag(char& value, bool& flag) override;
    bool readChar(char& value) override;
    bool readShort(short& value) override;
    bool readInt(int& value) override;
    bool readDouble(double& value) override;
    // Fails, like any read past the end, when no terminator lies inside the data.
    bool readString(BcString& value) override;
    bool writeByte(unsigned char value) override;
    bool writeBool(bool value) override;
    bool writeByteAndFlag(char value, bool flag) override;
    bool writeChar(char value) override;
    bool writeShort(short value) override;
    bool writeInt(int value) override;
    bool writeDouble(double value) override;
    bool writeString(const BcString& value) override;
    bool isAtEnd() override;
    void rewind() override;
    bool writeFloat(float value) override;
    bool writeBytes(const unsigned char* bytes, int count) override;

    BcArray<unsigned char>& bytes() { return data; }
    const BcArray<unsigned char>& bytes() const { return data; }
    int position() const { return offset; }

private:
    // Copies n bytes at the position out, or fails without moving.
    bool take(unsigned char* out, int n);
    // Stores n bytes at the position; the data ends behind them. Fails only
    // when the data would pass 2 GiB.
    bool put(const unsigned char* in, int n);

    int formatVersion;
    int ok = 1;
    BcArray<unsigned char> data{1024};
    int offset = 0;
};
