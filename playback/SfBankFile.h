#pragma once

#include "playback/SfStream.h"

#include <vector>

class BcString;

// The records of a SoundFont 2 bank as the file stores them: the nine
// record chunks of "pdta" (each with its terminal record, modulators only
// counted) and the sample points of "smpl". Reading checks the structure:
// every chunk lies inside its parent, every record chunk is a whole number
// of records ending in its terminal record, and every bag, generator,
// instrument and sample index that a zone uses lies inside its records, with
// no range running backwards. What the samples hold is checked apart
// (checkSamples), so that a tool can repair a header it copies.
class SfBankFile
{
public:
    static constexpr int nameLength = 20;

    // Generator numbers that structure the zones.
    static constexpr int instrumentGenerator = 41;
    static constexpr int keyRangeGenerator = 43;
    static constexpr int velocityRangeGenerator = 44;
    static constexpr int sampleGenerator = 53;

    // A bank whose presets reach more generators than this, counting an
    // instrument's generators once for every preset zone that uses it, is
    // refused: the regions are built from every such pair, and a few
    // kilobytes of zones could otherwise ask for billions of them.
    static constexpr long long maxZoneWork = 1 << 22;

    struct PresetHeader
    {
        char name[nameLength + 1] = {};
        int preset = 0;
        int bank = 0;
        int bagIndex = 0;
        unsigned library = 0;
        unsigned genre = 0;
        unsigned morphology = 0;
    };

    struct Bag
    {
        int generatorIndex = 0;
        int modulatorIndex = 0;
    };

    struct Generator
    {
        int number = 0;
        unsigned short amount = 0;

        int signedAmount() const { return static_cast<short>(amount); }
        int low() const { return amount & 0xFF; }
        int high() const { return amount >> 8; }
    };

    struct Instrument
    {
        char name[nameLength + 1] = {};
        int bagIndex = 0;
    };

    struct SampleHeader
    {
        char name[nameLength + 1] = {};
        unsigned start = 0;
        unsigned end = 0;
        unsigned loopStart = 0;
        unsigned loopEnd = 0;
        unsigned sampleRate = 0;
        int originalPitch = 0;
        int pitchCorrection = 0;
        int sampleLink = 0;
        int sampleType = 0;
    };

    // How the points of "smpl" are kept: as floats (value / 32767) for
    // playing, with one zero guard point after the last, or as they are.
    enum class SampleFormat { floats, shorts };

    // Every record array holds its terminal record last.
    std::vector<PresetHeader> presetHeaders;
    std::vector<Bag> presetBags;
    std::vector<Generator> presetGenerators;
    std::vector<Instrument> instruments;
    std::vector<Bag> instrumentBags;
    std::vector<Generator> instrumentGenerators;
    std::vector<SampleHeader> sampleHeaders;
    int presetModulatorCount = 0;
    int instrumentModulatorCount = 0;
    std::vector<float> samples;
    std::vector<short> points;
    unsigned sampleCount = 0;

    // Reads a whole bank. False with a reason, and this object untouched,
    // for a bank that fails a check; nothing outside what the stream holds
    // is read, and no array is sized before its bytes have arrived.
    bool read(const SfStream& stream, SampleFormat format, BcString& reason);

    // False with a reason when a sample that an instrument zone plays is
    // empty or lies outside the sample data.
    bool checkSamples(BcString& reason) const;

    // Presets and instruments without their terminal record.
    int presetCount() const { return static_cast<int>(presetHeaders.size()) - 1; }
    int instrumentCount() const { return static_cast<int>(instruments.size()) - 1; }
    int sampleHeaderCount() const { return static_cast<int>(sampleHeaders.size()) - 1; }

    // The zones of preset or instrument i are bags first..last - 1; the
    // generators of bag b are first..last - 1 of the level's generators.
    int presetZoneBegin(int preset) const { return presetHeaders[preset].bagIndex; }
    int presetZoneEnd(int preset) const { return presetHeaders[preset + 1].bagIndex; }
    int instrumentZoneBegin(int instrument) const { return instruments[instrument].bagIndex; }
    int instrumentZoneEnd(int instrument) const { return instruments[instrument + 1].bagIndex; }

private:
    bool checkStructure(BcString& reason) const;
};
