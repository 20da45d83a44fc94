#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcObject.h"

class MnScore;

// One played note. In the recorder's events: start and end in milliseconds
// since recording started, key a key index (0..87, A0 = 0); the note is
// still held while its end is not above its start. In the quantised
// scratch: onset and duration in model ticks.
struct MrEvent
{
    int start = 0;
    int end = 0;
    int key = 39;

    bool isOpen() const { return end <= start; }
    bool operator==(const MrEvent& other) const
    {
        return start == other.start && end == other.end && key == other.key;
    }
};

// Captures the notes played while recording is on (on a MIDI keyboard, the
// computer keyboard or the instrument panels) and turns them into a new
// one-staff score afterwards: every onset goes onto one grid, the smallest
// gap between onsets that exceeds 200 ms, as a quarter note.
//
// User-interface thread only: the MIDI input reaches it through its
// hand-off, never from the driver's thread.
class MrRecorder : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(MrRecorder)
public:
    static constexpr int eventBlock = 256;
    // Onsets closer than this are one onset to the grid.
    static constexpr unsigned gridThreshold = 200;
    static constexpr int quarter = 60480;

    MrRecorder();

    // As the Record command does it: the events emptied, the start tick set
    // and recording on.
    void start(unsigned long long now);
    // Recording off; the events stay for toScore until the next start.
    void stop() { recording = false; }
    bool isRecording() const { return recording; }
    unsigned long long startTick() const { return startedAt; }

    // A key struck at the tick count: ends an open event of the same key
    // (a key struck again before its release) and inserts the new one in
    // order of start, then key, the newer of two equal events first.
    // Nothing while not recording or for a key outside 0..87.
    void addEvent(unsigned long long time, int key);
    // The release rule that the MIDI input and the computer keyboard share:
    // of the events that started before the time, the first open one of
    // that key ends there; only that one. Nothing while not recording.
    void releaseKey(unsigned long long time, int key);

    // The events quantised into a new score (the caller owns it); null when
    // no two onsets lie more than 200 ms apart. Onsets that fall past the
    // longest staff a score may hold are left out.
    MnScore* toScore();

    const BcArray<MrEvent>& events() const { return played; }

private:
    // Milliseconds since the start, on the low 32 bits of both ticks.
    int relative(unsigned long long time) const;
    void endOpenEvent(int rel, int key);

    bool recording = false;
    unsigned long long startedAt = 0;
    BcArray<MrEvent> played;
    BcArray<MrEvent> quantised;
};
