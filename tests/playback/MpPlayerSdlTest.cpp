#include "platform/PlAudioOutput.h"
#include "playback/MpPlayerTestSupport.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// The player on SDL's audio output, without a sound card: through the dummy
// driver that the test script chooses, and through the disk driver, which
// writes what the device plays into a file.

namespace {

// Sets an environment variable for the test's life.
class Environment
{
public:
    Environment(const char* name, const std::string& value) : name(name)
    {
        const char* old = std::getenv(name);
        had = old != nullptr;
        if (old)
            previous = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~Environment()
    {
        if (had)
            ::setenv(name, previous.c_str(), 1);
        else
            ::unsetenv(name);
    }

private:
    const char* name;
    bool had = false;
    std::string previous;
};

// The application's output installed while it lives.
class SdlOutputInstalled
{
public:
    SdlOutputInstalled() { MpAudioOutput::installFactory(&MpAudioOutputOver<PlAudioOutput>::create); }
    ~SdlOutputInstalled() { MpAudioOutput::installFactory(nullptr); }
};

// Waits until the player stops playing; false after a minute.
bool waitForTheEnd(const MpPlayer& player)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (player.isPlaying()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return true;
}

class MpPlayerSdlTest : public ::testing::Test
{
protected:
    void SetUp() override { bank.write(SfTestBanks::bytesOf(SfTestBanks::sineBank())); }

    MpTestFile bank{"bank.sf2"};
    SdlOutputInstalled sdl;
    MpPlayer player;
    MpTestContext context{&player};
};

TEST_F(MpPlayerSdlTest, playsAScoreToItsEndThroughTheDummyDriver)
{
    Environment driver("SDL_AUDIODRIVER", std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "dummy");
    player.setBankPath(bank.bcPath());
    ASSERT_TRUE(player.open()) << player.openFailureReason().toNarrow(BcString::utf8CodePage);
    EXPECT_EQ(player.waveOutVolume(), PlAudioOutput::fullVolume);
    std::unique_ptr<MnScore> score = quarterScore(1);
    player.setPlaybackTempo(480);
    player.play(score.get(), 0, 0);
    EXPECT_TRUE(player.isPlaying());
    ASSERT_TRUE(waitForTheEnd(player));
    int time = 0;
    unsigned long long tick = 0;
    ASSERT_TRUE(player.lastOnset(time, tick));
    EXPECT_EQ(time, 3 * quarter) << "the last quarter sounded";
    player.close();
}

// Where notes start in a recording: the first loud frame after a silence
// of at least a tenth of a second, or at its start.
std::vector<long> onsets(const std::vector<float>& samples)
{
    const long tenth = 4410;
    std::vector<long> found;
    long silentFrames = tenth;
    for (size_t i = 0; i + 1 < samples.size(); i += 2) {
        const bool loud = std::fabs(samples[i]) > 1e-4f || std::fabs(samples[i + 1]) > 1e-4f;
        if (loud && silentFrames >= tenth)
            found.push_back(long(i / 2));
        silentFrames = loud ? 0 : silentFrames + 1;
    }
    return found;
}

// Four bars of staccatissimo quarters at 120: each note starts 22050
// frames after the one before, within a block, and the error does not add
// up over the sixteen notes.
TEST_F(MpPlayerSdlTest, keepsTempoThroughTheDiskDriver)
{
    MpTestFile recording("recording.raw");
    Environment driver("SDL_AUDIODRIVER", "disk");
    Environment file("SDL_DISKAUDIOFILE", recording.path);
    Environment delay("SDL_DISKAUDIODELAY", "0");
    player.setBankPath(bank.bcPath());
    ASSERT_TRUE(player.open()) << player.openFailureReason().toNarrow(BcString::utf8CodePage);
    std::unique_ptr<MnScore> score = quarterScore(4);
    for (int m = 0; m < 4; ++m) {
        for (int q = 0; q < 4; ++q)
            score->staff(0)->measure(m)->voiceChords(0)[q]->setArticulation(MnArticulationStaccatissimo, true);
    }
    player.setPlaybackTempo(120);
    player.play(score.get(), 0, 0);
    ASSERT_TRUE(waitForTheEnd(player));
    player.close();

    std::ifstream in(recording.path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    const std::vector<long> starts = onsets(samples);
    ASSERT_EQ(starts.size(), 16u);
    for (size_t k = 1; k < starts.size(); ++k) {
        EXPECT_NEAR(starts[k] - starts[k - 1], 22050, MpPlayer::blockFrames) << "note " << k;
        EXPECT_NEAR(starts[k] - starts[0], long(k) * 22050, MpPlayer::blockFrames) << "note " << k;
    }
}

} // namespace
