#include "playback/SfBankSubset.h"

#include "foundation/BcString.h"
#include "playback/SfBankFile.h"

#include <algorithm>
#include <map>

namespace {

// Sample types of the format whose sampleLink names a partner.
constexpr int rightSample = 2;
constexpr int leftSample = 4;
constexpr int linkedSample = 8;
constexpr int romSample = 0x8000;

// Copies the zones first..end - 1 of a preset or an instrument with their
// generators; the amount of generator `linking` (the instrument of a preset
// zone, the sample of an instrument zone) becomes what renumber makes of it,
// and a negative answer stops the copy.
template <class Renumber>
bool copyZones(const std::vector<SfBankFile::Bag>& bags, const std::vector<SfBankFile::Generator>& generators,
               int first, int end, int linking, Renumber renumber, std::vector<SfBankWriter::Zone>& zones)
{
    for (int b = first; b < end; ++b) {
        SfBankWriter::Zone zone;
        for (int g = bags[b].generatorIndex; g < bags[b + 1].generatorIndex; ++g) {
            int amount = generators[g].amount;
            if (generators[g].number == linking && (amount = renumber(amount)) < 0)
                return false;
            zone.generators.push_back({generators[g].number, amount});
        }
        zones.push_back(zone);
    }
    return true;
}

class Copier
{
public:
    Copier(const SfBankFile& source, SfBankWriter& bank, std::vector<std::string>& repairs)
        : source(source), bank(bank), repairs(repairs)
    {
    }

    bool copyPreset(int header, int number);
    bool linkPartners();
    const std::string& error() const { return problem; }

private:
    bool fail(const std::string& text)
    {
        problem = text;
        return false;
    }
    int instrumentIndex(int instrument);
    int sampleIndex(int sample);
    bool copySample(int sample, SfBankWriter::Sample& copy);

