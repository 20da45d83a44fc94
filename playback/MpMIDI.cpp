#include "playback/MpMIDI.h"

#include "editing/EdCursor.h"
#include "editing/EdScoreFile.h"
#include "foundation/BcMidiBytes.h"
#include "foundation/BcString.h"
#include "model/MnCodes.h"
#include "model/MnGeneralMidi.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTempo.h"
#include "model/MnTicks.h"

BC_IMPLEMENT_CREATABLE_CLASS(MpMIDI)

namespace {

constexpr int noteOffKind = 0x8;
constexpr int noteOnKind = 0x9;
constexpr int programKind = 0xC;
constexpr int releaseVelocity = 64;
constexpr int percussionChannel = 9;
constexpr std::uint32_t maxTempo = 0xFFFFFF;

} // namespace

MpMIDI::MpMIDI() = default;

MpMIDI::~MpMIDI() = default;

int MpMIDI::channelOfSlot(int slot)
{
    if (slot < 0)
        return 0;
    const int owned = slot % ownedChannels;
    return owned < percussionChannel ? owned : owned + 1;
}

std::uint32_t MpMIDI::tempoMicroseconds(int beatUnit, int beatsPerMinute)
{
    // Per quarter: a beat of beatUnit ticks lasts 60000000 / bpm microseconds.
    // Worked out whole, so that no beat unit divides by zero.
    if (beatUnit < 1 || beatsPerMinute < 1)
        return 500000;
    const unsigned long long value =
        (unsigned long long)MnTicksQuarter * 60000000ULL / ((unsigned long long)beatUnit * (unsigned)beatsPerMinute);
    if (value < 1)
        return 1;
    return value > maxTempo ? maxTempo : std::uint32_t(value);
}

void MpMIDI::timeSignatureBytes(int type, int& numerator, int& denominatorPower, int& clocks)
{
    numerator = 4;
    denominatorPower = 2;
    clocks = 24;
    switch (type) {
    case MnTime2_2:
    case MnTimeCut:
        numerator = 2;
        denominatorPower = 1;
        clocks = 48;
        break;
    case MnTime2_4:
        numerator = 2;
        break;
    case MnTime3_4:
        numerator = 3;
        break;
    case MnTime6_8:
        numerator = 6;
        denominatorPower = 3;
        clocks = 36;
        break;
    case MnTime9_8:
        numerator = 9;
        denominatorPower = 3;
        clocks = 36;
        break;
    case MnTime3_8:
        numerator = 3;
        denominatorPower = 3;
        clocks = 36;
        break;
    case MnTime6_4:
        numerator = 6;
        clocks = 36;
        break;
    case MnTime12_8:
        numerator = 12;
        denominatorPower = 3;
        clocks = 36;
        break;
    default:
        break;
    }
}

void MpMIDI::writeByte(BcFiler& filer, int value)
{
    if (!filer.writeByte(static_cast<unsigned char>(value)))
        failed = true;
}

void MpMIDI::writeDelta(BcFiler& filer, std::uint32_t delta)
{
    if (!BcMidiBytes::writeQuantity(filer, delta))
        failed = true;
}

std::uint32_t MpMIDI::takeDelta()
{
    // File times are taken whole and then subtracted, so that odd steps of
    // the grid never add up to a drift.
    const long long now = currentTime / deltaQuantum;
    const long long last = lastEventTime / deltaQuantum;
    lastEventTime = currentTime;
    const long long delta = now - last;
    if (delta < 0 || delta > (long long)BcMidiBytes::maxQuantity) {
        failed = true;
        return 0;
    }
    return std::uint32_t(delta);
}

void MpMIDI::writeChannelEvent(BcFiler& track, std::uint32_t delta, int kind, int channel, int data1, int data2)
{
    writeDelta(track, delta);
    // The status byte goes with every event: running status is never used.
    writeByte(track, (kind << 4) | (channel & 0x0F));
    writeByte(track, data1 & 0x7F);
    if (kind != programKind)
        writeByte(track, data2 & 0x7F);
}

