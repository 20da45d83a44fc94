#include "render/ReBitmap.h"

#include "editing/QuorvaneDocument.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "render/ReExportSheets.h"
#include "platform/PlOffscreenContext.h"
#include "render/ReGLHost.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/render/DrawnShapes.h"
#include "tests/render/GLTestFrame.h"

#include "tests/render/ExportTestSheets.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

static std::string outputPath(const std::string& name)
{
    return std::string(QRV_TEST_OUTPUT_DIR) + "/" + name;
}

static bool exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// A PNG read back as RGBA, with whether the file kept an alpha channel.
struct PngImage {
    bool read = false;
    bool hasAlpha = false;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;

    explicit PngImage(const std::string& path)
    {
        png_image image = {};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, path.c_str()))
            return;
        hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
        width = int(image.width);
        height = int(image.height);
        image.format = PNG_FORMAT_RGBA;
        rgba.resize(PNG_IMAGE_SIZE(image));
        read = png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) != 0;
    }
    // Column x, row y from the top.
    const unsigned char* pixel(int x, int y) const { return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4; }
};

TEST(ReBitmap, pageFileNamesCountOverAllPages)
{
    struct Row {
        const char* path;
        int number, total;
        const char* expected;
    };
    const Row rows[] = {
        {"/out/song.png", 0, 1, "/out/song.png"},
        {"/out/song.png", 0, 2, "/out/song 0.png"},
        {"/out/song.png", 1, 2, "/out/song 1.png"},
        {"/out/song.png", 7, 12, "/out/song 07.png"},
        {"/out/song.png", 0, 11, "/out/song 00.png"},
        {"/out/song.png", 10, 11, "/out/song 10.png"},
        {"/out/song.png", 0, 101, "/out/song 000.png"},
        {"/out/song.png", 100, 101, "/out/song 100.png"},
        {"/out/song", 3, 5, "/out/song 3"},
        {"/out.d/song", 1, 2, "/out.d/song 1"},
        {"/out/a.b.png", 1, 2, "/out/a.b 1.png"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ReBitmap::pageFileName(BcString(row.path), row.number, row.total), BcString(row.expected))
            << row.path << " " << row.number << "/" << row.total;
}

// A document of three sheets of different paper: 100 x 50, 60 x 80 and
// 40 x 40 millimetres, each one page.
struct ThreeSheets {
    QuorvaneDocument document;
    MnSheetMusic* sheets[3];
    ThreeSheets()
    {
        const int sizes[3][2] = {{100, 50}, {60, 80}, {40, 40}};
        for (int i = 0; i < 3; ++i)
            sheets[i] = addSheet(document, sizes[i][0], sizes[i][1]);
    }
};

TEST(ReBitmap, writesTheSelectedSheetsInSelectionOrder)
{
    ThreeSheets three;
    three.sheets[0]->setPaperColor(0x0000FF);  // red paper
    three.sheets[2]->setPaperColor(0xFF0000);  // blue paper
    ReBitmap bitmap;
    bitmap.add(three.sheets[2]);
    bitmap.add(three.sheets[0]);
    std::string path = outputPath("ReBitmap-selection.png");
    ASSERT_TRUE(bitmap.exportImages(BcString(path.c_str()), &three.document, false, 2));

    struct Expected {
        const char* name;
        int width, height;
        int red, blue;
    };
    const Expected pages[] = {{"ReBitmap-selection 0.png", 80, 80, 0, 255}, {"ReBitmap-selection 1.png", 200, 100, 255, 0}};
    for (const Expected& page : pages) {
        PngImage image(outputPath(page.name));
        ASSERT_TRUE(image.read) << page.name;
        EXPECT_FALSE(image.hasAlpha);
        EXPECT_EQ(image.width, page.width) << page.name;
        EXPECT_EQ(image.height, page.height) << page.name;
        for (int y : {0, image.height / 2, image.height - 1}) {
            for (int x : {0, image.width / 3, image.width - 1}) {
                const unsigned char* p = image.pixel(x, y);
                EXPECT_EQ(p[0], page.red);
                EXPECT_EQ(p[2], page.blue);
                EXPECT_EQ(p[3], 255);
            }
        }
    }
    EXPECT_FALSE(exists(outputPath("ReBitmap-selection 2.png")));
}

TEST(ReBitmap, withoutSelectionEverySheetOfTheDocumentIsWritten)
{
    ThreeSheets three;
    ReBitmap bitmap;
    std::string path = outputPath("ReBitmap-all.png");
    ASSERT_TRUE(bitmap.exportImages(BcString(path.c_str()), &three.document, false, 1));
    const int widths[3] = {100, 60, 40};
    for (int i = 0; i < 3; ++i) {
        PngImage image(outputPath("ReBitmap-all " + std::to_string(i) + ".png"));
        ASSERT_TRUE(image.read);
        EXPECT_EQ(image.width, widths[i]);
    }
    QuorvaneDocument empty;
    EXPECT_FALSE(bitmap.exportImages(BcString(path.c_str()), &empty, false, 1)) << "no sheet";
}

// Draws, in each band of each page, what a test gives it in place of the
// music that the composers draw there.
class BitmapDrawing : public ReBitmap
{
public:
    explicit BitmapDrawing(std::function<void(ReRenderer&, double cx, double cy)> draw) : draw(std::move(draw)) {}
    bool begin(QuorvaneDocument* document, double cx, double cy, double pixelWidth, double pixelHeight) override
    {
        if (!ReBitmap::begin(document, cx, cy, pixelWidth, pixelHeight))
            return false;
        setColor(0, 0, 0, 255);
        draw(*this, cx, cy);
        return true;
    }

private:
    std::function<void(ReRenderer&, double, double)> draw;
};

TEST(ReBitmap, transparentPagesKeepAlphaZeroAroundTheMusic)
{
    QuorvaneDocument document;
    addSheet(document, 40, 30)->setPaperColor(0x01FFFFFF);  // textured paper is not drawn either
    // A black square in the middle of the page.
    BitmapDrawing bitmap([](ReRenderer& r, double cx, double cy) {
        r.fillQuad(cx - 5, cy + 5, cx - 5, cy - 5, cx + 5, cy - 5, cx + 5, cy + 5);
    });
    std::string path = outputPath("ReBitmap-transparent.png");
    ASSERT_TRUE(bitmap.exportImages(BcString(path.c_str()), &document, true, 4));
    PngImage image(path);
    ASSERT_TRUE(image.read);
    EXPECT_TRUE(image.hasAlpha);
    ASSERT_EQ(image.width, 160);
    ASSERT_EQ(image.height, 120);
    EXPECT_EQ(image.pixel(0, 0)[3], 0);
    EXPECT_EQ(image.pixel(159, 119)[3], 0);
    EXPECT_EQ(image.pixel(40, 60)[3], 0);
    const unsigned char* music = image.pixel(80, 60);
    EXPECT_EQ(music[3], 255);
    EXPECT_EQ(music[0], 0);
    // The square's edge, 5 units = 20 pixels from the middle, is averaged
    // from twice the resolution: no half-covered pixel on a unit boundary.
    EXPECT_EQ(image.pixel(100, 60)[3], 0);
    EXPECT_EQ(image.pixel(99, 60)[3], 255);
}

TEST(ReBitmap, largePageIsDrawnInBandsThatJoinSeamlessly)
{
    QuorvaneDocument document;
    addSheet(document);
    // A bar down the whole page and a slanted line across it.
    BitmapDrawing bitmap([](ReRenderer& r, double, double) {
        r.fillQuad(100, 0, 100, -297, 110, -297, 110, 0);
        r.fillQuad(0, -10, 0, -12, 210, -282, 210, -280);
    });
    std::string path = outputPath("ReBitmap-bands.png");
    // 2100 x 2970 framebuffer pixels: several bands.
    ASSERT_TRUE(bitmap.exportImages(BcString(path.c_str()), &document, false, 5));
    PngImage image(path);
    ASSERT_TRUE(image.read);
    ASSERT_EQ(image.width, 1050);
    ASSERT_EQ(image.height, 1485);
    for (int y = 0; y < image.height; ++y) {
        EXPECT_EQ(image.pixel(525, y)[0], 0) << "bar at row " << y;
        // The slanted line: x = (row / 5 - 11) * 210 / 270 units, with paper
        // ten units to its right.
        double x = (y / 5.0 - 11) * 210 / 270;
        if (x > 2 && x < 190 && (x < 88 || x > 111)) {
            int darkest = 255;
            for (int dx = -8; dx <= 8; ++dx)
                darkest = std::min<int>(darkest, image.pixel(int(x * 5) + dx, y)[0]);
            EXPECT_EQ(darkest, 0) << "line at row " << y;
            EXPECT_EQ(image.pixel(int((x + 10) * 5), y)[0], 255) << "paper at row " << y;
        }
    }
}

TEST(ReBitmap, texturedPaperIsTheTintedGrain)
{
    QuorvaneDocument document;
    addSheet(document, 40, 40)->setPaperColor(0x0100FFFF);  // yellow, textured
    ReBitmap bitmap;
    std::string path = outputPath("ReBitmap-textured.png");
    ASSERT_TRUE(bitmap.exportImages(BcString(path.c_str()), &document, false, 5));
    PngImage image(path);
    ASSERT_TRUE(image.read);
    bool grain = false;
    for (int y = 0; y < image.height; y += 7) {
        for (int x = 0; x < image.width; x += 7) {
            const unsigned char* p = image.pixel(x, y);
            EXPECT_EQ(p[2], 0) << "no blue in yellow paper";
            EXPECT_GT(p[0], 200);
            grain = grain || p[0] != image.pixel(0, 0)[0];
        }
    }
    EXPECT_TRUE(grain);
}

TEST(ReBitmap, pageOverTheTextureLimitIsWrittenAtSingleSize)
{
    QuorvaneDocument document;
    addSheet(document, 50, 50);
    ReBitmap bitmap;
    bitmap.textureLimit = 150;  // 100 pixels fit, 200 do not
    std::string path = outputPath("ReBitmap-limit.png");
    ASSERT_TRUE(bitmap.exportImages(BcString(path.c_str()), &document, false, 2));
    EXPECT_EQ(bitmap.supersample, 1);
    PngImage image(path);
    ASSERT_TRUE(image.read);
    EXPECT_EQ(image.width, 100);

    bitmap.textureLimit = 99;  // not even the single size fits
    std::string refused = outputPath("ReBitmap-refused.png");
    EXPECT_FALSE(bitmap.exportImages(BcString(refused.c_str()), &document, false, 2));
    EXPECT_FALSE(exists(refused));
}

TEST(ReBitmap, bookSheetIsWrittenSpreadOutAndKeepsItsPresentation)
{
    QuorvaneDocument document;
    MnSheetMusic* sheet = addSheet(document, 30, 40);
    sheet->setPresentation(MnSheetMusic::Book);
    sheet->setCurrentPage(2);  // page 0 is not in the current spread
    ReBitmap bitmap;
    std::string path = outputPath("ReBitmap-book.png");
    ASSERT_TRUE(bitmap.exportImages(BcString(path.c_str()), &document, false, 1));
    EXPECT_TRUE(exists(path));
    EXPECT_EQ(sheet->presentation(), int(MnSheetMusic::Book));
    EXPECT_EQ(sheet->currentPage(), 2);
}

TEST(ReBitmap, unwritableFolderAnswersFalse)
{
    QuorvaneDocument document;
    addSheet(document);
    ReBitmap bitmap;
    EXPECT_FALSE(bitmap.exportImages(BcString("/nonexistent-folder/page.png"), &document, false, 0.5));
}

TEST(ReBitmap, theHostCurrentBeforeIsCurrentAfterwards)
{
    GLTestFrame frame;
    ReOpenGL view;
    ASSERT_TRUE(frame.attach(view));
    QuorvaneDocument document;
    addSheet(document);
    {
        ReBitmap bitmap;
        std::string path = outputPath("ReBitmap-host.png");
        ASSERT_TRUE(bitmap.exportImages(BcString(path.c_str()), &document, false, 0.5));
        EXPECT_TRUE(frame.host->isCurrent());
        EXPECT_EQ(ReGLHost::current(), frame.host.get());
    }
    EXPECT_TRUE(frame.begin(view, 0, 0, 100)) << "the view draws on";
}

static ReGLHost* noHost(int, int)
{
    return nullptr;
}

TEST(ReBitmap, withoutAnOffscreenHostNothingIsWritten)
{
    QuorvaneDocument document;
    addSheet(document);
    ReGLHost::installOffscreenFactory(&noHost);
    ReBitmap bitmap;
    std::string path = outputPath("ReBitmap-nohost.png");
    bool written = bitmap.exportImages(BcString(path.c_str()), &document, false, 1);
    ReGLHost::installOffscreenFactory(&ReGLHostOver<PlOffscreenContext>::create);
    EXPECT_FALSE(written);
    EXPECT_FALSE(exists(path));
}

TEST(ReBitmap, pageNamesOfElevenAndOneHundredAndOnePages)
{
    struct Row {
        int pages;
        std::vector<std::string> written, absent;
    };
    const Row rows[] = {
        {11, {" 00", " 01", " 10"}, {"", " 0", " 11"}},
        {101, {" 000", " 050", " 100"}, {"", " 00", " 101"}},
    };
    for (const Row& row : rows) {
        QuorvaneDocument document;
        for (int i = 0; i < row.pages; ++i)
            addSheet(document, 10, 10);
        ReBitmap bitmap;
        const std::string stem = outputPath("ReBitmap-names" + std::to_string(row.pages));
        ASSERT_TRUE(bitmap.exportImages(BcString((stem + ".png").c_str()), &document, false, 1)) << row.pages;
        for (const std::string& suffix : row.written)
            EXPECT_TRUE(exists(stem + suffix + ".png")) << stem + suffix;
        for (const std::string& suffix : row.absent)
            EXPECT_FALSE(exists(stem + suffix + ".png")) << stem + suffix;
    }
}

TEST(ReBitmap, transparentComposedPageIsOpaqueOnlyWhereTheMusicIs)
{
    QuorvaneDocument document;
    MnSheetMusic* sheet = new MnSheetMusic;
    document.addWork(sheet);
    MnNote* note = sheet->score()->staff(0)->measure(0)->setNote(0, 0, 6, 4, MnAccidentalNone, MnTicksQuarter, false);
    ASSERT_NE(note, nullptr);

    // Where the composer puts the head, on the page as exported.
    RecordingRenderer recorder;
    GePoint2d origin;
    {
        ReSpreadOut spreadOut(sheet);
        ASSERT_TRUE(ReExportSheets::pageOrigin(sheet, 0, origin));
        recorder.render(&document, origin.x + 105, origin.y - 148.5, 210, 210, 297, 0, 0);
    }
    GePoint2d head;
    ASSERT_TRUE(markMiddle(recorder, note, &head));

    ReBitmap bitmap;
    const double scale = 3;
    std::string path = outputPath("ReBitmap-transparent-music.png");
    ASSERT_TRUE(bitmap.exportImages(BcString(path.c_str()), &document, true, scale));
    PngImage image(path);
    ASSERT_TRUE(image.read);
    EXPECT_TRUE(image.hasAlpha);
    ASSERT_EQ(image.width, 630);
    ASSERT_EQ(image.height, 891);
    const unsigned char* ink = image.pixel(int((head.x - origin.x) * scale), int(-(head.y - origin.y) * scale));
    EXPECT_EQ(ink[3], 255) << "the notehead";
    EXPECT_LT(ink[0], 30) << "the notehead";
    struct Probe {
        const char* name;
        int x, y;
    };
    const Probe clear[] = {{"top left", 0, 0},
                           {"bottom right", 629, 890},
                           {"left margin by the staff", 10, int(-(head.y - origin.y) * scale)},
                           {"under the music", 315, 700}};
    for (const Probe& probe : clear)
        EXPECT_EQ(image.pixel(probe.x, probe.y)[3], 0) << probe.name;
}
