#include "playback/MpMIDI.h"

#include "common/ReadOnlyFolder.h"
#include "editing/EdScoreFile.h"
#include "foundation/BcString.h"
#include "model/MnGeneralMidi.h"
#include "model/MnStaffChange.h"
#include "model/MnTempo.h"
#include "playback/MpMidiTrack.h"
#include "playback/MpTestScores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// The Standard MIDI File that a score performs into: its bytes, its
// channels, the order of its events, and how it reaches the disk.

namespace {

const int velocityMp = 71;

std::vector<int> toVector(const BcArray<unsigned char>& bytes)
{
    return std::vector<int>(bytes.data(), bytes.data() + bytes.count());
}

std::vector<int> fileBytes(MnScore& score)
{
    MpMIDI midi;
    BcArray<unsigned char> bytes;
    EXPECT_TRUE(midi.buildFile(&score, bytes));
    return toVector(bytes);
}

MpMidiFile exported(MnScore& score)
{
    MpMIDI midi;
    BcArray<unsigned char> bytes;
    EXPECT_TRUE(midi.buildFile(&score, bytes));
    MpMidiFile file;
    EXPECT_TRUE(readMidiFile(bytes, file)) << file.error;
    return file;
}

int midiKey(int key)
{
    return key + 21;
}

// The time of the first event after the start of the track (the events of
// time 0 before it set up the channels).
std::vector<MpMidiEvent> performanceEvents(const MpMidiFile& file)
{
    std::vector<MpMidiEvent> found;
    bool started = false;
    for (const MpMidiEvent& event : file.events) {
        started = started || (event.isChannel() && event.kind() != 0xC);
        if (started)
            found.push_back(event);
    }
    return found;
}

} // namespace

TEST(MpMIDIBytes, WholeFileOfASmallScore)
{
    std::unique_ptr<MnScore> score = restScore(1);
    MpVoiceWriter voice(score->staff(0)->measure(0), 0);
    voice.chord(quarter, {keyC4});
    voice.rest(quarter);
    voice.chord(2 * quarter, {keyC4, keyE4});

    const std::vector<int> expected = {
        'M', 'T', 'h', 'd', 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x76, 0x20, //
        'M', 'T', 'r', 'k', 0x00, 0x00, 0x00, 0x3F,                                     //
        0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,                                 // 4/4
        0x00, 0xFF, 0x51, 0x03, 0x09, 0x89, 0x68,                                       // 96 per quarter
        0x00, 0xC0, 0x00,                                                               // piano
        0x00, 0xFF, 0x20, 0x01, 0x00, 0x00, 0xFF, 0x59, 0x02, 0x00, 0x00,               // C major
        0x00, 0x90, 0x3C, 0x47,                                                         //
        0x81, 0xEC, 0x20, 0x80, 0x3C, 0x40,                                             // a quarter later
        0x81, 0xEC, 0x20, 0x90, 0x3C, 0x47,                                             //
        0x00, 0x90, 0x40, 0x47,                                                         //
        0x83, 0xD8, 0x40, 0x80, 0x3C, 0x40,                                             // a half later
        0x00, 0x80, 0x40, 0x40,                                                         //
        0x00, 0xFF, 0x2F, 0x00,
    };
    EXPECT_EQ(fileBytes(*score), expected);
}

