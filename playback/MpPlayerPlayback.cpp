// Playback: starting, following edits, stopping, and the audio callback
// that drives the performer by the audio clock.

#include "playback/MpPlayer.h"

#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcMemoryFiler.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "playback/MpPlayerModule.h"

#include <chrono>
#include <cstring>

static bool sameBytes(const BcMemoryFiler& first, const BcMemoryFiler& second)
{
    const int count = first.bytes().count();
    return count == second.bytes().count() &&
           std::memcmp(first.bytes().data(), second.bytes().data(), static_cast<size_t>(count)) == 0;
}

static BcMemoryFiler* newScoreFiler()
{
    BcMemoryFiler* filer = new BcMemoryFiler(BcMemoryFiler::currentVersion);
    filer->bytes().setGrowBy(1024);
    return filer;
}

bool MpPlayer::prepare(MnScore* score, BcMemoryFiler* bytes, Prepared& prepared) const
{
    bytes->rewind();
    MnScore* copy = new MnScore();
    if (!copy->read(*bytes) || copy->staffCount() < 1) {
        delete copy;
        return false;
    }
    // The staves add up their measure times here, not under the lock.
    for (int s = 0; s < copy->staffCount(); ++s)
        copy->staff(s)->totalTicks();
    EdCursor* cursor = new EdCursor();
    cursor->setAtStaffStart(copy->staff(0), -1);
    prepared.copy = copy;
    prepared.cursor = cursor;
    prepared.bytes = bytes;
    return true;
}

// The cursor first: the copy's staff leaves its selection as it dies.
void MpPlayer::discard(Prepared& old)
{
    delete old.cursor;
    delete old.copy;
    delete old.bytes;
    old = Prepared();
}

void MpPlayer::placePlayPosition(MnScore* score, int time)
{
    playPosition = EdNotePath();
    if (!playedDocument || score->staff(0)->measureCount() < 1)
        return;
    const MnStaff* staff = score->staff(0);
    EdNotePath path(staff->measure(0), playedDocument->works());
    const MnMeasure* measure = time < 0 ? staff->measure(0) : staff->measureAtTime(time);
    if (measure) {
        path.staffIndex = staff->index();
        path.measureIndex = measure->index() - 1;
    }
    playPosition = path;
}

void MpPlayer::play(MnScore* score, int startTime, int floor)
{
    if (!isOpen() || !score || score->staffCount() < 1)
        return;
    EdContext& context = EdContext::current();
    const MnTempo* firstTempo = score->tempoCount() > 0 ? score->tempo(0) : nullptr;
    if (firstTempo)
        context.setToolbarTempo(firstTempo->beatsPerMinute());
    context.adoptScoreTuning(score);

    Prepared fresh;
    BcMemoryFiler* bytes = newScoreFiler();
    const bool copied = score->write(*bytes) && prepare(score, bytes, fresh);
    if (!copied)
        delete bytes;
    else
        fresh.cursor->setPosition(startTime, 0, false);

    MpPlayerModule& module = MpPlayerModule::instance();
    SfPerformer* next = module.spare();
    if (copied)
        next->start(next, fresh.cursor, true);
    Prepared old{playedCopy, playCursor, playedBytes};
    SfPerformer* previous = module.performer;
    {
        Lock lock;
        module.playClock = 0.0;
        module.nextEventTime = 0.0;
        // What an earlier performance still sounds ends with it.
        module.performer->releaseEverything();
        playedCopy = fresh.copy;
        playCursor = fresh.cursor;
        playedBytes = fresh.bytes;
        playedScore = copied ? score : nullptr;
        playedDocument = nullptr;
        if (copied) {
            module.beatTicks = firstTempo ? firstTempo->beatUnit() : MnTicksQuarter;
            module.displayFloor = floor;
            module.nextEventTime = 1.0;
            module.paused = false;
        }
        module.performer = next;
    }
    // The audio thread no longer sees it: its lists are freed here.
    previous->reset();
    discard(old);
    if (!copied) {
        playPosition = EdNotePath();
        return;
    }
    playedDocument = context.activeDocument();
    placePlayPosition(score, startTime);
}

void MpPlayer::stop()
{
    if (!isOpen())
        return;
    Lock lock;
    MpPlayerModule& module = MpPlayerModule::instance();
    module.nextEventTime = 0.0;
    module.performer->releaseEverything();
}

void MpPlayer::pause()
{
    if (!isOpen())
        return;
    Lock lock;
    MpPlayerModule& module = MpPlayerModule::instance();
    if (module.synthesizer)
        module.synthesizer->noteOffAll();
    module.paused = true;
}

void MpPlayer::resume()
{
    if (!isOpen())
        return;
    Lock lock;
    MpPlayerModule::instance().paused = false;
}

bool MpPlayer::positionAfterEdit(int offset, int& position) const
{
    position = 0;
    if (!playCursor)
        return true;
    const int time = playCursor->time();
    if (offset == -1) {
        position = time;
        return true;
    }
    if (time < 0) {
        position = time + offset;
        return true;
    }
    const MnStaff* staff = playCursor->staff();
    const MnMeasure* measure = staff ? staff->measureAtTime(time) : nullptr;
    if (!measure)
        return false;
    position = offset + (time - measure->startTime());
    return true;
}

