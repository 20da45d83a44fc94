#include "interchange/IeMIDIImporter.h"

#include "common/EdFakeContext.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "interchange/MidiFileBuilder.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTempo.h"
#include "model/MnWork.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int quarter = 480; // file ticks per quarter in these files

// One import into a fresh document.
struct ImportRun
{
    explicit ImportRun(const std::vector<unsigned char>& file)
    {
        document.OnNewDocument();
        ok = importer.importBytes(file.data(), int(file.size()), document);
    }

    MnScore* score() const
    {
        const BcArray<MnElement*>& works = document.works();
        if (!ok || works.count() < 2 || !works[works.count() - 1]->isKindOf(MnScore::staticClass()))
            return nullptr;
        return static_cast<MnScore*>(works[works.count() - 1]);
    }
    std::string error() const { return importer.errorText().toNarrow(BcString::utf8CodePage); }
    std::string title() const
    {
        return static_cast<MnWork*>(document.works()[0])->title.toNarrow(BcString::utf8CodePage);
    }

    QuorvaneDocument document;
    IeMIDIImporter importer;
    bool ok = false;
};

const char* valueName(int ticks)
{
    switch (ticks) {
    case 241920: return "w";
    case 120960: return "h";
    case 60480: return "q";
    case 30240: return "e";
    case 15120: return "s";
    case 7560: return "t";
    case 3780: return "x";
    default: return "?";
    }
}

// The notes of a staff's first voice, one chord a word: the onset in
// quarters from the staff's start, the written value (w h q e s t x), then
// the MIDI keys, "~" before one tied from the chord before. Rests are left
// out.
std::string staffText(const MnStaff* staff)
{
    std::string text;
    for (int m = 0; m < staff->measureCount(); ++m) {
        const MnMeasure* measure = staff->measure(m);
        const BcArray<MnChord*>& chords = measure->voiceChords(0);
        for (int c = 0; c < chords.count(); ++c) {
            const MnChord* chord = chords[c];
            if (chord->isRest())
                continue;
            char onset[32];
            std::snprintf(onset, sizeof onset, "%g", (staff->measureStartTime(m) + chord->time()) / 60480.0);
            if (!text.empty())
                text += " ";
            text += std::string(onset) + ":" + valueName(chord->duration());
            for (int n = 0; n < chord->noteCount(); ++n) {
                if (n > 0)
                    text += ",";
                if (chord->note(n)->isTied())
                    text += "~";
                text += std::to_string(chord->note(n)->keyNumber() + 21);
            }
        }
    }
    return text;
}

// A single-track file of the events, on a violin (one staff).
std::vector<unsigned char> violinFile(MidiTrack events)
{
    MidiTrack track;
    track.program(0, 0, 40);
    track.bytes.insert(track.bytes.end(), events.bytes.begin(), events.bytes.end());
    track.endOfTrack();
    return MidiFileBuilder(0, quarter).track(track).bytes();
}

std::string bytesText(const std::vector<unsigned char>& bytes)
{
    std::string text;
    for (unsigned char byte : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", byte);
        text += hex;
    }
    return text;
}

} // namespace

