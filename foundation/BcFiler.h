#pragma once

class BcString;

// The interface through which persistent objects write and read typed values
// and learn the format version of the data. Every read answers whether it
// succeeded and leaves its destination unchanged when it did not; a write
// answers true unless the data cannot hold it.
class BcFiler
{
public:
    virtual ~BcFiler() = default;

    virtual int version() = 0;
    // No read has failed so far.
    virtual bool isOk() = 0;
    virtual bool readByte(unsigned char& value) = 0;
    virtual bool readBool(bool& value) = 0;
    // Bits 0-6 the value (sign-extended from bit 6), bit 7 the flag.
    virtual bool readByteAndFlag(char& value, bool& flag) = 0;
    virtual bool readChar(char& value) = 0;
    virtual bool readShort(short& value) = 0;
    virtual bool readInt(int& value) = 0;
    virtual bool readDouble(double& value) = 0;
    virtual bool readString(BcString& value) = 0;
    virtual bool writeByte(unsigned char value) = 0;
    virtual bool writeBool(bool value) = 0;
    virtual bool writeByteAndFlag(char value, bool flag) = 0;
    virtual bool writeChar(char value) = 0;
    virtual bool writeShort(short value) = 0;
    virtual bool writeInt(int value) = 0;
    virtual bool writeDouble(double value) = 0;
    virtual bool writeString(const BcString& value) = 0;
    virtual bool isAtEnd() = 0;
    virtual void rewind() = 0;
    // No record of the format holds a float, so there is no matching read.
    virtual bool writeFloat(float value) = 0;
    virtual bool writeBytes(const unsigned char* bytes, int count) = 0;
};