void MpMIDI::writeKeySignatureEvent(BcFiler& track, std::uint32_t delta, int channel, int key)
{
    writeDelta(track, delta);
    writeByte(track, 0xFF);
    writeByte(track, 0x20);
    writeByte(track, 0x01);
    writeByte(track, channel & 0x0F);
    writeDelta(track, 0);
    writeByte(track, 0xFF);
    writeByte(track, 0x59);
    writeByte(track, 0x02);
    writeByte(track, static_cast<signed char>(key) & 0xFF);
    writeByte(track, 0x00); // major
}

int MpMIDI::slotOf(int instrumentType) const
{
    const int code = instrumentType < 0 ? 0 : instrumentType;
    for (int i = 0; i < instruments.count(); ++i) {
        if (instruments[i] == code)
            return i;
    }
    return 0;
}

// Keyed by the code the performer passes, so that a part without an
// instrument (-1) meets the piano's channel, not whichever channel came first.
void MpMIDI::collectChannels(const MnScore* score)
{
    instruments.removeAll();
    channelKeys.removeAll();
    staffSlots.removeAll();
    for (int s = 0; s < score->staffCount(); ++s) {
        const int stored = score->part(s)->instrument();
        const int code = stored < 0 ? 0 : stored;
        int slot = instruments.indexOf(code);
        if (slot < 0) {
            slot = instruments.count();
            instruments.add(code);
            channelKeys.add(score->staff(s)->key());
        }
        staffSlots.add(slot);
    }
}

void MpMIDI::collectKeyChanges(const MnScore* score)
{
    keyChanges.removeAll();
    keyChanges.setSize(score->staffCount());
    for (int s = 0; s < score->staffCount(); ++s) {
        const MnStaff* staff = score->staff(s);
        BcArray<KeyChange>& changes = keyChanges[s];
        changes.removeAll();
        int keyBefore = staff->key();
        for (int c = 0; c < staff->changeCount(); ++c) {
            const MnStaffChange* change = staff->change(c);
            if (change->key() != keyBefore)
                changes.add(KeyChange{change->startTime(), change->key()});
            keyBefore = change->key();
        }
    }
}

void MpMIDI::writeHeader(BcFiler& file) const
{
    static const unsigned char header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
    file.writeBytes(header, int(sizeof header));
    BcMidiBytes::writeBigEndian(file, division, 2);
    static const unsigned char track[] = {'M', 'T', 'r', 'k'};
    file.writeBytes(track, int(sizeof track));
}

void MpMIDI::writeTrackStart(const MnScore* score)
{
    BcFiler& track = *trackBuffer;
    int numerator = 4;
    int power = 2;
    int clocks = 24;
    timeSignatureBytes(score->staff(0)->time(), numerator, power, clocks);
    static const unsigned char timeSignature[] = {0x00, 0xFF, 0x58, 0x04};
    track.writeBytes(timeSignature, int(sizeof timeSignature));
    writeByte(track, numerator);
    writeByte(track, power);
    writeByte(track, clocks);
    writeByte(track, 8); // 32nd notes per quarter

    int beatUnit = MnTicksQuarter;
    int beatsPerMinute = 96;
    if (score->tempoCount() > 0) {
        beatUnit = score->tempo(0)->beatUnit();
        beatsPerMinute = score->tempo(0)->beatsPerMinute();
    }
    static const unsigned char tempo[] = {0x00, 0xFF, 0x51, 0x03};
    track.writeBytes(tempo, int(sizeof tempo));
    BcMidiBytes::writeBigEndian(track, tempoMicroseconds(beatUnit, beatsPerMinute), 3);

    const int owned = instruments.count() < ownedChannels ? instruments.count() : ownedChannels;
    for (int slot = 0; slot < owned; ++slot)
        writeChannelEvent(track, 0, programKind, channelOfSlot(slot), instrumentToProgram(instruments[slot]), 0);
    for (int slot = 0; slot < owned; ++slot)
        writeKeySignatureEvent(track, 0, channelOfSlot(slot), channelKeys[slot]);
}

