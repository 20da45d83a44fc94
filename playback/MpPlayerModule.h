#pragma once

// The player's state that is one set for the whole process, and the guard of
// playbackLock; seen by the player's own sources only.

#include "model/MnTicks.h"
#include "playback/MpPlayer.h"
#include "playback/SfPerformer.h"
#include "playback/SfSynthesizer.h"

#include <atomic>
#include <memory>
#include <mutex>

class MpAudioOutput;

struct MpPlayerModule
{
    // Made by open, deleted by close after the output is closed.
    std::atomic<std::recursive_mutex*> lock{nullptr};
    // The player that holds the module between open and close.
    const MpPlayer* owner = nullptr;
    // Interface thread only.
    MpAudioOutput* output = nullptr;

    MpPlayerModule() { performers[1].shareKeys(performers[0]); }

    // Guarded by the lock from here on.
    std::unique_ptr<SfSynthesizer> synthesizer;
    // The performance, and a spare that shares its keys: play and update
    // start the spare on the new copy outside the lock and swap it in under
    // the lock, so the audio thread never waits for a score to be prepared.
    // Only the interface thread changes which one performs.
    SfPerformer performers[2];
    SfPerformer* performer = &performers[0];
    SfPerformer* spare() { return performer == &performers[0] ? &performers[1] : &performers[0]; }
    double playClock = 0.0;     // ms of audio played
    double nextEventTime = 0.0; // clock value of the next step; 0: not playing
    bool paused = false;
    int tempo = MpPlayer::defaultTempo;
    int beatTicks = MnTicksQuarter;
    int displayFloor = 0;

    static MpPlayerModule& instance();
};

// A private copy of a score, the cursor that walks it and the bytes it was
// read from; owned by whoever holds it.
struct MpPlayer::Prepared
{
    MnScore* copy = nullptr;
    EdCursor* cursor = nullptr;
    BcMemoryFiler* bytes = nullptr;
};

// Holds playbackLock while it lives, when the lock exists.
class MpPlayer::Lock
{
public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    // False when the player is closed and nothing is locked.
    explicit operator bool() const { return mutex != nullptr; }

private:
    std::recursive_mutex* mutex;
};
