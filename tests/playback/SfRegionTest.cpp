#include "playback/SfTestBanks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace SfTestBanks;
using Generator = SfBankWriter::Generator;

namespace {

struct RegionCase
{
    const char* name;
    std::function<SfBankWriter()> bank;
    std::function<void(const std::vector<SfRegion>&)> check;
};

SfBankWriter::Sample correctedSine(int cents)
{
    SfBankWriter::Sample sample = loopedSine("sine", 4);
    sample.pitchCorrection = cents;
    return sample;
}

// Two samples under one instrument and one preset, each level with a global
// zone first.
SfBankWriter globalZoneBank(std::vector<Generator> presetGlobal, std::vector<Generator> instrumentGlobal,
                            std::vector<Generator> secondInstrumentZone)
{
    SfBankWriter bank;
    bank.samples.push_back(loopedSine("low", 2));
    bank.samples.push_back(loopedSine("high", 8));
    SfBankWriter::Zone instrumentGlobalZone;
    instrumentGlobalZone.generators = std::move(instrumentGlobal);
    bank.instruments.push_back({"Two", {instrumentGlobalZone, sampleZone(0, {SfBankWriter::range(43, 0, 59)}),
                                        sampleZone(1, std::move(secondInstrumentZone))}});
    SfBankWriter::Zone presetGlobalZone;
    presetGlobalZone.generators = std::move(presetGlobal);
    bank.presets.push_back({"Global", 0, 0, {presetGlobalZone, instrumentZone(0)}});
    return bank;
}

} // namespace

