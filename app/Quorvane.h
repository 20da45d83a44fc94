#pragma once

#include "app/AutoSave.h"
#include "app/Settings.h"
#include "app/UiAutoSaveWorkspace.h"
#include "app/UiHandOff.h"
#include "app/UiIdleWork.h"
#include "app/UiNoteInput.h"
#include "app/UiContext.h"
#include "app/UiStringResources.h"

#include <wx/app.h>
#include <wx/arrstr.h>

#include <functional>
#include <memory>
#include <string>

class UiDocManager;
class UiInstanceServer;
class MpPlayer;
class UiMainFrame;
class UiMidi;
class UiMidiInputPort;
class UiPlayerPort;
class wxSingleInstanceChecker;

// The services that start-up opens and shut-down closes, handed in by the
// program's entry point (or by a test); a null port means the service is
// not there and its steps are skipped.
struct QuorvaneServices
{
    UiPlayerPort* player = nullptr;
    // The player behind `player`, which the editing commands reach through
    // the context while it is open; null without sound.
    MpPlayer* playback = nullptr;
    UiMidiInputPort* midiInput = nullptr;
    // The MIDI input and recorder behind `midiInput`, which the Record and
    // MIDI input commands reach through the context; null without them.
    UiMidi* midi = nullptr;
    // Where the translations are: locale/<code>/LC_MESSAGES/quorvane.mo.
    // Empty: the folder "locale" beside the executable.
    std::string localeRoot;
    // The program's own run: shut-down also deletes the class registry,
    // after which nothing may ask for a class. A test keeps it.
    bool endsProcess = true;
};

class Quorvane;

// What the idle work reaches of the running program.
class QuorvaneIdleHost : public UiIdleWork::Host
{
public:
    explicit QuorvaneIdleHost(Quorvane& app) : app(app) {}
    bool mainWindowExists() override;
    bool playerIsPlaying() override;
    bool playerIsPaused() override;
    void refreshPanels() override;
    void autoSavePass() override;
    void hotPlug() override;
    void updatePickUp() override;

private:
    Quorvane& app;
};

// The application object: it starts the program, owns the long-lived
// services and shuts the program down.
class Quorvane : public wxApp
{
public:
    static constexpr int versionMajor = 1;
    static constexpr int versionMinor = 5;
    static constexpr int versionRevision = 1;
    static constexpr int versionBuild = 803;

    explicit Quorvane(const QuorvaneServices& services = QuorvaneServices());
    ~Quorvane() override;

    // The application object of the running program.
    static Quorvane& instance();
    static bool exists();

    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;
    int FilterEvent(wxEvent& event) override;

    // The installed interface language, 0..3: "Language" of the machine's
    // settings file (Tolmarin/Quorvane.conf in the system's configuration
    // folders), else the user's locale.
    static int readInstallLanguage();

    // The text of a string id in the interface language, cached for the
    // run; null when the language has no such string.
    const wchar_t* loadString(unsigned id);
    // A command's hint: the text before the string's last line feed under
    // the caption "<short name> tool" made from the text after it.
    void showMessage(unsigned id);
    // The parts of showMessage's box: text and caption, false when the id has
    // no string.
    bool messageParts(unsigned id, wxString& text, wxString& caption);
    // The rule of those parts: the text before the last line feed; the
    // caption toolFormat ("%ls tool") of what follows it, empty when nothing
    // follows, "Quorvane" when there is no line feed.
    static void splitMessage(const wxString& all, const wchar_t* toolFormat, wxString& text, wxString& caption);
    // A menu or dialog text in the interface language.
    wxString shellText(const char* context, const char* english) const;

    // The tool windows and checks that later parts of the shell plug in:
    // the options dialog (Tools/Options...), the update check (Help/Check for
    // updates...) and the back-side card (the status bar's TURN pane). Each
    // command runs its hook inside an edit transaction of its own, so a
    // running tool ends first; without a hook the command is greyed.
    using Hook = void (*)(Quorvane& app);
    static void setOptionsDialog(Hook hook);
    static void setUpdateCheck(Hook hook);
    static void setBackSideCard(Hook hook);
    void cmdOptions();
    void OnCheckForUpdates();
    static bool updateCheckInstalled();
    // start: clears the result and starts a check in the background; manual
    // (Help/Check for updates...) also says when this version is the
    // newest. Otherwise takes the result of a finished check, once, and
    // offers a newer version's download page.
    void checkUpdateResult(bool start, bool manual);
    bool updateCheckManual = false;
    void cmdBackSide();

