#include "app/Settings.h"
#include "platform/PlConfigFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace {

// A user of the benchmark's own, so the benchmarks neither read nor write
// the real settings.
struct ScratchUser
{
    ScratchUser()
    {
        char pattern[] = "/tmp/qrv-bench-XXXXXX";
        root = ::mkdtemp(pattern);
        std::filesystem::create_directories(root + "/run");
        ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root + "/machine").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (root + "/run").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    }
    ~ScratchUser() { std::filesystem::remove_all(root); }
    std::string root;
};

// The settings file of a user who has used the editor: settings, toggles,
// a layout and recent files.
void fillSettingsFile()
{
    Settings settings;
    settings.save();
    PlConfigFile file;
    file.load((std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tolmarin/Quorvane.conf"));
    for (int i = 0; i < 6; ++i)
        file.setValue("Workspace", "BasePane-" + std::to_string(32800 + i),
                      "name=BasePane-32806;caption=Properties;state=2099196;dir=2;layer=0;row=0;pos=0;"
                      "prop=100000;bestw=200;besth=200;minw=-1;minh=-1;maxw=-1;maxh=-1;floatx=-1;floaty=-1;"
                      "floatw=-1;floath=-1");
    for (int i = 1; i <= 4; ++i)
        file.setValue("Recent File List", "File" + std::to_string(i), "/home/someone/scores/piece.qrv");
    file.setIntValue("Toggles", "SnapGuideLines", 1);
    file.save(std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tolmarin/Quorvane.conf");
}

void BM_SettingsLoad(benchmark::State& state)
{
    ScratchUser user;
    fillSettingsFile();
    for (auto _ : state) {
        Settings settings;
        benchmark::DoNotOptimize(settings.load());
    }
}
BENCHMARK(BM_SettingsLoad)->Unit(benchmark::kMicrosecond);

void BM_SettingsSave(benchmark::State& state)
{
    ScratchUser user;
    fillSettingsFile();
    Settings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(settings.save());
}
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMicrosecond);

#if defined(QRV_EDITOR) && defined(QRV_SAMPLE_TOOL)
// The editor started as scripts/run.sh starts it, on the sample score, run
// to its first idle moment and ended there by File/Exit: an upper bound of
// the start-up time, which it includes with the shut-down.
void BM_StartToFirstIdle(benchmark::State& state)
{
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no display");
        return;
    }
    ScratchUser user;
    std::string sample = user.root + "/sample.qrv";
    if (std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample).c_str()) != 0) {
        state.SkipWithError("no sample score");
        return;
    }
    ::setenv("QUORVANE_EXIT_AT_IDLE", "1", 1);
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>(QRV_EDITOR), sample.data(), nullptr};
        auto begin = std::chrono::steady_clock::now();
        pid_t pid;
        if (posix_spawn(&pid, QRV_EDITOR, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("the editor did not start");
            break;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        auto end = std::chrono::steady_clock::now();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the editor did not end cleanly");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    ::unsetenv("QUORVANE_EXIT_AT_IDLE");
}
BENCHMARK(BM_StartToFirstIdle)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
#endif

}
