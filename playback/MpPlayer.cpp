// The player's life: open and close, the volume, the preview keys and the
// values that other code reads and writes under playbackLock.

#include "playback/MpPlayer.h"

#include "editing/EdContext.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcStringResources.h"
#include "model/MnLimits.h"
#include "model/MnScore.h"
#include "playback/MpAudioOutput.h"
#include "playback/MpPlayerModule.h"
#include "playback/SfFileStream.h"

#include <unistd.h>

BC_IMPLEMENT_CREATABLE_CLASS(MpPlayer)

static thread_local int lockDepth = 0;

MpPlayerModule& MpPlayerModule::instance()
{
    static MpPlayerModule module;
    return module;
}

MpPlayer::Lock::Lock() : mutex(MpPlayerModule::instance().lock.load(std::memory_order_acquire))
{
    if (!mutex)
        return;
    mutex->lock();
    ++lockDepth;
}

MpPlayer::Lock::~Lock()
{
    if (!mutex)
        return;
    --lockDepth;
    mutex->unlock();
}

bool MpPlayer::holdsPlaybackLock()
{
    return lockDepth > 0;
}

MpPlayer::MpPlayer() = default;

MpPlayer::~MpPlayer()
{
    close();
}

BcString MpPlayer::defaultBankPath()
{
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return BcString("voices/Instruments.sf2");
    path[length] = '\0';
    // The folder of the executable.
    char* slash = nullptr;
    for (char* at = path; *at; ++at) {
        if (*at == '/')
            slash = at;
    }
    if (slash)
        slash[1] = '\0';
    BcString folder(path);
    return folder.append(BcString("voices/Instruments.sf2"));
}

bool MpPlayer::fail(unsigned stringId, const BcString& first, const BcString& second)
{
    BcString text = BcStringResources::current().loadString(stringId);
    text.replaceAll(BcString("%1"), first);
    text.replaceAll(BcString("%2"), second);
    failureReason = text;
    return false;
}

bool MpPlayer::open()
{
    if (isOpen())
        return false;
    MpPlayerModule& module = MpPlayerModule::instance();
    if (module.owner && module.owner != this)
        return fail(deviceFailedString, BcString("another player holds the audio output"));
    // What an earlier failed open left goes first.
    if (module.owner == this)
        close();
    failureReason = BcString();
    module.owner = this;
    preview = 0;
    if (!module.lock.load(std::memory_order_acquire))
        module.lock.store(new std::recursive_mutex(), std::memory_order_release);

    module.output = MpAudioOutput::create();
    if (!module.output)
        return fail(noDeviceString);
    BcString error;
    if (!module.output->initialize(error))
        return fail(deviceFailedString, error);

    const BcString path = bankPath.isEmpty() ? defaultBankPath() : bankPath;
    SfFileStream file;
    if (!file.open(path))
        return fail(noBankString, path);
    BcString reason;
    std::unique_ptr<SfSynthesizer> synthesizer = SfSynthesizer::load(file.stream(), reason);
    file.close();
    if (!synthesizer)
        return fail(damagedBankString, path, reason);
    synthesizer->outputMode = SfSynthesizer::interleavedStereo;
    synthesizer->outputSampleRate = float(sampleRate);
    synthesizer->globalGainDb = 0.0f;
    {
        Lock lock;
        module.synthesizer = std::move(synthesizer);
        module.performer->setSynthesizer(module.synthesizer.get());
    }

    if (module.output->deviceCount() < 1)
        return fail(noDeviceString);
    if (!module.output->open(&MpPlayer::audioCallback, this, error))
        return fail(deviceFailedString, error);
    module.output->pause(false);
    savedVolume = module.output->volume();
    opened.store(true, std::memory_order_release);
    return true;
}