    // The help commands.
    void cmdAbout();
    void cmdUserGuide();
    void cmdTechnicalSupport();
    // Home page, manual and support addresses; the home page in the language
    // of the setting "Language".
    static std::string homePage(int language);
    static std::string manualPage();
    static std::string supportAddress();

    // Opens files as documents (the command line, dropped files, a second
    // start); answers how many opened.
    int openFiles(const wxArrayString& paths);

    // The four recent files, newest first, kept in the settings file.
    const wxArrayString& recentFiles() const { return recent; }
    void addRecentFile(const wxString& path);
    void removeRecentFile(const wxString& path);

    Settings settings;
    // The backups of modified documents, and what they see of the program.
    UiAutoSaveWorkspace autoSaveWorkspace{*this};
    AutoSave autoSave{autoSaveWorkspace};
    int interfaceLanguage = 0;
    int keyboardLanguage = 0;
    // Snap guide lines, ortho mode and playback tracking belong to the
    // editing context, where the commands that flip them live.
    EdContext::Toggles& toggles() { return context.toggles(); }
    UiContext& editingContext() { return context; }

    UiDocManager* documentManager() { return docManager; }
    UiMainFrame* mainFrame() { return frame; }
    UiStringResources& strings() { return stringResources; }
    UiPlayerPort* player() { return services.player; }
    // The open player, and the MIDI input with its recorder; null without them.
    MpPlayer* playback() { return context.player(); }
    UiMidi* midi() { return services.midi; }

    // Toggles and layout: read when the main frame is made, written when it
    // closes.
    void loadCustomState();
    void saveCustomState();

    // The work between messages: the backups' pass, playback tracking, the
    // MIDI device poll and the update check's answer. True asks for another
    // call before the next message.
    bool onIdle();
    UiIdleWork& idleWork() { return idle; }

    // The application's selection observer: the note-input state and the
    // view's cursor follow the active view's selection.
    void selectionChanged();
    // The toolbar's tempo box, which the toolbar puts in (not owned; null
    // when it goes). Read as 40..208, 80 without a box.
    void setTempoBox(UiTempoBox* box) { tempoBox = box; }
    int toolbarTempo() const;
    void setToolbarTempo(int beatsPerMinute);

    // The MIDI input's device poll, which idle work calls while no playback
    // is tracked.
    void setMidiHotPlug(std::function<void()> poll) { midiHotPlug = std::move(poll); }
    // The MIDI input's data from its driver thread: posted here, it reaches
    // OnMidiInData on the interface thread in arrival order.
    UiHandOff& midiHandOff() { return *handOff; }
    void OnMidiInData(unsigned timestamp, unsigned message);
    // Where OnMidiInData passes the data: the MIDI input's onData.
    using MidiDataReceiver = std::function<void(unsigned timestamp, unsigned message)>;
    void setMidiDataReceiver(MidiDataReceiver receiver) { midiData = std::move(receiver); }

    // Called by the main frame as it is destroyed.
    void frameDestroyed(UiMainFrame* dying);

private:
    bool startUp();
    void shutDown();
    bool handOverToRunningInstance();
    void loadRecentFiles();
    void saveRecentFiles() const;
    void registerCommands();
    void reportPlayerFailure();
    void exitAtFirstIdle(wxIdleEvent& event);
    void idleEvent(wxIdleEvent& event);

    QuorvaneServices services;
    UiStringResources stringResources;
    UiContext context;
    EdContext* previousContext = nullptr;
    UiDocManager* docManager = nullptr;
    UiMainFrame* frame = nullptr;
    std::unique_ptr<wxSingleInstanceChecker> instanceChecker;
    std::unique_ptr<UiInstanceServer> instanceServer;
    bool handedOver = false;
    bool started = false;
    wxArrayString recent;
    wxString playerFailure;
    bool forwardingKey = false;
    QuorvaneIdleHost idleHost{*this};
    UiIdleWork idle{idleHost};
    std::function<void()> midiHotPlug;
    UiTempoBox* tempoBox = nullptr;
    MidiDataReceiver midiData;
    std::unique_ptr<UiHandOff> handOff;
    friend class QuorvaneIdleHost;
};