TEST(MpMIDIBytes, TimeSignatureOfTheFirstStaffsOwnType)
{
    struct Row
    {
        int type;
        std::vector<int> event;
    };
    const Row rows[] = {
        {MnTimeCommon, {0xFF, 0x58, 0x04, 4, 2, 24, 8}}, {MnTime4_4, {0xFF, 0x58, 0x04, 4, 2, 24, 8}},
        {MnTime2_2, {0xFF, 0x58, 0x04, 2, 1, 48, 8}},    {MnTimeCut, {0xFF, 0x58, 0x04, 2, 1, 48, 8}},
        {MnTime2_4, {0xFF, 0x58, 0x04, 2, 2, 24, 8}},    {MnTime3_4, {0xFF, 0x58, 0x04, 3, 2, 24, 8}},
        {MnTime6_8, {0xFF, 0x58, 0x04, 6, 3, 36, 8}},    {MnTime9_8, {0xFF, 0x58, 0x04, 9, 3, 36, 8}},
        {MnTime3_8, {0xFF, 0x58, 0x04, 3, 3, 36, 8}},    {MnTime6_4, {0xFF, 0x58, 0x04, 6, 2, 36, 8}},
        {MnTime12_8, {0xFF, 0x58, 0x04, 12, 3, 36, 8}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        std::unique_ptr<MnScore> score = restScore(2);
        score->staff(0)->setTimeType(row.type);
        // A later change of meter is not the first staff's own.
        score->staff(0)->insertStaffChange(whole);
        score->staff(0)->definitionAt(whole, true)->setTimeType(row.type == MnTime3_4 ? MnTime6_8 : MnTime3_4);
        const MpMidiFile file = exported(*score);
        ASSERT_GE(file.events.size(), 1u);
        EXPECT_EQ(file.events[0].time, 0);
        EXPECT_EQ(file.events[0].bytes, row.event);
        EXPECT_EQ(file.metaEvents(0x58).size(), 1u);
    }
}

TEST(MpMIDIBytes, TempoOfTheFirstMark)
{
    struct Row
    {
        int beatUnit;
        int bpm;
        unsigned microseconds;
    };
    const Row rows[] = {
        {MnTicksQuarter, 120, 500000},       // 07 A1 20
        {MnTicksQuarter, 96, 625000},        //
        {MnTicksEighth, 60, 2000000},        // an eighth at 60: a quarter lasts two seconds
        {MnTicksHalf, 60, 500000},           //
        {MnTicksQuarter + MnTicksEighth, 80, 500000}, // a dotted quarter at 80
        {1, 120, 0xFFFFFF},                  // a beat of one tick: longer than the file can say
        {3 * MnTicksHalf, 7, 1428571},       //
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.beatUnit) + " at " + std::to_string(row.bpm));
        EXPECT_EQ(MpMIDI::tempoMicroseconds(row.beatUnit, row.bpm), row.microseconds);
    }

    std::unique_ptr<MnScore> score = restScore(1);
    ASSERT_TRUE(score->tempo(0)->setBeatUnit(MnTicksQuarter));
    ASSERT_TRUE(score->tempo(0)->setBeatsPerMinute(120));
    const MpMidiFile file = exported(*score);
    ASSERT_GE(file.events.size(), 2u);
    EXPECT_EQ(file.events[1].bytes, (std::vector<int>{0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}));
    EXPECT_EQ(file.events[1].time, 0);
}

TEST(MpMIDIBytes, QuarterNoteLastsDivisionTicks)
{
    std::unique_ptr<MnScore> score = restScore(1);
    MpVoiceWriter voice(score->staff(0)->measure(0), 0);
    voice.chord(quarter, {keyC4});
    voice.rest(3 * quarter);
    const std::vector<int> bytes = fileBytes(*score);
    const std::vector<int> pair = {0x00, 0x90, 0x3C, velocityMp, 0x81, 0xEC, 0x20, 0x80, 0x3C, 0x40};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), pair.begin(), pair.end()), bytes.end());
    const MpMidiFile file = exported(*score);
    EXPECT_EQ(file.format, 0);
    EXPECT_EQ(file.trackCount, 1);
    EXPECT_EQ(file.division, 30240);
}

