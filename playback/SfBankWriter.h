#pragma once

#include <string>
#include <vector>

// Writes a SoundFont 2 bank: RIFF "sfbk" with its INFO list, the sample
// points in "sdta"/"smpl" (46 zero points after each sample) and the nine
// "pdta" record chunks, each ending in its terminal record. Modulators are
// not written. What it is given it writes as it stands, unchecked, so a
// test can also make a bank that is wrong on purpose.
class SfBankWriter
{
public:
    struct Generator
    {
        int number = 0;
        int amount = 0; // the 16-bit word: a signed amount, or low and high byte of a range
    };

    struct Zone
    {
        std::vector<Generator> generators;
    };

    struct Preset
    {
        std::string name;
        int preset = 0;
        int bank = 0;
        std::vector<Zone> zones;
    };

    struct Instrument
    {
        std::string name;
        std::vector<Zone> zones;
    };

    struct Sample
    {
        std::string name;
        std::vector<short> points;
        // Counted from the sample's first point; the loop end is the first
        // point after the loop.
        unsigned loopStart = 0;
        unsigned loopEnd = 0;
        unsigned sampleRate = 44100;
        int originalPitch = 60;
        int pitchCorrection = 0;
        int sampleLink = 0;
        int sampleType = 1; // mono
    };

    struct InfoText
    {
        std::string id; // four characters, such as "ICMT"
        std::string text;
    };

    std::string bankName = "Untitled";
    std::vector<InfoText> info; // written after the version, engine and name
    std::vector<Preset> presets;
    std::vector<Instrument> instruments;
    std::vector<Sample> samples;

    static constexpr int guardPoints = 46;

    static Generator range(int number, int low, int high) { return Generator{number, low | high << 8}; }

    // The bank's bytes, replacing bytes.
    void write(std::vector<unsigned char>& bytes) const;
};
