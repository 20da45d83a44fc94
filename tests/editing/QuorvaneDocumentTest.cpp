#include "EdTestScores.h"
#include "common/EdFakeContext.h"
#include "common/TestFifo.h"
#include "common/TestPrinters.h"

#include "editing/EdCommand.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcMemoryFiler.h"
#include "model/MnCredit.h"
#include "model/MnPart.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using Bytes = std::vector<unsigned char>;

static void putInt(Bytes& out, int value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(static_cast<unsigned int>(value) >> (8 * i)));
}

static void putDouble(Bytes& out, double value)
{
    unsigned char raw[8];
    std::memcpy(raw, &value, 8);  // the build machine is little-endian
    out.insert(out.end(), raw, raw + 8);
}

static void putBytes(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

static Bytes recordOf(const MnElement& element)
{
    BcMemoryFiler filer(5);
    element.write(filer);
    return Bytes(filer.bytes().data(), filer.bytes().data() + filer.bytes().count());
}

// A score file around a works block.
static Bytes fileOf(int version, const Bytes& body, double x = 120.0, double y = -20.0,
                    double zoom = 300.0)
{
    Bytes file = {'Q', 'R', 'V'};
    putInt(file, version);
    putBytes(file, body);
    putDouble(file, x);
    putDouble(file, y);
    putDouble(file, zoom);
    return file;
}

// The start of the works block of a document that holds the work
// information alone: its six empty texts at display position 0, no main
// score; the folded items follow.
static Bytes workInformationAlone()
{
    Bytes body;
    putInt(body, 1);
    putBytes(body, Bytes(12, 0));
    putInt(body, 0);
    putInt(body, -1);
    return body;
}

static Bytes fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

static Bytes worksBlock(const QuorvaneDocument& document)
{
    BcMemoryFiler filer(5);
    document.writeWorks(filer);
    return Bytes(filer.bytes().data(), filer.bytes().data() + filer.bytes().count());
}

static std::string outputPath(const std::string& name)
{
    return std::string(QRV_TEST_OUTPUT_DIR) + "/" + name;
}

static bool open(QuorvaneDocument& document, const Bytes& file, bool silent = false)
{
    return document.loadScoreBytes(file.data(), static_cast<int>(file.size()), silent);
}

class QuorvaneDocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        context.activate(&document);
    }

    MnWork* work() const { return static_cast<MnWork*>(document.works()[0]); }

    EdFakeContext context;
    QuorvaneDocument document;
};

TEST_F(QuorvaneDocumentTest, ANewDocumentHoldsTheWorkInformationAndOneSnapshot)
{
    ASSERT_EQ(document.works().count(), 1);
    EXPECT_TRUE(document.works()[0]->isKindOf(MnWork::staticClass()));
    ASSERT_EQ(document.displayOrder().count(), 1);
    EXPECT_EQ(document.displayOrder()[0], document.works()[0]);
    EXPECT_EQ(document.mainScoreIndex(), -1);
    EXPECT_EQ(document.snapshotCount(), 1);
    EXPECT_EQ(document.undoIndex(), 0);
    EXPECT_EQ(document.savedIndex(), 0);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.scrollPosition().x, 120.0);
    EXPECT_EQ(document.scrollPosition().y, -20.0);
    EXPECT_EQ(document.zoom(), 300.0);
}

TEST_F(QuorvaneDocumentTest, TheFileOfANewDocument)
{
    BcArray<unsigned char> image;
    ASSERT_TRUE(document.saveScoreBytes(image));
    Bytes expected = {'Q', 'R', 'V', 5, 0, 0, 0};
    putInt(expected, 1);                           // N
    putBytes(expected, Bytes(12, 0));              // the work's six empty texts
    putInt(expected, 0);                           // its display position
    putInt(expected, -1);                          // no main score
    putInt(expected, 0);                           // no folded items
    putDouble(expected, 120.0);
    putDouble(expected, -20.0);
    putDouble(expected, 300.0);
    EXPECT_EQ(Bytes(image.data(), image.data() + image.count()), expected);
}

