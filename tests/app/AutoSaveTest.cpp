#include "ShellFixture.h"

#include "app/AutoSave.h"
#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "common/EdFakeContext.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnSheetMusic.h"

#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void writeText(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Documents are told apart by how many works they hold.
void giveWorks(QuorvaneDocument& document, int sheets)
{
    while (document.works().count() < sheets + 1)
        document.addWork(new MnSheetMusic);
}

int worksInFile(const std::string& path)
{
    QuorvaneDocument document;
    if (!document.loadScore(BcString(path.c_str()), true))
        return -1;
    return document.works().count() - 1;
}

// The documents of a program without windows.
class FakeWorkspace : public AutoSave::Workspace
{
public:
    QuorvaneDocument* add(const char* title, int sheets)
    {
        auto document = std::make_unique<QuorvaneDocument>();
        document->OnNewDocument();
        document->setTitle(BcString(title));
        giveWorks(*document, sheets);
        open.push_back(std::move(document));
        return open.back().get();
    }
    void documents(std::vector<QuorvaneDocument*>& out) override
    {
        out.clear();
        for (auto& d : open)
            out.push_back(d.get());
    }
    void keepCamera(QuorvaneDocument*) override { ++cameras; }
    QuorvaneDocument* activeDocument() override { return open.empty() ? nullptr : open.back().get(); }
    QuorvaneDocument* openFile(const BcString&) override { return nullptr; }
    QuorvaneDocument* newDocument() override { return add("New", 0); }
    void closeDocument(QuorvaneDocument* document) override
    {
        for (auto it = open.begin(); it != open.end(); ++it)
            if (it->get() == document) {
                open.erase(it);
                return;
            }
    }
    void setTitle(QuorvaneDocument* document, const BcString& title) override { document->setTitle(title); }
    void restored(QuorvaneDocument* document) override { document->SetModifiedFlag(true); }

    std::vector<std::unique_ptr<QuorvaneDocument>> open;
    int cameras = 0;
};

class AutoSavePassTest : public ShellTest
{
protected:
    AutoSavePassTest() : autoSave(workspace)
    {
        folder = root + "/backups";
        autoSave.recover(folder);  // nothing there: the period starts now
    }
    ~AutoSavePassTest() override { AutoSave::failBeforeRename(false); }

    void modify(QuorvaneDocument* document)
    {
        document->SetModifiedFlag(true);
    }
    // One period and a millisecond on, with the given minutes.
    void pass(int minutes = 2)
    {
        context.clock += (unsigned long long)(minutes < 1 ? 1 : minutes) * 60000 + 1;
        autoSave.saveBackups(minutes);
    }
    std::string file(int number) const { return folder + "/" + AutoSave::fileName(number); }
    std::string index() const { return contents(folder + "/index.xml"); }

    EdFakeContext context;
    FakeWorkspace workspace;
    AutoSave autoSave;
    std::string folder;
};

}

TEST_F(AutoSavePassTest, theFirstBackupComesAPeriodAfterRecoveryAndUnchangedOnesAreNotRewritten)
{
    QuorvaneDocument* a = workspace.add("New 1", 1);
    modify(a);
    context.clock += 120000;  // exactly the period: not yet
    autoSave.saveBackups(2);
    EXPECT_FALSE(fs::exists(folder));
    context.clock += 1;
    autoSave.saveBackups(2);
    ASSERT_TRUE(fs::exists(file(1)));
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(index(), "<QuorvaneBackup>\n    <Document id=\"1\">New 1</Document>\n</QuorvaneBackup>\n");

    // Not edited since: the file stays as it was.
    writeText(file(1), "marker");
    pass();
    EXPECT_EQ(contents(file(1)), "marker");
    // Edited: written again.
    modify(a);
    pass();
    EXPECT_EQ(worksInFile(file(1)), 1);
    // A missing file is written again too.
    fs::remove(file(1));
    pass();
    EXPECT_EQ(worksInFile(file(1)), 1);
}