// Staff i holds one quarter note of key 30 + i, so its channel shows.
TEST(MpMIDIChannels, OneChannelPerInstrumentCode)
{
    struct Row
    {
        std::string name;
        std::vector<int> codes;
        std::vector<int> channels;                    // of each staff's note
        std::vector<std::pair<int, int>> programs;    // channel, program; empty: checked by rule
    };
    std::vector<int> ten;
    std::vector<int> seventeen;
    for (int code = 0; code <= 9; ++code)
        ten.push_back(code);
    for (int code = 0; code <= 11; ++code)
        seventeen.push_back(code);
    for (int program = 40; program < 45; ++program)
        seventeen.push_back(MnInstrumentProgram + program);
    const Row rows[] = {
        {"GuitarThenPiano", {MnInstrumentGuitar, MnInstrumentPiano}, {0, 1}, {{0, 24}, {1, 0}}},
        {"EqualCodesShare", {MnInstrumentViolin, MnInstrumentFlute, MnInstrumentViolin}, {0, 1, 0}, {{0, 40}, {1, 73}}},
        {"DefaultAfterGuitar", {MnInstrumentGuitar, MnInstrumentNone}, {0, 1}, {{0, 24}, {1, 0}}},
        {"DefaultPlaysAsThePiano", {MnInstrumentPiano, MnInstrumentNone}, {0, 0}, {{0, 0}}},
        {"TenCodes", ten, {0, 1, 2, 3, 4, 5, 6, 7, 8, 10}, {}},
        {"SeventeenCodes", seventeen, {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 0, 1}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int staves = int(row.codes.size());
        std::unique_ptr<MnScore> score = restScore(1, staves);
        for (int s = 0; s < staves; ++s) {
            ASSERT_TRUE(score->part(s)->setInstrument(row.codes[s]));
            ASSERT_TRUE(score->staff(s)->setKey(s % 5 - 2));
            MpVoiceWriter voice(score->staff(s)->measure(0), 0);
            voice.chord(quarter, {30 + s});
            voice.rest(3 * quarter);
        }
        const MpMidiFile file = exported(*score);

        for (int s = 0; s < staves; ++s) {
            int channel = -1;
            for (const MpMidiEvent& event : file.channelEvents(9)) {
                if (event.bytes[1] == midiKey(30 + s))
                    channel = event.channel();
            }
            EXPECT_EQ(channel, row.channels[s]) << "staff " << s;
        }

        // Each owned channel gets its program and the key of its first
        // staff once, at the start; no event ever uses the drum channel or
        // names a channel the format lacks.
        std::vector<std::pair<int, int>> programs;
        for (const MpMidiEvent& event : file.channelEvents(0xC)) {
            EXPECT_EQ(event.time, 0);
            programs.emplace_back(event.channel(), event.bytes[1]);
        }
        if (row.programs.empty()) {
            std::vector<std::pair<int, int>> expected;
            for (int s = 0; s < staves && s < MpMIDI::ownedChannels; ++s)
                expected.emplace_back(row.channels[s], instrumentToProgram(row.codes[s]));
            EXPECT_EQ(programs, expected);
        } else {
            EXPECT_EQ(programs, row.programs);
        }
        std::set<int> prefixes;
        for (const MpMidiEvent& event : file.metaEvents(0x20)) {
            ASSERT_EQ(event.bytes.size(), 4u);
            EXPECT_LE(event.bytes[3], 15);
            EXPECT_NE(event.bytes[3], 9);
            EXPECT_TRUE(prefixes.insert(event.bytes[3]).second) << "channel " << event.bytes[3] << " twice";
        }
        EXPECT_EQ(prefixes.size(), programs.size());
        for (const MpMidiEvent& event : file.events)
            EXPECT_FALSE(event.isChannel() && event.channel() == 9);

        // The key after each prefix is the key of the first staff of the channel.
        for (std::size_t i = 0; i + 1 < file.events.size(); ++i) {
            if (!file.events[i].isMeta(0x20))
                continue;
            const int channel = file.events[i].bytes[3];
            int firstStaff = -1;
            for (int s = 0; s < staves && firstStaff < 0; ++s) {
                if (row.channels[s] == channel)
                    firstStaff = s;
            }
            ASSERT_TRUE(file.events[i + 1].isMeta(0x59));
            EXPECT_EQ(static_cast<signed char>(file.events[i + 1].bytes[3]), firstStaff % 5 - 2);
        }
    }
}

TEST(MpMIDIPerformance, RepeatedSectionsSoundTwice)
{
    // |: 1 :|: 2 :| 3
    std::unique_ptr<MnScore> score = restScore(3);
    const int keys[] = {keyC4, keyD4, keyE4};
    for (int m = 0; m < 3; ++m)
        MpVoiceWriter(score->staff(0)->measure(m), 0).chord(whole, {keys[m]});
    applyMarks(*score, {{.measure = 1, .barline = MnBarlineEndStartRepeat}, {.measure = 2, .barline = MnBarlineEndRepeat}});

    const long long w = whole / MpMIDI::deltaQuantum;
    const std::vector<MpMidiNote> expected = {
        {0, midiKey(keyC4), 0, w, velocityMp},         {0, midiKey(keyC4), w, 2 * w, velocityMp},
        {0, midiKey(keyD4), 2 * w, 3 * w, velocityMp}, {0, midiKey(keyD4), 3 * w, 4 * w, velocityMp},
        {0, midiKey(keyE4), 4 * w, 5 * w, velocityMp},
    };
    EXPECT_EQ(exported(*score).notes(), expected);
}

TEST(MpMIDIPerformance, KeyChangeGoesBeforeTheFirstEventAtItsTime)
{
    // A change to D major where a note ends and one starts, one to B flat
    // where nothing starts or ends, and the first again after a repeat.
    std::unique_ptr<MnScore> score = restScore(3);
    MnStaff* staff = score->staff(0);
    MpVoiceWriter(staff->measure(0), 0).chord(whole, {keyC4});
    MpVoiceWriter second(staff->measure(1), 0);
    second.chord(2 * quarter, {keyD4});
    second.rest(2 * quarter);
    MpVoiceWriter(staff->measure(2), 0).rest(whole);
    applyMarks(*score, {{.measure = 3, .barline = MnBarlineEndRepeat}});
    ASSERT_TRUE(staff->insertStaffChange(whole));
    staff->definitionAt(whole, true)->setKey(2);
    ASSERT_TRUE(staff->insertStaffChange(2 * whole));
    staff->definitionAt(2 * whole, true)->setKey(-2);

    const MpMidiFile file = exported(*score);
    const std::vector<MpMidiEvent> events = performanceEvents(file);
    std::vector<std::pair<long long, int>> keys;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (!events[i].isMeta(0x59))
            continue;
        keys.emplace_back(events[i].time, static_cast<signed char>(events[i].bytes[3]));
        // Prefix, key, then the first note event of that time.
        ASSERT_GE(i, 1u);
        EXPECT_TRUE(events[i - 1].isMeta(0x20));
        EXPECT_EQ(events[i - 1].time, events[i].time);
        ASSERT_LT(i + 1, events.size());
        EXPECT_TRUE(events[i + 1].isChannel());
        EXPECT_EQ(events[i + 1].time, events[i].time);
        for (std::size_t j = 0; j + 1 < i; ++j)
            EXPECT_LT(events[j].time, events[i].time);
    }
    const long long w = whole / MpMIDI::deltaQuantum;
    EXPECT_EQ(keys, (std::vector<std::pair<long long, int>>{{w, 2}, {4 * w, 2}}));
}

