#include "editing/QuorvaneDocument.h"
#include "interchange/IeMIDIImporter.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "playback/MpMIDI.h"
#include "playback/MpTestScores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

using SoundingNote = std::tuple<int, int, int>; // key, onset, length in ticks

// The notes of a staff's first voice as they sound: a note tied from the
// chord before lengthens the note it continues.
std::vector<SoundingNote> soundingNotes(const MnStaff* staff)
{
    std::vector<SoundingNote> notes;
    for (int m = 0; m < staff->measureCount(); ++m) {
        const MnMeasure* measure = staff->measure(m);
        const BcArray<MnChord*>& chords = measure->voiceChords(0);
        for (int c = 0; c < chords.count(); ++c) {
            const MnChord* chord = chords[c];
            const int onset = measure->startTime() + chord->time();
            for (int n = 0; n < chord->noteCount(); ++n) {
                const MnNote* note = chord->note(n);
                bool joined = false;
                for (size_t i = 0; i < notes.size() && note->isTied() && !joined; ++i) {
                    auto& [key, start, length] = notes[i];
                    if (key == note->keyNumber() && start + length == onset) {
                        length += chord->duration();
                        joined = true;
                    }
                }
                if (!joined)
                    notes.emplace_back(note->keyNumber(), onset, chord->duration());
            }
        }
    }
    std::sort(notes.begin(), notes.end(), [](const SoundingNote& a, const SoundingNote& b) {
        return std::tie(std::get<1>(a), std::get<0>(a)) < std::tie(std::get<1>(b), std::get<0>(b));
    });
    return notes;
}

} // namespace

// A violin part in 3/4 at 96 per quarter goes out as a MIDI file and comes
// back in: the same notes at the same times, the same tempo and meter.
TEST(MidiRoundTrip, NotesTempoAndMeterOfAViolinPartComeBack)
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
    // A half note across the bar line: tied quarters, whose total is a
    // plain value the import's duration table keeps.
    MpVoiceWriter second(staff->measure(1), 0);
    second.chord(quarter, {keyF4});
    second.rest(quarter);
    second.chord(quarter, {keyD4});
    MpVoiceWriter third(staff->measure(2), 0);
    third.tied(quarter, {keyD4});
    third.rest(2 * quarter);
    ASSERT_TRUE(score->tempo(0)->setBeatsPerMinute(96));

    MpMIDI writer;
    BcArray<unsigned char> file;
    ASSERT_TRUE(writer.buildFile(score.get(), file));

    QuorvaneDocument document;
    document.OnNewDocument();
    IeMIDIImporter importer;
    ASSERT_TRUE(importer.importBytes(file.data(), file.count(), document))
        << importer.errorText().toNarrow(BcString::utf8CodePage);
    const BcArray<MnElement*>& works = document.works();
    ASSERT_EQ(works.count(), 2);
    ASSERT_TRUE(works[1]->isKindOf(MnScore::staticClass()));
    const MnScore* imported = static_cast<const MnScore*>(works[1]);

    ASSERT_EQ(imported->staffCount(), 1);
    EXPECT_EQ(imported->staff(0)->time(), MnTime3_4);
    ASSERT_GE(imported->tempoCount(), 1);
    EXPECT_EQ(imported->tempo(0)->beatUnit(), MnTicksQuarter);
    EXPECT_EQ(imported->tempo(0)->beatsPerMinute(), 96);
    EXPECT_EQ(soundingNotes(imported->staff(0)), soundingNotes(staff));
    const std::vector<SoundingNote> expected = {
        {keyC4, 0, quarter},           {keyE4, quarter, quarter},      {keyG4, quarter, quarter},
        {keyF4, 3 * quarter, quarter}, {keyD4, 5 * quarter, 2 * quarter},
    };
    EXPECT_EQ(soundingNotes(imported->staff(0)), expected);
}
