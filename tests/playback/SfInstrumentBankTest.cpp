#include "playback/SfTestBanks.h"

#include "foundation/BcString.h"
#include "playback/SfBankFile.h"
#include "playback/SfInstrumentBank.h"
#include "playback/SfMemoryStream.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace SfTestBanks;

namespace {

// The bank-0 programs of the generated General MIDI bank, in file order;
// program k plays a sine of k + 2 periods, 100 Hz apart.
const int sourcePrograms[] = {80, 43, 0, 1, 57, 24, 25, 26, 42, 33, 40, 41, 73, 56, 64};
constexpr int sourceProgramCount = sizeof sourcePrograms / sizeof sourcePrograms[0];

double frequencyOfProgram(int program)
{
    for (int k = 0; k < sourceProgramCount; ++k) {
        if (sourcePrograms[k] == program)
            return 100.0 * (k + 2);
    }
    return 0.0;
}

// A General MIDI shaped bank: the programs above in bank 0, a variation of
// program 24 in bank 8, a drum kit in bank 128, a second program 24 in bank
// 0 after the first, and a piano of two samples that are a stereo pair.
SfBankWriter generalMidiBank()
{
    SfBankWriter bank;
    bank.bankName = "General MIDI";
    for (int k = 0; k < sourceProgramCount; ++k) {
        std::string name = "Program " + std::to_string(sourcePrograms[k]);
        bank.samples.push_back(loopedSine(name, k + 2));
        bank.instruments.push_back({name, {sampleZone(k, {{54, 1}})}});
        bank.presets.push_back({name, sourcePrograms[k], 0, {instrumentZone(k)}});
    }
    int pianoRight = static_cast<int>(bank.samples.size());
    bank.samples.push_back(loopedSine("Piano right", 2));
    bank.samples[2].sampleType = 4; // left, linked to the right one
    bank.samples[2].sampleLink = pianoRight;
    bank.samples[pianoRight].sampleType = 2;
    bank.samples[pianoRight].sampleLink = 2;
    bank.instruments[2].zones.push_back(sampleZone(pianoRight, {{54, 1}, {17, 500}}));
    bank.instruments[2].zones[0].generators.insert(bank.instruments[2].zones[0].generators.begin(), {17, -500});

    bank.samples.push_back(loopedSine("Drum", 30));
    bank.instruments.push_back({"Kit", {sampleZone(static_cast<int>(bank.samples.size()) - 1)}});
    bank.presets.insert(bank.presets.begin() + 4,
                        {"Standard kit", 0, 128, {instrumentZone(static_cast<int>(bank.instruments.size()) - 1)}});
    bank.presets.insert(bank.presets.begin() + 1, {"Ukulele", 24, 8, {instrumentZone(0)}});
    bank.presets.push_back({"Second guitar", 24, 0, {instrumentZone(1)}});
    return bank;
}

SfBankFile sourceOf(const SfBankWriter& writer)
{
    std::vector<unsigned char> bytes = bytesOf(writer);
    SfMemoryStream memory(bytes.data(), bytes.size());
    SfBankFile bank;
    BcString reason;
    EXPECT_TRUE(bank.read(memory.stream(), SfBankFile::SampleFormat::shorts, reason));
    return bank;
}

} // namespace