TEST_F(AutoSavePassTest, aDocumentKeepsItsNumberAndEachFileHoldsItsEntrysDocument)
{
    QuorvaneDocument* a = workspace.add("New 1", 1);
    QuorvaneDocument* b = workspace.add("New 2", 2);
    QuorvaneDocument* c = workspace.add("New 3", 3);
    for (QuorvaneDocument* d : {a, b, c})
        modify(d);
    pass();
    EXPECT_EQ(autoSave.entries().size(), 3u);

    // b saved: its file and entry go; c keeps number 3.
    b->SetModifiedFlag(false);
    autoSave.removeBackup(b, false);
    EXPECT_FALSE(fs::exists(file(2)));
    EXPECT_EQ(index().find("New 2"), std::string::npos);
    // a stops being modified without a save (undo back to the saved state).
    a->SetModifiedFlag(false);
    pass();
    EXPECT_FALSE(fs::exists(file(1)));
    ASSERT_EQ(autoSave.entries().size(), 1u);
    EXPECT_EQ(autoSave.entries()[0].number, 3);
    EXPECT_EQ(worksInFile(file(3)), 3);

    // Modified again, each comes back under its own number.
    modify(a);
    modify(b);
    pass();
    EXPECT_EQ(worksInFile(file(1)), 1);
    EXPECT_EQ(worksInFile(file(2)), 2);
    EXPECT_EQ(worksInFile(file(3)), 3);

    // Closing drops the file and the number for good: a new document gets 4.
    autoSave.removeBackup(c, true);
    workspace.closeDocument(c);
    EXPECT_FALSE(fs::exists(file(3)));
    QuorvaneDocument* d = workspace.add("New 4", 4);
    modify(d);
    pass();
    EXPECT_EQ(worksInFile(file(4)), 4);
    EXPECT_FALSE(fs::exists(file(3)));
}

TEST_F(AutoSavePassTest, aFailureBetweenWriteAndRenameKeepsTheOldBackupAndIndex)
{
    QuorvaneDocument* a = workspace.add("New 1", 1);
    modify(a);
    pass();
    std::string oldBackup = contents(file(1));
    std::string oldIndex = index();

    giveWorks(*a, 5);
    modify(a);
    QuorvaneDocument* b = workspace.add("New 2", 2);
    modify(b);
    AutoSave::failBeforeRename(true);
    pass();
    EXPECT_EQ(contents(file(1)), oldBackup);
    EXPECT_EQ(index(), oldIndex);
    EXPECT_FALSE(fs::exists(file(2)));

    // The failed backup stays due although its document did not change.
    AutoSave::failBeforeRename(false);
    pass();
    EXPECT_EQ(worksInFile(file(1)), 5);
    EXPECT_EQ(worksInFile(file(2)), 2);
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_EQ(entry.path().extension() == ".new", false) << entry.path();
}

TEST_F(AutoSavePassTest, minutesBelowOneCountAsOne)
{
    QuorvaneDocument* a = workspace.add("New 1", 1);
    for (int minutes : {0, -5, 1}) {
        SCOPED_TRACE(minutes);
        fs::remove_all(folder);
        modify(a);
        context.clock += 30000;
        autoSave.saveBackups(minutes);
        EXPECT_FALSE(fs::exists(file(1)));
        context.clock += 30001;
        autoSave.saveBackups(minutes);
        EXPECT_TRUE(fs::exists(file(1)));
    }
    // A huge period does not wrap to a short one.
    fs::remove_all(folder);
    modify(a);
    context.clock += 10 * 60000;
    autoSave.saveBackups(0x7FFFFFFF);
    EXPECT_FALSE(fs::exists(file(1)));
}

// --- Recovery in the running program ----------------------------------------

namespace {

class RecoveryTest : public ShellTest
{
protected:
    // A backup of a document holding the given sheets, under its number.
    void prepareBackup(int number, int sheets)
    {
        QuorvaneDocument document;
        document.OnNewDocument();
        giveWorks(document, sheets);
        fs::create_directories(autoSaveFolder());
        ASSERT_TRUE(document.saveScore(BcString((autoSaveFolder() + "/" + AutoSave::fileName(number)).c_str())));
    }
    void prepareIndex(const std::string& documents)
    {
        writeText(autoSaveFolder() + "/index.xml", "<QuorvaneBackup>" + documents + "</QuorvaneBackup>");
    }
    std::vector<UiDocument*> documents()
    {
        std::vector<UiDocument*> out;
        for (wxDocument* d : app().documentManager()->GetDocumentsVector())
            out.push_back(wxDynamicCast(d, UiDocument));
        return out;
    }
    UiDocument* withTitle(const std::string& title)
    {
        for (UiDocument* d : documents())
            if (d->document().title().toNarrow(BcString::utf8CodePage) == title)
                return d;
        return nullptr;
    }
};

}

