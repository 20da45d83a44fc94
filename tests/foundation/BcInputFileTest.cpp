#include "foundation/BcInputFile.h"

#include "common/TestFifo.h"
#include "foundation/BcString.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

static std::string outputPath(const std::string& name)
{
    return std::string(QRV_TEST_OUTPUT_DIR) + "/" + name;
}

static void writeBytes(const std::string& path, size_t count)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (size_t i = 0; i < count; ++i)
        out.put(static_cast<char>(i));
}

TEST(BcInputFile, ReadsRegularFilesUpToTheLimitWhole)
{
    struct Row
    {
        const char* name;
        size_t size;
        long long limit;
        bool reads;
    };
    const Row rows[] = {
        {"empty file", 0, 100, true},
        {"one byte below the limit", 99, 100, true},
        {"exactly the limit", 100, 100, true},
        {"one byte over the limit", 101, 100, false},
        {"a limit past what an array holds", 5, 1LL << 40, true},
    };
    std::string path = outputPath("input-file.bin");
    for (const Row& row : rows) {
        writeBytes(path, row.size);
        BcArray<unsigned char> bytes;
        bytes.add(0xEE);
        EXPECT_EQ(BcInputFile::readAll(BcString(path.c_str()), row.limit, bytes), row.reads) << row.name;
        if (row.reads) {
            ASSERT_EQ(bytes.count(), static_cast<int>(row.size)) << row.name;
            for (int i = 0; i < bytes.count(); ++i)
                ASSERT_EQ(bytes[i], static_cast<unsigned char>(i)) << row.name;
        } else {
            ASSERT_EQ(bytes.count(), 1) << row.name;
            EXPECT_EQ(bytes[0], 0xEE) << row.name;
        }
    }
}

TEST(BcInputFile, RefusesWhatIsNotARegularFileAtOnce)
{
    TestFifo fifo(outputPath("input-file.fifo"));
    ASSERT_TRUE(fifo.made);
    const std::string others[] = {
        QRV_TEST_OUTPUT_DIR,             // a folder
        "/dev/null",                     // a device
        outputPath("no-such-file.bin"),  // nothing at all
        "",
    };
    BcArray<unsigned char> bytes;
    for (const std::string& path : others)
        EXPECT_FALSE(BcInputFile::readAll(BcString(path.c_str()), 1 << 20, bytes)) << path;

    bool answer = true;
    EXPECT_TRUE(fifo.answersAtOnce(
        [&] { return BcInputFile::readAll(BcString(fifo.path.c_str()), 1 << 20, bytes); }, answer));
    EXPECT_FALSE(answer);
    long long size = -1;
    EXPECT_TRUE(fifo.answersAtOnce(
        [&] { return BcInputFile::open(BcString(fifo.path.c_str()), 1 << 20, size) >= 0; }, answer));
    EXPECT_FALSE(answer);
    EXPECT_EQ(size, -1);
    EXPECT_EQ(bytes.count(), 0);
}
