#pragma once

#include "editing/EdNotePath.h"
#include "foundation/BcObject.h"
#include "foundation/BcString.h"
#include "foundation/BcStringResources.h"

#include <atomic>

class BcMemoryFiler;
class EdCursor;
class MnChord;
class MnElement;
class MnScore;
class QuorvaneDocument;
class SfSynthesizer;

// Turns a score into sound. The player owns the audio output, the
// synthesizer, a private copy of the score being played, the play cursor
// and the play clock, and answers the interface thread's questions about
// what sounds. The performer, the synthesizer, the clock, the key flags,
// the tempo, the paused flag and the display floor are one set for the
// process, guarded by one recursive lock, playbackLock, that open makes and
// close deletes; without it every operation quietly does nothing.
//
// Threads: the audio callback runs on the output's thread, inside the
// output's device lock, and takes playbackLock for the whole buffer; the
// MIDI input's thread presses and releases keys; everything else runs on
// the interface thread, which never takes the device lock while it holds
// playbackLock, and holds playbackLock only to swap prepared state in.
// The audio thread allocates, frees and waits for nothing: the played copy
// and the play cursor are made and deleted on the interface thread.
class MpPlayer : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(MpPlayer)
public:
    static constexpr int sampleRate = 44100;
    static constexpr int blockFrames = 64; // 1.45 ms: a performer step at most per block
    static constexpr int keyCount = 88;
    static constexpr unsigned tapMilliseconds = 500;
    static constexpr int defaultTempo = 80;

    // Why open failed: the ids of the string table.
    static constexpr unsigned noBankString = BcStringResources::noInstrumentBank;
    static constexpr unsigned damagedBankString = BcStringResources::damagedInstrumentBank;
    static constexpr unsigned noDeviceString = BcStringResources::noAudioDevice;
    static constexpr unsigned deviceFailedString = BcStringResources::audioDeviceFailed;

    MpPlayer();
    // Closes the player.
    ~MpPlayer() override;
    MpPlayer(const MpPlayer&) = delete;
    MpPlayer& operator=(const MpPlayer&) = delete;

    // Loads the bank, opens the audio output that MpAudioOutput::create
    // makes and starts it; the preview instrument becomes the piano. False,
    // with openFailureReason saying why, when that fails or the player is
    // open already; the caller then closes the player and runs silent.
    bool open();
    // Restores the volume when muted, closes the output, then frees the
    // synthesizer, the lock, the cursor and the copy. Safe on a player whose
    // open failed half way, and twice.
    void close();
    bool isOpen() const { return opened.load(std::memory_order_acquire); }
    // Empty after a successful open.
    const BcString& openFailureReason() const { return failureReason; }

    // The program's bank: voices/Instruments.sf2 in the executable's folder.
    static BcString defaultBankPath();
    // Where open looks for the bank (the default path unless set).
    void setBankPath(const BcString& path) { bankPath = path; }

    // The output volume, which stands in for the system's wave-out volume:
    // low word left, high word right, 0xFFFF full. Nothing while closed.
    unsigned waveOutVolume() const;
    void setWaveOutVolume(unsigned volume);
    // The volume read at open; the volume commands write it.
    unsigned savedWaveOutVolume() const { return savedVolume; }
    void setSavedWaveOutVolume(unsigned volume) { savedVolume = volume; }
    // Open, the left volume 0 and a non-zero volume saved.
    bool isWaveOutMuted() const;

    // Plays a private copy of the score from startTime (negative when grace
    // notes lead) on; chords before displayFloor (ticks, -1 none) do not
    // count as playing until a jump is pending. The first step sounds in the
    // first block of the next buffer. Nothing while closed or when the score
    // cannot be copied.
    void play(MnScore* score, int startTime, int displayFloor);
    // Ends playback and releases every note; the copy stays until the next
    // play, update or close.
    void stop();
    // As the play command does them: a paused player still counts as
    // playing, its notes released and its clock standing.
    void pause();
    void resume();
    // After a committed edit: takes the edited score in where it differs
    // from the copy, going on from the same place in the measure that the
    // element (the measure at the play position, or the score) stands for.
    // Any other element ends playback at the next step.
    void update(MnElement* element);

    // Open, due for a next step and with a play cursor; with a document,
    // also playing that one.
    bool isPlaying(const QuorvaneDocument* document = nullptr) const;
    bool isPaused() const;
    // out := the play position, its staff and measure those of the cursor,
    // looking the milliseconds ahead through the jumps, never before the
    // display floor. Answers out.
    EdNotePath& playingPosition(EdNotePath& out, unsigned lookAheadMilliseconds) const;
    // The chord of the played score sounds at the play position; with pass
    // not 0, only in that pass of its measure.
    bool isNotePlaying(const MnChord* chord, int pass) const;

    // Preview keys (key index 0..87) in the preview instrument; false
    // while closed or for another key. Held keys also reach the notes off
    // the piano, as a MIDI keyboard plays them: key = note number - 21,
    // -21..106.
    bool keyDown(int key);
    bool keyUp(int key);
    // Sounds the key for tapMilliseconds, releasing a tap still sounding.
    bool keyTap(int key);
    // The keys that the performance sounds, while playing; else zeros.
    void keysDown(unsigned char keys[keyCount]) const;
    // The staff time of the latest chord that started on its own time and
    // the tick count when it sounded; false, both untouched, while closed.
    bool lastOnset(int& time, unsigned long long& tick) const;
    // Releases every note of the synthesizer (the application, the MIDI input).
    void noteOffAll();

    // The tempo box's value; values outside 1..MnMaxBeatsPerMinute are
    // refused. The setters below do nothing while closed.
    int playbackTempo() const;
    void setPlaybackTempo(int beatsPerMinute);
    // The MnInstrument code of the preview keys.
    int previewInstrument() const;
    void setPreviewInstrument(int instrument);
    int displayFloor() const;
    // The audio clock and the clock value of the next step (0: none), ms.
    double playClock() const;
    double nextEventTime() const;

    // Fills the buffer (interleaved stereo floats) in blocks of blockFrames:
    // advances the clock, runs a step of the performer when it is due,
    // releases a tapped key whose time is up and renders. userdata is the
    // player. Runs on the audio thread.
    static void audioCallback(void* userdata, unsigned char* buffer, int byteLength);

    // Whether this thread holds playbackLock; the tests' outputs check that
    // no one takes the device lock inside it.
    static bool holdsPlaybackLock();
    // How long the last update held playbackLock, in nanoseconds.
    long long updateLockNanoseconds() const { return lastUpdateLock; }
    // The synthesizer while open (the tests look at its voices).
    const SfSynthesizer* synthesizer() const;

