#include "editing/EdSelection.h"
#include "editing/FretboardTuning.h"
#include "model/MnNote.h"
#include "panels/UiFretboard.h"
#include "panels/UiHeldKeys.h"
#include "panels/UiInstrumentServices.h"
#include "panels/UiPianoKeyboard.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

// What refreshKeys of the piano keyboard and the fretboard recompute on
// every idle pass while playing, with 10,000 notes selected, a few keys
// sounding and held. Goal: both panels under 2 ms.

namespace {

class BenchServices : public UiInstrumentServices
{
public:
    void soundingKeys(unsigned char keys[keyCount]) override
    {
        for (int k = 0; k < keyCount; ++k)
            keys[k] = k % 11 == 0 ? 1 : 0;
    }
    const EdSelection* activeSelection() override { return selection; }
    const EdSelection* selection = nullptr;
};

}  // namespace

static void BM_InstrumentPanelsRefreshKeys(benchmark::State& state)
{
    std::vector<std::unique_ptr<MnNote>> notes;
    EdSelection selection;
    for (int i = 0; i < 10000; ++i) {
        notes.push_back(std::make_unique<MnNote>(nullptr, i % 7, 2 + i % 5, (i % 3) - 1, false));
        selection.add(notes.back().get());
    }
    BenchServices services;
    services.selection = &selection;
    UiInstrumentServices* previous = UiInstrumentServices::install(&services);
    UiHeldKeys::setByComputerKeyboard(39, true);
    UiHeldKeys::setByMidiInput(44, true);
    const FretboardTuning guitar = FretboardTuning::preset(0);
    unsigned char states[UiPianoKeyboard::keyCount];
    std::vector<unsigned char> marks;
    for (auto _ : state) {
        UiPianoKeyboard::computeKeyStates(states);
        UiFretboard::computeMarks(guitar, 0, -1, nullptr, marks);
        benchmark::DoNotOptimize(states);
        benchmark::DoNotOptimize(marks.data());
    }
    UiHeldKeys::clearAll();
    UiInstrumentServices::install(previous);
}
BENCHMARK(BM_InstrumentPanelsRefreshKeys)->Unit(benchmark::kMicrosecond);
