#include "ShellFixture.h"

#include "app/UiDocument.h"
#include "app/UiMainFrame.h"

#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

// The editor program itself, started with the fixture's user folders.
class EditorProcessTest : public ShellTest
{
protected:
    // Starts the program; -1 when it could not be started.
    pid_t launch(const std::vector<std::string>& arguments, bool exitAtIdle)
    {
        std::vector<std::string> all = {QRV_EDITOR};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        ScopedVariable exit("QUORVANE_EXIT_AT_IDLE", exitAtIdle ? "1" : nullptr);
        ScopedVariable leaks("LSAN_OPTIONS", "suppressions=" QRV_SOURCE_DIR "/tests/app/lsan.supp:print_suppressions=0");
        std::string errors = root + "/stderr.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = -1;
        if (posix_spawn(&pid, QRV_EDITOR, &actions, nullptr, argv.data(), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    // Waits for the program's end while this process goes on delivering its
    // own events; the exit status, or -1 after the time allowed.
    int waitFor(pid_t pid, int seconds)
    {
        for (int i = 0; i < seconds * 50; ++i) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            if (Quorvane::exists() && wxApp::GetInstance() == &app())
                pump(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return -1;
    }

    std::string errors()
    {
        std::ifstream in(root + "/stderr.txt");
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
};

}

TEST_F(EditorProcessTest, startedAsRunShDoesItOpensTheSampleAndExitsCleanly)
{
    std::string sample = root + "/sample.qrv";
    std::string tool = std::string(QRV_SAMPLE_TOOL) + " " + sample;
    ASSERT_EQ(std::system(tool.c_str()), 0);
    pid_t editor = launch({sample}, true);
    ASSERT_GT(editor, 0);
    EXPECT_EQ(waitFor(editor, 120), 0) << errors();
    std::string reported = errors();
    EXPECT_EQ(reported.find("LeakSanitizer"), std::string::npos) << reported;
    EXPECT_EQ(reported.find("AddressSanitizer"), std::string::npos) << reported;
    // File/Exit went through the normal end: layout and recent files saved.
    PlConfigFile file = readUser();
    EXPECT_TRUE(file.hasSection("Workspace"));
    std::string recent;
    EXPECT_TRUE(file.value("Recent File List", "File1", recent));
    EXPECT_EQ(recent, sample);
}

TEST_F(EditorProcessTest, aSecondStartHandsItsFileToTheFirstAndEnds)
{
    std::string path = writeScore("Handed over.qrv");
    ASSERT_TRUE(start());
    ASSERT_EQ(app().documentManager()->GetDocumentsVector().size(), 1u);
    pid_t second = launch({path}, false);
    ASSERT_GT(second, 0);
    EXPECT_EQ(waitFor(second, 60), 0) << errors();
    // Its file opens in the first.
    for (int i = 0; i < 100 && app().documentManager()->GetDocumentsVector().size() < 2; ++i) {
        pump(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(app().documentManager()->GetDocumentsVector().size(), 2u);
    EXPECT_EQ(app().documentManager()->GetCurrentDocument()->GetUserReadableName().utf8_string(),
              "Handed over.qrv");
    // The second start wrote nothing of its own.
    EXPECT_FALSE(std::filesystem::exists(userFile()));
}