TEST_F(QuorvaneDocumentTest, ASavedDocumentOpensAsItWas)
{
    work()->title = BcString("Ode");
    MnScore* score = makeScore(2, 3);
    MnSheetMusic* first = new MnSheetMusic;
    MnSheetMusic* second = new MnSheetMusic;
    document.addWork(score);
    document.addWork(first);
    document.addWork(second);
    ASSERT_TRUE(document.bringToFront(score));
    ASSERT_TRUE(document.setMainScoreIndex(3));
    ASSERT_TRUE(document.addCollapsed(score->part(1)));
    ASSERT_TRUE(document.addCollapsed(first));
    context.view.scrollPosition = GePoint2d(12.5, -7.25);
    context.view.zoomValue = 44.0;

    std::string path = outputPath("round-trip.qrv");
    ASSERT_TRUE(document.OnSaveDocument(BcString(path.c_str())));

    QuorvaneDocument reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(BcString(path.c_str())));
    const BcArray<MnElement*>& works = reopened.works();
    ASSERT_EQ(works.count(), 4);
    EXPECT_TRUE(works[1]->isKindOf(MnScore::staticClass()));
    EXPECT_TRUE(works[2]->isKindOf(MnSheetMusic::staticClass()));
    EXPECT_TRUE(works[3]->isKindOf(MnSheetMusic::staticClass()));
    ASSERT_EQ(reopened.displayOrder().count(), 4);
    EXPECT_EQ(reopened.displayOrder()[0], works[0]);
    EXPECT_EQ(reopened.displayOrder()[1], works[2]);
    EXPECT_EQ(reopened.displayOrder()[2], works[3]);
    EXPECT_EQ(reopened.displayOrder()[3], works[1]);
    EXPECT_EQ(reopened.mainScoreIndex(), 3);
    EXPECT_TRUE(reopened.isCollapsed(static_cast<MnScore*>(works[1])->part(1)));
    EXPECT_TRUE(reopened.isCollapsed(works[2]));
    EXPECT_FALSE(reopened.isCollapsed(works[3]));
    EXPECT_EQ(reopened.collapsedItems().count(), 2);
    EXPECT_EQ(reopened.scrollPosition().x, 12.5);
    EXPECT_EQ(reopened.scrollPosition().y, -7.25);
    EXPECT_EQ(reopened.zoom(), 44.0);
    EXPECT_EQ(worksBlock(reopened), worksBlock(document));
    EXPECT_EQ(reopened.snapshotCount(), 1);
    EXPECT_EQ(reopened.savedIndex(), 0);
    EXPECT_FALSE(reopened.IsModified());
    EXPECT_EQ(reopened.title(), BcString("round-trip.qrv"));

    // Bringing a work to the front changes only the display positions.
    Bytes before = fileBytes(path);
    ASSERT_TRUE(document.bringToFront(first));
    ASSERT_TRUE(document.OnSaveDocument(BcString(path.c_str())));
    Bytes after = fileBytes(path);
    ASSERT_EQ(before.size(), after.size());
    int differing = 0;
    for (size_t i = 0; i < before.size(); ++i)
        differing += before[i] != after[i];
    EXPECT_EQ(differing, 3);  // three display positions, each in its low byte
}

TEST_F(QuorvaneDocumentTest, SavingTakesTheCameraOfThisDocumentsView)
{
    context.view.scrollPosition = GePoint2d(1.0, 2.0);
    context.view.zoomValue = 3.0;
    std::string path = outputPath("camera.qrv");
    ASSERT_TRUE(document.OnSaveDocument(BcString(path.c_str())));
    EXPECT_EQ(document.zoom(), 3.0);

    // A view of another document leaves this document's camera alone.
    QuorvaneDocument other;
    context.view.shownDocument = &other;
    context.view.zoomValue = 9.0;
    ASSERT_TRUE(document.OnSaveDocument(BcString(path.c_str())));
    EXPECT_EQ(document.zoom(), 3.0);
}

TEST_F(QuorvaneDocumentTest, AVersion3FileHasNoFoldedItems)
{
    Bytes body = workInformationAlone();
    // What a later version would read as one folded item is not read.
    putInt(body, 1);
    for (int i = 0; i < 8; ++i)
        putInt(body, i == 0 ? 3 : 0);
    EXPECT_FALSE(document.addCollapsed(nullptr));
    ASSERT_TRUE(open(document, fileOf(3, body)));
    EXPECT_EQ(document.works().count(), 1);
    EXPECT_EQ(document.collapsedItems().count(), 0);
}