void MpPlayer::close()
{
    MpPlayerModule& module = MpPlayerModule::instance();
    if (isOpen() && isWaveOutMuted())
        module.output->setVolume(savedVolume);
    opened.store(false, std::memory_order_release);

    Prepared played{playedCopy, playCursor, playedBytes};
    playedCopy = nullptr;
    playCursor = nullptr;
    playedBytes = nullptr;
    playedScore = nullptr;
    playedDocument = nullptr;
    playPosition = EdNotePath();
    if (module.owner == this) {
        // The callback takes the device lock before playbackLock: the output
        // is closed without holding playbackLock, and closing waits for a
        // callback that still runs.
        if (module.output) {
            module.output->pause(true);
            module.output->close();
            delete module.output;
            module.output = nullptr;
        }
        {
            Lock lock;
            module.performers[0].reset();
            module.performers[1].reset();
            module.performer->setSynthesizer(nullptr);
            module.synthesizer.reset();
            module.playClock = 0.0;
            module.nextEventTime = 0.0;
            module.paused = false;
        }
        delete module.lock.exchange(nullptr, std::memory_order_acq_rel);
        module.owner = nullptr;
    }
    discard(played);
}

const SfSynthesizer* MpPlayer::synthesizer() const
{
    return isOpen() ? MpPlayerModule::instance().synthesizer.get() : nullptr;
}

unsigned MpPlayer::waveOutVolume() const
{
    MpPlayerModule& module = MpPlayerModule::instance();
    return isOpen() && module.output ? module.output->volume() : 0;
}

void MpPlayer::setWaveOutVolume(unsigned volume)
{
    MpPlayerModule& module = MpPlayerModule::instance();
    if (isOpen() && module.output)
        module.output->setVolume(volume);
}

bool MpPlayer::isWaveOutMuted() const
{
    return isOpen() && (waveOutVolume() & 0xFFFFu) == 0 && savedVolume != 0;
}

bool MpPlayer::keyDown(int key)
{
    if (!isOpen() || key < SfPerformer::lowestPreviewKey || key > SfPerformer::highestPreviewKey)
        return false;
    Lock lock;
    if (!lock)
        return false;
    MpPlayerModule::instance().performer->keyDown(SfPerformer::instrumentToPreset(preview), key);
    return true;
}

bool MpPlayer::keyUp(int key)
{
    if (!isOpen() || key < SfPerformer::lowestPreviewKey || key > SfPerformer::highestPreviewKey)
        return false;
    Lock lock;
    if (!lock)
        return false;
    MpPlayerModule::instance().performer->keyUp(SfPerformer::instrumentToPreset(preview), key);
    return true;
}

bool MpPlayer::keyTap(int key)
{
    if (!isOpen() || key < 0 || key >= keyCount)
        return false;
    const unsigned long long now = EdContext::current().tickCount();
    Lock lock;
    if (!lock)
        return false;
    MpPlayerModule::instance().performer->keyTap(SfPerformer::instrumentToPreset(preview), key, tapMilliseconds,
                                                now);
    return true;
}

void MpPlayer::noteOffAll()
{
    if (!isOpen())
        return;
    Lock lock;
    if (lock && MpPlayerModule::instance().synthesizer)
        MpPlayerModule::instance().synthesizer->noteOffAll();
}

bool MpPlayer::lastOnset(int& time, unsigned long long& tick) const
{
    if (!isOpen())
        return false;
    Lock lock;
    if (!lock)
        return false;
    const SfPerformer& performer = *MpPlayerModule::instance().performer;
    time = performer.lastOnsetTime();
    tick = performer.lastOnsetTick();
    return true;
}

int MpPlayer::playbackTempo() const
{
    Lock lock;
    return MpPlayerModule::instance().tempo;
}

void MpPlayer::setPlaybackTempo(int beatsPerMinute)
{
    if (!mnIsBeatsPerMinute(beatsPerMinute))
        return;
    Lock lock;
    if (lock)
        MpPlayerModule::instance().tempo = beatsPerMinute;
}

int MpPlayer::previewInstrument() const
{
    Lock lock;
    return preview;
}

void MpPlayer::setPreviewInstrument(int instrument)
{
    // A closed player has no audio thread to race with: the choice is kept
    // for the notes previewed once it opens.
    Lock lock;
    preview = instrument;
}

int MpPlayer::displayFloor() const
{
    Lock lock;
    return MpPlayerModule::instance().displayFloor;
}

double MpPlayer::playClock() const
{
    Lock lock;
    return MpPlayerModule::instance().playClock;
}

double MpPlayer::nextEventTime() const
{
    Lock lock;
    return MpPlayerModule::instance().nextEventTime;
}

bool MpPlayer::isPaused() const
{
    if (!isOpen())
        return false;
    Lock lock;
    return MpPlayerModule::instance().paused;
}
