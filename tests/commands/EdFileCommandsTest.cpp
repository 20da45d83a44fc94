#include "EdCommandFixture.h"

#include "commands/EdFileCommands.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// What the commands asked of the readers and writers.
struct Calls
{
    std::vector<std::string> calls;
    BcString path;
    BcArray<MnSheetMusic*> sheets;
    bool transparent = false;
    MnScore* score = nullptr;
    MnWork* work = nullptr;
    MnSheetMusic* sheet = nullptr;
    bool succeed = true;
    BcString error;
    // What a reader adds to the active document before it answers.
    bool addsWork = true;
};

Calls* recorded = nullptr;

bool note(const char* name, const BcString& path)
{
    recorded->calls.push_back(name);
    recorded->path = path;
    return recorded->succeed;
}

bool readInto(const char* name, const BcString& path, BcString& error)
{
    if (recorded->addsWork)
        EdContext::current().activeDocument()->addWork(makeScore(1, 1));
    error = recorded->error;
    return note(name, path);
}

const EdFileCommands::Formats recorders{
    [](const BcString& path, BcString& error) { return readInto("musicxml", path, error); },
    [](const BcString& path, BcString& error) { return readInto("mid", path, error); },
    [](const BcString& path, QuorvaneDocument*, const BcArray<MnSheetMusic*>& sheets) {
        recorded->sheets = sheets;
        return note("pdf", path);
    },
    [](const BcString& path, QuorvaneDocument*, const BcArray<MnSheetMusic*>& sheets, bool transparent) {
        recorded->sheets = sheets;
        recorded->transparent = transparent;
        return note("png", path);
    },
    [](const BcString& path, MnScore* score) {
        recorded->score = score;
        return note("mid", path);
    },
    [](const BcString& path, MnWork* work, MnSheetMusic* sheet) {
        recorded->work = work;
        recorded->sheet = sheet;
        return note("musicxml", path);
    },
};

std::string narrow(const BcString& text)
{
    return text.toNarrow(BcString::utf8CodePage);
}

// A main score, then a sheet music with a score of its own; the commands
// reach the recorders.
class EdFileCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        ASSERT_TRUE(document.addWork(score = makeScore(1, 2)));
        sheet = new MnSheetMusic();
        sheet->setScore(makeScore(1, 2));
        ASSERT_TRUE(document.addWork(sheet));
        restartHistory();
        recorded = &calls;
        EdFileCommands::formats() = recorders;
        context.confirmDialogs = true;
    }

    void TearDown() override
    {
        EdFileCommands::formats() = EdFileCommands::defaultFormats();
        recorded = nullptr;
    }

    void choose(const char16_t* path, int filter)
    {
        context.fileAnswer = BcString(path);
        context.filterAnswer = filter;
        calls.calls.clear();
        context.messageTexts.clear();
    }

    MnScore* score = nullptr;
    MnSheetMusic* sheet = nullptr;
    Calls calls;
};

}

TEST_F(EdFileCommandsTest, filtersNamesAndExtensions)
{
    EXPECT_EQ(narrow(EdFileCommands::importFilter()),
              "MusicXML Files (*.musicxml)|*.musicxml|MIDI Files (*.mid)|*.mid||");
    EXPECT_EQ(narrow(EdFileCommands::exportFilter()),
              "PDF Files (*.pdf)|*.pdf|PNG Files (*.png)|*.png|MIDI Files (*.mid)|*.mid|"
              "MusicXML Files (*.musicxml)|*.musicxml||");

    const std::pair<const char16_t*, const char*> titles[] = {
        {u"Sonata.qrv*", "Sonata"}, {u"A.qrv", "A"}, {u".qrv", ".qrv"}, {u"Étude.QRV", "Étude"},
        {u"Notes*", "Notes"}, {u"a.qrv.pdf", "a.qrv.pdf"},
    };
    for (const auto& [title, expected] : titles)
        EXPECT_EQ(narrow(EdFileCommands::defaultExportName(BcString(title))), expected);

    const BcString filter = EdFileCommands::exportFilter();
    struct Case
    {
        const char16_t* path;
        int filter;
        const char* expected;
    } cases[] = {
        {u"/tmp/Score", 0, "/tmp/Score.pdf"},
        {u"/tmp/Score", 3, "/tmp/Score.musicxml"},
        {u"/tmp/v1.2/Score", 2, "/tmp/v1.2/Score.mid"},
        {u"/tmp/Score.png", 0, "/tmp/Score.png"},
        {u"/tmp/Score", 9, "/tmp/Score"},
        {u"/tmp/", 0, "/tmp/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(narrow(EdFileCommands::withFilterExtension(BcString(c.path), filter, c.filter)), c.expected);
    EXPECT_EQ(narrow(EdFileCommands::extensionOf(BcString(u"/a.b/X.MusicXML"))), "MusicXML");
    EXPECT_EQ(narrow(EdFileCommands::extensionOf(BcString(u"/a.b/X"))), "");
}

TEST_F(EdFileCommandsTest, importDispatchesOnTheExtensionAsOneStep)
{
    struct Case
    {
        const char16_t* path;
        int filter;
        const char* reader;
    } cases[] = {
        {u"/tmp/X.MUSICXML", 1, "musicxml"},
        {u"/tmp/X.mid", 0, "mid"},
        {u"/tmp/X", 1, "mid"},
        {u"/tmp/X.midi", 1, nullptr},
        {u"/tmp/X.xml", 0, nullptr},
    };
    int expectedSteps = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(BcString(c.path)));
        choose(c.path, c.filter);
        EdFileCommands::cmdImport();
        EXPECT_FALSE(context.fileDialogSaves);
        if (c.reader) {
            ASSERT_EQ(calls.calls, std::vector<std::string>{c.reader});
            ++expectedSteps;
        } else {
            EXPECT_TRUE(calls.calls.empty());
        }
        EXPECT_EQ(steps(), expectedSteps);
    }
    EXPECT_TRUE(context.messageTexts.empty());
}

