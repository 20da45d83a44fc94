#include "interchange/IeMIDIImporter.h"

#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcInputFile.h"
#include "foundation/BcMidiBytes.h"
#include "foundation/BcStringResources.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTempo.h"
#include "model/MnWork.h"

#include <cstring>
#include <unistd.h>

BC_IMPLEMENT_CREATABLE_CLASS(IeMIDIImporter)

namespace {

constexpr unsigned unableToOpen = 10067;      // "Unable to open the MIDI file"
constexpr unsigned unableToRead = 10068;      // "Unable to read the MIDI data"
constexpr unsigned unsupportedFormat = 10069; // "Unsupported MIDI format"

constexpr int channelCount = 16;
// MIDI note number of middle C: the lowest note of a pair's treble staff.
constexpr int middleC = 60;
// Key indices count piano keys from A0, MIDI note 21.
constexpr int lowestPianoNote = 21;

// Channel message kinds (the high nibble of a status byte).
constexpr int kindNoteOff = 0x8;
constexpr int kindNoteOn = 0x9;
constexpr int kindPolyPressure = 0xA;
constexpr int kindControlChange = 0xB;
constexpr int kindProgramChange = 0xC;
constexpr int kindChannelPressure = 0xD;
constexpr int kindPitchBend = 0xE;
constexpr int kindSystem = 0xF;

// Meta event types the importer reads.
constexpr int metaTrackName = 0x03;
constexpr int metaInstrumentName = 0x04;
constexpr int metaChannelPrefix = 0x20;
constexpr int metaEndOfTrack = 0x2F;
constexpr int metaTempo = 0x51;
constexpr int metaTimeSignature = 0x58;
constexpr int metaKeySignature = 0x59;

} // namespace

IeMIDIImporter::IeMIDIImporter() : staffChannels(8), openNotes(8) {}

IeMIDIImporter::~IeMIDIImporter() = default;

bool IeMIDIImporter::fail(unsigned stringId)
{
    if (error.isEmpty())
        error = BcStringResources::current().loadString(stringId);
    return false;
}

bool IeMIDIImporter::importFile(const BcString& path)
{
    BcArray<unsigned char> bytes;
    if (started)
        return fail(unableToRead);
    if (!BcInputFile::readAll(path, maxFileSize, bytes)) {
        // A file that opens but does not read whole is damaged, not missing.
        long long size = 0;
        const int descriptor = BcInputFile::open(path, maxFileSize, size);
        if (descriptor < 0)
            return fail(unableToOpen);
        ::close(descriptor);
        return fail(unableToRead);
    }
    QuorvaneDocument* document = EdContext::current().activeDocument();
    if (!document)
        return fail(unableToRead);
    return importBytes(bytes.data(), bytes.count(), *document);
}

bool IeMIDIImporter::importBytes(const unsigned char* data, int size, QuorvaneDocument& document)
{
    // One importer reads one file: what it gathered would mix into another.
    if (started || size < 0 || (size > 0 && !data))
        return fail(unableToRead);
    started = true;
    BcArray<unsigned char>& bytes = filer.bytes();
    bytes.setCapacity(size);
    if (bytes.capacity() < size)
        return fail(unableToRead);
    bytes.setSize(size);
    if (size > 0)
        std::memcpy(bytes.data(), data, size_t(size));
    filer.rewind();

    if (!readHeader())
        return fail(unableToRead);
    for (int track = 0; track < trackCount; ++track) {
        if (!readTrack())
            return fail(unableToRead);
    }
    if (!placeMusic())
        return fail(unableToRead);
    // A score without a single note is no import: no note ended, all were
    // dropped, or only key signatures came.
    if (!score || !hasNotes())
        return fail(unableToRead);

    finishScore();
    if (!document.addWork(score.get()))
        return fail(unableToRead);
    score.release();
    const BcArray<MnElement*>& order = document.displayOrder();
    if (!trackName.empty() && order.count() > 0 && order[0]->isKindOf(MnWork::staticClass()))
        static_cast<MnWork*>(order[0])->title = BcString(trackName.c_str());
    return true;
}

