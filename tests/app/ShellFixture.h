#pragma once

#include "app/Quorvane.h"
#include "app/UiPlayerPort.h"
#include "platform/PlConfigFile.h"
#include "platform/PlLauncher.h"
#include "platform/gui/UiMessageBoxes.h"

#include <gtest/gtest.h>
#include <wx/app.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// What a fake records, in the order it happened, shared by the fakes of one
// test so the order of start-up and shut-down shows.
using EventLog = std::vector<std::string>;

class FakePlayer : public UiPlayerPort
{
public:
    explicit FakePlayer(EventLog& log) : log(log) {}
    bool open() override
    {
        log.push_back(opens ? "player.open" : "player.open failed");
        opened = opens;
        return opens;
    }
    void close() override
    {
        log.push_back("player.close");
        opened = false;
    }
    bool isOpen() const override { return opened; }
    BcString openFailureReason() const override { return opens ? BcString() : BcString(reason.c_str()); }
    void applyMute(bool mute) override
    {
        log.push_back(mute ? "player.mute" : "player.unmute");
        muted = mute;
    }
    bool isMuted() const override { return muted; }

    EventLog& log;
    bool opens = true;
    bool opened = false;
    bool muted = false;
    std::string reason = "No audio output device was found.";
};

class FakeMidiInput : public UiMidiInputPort
{
public:
    explicit FakeMidiInput(EventLog& log) : log(log) {}
    bool open() override
    {
        log.push_back("midi.open");
        return false;
    }
    bool close() override
    {
        log.push_back("midi.close");
        return true;
    }
    EventLog& log;
};

// Message boxes that record their texts and answer as told.
class FakeMessageBoxes : public UiMessageBoxes
{
public:
    FakeMessageBoxes() { previous = install(this); }
    ~FakeMessageBoxes() override { install(previous); }
    void information(const wxString& text, const wxString& caption) override
    {
        texts.push_back(text.utf8_string());
        captions.push_back(caption.utf8_string());
    }
    bool askYesNo(const wxString& text, const wxString&) override
    {
        texts.push_back(text.utf8_string());
        return answer == yes;
    }
    Answer askYesNoCancel(const wxString& text, const wxString&) override
    {
        texts.push_back(text.utf8_string());
        return answer;
    }
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    Answer answer = no;

private:
    UiMessageBoxes* previous = nullptr;
};

class FakeLauncher : public PlLauncher
{
public:
    FakeLauncher() { previous = install(this); }
    ~FakeLauncher() override { install(previous); }
    bool open(const std::string& target) override
    {
        opened.push_back(target);
        return true;
    }
    std::vector<std::string> opened;

private:
    PlLauncher* previous = nullptr;
};

// Sets an environment variable for the test's lifetime.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const char* value) : name(name)
    {
        const char* old = std::getenv(name);
        hadValue = old != nullptr;
        if (old)
            oldValue = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (hadValue)
            ::setenv(name.c_str(), oldValue.c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }

private:
    std::string name;
    std::string oldValue;
    bool hadValue = false;
};

// A user of one's own for each test: configuration, machine configuration
// and runtime folders in a scratch folder, and the fakes of the services.
class UiMidi;

class ShellTest : public ::testing::Test
{
public:
    // Lets the toolkit deliver what is waiting: events, calls, idle work.
    static void pump(int rounds = 5);

protected:
    ShellTest();
    ~ShellTest() override;

    std::string userFile() const { return configHome + "/Tolmarin/Quorvane.conf"; }
    // Writes values into the user's settings file.
    void storeUser(const std::string& section, const std::string& name, const std::string& value);
    void storeMachineLanguage(const std::string& tag);
    PlConfigFile readUser() const;
    // A score file written through the model, at root/name.
    std::string writeScore(const std::string& name);

    // Starts an application with the arguments, as the program does;
    // answers what its start-up answered.
    bool start(std::vector<std::string> arguments = {});
    // Closes its main window as File/Exit does and runs its shut-down.
    void stop();

    Quorvane& app() { return *application; }

    std::string root;
    std::string configHome;
    std::string dataHome;
    // Where the backups of the application go.
    std::string autoSaveFolder() const { return dataHome + "/Tolmarin/Quorvane/AutoSave"; }
    std::string machineDirs;
    std::string runtime;
    EventLog log;
    FakePlayer player{log};
    FakeMidiInput midiInput{log};
    // What start() hands the application; a test may put in its own.
    UiPlayerPort* playerService = &player;
    // The program's own MIDI input and recorder in place of the fake port.
    UiMidi* midiService = nullptr;
    FakeMessageBoxes boxes;
    FakeLauncher launcher;
    std::string localeRoot;

private:
    ScopedVariable config{"XDG_CONFIG_HOME", nullptr};
    ScopedVariable configDirs{"XDG_CONFIG_DIRS", nullptr};
    ScopedVariable dataHomeVariable{"XDG_DATA_HOME", nullptr};
    ScopedVariable runtimeDir{"XDG_RUNTIME_DIR", nullptr};
    ScopedVariable lcAll{"LC_ALL", nullptr};
    ScopedVariable lcMessages{"LC_MESSAGES", nullptr};
    ScopedVariable lang{"LANG", "C"};
    Quorvane* application = nullptr;
    wxAppConsole* toolkitApp = nullptr;
    std::vector<std::string> argumentStore;
};