// Each damaged file is refused, with the newer-version message only where it
// belongs, and the document keeps what it had.
TEST_F(QuorvaneDocumentTest, DamagedFilesAreRefusedAndChangeNothing)
{
    MnScore* score = makeScore(1, 2);
    document.addWork(score);
    Bytes workRecord(12, 0);
    Bytes scoreRecord = recordOf(*score);
    const Bytes keptBlock = worksBlock(document);

    auto block = [&](int count, std::vector<int> positions, int main, int folded, bool withScore) {
        Bytes body;
        putInt(body, count);
        putBytes(body, workRecord);
        putInt(body, positions[0]);
        if (withScore) {
            body.push_back(0);
            putBytes(body, scoreRecord);
            putInt(body, positions[1]);
        }
        putInt(body, main);
        putInt(body, folded);
        return body;
    };
    Bytes good = fileOf(5, block(2, {0, 1}, 1, 0, true));
    ASSERT_TRUE(open(document, good));  // the builder itself is sound
    ASSERT_EQ(worksBlock(document), keptBlock);
    score = static_cast<MnScore*>(document.works()[1]);

    Bytes truncatedBody = good;
    truncatedBody.erase(truncatedBody.begin() + 7 + 20, truncatedBody.end() - 24);
    Bytes shortFile = {'Q', 'R', 'V', 5, 0, 0, 0, 1, 0, 0, 0};
    Bytes wrongMagic = good;
    wrongMagic[2] = 'X';
    Bytes badSheetFlag = fileOf(5, block(2, {0, 1}, 1, 0, true));
    badSheetFlag[7 + 4 + 12 + 4] = 1;  // a score's record read as a sheet music's

    struct Row
    {
        const char* name;
        Bytes file;
        bool messageUnlessSilent;
    };
    const Row rows[] = {
        {"empty file", {}, false},
        {"two bytes", {'Q', 'R'}, false},
        {"wrong magic", wrongMagic, false},
        {"version 6", fileOf(6, block(2, {0, 1}, 1, 0, true)), true},
        {"negative version", fileOf(-1, block(2, {0, 1}, 1, 0, true)), true},
        {"shorter than header and camera", shortFile, false},
        {"truncated body", truncatedBody, false},
        {"no works at all", fileOf(5, block(0, {0}, -1, 0, false)), false},
        {"negative work count", fileOf(5, block(-3, {0}, -1, 0, false)), false},
        {"more works than the body holds", fileOf(5, block(0x7fffffff, {0, 1}, 1, 0, true)), false},
        {"display position past the works", fileOf(5, block(2, {0, 2}, 1, 0, true)), false},
        {"negative display position", fileOf(5, block(2, {0, -1}, 1, 0, true)), false},
        {"two works at one position", fileOf(5, block(2, {0, 0}, 1, 0, true)), false},
        {"work information not first", fileOf(5, block(2, {1, 0}, 1, 0, true)), false},
        {"main score past the works", fileOf(5, block(2, {0, 1}, 2, 0, true)), false},
        {"main score on the work information", fileOf(5, block(2, {0, 1}, 0, 0, true)), false},
        {"main score below -1", fileOf(5, block(2, {0, 1}, -2, 0, true)), false},
        {"negative folded count", fileOf(5, block(2, {0, 1}, 1, -1, true)), false},
        {"more folded items than bytes", fileOf(5, block(2, {0, 1}, 1, 1000, true)), false},
        {"a record of the wrong kind", badSheetFlag, false},
    };
    for (const Row& row : rows) {
        for (bool silent : {false, true}) {
            context.messages.clear();
            EXPECT_FALSE(open(document, row.file, silent)) << row.name;
            std::vector<unsigned int> expected;
            if (row.messageUnlessSilent && !silent)
                expected.push_back(10066);
            EXPECT_EQ(context.messages, expected) << row.name;
            EXPECT_EQ(worksBlock(document), keptBlock) << row.name;
            EXPECT_EQ(document.works()[1], score) << row.name;
        }
    }
}

