#include "app/Quorvane.h"

#include "app/UiCommandStates.h"
#include "app/UiDocument.h"
#include "app/UiInstanceServer.h"
#include "app/UiMainFrame.h"
#include "app/UiManuscriptPaperViewport.h"
#include "app/UiPlayerPort.h"
#include "app/UiQuorvaneView.h"
#include "app/UiUpdateCheck.h"
#include "commands/EdCommandTable.h"
#include "commands/EdStartup.h"
#include "foundation/BcClassManager.h"
#include "foundation/BcClassTable.h"
#include "panels/UiInstrumentPanel.h"
#include "platform/PlConfigFile.h"
#include "platform/PlHttp.h"
#include "platform/PlLauncher.h"
#include "platform/PlPaths.h"
#include "platform/gui/UiMessageBoxes.h"
#include "playback/MpPlayer.h"

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/snglinst.h>
#include <wx/translation.h>

#include <cstdlib>

#ifndef QRV_MAKER_HOST
#define QRV_MAKER_HOST "quorvane.invalid"
#endif

static Quorvane* theApp = nullptr;

static const char* const recentSection = "Recent File List";
static const char* const togglesSection = "Toggles";

Quorvane::Quorvane(const QuorvaneServices& services)
    : services(services), context(*this)
{
    theApp = this;
    handOff = std::make_unique<UiHandOff>(
        *this, [this](unsigned timestamp, unsigned message) { OnMidiInData(timestamp, message); });
    SetAppName("Quorvane");
    SetVendorName("Tolmarin");
}

Quorvane::~Quorvane()
{
    if (theApp == this)
        theApp = nullptr;
}

Quorvane& Quorvane::instance()
{
    return *theApp;
}

bool Quorvane::exists()
{
    return theApp != nullptr;
}

bool Quorvane::OnInit()
{
    if (startUp())
        return true;
    // The framework runs no exit step after a failed start; ours does.
    shutDown();
    return false;
}

int Quorvane::OnRun()
{
    if (handedOver)
        return 0;
    return wxApp::OnRun();
}

int Quorvane::OnExit()
{
    shutDown();
    return wxApp::OnExit();
}

// --- Start-up ------------------------------------------------------------------

bool Quorvane::startUp()
{
    // wxWidgets' own complaints go to the terminal: the user sees the
    // program's messages, never a log window.
    delete wxLog::SetActiveTarget(new wxLogStderr);

    // One instance per user: a second start hands its files over and ends,
    // before it touches any setting or backup.
    instanceChecker = std::make_unique<wxSingleInstanceChecker>();
    if (instanceChecker->Create(wxString::FromUTF8(UiInstanceServer::lockName()),
                                wxString::FromUTF8(PlPaths::runtimeDir())) &&
        instanceChecker->IsAnotherRunning()) {
        wxArrayString paths;
        for (int i = 1; i < argc; ++i)
            paths.push_back(argv[i]);
        UiInstanceServer::handOver(paths);
        handedOver = true;
        return true;
    }

    EdStartup::install();
    BcClassTable::setFactory("Settings", &Settings::newInstance);
    BcClassTable::setFactory("UiManuscriptPaperViewport", &UiManuscriptPaperViewport::newInstance);
    BcClassManager::instance()->linkClasses();

    // The user's stored language wins over the installed one.
    settings.language = readInstallLanguage();
    settings.load();
    interfaceLanguage = settings.language;
    std::string localeRoot = services.localeRoot;
    if (localeRoot.empty()) {
        // Beside the program in the build, in share/locale when installed.
        localeRoot = PlPaths::executableDir() + "/locale";
        if (!wxFileName::DirExists(wxString::FromUTF8(localeRoot)))
            localeRoot = PlPaths::executableDir() + "/../share/locale";
    }
    if (stringResources.setLanguage(interfaceLanguage, localeRoot)) {
        auto* toolkit = new wxTranslations;
        toolkit->SetLanguage(UiStringResources::languageCode(interfaceLanguage));
        toolkit->AddStdCatalog();
        wxTranslations::Set(toolkit);
    }
    BcSettings::install(&settings);
    BcStringResources::install(&stringResources);
    previousContext = EdContext::install(&context);
    started = true;

    loadRecentFiles();

    docManager = new UiDocManager;
    new wxDocTemplate(docManager, UiDocManager::documentString(3), "*.qrv", wxEmptyString, "qrv",
                      UiDocManager::documentString(2), "Quorvane view", CLASSINFO(UiDocument),
                      CLASSINFO(UiQuorvaneView));
    registerCommands();

    // Without sound the editor still works; the reason is told once the
    // window shows.
    if (services.player && !services.player->open()) {
        services.player->close();
        BcString reason = services.player->openFailureReason();
        playerFailure = wxString::FromUTF8(reason.toNarrow(BcString::utf8CodePage));
    } else if (services.player) {
        context.setPlayer(services.playback);
    }
    // No MIDI device is no error: most users have none.
    context.setMidi(services.midi);
    if (services.midiInput)
        services.midiInput->open();

    frame = new UiMainFrame(docManager, *this);
    SetTopWindow(frame);
    loadCustomState();

    instanceServer = std::make_unique<UiInstanceServer>(*this);
    if (!instanceServer->start())
        instanceServer.reset();

    wxArrayString paths;
    for (int i = 1; i < argc; ++i)
        paths.push_back(argv[i]);
    if (paths.empty()) {
        docManager->CreateDocument(wxEmptyString, wxDOC_NEW);
    } else if (openFiles(paths) == 0) {
        return false;
    }

    frame->Show();
    PlHttp::initialize();
    if (settings.checkForUpdates && updateCheckInstalled())
        checkUpdateResult(true, false);
    // Last, so that the empty document of a start without files can make
    // way for the restored ones.
    autoSave.recover();
    Bind(wxEVT_IDLE, &Quorvane::idleEvent, this);
    if (!playerFailure.empty())
        CallAfter(&Quorvane::reportPlayerFailure);
    // Smoke tests and the start-up benchmark run the editor to its first
    // idle moment and end it by File/Exit, as a user would.
    const char* exitAtIdle = std::getenv("QUORVANE_EXIT_AT_IDLE");
    if (exitAtIdle && std::string(exitAtIdle) == "1")
        Bind(wxEVT_IDLE, &Quorvane::exitAtFirstIdle, this);
    return true;
}

