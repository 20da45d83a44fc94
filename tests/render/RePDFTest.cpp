#include "render/RePDF.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/GeSpline2d.h"
#include "model/MnCache.h"
#include "model/MnCodes.h"
#include "model/MnCredit.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "render/ReExportSheets.h"
#include "render/ReGlyph.h"
#include "render/ReSystem.h"

#include <cstdio>
#include <fstream>
#include "tests/common/RecordingRenderer.h"
#include "tests/render/DrawnShapes.h"
#include "tests/render/ExportTestSheets.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sstream>
#include <string>

static std::string outputPath(const std::string& name)
{
    return std::string(QRV_TEST_OUTPUT_DIR) + "/" + name;
}

// What a command prints on its standard output.
static std::string run(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

static std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The lines of a text.
static std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The value pdfinfo reports for a key, without the padding.
static std::string infoValue(const std::string& path, const std::string& key)
{
    for (const std::string& line : linesOf(run("pdfinfo '" + path + "'"))) {
        if (line.rfind(key + ":", 0) != 0)
            continue;
        size_t start = line.find_first_not_of(' ', key.size() + 1);
        return start == std::string::npos ? std::string() : line.substr(start);
    }
    return std::string();
}

// The page sizes pdfinfo reports, "w x h" in points, in page order.
static std::vector<std::string> pageSizes(const std::string& path)
{
    std::vector<std::string> sizes;
    for (const std::string& line : linesOf(run("pdfinfo -f 1 -l 100 '" + path + "'"))) {
        size_t size = line.find(" size: ");
        size_t points = line.find(" pts");
        if (line.rfind("Page ", 0) != 0 || size == std::string::npos || points == std::string::npos)
            continue;
        size_t start = line.find_first_not_of(' ', size + 7);
        sizes.push_back(line.substr(start, points - start));
    }
    return sizes;
}

// The number in quotes after name= in a line of pdftotext's boxes.
static double attribute(const std::string& line, const std::string& name)
{
    size_t at = line.find(name + "=\"");
    return at == std::string::npos ? -1.0 : std::stod(line.substr(at + name.size() + 2));
}

// The content of a file with its streams uncompressed, for looking into.
static std::string uncompressed(const std::string& path)
{
    std::string plain = path + ".qdf";
    run("qpdf --qdf --object-streams=disable '" + path + "' '" + plain + "'");
    return readFile(plain);
}

static int countOf(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A page of 210 x 297 units whose view box is the page itself, upper left
// at the origin.
static void addA4Page(RePDF& pdf)
{
    ASSERT_TRUE(pdf.addPage(210, 297));
    pdf.setView(105, -148.5, 210, 210, 297);
}

TEST(RePDF, sheetsBecomePagesInOrderWithA4InPointsAndOurProducer)
{
    QuorvaneDocument document;
    MnSheetMusic* a4 = addSheet(document);
    MnSheetMusic* landscape = addSheet(document, 100, 50);

    RePDF pdf;
    std::string path = outputPath("RePDF-order.pdf");
    ASSERT_TRUE(pdf.exportDocument(BcString(path.c_str()), &document));
    EXPECT_EQ(pageSizes(path), (std::vector<std::string>{"595.276 x 841.89", "283.465 x 141.732"}));
    EXPECT_EQ(infoValue(path, "Producer"), "Quorvane");

    // With sheets chosen in the renderer's selection, only those, in order.
    pdf.add(landscape);
    pdf.add(a4);
    ASSERT_TRUE(pdf.exportDocument(BcString(path.c_str()), &document));
    EXPECT_EQ(pageSizes(path), (std::vector<std::string>{"283.465 x 141.732", "595.276 x 841.89"}));

    QuorvaneDocument empty;
    RePDF none;
    EXPECT_FALSE(none.exportDocument(BcString(outputPath("RePDF-none.pdf").c_str()), &empty));
}

TEST(RePDF, manuscriptPageHasTheSheetsDisplayedSize)
{
    MnSheetMusic sheet;
    sheet.setLandscape(true);
    RePDF pdf;
    std::string path = outputPath("RePDF-manuscript.pdf");
    ASSERT_TRUE(pdf.exportSheetPage(BcString(path.c_str()), &sheet, 1, 4));
    EXPECT_EQ(pageSizes(path), (std::vector<std::string>{"841.89 x 595.276"}));
    EXPECT_FALSE(pdf.exportSheetPage(BcString(path.c_str()), nullptr, 1, 4));
}

TEST(RePDF, fileOfEveryKindOfShapePassesTheChecker)
{
    RePDF pdf;
    ASSERT_TRUE(pdf.openDocument());
    addA4Page(pdf);
    pdf.fillQuad(10, -10, 10, -20, 50, -20, 50, -10);
    pdf.pushScale(100, -100, 2);
    pdf.fillMesh(ReGlyph::gClef.vertices, ReGlyph::gClef.vertexCount, ReGlyph::gClef.triangles,
                 ReGlyph::gClef.triangleCount, 100, -100, 1, 1);
    pdf.fillEllipse(110, -100, 1.5, 1, 22.5, 64);
    pdf.popTransform();
    GeSpline2d curve(GePoint2d(20, -150), GePoint2d(40, -130), GePoint2d(80, -130), GePoint2d(100, -150));
    pdf.strokeCurve(&curve, 0.3, 1.5);
    pdf.strokeArc(20, -170, 100, -170, 0.3, 0.3, 1.5);
    pdf.drawText(BcString("Sonata in F"), 20, -40, 28, 4, true);
    addA4Page(pdf);
    pdf.fillMesh(ReGlyph::gClef.vertices, ReGlyph::gClef.vertexCount, ReGlyph::gClef.triangles,
                 ReGlyph::gClef.triangleCount, 50, -50, 2, 2);
    std::string path = outputPath("RePDF-shapes.pdf");
    ASSERT_TRUE(pdf.saveDocument(BcString(path.c_str())));
    std::string check = run("qpdf --check '" + path + "'");
    EXPECT_NE(check.find("No syntax or stream encoding errors found"), std::string::npos) << check;
    EXPECT_EQ(pageSizes(path).size(), 2u);
}

TEST(RePDF, symbolDrawnFiveHundredTimesIsOutlinedOnce)
{
    RePDF pdf;
    ASSERT_TRUE(pdf.openDocument());
    addA4Page(pdf);
    const ReGlyph& sharp = ReGlyph::sharp;
    for (int i = 0; i < 500; ++i)
        pdf.fillMesh(sharp.vertices, sharp.vertexCount, sharp.triangles, sharp.triangleCount, 10 + (i % 25) * 7,
                     -10 - (i / 25) * 12, 1, i % 2 ? 1 : -1);
    for (int i = 0; i < 40; ++i)
        pdf.fillEllipse(20 + i * 4, -280, 1.5, 1, 22.5, 64);
    EXPECT_EQ(pdf.meshOutlineCount(), 1);
    EXPECT_EQ(pdf.formCount(), 2);
    std::string path = outputPath("RePDF-sharps.pdf");
    ASSERT_TRUE(pdf.saveDocument(BcString(path.c_str())));
    std::string content = uncompressed(path);
    EXPECT_EQ(countOf(content, "/Subtype /Form"), 2);
    EXPECT_EQ(countOf(content, " Do"), 540);
}

// A page rasterised by pdftoppm, its grey levels looked up at points in
// units from the page's upper left.
struct RenderedPage {
    int width = 0, height = 0;
    double pixelsPerUnit = 0;
    std::vector<unsigned char> grey;

    RenderedPage(const std::string& pdf, int dpi)
    {
        std::string stem = pdf + "-" + std::to_string(dpi);
        run("pdftoppm -r " + std::to_string(dpi) + " -gray -singlefile -png '" + pdf + "' '" + stem + "'");
        png_image image = {};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, (stem + ".png").c_str()))
            return;
        image.format = PNG_FORMAT_GRAY;
        grey.resize(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, grey.data(), 0, nullptr))
            return;
        width = int(image.width);
        height = int(image.height);
        pixelsPerUnit = dpi / 25.4;
    }
    int at(double x, double y) const
    {
        int column = int(x * pixelsPerUnit);
        int row = int(-y * pixelsPerUnit);
        if (column < 0 || row < 0 || column >= width || row >= height)
            return 255;
        return grey[size_t(row) * size_t(width) + size_t(column)];
    }
};