void MpPlayer::update(MnElement* element)
{
    if (!isOpen())
        return;
    MnScore* score = nullptr;
    int offset = -1;
    if (element && element->isKindOf(MnScore::staticClass())) {
        score = static_cast<MnScore*>(element);
    } else if (element && element->isKindOf(MnMeasure::staticClass())) {
        MnMeasure* measure = static_cast<MnMeasure*>(element);
        score = measure->staff()->score();
        offset = measure->startTime();
    }

    Prepared fresh;
    if (score) {
        BcMemoryFiler* bytes = newScoreFiler();
        if (!score->write(*bytes)) {
            delete bytes;
            return;
        }
        // The common edit leaves the played score as it was.
        if (playedCopy && playedBytes && sameBytes(*playedBytes, *bytes)) {
            delete bytes;
            return;
        }
        if (!prepare(score, bytes, fresh)) {
            delete bytes;
            return;
        }
    } else if (!playedCopy) {
        return;
    }

    BcArray<int> oldInstruments;
    if (playedCopy) {
        for (int p = 0; p < playedCopy->staffCount(); ++p)
            oldInstruments.add(playedCopy->part(p)->instrument());
    }

    MpPlayerModule& module = MpPlayerModule::instance();
    // Started on the copy before the lock; the cursor's time does not
    // matter to what start prepares, so the cursor is placed under it.
    SfPerformer* next = module.spare();
    if (fresh.copy)
        next->start(next, fresh.cursor, false);
    Prepared old{playedCopy, playCursor, playedBytes};
    SfPerformer* previous = module.performer;
    int position = 0;
    const auto lockedAt = std::chrono::steady_clock::now();
    {
        Lock lock;
        const bool inside = positionAfterEdit(offset, position);
        playedCopy = fresh.copy;
        playCursor = fresh.cursor;
        playedBytes = fresh.bytes;
        playedScore = fresh.copy ? score : nullptr;
        playedDocument = nullptr;
        if (fresh.copy) {
            // A cursor that had reached the end stays there, so playback
            // ends instead of starting again.
            if (!inside)
                position = fresh.cursor->staff()->totalTicks();
            fresh.cursor->setPosition(position, 0, false);
            // The pending step stays: the next step comes when it was due.
            next->continueFrom(*previous);
            const int common = oldInstruments.count() < fresh.copy->staffCount() ? oldInstruments.count()
                                                                                   : fresh.copy->staffCount();
            for (int p = 0; p < common; ++p) {
                if (fresh.copy->part(p)->instrument() != oldInstruments[p])
                    next->releasePreset(SfPerformer::instrumentToPreset(oldInstruments[p]));
            }
        }
        // Without a copy the spare performs nothing: the next step ends
        // playback.
        module.performer = next;
    }
    lastUpdateLock =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - lockedAt).count();
    // The audio thread no longer sees it: its lists are freed here.
    previous->reset();
    discard(old);
    if (fresh.copy) {
        playedDocument = EdContext::current().activeDocument();
        placePlayPosition(score, fresh.cursor->time());
    } else {
        playPosition = EdNotePath();
    }
}

void MpPlayer::audioCallback(void* userdata, unsigned char* buffer, int byteLength)
{
    if (!buffer || byteLength <= 0)
        return;
    const int frames = byteLength / int(2 * sizeof(float));
    // Bytes that make no whole frame stay silent.
    std::memset(buffer + frames * 2 * sizeof(float), 0, static_cast<size_t>(byteLength) - frames * 2 * sizeof(float));
    MpPlayer* player = static_cast<MpPlayer*>(userdata);
    Lock lock;
    if (!lock || !player) {
        std::memset(buffer, 0, frames * 2 * sizeof(float));
        return;
    }
    player->renderBlocks(reinterpret_cast<float*>(buffer), frames);
}

void MpPlayer::renderBlocks(float* samples, int frames)
{
    MpPlayerModule& module = MpPlayerModule::instance();
    if (module.nextEventTime == 0.0)
        module.playClock = 0.0;
    const unsigned long long now = EdContext::current().tickCount();
    double played = 0.0; // ms of this buffer, paused or not
    for (int done = 0; done < frames; done += blockFrames) {
        const int n = frames - done < blockFrames ? frames - done : blockFrames;
        const double blockMilliseconds = n * 1000.0 / sampleRate;
        played += blockMilliseconds;
        if (!module.paused) {
            module.playClock += blockMilliseconds;
            if (module.nextEventTime != 0.0 && module.playClock > module.nextEventTime)
                step();
        }
        // A tapped key ends by the time that passes, also while paused.
        module.performer->releaseTapDue(now + static_cast<unsigned long long>(played));
        if (module.synthesizer)
            module.synthesizer->renderFloat(samples + 2 * done, n);
        else
            std::memset(samples + 2 * done, 0, sizeof(float) * 2 * static_cast<size_t>(n));
    }
}

// One performer step, or the end of playback. The next step is due a step's
// length after this one was due, not after the block it ran in, so the
// lateness of a block never adds up.
void MpPlayer::step()
{
    MpPlayerModule& module = MpPlayerModule::instance();
    const double due = module.nextEventTime;
    module.nextEventTime = 0.0;
    const MnStaff* staff = playCursor ? playCursor->staff() : nullptr;
    if (!staff || playCursor->time() >= staff->totalTicks()) {
        // The performer keeps its lists until the interface thread frees
        // them: the audio thread frees nothing.
        module.performer->releaseEverything();
        return;
    }
    const int ticks = module.performer->perform();
    module.nextEventTime = due + double(ticks) / module.beatTicks * 60000.0 / module.tempo;
    if (module.performer->pendingJumpMeasure() != -1)
        module.displayFloor = -1;
}
