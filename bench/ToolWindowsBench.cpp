#include "BenchScores.h"

#include "app/Ui3dPrintScene.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "playback/MpUnfolder.h"
#include "render/ReGLHost.h"
#include "render/ReParallax.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>

// The tool windows' frames. Goals: a parallax frame over 1,000 unfolded
// measures under 30 ms; the 3-D mesh of a dense A4 page built under 300 ms
// and drawn under 100 ms.

static void BM_ParallaxFrame(benchmark::State& state)
{
    std::unique_ptr<MnSheetMusic> sheet = makeBenchSheet(4, 1000);
    MpUnfolder unfolder;
    std::unique_ptr<MnScore> score(unfolder.unfold(sheet->score()));
    score->setScale(1.0);
    for (int i = 0; i < score->staffCount(); ++i)
        score->part(i)->setScale(1.0);
    const int width = 1280, height = 720;
    std::unique_ptr<ReGLHost> host(ReGLHost::newOffscreen(width, height));
    ReParallax parallax;
    if (!host || !parallax.createContext(host.get())) {
        state.SkipWithError("no offscreen context");
        return;
    }
    // The window holds one cache scope for its life.
    MnCache scope;
    GePoint2d p = score->position();
    const double viewWidth = (score->height() + 20) * width / height;
    double x = p.x + 2000;
    for (auto _ : state) {
        parallax.render(score.get(), x, p.y - score->height() / 2, viewWidth, width, height);
        glFinish();
        x += 1.0;
    }
    state.counters["measures"] = score->staff(0)->measureCount();
}
BENCHMARK(BM_ParallaxFrame)->Unit(benchmark::kMillisecond);

static void BM_3dMeshBuild(benchmark::State& state)
{
    QuorvaneDocument document;
    document.addWork(makeBenchSheet().release());
    Ui3dPrintScene scene;
    for (auto _ : state)
        scene.buildMesh(&document, nullptr);
    state.counters["points"] = scene.pointCount();
}
BENCHMARK(BM_3dMeshBuild)->Unit(benchmark::kMillisecond);

static void BM_3dMeshDraw(benchmark::State& state)
{
    QuorvaneDocument document;
    document.addWork(makeBenchSheet().release());
    Ui3dPrintScene scene;
    scene.buildMesh(&document, nullptr);
    const int width = 1280, height = 720;
    std::unique_ptr<ReGLHost> host(ReGLHost::newOffscreen(width, height));
    if (!host || !host->makeCurrent()) {
        state.SkipWithError("no offscreen context");
        return;
    }
    scene.resetCamera();
    scene.distance = 400;
    for (auto _ : state) {
        scene.draw(width, height);
        glFinish();
    }
    state.counters["points"] = scene.pointCount();
}
BENCHMARK(BM_3dMeshDraw)->Unit(benchmark::kMillisecond);