TEST(SfRegion, ZonesCombineIntoRegions)
{
    const RegionCase cases[] = {
        {"preset key range 60..72 over an instrument zone 0..127 gives 60..72",
         [] { return oneRegionBank({SfBankWriter::range(43, 60, 72)}, {SfBankWriter::range(43, 0, 127)}); },
         [](const auto& regions) {
             ASSERT_EQ(regions.size(), 1u);
             EXPECT_EQ(regions[0].loKey, 60);
             EXPECT_EQ(regions[0].hiKey, 72);
         }},
        {"key and velocity ranges of both levels intersect",
         [] {
             return oneRegionBank({SfBankWriter::range(43, 40, 80), SfBankWriter::range(44, 0, 90)},
                                  {SfBankWriter::range(43, 60, 100), SfBankWriter::range(44, 50, 127)});
         },
         [](const auto& regions) {
             ASSERT_EQ(regions.size(), 1u);
             EXPECT_EQ(regions[0].loKey, 60);
             EXPECT_EQ(regions[0].hiKey, 80);
             EXPECT_EQ(regions[0].loVel, 50);
             EXPECT_EQ(regions[0].hiVel, 90);
         }},
        {"zones whose key ranges do not meet give no region",
         [] { return oneRegionBank({SfBankWriter::range(43, 0, 40)}, {SfBankWriter::range(43, 41, 127)}); },
         [](const auto& regions) { EXPECT_TRUE(regions.empty()); }},
        {"zones whose velocity ranges do not meet give no region",
         [] { return oneRegionBank({SfBankWriter::range(44, 100, 127)}, {SfBankWriter::range(44, 0, 99)}); },
         [](const auto& regions) { EXPECT_TRUE(regions.empty()); }},
        {"preset fine tune +10 over instrument +5 gives +15 plus the sample's correction",
         [] { return oneRegionBank({{52, 10}}, {{52, 5}}, correctedSine(-3)); },
         [](const auto& regions) {
             ASSERT_EQ(regions.size(), 1u);
             EXPECT_EQ(regions[0].tune, 12);
         }},
        {"coarse tune, attenuation and pan add across the levels",
         [] { return oneRegionBank({{51, 2}, {48, 30}, {17, 100}}, {{51, -14}, {48, 60}, {17, 200}}); },
         [](const auto& regions) {
             ASSERT_EQ(regions.size(), 1u);
             EXPECT_EQ(regions[0].transpose, -12);
             EXPECT_FLOAT_EQ(regions[0].attenuation, 9.0f);
             EXPECT_FLOAT_EQ(regions[0].pan, 0.3f);
         }},
        {"pan is clamped to -0.5..0.5",
         [] { return oneRegionBank({{17, -400}}, {{17, -400}}); },
         [](const auto& regions) { EXPECT_FLOAT_EQ(regions[0].pan, -0.5f); }},
        {"root key, loop mode and exclusive class come from the instrument only",
         [] { return oneRegionBank({{58, 40}, {54, 0}, {57, 9}}, {{58, 72}, {54, 3}, {57, 2}}); },
         [](const auto& regions) {
             EXPECT_EQ(regions[0].rootKey, 72);
             EXPECT_EQ(regions[0].loopMode, SfRegion::loopUntilRelease);
             EXPECT_EQ(regions[0].exclusiveClass, 2u);
         }},
        {"without an overriding root key the sample's pitch is the root",
         [] {
             SfBankWriter::Sample sample = loopedSine("sine", 4);
             sample.originalPitch = 69;
             return oneRegionBank({}, {}, sample);
         },
         [](const auto& regions) { EXPECT_EQ(regions[0].rootKey, 69); }},
        {"sample modes 1 loops, 2 does not, 3 loops until release",
         [] {
             SfBankWriter bank = oneRegionBank({}, {{54, 1}});
             bank.instruments[0].zones.push_back(sampleZone(0, {{54, 2}}));
             bank.instruments[0].zones.push_back(sampleZone(0, {{54, 3}}));
             return bank;
         },
         [](const auto& regions) {
             ASSERT_EQ(regions.size(), 3u);
             EXPECT_EQ(regions[0].loopMode, SfRegion::loopContinuously);
             EXPECT_EQ(regions[1].loopMode, SfRegion::noLoop);
             EXPECT_EQ(regions[2].loopMode, SfRegion::loopUntilRelease);
         }},
        {"timecents below -11950 give 0 s, others 2^(tc/1200)",
         [] { return oneRegionBank({{34, 1}}, {{34, -11952}, {38, 1200}, {26, 0}, {21, -11951}, {23, 0}}); },
         [](const auto& regions) {
             EXPECT_EQ(regions[0].volumeEnvelope.attack, 0.0f);
             EXPECT_FLOAT_EQ(regions[0].volumeEnvelope.release, 2.0f);
             EXPECT_FLOAT_EQ(regions[0].modulationEnvelope.attack, 1.0f);
             EXPECT_EQ(regions[0].modLfoDelay, 0.0f);
             EXPECT_FLOAT_EQ(regions[0].vibLfoDelay, 1.0f);
             EXPECT_EQ(regions[0].volumeEnvelope.delay, 0.0f);
         }},
        {"sustains: centibels become a gain, tenths of a percent a level",
         [] { return oneRegionBank({}, {{37, 200}, {29, 250}}); },
         [](const auto& regions) {
             EXPECT_NEAR(regions[0].volumeEnvelope.sustain, 0.1f, 1e-6);
             EXPECT_FLOAT_EQ(regions[0].modulationEnvelope.sustain, 0.75f);
         }},
        {"a key-scaled hold stays in timecents until note on",
         [] { return oneRegionBank({}, {{35, -1200}, {39, 100}}); },
         [](const auto& regions) {
             EXPECT_FLOAT_EQ(regions[0].volumeEnvelope.hold, -1200.0f);
             EXPECT_FLOAT_EQ(regions[0].volumeEnvelope.keyToHold, 100.0f);
         }},
        {"a filter resonance is kept within the format's 0..96 dB",
         [] { return oneRegionBank({{9, 300}}, {{9, 100}, {8, 6000}}); },
         [](const auto& regions) {
             EXPECT_EQ(regions[0].filterQ, 400);
             EXPECT_EQ(regions[0].filterCutoff, 6000);
         }},
        {"offsets move the sample's positions, coarse ones by 32768 points",
         [] { return oneRegionBank({{0, 3}}, {{0, 2}, {1, -20}, {2, 4}, {3, -6}, {54, 1}}); },
         [](const auto& regions) {
             EXPECT_EQ(regions[0].offset, 5);
             EXPECT_EQ(regions[0].end, loopPoints - 20 + 1);
             EXPECT_EQ(regions[0].loopStart, 4);
             EXPECT_EQ(regions[0].loopEnd, loopPoints - 1 - 6);
         }},
        {"an offset before the sample data starts at its first point",
         [] { return oneRegionBank({}, {{4, -1}}); },
         [](const auto& regions) { EXPECT_EQ(regions[0].offset, 0); }},
        {"global zones of preset and instrument apply to every zone",
         [] { return globalZoneBank({{17, 100}}, {{48, 60}}, {}); },
         [](const auto& regions) {
             ASSERT_EQ(regions.size(), 2u);
             for (const SfRegion& region : regions) {
                 EXPECT_FLOAT_EQ(region.pan, 0.1f);
                 EXPECT_FLOAT_EQ(region.attenuation, 6.0f);
             }
         }},
        {"a zone's generator replaces its global zone's, not adds to it",
         [] { return globalZoneBank({}, {{52, 7}, {48, 60}}, {{52, 3}}); },
         [](const auto& regions) {
             ASSERT_EQ(regions.size(), 2u);
             EXPECT_EQ(regions[0].tune, 7);
             EXPECT_EQ(regions[1].tune, 3);
             EXPECT_FLOAT_EQ(regions[1].attenuation, 6.0f);
         }},
        {"a zone without a sample after the first is not global",
         [] {
             SfBankWriter bank = oneRegionBank({}, {});
             SfBankWriter::Zone stray;
             stray.generators.push_back({52, 40});
             bank.instruments[0].zones.push_back(stray);
             bank.instruments[0].zones.push_back(sampleZone(0));
             return bank;
         },
         [](const auto& regions) {
             ASSERT_EQ(regions.size(), 2u);
             EXPECT_EQ(regions[1].tune, 0);
         }},
    };
    for (const RegionCase& row : cases) {
        SCOPED_TRACE(row.name);
        std::string reason;
        std::unique_ptr<SfSynthesizer> synthesizer = load(row.bank(), &reason);
        ASSERT_TRUE(synthesizer) << reason;
        ASSERT_EQ(synthesizer->presets.size(), 1u);
        row.check(synthesizer->presets[0].regions);
    }
}
