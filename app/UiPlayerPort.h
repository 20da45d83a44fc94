#pragma once

#include "foundation/BcString.h"

// What start-up, shut-down and the toggles ask of the player. The player of
// the playback layer is reached through it, so start-up can be tested with a
// fake and runs without sound where there is no player.
class UiPlayerPort
{
public:
    virtual ~UiPlayerPort() = default;

    // Loads the instruments and opens the audio device; false when that fails.
    virtual bool open() = 0;
    // Stops and releases everything; nothing on a closed player.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Why the last open failed, in the interface language; empty when it did not.
    virtual BcString openFailureReason() const = 0;

    // The stored mute state: muted sets the volume to 0, not muted to the
    // volume remembered when the player opened.
    virtual void applyMute(bool muted) = 0;
    // The volume reads 0 while a non-zero volume was remembered.
    virtual bool isMuted() const = 0;
};

// What start-up and shut-down ask of the MIDI input.
class UiMidiInputPort
{
public:
    virtual ~UiMidiInputPort() = default;

    // Opens and starts the first device that does; false when none does,
    // which is not an error.
    virtual bool open() = 0;
    virtual bool close() = 0;
};
