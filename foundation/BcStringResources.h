#pragma once

#include "foundation/BcString.h"

// The string resources of the interface language that the core reads (the
// default texts of new credits, for instance). The application installs its
// own table at start-up; until then the English texts answer.
//
// The English texts are one table, shared by the core and the shell: the
// shell's translations are keyed by these ids, so a text is written once.
class BcStringResources
{
public:
    static constexpr unsigned untitled = 10006;  // "Untitled"
    static constexpr unsigned unknown = 10007;   // "Unknown"
    static constexpr unsigned newText = 10031;   // "New text"
    // Why the player runs silent.
    static constexpr unsigned noInstrumentBank = 10117;      // %1: path
    static constexpr unsigned damagedInstrumentBank = 10118; // %1: path, %2: what is wrong
    static constexpr unsigned noAudioDevice = 10119;
    static constexpr unsigned audioDeviceFailed = 10120;     // %1: the audio library's reason
    // Why MIDI input could not be switched on.
    static constexpr unsigned noMidiInputDevice = 10121;
    static constexpr unsigned midiInputUnavailable = 10122;
    static constexpr unsigned midiInputDeviceFailed = 10123; // %1: the device's name

    struct Entry
    {
        unsigned id;
        const char* text;  // UTF-8
    };

    virtual ~BcStringResources();

    // The text of a string resource; empty for an id without text.
    virtual BcString loadString(unsigned id) const;

    // The English text of an id, or null when the table has none.
    static const char* english(unsigned id);
    // The English table in id order, for the tools that make the catalogs.
    static const Entry* englishTable(int& count);

    // The installed table, or the English defaults; never null.
    static const BcStringResources& current();
    // Installs the application's table (not owned); null restores the
    // defaults. The object must outlive its installation.
    static void install(const BcStringResources* resources);
};
