#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcObject.h"
#include "model/MnMeasure.h"

class EdCursor;
class MnChord;
class MnDynamic;
class MnNote;
class MnPedal;
class MnScore;
class MnStaff;
class MpJump;
class MpPerformerListener;

// Walks a score in play order and tells a listener which notes start and
// stop. It is driven from outside: each perform handles one point in time
// and answers how many ticks later the next call is due; the player turns
// ticks into audio time, the MIDI file writer into delta times, and the
// unfolder only follows the order. The performer walks the cursor's staff
// through repeats, endings and jumps, and at each point sounds the chords of
// the measure of the same index in every staff of the score; it turns
// dynamics and hairpins into velocities, holds piano notes under the sustain
// pedal, continues ties, rolls arpeggios and shortens staccato notes.
//
// perform runs on the audio thread over the player's private copy of the
// score: it allocates nothing, opens no cache scope, and relies on what
// start prepared, so the score must not change between start and reset.
class MpPerformer : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(MpPerformer)
public:
    static constexpr int arpeggioStep = 7560; // one 32nd note per chain position
    static constexpr int staccatoRelease = 7560;
    static constexpr int staccatissimoRelease = 3780;
    static constexpr int startLevel = 71; // mp

    MpPerformer();
    ~MpPerformer() override;
    MpPerformer(const MpPerformer&) = delete;
    MpPerformer& operator=(const MpPerformer&) = delete;

    // Attaches a listener and a cursor (neither owned) and prepares a fresh
    // performance from the cursor's time: dynamics level mp, no hairpin, the
    // jump list and pass counters built anew, the pedal up, no jump pending.
    // Without restart the pending step stays, so that a performer restarted
    // on an edited copy goes on at the time already scheduled.
    virtual void start(MpPerformerListener* listener, EdCursor* cursor, bool restart);
    // Detaches listener and cursor and empties the lists.
    virtual void reset();
    // Advances by the pending step (following a jump that is taken there),
    // sounds what starts and stops at the new time and answers the ticks
    // until the next call.
    virtual int perform();
    // True once the cursor is gone, has no staff or has reached its end.
    virtual bool isFinished() const;

    // How often the measure (1-based) has been entered; 0 outside the staff.
    int passCount(int measureIndex) const;
    // Where the cursor will stand after the ticks: its time plus the ticks,
    // or the target of the first jump in between that would be taken. Asks
    // copies of the jumps, so nothing of the performance changes.
    int seek(int ticks) const;
    // Builds the jump list and zeroes the pass counters from the measures of
    // the cursor's staff.
    void buildJumps();
    // Inserts a jump (taking it over) at its place: by time, and at one time
    // repeats first, the last added first, then the other jumps in the order
    // added, then the endings.
    void addJump(MpJump* jump);

    // The velocity level of a dynamic mark kind (ppp..fff); 64 for any other.
    static int dynamicToVelocity(int kind);
    // The time of the first grid point of the score: 0, or earlier when
    // grace notes lead a voice of its first measure. A performance that
    // starts there sounds them; the MIDI export starts there.
    static int firstGridTime(const MnScore* score);

    MpPerformerListener* listener() const { return performerListener; }
    EdCursor* cursor() const { return performerCursor; }
    // The value the last perform answered; the next perform advances by it.
    int lastStep() const { return step; }
    // The unfolder walks a measure at a time.
    void setLastStep(int ticks) { step = ticks; }
    // Takes over the pending step and the last onset of another performer:
    // one started without restart on an edited copy goes on from there.
    void continueFrom(const MpPerformer& other)
    {
        step = other.step;
        onsetTime = other.onsetTime;
    }
    // Staff time of the latest chord that started on its own time, and the
    // tick count when it sounded.
    int lastOnsetTime() const { return onsetTime; }
    unsigned long long lastOnsetTick() const { return onsetTick; }
    // The 1-based measure to which a jump at the end of the current measure
    // will lead; -1 when none is pending.
    int pendingJumpMeasure() const { return pendingMeasure; }
    int dynamicLevel() const { return level; }
    int hairpinOffset() const { return offset; }
    bool isPedalDown() const { return pedalDown; }
    bool isPedalHeld(int key) const { return key >= 0 && key < keyCount && pedalHeld[key]; }
    int jumpCount() const { return jumps.count(); }
    MpJump* jump(int index) const { return jumps[index]; }
    // The state stack of the jumps, bottom first (MpJump::State).
    const BcArray<int>& jumpStates() const { return stateStack; }

