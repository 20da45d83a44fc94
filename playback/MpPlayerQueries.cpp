// What the interface thread asks while a score plays: whether, where, and
// which chords and keys sound.

#include "playback/MpPlayer.h"

#include "editing/EdCursor.h"
#include "model/MnChord.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "playback/MpPlayerModule.h"

bool MpPlayer::isPlaying(const QuorvaneDocument* document) const
{
    if (!isOpen())
        return false;
    Lock lock;
    if (!lock || MpPlayerModule::instance().nextEventTime <= 0.0 || !playCursor)
        return false;
    return !document || document == playedDocument;
}

EdNotePath& MpPlayer::playingPosition(EdNotePath& out, unsigned lookAheadMilliseconds) const
{
    out = playPosition;
    if (!isOpen() || !playCursor)
        return out;
    Lock lock;
    if (!lock)
        return out;
    const MpPlayerModule& module = MpPlayerModule::instance();
    const MnStaff* staff = playCursor->staff();
    if (!staff || staff->measureCount() < 1)
        return out;
    int time = playCursor->time();
    if (lookAheadMilliseconds > 0 && time < staff->totalTicks()) {
        const double ahead = double(module.beatTicks) * module.tempo * lookAheadMilliseconds / 60000.0;
        time = module.performer->seek(ahead < double(MnMaxStaffTicks) ? int(ahead) : MnMaxStaffTicks);
    }
    if (module.displayFloor >= 0 && time < module.displayFloor)
        time = module.displayFloor;
    const MnMeasure* measure = nullptr;
    if (time < 0)
        measure = staff->measure(0);
    else if (time >= staff->totalTicks())
        measure = staff->measure(staff->measureCount() - 1);
    else
        measure = staff->measureAtTime(time);
    if (!measure)
        return out;
    out.staffIndex = staff->index();
    out.measureIndex = measure->index() - 1;
    return out;
}

bool MpPlayer::isNotePlaying(const MnChord* chord, int pass) const
{
    if (!isOpen() || !chord || !chord->measure())
        return false;
    Lock lock;
    const MpPlayerModule& module = MpPlayerModule::instance();
    if (!lock || module.nextEventTime <= 0.0 || !playCursor)
        return false;
    const MnMeasure* measure = chord->measure();
    MnStaff* chordStaff = measure->staff();
    if (!chordStaff || chordStaff->score() != playedScore)
        return false;
    if (module.displayFloor >= 0 && measure->startTime() + chord->time() < module.displayFloor)
        return false;
    if (pass != 0 && pass != module.performer->passCount(measure->index()))
        return false;

    // The measure of the copy that the cursor stands in, and the one that
    // plays after it; measures count by index, so every staff's chord at
    // the play position sounds.
    const MnStaff* staff = playCursor->staff();
    if (!staff || staff->measureCount() < 1)
        return false;
    const int time = playCursor->time();
    const MnMeasure* current = time < 0 ? staff->measure(0) : staff->measureAtTime(time);
    if (!current)
        return false;
    const int now = time < 0 ? time : time - current->startTime();
    int nextIndex = module.performer->pendingJumpMeasure();
    if (nextIndex == -1)
        nextIndex = current->index() + 1;
    if (nextIndex < 1 || nextIndex > staff->measureCount())
        nextIndex = 0;
    // The chord's own staff holds the measure that its grace notes lead to.
    MnMeasure* next =
        nextIndex >= 1 && nextIndex <= chordStaff->measureCount() ? chordStaff->measure(nextIndex - 1) : nullptr;

    int length = 0;
    const int start = chord->playbackTime(next, length);
    if (measure->index() == current->index())
        return start <= now && now < start + length;
    if (nextIndex != 0 && measure->index() == nextIndex && start < 0) {
        const int before = start + current->length();
        return before <= now && now < before + length;
    }
    return false;
}

void MpPlayer::keysDown(unsigned char keys[keyCount]) const
{
    for (int key = 0; key < keyCount; ++key)
        keys[key] = 0;
    if (!isOpen())
        return;
    Lock lock;
    if (!lock || MpPlayerModule::instance().nextEventTime <= 0.0 || !playCursor)
        return;
    const unsigned char* flags = MpPlayerModule::instance().performer->keyFlags();
    for (int key = 0; key < keyCount; ++key)
        keys[key] = flags[key];
}