// Every refused file names its reason and leaves the document as it was.
TEST(IeMIDIImporter, RefusesBadFilesWithTheirTextAndAddsNoWork)
{
    const std::string unsupported = "Unsupported MIDI format";
    const std::string unreadable = "Unable to read the MIDI data";
    MidiTrack note;
    note.noteOn(0, 0, 60).noteOff(quarter, 0, 60).endOfTrack();
    MidiTrack program;
    program.program(0, 0, 40);
    auto withEvents = [&](std::initializer_list<int> events) {
        MidiTrack track = program;
        track.raw(events);
        return MidiFileBuilder(0, quarter).track(track).bytes();
    };
    std::vector<unsigned char> fiveByteDelta = withEvents({0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 100});
    MidiTrack farNote;
    farNote.noteOn(0x0FFFFFFF, 0, 60).noteOff(1, 0, 60).endOfTrack();
    MidiTrack onlyKeys;
    onlyKeys.tempo(0, 500000).keySignature(0, 2).keySignature(quarter, -3).endOfTrack();
    MidiTrack neverEnded;
    neverEnded.noteOn(0, 0, 60).endOfTrack();
    std::vector<unsigned char> cutInEvent = MidiFileBuilder(0, quarter).track(note).bytes();
    cutInEvent.resize(cutInEvent.size() - 6); // after the note off's status
    MidiTrack metaTooLong;
    metaTooLong.raw({0x00, 0xFF, 0x01, 0x20, 'a', 'b'});
    MidiTrack sysexTooLong;
    sysexTooLong.raw({0x00, 0xF0, 0x81, 0x00, 0x01, 0x02, 0xF7});

    struct Case
    {
        const char* name;
        std::vector<unsigned char> file;
        std::string error;
    };
    const Case cases[] = {
        {"format 2", MidiFileBuilder(2, quarter).track(note).bytes(), unsupported},
        {"time-code division", MidiFileBuilder(0, 0xE728).track(note).bytes(), unsupported},
        {"header length 7", MidiFileBuilder(0, quarter).headerLength(7).track(note).bytes(), unreadable},
        {"header length 5", MidiFileBuilder(0, quarter).headerLength(5).track(note).bytes(), unreadable},
        {"other chunk where a track is due",
         MidiFileBuilder(1, quarter).chunk("XFIH", {1, 2}, 2).track(note).bytes(), unreadable},
        {"tempo of two bytes", withEvents({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}), unreadable},
        {"end of track with a byte", withEvents({0x00, 0xFF, 0x2F, 0x01, 0x00}), unreadable},
        {"status F1", withEvents({0x00, 0xF1, 0x00}), unreadable},
        {"status F7", withEvents({0x00, 0xF7, 0x01, 0x00}), unreadable},
        {"status FE", withEvents({0x00, 0xFE}), unreadable},
        {"data byte with no status",
         MidiFileBuilder(0, quarter).track(MidiTrack().raw({0x00, 60, 100})).bytes(), unreadable},
        {"division 0", MidiFileBuilder(0, 0).track(note).bytes(), unreadable},
        {"five-byte quantity", fiveByteDelta, unreadable},
        {"time past the staff's range", MidiFileBuilder(0, 1).track(farNote).bytes(), unreadable},
        {"track cut inside an event", cutInEvent, unreadable},
        {"meta length past the end", MidiFileBuilder(0, quarter).track(metaTooLong).bytes(), unreadable},
        {"system-exclusive length past the end", MidiFileBuilder(0, quarter).track(sysexTooLong).bytes(),
         unreadable},
        {"no notes, only keys and tempo", MidiFileBuilder(0, quarter).track(onlyKeys).bytes(), unreadable},
        {"a note never ended", MidiFileBuilder(0, quarter).track(neverEnded).bytes(), unreadable},
        {"fewer tracks than the header counts", MidiFileBuilder(1, quarter).trackCount(2).track(note).bytes(),
         unreadable},
        {"empty file", {}, unreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportRun run(c.file);
        EXPECT_FALSE(run.ok) << bytesText(c.file);
        EXPECT_EQ(run.error(), c.error);
        EXPECT_EQ(run.document.works().count(), 1);
        EXPECT_EQ(run.document.displayOrder().count(), 1);
    }
}

TEST(IeMIDIImporter, ImportsFilesThroughTheActiveDocument)
{
    QuorvaneDocument document;
    ASSERT_TRUE(document.OnNewDocument());
    EdFakeContext context;
    context.activate(&document);

    const std::string path = std::string(QRV_TEST_OUTPUT_DIR) + "/melody.mid";
    MidiTrack track;
    track.noteOn(0, 0, 60).noteOff(quarter, 0, 60).endOfTrack();
    const std::vector<unsigned char> file = MidiFileBuilder(0, quarter).track(track).bytes();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());

    IeMIDIImporter missing;
    EXPECT_FALSE(missing.importFile(BcString((path + ".absent").c_str())));
    EXPECT_EQ(missing.errorText().toNarrow(BcString::utf8CodePage), std::string("Unable to open the MIDI file"));
    EXPECT_EQ(document.works().count(), 1);

    IeMIDIImporter folder;
    EXPECT_FALSE(folder.importFile(BcString(QRV_TEST_OUTPUT_DIR)));
    EXPECT_EQ(document.works().count(), 1);

    IeMIDIImporter importer;
    EXPECT_TRUE(importer.importFile(BcString(path.c_str())));
    EXPECT_TRUE(importer.errorText().isEmpty());
    ASSERT_EQ(document.works().count(), 2);
    EXPECT_TRUE(document.works()[1]->isKindOf(MnScore::staticClass()));
    EXPECT_EQ(document.mainScoreIndex(), 1);
    // An importer serves one import.
    EXPECT_FALSE(importer.importFile(BcString(path.c_str())));
    EXPECT_EQ(document.works().count(), 2);

    // Without a document there is nowhere to put the score.
    context.activate(nullptr);
    IeMIDIImporter orphan;
    EXPECT_FALSE(orphan.importFile(BcString(path.c_str())));
    EXPECT_EQ(orphan.errorText().toNarrow(BcString::utf8CodePage), std::string("Unable to read the MIDI data"));
}