    const SfBankFile& source;
    SfBankWriter& bank;
    std::vector<std::string>& repairs;
    std::map<int, int> instruments;
    std::map<int, int> samples;
    std::vector<int> sampleSources; // the source header of each copied sample
    std::string problem;
};

bool Copier::copyPreset(int header, int number)
{
    SfBankWriter::Preset preset;
    preset.name = source.presetHeaders[header].name;
    preset.preset = number;
    preset.bank = 0;
    if (!copyZones(source.presetBags, source.presetGenerators, source.presetZoneBegin(header),
                   source.presetZoneEnd(header), SfBankFile::instrumentGenerator,
                   [&](int instrument) { return instrumentIndex(instrument); }, preset.zones))
        return false;
    bank.presets.push_back(preset);
    return true;
}

int Copier::instrumentIndex(int instrument)
{
    auto known = instruments.find(instrument);
    if (known != instruments.end())
        return known->second;
    SfBankWriter::Instrument copy;
    copy.name = source.instruments[instrument].name;
    if (!copyZones(source.instrumentBags, source.instrumentGenerators, source.instrumentZoneBegin(instrument),
                   source.instrumentZoneEnd(instrument), SfBankFile::sampleGenerator,
                   [&](int sample) { return sampleIndex(sample); }, copy.zones))
        return -1;
    int index = static_cast<int>(bank.instruments.size());
    bank.instruments.push_back(copy);
    instruments[instrument] = index;
    return index;
}

int Copier::sampleIndex(int sample)
{
    auto known = samples.find(sample);
    if (known != samples.end())
        return known->second;
    SfBankWriter::Sample copy;
    if (!copySample(sample, copy))
        return -1;
    int index = static_cast<int>(bank.samples.size());
    bank.samples.push_back(copy);
    sampleSources.push_back(sample);
    samples[sample] = index;
    return index;
}

bool Copier::copySample(int sample, SfBankWriter::Sample& copy)
{
    const SfBankFile::SampleHeader& header = source.sampleHeaders[sample];
    std::string name = std::string("\"") + header.name + "\"";
    if ((header.sampleType & romSample) != 0)
        return fail("Sample " + name + " of the source lies in a ROM.");
    if (header.start >= header.end || header.end > source.sampleCount || source.points.size() < header.end)
        return fail("Sample " + name + " of the source is empty or lies outside its sample data.");
    copy.name = header.name;
    copy.points.assign(source.points.begin() + header.start, source.points.begin() + header.end);
    copy.sampleRate = header.sampleRate;
    copy.originalPitch = header.originalPitch;
    copy.pitchCorrection = header.pitchCorrection;
    copy.sampleType = header.sampleType;
    copy.sampleLink = header.sampleLink;
    long long length = header.end - header.start;
    long long loopStart = static_cast<long long>(header.loopStart) - header.start;
    long long loopEnd = static_cast<long long>(header.loopEnd) - header.start;
    // A loop the player would play must lie inside the sample; the loader
    // refuses any other, so the copy is moved inside.
    if (loopStart < loopEnd && (loopStart < 0 || loopEnd > length)) {
        long long repairedStart = std::clamp<long long>(loopStart, 0, length - 1);
        long long repairedEnd = std::clamp<long long>(loopEnd, repairedStart + 1, length);
        repairs.push_back("Sample " + name + ": its loop " + std::to_string(loopStart) + ".." + std::to_string(loopEnd) +
                          " lies outside its " + std::to_string(length) + " points; copied as " +
                          std::to_string(repairedStart) + ".." + std::to_string(repairedEnd) + ".");
        loopStart = repairedStart;
        loopEnd = repairedEnd;
    }
    copy.loopStart = static_cast<unsigned>(std::max<long long>(loopStart, 0));
    copy.loopEnd = static_cast<unsigned>(std::max<long long>(loopEnd, 0));
    return true;
}

// Brings in the partners of stereo and linked samples, then renumbers every
// link; a link that names no sample header is cleared to a mono sample.
bool Copier::linkPartners()
{
    for (size_t i = 0; i < bank.samples.size(); ++i) {
        const SfBankFile::SampleHeader& header = source.sampleHeaders[sampleSources[i]];
        int type = header.sampleType & 0x7FFF;
        if (type != rightSample && type != leftSample && type != linkedSample)
            continue;
        if (header.sampleLink >= source.sampleHeaderCount()) {
            bank.samples[i].sampleType = 1;
            bank.samples[i].sampleLink = 0;
            continue;
        }
        int partner = sampleIndex(header.sampleLink);
        if (partner < 0)
            return false;
        bank.samples[i].sampleLink = partner;
    }
    return true;
}

} // namespace

bool SfBankSubset::make(const SfBankFile& source, const std::vector<Choice>& chosen, SfBankWriter& bank,
                        std::vector<std::string>& repairs, BcString& reason)
{
    SfBankWriter made;
    made.bankName = bank.bankName;
    made.info = bank.info;
    std::vector<std::string> madeRepairs;
    Copier copier(source, made, madeRepairs);
    for (size_t k = 0; k < chosen.size(); ++k) {
        int header = -1;
        for (int h = 0; h < source.presetCount() && header < 0; ++h) {
            if (source.presetHeaders[h].bank == chosen[k].bank && source.presetHeaders[h].preset == chosen[k].preset)
                header = h;
        }
        if (header < 0) {
            reason = BcString(("The source bank has no preset " + std::to_string(chosen[k].preset) + " in bank " +
                               std::to_string(chosen[k].bank) + ".")
                                  .c_str());
            return false;
        }
        if (!copier.copyPreset(header, static_cast<int>(k))) {
            reason = BcString(copier.error().c_str());
            return false;
        }
    }
    if (!copier.linkPartners()) {
        reason = BcString(copier.error().c_str());
        return false;
    }
    bank = std::move(made);
    repairs.insert(repairs.end(), madeRepairs.begin(), madeRepairs.end());
    return true;
}
