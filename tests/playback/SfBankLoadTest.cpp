#include "playback/SfTestBanks.h"

#include "foundation/BcString.h"
#include "playback/SfBankFile.h"
#include "playback/SfFileStream.h"
#include "playback/SfMemoryStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <sys/stat.h>

using namespace SfTestBanks;
using Generator = SfBankWriter::Generator;

TEST(SfBankLoad, TheTenPresetBankLoadsInOrder)
{
    SfBankWriter bank = sineBank();
    std::string reason;
    std::unique_ptr<SfSynthesizer> synthesizer = load(bank, &reason);
    ASSERT_TRUE(synthesizer) << reason;
    EXPECT_EQ(synthesizer->presetCount, presetsInSineBank);
    ASSERT_EQ(synthesizer->presets.size(), static_cast<size_t>(presetsInSineBank));
    for (int i = 0; i < presetsInSineBank; ++i) {
        EXPECT_EQ(synthesizer->presets[i].presetNumber, i);
        EXPECT_EQ(std::string(synthesizer->presets[i].name), "Sine " + std::to_string(i));
        ASSERT_EQ(synthesizer->presets[i].regions.size(), 1u);
    }
    // Every point of "smpl" and one guard point after them.
    size_t points = presetsInSineBank * (loopPoints + SfBankWriter::guardPoints);
    ASSERT_EQ(synthesizer->samples.size(), points + 1);
    EXPECT_EQ(synthesizer->samples.back(), 0.0f);
    for (int i : {0, 55, 300})
        EXPECT_EQ(synthesizer->samples[i], bank.samples[0].points[i] / 32767.0f);
    EXPECT_EQ(synthesizer->samples[loopPoints], 0.0f);
}