// ---------------------------------------------------------------------------
// The file's structure

bool IeMIDIImporter::readChunkId(std::string& id)
{
    // Four bytes as text; a zero byte ends it early.
    return readText(4, id);
}

bool IeMIDIImporter::readHeader()
{
    std::string id;
    std::uint32_t length = 0;
    std::uint32_t format = 0;
    std::uint32_t tracks = 0;
    std::uint32_t ticks = 0;
    if (!readChunkId(id) || id != "MThd")
        return false;
    if (!BcMidiBytes::readBigEndian(filer, 4, length) || length != 6)
        return false;
    if (!BcMidiBytes::readBigEndian(filer, 2, format))
        return false;
    if (format > 1)
        return fail(unsupportedFormat);
    if (!BcMidiBytes::readBigEndian(filer, 2, tracks) || !BcMidiBytes::readBigEndian(filer, 2, ticks))
        return false;
    // Frames per second and ticks per frame instead of ticks per quarter.
    if (ticks & 0x8000)
        return fail(unsupportedFormat);
    // Every time divides by it.
    if (ticks == 0)
        return false;
    trackCount = int(tracks);
    division = int(ticks);
    return true;
}

bool IeMIDIImporter::readTrack()
{
    std::string id;
    std::uint32_t length = 0;
    if (!readChunkId(id) || id != "MTrk")
        return false;
    // Lengths written wrong are common; the track ends at its end-of-track
    // event, or where the data ends.
    if (!BcMidiBytes::readBigEndian(filer, 4, length))
        return false;
    trackTime = 0;
    endOfTrack = false;
    while (!endOfTrack && !filer.isAtEnd()) {
        std::uint32_t delta = 0;
        unsigned char first = 0;
        if (!BcMidiBytes::readQuantity(filer, delta) || !filer.readByte(first))
            return false;
        // At most four bytes a delta and one event per byte of the file:
        // the sum stays far inside 64 bits.
        trackTime += delta;
        bool ok = true;
        if (first == 0xFF)
            ok = readMetaEvent();
        else if (first == 0xF0)
            ok = readSystemExclusive();
        else
            ok = readChannelEvent(first);
        if (!ok)
            return false;
    }
    return true;
}

bool IeMIDIImporter::readLength(int& length)
{
    std::uint32_t value = 0;
    if (!BcMidiBytes::readQuantity(filer, value))
        return false;
    const long long left = (long long)filer.bytes().count() - filer.position();
    if ((long long)value > left)
        return false;
    length = int(value);
    return true;
}

bool IeMIDIImporter::skipBytes(int count)
{
    unsigned char byte = 0;
    for (int i = 0; i < count; ++i) {
        if (!filer.readByte(byte))
            return false;
    }
    return true;
}

bool IeMIDIImporter::readText(int length, std::string& text)
{
    std::string value;
    value.reserve(size_t(length));
    bool ended = false;
    for (int i = 0; i < length; ++i) {
        unsigned char byte = 0;
        if (!filer.readByte(byte))
            return false;
        if (byte == 0)
            ended = true;
        if (!ended)
            value.push_back(char(byte));
    }
    text = std::move(value);
    return true;
}

bool IeMIDIImporter::readSystemExclusive()
{
    int length = 0;
    return readLength(length) && skipBytes(length);
}