TEST(MpMIDIPerformance, LeadingGraceNotesStrikeBeforeTheDownbeat)
{
    std::unique_ptr<MnScore> score = restScore(1);
    MpVoiceWriter voice(score->staff(0)->measure(0), 0);
    voice.grace(MnTicksSixteenth, {keyD4});
    voice.grace(MnTicksSixteenth, {keyE4});
    voice.chord(quarter, {keyC4});
    voice.rest(3 * quarter);
    const int leadIn = -MpPerformer::firstGridTime(score.get()) / MpMIDI::deltaQuantum;
    ASSERT_GT(leadIn, 0);

    const std::vector<MpMidiNote> notes = exported(*score).notes();
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].key, midiKey(keyD4));
    EXPECT_EQ(notes[0].on, 0);
    EXPECT_EQ(notes[1].key, midiKey(keyE4));
    EXPECT_GT(notes[1].on, 0);
    EXPECT_LT(notes[1].on, leadIn);
    // The downbeat stands where the grace notes end.
    EXPECT_EQ(notes[2].key, midiKey(keyC4));
    EXPECT_EQ(notes[2].on, leadIn);
    EXPECT_EQ(notes[2].off, leadIn + quarter / MpMIDI::deltaQuantum);
}

// Whether exportScore answers, and what it leaves on the disk.
TEST(MpMIDIFile, WritesOnlyWhatWasBuiltWhole)
{
    std::string folder = std::string(QRV_TEST_OUTPUT_DIR) + "/midiXXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string path = folder + "/score.mid";
    std::unique_ptr<MnScore> score = restScore(1);
    MpVoiceWriter(score->staff(0)->measure(0), 0).chord(whole, {keyC4});
    BcArray<unsigned char> built;
    ASSERT_TRUE(MpMIDI().buildFile(score.get(), built));

    MpMIDI midi;
    ASSERT_TRUE(midi.exportScore(BcString(path.c_str()), score.get()));
    BcArray<unsigned char> written;
    ASSERT_TRUE(EdScoreFile::readFile(BcString(path.c_str()), written));
    EXPECT_EQ(toVector(written), toVector(built));

    // A folder that does not exist, and one that takes no new file: the
    // file there stays as it was.
    EXPECT_FALSE(MpMIDI().exportScore(BcString((folder + "/missing/score.mid").c_str()), score.get()));
    const unsigned char old[] = {'o', 'l', 'd'};
    ASSERT_TRUE(EdScoreFile::writeFile(BcString(path.c_str()), old, 3));
    {
        ReadOnlyFolder locked(folder);
        if (!locked.works())
            GTEST_SKIP() << "this file system lets the folder be written";
        EXPECT_FALSE(MpMIDI().exportScore(BcString(path.c_str()), score.get()));
    }
    ASSERT_TRUE(EdScoreFile::readFile(BcString(path.c_str()), written));
    EXPECT_EQ(toVector(written), (std::vector<int>{'o', 'l', 'd'}));
    EXPECT_FALSE(MpMIDI().exportScore(BcString(path.c_str()), nullptr));
}

