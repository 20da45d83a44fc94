#pragma once

#include "app/UiControlHost.h"
#include "editing/EdContext.h"

#include <functional>
#include <string>
#include <vector>

class UiBitmapComboBox;
class wxWindow;

// Transpose Notes: to a key, by an interval or by a number of semitones,
// in a direction, with two options. The dialog changes nothing itself; the
// command reads its members after OK. Only the value control of the chosen
// way shows, and the direction follows the sign of the semitone count. The
// logic works on any control host; `run` shows it on toolkit controls.
class UiTransposeDialog
{
public:
    static constexpr unsigned templateId = 122;
    enum Control
    {
        toKeyRadio = 1000,
        keyList = 1292,
        intervalList = 1293,
        semitonesEdit = 1086,
        semitonesUpDown = 1324,
        upRadio = 1113,
        downRadio = 1210,
        autoRadio = 1111,
        keySignaturesCheck = 1084,
        doubleAccidentalsCheck = 1085,
        okButton = 1,
        cancelButton = 2,
    };
    enum Direction { up = 0, down = 1, automatic = 2 };

    // The key combo, when the host made toolkit controls, gets the
    // key-signature pictures with its texts.
    UiTransposeDialog(UiControlHost& host, UiBitmapComboBox* keyCombo = nullptr);

    // Fills the lists, shows the members and hears the host from here on.
    void initDialog();
    // One transfer in the order of the template, then the visibility of the
    // value controls; false when a field failed its check (the user was told).
    bool exchange(bool fromControls);
    void onModeChanged();
    void onSemitonesChanged();
    void onDirectionChanged();
    // OK: false, the dialog staying open, when a field failed its check.
    bool ok();
    void onEnd(std::function<void(bool confirmed)> end) { ending = std::move(end); }

    // The members from and into the command's choice.
    void load(const EdContext::TransposeChoice& choice);
    void store(EdContext::TransposeChoice& choice) const;

    // The entries of the key list (string 10089) and interval list (10090).
    static std::vector<std::string> keyEntries();
    static std::vector<std::string> intervalEntries();
    // The picture of key entry i (i - 7 fifths): 243 down to 236 for the
    // flats and C, 250 down to 244 for the sharps.
    static unsigned keyPicture(int entry) { return entry <= 7 ? 243u - unsigned(entry) : 258u - unsigned(entry); }

    // Note/Transpose key/interval...: the dialog, modal, over the main
    // window; true after OK with the choice filled in.
    static bool run(EdContext::TransposeChoice& choice);
    // Tests drive the dialog on a memory host instead of the toolkit's.
    using Driver = std::function<void(UiTransposeDialog& dialog, UiControlHost& host)>;
    static void setDriver(Driver driver);

    int mode = 0;
    int key = 0;
    int interval = 0;
    int semitones = 1;
    int direction = automatic;
    int changeKeySignatures = 1;
    int doubleAccidentals = 1;
    bool initialized = false;

private:
    void notified(int id, UiControlHost::Notification what);

    UiControlHost& host;
    UiBitmapComboBox* keyCombo;
    std::function<void(bool)> ending;
};
