#include "foundation/BcMidiBytes.h"

#include "foundation/BcMemoryFiler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{

BcMemoryFiler filerOf(const std::vector<unsigned char>& bytes)
{
    BcMemoryFiler filer;
    filer.writeBytes(bytes.data(), static_cast<int>(bytes.size()));
    filer.rewind();
    return filer;
}

std::vector<unsigned char> bytesOf(BcMemoryFiler& filer)
{
    std::vector<unsigned char> bytes;
    filer.rewind();
    unsigned char byte = 0;
    while (filer.readByte(byte))
        bytes.push_back(byte);
    return bytes;
}

struct QuantityCase
{
    const char* name;
    std::uint32_t value;
    std::vector<unsigned char> bytes;
};

// The examples of the file format's own table of quantities.
const QuantityCase quantityCases[] = {
    {"zero", 0x00, {0x00}},
    {"largest one byte", 0x7F, {0x7F}},
    {"smallest two bytes", 0x80, {0x81, 0x00}},
    {"two thousand", 0x2000, {0xC0, 0x00}},
    {"largest two bytes", 0x3FFF, {0xFF, 0x7F}},
    {"smallest three bytes", 0x4000, {0x81, 0x80, 0x00}},
    {"largest three bytes", 0x1FFFFF, {0xFF, 0xFF, 0x7F}},
    {"smallest four bytes", 0x200000, {0x81, 0x80, 0x80, 0x00}},
    {"largest allowed", 0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
};

} // namespace

TEST(BcMidiBytesTest, QuantitiesWriteAndReadAsTheFormatTabulatesThem)
{
    for (const QuantityCase& c : quantityCases)
    {
        SCOPED_TRACE(c.name);
        BcMemoryFiler out;
        ASSERT_TRUE(BcMidiBytes::writeQuantity(out, c.value));
        EXPECT_EQ(bytesOf(out), c.bytes);
        EXPECT_EQ(BcMidiBytes::quantityLength(c.value), static_cast<int>(c.bytes.size()));

        BcMemoryFiler in = filerOf(c.bytes);
        std::uint32_t value = 12345;
        ASSERT_TRUE(BcMidiBytes::readQuantity(in, value));
        EXPECT_EQ(value, c.value);
    }
}

TEST(BcMidiBytesTest, BadQuantitiesFailAndLeaveTheValue)
{
    BcMemoryFiler out;
    EXPECT_FALSE(BcMidiBytes::writeQuantity(out, 0x10000000));
    EXPECT_EQ(BcMidiBytes::quantityLength(0x10000000), 0);

    const std::vector<unsigned char> fiveBytes{0x81, 0x80, 0x80, 0x80, 0x00};
    const std::vector<unsigned char> cutOff{0x81, 0x80};
    for (const auto& bytes : {fiveBytes, cutOff, std::vector<unsigned char>{}})
    {
        BcMemoryFiler in = filerOf(bytes);
        std::uint32_t value = 77;
        EXPECT_FALSE(BcMidiBytes::readQuantity(in, value));
        EXPECT_EQ(value, 77u);
    }
}

TEST(BcMidiBytesTest, BigEndianNumbersOfOneToFourBytes)
{
    BcMemoryFiler out;
    ASSERT_TRUE(BcMidiBytes::writeBigEndian(out, 6, 4));
    ASSERT_TRUE(BcMidiBytes::writeBigEndian(out, 0x01E0, 2));
    ASSERT_TRUE(BcMidiBytes::writeBigEndian(out, 0x07A120, 3));
    EXPECT_FALSE(BcMidiBytes::writeBigEndian(out, 0x10000, 2));
    EXPECT_FALSE(BcMidiBytes::writeBigEndian(out, 1, 0));
    EXPECT_EQ(bytesOf(out), (std::vector<unsigned char>{0, 0, 0, 6, 0x01, 0xE0, 0x07, 0xA1, 0x20}));

    BcMemoryFiler in = filerOf(bytesOf(out));
    std::uint32_t length = 0, division = 0, tempo = 0, past = 99;
    ASSERT_TRUE(BcMidiBytes::readBigEndian(in, 4, length));
    ASSERT_TRUE(BcMidiBytes::readBigEndian(in, 2, division));
    ASSERT_TRUE(BcMidiBytes::readBigEndian(in, 3, tempo));
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(division, 480u);
    EXPECT_EQ(tempo, 500000u);
    EXPECT_FALSE(BcMidiBytes::readBigEndian(in, 1, past));
    EXPECT_EQ(past, 99u);
}