// What an importer must find again in the file: one violin staff in 3/4 at
// 96 per quarter with plain values, a chord, a rest and a tie whose total is
// a plain value.
TEST(MpMIDIRoundTrip, NotesTempoAndMeterOfAViolinPart)
{
    std::unique_ptr<MnScore> score = restScore(3);
    MnStaff* staff = score->staff(0);
    ASSERT_TRUE(score->part(0)->setInstrument(MnInstrumentViolin));
    ASSERT_TRUE(staff->setTimeType(MnTime3_4));
    for (int m = 0; m < 3; ++m) {
        ASSERT_TRUE(staff->measure(m)->setBeats(3));
        MpVoiceWriter(staff->measure(m), 1).rest(3 * quarter);
    }
    MpVoiceWriter first(staff->measure(0), 0);
    first.chord(quarter, {keyC4});
    first.chord(quarter, {keyE4, keyG4});
    first.rest(quarter);
    MpVoiceWriter second(staff->measure(1), 0);
    second.chord(quarter, {keyF4});
    second.chord(2 * quarter, {keyD4});
    MpVoiceWriter third(staff->measure(2), 0);
    third.tied(quarter, {keyD4});
    third.rest(2 * quarter);
    ASSERT_EQ(score->tempo(0)->beatUnit(), MnTicksQuarter);
    ASSERT_EQ(score->tempo(0)->beatsPerMinute(), 96);

    const MpMidiFile file = exported(*score);
    ASSERT_EQ(file.division, 30240);
    ASSERT_EQ(file.metaEvents(0x51).size(), 1u);
    EXPECT_EQ(file.metaEvents(0x51)[0].bytes, (std::vector<int>{0xFF, 0x51, 0x03, 0x09, 0x89, 0x68}));
    ASSERT_EQ(file.metaEvents(0x58).size(), 1u);
    EXPECT_EQ(file.metaEvents(0x58)[0].bytes, (std::vector<int>{0xFF, 0x58, 0x04, 3, 2, 24, 8}));
    ASSERT_EQ(file.channelEvents(0xC).size(), 1u);
    EXPECT_EQ(file.channelEvents(0xC)[0].bytes, (std::vector<int>{0xC0, 40}));

    // Onsets and durations in the model's ticks.
    std::vector<std::tuple<int, long long, long long>> notes;
    for (const MpMidiNote& note : file.notes())
        notes.emplace_back(note.key - 21, note.on * 60480 / file.division, (note.off - note.on) * 60480 / file.division);
    const std::vector<std::tuple<int, long long, long long>> expected = {
        {keyC4, 0, quarter},
        {keyE4, quarter, quarter},
        {keyG4, quarter, quarter},
        {keyF4, 3 * quarter, quarter},
        {keyD4, 4 * quarter, 3 * quarter},
    };
    EXPECT_EQ(notes, expected);
}