// Key changes go before the first note event at their time, at most once per
// channel; a staff sharing another instrument's channel writes none. Times
// are those of the walked staff, so a change is found again after a repeat.
void MpMIDI::writeKeySignatureChanges()
{
    if (currentTime == lastEventTime || !exportedScore || !cursor())
        return;
    const int staffTime = cursor()->time();
    int writtenChannels = 0;
    for (int s = 0; s < keyChanges.count(); ++s) {
        const int slot = staffSlots[s];
        if (slot >= ownedChannels)
            continue;
        const BcArray<KeyChange>& changes = keyChanges[s];
        int low = 0;
        int high = changes.count();
        while (low < high) {
            const int middle = (low + high) / 2;
            if (changes[middle].time < staffTime)
                low = middle + 1;
            else
                high = middle;
        }
        if (low == changes.count() || changes[low].time != staffTime)
            continue;
        const int channel = channelOfSlot(slot);
        if ((writtenChannels & (1 << channel)) != 0)
            continue;
        writtenChannels |= 1 << channel;
        writeKeySignatureEvent(*trackBuffer, takeDelta(), channel, changes[low].key);
    }
}

void MpMIDI::noteOn(int instrumentType, int key, double velocity)
{
    if (!trackBuffer)
        return;
    writeKeySignatureChanges();
    int data = int(velocity * 127.0);
    data = data < 0 ? 0 : (data > 127 ? 127 : data);
    writeChannelEvent(*trackBuffer, takeDelta(), noteOnKind, channelOfSlot(slotOf(instrumentType)), key + 21, data);
}

void MpMIDI::noteOff(int instrumentType, int key)
{
    if (!trackBuffer)
        return;
    writeKeySignatureChanges();
    writeChannelEvent(*trackBuffer, takeDelta(), noteOffKind, channelOfSlot(slotOf(instrumentType)), key + 21,
                      releaseVelocity);
}

bool MpMIDI::buildFile(MnScore* score, BcArray<unsigned char>& out)
{
    if (!score || score->staffCount() == 0)
        return false;
    failed = false;
    collectChannels(score);
    collectKeyChanges(score);

    BcMemoryFiler track;
    track.bytes().setGrowBy(1 << 16);
    exportedScore = score;
    trackBuffer = &track;
    writeTrackStart(score);

    // Leading grace notes sound before the first bar line: the performance
    // starts there, and the file counts its time from there.
    EdCursor performanceCursor;
    performanceCursor.setAtStaffStart(score->staff(0), -1);
    performanceCursor.setPosition(firstGridTime(score), 0, false);
    currentTime = 0;
    lastEventTime = 0;
    start(this, &performanceCursor, true);
    while (!isFinished() && !failed) {
        const int step = perform();
        // A performance that stands still would never end.
        if (step <= 0) {
            failed = true;
            break;
        }
        currentTime += step;
    }
    reset();
    exportedScore = nullptr;
    trackBuffer = nullptr;

    static const unsigned char endOfTrack[] = {0x00, 0xFF, 0x2F, 0x00};
    track.writeBytes(endOfTrack, int(sizeof endOfTrack));
    if (failed)
        return false;

    BcMemoryFiler file;
    writeHeader(file);
    const BcArray<unsigned char>& trackBytes = track.bytes();
    if (!BcMidiBytes::writeBigEndian(file, std::uint32_t(trackBytes.count()), 4) ||
        !file.writeBytes(trackBytes.data(), trackBytes.count()))
        return false;
    const BcArray<unsigned char>& fileBytes = file.bytes();
    if (out.capacity() < out.count() + fileBytes.count())
        out.setCapacity(out.count() + fileBytes.count());
    for (int i = 0; i < fileBytes.count(); ++i)
        out.add(fileBytes[i]);
    return true;
}

bool MpMIDI::exportScore(const BcString& path, MnScore* score)
{
    BcArray<unsigned char> bytes;
    if (!buildFile(score, bytes))
        return false;
    return EdScoreFile::writeFile(path, bytes.data(), bytes.count());
}