TEST_F(EdFileCommandsTest, failedImportsLeaveTheDocumentAndSayWhy)
{
    const BcArray<unsigned char> before = bytes();
    calls.succeed = false;
    calls.error = BcString(u"Not a partwise MusicXML file");
    choose(u"/tmp/X.musicxml", 0);
    EdFileCommands::cmdImport();
    EXPECT_TRUE(sameBytes(bytes(), before));
    ASSERT_EQ(context.messageTexts.size(), 1u);
    EXPECT_EQ(narrow(context.messageTexts[0]),
              "MusicXML file could not be imported due to the following problem:\n\n- Not a partwise MusicXML file");

    // The MIDI reader adds nothing when it fails; its message names MIDI.
    calls.addsWork = false;
    calls.error = BcString(u"Unable to read the MIDI data");
    choose(u"/tmp/X.mid", 1);
    EdFileCommands::cmdImport();
    EXPECT_TRUE(sameBytes(bytes(), before));
    ASSERT_EQ(context.messageTexts.size(), 1u);
    EXPECT_EQ(narrow(context.messageTexts[0]),
              "MIDI file could not be imported due to the following problem:\n\n- Unable to read the MIDI data");
    EXPECT_EQ(steps(), 0);

    // Cancelled: nothing at all.
    context.confirmDialogs = false;
    choose(u"/tmp/X.mid", 1);
    EdFileCommands::cmdImport();
    EXPECT_TRUE(calls.calls.empty());
    EXPECT_TRUE(context.messageTexts.empty());
}

TEST_F(EdFileCommandsTest, importWithoutADocumentMakesOneFirst)
{
    QuorvaneDocument fresh;
    context.document = nullptr;
    context.makeDocument = [&] {
        if (!fresh.OnNewDocument())
            return false;
        fresh.clearUndo();
        fresh.pushUndoSnapshot();
        context.activate(&fresh);
        return true;
    };
    choose(u"/tmp/X.musicxml", 0);
    EdFileCommands::cmdImport();
    EXPECT_EQ(context.newDocuments, 1);
    EXPECT_EQ(fresh.works().count(), 2);
    EXPECT_EQ(fresh.snapshotCount(), 2);
    EXPECT_EQ(document.works().count(), 3);

    // File/New that gives no document ends the command.
    context.document = nullptr;
    context.makeDocument = nullptr;
    choose(u"/tmp/X.musicxml", 0);
    EdFileCommands::cmdImport();
    EXPECT_TRUE(calls.calls.empty());
    context.activate(&document);
}

