#include "app/UiCommandStates.h"
#include "app/UiStatusPanes.h"
#include "app/UiTexts.h"
#include "app/UiToolBar.h"
#include "tests/common/EdFakeContext.h"
#include "tests/editing/EdTestScores.h"

#include "commands/EdCommandTable.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <benchmark/benchmark.h>

#include <set>
#include <vector>

namespace {

// A document of 2 staves x 1250 measures with a few dozen chords selected
// and the cursor in the last measure, as a large score being edited.
struct EditedScore
{
    EditedScore()
    {
        document.OnNewDocument();
        score = makeScore(2, 1250, 5);
        document.addWork(score);
        context.activate(&document);
        MnStaff* staff = score->staff(0);
        for (int m = 600; m < 640; ++m)
            context.view.selection().add(staff->measure(m)->voiceChords(0)[0]);
        context.view.cursor().staffSelection().add(staff);
        context.view.cursor().setVoice(0);
        context.view.cursor().setPosition(staff->measure(1249)->startTime() + 10, 0, false);
    }
    ~EditedScore()
    {
        context.view.selection().clear();
        context.view.cursor().staffSelection().clear();
    }

    EdFakeContext context;
    QuorvaneDocument document;
    MnScore* score = nullptr;
};

// Every id a menu or the toolbar asks about.
std::vector<unsigned> askedIds()
{
    std::set<unsigned> ids;
    for (unsigned menu : {128u, 130u})
        for (const UiMenuItem* item = UiTexts::menu(menu); item->kind != UiMenuItem::menuEnd; ++item)
            if (item->id)
                ids.insert(item->id);
    for (unsigned id : UiToolBar::buttons)
        if (id)
            ids.insert(id);
    return std::vector<unsigned>(ids.begin(), ids.end());
}

// One idle update: the inputs gathered once, then the state of every item.
void commandStatesOfOneUpdate(benchmark::State& state)
{
    EditedScore edited;
    UiCommandStates::addRows();
    std::vector<unsigned> ids = askedIds();
    for (auto _ : state) {
        UiCommandStates::invalidate();
        int enabled = 0;
        for (unsigned id : ids)
            enabled += UiCommandStates::state(nullptr, id).enabled;
        benchmark::DoNotOptimize(enabled);
    }
    state.counters["items"] = double(ids.size());
}
BENCHMARK(commandStatesOfOneUpdate)->Unit(benchmark::kMicrosecond);

// The texts and highlights of the eleven status panes.
void statusTexts(benchmark::State& state)
{
    EditedScore edited;
    UiStatusPanes::Inputs inputs;
    inputs.commands = EdCommandTable::gather();
    inputs.midiDeviceName = L"Keystation 49";
    inputs.savedVolume = 49151;
    UiStatusPanes::State states[UiStatusPanes::paneCount];
    for (auto _ : state) {
        inputs.cursorText = UiStatusPanes::cursorText(&edited.document, &edited.context.view);
        UiStatusPanes::states(inputs, states);
        benchmark::DoNotOptimize(states[UiStatusPanes::cursor].text.size());
    }
}
BENCHMARK(statusTexts)->Unit(benchmark::kMicrosecond);

}