protected:
    // Finds the chords to sound by asking every staff and voice at every
    // grid time up to now, instead of through the lists of played chords
    // kept per voice; slow, and the answer the kept lists must give.
    void setRescanning(bool rescan) { rescanning = rescan; }

private:
    static constexpr int keyCount = 88;

    // What one perform call knows while it sounds.
    struct Moment
    {
        int now = 0;              // time in the sounding measure
        int measureIndex = 0;     // 1-based index of the sounding measure
        bool jumped = false;      // a jump was taken in this call
        int leftIndex = 0;        // 1-based index of the measure the cursor left; 0 none
        bool pedalPressed = false; // a pedal line started in this call
    };

    // A chord that acts now, with the grid time at which it plays.
    struct Candidate
    {
        MnPlayedChord played;
        int staff;
        int voice;
    };

    // Performance (MpPerformer.cpp).
    MnStaff* cursorStaff() const;
    static MnMeasure* measureHolding(const MnStaff* staff, int time);
    void prepareScore(const MnScore* score);
    void collectLines(const MnScore* score);
    void applyDynamics(int now, bool jumped);
    void applyPedals(const MnStaff* staff, int now, Moment& moment);
    void releasePedal();
    void releaseHeldKeys();
    static int instrumentTypeOf(const MnScore* score, int staffIndex);
    void endStaff(const MnScore* score, const Moment& moment);

    // Jumps (MpPerformerJumps.cpp).
    void clearJumps();
    void advance(MnStaff* staff, Moment& moment);
    int topState() const;
    void applyState(int before, int after);
    bool firstTakenBetween(int after, int upTo, int& target) const;

    // Sounding (MpPerformerSounding.cpp).
    int stepLength(const MnMeasure* measure);
    void soundMeasure(const MnScore* score, int first, const Moment& moment);
    void findCandidates(const MnScore* score, int first, const Moment& moment);
    void refreshPlayedChords(const MnScore* score, int measureIndex);
    void soundChord(const MnScore* score, int staffIndex, int voice, const MnPlayedChord& played, const Moment& moment);
    void release(int instrumentType, int key, const Moment& moment);
    void releaseNotes(const MnChord* chord, int instrumentType, const Moment& moment);
    int chainIndex(MnNote* note, const Moment& moment);
    double velocityFor(int volume) const;

    MpPerformerListener* performerListener = nullptr;
    EdCursor* performerCursor = nullptr;
    int step = 0;
    int onsetTime = 0;
    unsigned long long onsetTick = 0;
    int level = startLevel;
    int offset = 0;
    BcArray<MnDynamic*> dynamics;
    BcArray<MpJump*> jumps;
    BcArray<int> stateStack;
    BcArray<int> passCounts;
    bool pedalDown = false;
    bool pedalHeld[keyCount] = {};
    int pendingMeasure = -1;

    // What start prepares so that perform neither allocates nor adds up the
    // score again.
    const MnScore* preparedScore = nullptr;
    BcArray<MnPedal*> pedals;
    int leadIn = 0;
    // Per measure index: some note of that measure in some staff carries an
    // arpeggio line.
    BcArray<bool> arpeggioMeasures;
    // Per staff and voice (staff x 2 + voice): what chordPlayedAt answers in
    // the measure being played, with its next measure.
    BcArray<BcArray<MnPlayedChord>> playedChords;
    int playedMeasure = 0;
    int playedNext = -1;
    BcArray<Candidate> candidates;
    BcArray<MnNote*> chainNotes;
    int stepMeasure = 0;
    int stepCached = 0;
    bool rescanning = false;
};