TEST_F(QuorvaneDocumentTest, AFailedOpenLeavesOtherDocumentsAlone)
{
    QuorvaneDocument other;
    ASSERT_TRUE(other.OnNewDocument());
    other.addWork(makeScore(1, 1));
    const Bytes otherBlock = worksBlock(other);
    context.activate(&other);

    std::string path = outputPath("newer.qrv");
    Bytes newer = fileOf(6, Bytes(20, 0));
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(newer.data()),
                                                static_cast<std::streamsize>(newer.size()));
    QuorvaneDocument opening;
    EXPECT_FALSE(opening.OnOpenDocument(BcString(path.c_str())));
    EXPECT_EQ(opening.works().count(), 0);
    EXPECT_EQ(context.messages, std::vector<unsigned int>({10066}));
    EXPECT_EQ(worksBlock(other), otherBlock);
    EXPECT_EQ(other.snapshotCount(), 1);
    EXPECT_FALSE(other.IsModified());
    EXPECT_FALSE(opening.OnOpenDocument(BcString(outputPath("no-such.qrv").c_str())));
}

TEST_F(QuorvaneDocumentTest, WhatIsNotAScoreFileOfAHoldableSizeIsRefusedAtOnce)
{
    document.addWork(makeScore(1, 2));
    const Bytes kept = worksBlock(document);

    // Sparse files: their sizes are checked, never read. The first is one
    // byte more than an int can count, the second wraps to a small int.
    struct Row
    {
        const char* name;
        long long size;
    };
    const Row rows[] = {
        {"2 GiB", 1LL << 31},
        {"4 GiB and 40 bytes", (1LL << 32) + 40},
    };
    std::string path = outputPath("huge.qrv");
    for (const Row& row : rows) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << "QRV";
        ASSERT_EQ(::truncate(path.c_str(), row.size), 0) << row.name;
        EXPECT_FALSE(document.OnOpenDocument(BcString(path.c_str()))) << row.name;
        EXPECT_EQ(worksBlock(document), kept) << row.name;
    }
    ::unlink(path.c_str());

    EXPECT_FALSE(document.OnOpenDocument(BcString(QRV_TEST_OUTPUT_DIR)));
    TestFifo fifo(outputPath("pipe.qrv"));
    ASSERT_TRUE(fifo.made);
    bool answer = true;
    EXPECT_TRUE(fifo.answersAtOnce([&] { return document.OnOpenDocument(BcString(fifo.path.c_str())); },
                                   answer));
    EXPECT_FALSE(answer);
    EXPECT_EQ(worksBlock(document), kept);
    EXPECT_TRUE(context.messages.empty());
}

// Run under AddressSanitizer, a sheet that outlived the score it shows is a
// read of freed memory.
TEST(QuorvaneDocumentRelease, ASheetShowingAnEarlierSheetsScoreNeverOutlivesIt)
{
    EdFakeContext context;
    struct Row
    {
        const char* name;
        std::function<void(QuorvaneDocument*&)> release;
    };
    const Bytes file = [] {
        QuorvaneDocument saved;
        EXPECT_TRUE(saved.OnNewDocument());
        BcArray<unsigned char> image;
        EXPECT_TRUE(saved.saveScoreBytes(image));
        return Bytes(image.data(), image.data() + image.count());
    }();
    const Row rows[] = {
        {"closing the document", [](QuorvaneDocument*& document) {
             delete document;
             document = nullptr;
         }},
        {"opening a file over it", [&](QuorvaneDocument*& document) { EXPECT_TRUE(open(*document, file)); }},
        {"starting a new document in it", [](QuorvaneDocument*& document) {
             EXPECT_TRUE(document->OnNewDocument());
         }},
    };
    for (const Row& row : rows) {
        QuorvaneDocument* document = new QuorvaneDocument();
        ASSERT_TRUE(document->OnNewDocument());
        MnSheetMusic* owner = new MnSheetMusic();
        MnSheetMusic* viewer = new MnSheetMusic();
        viewer->setScore(owner->score());
        ASSERT_TRUE(document->addWork(owner));
        ASSERT_TRUE(document->addWork(viewer));
        row.release(document);
        if (document)
            EXPECT_EQ(document->works().count(), 1) << row.name;
        delete document;
    }
}

