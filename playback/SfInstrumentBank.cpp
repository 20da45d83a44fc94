#include "playback/SfInstrumentBank.h"

#include "foundation/BcString.h"
#include "playback/SfBankFile.h"
#include "playback/SfMemoryStream.h"
#include "playback/SfSynthesizer.h"

#include <cstring>

const int SfInstrumentBank::programs[presetCount] = {0, 24, 26, 33, 73, 64, 40, 42, 43, 56};

bool SfInstrumentBank::make(const SfBankFile& source, std::vector<unsigned char>& bytes,
                            std::vector<std::string>& repairs, BcString& reason)
{
    std::vector<SfBankSubset::Choice> chosen;
    for (int program : programs)
        chosen.push_back({0, program});
    SfBankWriter bank;
    bank.bankName = "Quorvane Instruments";
    bank.info.push_back({"ICMT", "Ten presets of the FluidR3_GM SoundFont (MIT license), renumbered."});
    std::vector<std::string> madeRepairs;
    if (!SfBankSubset::make(source, chosen, bank, madeRepairs, reason))
        return false;
    std::vector<unsigned char> made;
    bank.write(made);

    SfMemoryStream stream(made.data(), made.size());
    std::unique_ptr<SfSynthesizer> loaded = SfSynthesizer::load(stream.stream(), reason);
    if (!loaded)
        return false;
    bool inOrder = loaded->presetCount == presetCount;
    for (int i = 0; inOrder && i < presetCount; ++i) {
        const SfPreset& preset = loaded->presets[i];
        inOrder = preset.bankNumber == 0 && preset.presetNumber == i &&
                  std::strncmp(preset.name, bank.presets[i].name.c_str(), SfBankFile::nameLength) == 0;
    }
    if (!inOrder) {
        reason = BcString("The bank made does not load as the ten presets in order.");
        return false;
    }
    bytes = std::move(made);
    repairs.insert(repairs.end(), madeRepairs.begin(), madeRepairs.end());
    return true;
}
