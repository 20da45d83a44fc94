#pragma once

#include "app/UiControlHost.h"
#include "editing/FretboardTuning.h"

#include <functional>

class UiDataExchange;

// The group of controls that edits a fretted instrument's tuning: the
// preset list, each string's letter (with accidental) and octave, one string
// less or more, and the frets. The fretboard's tuning dialog and the
// tablature page both carry it, with the same control ids. The preset list
// holds "Custom" only while the tuning matches no preset.
//
// On a property page the group shows several tunings at once: a mixed
// string count hides every string and blocks "+" and "-", mixed frets read
// "*Various*", and a letter or octave of -1 selects nothing. A page takes
// what its fields hold as they are typed, so it turns the checks off.
class UiTuningControls
{
public:
    static constexpr int presetList = 1292;
    static constexpr int minusButton = 1353;
    static constexpr int plusButton = 1365;
    static constexpr int fretsEdit = 1375;
    static constexpr int fretsUpDown = 1377;
    static const int labelIds[FretboardTuning::maxStrings];
    static const int letterIds[FretboardTuning::maxStrings];
    static const int octaveIds[FretboardTuning::maxStrings];
    static constexpr int minStrings = 3;
    static constexpr int customIndex = FretboardTuning::presetCount;

    explicit UiTuningControls(UiControlHost& host);

    // Fills the lists and shows the tuning.
    void init(const FretboardTuning& start);
    // One transfer of the group; false when a field of the controls failed
    // its check (the user was told), with the tuning as it was.
    bool exchange(bool fromControls);
    // The same within a transfer of the whole dialog.
    bool exchange(UiDataExchange& dx);
    // Which preset the tuning is, "Custom" in or out of the list; true when
    // the choice changed.
    bool updatePresetSelection();
    // A notification of the host; false when it concerns none of the group.
    // A change the user made calls changed.
    bool notified(int id, UiControlHost::Notification what);

    // 0..4 a preset, 5 "Custom", -1 none.
    int presetIndex = -1;
    FretboardTuning tuning;
    bool initialised = false;
    // The tunings shown differ in their string count, or in their frets.
    bool stringsMixed = false;
    bool fretsMixed = false;
    // Reading checks the frets and tells the user of a failure; without the
    // checks an edit that holds no count of frets is left unread.
    bool checksFields = true;
    // The most frets the edit and its up-down offer; set before init.
    int fretLimit = FretboardTuning::maxFrets;
    // The user changed the tuning through the group.
    std::function<void()> changed;

private:
    std::vector<std::string> presetNames(bool withCustom) const;
    void fretsChanged();
    void choosePreset(int index);
    void userChanged();

    UiControlHost& host;
};