TEST_F(RecoveryTest, pathsReopenTitlesReturnAndTheEmptyStartDocumentMakesWay)
{
    std::string saved = writeScore("saved.qrv");
    std::string unreadable = root + "/broken.qrv";
    writeText(unreadable, "not a score");
    prepareBackup(1, 2);
    prepareBackup(2, 3);
    prepareBackup(3, 4);
    prepareBackup(5, 1);
    prepareIndex("<Document id=\"1\">" + saved + "</Document><Document id=\"2\">New 7</Document>"
                 "<Document id=\"3\">" + unreadable + "</Document><Document id=\"4\">missing</Document>"
                 "<Document>no id</Document><Document id=\"5\">gone/away/old.qrv</Document>");
    ASSERT_TRUE(start());
    pump();
    std::vector<UiDocument*> all = documents();
    ASSERT_EQ(all.size(), 4u);  // the empty "New 1" closed
    EXPECT_EQ(withTitle("New 1"), nullptr);

    UiDocument* fromFile = all[0];
    EXPECT_EQ(fromFile->document().pathName().toNarrow(BcString::utf8CodePage), saved);
    EXPECT_EQ(fromFile->document().works().count(), 3);
    UiDocument* unsaved = withTitle("New 7*");
    ASSERT_NE(unsaved, nullptr);
    EXPECT_EQ(unsaved->document().works().count(), 4);
    // The file that exists but does not open: its backup in a new document
    // named after it.
    UiDocument* broken = withTitle("broken.qrv*");
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(broken->document().works().count(), 5);
    EXPECT_TRUE(broken->document().pathName().isEmpty());
    EXPECT_NE(withTitle("old.qrv*"), nullptr);
    for (UiDocument* d : all) {
        EXPECT_TRUE(d->IsModified());
        EXPECT_EQ(d->document().undoIndex(), 1);  // one step back to what opened
    }
    // The restored backups stay until the next pass; the rest went.
    for (int n : {1, 2, 3, 5})
        EXPECT_TRUE(fs::exists(autoSaveFolder() + "/" + AutoSave::fileName(n))) << n;
    stop();
    EXPECT_FALSE(fs::exists(autoSaveFolder()));
}

TEST_F(RecoveryTest, recoverAbortRecoverBringsTheSameDocumentsBack)
{
    prepareBackup(4, 2);
    prepareBackup(9, 3);
    prepareIndex("<Document id=\"4\">New 3</Document><Document id=\"9\">New 5</Document>");
    ASSERT_TRUE(start());
    pump();
    ASSERT_NE(withTitle("New 3*"), nullptr);
    // An abnormal end: the folder is what the next start finds.
    std::string kept = autoSaveFolder() + ".kept";
    fs::copy(autoSaveFolder(), kept);
    stop();
    fs::rename(kept, autoSaveFolder());
    ASSERT_TRUE(start());
    pump();
    ASSERT_NE(withTitle("New 3*"), nullptr);
    ASSERT_NE(withTitle("New 5*"), nullptr);
    EXPECT_EQ(withTitle("New 3*")->document().works().count(), 3);
    EXPECT_EQ(withTitle("New 5*")->document().works().count(), 4);
    EXPECT_EQ(documents().size(), 2u);
}

TEST_F(RecoveryTest, anOpenCommandLineDocumentGetsItsBackup)
{
    std::string path = writeScore("given.qrv");
    prepareBackup(1, 3);
    prepareIndex("<Document id=\"1\">" + path + "</Document>");
    ASSERT_TRUE(start({path}));
    pump();
    ASSERT_EQ(documents().size(), 1u);
    EXPECT_EQ(documents()[0]->document().works().count(), 4);
    EXPECT_TRUE(documents()[0]->IsModified());
}

TEST_F(RecoveryTest, badFoldersRestoreNothingAndLeaveNoFolder)
{
    struct Case
    {
        const char* name;
        std::string index;
        bool newerBackup;
    };
    const Case cases[] = {
        {"malformed", "<QuorvaneBackup><Document id=\"1\">New 4", false},
        {"wrong root", "<Backup><Document id=\"1\">New 4</Document></Backup>", false},
        {"newer version", "<QuorvaneBackup><Document id=\"1\">New 4</Document></QuorvaneBackup>", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prepareBackup(1, 2);
        if (c.newerBackup) {
            std::string path = autoSaveFolder() + "/001.qrv";
            std::string bytes = contents(path);
            bytes[3] = 9;  // a format version above ours
            writeText(path, bytes);
        }
        writeText(autoSaveFolder() + "/index.xml", c.index);
        boxes.texts.clear();
        ASSERT_TRUE(start());
        pump();
        ASSERT_EQ(documents().size(), 1u);
        EXPECT_FALSE(documents()[0]->IsModified());
        EXPECT_TRUE(boxes.texts.empty());
        EXPECT_FALSE(fs::exists(autoSaveFolder()));
        stop();
    }
}

