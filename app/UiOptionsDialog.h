#pragma once

#include "app/UiControlHost.h"

#include <functional>

class Quorvane;
class Settings;

// The options dialog: the thirteen user settings. The dialog's logic works
// on any control host; `run` shows it on toolkit controls. Every value
// reaches the settings, and their file, only through OK.
class UiOptionsDialog
{
public:
    static constexpr unsigned templateId = 117;
    // The swatches of background, paper default, selection, voice-2
    // selection and playing, in member order.
    static const int swatchIds[5];

    UiOptionsDialog(UiControlHost& host, Settings& settings, int runningLanguage, int installedLanguage);

    // Fills the members and the controls; the host's notifications go to
    // the dialog from here on.
    void initDialog();
    // One transfer in the order of the template; false when a field of the
    // controls failed its check (the user was told).
    bool exchange(bool fromControls);
    // The defaults of the settings, the installed language and no flags,
    // shown at once; nothing is stored.
    void restoreDefaults();
    void pickColor(int index);
    // OK: false, the dialog staying open, when a field failed its check.
    bool ok();

    // Called with true for OK, false for Cancel, when the dialog ends.
    void onEnd(std::function<void(bool confirmed)> end) { ending = std::move(end); }

    // Chooses a colour starting from the one given; false when cancelled.
    // The default is the toolkit's colour dialog; tests put in their own.
    using ColorPicker = bool (*)(int& color);
    static ColorPicker setColorPicker(ColorPicker picker);

    // The note that a new language comes at the next start, written in that
    // language.
    static const char* languageChangeMessage(int language);

    // Tools/Options...: the dialog, modal, over the main window.
    static void run(Quorvane& app);

    int language = 0;
    int panButton = 1;
    int dragThreshold = 10;
    int chordThreshold = 64;
    int colors[5] = {};
    int flags[5] = {};
    int antialiasing = 2;
    int autoSave = 1;
    int autoSaveMinutes = 2;
    int checkForUpdates = 1;

private:
    void notified(int id, UiControlHost::Notification what);
    void enableMinutes();

    UiControlHost& host;
    Settings& settings;
    int runningLanguage;
    int installedLanguage;
    std::function<void(bool)> ending;
};