private:
    class Lock;
    struct Prepared;

    bool fail(unsigned stringId, const BcString& first = BcString(), const BcString& second = BcString());
    // A copy of the score and a cursor on its first staff, from its bytes.
    bool prepare(MnScore* score, BcMemoryFiler* bytes, Prepared& prepared) const;
    // The play position of the score in the active document, at the time.
    void placePlayPosition(MnScore* score, int time);
    // Under the lock: the time of the play cursor moved to an edited score
    // whose measure at the play position starts at offset (-1: the same
    // time); false when the cursor had passed the end of its staff.
    bool positionAfterEdit(int offset, int& position) const;
    void discard(Prepared& old);
    // Under the lock, on the audio thread.
    void renderBlocks(float* samples, int frames);
    void step();

    std::atomic<bool> opened{false};
    BcString failureReason;
    BcString bankPath;
    unsigned savedVolume = 0;
    int preview = 0;
    MnScore* playedCopy = nullptr;
    EdCursor* playCursor = nullptr;
    // The bytes that playedCopy was read from.
    BcMemoryFiler* playedBytes = nullptr;
    MnScore* playedScore = nullptr;
    QuorvaneDocument* playedDocument = nullptr;
    EdNotePath playPosition;
    long long lastUpdateLock = 0;
};