TEST_F(QuorvaneDocumentTest, ADamagedCameraFallsBackToTheDefaults)
{
    Bytes body = workInformationAlone();
    putInt(body, 0);
    ASSERT_TRUE(open(document, fileOf(5, body, 5.0, 6.0, 0.0)));
    EXPECT_EQ(document.scrollPosition().x, 5.0);
    EXPECT_EQ(document.zoom(), 300.0);
    ASSERT_TRUE(open(document, fileOf(5, body, std::nan(""), 6.0, 50.0)));
    EXPECT_EQ(document.scrollPosition().x, 120.0);
    EXPECT_EQ(document.scrollPosition().y, -20.0);
    EXPECT_EQ(document.zoom(), 50.0);
}

TEST_F(QuorvaneDocumentTest, SavingIntoAnUnwritableFolderKeepsTheOldFile)
{
    std::string folder = outputPath("unwritable");
    ::mkdir(folder.c_str(), 0755);
    ::chmod(folder.c_str(), 0755);
    std::string path = folder + "/score.qrv";
    ASSERT_TRUE(document.OnSaveDocument(BcString(path.c_str())));
    const Bytes saved = fileBytes(path);

    document.addWork(makeScore(1, 2));
    document.SetModifiedFlag(true);
    int savedIndex = document.savedIndex();

    // The superuser writes anywhere; it drops to nobody for the attempt.
    bool superuser = ::geteuid() == 0;
    if (superuser)
        ASSERT_EQ(::seteuid(65534), 0);
    else
        ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    bool written = document.OnSaveDocument(BcString(path.c_str()));
    if (superuser)
        ASSERT_EQ(::seteuid(0), 0);
    else
        ::chmod(folder.c_str(), 0755);

    EXPECT_FALSE(written);
    EXPECT_EQ(fileBytes(path), saved);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.savedIndex(), savedIndex);
}

TEST_F(QuorvaneDocumentTest, TheMainScoreFollowsAddingAndRemovingWorks)
{
    MnScore* a = makeScore(1, 1);
    MnScore* b = makeScore(1, 1);
    MnSheetMusic* c = new MnSheetMusic;
    ASSERT_TRUE(document.addWork(a));
    EXPECT_EQ(document.mainScoreIndex(), 1);
    ASSERT_TRUE(document.addWork(b));
    ASSERT_TRUE(document.addWork(c));
    EXPECT_FALSE(document.addWork(b));  // already a work
    ASSERT_TRUE(document.setMainScoreIndex(3));

    ASSERT_TRUE(document.removeWork(a));  // before the main score
    EXPECT_EQ(document.mainScoreIndex(), 2);
    delete a;
    ASSERT_TRUE(document.removeWork(c));  // the main score itself
    EXPECT_EQ(document.mainScoreIndex(), 1);
    delete c;
    EXPECT_FALSE(document.removeWork(document.works()[0]));  // the work information stays
    EXPECT_FALSE(document.removeWork(b->staff(0)));          // not a work
    ASSERT_TRUE(document.removeWork(b));
    delete b;
    EXPECT_EQ(document.mainScoreIndex(), -1);
    EXPECT_EQ(document.works().count(), 1);
    EXPECT_EQ(document.displayOrder().count(), 1);
    EXPECT_FALSE(document.setMainScoreIndex(0));
    EXPECT_FALSE(document.setMainScoreIndex(1));
}

TEST_F(QuorvaneDocumentTest, BringingToFrontMovesTheWorkOfAnElementLast)
{
    MnScore* a = makeScore(1, 2);
    MnScore* b = makeScore(1, 2);
    document.addWork(a);
    document.addWork(b);
    MnChord* chord = a->staff(0)->measure(1)->voiceChords(0)[0];
    EXPECT_TRUE(document.bringToFront(chord));
    EXPECT_EQ(document.displayOrder()[2], a);
    EXPECT_EQ(document.displayOrder()[1], b);
    EXPECT_EQ(document.works()[1], a);  // works order stays
    EXPECT_FALSE(document.bringToFront(chord));
    EXPECT_FALSE(document.bringToFront(document.works()[0]));
    MnScore* stray = makeScore(1, 1);
    EXPECT_FALSE(document.bringToFront(stray->staff(0)));
    delete stray;
}

static GeVector2d labelsTenToTheLeft(const MnScore*)
{
    return GeVector2d(-10.0, 0.0);
}

