#include "ShellFixture.h"

#include "app/UiMainFrame.h"
#include "app/UiMidi.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"

#include <wx/evtloop.h>

#include <cstdlib>
#include <memory>

ShellTest::ShellTest()
{
    char pattern[] = "/tmp/qrv-shell-XXXXXX";
    root = ::mkdtemp(pattern);
    configHome = root + "/config";
    machineDirs = root + "/machine";
    runtime = root + "/run";
    dataHome = root + "/data";
    std::filesystem::create_directories(configHome);
    std::filesystem::create_directories(machineDirs);
    std::filesystem::create_directories(runtime);
    ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", machineDirs.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    localeRoot = QRV_LOCALE_DIR;
}

ShellTest::~ShellTest()
{
    if (application)
        stop();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

void ShellTest::storeUser(const std::string& section, const std::string& name, const std::string& value)
{
    PlConfigFile file;
    file.load(userFile());
    file.setValue(section, name, value);
    ASSERT_TRUE(file.save(userFile()));
}

void ShellTest::storeMachineLanguage(const std::string& tag)
{
    PlConfigFile file;
    file.setValue("", "Language", tag);
    ASSERT_TRUE(file.save(machineDirs + "/Tolmarin/Quorvane.conf"));
}

PlConfigFile ShellTest::readUser() const
{
    PlConfigFile file;
    file.load(userFile());
    return file;
}

std::string ShellTest::writeScore(const std::string& name)
{
    QuorvaneDocument document;
    document.OnNewDocument();
    document.addWork(new MnSheetMusic);
    std::string path = root + "/" + name;
    EXPECT_TRUE(document.saveScore(BcString(path.c_str())));
    return path;
}

bool ShellTest::start(std::vector<std::string> arguments)
{
    QuorvaneServices services;
    services.player = playerService;
    services.midiInput = &midiInput;
    if (midiService) {
        services.midiInput = midiService;
        services.midi = midiService;
    }
    services.localeRoot = localeRoot;
    services.endsProcess = false;
    toolkitApp = wxApp::GetInstance();
    application = new Quorvane(services);
    wxApp::SetInstance(application);
    argumentStore = {"quorvane"};
    argumentStore.insert(argumentStore.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argumentStore)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    application->argc = int(argumentStore.size());
    application->argv.Init(application->argc, argv.data());
    bool started = application->OnInit();
    if (started)
        pump();
    else
        stop();
    return started;
}

void ShellTest::stop()
{
    if (!application)
        return;
    if (UiMainFrame* frame = application->mainFrame())
        frame->Close(true);
    pump();
    application->OnExit();
    wxApp::SetInstance(toolkitApp);
    delete application;
    application = nullptr;
}

void ShellTest::pump(int rounds)
{
    wxEventLoopBase* active = wxEventLoopBase::GetActive();
    std::unique_ptr<wxEventLoop> loop;
    if (!active) {
        loop = std::make_unique<wxEventLoop>();
        wxEventLoopBase::SetActive(loop.get());
    }
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->ProcessPendingEvents();
        while (wxEventLoopBase::GetActive()->Pending())
            wxEventLoopBase::GetActive()->Dispatch();
        wxTheApp->ProcessIdle();
    }
    if (loop)
        wxEventLoopBase::SetActive(nullptr);
}
