#include "foundation/BcMemoryFiler.h"
#include "foundation/BcString.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

static std::vector<unsigned char> bytesOf(const BcMemoryFiler& filer)
{
    const BcArray<unsigned char>& bytes = filer.bytes();
    return std::vector<unsigned char>(bytes.data(), bytes.data() + bytes.count());
}

static void fill(BcMemoryFiler& filer, const std::vector<unsigned char>& data)
{
    filer.bytes().setSize(int(data.size()));
    for (size_t i = 0; i < data.size(); ++i)
        filer.bytes()[int(i)] = data[i];
}

typedef std::vector<unsigned char> Bytes;

TEST(BcMemoryFiler, GoldenBytes)
{
    struct Case {
        const char* name;
        void (*write)(BcMemoryFiler&);
        Bytes expected;
    };
    const Case cases[] = {
        {"int 1", [](BcMemoryFiler& f) { f.writeInt(1); }, {0x01, 0x00, 0x00, 0x00}},
        {"int -2", [](BcMemoryFiler& f) { f.writeInt(-2); }, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"short 0x1234", [](BcMemoryFiler& f) { f.writeShort(0x1234); }, {0x34, 0x12}},
        {"string ab", [](BcMemoryFiler& f) { f.writeString(BcString("ab")); }, {0x61, 0x00, 0x62, 0x00, 0x00, 0x00}},
        {"empty string", [](BcMemoryFiler& f) { f.writeString(BcString()); }, {0x00, 0x00}},
        {"string with e acute", [](BcMemoryFiler& f) { f.writeString(BcString("\xC3\xA9")); }, {0xE9, 0x00, 0x00, 0x00}},
        {"byte and flag 5 set", [](BcMemoryFiler& f) { f.writeByteAndFlag(5, true); }, {0x85}},
        {"byte and flag 5 clear", [](BcMemoryFiler& f) { f.writeByteAndFlag(5, false); }, {0x05}},
        {"byte and flag -1 clear", [](BcMemoryFiler& f) { f.writeByteAndFlag(-1, false); }, {0x7F}},
        {"float 1.5", [](BcMemoryFiler& f) { f.writeFloat(1.5f); }, {0x00, 0x00, 0xC0, 0x3F}},
        {"double 1.0", [](BcMemoryFiler& f) { f.writeDouble(1.0); }, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"bools", [](BcMemoryFiler& f) { f.writeBool(true); f.writeBool(false); }, {0x01, 0x00}},
        {"char and byte", [](BcMemoryFiler& f) { f.writeChar('A'); f.writeByte(0xFF); }, {0x41, 0xFF}},
        {"raw bytes", [](BcMemoryFiler& f) { const unsigned char raw[] = {9, 8, 7}; f.writeBytes(raw, 3); }, {9, 8, 7}},
    };
    for (const Case& c : cases) {
        BcMemoryFiler filer;
        c.write(filer);
        EXPECT_EQ(bytesOf(filer), c.expected) << c.name;
        EXPECT_EQ(filer.position(), int(c.expected.size())) << c.name;
    }

    BcMemoryFiler filer;
    EXPECT_EQ(filer.version(), 5);
    filer.writeInt(1);
    EXPECT_EQ(filer.bytes().count(), 4);
    EXPECT_EQ(filer.bytes().capacity(), 1024);
}

