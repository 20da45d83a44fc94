#include "playback/SfPresetBuilder.h"

#include "foundation/BcString.h"
#include "playback/SfBankFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <string>

namespace {

// SoundFont 2 generator numbers.
enum Generator {
    startAddrsOffset = 0,
    endAddrsOffset = 1,
    startloopAddrsOffset = 2,
    endloopAddrsOffset = 3,
    startAddrsCoarseOffset = 4,
    modLfoToPitch = 5,
    vibLfoToPitch = 6,
    modEnvToPitch = 7,
    initialFilterFc = 8,
    initialFilterQ = 9,
    modLfoToFilterFc = 10,
    modEnvToFilterFc = 11,
    endAddrsCoarseOffset = 12,
    modLfoToVolume = 13,
    pan = 17,
    delayModLfo = 21,
    freqModLfo = 22,
    delayVibLfo = 23,
    freqVibLfo = 24,
    delayModEnv = 25,
    attackModEnv = 26,
    holdModEnv = 27,
    decayModEnv = 28,
    sustainModEnv = 29,
    releaseModEnv = 30,
    keynumToModEnvHold = 31,
    keynumToModEnvDecay = 32,
    delayVolEnv = 33,
    attackVolEnv = 34,
    holdVolEnv = 35,
    decayVolEnv = 36,
    sustainVolEnv = 37,
    releaseVolEnv = 38,
    keynumToVolEnvHold = 39,
    keynumToVolEnvDecay = 40,
    keyRange = 43,
    velRange = 44,
    startloopAddrsCoarseOffset = 45,
    initialAttenuation = 48,
    endloopAddrsCoarseOffset = 50,
    coarseTune = 51,
    fineTune = 52,
    sampleModes = 54,
    scaleTuning = 56,
    exclusiveClass = 57,
    overridingRootKey = 58,
    generatorCount = 61
};

constexpr int fullRange = 127 << 8; // keys or velocities 0..127
constexpr int noTime = -12000;      // timecents of a stage that takes no time

// The generator values of one zone. Ranges and the exclusive class keep the
// unsigned word, every other generator its signed amount.
struct Zone
{
    int value[generatorCount] = {};

    void set(const SfBankFile::Generator& generator)
    {
        if (generator.number >= generatorCount)
            return;
        bool unsignedWord =
            generator.number == keyRange || generator.number == velRange || generator.number == exclusiveClass;
        value[generator.number] = unsignedWord ? generator.amount : generator.signedAmount();
    }
    int low(int range) const { return value[range] & 0xFF; }
    int high(int range) const { return value[range] >> 8 & 0xFF; }
};

Zone presetDefaults()
{
    Zone zone;
    zone.value[keyRange] = fullRange;
    zone.value[velRange] = fullRange;
    return zone;
}

Zone instrumentDefaults()
{
    Zone zone;
    zone.value[keyRange] = fullRange;
    zone.value[velRange] = fullRange;
    zone.value[initialFilterFc] = 13500;
    zone.value[scaleTuning] = 100;
    zone.value[overridingRootKey] = -1;
    for (int stage : {delayModLfo, delayVibLfo, delayModEnv, attackModEnv, holdModEnv, decayModEnv, releaseModEnv,
                      delayVolEnv, attackVolEnv, holdVolEnv, decayVolEnv, releaseVolEnv})
        zone.value[stage] = noTime;
    return zone;
}

float seconds(double timecents)
{
    return timecents < -11950.0 ? 0.0f : static_cast<float>(std::exp2(timecents / 1200.0));
}

// The two levels' values of one envelope, summed, then made into seconds
// (hold and decay stay timecents while a key scales them).
SfEnvelopeParameters envelope(const Zone& instrument, const Zone& preset, int delay, bool isVolumeEnvelope)
{
    auto sum = [&](int generator) { return instrument.value[generator] + preset.value[generator]; };
    SfEnvelopeParameters parameters;
    parameters.delay = seconds(sum(delay));
    parameters.attack = seconds(sum(delay + 1));
    parameters.keyToHold = static_cast<float>(instrument.value[delay + 6]);
    parameters.keyToDecay = static_cast<float>(instrument.value[delay + 7]);
    parameters.hold = parameters.keyToHold != 0 ? static_cast<float>(sum(delay + 2)) : seconds(sum(delay + 2));
    parameters.decay = parameters.keyToDecay != 0 ? static_cast<float>(sum(delay + 3)) : seconds(sum(delay + 3));
    parameters.release = seconds(sum(delay + 5));
    double sustain = sum(delay + 4);
    if (isVolumeEnvelope)
        parameters.sustain = sustain < 0 || sustain >= 1000 ? 0.0f : static_cast<float>(std::pow(10.0, -sustain / 200.0));
    else
        parameters.sustain = static_cast<float>(std::max(0.0, 1.0 - sustain / 1000.0));
    return parameters;
}

// Walks the zones first..end - 1 of a preset or an instrument. Each zone
// starts from a copy of the level's global zone and takes its generators in
// order; at every generator `reaching` (a preset zone's instrument, an
// instrument zone's sample) reach is called with the zone so far. A first
// zone without that generator is the global zone.
template <class Reach>
bool walkZones(const std::vector<SfBankFile::Bag>& bags, const std::vector<SfBankFile::Generator>& generators,
               int first, int end, Zone global, int reaching, Reach reach)
{
    for (int b = first; b < end; ++b) {
        Zone zone = global;
        bool reaches = false;
        for (int g = bags[b].generatorIndex; g < bags[b + 1].generatorIndex; ++g) {
            if (generators[g].number != reaching) {
                zone.set(generators[g]);
                continue;
            }
            reaches = true;
            if (!reach(zone, generators[g].amount))
                return false;
        }
        if (!reaches && b == first)
            global = zone;
    }
    return true;
}

long long clampPosition(long long position, long long limit)
{
    return std::clamp<long long>(position, 0, limit);
}

class Builder
{
public:
    explicit Builder(const SfBankFile& bank) : bank(bank) {}

