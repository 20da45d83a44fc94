#include "playback/SfTestBanks.h"
#include "playback/TestAllocations.h"

#include <gtest/gtest.h>

using namespace SfTestBanks;

static int* volatile escaped = nullptr;

TEST(SfRealTime, TheCounterSeesAnAllocation)
{
    TestAllocations counted;
    escaped = new int(1);
    delete escaped;
    EXPECT_EQ(counted.allocations(), 1);
    EXPECT_EQ(counted.frees(), 1);
}

TEST(SfRealTime, NotesAndRenderingAllocateNothingUpToAllTheVoices)
{
    std::unique_ptr<SfSynthesizer> synthesizer = load(sineBank());
    ASSERT_TRUE(synthesizer);
    std::vector<float> buffer(2 * 4096);
    TestAllocations counted;
    for (int note = 0; note < SfSynthesizer::maxVoices; ++note) {
        synthesizer->noteOn(note % presetsInSineBank, 30 + note % 60, 0.6f);
        if (note % 16 == 0)
            synthesizer->renderFloat(buffer.data(), 300);
    }
    // Full: further notes take the oldest voices.
    for (int note = 0; note < 40; ++note) {
        synthesizer->noteOn(note % presetsInSineBank, 100, 0.6f);
        if (note % 5 == 0)
            synthesizer->noteOff(note % presetsInSineBank, 30 + note % 60);
    }
    EXPECT_EQ(synthesizer->voiceCount(), SfSynthesizer::maxVoices);
    EXPECT_EQ(synthesizer->activeVoiceCount(), SfSynthesizer::maxVoices);
    synthesizer->renderFloat(buffer.data(), 4096);
    synthesizer->noteOn(3, 60, 0.0f);
    synthesizer->noteOffAll();
    synthesizer->renderFloat(buffer.data(), 4096);
    EXPECT_EQ(counted.allocations(), 0);
    EXPECT_EQ(counted.frees(), 0);
}
