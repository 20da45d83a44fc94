#include "playback/SfTestBanks.h"

#include "foundation/BcString.h"
#include "playback/SfMemoryStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SfTestBanks {

using Generator = SfBankWriter::Generator;

double sineFrequency(int preset)
{
    return 100.0 * (preset + 2);
}

SfBankWriter::Sample loopedSine(const std::string& name, int periods, double amplitude)
{
    SfBankWriter::Sample sample;
    sample.name = name;
    for (int i = 0; i < loopPoints; ++i)
        sample.points.push_back(static_cast<short>(
            std::lround(32767.0 * amplitude * std::sin(2.0 * M_PI * periods * i / loopPoints))));
    sample.loopStart = 0;
    sample.loopEnd = loopPoints;
    sample.originalPitch = 60;
    return sample;
}

SfBankWriter::Zone sampleZone(int sample, std::vector<Generator> generators)
{
    SfBankWriter::Zone zone;
    zone.generators = std::move(generators);
    zone.generators.push_back({53, sample});
    return zone;
}

SfBankWriter::Zone instrumentZone(int instrument, std::vector<Generator> generators)
{
    SfBankWriter::Zone zone;
    zone.generators = std::move(generators);
    zone.generators.push_back({41, instrument});
    return zone;
}

SfBankWriter sineBank()
{
    SfBankWriter bank;
    bank.bankName = "Ten sines";
    for (int i = 0; i < presetsInSineBank; ++i) {
        std::string name = "Sine " + std::to_string(i);
        bank.samples.push_back(loopedSine(name, i + 2));
        bank.instruments.push_back({name, {sampleZone(i, {{54, 1}})}});
        bank.presets.push_back({name, i, 0, {instrumentZone(i)}});
    }
    return bank;
}

SfBankWriter oneRegionBank(std::vector<Generator> presetGenerators, std::vector<Generator> instrumentGenerators,
                           SfBankWriter::Sample sample)
{
    SfBankWriter bank;
    bank.samples.push_back(std::move(sample));
    bank.instruments.push_back({"Instrument", {sampleZone(0, std::move(instrumentGenerators))}});
    bank.presets.push_back({"Preset", 0, 0, {instrumentZone(0, std::move(presetGenerators))}});
    return bank;
}

std::vector<unsigned char> bytesOf(const SfBankWriter& bank)
{
    std::vector<unsigned char> bytes;
    bank.write(bytes);
    return bytes;
}

std::unique_ptr<SfSynthesizer> load(const std::vector<unsigned char>& bytes, std::string* reason)
{
    SfMemoryStream memory(bytes.data(), bytes.size());
    BcString why;
    std::unique_ptr<SfSynthesizer> synthesizer = SfSynthesizer::load(memory.stream(), why);
    if (reason)
        *reason = why.toNarrow(BcString::utf8CodePage);
    return synthesizer;
}

std::unique_ptr<SfSynthesizer> load(const SfBankWriter& bank, std::string* reason)
{
    return load(bytesOf(bank), reason);
}

unsigned readU32(const std::vector<unsigned char>& bytes, long offset)
{
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | static_cast<unsigned>(bytes[offset + 3]) << 24;
}

void writeU32(std::vector<unsigned char>& bytes, long offset, unsigned value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

void writeU16(std::vector<unsigned char>& bytes, long offset, unsigned value)
{
    bytes[offset] = static_cast<unsigned char>(value);
    bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
}

// The header offsets of the chunks from the outermost down to the one with
// that id; empty when there is none.
static bool findPath(const std::vector<unsigned char>& bytes, long from, long to, const char* id,
                     std::vector<long>& path)
{
    for (long at = from; at + 8 <= to;) {
        long size = readU32(bytes, at + 4);
        path.push_back(at);
        if (std::memcmp(&bytes[at], id, 4) == 0)
            return true;
        bool container = std::memcmp(&bytes[at], "RIFF", 4) == 0 || std::memcmp(&bytes[at], "LIST", 4) == 0;
        if (container && findPath(bytes, at + 12, std::min(to, at + 8 + size), id, path))
            return true;
        path.pop_back();
        at += 8 + size + (size & 1);
    }
    return false;
}

static std::vector<long> pathTo(const std::vector<unsigned char>& bytes, const char* id)
{
    std::vector<long> path;
    findPath(bytes, 0, static_cast<long>(bytes.size()), id, path);
    return path;
}

long chunkOffset(const std::vector<unsigned char>& bytes, const char* id)
{
    std::vector<long> path = pathTo(bytes, id);
    return path.empty() ? -1 : path.back();
}

static void changeSizes(std::vector<unsigned char>& bytes, const std::vector<long>& holders, long delta)
{
    for (long at : holders)
        writeU32(bytes, at + 4, static_cast<unsigned>(readU32(bytes, at + 4) + delta));
}

void resizeChunk(std::vector<unsigned char>& bytes, const char* id, long delta)
{
    std::vector<long> path = pathTo(bytes, id);
    long at = path.back();
    long end = at + 8 + readU32(bytes, at + 4);
    if (delta < 0)
        bytes.erase(bytes.begin() + end + delta, bytes.begin() + end);
    else
        bytes.insert(bytes.begin() + end, static_cast<size_t>(delta), 0);
    changeSizes(bytes, path, delta);
}

void removeChunk(std::vector<unsigned char>& bytes, const char* id)
{
    std::vector<long> path = pathTo(bytes, id);
    long at = path.back();
    long length = 8 + readU32(bytes, at + 4);
    bytes.erase(bytes.begin() + at, bytes.begin() + at + length);
    path.pop_back();
    changeSizes(bytes, path, -length);
}

std::vector<float> render(SfSynthesizer& synthesizer, int frames)
{
    std::vector<float> out(static_cast<size_t>(frames) * (synthesizer.outputMode == SfSynthesizer::mono ? 1 : 2));
    synthesizer.renderFloat(out.data(), frames);
    return out;
}

std::vector<float> channel(const std::vector<float>& interleaved, int which)
{
    std::vector<float> out;
    for (size_t i = static_cast<size_t>(which); i < interleaved.size(); i += 2)
        out.push_back(interleaved[i]);
    return out;
}

double frequencyOf(const std::vector<float>& signal, double rate)
{
    double first = -1.0;
    double last = -1.0;
    int crossings = 0;
    for (size_t i = 1; i < signal.size(); ++i) {
        if (signal[i - 1] < 0.0f && signal[i] >= 0.0f) {
            double at = (i - 1) + signal[i - 1] / (signal[i - 1] - signal[i]);
            if (first < 0.0)
                first = at;
            last = at;
            ++crossings;
        }
    }
    return crossings < 2 ? 0.0 : (crossings - 1) * rate / (last - first);
}

double peakOf(const std::vector<float>& signal, size_t from, size_t to)
{
    double peak = 0.0;
    for (size_t i = from; i < std::min(to, signal.size()); ++i)
        peak = std::max(peak, static_cast<double>(std::fabs(signal[i])));
    return peak;
}

} // namespace SfTestBanks