bool IeMIDIImporter::readMetaEvent()
{
    unsigned char type = 0;
    int length = 0;
    if (!filer.readByte(type) || !readLength(length))
        return false;
    switch (type) {
    case metaTrackName: {
        std::string text;
        if (!readText(length, text))
            return false;
        // Only the file's first name counts; an empty event names nothing.
        if (length > 0 && !hasTrackName) {
            trackName = std::move(text);
            hasTrackName = true;
        }
        return true;
    }
    case metaInstrumentName: {
        std::string text;
        if (!readText(length, text))
            return false;
        if (length > 0 && !hasInstrumentName[channelPrefix]) {
            instrumentNames[channelPrefix] = std::move(text);
            hasInstrumentName[channelPrefix] = true;
        }
        return true;
    }
    case metaChannelPrefix: {
        std::uint32_t channel = 0;
        if (length != 1 || !BcMidiBytes::readBigEndian(filer, 1, channel))
            return false;
        // A channel the format does not have leaves the prefix in force.
        if (channel < channelCount)
            channelPrefix = int(channel);
        return true;
    }
    case metaEndOfTrack:
        if (length != 0)
            return false;
        endOfTrack = true;
        return true;
    case metaTempo:
        return length == 3 && BcMidiBytes::readBigEndian(filer, 3, tempo);
    case metaTimeSignature: {
        std::uint32_t numerator = 0;
        std::uint32_t power = 0;
        if (length != 4 || !BcMidiBytes::readBigEndian(filer, 1, numerator) ||
            !BcMidiBytes::readBigEndian(filer, 1, power) || !skipBytes(2))
            return false;
        timeNumerator = int(numerator);
        timeDenominatorPower = int(power);
        return true;
    }
    case metaKeySignature: {
        std::uint32_t fifths = 0;
        if (length != 2 || !BcMidiBytes::readBigEndian(filer, 1, fifths) || !skipBytes(1))
            return false;
        return setKeySignature(channelPrefix, int(static_cast<signed char>(fifths)));
    }
    default:
        return skipBytes(length);
    }
}

bool IeMIDIImporter::readDataByte(int& value)
{
    unsigned char byte = 0;
    if (!filer.readByte(byte))
        return false;
    value = byte & 0x7F;
    return true;
}

