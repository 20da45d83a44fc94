#pragma once

#include "foundation/BcObject.h"
#include "foundation/BcSettings.h"

class PlConfigFile;

// The thirteen user settings, read once at start-up and written when the
// options dialog is confirmed. They live in the section "Settings" of the
// user's settings file, each under its own name as decimal text. The core
// reads the colours and the multisampling through BcSettings.
class Settings : public BcObject, public BcSettings
{
    BC_DECLARE_CREATABLE_CLASS(Settings)
public:
    Settings() = default;

    // Reads the values of the user's settings file; true when at least one
    // value was read. A missing file or value keeps the field.
    bool load();
    bool load(const PlConfigFile& file);
    // Writes all thirteen values into the user's settings file, keeping its
    // other sections; false, the old file unchanged, when it cannot be written.
    bool save() const;
    void store(PlConfigFile& file) const;

    int value(Key key) const override;

    // The samples of the screen's multisampling for an "Antialiasing" value.
    static int samples(int antialiasing);

    static constexpr const char* section = "Settings";
    static constexpr int maxDragThreshold = 100;
    static constexpr int maxChordThreshold = 200;

    int language = 0;                 // 0 English, 1 French, 2 Spanish, 3 Catalan
    bool useRightButtonToPan = true;
    int dragThreshold = 10;           // pixels
    int chordThreshold = 64;          // milliseconds
    int backgroundColor = 0xFFFFFF;   // 0x00BBGGRR, the top byte a flag kept as it is
    int paperDefaultColor = 0xFFFFFF;
    int selectionColor = 0xFF7F00;
    int selectionVoice2Color = 0x00A000;
    int playingColor = 0x3695F2;
    int antialiasing = 2;
    bool autoSave = true;
    int autoSaveMinutes = 2;
    bool checkForUpdates = true;
};
