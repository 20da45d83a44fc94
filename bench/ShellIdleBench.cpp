#include "app/AutoSave.h"
#include "app/UiIdleWork.h"
#include "tests/common/EdFakeContext.h"
#include "tests/editing/EdTestScores.h"

#include "editing/QuorvaneDocument.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// One document of 50,000 notes, backed up into a scratch folder.
class OneDocument : public AutoSave::Workspace
{
public:
    OneDocument()
    {
        char pattern[] = "/tmp/qrv-bench-autosave-XXXXXX";
        root = ::mkdtemp(pattern);
        document.OnNewDocument();
        document.addWork(makeScore(2, 1250, 5));
        document.setTitle(BcString("New 1"));
    }
    ~OneDocument() override { std::filesystem::remove_all(root); }

    void documents(std::vector<QuorvaneDocument*>& out) override { out.assign(1, &document); }
    void keepCamera(QuorvaneDocument*) override {}
    QuorvaneDocument* activeDocument() override { return &document; }
    QuorvaneDocument* openFile(const BcString&) override { return nullptr; }
    QuorvaneDocument* newDocument() override { return nullptr; }
    void closeDocument(QuorvaneDocument*) override {}
    void setTitle(QuorvaneDocument*, const BcString&) override {}
    void restored(QuorvaneDocument*) override {}

    std::string root;
    QuorvaneDocument document;
};

void autoSavePass(benchmark::State& state, bool changed)
{
    EdFakeContext context;
    OneDocument workspace;
    AutoSave autoSave(workspace);
    autoSave.recover(workspace.root + "/AutoSave");
    workspace.document.SetModifiedFlag(true);
    context.clock += 60001;
    autoSave.saveBackups(1);
    for (auto _ : state) {
        state.PauseTiming();
        if (changed)
            workspace.document.SetModifiedFlag(true);
        context.clock += 60001;
        state.ResumeTiming();
        autoSave.saveBackups(1);
    }
}

}

// A pass that writes the backup of a changed document of 50,000 notes and
// the index.
static void BM_AutoSavePassChanged(benchmark::State& state)
{
    autoSavePass(state, true);
}
BENCHMARK(BM_AutoSavePassChanged)->Unit(benchmark::kMillisecond);

// The same document unchanged since the last pass: only the index.
static void BM_AutoSavePassUnchanged(benchmark::State& state)
{
    autoSavePass(state, false);
}
BENCHMARK(BM_AutoSavePassUnchanged)->Unit(benchmark::kMicrosecond);

namespace {

class SilentHost : public UiIdleWork::Host
{
public:
    bool mainWindowExists() override { return true; }
    bool playerIsPlaying() override { return true; }
    bool playerIsPaused() override { return false; }
    void refreshPanels() override {}
    void autoSavePass() override {}
    void hotPlug() override {}
    void updatePickUp() override {}
};

}

// An idle call while playback is tracked and the position has not moved
// since the last redraw: the player is polled, nothing is drawn.
static void BM_TrackedIdleWithoutRedraw(benchmark::State& state)
{
    EdFakeContext context;
    QuorvaneDocument document;
    document.OnNewDocument();
    MnScore* score = makeScore(2, 1250, 5);
    document.addWork(score);
    context.activate(&document);
    context.playing = true;
    context.playedDocument = &document;
    context.playerReports = EdNotePath(score->staff(0)->measure(600), document.works());
    SilentHost host;
    UiIdleWork work(host);
    work.run(false, true);
    work.run(false, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(work.run(false, true));
    if (context.view.redraws > 1)
        state.SkipWithError("tracking redrew");
}
BENCHMARK(BM_TrackedIdleWithoutRedraw)->Unit(benchmark::kMicrosecond);