void Quorvane::exitAtFirstIdle(wxIdleEvent& event)
{
    event.Skip();
    Unbind(wxEVT_IDLE, &Quorvane::exitAtFirstIdle, this);
    CallAfter([this] {
        if (frame)
            frame->runCommand(57665);
    });
}

void Quorvane::idleEvent(wxIdleEvent& event)
{
    event.Skip();
    if (onIdle())
        event.RequestMore();
}

bool Quorvane::onIdle()
{
    if (!started)
        return false;
    return idle.run(false, toggles().playbackTracking);
}

void Quorvane::selectionChanged()
{
    UiNoteInput::selectionChanged(context);
}

int Quorvane::toolbarTempo() const
{
    return tempoBox ? UiNoteInput::tempoOfText(tempoBox->text()) : UiNoteInput::tempoWithoutBox;
}

void Quorvane::setToolbarTempo(int beatsPerMinute)
{
    if (tempoBox)
        tempoBox->setText(std::to_string(UiNoteInput::clampTempo(beatsPerMinute)).c_str());
}

void Quorvane::OnMidiInData(unsigned timestamp, unsigned message)
{
    if (midiData)
        midiData(timestamp, message);
}

bool QuorvaneIdleHost::mainWindowExists()
{
    return app.frame != nullptr;
}

bool QuorvaneIdleHost::playerIsPlaying()
{
    return app.context.playerIsPlaying();
}

bool QuorvaneIdleHost::playerIsPaused()
{
    MpPlayer* player = app.context.player();
    return player && player->isPaused();
}

void QuorvaneIdleHost::refreshPanels()
{
    UiInstrumentPanel::refreshAll(false);
}

void QuorvaneIdleHost::autoSavePass()
{
    if (app.settings.autoSave)
        app.autoSave.saveBackups(app.settings.autoSaveMinutes);
}

void QuorvaneIdleHost::hotPlug()
{
    if (app.midiHotPlug)
        app.midiHotPlug();
}

void QuorvaneIdleHost::updatePickUp()
{
    app.checkUpdateResult(false, false);
}

void Quorvane::checkUpdateResult(bool start, bool manual)
{
    if (start) {
        UiUpdateCheck::start();
        updateCheckManual = manual;
        return;
    }
    UpdateResult offered;
    if (!UiUpdateCheck::take(offered))
        return;
    if (offered.newerThan(versionMajor, versionMinor, versionRevision, versionBuild)) {
        const wchar_t* format = loadString(10060);
        if (!format)
            return;
        wxString text = wxString::Format(wxString(format), offered.major, offered.minor, offered.revision,
                                         offered.build, versionMajor, versionMinor, versionRevision, versionBuild);
        // The page of the language chosen now, which may not be the one
        // the program runs in.
        if (UiMessageBoxes::current().askYesNo(text, wxString(loadString(57344))))
            PlLauncher::current().open(UiUpdateCheck::downloadPage(settings.language));
    } else if (updateCheckManual) {
        const wchar_t* text = loadString(10076);
        if (text)
            UiMessageBoxes::current().information(wxString(text), wxString(loadString(57344)));
    }
}