TEST(SfBankLoad, PresetsStoredOutOfOrderPlayByBankPresetAndFileOrder)
{
    SfBankWriter bank = sineBank();
    // (bank, preset) in file order; "Sine k" keeps its file position k.
    int order[][2] = {{1, 0}, {0, 7}, {0, 3}, {128, 0}, {0, 3}, {0, 0}, {2, 5}, {0, 9}, {1, 0}, {0, 1}};
    for (int k = 0; k < presetsInSineBank; ++k) {
        bank.presets[k].bank = order[k][0];
        bank.presets[k].preset = order[k][1];
    }
    std::unique_ptr<SfSynthesizer> synthesizer = load(bank);
    ASSERT_TRUE(synthesizer);
    std::vector<std::string> names;
    for (const SfPreset& preset : synthesizer->presets)
        names.push_back(preset.name);
    std::vector<std::string> expected = {"Sine 5", "Sine 9", "Sine 2", "Sine 4", "Sine 1",
                                         "Sine 7", "Sine 0", "Sine 8", "Sine 6", "Sine 3"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(synthesizer->presets[0].bankNumber, 0);
    EXPECT_EQ(synthesizer->presets[0].presetNumber, 0);
}

namespace {

struct Damage
{
    const char* name;
    std::function<void(std::vector<unsigned char>&)> damage;
    const char* reasonHas;
};

long dataOf(const std::vector<unsigned char>& bytes, const char* id)
{
    return chunkOffset(bytes, id) + 8;
}

SfBankWriter bankWith(std::function<void(SfBankWriter&)> change)
{
    SfBankWriter bank = sineBank();
    change(bank);
    return bank;
}

void replaceWith(std::vector<unsigned char>& bytes, const SfBankWriter& bank)
{
    bytes = bytesOf(bank);
}

} // namespace

// Each damage of the ten-preset bank is refused with a reason.
TEST(SfBankLoad, DamagedBanksAreRefusedWithAReason)
{
    const Damage damages[] = {
        {"phdr of 37 bytes", [](auto& b) { resizeChunk(b, "phdr", -1); }, "whole number"},
        {"pbag of 7 bytes", [](auto& b) { resizeChunk(b, "pbag", 3); }, "whole number"},
        {"no ibag chunk", [](auto& b) { removeChunk(b, "ibag"); }, "no \"ibag\""},
        {"no smpl chunk", [](auto& b) { removeChunk(b, "smpl"); }, "no \"smpl\""},
        {"pmod without its terminal record", [](auto& b) { resizeChunk(b, "pmod", -10); }, "terminal"},
        {"only the terminal preset header", [](auto& b) { resizeChunk(b, "phdr", -38 * presetsInSineBank); },
         "no preset"},
        {"chunk id starting with z", [](auto& b) { b[chunkOffset(b, "pmod")] = 'z'; }, "not a valid chunk name"},
        {"chunk id starting with a space", [](auto& b) { b[chunkOffset(b, "igen")] = ' '; },
         "not a valid chunk name"},
        {"LIST type starting with a control byte", [](auto& b) { b[chunkOffset(b, "phdr") - 4] = 1; },
         "not a valid chunk name"},
        {"smpl size 0xFFFFFFF0", [](auto& b) { writeU32(b, chunkOffset(b, "smpl") + 4, 0xFFFFFFF0u); },
         "larger than"},
        {"RIFF size 0xFFFFFFF0", [](auto& b) { writeU32(b, 4, 0xFFFFFFF0u); }, "truncated"},
        {"not RIFF", [](auto& b) { std::memcpy(b.data(), "RIFX", 4); }, "not a SoundFont"},
        {"not sfbk", [](auto& b) { std::memcpy(b.data() + 8, "sfbx", 4); }, "not a SoundFont"},
        {"a RIFF inside pdta", [](auto& b) { std::memcpy(b.data() + chunkOffset(b, "imod"), "RIFF", 4); },
         "inside another"},
        {"two phdr chunks", [](auto& b) { std::memcpy(b.data() + chunkOffset(b, "pmod"), "phdr", 4); }, "two"},
        {"instrument index past its records",
         [](auto& b) { writeU16(b, dataOf(b, "pgen") + 2, presetsInSineBank); }, "instrument 10"},
        {"sample index past its headers", [](auto& b) { writeU16(b, dataOf(b, "igen") + 4 + 2, 99); },
         "sample 99"},
        {"preset zones past the bags",
         [](auto& b) { writeU16(b, dataOf(b, "phdr") + 38 * presetsInSineBank + 24, 11); }, "past their zone"},
        {"instrument zones past the bags",
         [](auto& b) { writeU16(b, dataOf(b, "inst") + 22 * presetsInSineBank + 20, 12); }, "past their zone"},
        {"preset generators past their records",
         [](auto& b) { writeU16(b, dataOf(b, "pbag") + 4 * presetsInSineBank, 12); }, "past their generator"},
        {"instrument generators past their records",
         [](auto& b) { writeU16(b, dataOf(b, "ibag") + 4 * presetsInSineBank, 22); }, "past their generator"},
        {"preset zones running backwards", [](auto& b) { writeU16(b, dataOf(b, "phdr") + 38 * 3 + 24, 1); },
         "run backwards"},
        {"instrument generators running backwards", [](auto& b) { writeU16(b, dataOf(b, "ibag") + 4 * 4, 1); },
         "run backwards"},
        {"empty sample",
         [](auto& b) { writeU32(b, dataOf(b, "shdr") + 24, readU32(b, dataOf(b, "shdr") + 20)); }, "is empty"},
        {"sample ending past the sample data",
         [](auto& b) { writeU32(b, dataOf(b, "shdr") + 46 * 9 + 24, 10 * 487 + 1); }, "outside the sample data"},
        {"loop ending past its sample",
         [](auto& b) {
             replaceWith(b, bankWith([](SfBankWriter& bank) { bank.samples[3].loopEnd = loopPoints + 1; }));
         },
         "lies outside the sample"},
        {"loop starting before its sample through a generator",
         [](auto& b) {
             replaceWith(b, bankWith([](SfBankWriter& bank) {
                             bank.instruments[2].zones[0] = sampleZone(2, {{54, 3}, {2, -1}});
                         }));
         },
         "lies outside the sample"},
        {"loop moved past its sample by the preset",
         [](auto& b) {
             replaceWith(b, bankWith([](SfBankWriter& bank) {
                             bank.presets[5].zones[0] = instrumentZone(5, {{50, 1}});
                         }));
         },
         "lies outside the sample"},
    };
    for (const Damage& row : damages) {
        std::vector<unsigned char> bytes = bytesOf(sineBank());
        row.damage(bytes);
        std::string reason;
        EXPECT_FALSE(load(bytes, &reason)) << row.name;
        EXPECT_NE(reason.find(row.reasonHas), std::string::npos) << row.name << ": " << reason;
    }
}

TEST(SfBankLoad, LoopsThatStayInsideTheirSampleAreKept)
{
    // The loop may end at the sample's last point, and a zone that does not
    // loop may carry any loop at all.
    SfBankWriter bank = sineBank();
    bank.samples[0].loopStart = 10;
    bank.samples[0].loopEnd = loopPoints;
    bank.samples[1].loopEnd = loopPoints + 500;
    bank.instruments[1].zones[0] = sampleZone(1, {{54, 0}});
    std::string reason;
    std::unique_ptr<SfSynthesizer> synthesizer = load(bank, &reason);
    ASSERT_TRUE(synthesizer) << reason;
    const SfRegion& region = synthesizer->presets[0].regions[0];
    EXPECT_EQ(region.loopStart, 10);
    EXPECT_EQ(region.loopEnd, loopPoints - 1);
}

TEST(SfBankLoad, ZonesThatWouldMakeBillionsOfRegionsAreRefused)
{
    // One instrument of many generators used by many preset zones: a few
    // kilobytes that would otherwise build millions of regions.
    SfBankWriter bank;
    bank.samples.push_back(loopedSine("sine", 1));
    SfBankWriter::Instrument wide{"Wide", {}};
    for (int i = 0; i < 1100; ++i)
        wide.zones.push_back(sampleZone(0, {{52, 1}}));
    bank.instruments.push_back(wide);
    SfBankWriter::Preset preset{"Many", 0, 0, {}};
    for (int i = 0; i < 2100; ++i)
        preset.zones.push_back(instrumentZone(0));
    bank.presets.push_back(preset);
    std::string reason;
    EXPECT_FALSE(load(bank, &reason));
    EXPECT_NE(reason.find("too many"), std::string::npos) << reason;
}

TEST(SfBankLoad, EveryProperPrefixIsRefused)
{
    std::vector<unsigned char> bytes = bytesOf(sineBank());
    for (size_t size = 0; size < bytes.size(); ++size) {
        std::vector<unsigned char> prefix(bytes.begin(), bytes.begin() + static_cast<long>(size));
        std::string reason;
        ASSERT_FALSE(load(prefix, &reason)) << size;
        ASSERT_FALSE(reason.empty()) << size;
    }
}

TEST(SfBankLoad, BanksWithRandomBitFlipsLoadOrFailCleanly)
{
    std::vector<unsigned char> original = bytesOf(sineBank());
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> byteAt(0, original.size() - 1);
    // The structure sits in the last 1500 bytes; flips aimed there find far
    // more than flips in the sample points would.
    std::uniform_int_distribution<size_t> structureByteAt(original.size() - 1500, original.size() - 1);
    int loaded = 0;
    for (int copy = 0; copy < 3000; ++copy) {
        std::vector<unsigned char> bytes = original;
        int flips = 1 + copy % 4;
        for (int f = 0; f < flips; ++f)
            bytes[copy % 2 ? structureByteAt(random) : byteAt(random)] ^= static_cast<unsigned char>(1u << (random() % 8));
        std::string reason;
        std::unique_ptr<SfSynthesizer> synthesizer = load(bytes, &reason);
        if (!synthesizer) {
            ASSERT_FALSE(reason.empty());
            continue;
        }
        ++loaded;
        for (int p = 0; p < synthesizer->presetCount; ++p)
            synthesizer->noteOn(p, 60 + p, 0.8f);
        render(*synthesizer, 300);
        synthesizer->noteOffAll();
        render(*synthesizer, 600);
    }
    EXPECT_GT(loaded, 0);
}

namespace {

std::string writeFile(const std::string& name, const std::vector<unsigned char>& bytes)
{
    std::string path = std::string(QRV_TEST_OUTPUT_DIR) + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

std::unique_ptr<SfSynthesizer> loadFile(const std::string& path, std::string& reason)
{
    SfFileStream file;
    if (!file.open(path.c_str()))
        return nullptr;
    BcString why;
    std::unique_ptr<SfSynthesizer> synthesizer = SfSynthesizer::load(file.stream(), why);
    reason = why.toNarrow(BcString::utf8CodePage);
    return synthesizer;
}

} // namespace

TEST(SfBankLoad, AFileLoadsThroughTheFileStreamAndACutOneIsRefused)
{
    // A chunk the loader skips closes the bank; a seek past the end of a
    // file succeeds, so only reading tells that the file was cut there.
    std::vector<unsigned char> bytes = bytesOf(sineBank());
    const unsigned extra = 1000;
    std::vector<unsigned char> trailing = {'x', 't', 'r', 'a'};
    for (int i = 0; i < 4; ++i)
        trailing.push_back(static_cast<unsigned char>(extra >> (8 * i)));
    trailing.resize(trailing.size() + extra, 7);
    bytes.insert(bytes.end(), trailing.begin(), trailing.end());
    writeU32(bytes, 4, readU32(bytes, 4) + 8 + extra);

    std::string reason;
    std::unique_ptr<SfSynthesizer> whole = loadFile(writeFile("whole.sf2", bytes), reason);
    ASSERT_TRUE(whole) << reason;
    EXPECT_EQ(whole->presetCount, presetsInSineBank);
    std::unique_ptr<SfSynthesizer> fromMemory = load(bytes);
    ASSERT_TRUE(fromMemory);
    EXPECT_EQ(whole->samples, fromMemory->samples);

    for (size_t cut : {size_t(1), size_t(500), size_t(extra + 7)}) {
        std::vector<unsigned char> shorter(bytes.begin(), bytes.end() - static_cast<long>(cut));
        EXPECT_FALSE(loadFile(writeFile("cut.sf2", shorter), reason)) << cut;
        EXPECT_NE(reason.find("truncated"), std::string::npos) << reason;
    }
    EXPECT_FALSE(loadFile(std::string(QRV_TEST_OUTPUT_DIR) + "/no such bank.sf2", reason));
}

TEST(SfBankLoad, OnlyARegularFileOpensAsABank)
{
    // A FIFO would keep the opening waiting for a writer; a folder opens
    // as a stream of failing reads.
    std::string fifo = std::string(QRV_TEST_OUTPUT_DIR) + "/fifo.sf2";
    std::remove(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    SfFileStream file;
    EXPECT_FALSE(file.open(fifo.c_str()));
    EXPECT_FALSE(file.open(QRV_TEST_OUTPUT_DIR));
    EXPECT_FALSE(file.isOpen());
    std::remove(fifo.c_str());
}

TEST(SfBankLoad, AStreamThatCannotTellItsLengthLoadsTheSame)
{
    std::vector<unsigned char> bytes = bytesOf(sineBank());
    SfMemoryStream memory(bytes.data(), bytes.size());
    SfStream stream = memory.stream();
    stream.streamRemaining = nullptr;
    BcString reason;
    std::unique_ptr<SfSynthesizer> synthesizer = SfSynthesizer::load(stream, reason);
    ASSERT_TRUE(synthesizer);
    EXPECT_EQ(synthesizer->samples, load(bytes)->samples);
}
