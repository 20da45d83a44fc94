#include "editing/EdScoreFile.h"

#include "foundation/BcString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

static std::vector<unsigned char> bytesOf(const BcArray<unsigned char>& array)
{
    return std::vector<unsigned char>(array.data(), array.data() + array.count());
}

static std::vector<unsigned char> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

static std::string outputPath(const char* name)
{
    return std::string(QRV_TEST_OUTPUT_DIR) + "/" + name;
}

TEST(EdScoreFile, ComposesHeaderBodyAndCamera)
{
    const unsigned char body[] = {0xAA, 0xBB};
    EdScoreFile::Camera camera;
    camera.scrollX = 1.5;
    camera.scrollY = -2.0;
    camera.zoom = 300.0;
    BcArray<unsigned char> image;
    EdScoreFile::compose(body, 2, camera, image);

    std::vector<unsigned char> expected = {'Q', 'R', 'V', 5, 0, 0, 0, 0xAA, 0xBB};
    for (double value : {1.5, -2.0, 300.0}) {
        unsigned char raw[8];
        std::memcpy(raw, &value, 8);  // the build machine is little-endian
        expected.insert(expected.end(), raw, raw + 8);
    }
    EXPECT_EQ(bytesOf(image), expected);
}

TEST(EdScoreFile, SplitsWhatItComposed)
{
    const unsigned char body[] = {1, 2, 3};
    EdScoreFile::Camera camera;
    camera.scrollX = 7.0;
    camera.scrollY = 8.0;
    camera.zoom = 9.0;
    BcArray<unsigned char> image;
    EdScoreFile::compose(body, 3, camera, image);

    int version = -1, offset = -1, size = -1;
    EdScoreFile::Camera read;
    ASSERT_EQ(EdScoreFile::split(image.data(), image.count(), version, offset, size, read),
              EdScoreFile::opened);
    EXPECT_EQ(version, 5);
    EXPECT_EQ(offset, 7);
    EXPECT_EQ(size, 3);
    EXPECT_EQ(read.scrollX, 7.0);
    EXPECT_EQ(read.scrollY, 8.0);
    EXPECT_EQ(read.zoom, 9.0);
}

TEST(EdScoreFile, RefusesWhatIsNotAScoreFileOfThisVersion)
{
    struct Row
    {
        const char* name;
        std::vector<unsigned char> bytes;
        EdScoreFile::Result expected;
    };
    std::vector<unsigned char> trailer(24, 0);
    auto withHeader = [&](std::vector<unsigned char> header, int bodyBytes) {
        header.insert(header.end(), static_cast<size_t>(bodyBytes), 0);
        header.insert(header.end(), trailer.begin(), trailer.end());
        return header;
    };
    const Row rows[] = {
        {"empty file", {}, EdScoreFile::notScoreFile},
        {"two bytes", {'Q', 'R'}, EdScoreFile::notScoreFile},
        {"wrong magic", withHeader({'Q', 'R', 'W', 5, 0, 0, 0}, 4), EdScoreFile::notScoreFile},
        {"magic without version", {'Q', 'R', 'V', 5, 0}, EdScoreFile::notScoreFile},
        {"version 6", withHeader({'Q', 'R', 'V', 6, 0, 0, 0}, 4), EdScoreFile::newerVersion},
        {"negative version", withHeader({'Q', 'R', 'V', 0xFF, 0xFF, 0xFF, 0xFF}, 4),
         EdScoreFile::newerVersion},
        {"header without camera", {'Q', 'R', 'V', 5, 0, 0, 0, 1, 2, 3}, EdScoreFile::truncated},
        {"version 0 accepted", withHeader({'Q', 'R', 'V', 0, 0, 0, 0}, 0), EdScoreFile::opened},
    };
    for (const Row& row : rows) {
        int version = 99, offset = 99, size = 99;
        EdScoreFile::Camera camera;
        camera.zoom = 42.0;
        EdScoreFile::Result result = EdScoreFile::split(
            row.bytes.data(), static_cast<int>(row.bytes.size()), version, offset, size, camera);
        EXPECT_EQ(result, row.expected) << row.name;
        if (result != EdScoreFile::opened) {
            EXPECT_EQ(version, 99) << row.name;
            EXPECT_EQ(camera.zoom, 42.0) << row.name;
        }
    }
}

TEST(EdScoreFile, WritesAndReadsAFileWhole)
{
    std::string path = outputPath("score-file-roundtrip.qrv");
    std::vector<unsigned char> content(200000);
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<unsigned char>(i * 7);
    ASSERT_TRUE(EdScoreFile::writeFile(BcString(path.c_str()), content.data(),
                                       static_cast<int>(content.size())));
    BcArray<unsigned char> read;
    ASSERT_TRUE(EdScoreFile::readFile(BcString(path.c_str()), read));
    EXPECT_EQ(bytesOf(read), content);

    // Replacing keeps the file's permissions.
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const unsigned char smaller[] = {1, 2};
    ASSERT_TRUE(EdScoreFile::writeFile(BcString(path.c_str()), smaller, 2));
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(fileBytes(path), std::vector<unsigned char>({1, 2}));
}

TEST(EdScoreFile, FailedReadsLeaveTheBytesAlone)
{
    BcArray<unsigned char> bytes;
    bytes.add(9);
    EXPECT_FALSE(EdScoreFile::readFile(BcString(outputPath("no-such-file.qrv").c_str()), bytes));
    EXPECT_FALSE(EdScoreFile::readFile(BcString(QRV_TEST_OUTPUT_DIR), bytes));  // a folder
    EXPECT_FALSE(EdScoreFile::readFile(BcString(""), bytes));
    ASSERT_EQ(bytes.count(), 1);
    EXPECT_EQ(bytes[0], 9);
}

TEST(EdScoreFile, AFailedWriteLeavesWhatIsThere)
{
    std::string folder = outputPath("missing-folder/deeper");
    const unsigned char content[] = {1};
    EXPECT_FALSE(EdScoreFile::writeFile(BcString((folder + "/a.qrv").c_str()), content, 1));

    // A folder in the way of the target is not replaced.
    std::string blocked = outputPath("blocked-target");
    ::mkdir(blocked.c_str(), 0755);
    EXPECT_FALSE(EdScoreFile::writeFile(BcString(blocked.c_str()), content, 1));
    struct stat info;
    ASSERT_EQ(::stat(blocked.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}