void Quorvane::reportPlayerFailure()
{
    if (playerFailure.empty())
        return;
    wxString reason = playerFailure;
    playerFailure.clear();
    UiMessageBoxes::current().information(reason, wxString(loadString(57344)));
}

int Quorvane::readInstallLanguage()
{
    std::string machineFile = PlPaths::machineSettingsFile();
    PlConfigFile file;
    std::string tag;
    if (!machineFile.empty() && file.load(machineFile) && file.value("", "Language", tag))
        return UiStringResources::languageOfTag(tag);
    return UiStringResources::languageOfTag(UiStringResources::localeTag());
}

int Quorvane::openFiles(const wxArrayString& paths)
{
    if (!docManager)
        return 0;
    int opened = 0;
    for (const wxString& path : paths)
        if (docManager->CreateDocument(path, wxDOC_SILENT))
            ++opened;
    return opened;
}

// --- Shut-down -----------------------------------------------------------------

void Quorvane::frameDestroyed(UiMainFrame* dying)
{
    if (frame == dying)
        frame = nullptr;
}

void Quorvane::shutDown()
{
    Unbind(wxEVT_IDLE, &Quorvane::idleEvent, this);
    // A normal end leaves no backups.
    autoSave.finish();
    if (services.midiInput)
        services.midiInput->close();
    context.setMidi(nullptr);
    context.setPlayer(nullptr);
    if (services.player)
        services.player->close();
    stringResources.clearCache();
    instanceServer.reset();
    if (frame) {
        // A start that failed after making the window: it goes before the
        // document manager it uses.
        frame->Destroy();
        DeletePendingObjects();
        frame = nullptr;
    }
    if (started) {
        saveRecentFiles();
        EdCommandTable::clear();
        delete docManager;
        docManager = nullptr;
        EdContext::install(previousContext);
        BcStringResources::install(nullptr);
        BcSettings::install(nullptr);
        wxTranslations::Set(nullptr);
        started = false;
    }
    instanceChecker.reset();
    if (services.endsProcess)
        BcClassManager::deleteInstance();
}

// --- Toggles, layout and recent files ----------------------------------------

static void readToggle(const PlConfigFile& file, const char* name, bool& toggle)
{
    int stored = 0;
    if (file.intValue(togglesSection, name, stored))
        toggle = stored == 1;
}

void Quorvane::loadCustomState()
{
    PlConfigFile file;
    bool loaded = file.load(PlPaths::userSettingsFile());
    if (frame) {
        bool hadLayout = file.hasSection("Workspace");
        frame->loadLayout(file);
        // A discarded layout is gone from the file too, as the next start
        // would discard it again.
        if (loaded && hadLayout && !file.hasSection("Workspace"))
            file.save(PlPaths::userSettingsFile());
    }
    readToggle(file, "SnapGuideLines", toggles().snapGuideLines);
    readToggle(file, "OrthoMode", toggles().orthoMode);
    readToggle(file, "PlaybackTracking", toggles().playbackTracking);
    int muted = 0;
    if (services.player && services.player->isOpen() && file.intValue(togglesSection, "VolumeMute", muted))
        services.player->applyMute(muted == 1);
}

void Quorvane::saveCustomState()
{
    const std::string path = PlPaths::userSettingsFile();
    PlConfigFile file;
    file.load(path);
    if (frame)
        frame->saveLayout(file);
    file.setIntValue(togglesSection, "SnapGuideLines", toggles().snapGuideLines ? 1 : 0);
    file.setIntValue(togglesSection, "OrthoMode", toggles().orthoMode ? 1 : 0);
    file.setIntValue(togglesSection, "PlaybackTracking", toggles().playbackTracking ? 1 : 0);
    // Without a player the mute state of the last run with sound stays.
    if (services.player && services.player->isOpen())
        file.setIntValue(togglesSection, "VolumeMute", services.player->isMuted() ? 1 : 0);
    file.save(path);
}