// Files that bend the format in ways real files do, each still read whole.
TEST(IeMIDIImporter, AcceptsTheOdditiesOfRealFiles)
{
    MidiTrack noEnd;
    noEnd.program(0, 0, 40).noteOn(0, 0, 60).noteOff(quarter, 0, 60).noteOn(0, 0, 62).noteOff(quarter, 0, 62);

    MidiTrack shortLength;
    shortLength.program(0, 0, 40).noteOn(0, 0, 60).noteOff(quarter, 0, 60).endOfTrack();
    MidiTrack second;
    second.noteOn(quarter, 0, 64).noteOff(quarter, 0, 64).endOfTrack();

    MidiTrack acrossMeta;
    acrossMeta.program(0, 0, 40).noteOn(0, 0, 60).meta(0, 0x01, MidiTrack::text("lyric")).running(quarter, {60, 0})
        .running(0, {62, 100}).systemExclusive(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).running(quarter, {62, 0})
        .endOfTrack();
    MidiTrack runningOn;
    runningOn.running(0, {64, 100}).running(quarter, {64, 0}).endOfTrack();

    MidiTrack unknownMeta;
    unknownMeta.program(0, 0, 40).meta(0, 0x7F, {0x00, 0x20, 0x44, 0x01}).meta(0, 0x21, {0x00})
        .meta(0, 0x54, {1, 2, 3, 4, 5}).noteOn(0, 0, 60).meta(0, 0x06, MidiTrack::text("mark"))
        .noteOff(quarter, 0, 60).endOfTrack();

    MidiTrack velocityZero;
    velocityZero.program(0, 0, 40).noteOn(0, 0, 60).noteOn(2 * quarter, 0, 60, 0).noteOn(0, 0, 62)
        .noteOff(quarter, 0, 62).endOfTrack();

    MidiTrack laterStart;
    laterStart.program(0, 0, 40).noteOn(0, 0, 62).noteOff(quarter, 0, 62).noteOn(quarter, 0, 60).endOfTrack();
    MidiTrack earlierEnd;
    earlierEnd.noteOff(0, 0, 60).endOfTrack();

    struct Case
    {
        const char* name;
        std::vector<unsigned char> file;
        std::string notes;
    };
    const Case cases[] = {
        {"a note ended in a later track before it began is dropped",
         MidiFileBuilder(1, quarter).track(laterStart).track(earlierEnd).bytes(), "0:q62"},
        {"a last track without end-of-track", MidiFileBuilder(0, quarter).track(noEnd).bytes(), "0:q60 1:q62"},
        {"a track length too short",
         MidiFileBuilder(1, quarter).chunk("MTrk", shortLength.bytes, 3).track(second).bytes(), "0:q60 1:q64"},
        {"a track length too long", MidiFileBuilder(0, quarter).chunk("MTrk", shortLength.bytes, 5000).bytes(),
         "0:q60"},
        {"running status across meta, system-exclusive and a track",
         MidiFileBuilder(1, quarter).track(acrossMeta).track(runningOn).bytes(), "0:q60,64 1:q62"},
        {"unknown meta events", MidiFileBuilder(0, quarter).track(unknownMeta).bytes(), "0:q60"},
        {"a note on of velocity 0", MidiFileBuilder(0, quarter).track(velocityZero).bytes(), "0:h60 2:q62"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportRun run(c.file);
        ASSERT_TRUE(run.ok) << run.error() << "\n" << bytesText(c.file);
        ASSERT_EQ(run.score()->staffCount(), 1);
        EXPECT_EQ(staffText(run.score()->staff(0)), c.notes);
    }
}

// A conductor track, then a track per instrument: staves per channel in
// order of first use, pairs for keyboards, empty staves gone.
TEST(IeMIDIImporter, GivesEachChannelItsStavesAndNames)
{
    MidiTrack conductor;
    conductor.trackName(0, "Suite").tempo(0, 500000).timeSignature(0, 3, 2).keySignature(0, 2).endOfTrack();
    MidiTrack violin;
    violin.channelPrefix(0, 1).instrumentName(0, "Violin").program(0, 1, 40).noteOn(0, 1, 67)
        .noteOff(quarter, 1, 67).endOfTrack();
    MidiTrack piano;
    piano.channelPrefix(0, 0).instrumentName(0, "Piano").noteOn(0, 0, 60).noteOn(0, 0, 59)
        .noteOff(quarter, 0, 60).noteOff(0, 0, 59).endOfTrack();
    MidiTrack organ;
    organ.channelPrefix(0, 2).instrumentName(0, "Organ").program(0, 2, 19).noteOn(0, 2, 72)
        .noteOff(quarter, 2, 72).endOfTrack();
    // A key the piano lacks makes a staff that keeps nothing.
    MidiTrack offPiano;
    offPiano.program(0, 4, 40).noteOn(0, 4, 10).noteOff(quarter, 4, 10).endOfTrack();

    ImportRun run(MidiFileBuilder(1, quarter).track(conductor).track(violin).track(piano).track(organ)
                      .track(offPiano).bytes());
    ASSERT_TRUE(run.ok) << run.error();
    MnScore* score = run.score();
    ASSERT_EQ(score->staffCount(), 4);
    struct Staff
    {
        std::string notes;
        int clef;
        int key;
        std::string part;
    };
    // The key signature without a prefix went to channel 0, the first use.
    const Staff expected[] = {
        {"0:q60", MnClefTreble, 2, ""},
        {"0:q59", MnClefBass, 2, ""},
        {"0:q67", MnClefTreble, 0, "Violin"},
        {"0:q72", MnClefTreble, 0, "Organ"},
    };
    for (int s = 0; s < 4; ++s) {
        SCOPED_TRACE(s);
        const MnStaff* staff = score->staff(s);
        EXPECT_EQ(staffText(staff), expected[s].notes);
        EXPECT_EQ(staff->clef(), expected[s].clef);
        EXPECT_EQ(staff->key(), expected[s].key);
        EXPECT_EQ(staff->time(), MnTime3_4);
        EXPECT_EQ(score->part(s)->name().toNarrow(BcString::utf8CodePage), expected[s].part);
        EXPECT_EQ(staff->measure(staff->measureCount() - 1)->barline(), MnBarlineFinal);
    }
    ASSERT_EQ(score->partGroupCount(), 1);
    EXPECT_EQ(score->partGroup(0)->firstStaff(), 0);
    EXPECT_EQ(score->partGroup(0)->staffCount(), 2);
    EXPECT_EQ(score->partGroup(0)->name().toNarrow(BcString::utf8CodePage), std::string("Piano"));
    EXPECT_EQ(score->tempo(0)->beatsPerMinute(), 120);
    EXPECT_EQ(score->tempo(0)->beatUnit(), 60480);
    EXPECT_EQ(run.title(), "Suite");
}

TEST(IeMIDIImporter, KeySignaturesGoToTheChannelOfThePrefix)
{
    MidiTrack track;
    // Channel 0 plays nothing: its staves and this key vanish.
    // A prefix past channel 15 leaves channel 1's in force.
    track.keySignature(0, 3).channelPrefix(0, 1).channelPrefix(0, 20).keySignature(0, -3).keySignature(0, 9)
        .keySignature(4 * quarter, 1).program(0, 1, 40).noteOn(0, 1, 60).noteOff(quarter, 1, 60)
        .noteOn(7 * quarter, 1, 62).noteOff(quarter, 1, 62).endOfTrack();
    ImportRun run(MidiFileBuilder(0, quarter).track(track).bytes());
    ASSERT_TRUE(run.ok) << run.error();
    MnScore* score = run.score();
    ASSERT_EQ(score->staffCount(), 1);
    EXPECT_EQ(score->partGroupCount(), 0);
    const MnStaff* staff = score->staff(0);
    EXPECT_EQ(staffText(staff), "4:q60 12:q62");
    // The key out of range was ignored; the later one became a change.
    EXPECT_EQ(staff->key(), -3);
    ASSERT_EQ(staff->changeCount(), 1);
    EXPECT_EQ(staff->change(0)->startTime(), 4 * 60480);
    EXPECT_EQ(staff->change(0)->key(), 1);
}

// One melody on a single staff: how its times become written values.
TEST(IeMIDIImporter, QuantisesTimesToPlainValues)
{
    struct Case
    {
        const char* name;
        MidiTrack events;
        std::string notes;
    };
    const Case cases[] = {
        {"overlapping notes make a sequence",
         MidiTrack().noteOn(0, 0, 60).noteOn(quarter, 0, 62).noteOff(quarter / 2, 0, 60).noteOff(quarter / 2, 0, 62),
         "0:q60 1:q62"},
        {"notes starting and ending together make a chord",
         MidiTrack().noteOn(0, 0, 60).noteOn(0, 0, 64).noteOff(quarter, 0, 64).noteOff(0, 0, 60), "0:q60,64"},
        {"a repeated note on is ignored",
         MidiTrack().noteOn(0, 0, 60).noteOn(quarter, 0, 60).noteOff(quarter, 0, 60), "0:h60"},
        {"a 128th becomes a quarter", MidiTrack().noteOn(0, 0, 60).noteOff(quarter / 32, 0, 60), "0:q60"},
        {"a dotted quarter becomes a quarter", MidiTrack().noteOn(0, 0, 60).noteOff(quarter * 3 / 2, 0, 60),
         "0:q60"},
        {"an eighth and a sixteenth",
         MidiTrack().noteOn(0, 0, 60).noteOff(quarter / 2, 0, 60).noteOn(0, 0, 62).noteOff(quarter / 4, 0, 62),
         "0:e60 0.5:s62"},
        {"a whole", MidiTrack().noteOn(0, 0, 60).noteOff(4 * quarter, 0, 60), "0:w60"},
        {"longer than a whole", MidiTrack().noteOn(0, 0, 60).noteOff(11 * quarter, 0, 60), "0:w60"},
        {"a first note in the third measure", MidiTrack().noteOn(8 * quarter, 0, 60).noteOff(quarter, 0, 60),
         "8:q60"},
        {"a half on the fourth beat is tied across the bar",
         MidiTrack().noteOn(3 * quarter, 0, 60).noteOff(2 * quarter, 0, 60), "3:q60 4:q~60"},
        {"triplet eighths keep every note",
         MidiTrack().noteOn(0, 0, 60).noteOff(quarter / 3, 0, 60).noteOn(0, 0, 62).noteOff(quarter / 3, 0, 62)
             .noteOn(0, 0, 64).noteOff(quarter / 3, 0, 64),
         "0:s60 0.34375:s62 0.65625:s64"},
        {"jittered onsets keep every note; one played short floors to an eighth",
         MidiTrack().noteOn(0, 0, 60).noteOn(483, 0, 62).noteOn(475, 0, 64).noteOn(483, 0, 65)
             .noteOff(489, 0, 65).noteOff(0, 0, 60),
         "0:q60 1:e62 2:q64 3:q65"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportRun run(violinFile(c.events));
        ASSERT_TRUE(run.ok) << run.error();
        ASSERT_EQ(run.score()->staffCount(), 1);
        EXPECT_EQ(staffText(run.score()->staff(0)), c.notes);
    }
}

TEST(IeMIDIImporter, TakesTheFirstTempoAndTimeSignature)
{
    struct Case
    {
        const char* name;
        int numerator;
        int power;
        std::uint32_t tempo;
        int time;
        int beatsPerMinute;
    };
    // 96 is a new score's own tempo.
    const Case cases[] = {
        {"4/4 at 500000", 4, 2, 500000, MnTime4_4, 120},   {"6/8", 6, 3, 1000000, MnTime6_8, 60},
        {"12/8", 12, 3, 250000, MnTime12_8, 240},          {"5/4 keeps 4/4", 5, 2, 500000, MnTimeCommon, 120},
        {"2/2", 2, 1, 500000, MnTime2_2, 120},             {"3/8", 3, 3, 500000, MnTime3_8, 120},
        {"a tempo too fast to count", 4, 2, 10, MnTime4_4, 96},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MidiTrack track;
        track.tempo(0, c.tempo).timeSignature(0, c.numerator, c.power).noteOn(0, 0, 60).noteOff(quarter, 0, 60);
        // Tempo and time after the first note are too late.
        track.tempo(0, 300000).timeSignature(0, 3, 2).noteOn(0, 0, 62).noteOff(quarter / 2, 0, 62);
        ImportRun run(violinFile(track));
        ASSERT_TRUE(run.ok) << run.error();
        EXPECT_EQ(run.score()->staff(0)->time(), c.time);
        EXPECT_EQ(run.score()->tempo(0)->beatsPerMinute(), c.beatsPerMinute);
        EXPECT_EQ(staffText(run.score()->staff(0)), "0:q60 1:e62");
    }
}

TEST(IeMIDIImporter, TheTrackNameTitlesTheWork)
{
    struct Case
    {
        const char* name;
        MidiTrack events;
        std::string title;
    };
    const Case cases[] = {
        {"a name", MidiTrack().trackName(0, "\xC3\x89tude").trackName(0, "Second"), "\xC3\x89tude"},
        {"an empty name", MidiTrack().trackName(0, ""), "Old"},
        {"a name cut at a zero byte", MidiTrack().meta(0, 0x03, {'A', 'b', 0, 'c'}), "Ab"},
        {"no name", MidiTrack(), "Old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MidiTrack track = c.events;
        track.noteOn(0, 0, 60).noteOff(quarter, 0, 60);
        QuorvaneDocument document;
        document.OnNewDocument();
        static_cast<MnWork*>(document.works()[0])->title = "Old";
        IeMIDIImporter importer;
        const std::vector<unsigned char> file = violinFile(track);
        ASSERT_TRUE(importer.importBytes(file.data(), int(file.size()), document));
        EXPECT_EQ(static_cast<MnWork*>(document.works()[0])->title.toNarrow(BcString::utf8CodePage), c.title);
    }
}

// Damaged copies of a real file: each imports or fails cleanly (the
// sanitizers watch for the rest).
TEST(IeMIDIImporter, SurvivesTruncatedAndDamagedFiles)
{
    const std::vector<unsigned char> file = midiSampleFile();
    {
        ImportRun whole(file);
        ASSERT_TRUE(whole.ok) << whole.error();
        EXPECT_EQ(whole.score()->staffCount(), 3);
    }
    for (size_t length = 0; length < file.size(); ++length) {
        std::vector<unsigned char> prefix(file.begin(), file.begin() + long(length));
        ImportRun run(prefix);
        EXPECT_EQ(run.document.works().count(), run.ok ? 2 : 1);
    }
    std::mt19937 random(20);
    for (int copy = 0; copy < 3000; ++copy) {
        std::vector<unsigned char> damaged = file;
        const int flips = 1 + int(random() % 3);
        for (int f = 0; f < flips; ++f)
            damaged[random() % damaged.size()] ^= static_cast<unsigned char>(1u << (random() % 8));
        ImportRun run(damaged);
        EXPECT_EQ(run.document.works().count(), run.ok ? 2 : 1);
        EXPECT_EQ(run.ok, run.error().empty());
    }
}