TEST_F(QuorvaneDocumentTest, WorksExtentsWidenScoresByTheirLabels)
{
    GePoint2d topLeft(1.0, 2.0), bottomRight(3.0, 4.0);
    EXPECT_FALSE(document.worksExtents(topLeft, bottomRight));
    EXPECT_EQ(topLeft.x, 1.0);
    EXPECT_EQ(bottomRight.y, 4.0);

    QuorvaneDocument::PartLabelExtents previous =
        QuorvaneDocument::setPartLabelExtents(&labelsTenToTheLeft);
    MnScore* score = makeScore(2, 2);
    score->moveTo(GePoint2d(100.0, 200.0));
    score->setScale(0.5);
    document.addWork(score);
    double w = score->width();
    double h = score->height();
    ASSERT_TRUE(document.worksExtents(topLeft, bottomRight));
    EXPECT_DOUBLE_EQ(topLeft.x, 95.0);
    EXPECT_DOUBLE_EQ(topLeft.y, 200.0);
    EXPECT_DOUBLE_EQ(bottomRight.x, 95.0 + (w + 10.0) * 0.5);
    EXPECT_DOUBLE_EQ(bottomRight.y, 200.0 - h * 0.5);

    MnSheetMusic* sheet = new MnSheetMusic;
    sheet->moveTo(GePoint2d(-50.0, 300.0));
    document.addWork(sheet);
    ASSERT_TRUE(document.worksExtents(topLeft, bottomRight));
    EXPECT_DOUBLE_EQ(topLeft.x, -50.0);
    EXPECT_DOUBLE_EQ(topLeft.y, 300.0);
    EXPECT_DOUBLE_EQ(bottomRight.x, std::max(95.0 + (w + 10.0) * 0.5, -50.0 + sheet->width()));
    EXPECT_DOUBLE_EQ(bottomRight.y, std::min(200.0 - h * 0.5, 300.0 - sheet->height()));
    QuorvaneDocument::setPartLabelExtents(previous);
}

TEST_F(QuorvaneDocumentTest, WorksExtentsMeasureTheLabelsAsTheyAreLaidOut)
{
    // Without a measure of its own, the document takes the labels' reach
    // from the score's label layout: a named part stands left of the staves.
    MnScore* score = makeScore(1, 1);
    score->moveTo(GePoint2d(100.0, 200.0));
    ASSERT_TRUE(score->part(0)->setName(BcString("Violoncello")));
    document.addWork(score);
    double reach = -score->partsExtents(false).x;
    ASSERT_GT(reach, 0.0);
    GePoint2d topLeft, bottomRight;
    ASSERT_TRUE(document.worksExtents(topLeft, bottomRight));
    EXPECT_DOUBLE_EQ(topLeft.x, 100.0 - reach * score->scale());
}