TEST(RePDF, holeOfAHalfNoteStaysWhiteAlsoMirrored)
{
    RePDF pdf;
    ASSERT_TRUE(pdf.openDocument());
    addA4Page(pdf);
    const ReGlyph& head = ReGlyph::halfNotehead;
    // Ten times the size of a head on a staff, as drawn and mirrored.
    pdf.fillMesh(head.vertices, head.vertexCount, head.triangles, head.triangleCount, 50, -50, 13, 11);
    pdf.fillMesh(head.vertices, head.vertexCount, head.triangles, head.triangleCount, 120, -50, -13, -11);
    pdf.pushScale(0, 0, 0.5);
    pdf.fillMesh(head.vertices, head.vertexCount, head.triangles, head.triangleCount, 100, -240, 13, -11);
    pdf.popTransform();
    // As the composer draws a half note, in a score scaled by 10.
    pdf.pushScale(150, -120, 10);
    ReSystem(&pdf).drawNote(150, -120, MnTicksHalf, false, 0, 0, MnAccidentalNone, 0);
    pdf.popTransform();
    std::string path = outputPath("RePDF-halfnotes.pdf");
    ASSERT_TRUE(pdf.saveDocument(BcString(path.c_str())));
    RenderedPage page(path, 100);
    ASSERT_GT(page.width, 0);
    const double centres[4][2] = {{50, -50}, {120, -50}, {50, -120}, {150, -120}};
    for (const auto& c : centres) {
        EXPECT_GT(page.at(c[0], c[1]), 200) << "hole at " << c[0];
        // The ring around it: somewhere on the line through the centre.
        int darkest = 255;
        for (double dx = -14; dx <= 14; dx += 0.25)
            darkest = std::min(darkest, page.at(c[0] + dx, c[1]));
        EXPECT_LT(darkest, 50) << "ring at " << c[0];
        EXPECT_GT(page.at(c[0] + 20, c[1]), 200) << "outside at " << c[0];
    }
}