TEST_F(EdFileCommandsTest, exportChoosesWhatToWrite)
{
    document.setTitle(BcString(u"Sonata.qrv*"));
    MnNote* note = score->staff(0)->measure(0)->voiceChords(0)[0]->note(0);
    struct Case
    {
        const char* name;
        const char16_t* path;
        int filter;
        std::vector<MnElement*> selected;
        bool yes;
        const char* writer;
        const char* writtenPath;
    } cases[] = {
        {"a name without extension takes the filter's", u"/tmp/Score", 0, {}, false, "pdf", "/tmp/Score.pdf"},
        {"PNG, No: the paper colour", u"/tmp/S.png", 0, {}, false, "png", "/tmp/S.png"},
        {"PNG, Yes: transparent", u"/tmp/S.PNG", 0, {sheet}, true, "png", "/tmp/S.PNG"},
        {"MIDI, nothing selected", u"/tmp/S.mid", 0, {}, false, "mid", "/tmp/S.mid"},
        {"MIDI, a sheet music", u"/tmp/S.mid", 0, {sheet}, false, "mid", "/tmp/S.mid"},
        {"MIDI, a sheet then a note", u"/tmp/S.mid", 0, {sheet, note}, false, "mid", "/tmp/S.mid"},
        {"MusicXML", u"/tmp/S", 3, {}, false, "musicxml", "/tmp/S.musicxml"},
        {"another extension", u"/tmp/S.txt", 0, {}, false, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        choose(c.path, c.filter);
        context.answerYes = c.yes;
        context.questions.clear();
        select({});
        for (MnElement* element : c.selected)
            selection().add(element);
        EdFileCommands::cmdExport();
        EXPECT_TRUE(context.fileDialogSaves);
        EXPECT_EQ(narrow(context.fileDefaultName), "Sonata");
        if (!c.writer) {
            EXPECT_TRUE(calls.calls.empty());
            continue;
        }
        ASSERT_EQ(calls.calls, std::vector<std::string>{c.writer});
        EXPECT_EQ(narrow(calls.path), c.writtenPath);
        if (std::string(c.writer) == "png") {
            EXPECT_EQ(context.questions, std::vector<unsigned>{10070});
            EXPECT_EQ(calls.transparent, c.yes);
        }
        if (std::string(c.writer) == "png" || std::string(c.writer) == "pdf") {
            ASSERT_EQ(calls.sheets.count(), int(c.selected.size()));
        }
    }
    EXPECT_EQ(steps(), 0);
    EXPECT_TRUE(context.messageTexts.empty());
}

TEST_F(EdFileCommandsTest, exportFindsTheScoreAndTheSheetMusic)
{
    choose(u"/tmp/S.mid", 0);
    EdFileCommands::cmdExport();
    EXPECT_EQ(calls.score, score);
    select({sheet});
    EdFileCommands::cmdExport();
    EXPECT_EQ(calls.score, sheet->score());
    select({sheet, score->staff(0)});
    EdFileCommands::cmdExport();
    EXPECT_EQ(calls.score, score);

    // MusicXML: the selected sheet, else the main work when a sheet, else
    // the first sheet drawn.
    MnSheetMusic* second = new MnSheetMusic();
    second->setScore(makeScore(1, 1));
    ASSERT_TRUE(document.addWork(second));
    choose(u"/tmp/S.musicxml", 0);
    select({second});
    EdFileCommands::cmdExport();
    EXPECT_EQ(calls.sheet, second);
    EXPECT_EQ(calls.work, document.works()[0]);
    select({});
    EdFileCommands::cmdExport();
    EXPECT_EQ(calls.sheet, sheet);
    ASSERT_TRUE(document.setMainScoreIndex(document.works().indexOf(second)));
    EdFileCommands::cmdExport();
    EXPECT_EQ(calls.sheet, second);

    // Without a main score MIDI has nothing to write.
    ASSERT_TRUE(document.setMainScoreIndex(-1));
    choose(u"/tmp/S.mid", 0);
    EdFileCommands::cmdExport();
    EXPECT_TRUE(calls.calls.empty());
}

TEST_F(EdFileCommandsTest, aFailedWriteSaysSoAndChangesNothing)
{
    const BcArray<unsigned char> before = bytes();
    calls.succeed = false;
    for (const char16_t* path : {u"/tmp/S.pdf", u"/tmp/S.png", u"/tmp/S.mid", u"/tmp/S.musicxml"}) {
        choose(path, 0);
        EdFileCommands::cmdExport();
        ASSERT_EQ(context.messageTexts.size(), 1u);
        EXPECT_EQ(narrow(context.messageTexts[0]), "The file " + narrow(BcString(path)) + " could not be written.");
    }
    EXPECT_TRUE(sameBytes(bytes(), before));
    EXPECT_EQ(steps(), 0);

    // No document: no dialog.
    context.document = nullptr;
    const int dialogs = context.fileDialogs;
    EdFileCommands::cmdExport();
    EXPECT_EQ(context.fileDialogs, dialogs);
    context.activate(&document);
}

TEST_F(EdFileCommandsTest, theRealWritersAndReadersRoundTrip)
{
    EdFileCommands::formats() = EdFileCommands::defaultFormats();
    char folder[] = "/tmp/qrv-files-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string base = folder;

    context.fileAnswer = BcString((base + "/Round").c_str());
    context.filterAnswer = 2;
    EdFileCommands::cmdExport();
    std::ifstream midi(base + "/Round.mid", std::ios::binary);
    char head[4] = {};
    midi.read(head, 4);
    EXPECT_EQ(std::string(head, 4), "MThd");

    context.filterAnswer = 3;
    EdFileCommands::cmdExport();
    EXPECT_TRUE(context.messageTexts.empty());

    const int works = document.works().count();
    context.fileAnswer = BcString((base + "/Round.musicxml").c_str());
    EdFileCommands::cmdImport();
    EXPECT_EQ(document.works().count(), works + 1);
    EXPECT_EQ(steps(), 1);

    // A file that is not there: the reader's reason, the document as it was.
    const BcArray<unsigned char> before = bytes();
    context.fileAnswer = BcString((base + "/Missing.musicxml").c_str());
    EdFileCommands::cmdImport();
    EXPECT_TRUE(sameBytes(bytes(), before));
    ASSERT_EQ(context.messageTexts.size(), 1u);
    EXPECT_EQ(steps(), 1);

    std::remove((base + "/Round.mid").c_str());
    std::remove((base + "/Round.musicxml").c_str());
    rmdir(folder);
}