TEST(SfInstrumentBank, TakesTheTenProgramsInThePlayersOrderWithTheirSamples)
{
    SfBankFile source = sourceOf(generalMidiBank());
    std::vector<unsigned char> bytes;
    std::vector<std::string> repairs;
    BcString reason;
    ASSERT_TRUE(SfInstrumentBank::make(source, bytes, repairs, reason)) << reason.toNarrow(BcString::utf8CodePage);
    EXPECT_TRUE(repairs.empty());

    std::unique_ptr<SfSynthesizer> synthesizer = load(bytes);
    ASSERT_TRUE(synthesizer);
    ASSERT_EQ(synthesizer->presetCount, SfInstrumentBank::presetCount);
    for (int i = 0; i < SfInstrumentBank::presetCount; ++i) {
        int program = SfInstrumentBank::programs[i];
        const SfPreset& preset = synthesizer->presets[i];
        EXPECT_EQ(preset.bankNumber, 0);
        EXPECT_EQ(preset.presetNumber, i);
        EXPECT_EQ(std::string(preset.name), "Program " + std::to_string(program));
        synthesizer->noteOn(i, 60, 1.0f);
        std::vector<float> left = channel(render(*synthesizer, 8192), 0);
        EXPECT_NEAR(frequencyOf(left), frequencyOfProgram(program), 0.5) << program;
        synthesizer->noteOffAll();
        render(*synthesizer, 1024);
    }

    // The piano's stereo pair came along, each linked to the other.
    SfMemoryStream memory(bytes.data(), bytes.size());
    SfBankFile made;
    ASSERT_TRUE(made.read(memory.stream(), SfBankFile::SampleFormat::shorts, reason));
    EXPECT_EQ(synthesizer->presets[0].regions.size(), 2u);
    int left = -1;
    for (int s = 0; s < made.sampleHeaderCount(); ++s) {
        if (made.sampleHeaders[s].sampleType == 4)
            left = s;
    }
    ASSERT_GE(left, 0);
    int right = made.sampleHeaders[left].sampleLink;
    ASSERT_LT(right, made.sampleHeaderCount());
    EXPECT_EQ(made.sampleHeaders[right].sampleType, 2);
    EXPECT_EQ(made.sampleHeaders[right].sampleLink, left);
    EXPECT_EQ(std::string(made.sampleHeaders[right].name), "Piano right");
    // Only what the ten presets play: eleven samples, no drum, no others.
    EXPECT_EQ(made.sampleHeaderCount(), 11);
    EXPECT_EQ(made.instrumentCount(), 10);
}

TEST(SfInstrumentBank, TwoRunsGiveTheSameBytes)
{
    SfBankFile source = sourceOf(generalMidiBank());
    std::vector<unsigned char> first;
    std::vector<unsigned char> second;
    std::vector<std::string> repairs;
    BcString reason;
    ASSERT_TRUE(SfInstrumentBank::make(source, first, repairs, reason));
    ASSERT_TRUE(SfInstrumentBank::make(sourceOf(generalMidiBank()), second, repairs, reason));
    EXPECT_EQ(first, second);
}

TEST(SfInstrumentBank, ALoopOutsideItsSampleIsRepairedInTheCopyAndSaidSo)
{
    SfBankWriter writer = generalMidiBank();
    writer.samples[12].loopStart = 100; // program 73, the flute
    writer.samples[12].loopEnd = loopPoints + 30;
    std::string refused;
    EXPECT_FALSE(load(writer, &refused));
    EXPECT_NE(refused.find("outside"), std::string::npos);

    std::vector<unsigned char> bytes;
    std::vector<std::string> repairs;
    BcString reason;
    ASSERT_TRUE(SfInstrumentBank::make(sourceOf(writer), bytes, repairs, reason))
        << reason.toNarrow(BcString::utf8CodePage);
    ASSERT_EQ(repairs.size(), 1u);
    EXPECT_NE(repairs[0].find("Program 73"), std::string::npos) << repairs[0];
    std::unique_ptr<SfSynthesizer> synthesizer = load(bytes);
    ASSERT_TRUE(synthesizer);
    const SfRegion& flute = synthesizer->presets[4].regions[0];
    EXPECT_LT(flute.loopStart, flute.loopEnd);
}

TEST(SfInstrumentBank, ASourceWithoutOneOfThePrograms)
{
    SfBankWriter writer = generalMidiBank();
    for (size_t k = 0; k < writer.presets.size(); ++k) {
        if (writer.presets[k].preset == 43)
            writer.presets.erase(writer.presets.begin() + static_cast<long>(k));
    }
    std::vector<unsigned char> bytes;
    std::vector<std::string> repairs;
    BcString reason;
    EXPECT_FALSE(SfInstrumentBank::make(sourceOf(writer), bytes, repairs, reason));
    EXPECT_TRUE(bytes.empty());
    EXPECT_NE(std::string(reason.toNarrow(BcString::utf8CodePage)).find("no preset 43"), std::string::npos);
}
