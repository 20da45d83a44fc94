// A SoundFont bank. Once loaded, every preset (the first sixteen) plays a
// low and a high note, which are rendered, released and rendered again: the
// output must stay finite.
#include "FuzzCheck.h"
#include "FuzzEntry.h"

#include "foundation/BcString.h"
#include "playback/SfMemoryStream.h"
#include "playback/SfSynthesizer.h"

#include <algorithm>
#include <cmath>

static bool renderFinite(SfSynthesizer& synthesizer)
{
    static float buffer[2 * 700];
    synthesizer.renderFloat(buffer, 700);
    for (float value : buffer) {
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SfMemoryStream memory(data, size);
    BcString reason;
    std::unique_ptr<SfSynthesizer> synthesizer = SfSynthesizer::load(memory.stream(), reason);
    if (!synthesizer) {
        FUZZ_CHECK(!reason.isEmpty());
        return 0;
    }
    FUZZ_CHECK(synthesizer->presetCount == static_cast<int>(synthesizer->presets.size()));
    int presets = std::min(synthesizer->presetCount, 16);
    for (int preset = 0; preset < presets; ++preset) {
        synthesizer->noteOn(preset, 36, 1.0f);
        synthesizer->noteOn(preset, 96, 0.3f);
    }
    FUZZ_CHECK(renderFinite(*synthesizer));
    synthesizer->noteOffAll();
    FUZZ_CHECK(renderFinite(*synthesizer));
    return 0;
}