bool IeMIDIImporter::readChannelEvent(unsigned char first)
{
    int data = 0;
    if (first & 0x80) {
        // Meta (FF) and system-exclusive (F0) events are read elsewhere;
        // every other system message is outside what a file may hold here.
        if ((first >> 4) == kindSystem)
            return false;
        runningKind = first >> 4;
        runningChannel = first & 0x0F;
        if (!readDataByte(data))
            return false;
    } else {
        // A data byte with no status to run on.
        if (runningKind == 0)
            return false;
        data = first;
    }

    int second = 0;
    switch (runningKind) {
    case kindNoteOff:
        return readDataByte(second) && noteOff(data);
    case kindNoteOn:
        if (!readDataByte(second))
            return false;
        return second > 0 ? noteOn(data) : noteOff(data);
    case kindPolyPressure:
    case kindControlChange:
    case kindPitchBend:
        return readDataByte(second);
    case kindProgramChange:
        programs[runningChannel] = data;
        return true;
    case kindChannelPressure:
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// The music

bool IeMIDIImporter::modelTime(long long fileTime, int& ticks) const
{
    // Beyond this the product would not matter: no division brings it back
    // under the longest staff.
    if (fileTime < 0 || fileTime > (1LL << 32))
        return false;
    const long long value = fileTime * MnTicksQuarter / division;
    if (value > MnMaxStaffTicks)
        return false;
    ticks = int(value);
    return true;
}

int IeMIDIImporter::quantisedDuration(long long ticks)
{
    // Plain values only: no dots, no tuplets.
    static const int values[] = {MnTicksPerWhole, MnTicksHalf, MnTicksQuarter, MnTicksEighth,
                                 MnTicksSixteenth, MnTicks32nd, MnTicks64th};
    for (int value : values) {
        if (ticks >= value)
            return value;
    }
    // Shorter than a sixty-fourth: written as a quarter.
    return MnTicksQuarter;
}

bool IeMIDIImporter::isKeyboardProgram(int program)
{
    // The pianos and the organs of the General MIDI programs.
    return (program >= 0 && program <= 7) || (program >= 16 && program <= 20);
}

int IeMIDIImporter::timeSignatureType(int numerator, int denominatorPower)
{
    struct Meter
    {
        int numerator;
        int power;
        int type;
    };
    static const Meter meters[] = {
        {2, 1, MnTime2_2}, {2, 2, MnTime2_4}, {3, 2, MnTime3_4}, {3, 3, MnTime3_8},  {4, 2, MnTime4_4},
        {6, 3, MnTime6_8}, {6, 2, MnTime6_4}, {9, 3, MnTime9_8}, {12, 3, MnTime12_8},
    };
    for (const Meter& meter : meters) {
        if (meter.numerator == numerator && meter.power == denominatorPower)
            return meter.type;
    }
    return -1;
}

int IeMIDIImporter::findStaff(int channel, int key) const
{
    for (int i = 0; i < staffChannels.count(); ++i) {
        if (staffChannels[i] != channel)
            continue;
        if (i + 1 < staffChannels.count() && staffChannels[i + 1] == channel && key < middleC)
            return i + 1;
        return i;
    }
    return -1;
}

bool IeMIDIImporter::createScore(int channel)
{
    score = std::make_unique<MnScore>();
    if (tempo != 0) {
        MnTempo* mark = score->tempo(0);
        mark->setBeatUnit(MnTicksQuarter);
        // A tempo the mark cannot count keeps the mark's own.
        mark->setBeatsPerMinute(int(60000000u / tempo));
        mark->buildTempoText();
    }
    const int type = timeSignatureType(timeNumerator, timeDenominatorPower);
    if (type >= 0)
        score->staff(0)->setTime(type);
    if (isKeyboardProgram(programs[channel])) {
        MnStaff* bass = score->insertStaff(1);
        if (!bass)
            return false;
        bass->setClef(MnClefBass);
        staffChannels.add(channel);
    }
    return true;
}

int IeMIDIImporter::staffIndex(int channel, int key)
{
    const int found = findStaff(channel, key);
    if (found >= 0)
        return found;
    staffChannels.add(channel);
    if (!score) {
        if (!createScore(channel))
            return -1;
    } else {
        if (!score->insertStaff(-1))
            return -1;
        if (isKeyboardProgram(programs[channel])) {
            MnStaff* bass = score->insertStaff(-1);
            if (!bass)
                return -1;
            bass->setClef(MnClefBass);
            staffChannels.add(channel);
        }
    }
    return findStaff(channel, key);
}

bool IeMIDIImporter::noteOn(int key)
{
    bool ignored = false;
    int newStaff = -1;
    for (int i = 0; i < openNotes.count();) {
        const MidiOpenNote& open = openNotes[i];
        if (open.channel != runningChannel) {
            ++i;
            continue;
        }
        if (open.key == key) {
            ignored = true;
            ++i;
            continue;
        }
        // A melody's next note ends the one still sounding on its staff;
        // notes that start together stay open and make a chord.
        if (open.start < trackTime) {
            if (newStaff < 0)
                newStaff = staffIndex(runningChannel, key);
            if (staffIndex(runningChannel, open.key) == newStaff) {
                if (!noteOff(open.key))
                    return false;
                continue; // noteOff took the record out
            }
        }
        ++i;
    }
    if (!ignored)
        openNotes.add(MidiOpenNote{runningChannel, key, trackTime});
    return true;
}

bool IeMIDIImporter::noteOff(int key)
{
    int index = -1;
    for (int i = 0; i < openNotes.count() && index < 0; ++i) {
        if (openNotes[i].channel == runningChannel && openNotes[i].key == key)
            index = i;
    }
    if (index < 0)
        return true;
    const long long start = openNotes[index].start;
    openNotes.removeAt(index);

    // A note off in a later track may come before its note started.
    const long long length = trackTime - start;
    if (length <= 0)
        return true;
    int onset = 0;
    if (!modelTime(start, onset))
        return fail(unableToRead);
    // Anything from a whole note up is written as one; the cap keeps the
    // product in range.
    const long long clipped = length < (1LL << 32) ? length : (1LL << 32);
    const long long duration = clipped * MnTicksQuarter / division;
    if (duration <= 0)
        return true;
    const int staff = staffIndex(runningChannel, key);
    if (staff < 0)
        return fail(unableToRead);

    // Played music lies off the edit grid; the nearest onset on it keeps the
    // note, where the exact one would be refused.
    onset = (onset + MnEditGrid / 2) / MnEditGrid * MnEditGrid;
    const int value = quantisedDuration(duration);
    if ((long long)onset + value > MnMaxStaffTicks)
        return fail(unableToRead);
    // The measures must reach the note's end, so that a value crossing the
    // last bar line is tied into the next measure rather than cut there.
    if (onset + value - 1 > reachedTime)
        reachedTime = onset + value - 1;
    placements.add(Placement{staff, onset, key - lowestPianoNote, value});
    return true;
}

bool IeMIDIImporter::setKeySignature(int channel, int fifths)
{
    // The model's key tables go no further.
    if (!mnIsKeySignature(fifths))
        return true;
    int time = 0;
    if (!modelTime(trackTime, time))
        return fail(unableToRead);
    const int first = staffIndex(channel, middleC);
    if (first < 0)
        return fail(unableToRead);
    if (time > reachedTime)
        reachedTime = time;
    // The channel's staves: one, or the two of a pair side by side.
    const int last = first + 1 < staffChannels.count() && staffChannels[first + 1] == channel ? first + 1 : first;
    for (int staff = first; staff <= last; ++staff)
        placements.add(Placement{staff, time, fifths, 0});
    return true;
}

bool IeMIDIImporter::placeMusic()
{
    if (!score)
        return true;
    MnStaff* first = score->staff(0);
    while (reachedTime >= first->totalTicks()) {
        // Each column takes the meter in force at the staff's last measure.
        if (!score->insertMeasure(-1))
            return false;
    }
    for (int i = 0; i < placements.count(); ++i) {
        const Placement& placement = placements[i];
        MnStaff* staff = score->staff(placement.staff);
        if (placement.value == 0) {
            // A change already at the time keeps its key.
            if (placement.time == 0)
                staff->setKey(placement.pitch);
            else if (staff->insertStaffChange(placement.time))
                staff->definitionAt(placement.time, true)->setKey(placement.pitch);
            continue;
        }
        // The measure holding the onset, by the kept start times.
        int low = 0;
        int high = staff->measureCount() - 1;
        while (low < high) {
            const int middle = (low + high + 1) / 2;
            if (staff->measureStartTime(middle) <= placement.time)
                low = middle;
            else
                high = middle - 1;
        }
        // A key off the piano is lost, as the model cannot write it.
        staff->measure(low)->addNoteByKey(0, placement.time - staff->measureStartTime(low), placement.pitch,
                                          placement.value, false);
    }
    return true;
}

static bool staffHasNotes(const MnStaff* staff)
{
    for (int m = 0; m < staff->measureCount(); ++m) {
        const MnMeasure* measure = staff->measure(m);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int c = 0; c < chords.count(); ++c) {
                if (!chords[c]->isRest())
                    return true;
            }
        }
    }
    return false;
}