    bool buildPreset(int header, SfPreset& preset);
    const std::string& error() const { return problem; }

private:
    bool addInstrument(const Zone& presetZone, int instrument, std::vector<SfRegion>& regions);
    bool addRegion(const Zone& instrumentZone, const Zone& presetZone, int instrument, int sample,
                   std::vector<SfRegion>& regions);

    const SfBankFile& bank;
    long long regionCount = 0;
    std::string problem;
};

bool Builder::buildPreset(int header, SfPreset& preset)
{
    const SfBankFile::PresetHeader& source = bank.presetHeaders[header];
    std::memcpy(preset.name, source.name, sizeof preset.name);
    preset.presetNumber = source.preset;
    preset.bankNumber = source.bank;
    return walkZones(bank.presetBags, bank.presetGenerators, bank.presetZoneBegin(header), bank.presetZoneEnd(header),
                     presetDefaults(), SfBankFile::instrumentGenerator, [&](const Zone& zone, int instrument) {
                         return addInstrument(zone, instrument, preset.regions);
                     });
}

bool Builder::addInstrument(const Zone& presetZone, int instrument, std::vector<SfRegion>& regions)
{
    return walkZones(bank.instrumentBags, bank.instrumentGenerators, bank.instrumentZoneBegin(instrument),
                     bank.instrumentZoneEnd(instrument), instrumentDefaults(), SfBankFile::sampleGenerator,
                     [&](const Zone& zone, int sample) { return addRegion(zone, presetZone, instrument, sample, regions); });
}

bool Builder::addRegion(const Zone& instrumentZone, const Zone& presetZone, int instrument, int sample,
                        std::vector<SfRegion>& regions)
{
    SfRegion region;
    region.loKey = std::max(instrumentZone.low(keyRange), presetZone.low(keyRange));
    region.hiKey = std::min(instrumentZone.high(keyRange), presetZone.high(keyRange));
    region.loVel = std::max(instrumentZone.low(velRange), presetZone.low(velRange));
    region.hiVel = std::min(instrumentZone.high(velRange), presetZone.high(velRange));
    if (region.loKey > region.hiKey || region.loVel > region.hiVel)
        return true;
    if (++regionCount > SfPresetBuilder::maxRegions) {
        problem = "The bank has too many regions to play.";
        return false;
    }

    auto sum = [&](int generator) { return instrumentZone.value[generator] + presetZone.value[generator]; };
    auto address = [&](int fine, int coarse) { return sum(fine) + 32768LL * sum(coarse); };
    const SfBankFile::SampleHeader& header = bank.sampleHeaders[sample];
    long long sampleCount = bank.sampleCount;

    int mode = instrumentZone.value[sampleModes] & 3;
    region.loopMode = mode == 1 ? SfRegion::loopContinuously : mode == 3 ? SfRegion::loopUntilRelease : SfRegion::noLoop;
    region.exclusiveClass = static_cast<unsigned>(instrumentZone.value[exclusiveClass]);

    long long end = address(endAddrsOffset, endAddrsCoarseOffset) + header.end;
    end = end != 0 && end < sampleCount ? end + 1 : sampleCount;
    end = clampPosition(end, sampleCount);
    long long offset = clampPosition(address(startAddrsOffset, startAddrsCoarseOffset) + header.start, end);
    long long loopStart = address(startloopAddrsOffset, startloopAddrsCoarseOffset) + header.loopStart;
    long long loopEnd = address(endloopAddrsOffset, endloopAddrsCoarseOffset) + header.loopEnd - (header.loopEnd > 0 ? 1 : 0);
    if (region.loopMode != SfRegion::noLoop && loopStart < loopEnd &&
        (loopStart < header.start || loopEnd >= header.end)) {
        problem = std::string("The loop of sample \"") + header.name + "\" in instrument \"" +
                  bank.instruments[instrument].name + "\" lies outside the sample.";
        return false;
    }
    region.end = static_cast<int>(end);
    region.offset = static_cast<int>(offset);
    region.loopStart = static_cast<int>(clampPosition(loopStart, sampleCount));
    region.loopEnd = static_cast<int>(clampPosition(loopEnd, sampleCount));

    region.transpose = sum(coarseTune);
    region.tune = sum(fineTune) + header.pitchCorrection;
    region.keyTracking = sum(scaleTuning);
    region.rootKey = instrumentZone.value[overridingRootKey] == -1 ? header.originalPitch
                                                                   : instrumentZone.value[overridingRootKey];
    region.sampleRate = header.sampleRate;
    // The format's ranges: a negative attenuation would be a gain without
    // bound, and a resonance above 96 dB no filter can hold.
    region.attenuation = std::clamp(sum(initialAttenuation) * 0.1f, 0.0f, 144.0f);
    region.pan = std::clamp(sum(pan) / 1000.0f, -0.5f, 0.5f);
    region.filterQ = std::clamp(sum(initialFilterQ), 0, 960);
    region.filterCutoff = sum(initialFilterFc);
    region.volumeEnvelope = envelope(instrumentZone, presetZone, delayVolEnv, true);
    region.modulationEnvelope = envelope(instrumentZone, presetZone, delayModEnv, false);
    region.modEnvToPitch = sum(modEnvToPitch);
    region.modEnvToFilterCutoff = sum(modEnvToFilterFc);
    region.modLfoToFilterCutoff = sum(modLfoToFilterFc);
    region.modLfoToVolume = std::clamp(sum(modLfoToVolume), -960, 960);
    region.modLfoToPitch = sum(modLfoToPitch);
    region.vibLfoToPitch = sum(vibLfoToPitch);
    region.modLfoDelay = seconds(sum(delayModLfo));
    region.modLfoFrequency = sum(freqModLfo);
    region.vibLfoDelay = seconds(sum(delayVibLfo));
    region.vibLfoFrequency = sum(freqVibLfo);
    regions.push_back(region);
    return true;
}

} // namespace

bool SfPresetBuilder::build(const SfBankFile& bank, std::vector<SfPreset>& presets, BcString& reason)
{
    int count = bank.presetCount();
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const SfBankFile::PresetHeader& x = bank.presetHeaders[a];
        const SfBankFile::PresetHeader& y = bank.presetHeaders[b];
        return x.bank != y.bank ? x.bank < y.bank : x.preset < y.preset;
    });
    std::vector<SfPreset> built(static_cast<size_t>(count));
    Builder builder(bank);
    for (int k = 0; k < count; ++k) {
        if (!builder.buildPreset(order[k], built[k])) {
            reason = BcString(builder.error().c_str());
            return false;
        }
    }
    presets = std::move(built);
    return true;
}