TEST(RePDF, fontNumbersChooseTheBase14Fonts)
{
    struct Row {
        int font;
        const char* name;
    };
    const Row rows[] = {{0, "Times-Roman"}, {3, "Times-BoldItalic"}, {6, "Helvetica-Oblique"},
                        {7, "Helvetica-BoldOblique"}, {11, "Courier-BoldOblique"}, {12, "Times-Roman"},
                        {-1, "Times-Roman"}};
    for (const Row& row : rows)
        EXPECT_STREQ(RePDF::fontName(row.font), row.name) << row.font;

    RePDF pdf;
    ASSERT_TRUE(pdf.openDocument());
    addA4Page(pdf);
    pdf.drawText(BcString("Presto"), 20, -20, 12, 7, false);
    pdf.drawText(BcString("Lento"), 20, -40, 12, 12, false);
    std::string path = outputPath("RePDF-fonts.pdf");
    ASSERT_TRUE(pdf.saveDocument(BcString(path.c_str())));
    std::string fonts = run("pdffonts '" + path + "'");
    EXPECT_NE(fonts.find("Helvetica-BoldOblique"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("Times-Roman"), std::string::npos) << fonts;
    EXPECT_EQ(countOf(fonts, "Type 1"), 2) << fonts;
}

TEST(RePDF, textOfSize28HasATenMillimetreEm)
{
    RePDF pdf;
    ASSERT_TRUE(pdf.openDocument());
    addA4Page(pdf);
    pdf.drawText(BcString("Adagio"), 20, -20, 28, 0, false);
    std::string path = outputPath("RePDF-size.pdf");
    ASSERT_TRUE(pdf.saveDocument(BcString(path.c_str())));
    std::string content = uncompressed(path);
    size_t operatorAt = content.find(" Tf");
    ASSERT_NE(operatorAt, std::string::npos) << content;
    size_t numberAt = content.rfind(' ', operatorAt - 1);
    EXPECT_NEAR(std::stod(content.substr(numberAt + 1, operatorAt - numberAt - 1)), 10.0, 1e-4);
    // The page's units are millimetres.
    EXPECT_NE(content.find("2.83465 0 0 2.83465 0 0 cm"), std::string::npos);
}

TEST(RePDF, underlineUnderAScaleIsAsLongAsTheText)
{
    RePDF pdf;
    ASSERT_TRUE(pdf.openDocument());
    addA4Page(pdf);
    pdf.pushScale(0, 0, 0.5);
    pdf.drawText(BcString("Andante"), 40, -80, 40, 0, true);
    pdf.popTransform();
    std::string path = outputPath("RePDF-underline.pdf");
    ASSERT_TRUE(pdf.saveDocument(BcString(path.c_str())));

    // The word's box from the font's widths, in points.
    double textStart = -1, textEnd = -1;
    for (const std::string& line : linesOf(run("pdftotext -bbox '" + path + "' -"))) {
        if (line.find(">Andante<") == std::string::npos)
            continue;
        textStart = attribute(line, "xMin") * 25.4 / 72;
        textEnd = attribute(line, "xMax") * 25.4 / 72;
    }
    ASSERT_GT(textEnd, textStart);

    // The underline's run of dark pixels, just below the baseline at y -40.
    RenderedPage page(path, 600);
    ASSERT_GT(page.width, 0);
    double start = 0, end = 0;
    for (double y = -40.2; y > -42 && end == 0; y -= 0.02) {
        if (page.at(21, y) > 100)
            continue;
        for (start = 21; page.at(start - 0.02, y) < 100; start -= 0.02) {
        }
        for (end = 21; page.at(end + 0.02, y) < 100; end += 0.02) {
        }
    }
    EXPECT_NEAR(start, 20, 0.1);
    EXPECT_NEAR(start, textStart, 0.1);
    EXPECT_NEAR(end, textEnd, 0.1);
}

TEST(RePDF, textGoesThroughWindows1252)
{
    RePDF pdf;
    ASSERT_TRUE(pdf.openDocument());
    addA4Page(pdf);
    pdf.drawText(BcString(u"Preis 5\u20AC f\u00FCr \u03A9"), 20, -20, 12, 0, false);
    std::string path = outputPath("RePDF-encoding.pdf");
    ASSERT_TRUE(pdf.saveDocument(BcString(path.c_str())));
    std::string text = run("pdftotext '" + path + "' -");
    EXPECT_NE(text.find("Preis 5\u20AC f\u00FCr ?"), std::string::npos) << text;
}

TEST(RePDF, failedExportLeavesTheOldFile)
{
    QuorvaneDocument document;
    MnSheetMusic* sheet = addSheet(document);
    RePDF pdf;
    EXPECT_FALSE(pdf.exportDocument(BcString("/nonexistent-folder/score.pdf"), &document));

    std::string path = outputPath("RePDF-old.pdf");
    {
        std::ofstream old(path, std::ios::binary);
        old << "the old file";
    }
    // A page the library refuses (over 14400 points wide).
    sheet->setPaperSize(6000, 300);
    EXPECT_FALSE(pdf.exportDocument(BcString(path.c_str()), &document));
    EXPECT_EQ(readFile(path), "the old file");
}

// A sheet with a title of its own and measures added until it fills the
// pages.
static MnSheetMusic* addTitledSheet(QuorvaneDocument& document, const char* title, int pages)
{
    MnSheetMusic* sheet = new MnSheetMusic;
    document.addWork(sheet);
    sheet->credit(0)->setText(BcString(title));
    for (int i = 0; i < 1000; ++i) {
        MnCache scope;
        if (sheet->pageCount() >= pages)
            break;
        sheet->score()->insertMeasure(-1);
    }
    return sheet;
}

TEST(RePDF, composedSheetsOfThreePagesAndOnePageMakeOneFileOfFourPagesInOrder)
{
    QuorvaneDocument document;
    MnSheetMusic* three = addTitledSheet(document, "Alpha", 3);
    MnSheetMusic* one = addTitledSheet(document, "Omega", 1);
    // Sheets lie apart in a document, or their pages would overlap.
    one->moveTo(GePoint2d(0.0, -2000.0));
    {
        MnCache scope;
        ASSERT_EQ(three->pageCount(), 3);
        ASSERT_EQ(one->pageCount(), 1);
    }
    RePDF pdf;
    std::string path = outputPath("RePDF-four-pages.pdf");
    ASSERT_TRUE(pdf.exportDocument(BcString(path.c_str()), &document));
    EXPECT_EQ(infoValue(path, "Pages"), "4");
    EXPECT_EQ(infoValue(path, "Producer"), "Quorvane");
    EXPECT_EQ(pageSizes(path), std::vector<std::string>(4, "595.276 x 841.89"));
    EXPECT_NE(run("qpdf --check '" + path + "'; echo status $?").find("status 0"), std::string::npos);
    // Each title on the first page of its sheet, page numbers on the others.
    struct Page {
        int number;
        const char* text;
        bool present;
    };
    const Page pages[] = {{1, "Alpha", true}, {2, "Alpha", false}, {3, "3", true},
                          {4, "Omega", true}, {4, "Alpha", false}};
    for (const Page& page : pages) {
        const std::string n = std::to_string(page.number);
        const std::string text = run("pdftotext -f " + n + " -l " + n + " '" + path + "' -");
        EXPECT_EQ(text.find(page.text) != std::string::npos, page.present) << "page " << n << ": " << text;
    }
}

TEST(RePDF, holesOfComposedHalfNotesStayWhite)
{
    // Half notes in spaces low and high on the staff, stems up and down,
    // on a composed A4 page at twice the size.
    QuorvaneDocument document;
    MnSheetMusic* sheet = new MnSheetMusic;
    document.addWork(sheet);
    sheet->score()->setScale(2.0);
    MnMeasure* measure = sheet->score()->staff(0)->measure(0);
    std::vector<MnNote*> notes;
    notes.push_back(measure->setNote(0, 0, 3, 4, MnAccidentalNone, MnTicksHalf, false));             // F4
    notes.push_back(measure->setNote(0, MnTicksHalf, 2, 5, MnAccidentalNone, MnTicksHalf, false));  // E5
    ASSERT_TRUE(notes[0] && notes[1]);

    // Where the composer puts the heads, on the page as exported.
    RecordingRenderer recorder;
    GePoint2d origin;
    {
        ReSpreadOut spreadOut(sheet);
        ASSERT_TRUE(ReExportSheets::pageOrigin(sheet, 0, origin));
        recorder.render(&document, origin.x + 105, origin.y - 148.5, 210, 210, 297, 0, 0);
    }
    std::string path = outputPath("RePDF-composed-halfnotes.pdf");
    RePDF pdf;
    ASSERT_TRUE(pdf.exportDocument(BcString(path.c_str()), &document));
    RenderedPage page(path, 300);
    ASSERT_GT(page.width, 0);
    for (MnNote* note : notes) {
        GePoint2d centre;
        ASSERT_TRUE(markMiddle(recorder, note, &centre));
        const double x = centre.x - origin.x;
        const double y = centre.y - origin.y;
        EXPECT_GT(page.at(x, y), 200) << "hole of the head at " << x << ", " << y;
        int darkest = 255;
        for (double dx = -3; dx <= 3; dx += 0.05)
            darkest = std::min(darkest, page.at(x + dx, y));
        EXPECT_LT(darkest, 60) << "rim of the head at " << x << ", " << y;
    }
}