void Quorvane::loadRecentFiles()
{
    PlConfigFile file;
    recent.clear();
    if (!file.load(PlPaths::userSettingsFile()))
        return;
    for (int i = 1; i <= 4; ++i) {
        std::string path;
        if (file.value(recentSection, "File" + std::to_string(i), path) && !path.empty())
            recent.push_back(wxString::FromUTF8(path));
    }
}

void Quorvane::saveRecentFiles() const
{
    const std::string path = PlPaths::userSettingsFile();
    PlConfigFile file;
    file.load(path);
    file.removeSection(recentSection);
    for (size_t i = 0; i < recent.size(); ++i)
        file.setValue(recentSection, "File" + std::to_string(i + 1), recent[i].utf8_string());
    file.save(path);
}

void Quorvane::addRecentFile(const wxString& path)
{
    wxFileName name(path);
    name.MakeAbsolute();
    wxString full = name.GetFullPath();
    int index = recent.Index(full);
    if (index != wxNOT_FOUND)
        recent.RemoveAt(size_t(index));
    recent.Insert(full, 0);
    while (recent.size() > 4)
        recent.pop_back();
    if (frame)
        frame->recentFilesChanged();
}

void Quorvane::removeRecentFile(const wxString& path)
{
    int index = recent.Index(path);
    if (index == wxNOT_FOUND)
        return;
    recent.RemoveAt(size_t(index));
    if (frame)
        frame->recentFilesChanged();
}

// --- Strings and messages ----------------------------------------------------

const wchar_t* Quorvane::loadString(unsigned id)
{
    return stringResources.text(id);
}

wxString Quorvane::shellText(const char* context, const char* english) const
{
    return wxString(stringResources.shellText(context, english));
}

bool Quorvane::messageParts(unsigned id, wxString& text, wxString& caption)
{
    const wchar_t* found = loadString(id);
    if (!found)
        return false;
    splitMessage(wxString(found), loadString(10085), text, caption);
    return true;
}

void Quorvane::splitMessage(const wxString& all, const wchar_t* toolFormat, wxString& text, wxString& caption)
{
    int lineFeed = all.Find('\n', true);
    if (lineFeed == wxNOT_FOUND) {
        text = all;
        caption = "Quorvane";
        return;
    }
    text = all.Left(size_t(lineFeed));
    wxString shortName = all.Mid(size_t(lineFeed) + 1);
    caption.clear();
    if (!shortName.empty())
        caption = toolFormat ? wxString::Format(wxString(toolFormat), shortName) : shortName;
}

void Quorvane::showMessage(unsigned id)
{
    wxString text;
    wxString caption;
    if (messageParts(id, text, caption))
        UiMessageBoxes::current().information(text, caption);
}

// --- Keys ----------------------------------------------------------------------

int Quorvane::FilterEvent(wxEvent& event)
{
    UiCommandStates::noteEvent(event);
    // While no document window is active the main frame takes the keys, so
    // the computer keyboard plays notes with no score open.
    wxEventType type = event.GetEventType();
    if ((type != wxEVT_KEY_DOWN && type != wxEVT_KEY_UP) || !frame || forwardingKey)
        return Event_Skip;
    wxWindow* target = wxDynamicCast(event.GetEventObject(), wxWindow);
    // The instrument panes pass their keys on themselves.
    if (!target || target == frame || UiInstrumentPanel::isPanel(target) ||
        frame->GetActiveChild())
        return Event_Skip;
    // A text field types its plain keys: digits, letters, Delete and the
    // arrows are not note keys or shortcuts there.
    const wxKeyEvent& key = static_cast<const wxKeyEvent&>(event);
    if (UiCommandStates::textFieldHasFocus(target) &&
        UiCommandStates::isPlainKey(key.GetKeyCode(), key.ControlDown(), key.AltDown()))
        return Event_Skip;
    forwardingKey = true;
    wxKeyEvent copy(static_cast<wxKeyEvent&>(event));
    copy.SetEventObject(frame);
    copy.SetId(frame->GetId());
    frame->GetEventHandler()->ProcessEvent(copy);
    forwardingKey = false;
    return Event_Skip;
}

// --- Help ----------------------------------------------------------------------

std::string Quorvane::homePage(int language)
{
    static const char* const suffixes[] = {"", "/fr", "/es", "/ca"};
    const char* suffix = language >= 1 && language <= 3 ? suffixes[language] : "";
    return std::string("https://") + QRV_MAKER_HOST + suffix;
}

std::string Quorvane::manualPage()
{
    return std::string("https://") + QRV_MAKER_HOST + "/manual";
}

std::string Quorvane::supportAddress()
{
    return std::string("mailto:support@") + QRV_MAKER_HOST;
}