bool IeMIDIImporter::hasNotes() const
{
    for (int s = 0; s < score->staffCount(); ++s) {
        if (staffHasNotes(score->staff(s)))
            return true;
    }
    return false;
}

void IeMIDIImporter::finishScore()
{
    for (int s = score->staffCount() - 1; s >= 0; --s) {
        if (!staffHasNotes(score->staff(s)) && score->removeStaff(s))
            staffChannels.removeAt(s);
    }

    for (int s = 0; s < score->staffCount(); ++s) {
        const int channel = staffChannels[s];
        const bool named = hasInstrumentName[channel] && !instrumentNames[channel].empty();
        const BcString name = named ? BcString(instrumentNames[channel].c_str()) : BcString();
        if (s > 0 && staffChannels[s - 1] == channel) {
            MnPartGroup* group = score->addPartGroup(s - 1, 2);
            if (group && named) {
                group->setName(name);
                group->relayout();
            }
        } else if (s + 1 < score->staffCount() && staffChannels[s + 1] == channel) {
            // The group made at the next staff names both.
        } else if (named) {
            score->part(s)->setName(name);
        }
    }

    const int last = score->staff(0)->measureCount() - 1;
    for (int s = 0; s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        if (last < staff->measureCount())
            staff->measure(last)->setBarline(MnBarlineFinal);
    }
}
