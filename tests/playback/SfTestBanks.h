#pragma once

#include "playback/SfBankWriter.h"
#include "playback/SfSynthesizer.h"

#include <memory>
#include <string>
#include <vector>

// Banks for the synthesizer's tests, written by our own SoundFont writer,
// and what the tests measure in the output.
namespace SfTestBanks {

constexpr int presetsInSineBank = 10;
constexpr int loopPoints = 441; // 10 ms at 44.1 kHz

// Preset i of the sine bank sounds this frequency at key 60.
double sineFrequency(int preset);

// A sine of a whole number of periods in loopPoints points, looped over all
// of them; its frequency at key 60 is periods x 100 Hz.
SfBankWriter::Sample loopedSine(const std::string& name, int periods, double amplitude = 0.5);

// A zone playing sample, with the given generators before the sample.
SfBankWriter::Zone sampleZone(int sample, std::vector<SfBankWriter::Generator> generators = {});
SfBankWriter::Zone instrumentZone(int instrument, std::vector<SfBankWriter::Generator> generators = {});

// Ten presets of bank 0, numbers 0..9, each a looped sine of its own
// frequency at root key 60 (loop mode 1, no attack, full sustain).
SfBankWriter sineBank();

// One preset over one instrument over one sample: the generators of the
// preset zone and of the instrument zone are given.
SfBankWriter oneRegionBank(std::vector<SfBankWriter::Generator> presetGenerators,
                           std::vector<SfBankWriter::Generator> instrumentGenerators,
                           SfBankWriter::Sample sample = loopedSine("sine", 4));

std::vector<unsigned char> bytesOf(const SfBankWriter& bank);

std::unique_ptr<SfSynthesizer> load(const std::vector<unsigned char>& bytes, std::string* reason = nullptr);
std::unique_ptr<SfSynthesizer> load(const SfBankWriter& bank, std::string* reason = nullptr);

// The byte offset of the header of the first chunk with that id, found by
// walking RIFF and LIST chunks; -1 when there is none.
long chunkOffset(const std::vector<unsigned char>& bytes, const char* id);
// Changes the size of a chunk's data by delta bytes at its end (zeros when
// it grows), keeping every chunk that holds it consistent.
void resizeChunk(std::vector<unsigned char>& bytes, const char* id, long delta);
// Takes a chunk out, header and all, keeping the chunks that held it
// consistent.
void removeChunk(std::vector<unsigned char>& bytes, const char* id);

unsigned readU32(const std::vector<unsigned char>& bytes, long offset);
void writeU32(std::vector<unsigned char>& bytes, long offset, unsigned value);
void writeU16(std::vector<unsigned char>& bytes, long offset, unsigned value);

// Renders frames in the synthesizer's output mode.
std::vector<float> render(SfSynthesizer& synthesizer, int frames);
// One channel of interleaved stereo frames.
std::vector<float> channel(const std::vector<float>& interleaved, int which);
// The frequency of a periodic signal from its rising zero crossings.
double frequencyOf(const std::vector<float>& signal, double rate = 44100.0);
double peakOf(const std::vector<float>& signal, size_t from = 0, size_t to = SIZE_MAX);

} // namespace SfTestBanks
