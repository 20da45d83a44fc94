#pragma once

#include "foundation/BcString.h"

// The string resources of the interface language that the core reads (the
// default texts of new credits, for instance). The application installs its
// own table at start-up; until then the English texts answer.
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

    virtual ~BcStringResources();

    // The text of a string resource; empty for an id without text.
    virtual BcString loadString(unsigned id) const;

    // The installed table, or the English defaults; never null.
    static const BcStringResources& current();
    // Installs the application's table (not owned); null restores the
    // defaults. The object must outlive its installation.
    static void install(const BcStringResources* resources);
};
