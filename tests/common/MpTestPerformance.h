#pragma once

#include "editing/EdCursor.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "playback/MpPerformer.h"
#include "playback/MpPerformerListener.h"

#include <ostream>
#include <vector>

// One note event of a performance, at the staff time of the cursor when it
// happened (after any jump of that step).
struct MpRecordedNote
{
    int tick;
    bool on;
    int instrument;
    int key;
    double velocity; // 0 for a note off

    bool operator==(const MpRecordedNote& other) const
    {
        return tick == other.tick && on == other.on && instrument == other.instrument && key == other.key &&
               velocity == other.velocity;
    }
};

inline std::ostream& operator<<(std::ostream& out, const MpRecordedNote& note)
{
    out << "{" << note.tick << (note.on ? " on " : " off ") << "instrument " << note.instrument << " key "
        << note.key;
    if (note.on)
        out << " velocity " << note.velocity;
    return out << "}";
}

// Records every note a performer reports, stamped with its cursor's time.
class MpRecordingListener : public MpPerformerListener
{
public:
    explicit MpRecordingListener(const EdCursor* clock = nullptr) : clock(clock) {}

    void noteOn(int instrumentType, int key, double velocity) override
    {
        notes.push_back(MpRecordedNote{now(), true, instrumentType, key, velocity});
    }
    void noteOnTimed(int instrumentType, int key, double velocity, unsigned) override
    {
        noteOn(instrumentType, key, velocity);
    }
    void noteOff(int instrumentType, int key) override
    {
        notes.push_back(MpRecordedNote{now(), false, instrumentType, key, 0.0});
    }

    // The notes of one key, in order.
    std::vector<MpRecordedNote> notesOfKey(int key) const
    {
        std::vector<MpRecordedNote> found;
        for (const MpRecordedNote& note : notes) {
            if (note.key == key)
                found.push_back(note);
        }
        return found;
    }

    std::vector<MpRecordedNote> notes;

private:
    int now() const { return clock ? clock->time() : 0; }

    const EdCursor* clock;
};

// A performance of a score along its first staff from a start time,
// recording the notes and the measures entered (a measure is entered when
// the cursor stands at its start after a step).
template <typename Performer = MpPerformer>
struct MpTestPerformanceOf
{
    explicit MpTestPerformanceOf(MnScore& score, int startTime = 0) : staff(score.staff(0))
    {
        cursor.setAtStaffStart(staff, -1);
        cursor.setPosition(startTime, 0, false);
        performer.start(&listener, &cursor, true);
    }
    ~MpTestPerformanceOf() { performer.reset(); }
    MpTestPerformanceOf(const MpTestPerformanceOf&) = delete;
    MpTestPerformanceOf& operator=(const MpTestPerformanceOf&) = delete;

    int step()
    {
        const int ticks = performer.perform();
        const MnMeasure* measure = staff->measureAtTime(cursor.time());
        if (measure && measure->startTime() == cursor.time())
            entered.push_back(measure->index());
        return ticks;
    }

    // Performs to the end of the staff; a step limit guards against a
    // performance that never ends.
    void run(int stepLimit = 1 << 20)
    {
        for (int i = 0; i < stepLimit && !performer.isFinished(); ++i)
            step();
    }

    MnStaff* staff;
    EdCursor cursor;
    MpRecordingListener listener{&cursor};
    Performer performer;
    std::vector<int> entered;
};

using MpTestPerformance = MpTestPerformanceOf<>;

// The 1-based measures of the first staff in the order a performance
// enters them.
inline std::vector<int> measuresEntered(MnScore& score)
{
    MpTestPerformance performance(score);
    performance.run();
    return performance.entered;
}