TEST(BcMemoryFiler, ValuesRoundTrip)
{
    BcMemoryFiler filer;
    filer.writeByte(200);
    filer.writeBool(true);
    filer.writeByteAndFlag(-64, true);
    filer.writeChar('z');
    filer.writeShort(-12345);
    filer.writeInt(std::numeric_limits<int>::min());
    filer.writeDouble(-0.1);
    filer.writeString(BcString("Caf\xC3\xA9 \xF0\x9F\x8E\xB5"));
    filer.writeString(BcString());
    filer.writeDouble(std::numeric_limits<double>::infinity());
    filer.rewind();

    unsigned char byte = 0;
    bool flag = false;
    char value = 0;
    char letter = 0;
    short shortValue = 0;
    int intValue = 0;
    double doubleValue = 0;
    BcString text("old"), empty("old");
    EXPECT_TRUE(filer.readByte(byte));
    EXPECT_EQ(byte, 200);
    EXPECT_TRUE(filer.readBool(flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(filer.readByteAndFlag(value, flag));
    EXPECT_EQ(value, -64);
    EXPECT_TRUE(flag);
    EXPECT_TRUE(filer.readChar(letter));
    EXPECT_EQ(letter, 'z');
    EXPECT_TRUE(filer.readShort(shortValue));
    EXPECT_EQ(shortValue, -12345);
    EXPECT_TRUE(filer.readInt(intValue));
    EXPECT_EQ(intValue, std::numeric_limits<int>::min());
    EXPECT_TRUE(filer.readDouble(doubleValue));
    EXPECT_EQ(doubleValue, -0.1);
    int before = filer.position();
    EXPECT_TRUE(filer.readString(text));
    EXPECT_EQ(text, BcString("Caf\xC3\xA9 \xF0\x9F\x8E\xB5"));
    EXPECT_EQ(filer.position() - before, 2 * 7 + 2);
    EXPECT_TRUE(filer.readString(empty));
    EXPECT_EQ(empty, BcString());
    EXPECT_TRUE(filer.readDouble(doubleValue));
    EXPECT_TRUE(std::isinf(doubleValue));
    EXPECT_TRUE(filer.isAtEnd());
    EXPECT_TRUE(filer.isOk());
}

TEST(BcMemoryFiler, ByteAndFlagDecoding)
{
    struct Case {
        unsigned char stored;
        char value;
        bool flag;
    };
    const Case cases[] = {{0x85, 5, true}, {0x40, -64, false}, {0x7F, -1, false}, {0x00, 0, false}, {0xBF, 63, true}};
    for (const Case& c : cases) {
        BcMemoryFiler filer;
        fill(filer, {c.stored});
        char value = 99;
        bool flag = !c.flag;
        EXPECT_TRUE(filer.readByteAndFlag(value, flag));
        EXPECT_EQ(value, c.value) << int(c.stored);
        EXPECT_EQ(flag, c.flag) << int(c.stored);
    }
}

TEST(BcMemoryFiler, ReadPastTheEndFails)
{
    BcMemoryFiler filer;
    fill(filer, {1, 2, 3});
    int value = 77;
    EXPECT_FALSE(filer.readInt(value));
    EXPECT_EQ(value, 77);
    EXPECT_EQ(filer.position(), 0);
    EXPECT_FALSE(filer.isOk());
    // A later read that fits succeeds, but the filer stays failed.
    short shortValue = 0;
    EXPECT_TRUE(filer.readShort(shortValue));
    EXPECT_EQ(shortValue, 0x0201);
    EXPECT_FALSE(filer.isOk());
    double d = 4.0;
    EXPECT_FALSE(filer.readDouble(d));
    EXPECT_EQ(d, 4.0);
    unsigned char b = 0;
    EXPECT_TRUE(filer.readByte(b));
    EXPECT_FALSE(filer.readByte(b));
    EXPECT_EQ(b, 3);
    EXPECT_TRUE(filer.isAtEnd());

    BcMemoryFiler empty;
    EXPECT_TRUE(empty.isAtEnd());
    bool flag = true;
    EXPECT_FALSE(empty.readBool(flag));
    EXPECT_TRUE(flag);
}

TEST(BcMemoryFiler, StringWithoutTerminatorFails)
{
    struct Case {
        const char* name;
        Bytes data;
    };
    const Case cases[] = {
        {"no terminator", {0x61, 0x00, 0x62, 0x00}},
        {"half a terminator", {0x61, 0x00, 0x00}},
        {"one byte", {0x61}},
        {"nothing", {}},
    };
    for (const Case& c : cases) {
        BcMemoryFiler filer;
        fill(filer, c.data);
        BcString text("kept");
        EXPECT_FALSE(filer.readString(text)) << c.name;
        EXPECT_EQ(text, BcString("kept")) << c.name;
        EXPECT_EQ(filer.position(), 0) << c.name;
        EXPECT_FALSE(filer.isOk()) << c.name;
    }
}

TEST(BcMemoryFiler, WritingAfterRewindTruncates)
{
    BcMemoryFiler filer;
    filer.writeDouble(3.0);
    filer.rewind();
    filer.writeShort(1);
    EXPECT_EQ(filer.bytes().count(), 2);
    EXPECT_TRUE(filer.isAtEnd());
}

TEST(BcMemoryFiler, LargeWritesKeepEveryByte)
{
    // Growth is geometric, but the bytes must be exactly those written.
    BcMemoryFiler filer;
    const int count = 300000;
    for (int i = 0; i < count; ++i)
        filer.writeInt(i * 7);
    EXPECT_EQ(filer.bytes().count(), 4 * count);
    EXPECT_EQ(filer.bytes().capacity() % 1024, 0);
    EXPECT_LT(filer.bytes().capacity(), 2 * 4 * count + 1024);
    filer.rewind();
    int value = 0;
    bool allEqual = true;
    for (int i = 0; i < count && allEqual; ++i)
        allEqual = filer.readInt(value) && value == i * 7;
    EXPECT_TRUE(allEqual);
    EXPECT_TRUE(filer.isAtEnd());

    std::vector<unsigned char> block(5000, 0xAB);
    BcMemoryFiler big;
    big.writeByte(1);
    big.writeBytes(block.data(), int(block.size()));
    EXPECT_EQ(big.bytes().count(), 5001);
    EXPECT_EQ(big.bytes()[5000], 0xAB);
}
