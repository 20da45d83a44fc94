#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "model/MnSheetMusic.h"
#include "model/MnCodes.h"
#include "model/MnTicks.h"
#include "render/ReBitmap.h"
#include "render/ReGlyph.h"
#include "render/RePDF.h"
#include "render/ReSystem.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

// The back ends' share of an export. Until the score composer draws whole
// systems, a page is drawn as a full page of a ten-staff score would be:
// one system of ten staves and five measures, eight chords a measure and
// staff, heads, stems, flags, accidentals, barlines, clefs and lyrics, all
// through the composer's note drawing, at the score scale of a page.
static constexpr int pagesOfTheScore = 111;  // 500 measures of ten staves

static void drawDensePage(ReRenderer& renderer)
{
    ReSystem system(&renderer);
    auto bar = [&](double left, double bottom, double right, double top) {
        renderer.fillQuad(left, top, left, bottom, right, bottom, right, top);
    };
    const double scale = 0.8;
    renderer.pushScale(10, -20, scale);
    static const int durations[] = {MnTicksQuarter, MnTicksEighth, MnTicksHalf, MnTicksSixteenth};
    static const int accidentals[] = {MnAccidentalNone, MnAccidentalSharp, MnAccidentalNone, MnAccidentalFlat,
                                      MnAccidentalNone, MnAccidentalNatural, MnAccidentalNone, MnAccidentalNone};
    const BcString syllables[] = {BcString("Lau"), BcString("da"), BcString("te"), BcString("Do"), BcString("mi")};
    for (int staff = 0; staff < 10; ++staff) {
        double top = -20 - staff * 30.0;
        for (int line = 0; line < 5; ++line)
            bar(10, top - 2 * line - 0.1, 240, top - 2 * line + 0.1);
        renderer.fillMesh(ReGlyph::gClef.vertices, ReGlyph::gClef.vertexCount, ReGlyph::gClef.triangles,
                          ReGlyph::gClef.triangleCount, 13, top - 6, 1, 1);
        for (int measure = 0; measure < 5; ++measure) {
            double left = 25 + measure * 43.0;
            bar(left + 42.8, top - 8, left + 43, top);
            for (int chord = 0; chord < 8; ++chord) {
                int index = staff * 40 + measure * 8 + chord;
                int step = -(index * 5 % 11);
                int duration = durations[index % 4];
                double x = left + 3 + chord * 5.0;
                system.drawNote(x, top + step, duration, index % 7 == 0, 0, 0, accidentals[index % 8], 0);
                if (index % 3 == 0)
                    system.drawNote(x, top + step - 4, duration, false, 0, 0, MnAccidentalNone, 0);
                system.drawStem(x, top, step, step - (index % 3 == 0 ? 4 : 0), step < -4 ? 1 : -1, duration, false,
                                false);
                renderer.drawText(syllables[index % 5], x - 1, top - 14, 9, 0, false);
            }
        }
    }
    renderer.popTransform();
}

static void BM_PdfOfTheWholeScore(benchmark::State& state)
{
    std::string path = "/tmp/qrv-bench-" + std::to_string(::getpid()) + ".pdf";
    for (auto _ : state) {
        RePDF pdf;
        pdf.openDocument();
        for (int page = 0; page < pagesOfTheScore; ++page) {
            pdf.addPage(210, 297);
            pdf.setView(105, -148.5, 210, 210, 297);
            drawDensePage(pdf);
        }
        benchmark::DoNotOptimize(pdf.saveDocument(BcString(path.c_str())));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PdfOfTheWholeScore)->Unit(benchmark::kMillisecond);

// Draws the dense page in each band of the page it exports.
class DenseBitmap : public ReBitmap
{
public:
    bool begin(QuorvaneDocument* document, double cx, double cy, double pixelWidth, double pixelHeight) override
    {
        if (!ReBitmap::begin(document, cx, cy, pixelWidth, pixelHeight))
            return false;
        setColor(0, 0, 0, 255);
        drawDensePage(*this);
        return true;
    }
};

// One A4 page at 300 dots per inch: drawn twice the size, read back,
// averaged, encoded and written.
static void BM_PngPageAt300Dpi(benchmark::State& state)
{
    QuorvaneDocument document;
    document.addWork(new MnSheetMusic);
    std::string path = "/tmp/qrv-bench-" + std::to_string(::getpid()) + ".png";
    for (auto _ : state) {
        DenseBitmap bitmap;
        if (!bitmap.exportImages(BcString(path.c_str()), &document, false, 300 / 25.4)) {
            state.SkipWithError("the page was not written");
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PngPageAt300Dpi)->Unit(benchmark::kMillisecond);
