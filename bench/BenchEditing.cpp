#include "BenchEditing.h"

#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <memory>

namespace {

class BenchView : public EdView
{
public:
    QuorvaneDocument* document() override { return shown; }
    EdSelection& selection() override { return viewSelection; }
    EdCursor& cursor() override { return viewCursor; }
    bool hasPendingTool() override { return false; }
    bool discardPendingTool() override { return false; }
    bool redraw(bool) override { return true; }
    void camera(GePoint2d&, double&) override {}
    void goTo(MnMeasure*, EdCommand*, bool) override {}
    bool placeElement(MnElement*, const GeMatrix2d&) override { return false; }

    QuorvaneDocument* shown = nullptr;
    EdSelection viewSelection;
    EdCursor viewCursor;
};

class BenchContext : public EdContext
{
public:
    BenchContext() { previous = EdContext::install(this); }
    ~BenchContext() override { EdContext::install(previous); }
    QuorvaneDocument* activeDocument() override { return view.shown; }
    EdView* activeView() override { return &view; }
    bool runTransposeDialog(TransposeChoice& choice) override
    {
        choice.mode = 0;
        choice.keyEntry = 7 + 2;
        choice.direction = 0;
        return true;
    }

    BenchView view;

private:
    EdContext* previous = nullptr;
};

MnScore* makeQuarterScore(int measures)
{
    MnScore* score = new MnScore();
    for (int s = 1; s < 10; ++s)
        score->insertStaff(-1);
    for (int m = 1; m < measures; ++m)
        score->insertMeasure(-1);
    for (int s = 0; s < score->staffCount(); ++s) {
        for (int m = 0; m < measures; ++m) {
            MnMeasure* measure = score->staff(s)->measure(m);
            for (int q = 0; q < 4; ++q)
                measure->setNote(0, q * 60480, (s + m + q) % 7, 4, 3, 60480, false);
        }
    }
    return score;
}

} // namespace

void runOnEveryNote(benchmark::State& state, void (*command)())
{
    const int measures = int(state.range(0));
    BenchContext context;
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<QuorvaneDocument>();
        document->OnNewDocument();
        MnScore* score = makeQuarterScore(measures);
        document->addWork(score);
        document->clearUndo();
        document->pushUndoSnapshot();
        context.view.shown = document.get();
        EdSelection& selection = context.view.selection();
        for (int s = 0; s < score->staffCount(); ++s) {
            for (int m = 0; m < measures; ++m) {
                const BcArray<MnChord*>& chords = score->staff(s)->measure(m)->voiceChords(0);
                for (int c = 0; c < chords.count(); ++c)
                    selection.add(chords[c]->note(0));
            }
        }
        state.ResumeTiming();

        command();

        state.PauseTiming();
        benchmark::DoNotOptimize(document->snapshotCount());
        context.view.shown = nullptr;
        selection.clear();
        document.reset();
        state.ResumeTiming();
    }
    state.counters["notes"] = 40.0 * measures;
}
