#pragma once

// The user settings that the core reads, each a 32-bit value read afresh at
// every use (so a change in the options dialog shows at the next redraw).
// The application installs its own settings object at start-up; until then,
// and in tests and headless tools, the defaults answer.
//
// Colours are 0x00BBGGRR: red in the low byte, green next, blue third.
class BcSettings
{
public:
    enum Key
    {
        backgroundColor,      // clear colour of the screen, colour mode 0
        selectionColor,       // selection, drag rectangle, snapped guides
        selectionVoice2Color, // selected notes of the second voice
        playingColor,         // notes while they sound
        paperDefaultColor,    // paper of new sheet music; a non-zero fourth byte asks for texture
        antialiasing,         // 0, 1, other: 2, 4, 8 samples on screen
        keyCount
    };

    virtual ~BcSettings();

    virtual int value(Key key) const;

    // The value of a key when nothing else is stored; 0 for an unknown key.
    static int defaultValue(Key key);
    // The name under which the application stores the key ("SelectionColor").
    static const char* name(Key key);

    // The installed settings, or the defaults; never null.
    static const BcSettings& current();
    // Installs the application's settings (not owned); null restores the
    // defaults. The object must outlive its installation.
    static void install(const BcSettings* settings);
};
