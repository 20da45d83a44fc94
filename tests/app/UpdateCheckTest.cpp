#include "ShellFixture.h"

#include "LocalHttpServer.h"
#include "app/UiHandOff.h"
#include "app/UiUpdateCheck.h"

#include <wx/dialog.h>
#include <wx/evtloop.h>

#include <chrono>
#include <thread>

namespace {

std::string versionFile(const std::string& attributes)
{
    return "<?xml version=\"1.0\"?><version " + attributes + "/>";
}

// Waits, letting the toolkit work, until the workers ended.
void waitForWorkers()
{
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (UiUpdateCheck::runningWorkers() > 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(UiUpdateCheck::runningWorkers(), 0);
}

class UpdateCheckTest : public ShellTest
{
protected:
    UpdateCheckTest()
    {
        UiUpdateCheck::setServer("http://", server.host());
        Quorvane::setUpdateCheck([](Quorvane& app) { app.checkUpdateResult(true, true); });
    }
    ~UpdateCheckTest() override
    {
        waitForWorkers();
        Quorvane::setUpdateCheck(nullptr);
        UiUpdateCheck::setServer("https://", "quorvane.invalid");
        UiUpdateCheck::setLimits(PlHttp::Limits());
    }
    // Answers with the version file, checks through Help and lets idle work
    // take the answer.
    void checkAgainst(const std::string& version, bool manual)
    {
        server.body = versionFile("file=\"quorvane.msi\" " + version);
        boxes.texts.clear();
        launcher.opened.clear();
        app().checkUpdateResult(true, manual);
        waitForWorkers();
        app().onIdle();
    }

    LocalHttpServer server;
};

}

TEST_F(UpdateCheckTest, theVersionFileIsReadStrictly)
{
    struct Case
    {
        const char* name;
        std::string text;
        bool read;
        UpdateResult expected;
    };
    const Case cases[] = {
        {"valid", versionFile("file=\"quorvane.msi\" major=\"2\" minor=\"1\" revision=\"0\" build=\"17\""), true,
         {2, 1, 0, 17}},
        {"other case", versionFile("file=\"Quorvane.msi\" major=\"2\" minor=\"1\" revision=\"0\" build=\"17\""), false, {}},
        {"no file", versionFile("major=\"2\" minor=\"1\" revision=\"0\" build=\"17\""), false, {}},
        {"no build", versionFile("file=\"quorvane.msi\" major=\"2\" minor=\"1\" revision=\"0\""), false, {}},
        {"x as 0", versionFile("file=\"quorvane.msi\" major=\"x\" minor=\"1\" revision=\"0\" build=\"17\""), true,
         {0, 1, 0, 17}},
        {"-1", versionFile("file=\"quorvane.msi\" major=\"-1\" minor=\"1\" revision=\"0\" build=\"17\""), true,
         {-1, 1, 0, 17}},
        {"not XML", "version 2.0", false, {}},
        {"other element", "<release file=\"quorvane.msi\" major=\"2\" minor=\"1\" revision=\"0\" build=\"1\"/>", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateResult result;
        EXPECT_EQ(UiUpdateCheck::parseVersionFile(c.text, result), c.read);
        if (c.read) {
            EXPECT_EQ(result.major, c.expected.major);
            EXPECT_EQ(result.build, c.expected.build);
        }
    }
    std::string server;
    std::string object;
    EXPECT_TRUE(PlHttp::splitUrl("https://example.org:8443/download/version.xml", server, object));
    EXPECT_EQ(server, "example.org:8443");
    EXPECT_EQ(object, "/download/version.xml");
    EXPECT_FALSE(PlHttp::splitUrl("example.org/download", server, object));
}

TEST_F(UpdateCheckTest, onlyANewerVersionAsksAndTheCommandSaysWhenThisIsTheNewest)
{
    ASSERT_TRUE(start());
    struct Case
    {
        const char* version;
        bool manual;
        bool asks;
        bool newest;
    };
    const Case cases[] = {
        {"major=\"1\" minor=\"5\" revision=\"1\" build=\"803\"", false, false, false},
        {"major=\"1\" minor=\"5\" revision=\"1\" build=\"803\"", true, false, true},
        {"major=\"1\" minor=\"5\" revision=\"1\" build=\"804\"", false, true, false},
        {"major=\"1\" minor=\"5\" revision=\"2\" build=\"0\"", false, true, false},
        {"major=\"2\" minor=\"0\" revision=\"0\" build=\"0\"", true, true, false},
        {"major=\"1\" minor=\"4\" revision=\"9\" build=\"999\"", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        boxes.answer = UiMessageBoxes::no;
        checkAgainst(c.version, c.manual);
        if (c.asks) {
            ASSERT_EQ(boxes.texts.size(), 1u);
            EXPECT_NE(boxes.texts[0].find("Current installed version: 1.5.1.803"), std::string::npos);
        } else if (c.newest) {
            EXPECT_EQ(boxes.texts, std::vector<std::string>{"Your version is the newest available."});
        } else {
            EXPECT_TRUE(boxes.texts.empty());
        }
        EXPECT_TRUE(launcher.opened.empty());
        // Taken once.
        boxes.texts.clear();
        app().onIdle();
        EXPECT_TRUE(boxes.texts.empty());
    }
    // Yes opens the page of the language chosen now.
    app().settings.language = 2;
    boxes.answer = UiMessageBoxes::yes;
    checkAgainst("major=\"1\" minor=\"6\" revision=\"0\" build=\"0\"", false);
    EXPECT_EQ(launcher.opened, std::vector<std::string>{"http://" + server.host() + "/es/download/"});
    EXPECT_NE(server.lastRequest.find("GET /download/version.xml"), std::string::npos);
}

TEST_F(UpdateCheckTest, failedFetchesShowNothing)
{
    ASSERT_TRUE(start());
    struct Case
    {
        const char* name;
        int status;
        std::string body;
    };
    const Case cases[] = {
        {"404", 404, versionFile("file=\"quorvane.msi\" major=\"9\" minor=\"0\" revision=\"0\" build=\"0\"")},
        {"empty", 200, ""},
        {"-1 is never taken", 200, versionFile("file=\"quorvane.msi\" major=\"-1\" minor=\"9\" revision=\"0\" build=\"0\"")},
        {"too long", 200, std::string(2 << 20, ' ') + versionFile("file=\"quorvane.msi\" major=\"9\" minor=\"0\" revision=\"0\" build=\"0\"")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.status = c.status;
        server.body = c.body;
        boxes.texts.clear();
        app().checkUpdateResult(true, true);
        waitForWorkers();
        app().onIdle();
        EXPECT_TRUE(boxes.texts.empty());
    }
}

TEST_F(UpdateCheckTest, aStalledServerEndsTheWorkerByTimeOutAndIdleNeverWaits)
{
    ASSERT_TRUE(start());
    server.stalled = true;
    PlHttp::Limits limits;
    limits.totalSeconds = 1;
    UiUpdateCheck::setLimits(limits);
    app().checkUpdateResult(true, true);
    auto before = std::chrono::steady_clock::now();
    app().onIdle();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
    EXPECT_EQ(UiUpdateCheck::runningWorkers(), 1);
    waitForWorkers();
    app().onIdle();
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(UpdateCheckTest, theStartUpCheckRunsOnlyWhenTheSettingSaysSo)
{
    for (bool check : {false, true}) {
        SCOPED_TRACE(check);
        storeUser("Settings", "CheckForUpdates", check ? "1" : "0");
        server.body = versionFile("file=\"quorvane.msi\" major=\"1\" minor=\"5\" revision=\"1\" build=\"803\"");
        int before = server.requests;
        ASSERT_TRUE(start());
        waitForWorkers();
        EXPECT_EQ(server.requests - before, check ? 1 : 0);
        stop();
    }
}

// --- The MIDI data's hand-off -------------------------------------------------

TEST_F(UpdateCheckTest, dataPostedFromAThreadDuringAModalDialogArriveInOrder)
{
    ASSERT_TRUE(start());
    std::vector<unsigned> arrived;
    app().setMidiDataReceiver([&](unsigned timestamp, unsigned message) {
        EXPECT_EQ(message & 0xFFu, 0x90u);
        EXPECT_EQ((message >> 8) & 0xFFu, timestamp % 128);
        arrived.push_back(timestamp);
    });
    wxDialog dialog(nullptr, wxID_ANY, "Modal");
    std::thread driver;
    dialog.Bind(wxEVT_INIT_DIALOG, [&](wxInitDialogEvent& event) {
        event.Skip();
        driver = std::thread([&] {
            for (unsigned i = 0; i < 1000; ++i)
                app().midiHandOff().post(i, 0x90u | ((i % 128) << 8) | (100u << 16));
        });
    });
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    dialog.Bind(wxEVT_IDLE, [&](wxIdleEvent& event) {
        event.RequestMore();
        if ((arrived.size() >= 1000 || std::chrono::steady_clock::now() > deadline) && dialog.IsModal())
            dialog.EndModal(wxID_OK);
    });
    dialog.ShowModal();
    driver.join();
    ASSERT_EQ(arrived.size(), 1000u);
    for (unsigned i = 0; i < 1000; ++i)
        ASSERT_EQ(arrived[i], i);
}