TEST(QuorvaneDocumentTitle, OneStarExactlyWhileModified)
{
    struct Row
    {
        const char* title;
        bool modified;
        const char* expected;
    };
    const Row rows[] = {
        {"Song", true, "Song*"},   {"Song*", true, "Song*"}, {"Song*", false, "Song"},
        {"Song", false, "Song"},   {"Song**", false, "Song*"}, {"*", false, "*"},
        {"*", true, "**"},         {"", true, "*"},          {"", false, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(QuorvaneDocument::titleForModified(BcString(row.title), row.modified),
                  BcString(row.expected))
            << row.title << " " << row.modified;
    }
    EXPECT_EQ(QuorvaneDocument::titleWithoutStar(BcString("*")), BcString("*"));
    EXPECT_EQ(QuorvaneDocument::titleWithoutStar(BcString("a*")), BcString("a"));
}

TEST_F(QuorvaneDocumentTest, TheModifiedFlagKeepsTheTitleAndStampsTheTime)
{
    document.setTitle(BcString("Song"));
    context.clock = 4242;
    document.SetModifiedFlag(true);
    document.SetModifiedFlag(true);
    EXPECT_EQ(document.title(), BcString("Song*"));
    EXPECT_EQ(document.lastModifiedTick(), 4242u);

    // The close prompt sees the title without its star.
    BcString seen;
    EXPECT_TRUE(document.SaveModified([&] {
        seen = document.title();
        return true;
    }));
    EXPECT_EQ(seen, BcString("Song"));
    EXPECT_EQ(document.title(), BcString("Song*"));
    document.SetModifiedFlag(false);
    EXPECT_EQ(document.title(), BcString("Song"));
}

TEST_F(QuorvaneDocumentTest, SavingANeverSavedDocumentOffersItsDefaultName)
{
    document.setTitle(BcString("Untitled1"));
    MnSheetMusic* sheet = new MnSheetMusic;
    document.addWork(sheet);
    ASSERT_TRUE(sheet->removeChild(sheet->credit(0)));
    sheet->credit(0)->setText(BcString("Serenade"));
    document.SetModifiedFlag(true);

    // Cancelled: the old title comes back.
    BcString offered;
    EXPECT_FALSE(document.OnFileSave([&] {
        offered = document.title();
        return false;
    }));
    EXPECT_EQ(offered, BcString("Serenade"));
    EXPECT_EQ(document.title(), BcString("Untitled1*"));

    // Saved: the file's name is the title, without a star.
    std::string path = outputPath("serenade.qrv");
    EXPECT_TRUE(document.OnFileSaveAs([&] { return document.OnSaveDocument(BcString(path.c_str())); }));
    EXPECT_EQ(document.title(), BcString("serenade.qrv"));
    EXPECT_FALSE(document.IsModified());
}

// Credits never hold an empty text; a sheet without credits offers nothing.
static void removeCredits(MnSheetMusic& sheet)
{
    while (sheet.creditCount() > 0)
        sheet.removeChild(sheet.credit(0));
}

TEST(QuorvaneDocumentName, TheDefaultFileNameTakesTheFirstNonEmptyText)
{
    MnWork work;
    MnScore score;
    MnSheetMusic blank, mainSheet, shown;
    removeCredits(blank);
    removeCredits(mainSheet);
    mainSheet.addCredit(0)->setText(BcString("Main credit"));
    removeCredits(shown);
    shown.addCredit(0)->setText(BcString("Shown credit"));

    BcArray<MnElement*> works;
    for (MnElement* element : std::vector<MnElement*>{&work, &score, &blank, &mainSheet, &shown})
        works.add(element);
    BcArray<MnElement*> display;
    for (MnElement* element : std::vector<MnElement*>{&work, &blank, &score, &shown, &mainSheet})
        display.add(element);

    EXPECT_EQ(QuorvaneDocument::defaultFileNameOf(works, display, 3), BcString("Main credit"));
    EXPECT_EQ(QuorvaneDocument::defaultFileNameOf(works, display, 1), BcString("Shown credit"));
    EXPECT_EQ(QuorvaneDocument::defaultFileNameOf(works, display, -1), BcString("Shown credit"));
    removeCredits(mainSheet);
    EXPECT_EQ(QuorvaneDocument::defaultFileNameOf(works, display, 3), BcString("Shown credit"));
    removeCredits(shown);
    EXPECT_EQ(QuorvaneDocument::defaultFileNameOf(works, display, 3), BcString(""));
    work.title = BcString("Title");
    EXPECT_EQ(QuorvaneDocument::defaultFileNameOf(works, display, 3), BcString("Title"));
}

TEST_F(QuorvaneDocumentTest, FoldedItemsAreBrowserPaths)
{
    MnScore* score = makeScore(3, 1);
    document.addWork(score);
    EXPECT_TRUE(document.addCollapsed(score->part(2)));
    EXPECT_FALSE(document.addCollapsed(score->part(2)));
    EXPECT_FALSE(document.addCollapsed(score->staff(0)));  // no browser item
    EXPECT_FALSE(document.addCollapsed(document.works()[0]));
    EXPECT_TRUE(document.isCollapsed(score->part(2)));
    EXPECT_FALSE(document.isCollapsed(score->part(1)));

    BcArray<MnElement*> items;
    document.browserItems(items, false);
    ASSERT_EQ(items.count(), 4);
    EXPECT_EQ(items[0], score);
    EXPECT_EQ(items[3], score->part(2));
    document.browserItems(items, true);
    ASSERT_EQ(items.count(), 1);
    EXPECT_EQ(items[0], score->part(2));

    EXPECT_FALSE(document.removeCollapsed(score->part(1)));
    EXPECT_TRUE(document.removeCollapsed(score->part(2)));
    EXPECT_EQ(document.collapsedItems().count(), 0);
}
