#include "platform/PlAudioOutput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

// The SDL output without a sound card: SDL's disk driver writes what the
// device plays into a file of raw samples, as fast as it can.

namespace {

// Chooses SDL's disk driver for what this test starts, and gives the
// driver that was chosen back afterwards.
class DiskDriver
{
public:
    DiskDriver()
        : path(std::string(QRV_TEST_OUTPUT_DIR) + "/" + std::to_string(::getpid()) + "-output.raw")
    {
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        if (driver)
            previous = driver;
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
        ::setenv("SDL_DISKAUDIODELAY", "0", 1);
    }
    ~DiskDriver()
    {
        if (previous.empty())
            ::unsetenv("SDL_AUDIODRIVER");
        else
            ::setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
        std::remove(path.c_str());
    }

    long long size() const
    {
        struct stat status;
        return ::stat(path.c_str(), &status) == 0 ? status.st_size : 0;
    }
    // Waits until the file holds the bytes; false after ten seconds.
    bool waitFor(long long bytes) const
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (size() < bytes) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }
    std::vector<float> samples() const
    {
        std::ifstream in(path, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<float> values(bytes.size() / sizeof(float));
        std::memcpy(values.data(), bytes.data(), values.size() * sizeof(float));
        return values;
    }

    const std::string path;

private:
    std::string previous;
};

constexpr float leftValue = 0.75f;
constexpr float rightValue = -0.5f;

// Fills every frame with the two values and counts the buffers.
void constantFrames(void* userdata, unsigned char* buffer, int byteLength)
{
    float* samples = reinterpret_cast<float*>(buffer);
    for (int i = 0; i + 1 < byteLength / int(sizeof(float)); i += 2) {
        samples[i] = leftValue;
        samples[i + 1] = rightValue;
    }
    ++*static_cast<std::atomic<int>*>(userdata);
}

struct VolumeCase
{
    const char* name;
    unsigned volume;
    float left;
    float right;
};

class PlAudioOutputVolumeTest : public ::testing::TestWithParam<VolumeCase>
{
};

// The volume word scales the left channel by its low word and the right by
// its high word, over 0xFFFF.
TEST_P(PlAudioOutputVolumeTest, scalesEachChannel)
{
    const VolumeCase& row = GetParam();
    DiskDriver disk;
    PlAudioOutput::setVolume(row.volume);
    std::unique_ptr<PlAudioOutput> output(PlAudioOutput::create());
    BcString error;
    ASSERT_TRUE(output->initialize(error)) << error.toNarrow(BcString::utf8CodePage);
    ASSERT_GE(output->deviceCount(), 1);
    std::atomic<int> buffers{0};
    ASSERT_TRUE(output->open(&constantFrames, &buffers, error)) << error.toNarrow(BcString::utf8CodePage);
    output->pause(false);
    const long long bufferBytes = PlAudioOutput::bufferFrames * 2 * sizeof(float);
    while (buffers.load() < 4)
        std::this_thread::yield();
    ASSERT_TRUE(disk.waitFor(disk.size() + 4 * bufferBytes));
    output->close();
    PlAudioOutput::setVolume(PlAudioOutput::fullVolume);

    // Silence while the device was paused, then the scaled frames.
    const std::vector<float> samples = disk.samples();
    long scaled = 0;
    for (size_t i = 0; i + 1 < samples.size(); i += 2) {
        const bool silent = samples[i] == 0.0f && samples[i + 1] == 0.0f;
        const bool expected = std::fabs(samples[i] - leftValue * row.left) < 1e-6f &&
                              std::fabs(samples[i + 1] - rightValue * row.right) < 1e-6f;
        ASSERT_TRUE(silent || expected) << "frame " << i / 2 << ": " << samples[i] << ", " << samples[i + 1];
        scaled += expected ? 1 : 0;
    }
    EXPECT_GE(scaled, 3 * PlAudioOutput::bufferFrames);
}

INSTANTIATE_TEST_SUITE_P(Volumes, PlAudioOutputVolumeTest,
                         ::testing::Values(VolumeCase{"full", 0xFFFFFFFFu, 1.0f, 1.0f},
                                           VolumeCase{"half", 0x7FFF7FFFu, 32767.0f / 65535, 32767.0f / 65535},
                                           VolumeCase{"leftSilent", 0xFFFF0000u, 0.0f, 1.0f},
                                           VolumeCase{"rightQuarter", 0x3FFFFFFFu, 1.0f, 16383.0f / 65535},
                                           VolumeCase{"silent", 0u, 0.0f, 0.0f}),
                         [](const ::testing::TestParamInfo<VolumeCase>& info) { return std::string(info.param.name); });

TEST(PlAudioOutput, opensOneDeviceAndClosesSafely)
{
    DiskDriver disk;
    std::unique_ptr<PlAudioOutput> output(PlAudioOutput::create());
    output->close();
    EXPECT_EQ(output->deviceCount(), 0) << "nothing started";
    BcString error;
    std::atomic<int> buffers{0};
    EXPECT_FALSE(output->open(&constantFrames, &buffers, error));
    EXPECT_FALSE(error.isEmpty());

    ASSERT_TRUE(output->initialize(error));
    ASSERT_TRUE(output->open(&constantFrames, &buffers, error));
    error = BcString();
    EXPECT_FALSE(output->open(&constantFrames, &buffers, error));
    EXPECT_FALSE(error.isEmpty());
    output->lockDevice();
    output->unlockDevice();
    output->close();
    output->close();

    // Started again after a close.
    ASSERT_TRUE(output->initialize(error));
    ASSERT_TRUE(output->open(&constantFrames, &buffers, error));
}

TEST(PlAudioOutput, aDriverThatDoesNotExistGivesSdlsReason)
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const std::string previous = driver ? driver : "";
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::unique_ptr<PlAudioOutput> output(PlAudioOutput::create());
    BcString error;
    EXPECT_FALSE(output->initialize(error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(output->deviceCount(), 0);
    output->close();
    if (previous.empty())
        ::unsetenv("SDL_AUDIODRIVER");
    else
        ::setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
}

} // namespace
