#include "model/MnMeasure.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTuplet.h"
#include "model/ModelBuilders.h"
#include "model/RecordBytes.h"
#include "model/VoiceText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Notes of the tests: step, octave.
constexpr int C = 0, D = 1, E = 2, F = 3, G = 4, A = 5, B = 6;
constexpr int None = MnAccidentalNone;

constexpr int Whole = 241920;
constexpr int DottedHalf = 181440;
constexpr int Half = 120960;
constexpr int DottedQuarter = 90720;
constexpr int Quarter = 60480;
constexpr int Eighth = 30240;
constexpr int Sixteenth = 15120;

MnChord* chordAt(MnMeasure& measure, int voice, int time)
{
    const BcArray<MnChord*>& chords = measure.voiceChords(voice);
    for (int i = 0; i < chords.count(); ++i) {
        if (!chords[i]->isGrace() && chords[i]->time() == time)
            return chords[i];
    }
    return nullptr;
}

} // namespace

TEST(MnMeasureEditing, EnteringNotesAndRestsMakesChordSlots)
{
    // Each row starts from a new 4/4 measure (one whole rest), runs its
    // steps in voice 0 and shows the voice that results.
    const struct
    {
        const char* name;
        std::function<bool(MnMeasure&)> steps;
        const char* voice;
    } cases[] = {
        {"a quarter on beat 2 of a whole rest splits the rest around it",
         [](MnMeasure& m) { return m.addNote(0, Quarter, C, 4, None, Quarter, false) != nullptr; },
         "0:60480r 60480:60480C4 120960:120960r"},
        {"a dotted quarter at 0 merges a quarter and an eighth slot",
         [](MnMeasure& m) { return m.addNote(0, 0, C, 4, None, DottedQuarter, false) != nullptr; },
         "0:90720C4 90720:30240r 120960:120960r"},
        {"a note added to an existing chord joins it",
         [](MnMeasure& m) {
             return m.addNote(0, 0, C, 4, None, Half, false) && m.addNote(0, 0, E, 4, None, Half, false);
         },
         "0:120960C4E4 120960:120960r"},
        {"setting a note replaces the chord's notes",
         [](MnMeasure& m) {
             return m.addNote(0, 0, C, 4, None, Half, false) && m.addNote(0, 0, E, 4, None, Half, false) &&
                    m.setNote(0, 0, G, 4, 1, Half, false);
         },
         "0:120960G#4 120960:120960r"},
        {"a longer value swallows the chords under it and keeps its notes",
         [](MnMeasure& m) {
             return m.addNote(0, 0, C, 4, None, Quarter, false) && m.addNote(0, Quarter, D, 4, None, Quarter, false) &&
                    m.setChordDuration(0, 0, Half);
         },
         "0:120960C4 120960:120960r"},
        {"a shorter value leaves rests after the chord",
         [](MnMeasure& m) { return m.addNote(0, 0, C, 4, None, Whole, false) && m.setChordDuration(0, 0, Eighth); },
         "0:30240C4 30240:30240r 60480:60480r 120960:120960r"},
        {"a note entered inside a longer note shortens it",
         [](MnMeasure& m) {
             return m.addNote(0, 0, C, 4, None, Whole, false) && m.addNote(0, Half, E, 4, None, Quarter, false);
         },
         "0:120960C4 120960:60480E4 181440:60480r"},
        {"a rest over a note clears it",
         [](MnMeasure& m) { return m.addNote(0, 0, C, 4, None, Half, false) && m.setRest(0, 0, Quarter); },
         "0:60480r 60480:60480r 120960:120960r"},
        {"a 128th grid onset is reached by halving",
         [](MnMeasure& m) { return m.addNote(0, 3 * 1890, C, 4, None, 1890, false) != nullptr; },
         "0:3780r 3780:1890r 5670:1890C4 7560:7560r 15120:15120r 30240:30240r 60480:60480r 120960:120960r"},
        {"a dotted half over a dotted quarter and a tied eighth",
         [](MnMeasure& m) {
             return m.addNote(0, 0, C, 4, None, DottedQuarter, false) &&
                    m.addNote(0, DottedQuarter, C, 4, None, Eighth, true) && m.setChordDuration(0, 0, DottedHalf);
         },
         "0:181440C4 181440:60480r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MnMeasure measure(nullptr, 1, MnTime4_4);
        EXPECT_TRUE(c.steps(measure));
        EXPECT_EQ(voiceText(measure, 0), c.voice);
        EXPECT_EQ(voiceFault(measure, 0), "");
        EXPECT_EQ(voiceText(measure, 1), "0:241920r");
    }
}

TEST(MnMeasureEditing, RefusalsChangeNothing)
{
    const struct
    {
        const char* name;
        std::function<bool(MnMeasure&)> step;
    } cases[] = {
        {"a note off the grid", [](MnMeasure& m) { return m.addNote(0, 1000, C, 4, None, Quarter, false) != nullptr; }},
        {"a note before the measure", [](MnMeasure& m) { return m.addNote(0, -1890, C, 4, None, Quarter, false) != nullptr; }},
        {"a note at the bar line", [](MnMeasure& m) { return m.addNote(0, Whole, C, 4, None, Quarter, false) != nullptr; }},
        {"a third voice", [](MnMeasure& m) { return m.addNote(2, 0, C, 4, None, Quarter, false) != nullptr; }},
        {"a value of 0", [](MnMeasure& m) { return m.addNote(0, 0, C, 4, None, 0, false) != nullptr; }},
        {"a step past B", [](MnMeasure& m) { return m.addNote(0, 0, 7, 4, None, Quarter, false) != nullptr; }},
        {"a pitch below A0", [](MnMeasure& m) { return m.addNote(0, 0, G, 0, None, Quarter, false) != nullptr; }},
        {"a pitch above C8", [](MnMeasure& m) { return m.setNote(0, 0, D, 8, None, Quarter, false) != nullptr; }},
        {"an accidental code of 4", [](MnMeasure& m) { return m.addNote(0, 0, C, 4, 4, Quarter, false) != nullptr; }},
        {"a key past the piano", [](MnMeasure& m) { return m.addNoteByKey(0, 0, 88, Quarter, false) != nullptr; }},
        {"a grace note of a negative key",
         [](MnMeasure& m) { return m.addGraceNoteByKey(m.voiceChords(0)[0], -1, Quarter) != nullptr; }},
        {"a rest off the grid", [](MnMeasure& m) { return m.setRest(0, 945, Quarter); }},
        {"the dotted 64th as a chord value", [](MnMeasure& m) { return m.setChordDuration(0, 0, 5670); }},
        {"a quarter on the last eighth of a triplet",
         [](MnMeasure& m) { return m.addNote(0, 40320, C, 4, None, Quarter, false) != nullptr; }},
        {"a half that would leave the triplet", [](MnMeasure& m) { return m.setChordDuration(0, 20160, Half); }},
        {"a rest that would leave the triplet", [](MnMeasure& m) { return m.setRest(0, 20160, Half); }},
        {"a slot of a value that halving cannot reach",
         [](MnMeasure& m) { return m.makeChordSlot(0, Quarter, 50000) >= 0; }},
        {"a slot past the bar line", [](MnMeasure& m) { return m.makeChordSlot(0, DottedHalf, Half) >= 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MnMeasure measure(nullptr, 1, MnTime4_4);
        ASSERT_TRUE(measure.makeTuplet(0, 0, Quarter, 3, false));
        const Bytes before = recordOf(measure);
        EXPECT_FALSE(c.step(measure));
        EXPECT_EQ(recordOf(measure), before);
    }
}

TEST(MnMeasureEditing, ValuesPastTheBarlineAreTiedIntoTheNextMeasures)
{
    StaffFixture fixture(3);
    MnMeasure* first = fixture.measure(0);
    MnMeasure* second = fixture.measure(1);
    MnMeasure* third = fixture.measure(2);

    // A half note on beat 4 of 4/4: a quarter here, a tied quarter there,
    // both carrying every note of the chord that took the first piece.
    ASSERT_TRUE(first->addNote(0, DottedHalf, E, 4, None, Quarter, false));
    MnNote* note = first->addNote(0, DottedHalf, C, 4, None, Half, false);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->chord()->time(), DottedHalf);
    EXPECT_FALSE(note->isTied());
    EXPECT_EQ(voiceText(*first, 0), "0:120960r 120960:60480r 181440:60480C4E4");
    EXPECT_EQ(voiceText(*second, 0), "0:60480~C4~E4 60480:60480r 120960:120960r");

    // setNote carries only its own note, through a whole measure and beyond.
    MnNote* alone = first->setNote(0, Half, G, 4, None, 2 * Whole, false);
    ASSERT_NE(alone, nullptr);
    EXPECT_EQ(voiceText(*first, 0), "0:120960r 120960:120960G4");
    EXPECT_EQ(voiceText(*second, 0), "0:241920~G4");
    EXPECT_EQ(voiceText(*third, 0), "0:120960~G4 120960:120960r");

    // Past the last measure the rest of the value is dropped.
    ASSERT_NE(third->addNote(0, DottedHalf, A, 4, None, Half, false), nullptr);
    EXPECT_EQ(voiceText(*third, 0), "0:120960~G4 120960:60480r 181440:60480A4");

    // A rest across the bar line clears both sides.
    EXPECT_TRUE(first->setRest(0, Half, Whole));
    EXPECT_EQ(voiceText(*first, 0), "0:120960r 120960:120960r");
    EXPECT_EQ(voiceText(*second, 0), "0:120960r 120960:120960r");

    // A value change across the bar line carries the chord's notes on.
    ASSERT_NE(first->setNote(0, Half, B, 4, None, Half, false), nullptr);
    EXPECT_TRUE(first->setChordDuration(0, Half, Whole));
    EXPECT_EQ(voiceText(*first, 0), "0:120960r 120960:120960B4");
    EXPECT_EQ(voiceText(*second, 0), "0:120960~B4 120960:120960r");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(voiceFault(*fixture.measure(i), 0), "");
}

TEST(MnMeasureEditing, TupletsTakeTheirRatioFromCountAndSpan)
{
    const struct
    {
        int span;
        int count;
        bool alternative;
        const char* voice;
    } cases[] = {
        {Quarter, 3, false, "0:30240r/3:2T3 20160:30240r/3:2 40320:30240r/3:2 60480:60480r 120960:120960r"},
        {Quarter, 5, false,
         "0:15120r/5:4T5 12096:15120r/5:4 24192:15120r/5:4 36288:15120r/5:4 48384:15120r/5:4 60480:60480r "
         "120960:120960r"},
        {DottedQuarter, 2, false, "0:30240r/2:3T2 45360:30240r/2:3 90720:30240r 120960:120960r"},
        {Half, 3, false, "0:60480r/3:2T3 40320:60480r/3:2 80640:60480r/3:2 120960:120960r"},
        {DottedQuarter, 4, false,
         "0:30240r/4:3T4 22680:30240r/4:3 45360:30240r/4:3 68040:30240r/4:3 90720:30240r 120960:120960r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.voice);
        MnMeasure measure(nullptr, 1, MnTime4_4);
        ASSERT_TRUE(measure.makeTuplet(0, 0, c.span, c.count, c.alternative));
        EXPECT_EQ(voiceText(measure, 0), c.voice);
        EXPECT_EQ(voiceFault(measure, 0), "");
        const MnTuplet* tuplet = measure.voiceChords(0)[0]->tuplet();
        ASSERT_NE(tuplet, nullptr);
        EXPECT_EQ(tuplet->span(), c.span);
        EXPECT_EQ(tuplet->text(), BcString(c.count));
    }

    // The normal count of every count: plain span, dotted span, dotted span
    // with the alternative ratio.
    const int normals[8][3] = {
        {2, 3, 3}, {2, 2, 2}, {4, 3, 3}, {4, 4, 3}, {4, 4, 4}, {4, 4, 6}, {8, 6, 6}, {8, 8, 6},
    };
    for (int count = 2; count <= 9; ++count) {
        for (int form = 0; form < 3; ++form) {
            SCOPED_TRACE(testing::Message() << count << " in form " << form);
            MnMeasure measure(nullptr, 1, MnTime4_4);
            const int span = form == 0 ? Half : DottedHalf;
            ASSERT_TRUE(measure.makeTuplet(0, 0, span, count, form == 2));
            const MnChord* first = measure.voiceChords(0)[0];
            EXPECT_EQ(first->actual(), count);
            EXPECT_EQ(first->normal(), normals[count - 2][form]);
            EXPECT_EQ(voiceFault(measure, 0), "");
        }
    }
}

TEST(MnMeasureEditing, TupletLimitsAndRemaking)
{
    MnMeasure measure(nullptr, 1, MnTime4_4);
    const Bytes empty = recordOf(measure);
    EXPECT_FALSE(measure.makeTuplet(0, 0, Quarter, 1, false));
    EXPECT_FALSE(measure.makeTuplet(0, 0, Quarter, 10, false));
    EXPECT_FALSE(measure.makeTuplet(0, 0, 3780, 3, false));            // shorter than a 32nd pair
    EXPECT_FALSE(measure.makeTuplet(0, 0, Sixteenth, 8, false));       // eight need an eighth
    EXPECT_FALSE(measure.makeTuplet(0, 0, 11340, 2, false));           // dotted: twice the least
    EXPECT_FALSE(measure.makeTuplet(0, 1000, Quarter, 3, false));      // off the grid
    EXPECT_FALSE(measure.makeTuplet(0, DottedHalf, Half, 3, false));   // past the bar line
    EXPECT_FALSE(measure.makeTuplet(0, 0, 50000, 3, false));           // not a note value
    EXPECT_EQ(recordOf(measure), empty);

    ASSERT_NE(measure.addNote(0, 0, C, 4, None, Quarter, false), nullptr);
    ASSERT_TRUE(measure.makeTuplet(0, 0, Quarter, 3, false));
    // The first chord keeps its notes.
    EXPECT_EQ(chordText(measure.voiceChords(0)[0]), "0:30240C4/3:2T3");
    MnTuplet* tuplet = measure.voiceChords(0)[0]->tuplet();

    // Inside the triplet the grid counts its written time.
    EXPECT_TRUE(measure.isOnGrid(0, 20160));
    EXPECT_FALSE(measure.isOnGrid(0, 20160 + 1890));
    EXPECT_TRUE(measure.isOnGrid(0, 20160 + 1260)); // 1260 x 3 / 2 = 1890
    EXPECT_FALSE(measure.isOnGrid(0, Quarter + 20160));
    EXPECT_FALSE(measure.isOnGrid(1, 20160));

    // The same tuplet again changes nothing; a tuplet that starts inside it
    // is refused; another count at its start rebuilds it with the same
    // number element.
    const Bytes triplet = recordOf(measure);
    EXPECT_TRUE(measure.makeTuplet(0, 0, Quarter, 3, false));
    EXPECT_EQ(recordOf(measure), triplet);
    EXPECT_FALSE(measure.makeTuplet(0, 20160, Eighth, 3, false));
    EXPECT_EQ(recordOf(measure), triplet);
    ASSERT_TRUE(measure.makeTuplet(0, 0, Quarter, 5, false));
    EXPECT_EQ(measure.voiceChords(0)[0]->tuplet(), tuplet);
    EXPECT_EQ(tuplet->number(), 5);
    EXPECT_EQ(tuplet->text(), BcString("5"));
    EXPECT_EQ(chordText(measure.voiceChords(0)[0]), "0:15120C4/5:4T5");
    EXPECT_EQ(voiceFault(measure, 0), "");

    // A refused remake leaves the old tuplet standing.
    MnMeasure last(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(last.makeTuplet(0, DottedHalf, Quarter, 3, false));
    const Bytes lastBeat = recordOf(last);
    EXPECT_FALSE(last.makeTuplet(0, DottedHalf, Half, 3, false));
    EXPECT_EQ(recordOf(last), lastBeat);
    // With the alternative ratio a dotted 32nd holds two.
    MnMeasure shortest(nullptr, 1, MnTime4_4);
    EXPECT_TRUE(shortest.makeTuplet(0, 0, 11340, 2, true));
    EXPECT_EQ(voiceFault(shortest, 0), "");

    // Undoing gives the span back to the first chord.
    EXPECT_TRUE(measure.removeTuplet(0, 0, nullptr));
    EXPECT_EQ(voiceText(measure, 0), "0:60480C4 60480:60480r 120960:120960r");
    EXPECT_FALSE(measure.removeTuplet(0, 0, nullptr));
}

TEST(MnMeasureEditing, NotesInsideTupletsAndTupletsUnderLongerValues)
{
    MnMeasure measure(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(measure.makeTuplet(0, Quarter, Half, 3, false));
    // An eighth in the second quarter of the triplet splits it in the ratio.
    ASSERT_NE(measure.addNote(0, Quarter + 40320, E, 4, None, Eighth, false), nullptr);
    EXPECT_EQ(voiceText(measure, 0),
              "0:60480r 60480:60480r/3:2T3 100800:30240E4/3:2 120960:30240r/3:2 141120:60480r/3:2 181440:60480r");
    EXPECT_EQ(voiceFault(measure, 0), "");

    // A half note at 0 swallows the triplet as a whole; the gap after it is
    // filled with rests placed before the grace chord of the last beat.
    ASSERT_NE(measure.addGraceNote(chordAt(measure, 0, DottedHalf), D, 5, None, Eighth), nullptr);
    ASSERT_NE(measure.addNote(0, 0, C, 4, None, Half, false), nullptr);
    EXPECT_EQ(voiceText(measure, 0), "0:120960C4 120960:60480r g181440:30240D5 181440:60480r");
    EXPECT_EQ(voiceFault(measure, 0), "");

    // The same at the end of the measure: the rests go before the grace
    // chord that leads into the next measure.
    StaffFixture fixture(2);
    MnMeasure* last = fixture.measure(0);
    ASSERT_TRUE(last->makeTuplet(0, Half, Half, 3, false));
    ASSERT_NE(last->addGraceNote(fixture.measure(1)->voiceChords(0)[0], D, 5, None, Eighth), nullptr);
    ASSERT_NE(last->addNote(0, Quarter, C, 4, None, Half, false), nullptr);
    EXPECT_EQ(voiceText(*last, 0), "0:60480r 60480:120960C4 181440:60480r g241920:30240D5");
    EXPECT_EQ(voiceFault(*last, 0), "");

    // A dotted value whose dot lands on a tuplet takes the tuplet with it.
    MnMeasure dotted(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(dotted.makeTuplet(0, Quarter, Quarter, 3, false));
    ASSERT_TRUE(dotted.setChordDuration(0, 0, DottedQuarter));
    EXPECT_EQ(voiceText(dotted, 0), "0:90720r 90720:30240r 120960:120960r");
    EXPECT_EQ(voiceFault(dotted, 0), "");
}

TEST(MnMeasureEditing, GraceNotes)
{
    StaffFixture fixture(2);
    MnMeasure* first = fixture.measure(0);
    MnMeasure* second = fixture.measure(1);
    MnNote* main = first->addNote(0, Half, C, 5, None, Half, false);
    ASSERT_NE(main, nullptr);
    MnChord* mainChord = main->chord();

    MnNote* grace = first->addGraceNote(mainChord, B, 4, None, Eighth);
    ASSERT_NE(grace, nullptr);
    EXPECT_TRUE(grace->chord()->isGrace());
    EXPECT_EQ(voiceText(*first, 0), "0:120960r g120960:30240B4 120960:120960C5");
    // Another grace note goes directly before the main chord again.
    ASSERT_NE(first->addGraceNote(mainChord, A, 4, None, Sixteenth), nullptr);
    EXPECT_EQ(voiceText(*first, 0), "0:120960r g120960:30240B4 g120960:15120A4 120960:120960C5");

    // A note added to a grace chord sets the chord's value.
    ASSERT_NE(first->addNoteToGraceChord(grace->chord(), D, 5, None, Sixteenth), nullptr);
    EXPECT_EQ(chordText(grace->chord()), "g120960:15120B4D5");

    // Before the first chord of the next measure: at the end of this one.
    MnChord* nextFirst = second->voiceChords(0)[0];
    ASSERT_NE(first->addGraceNote(nextFirst, G, 4, None, Eighth), nullptr);
    EXPECT_EQ(voiceText(*first, 0), "0:120960r g120960:15120B4D5 g120960:15120A4 120960:120960C5 g241920:30240G4");
    EXPECT_EQ(voiceFault(*first, 0), "");

    // Refusals: a value that is not a note value, a main chord of another
    // measure that is not the next one's first, a chord that is not a grace
    // chord, a grace chord of another measure.
    const Bytes before = recordOf(*first);
    EXPECT_EQ(first->addGraceNote(mainChord, C, 4, None, 50000), nullptr);
    EXPECT_EQ(first->addGraceNote(nullptr, C, 4, None, Eighth), nullptr);
    ASSERT_NE(second->addNote(0, Half, C, 4, None, Half, false), nullptr);
    EXPECT_EQ(first->addGraceNote(chordAt(*second, 0, Half), C, 4, None, Eighth), nullptr);
    EXPECT_EQ(first->addNoteToGraceChord(mainChord, C, 4, None, Eighth), nullptr);
    EXPECT_EQ(second->addNoteToGraceChord(grace->chord(), C, 4, None, Eighth), nullptr);
    EXPECT_EQ(first->addNoteToGraceChord(grace->chord(), C, 4, None, 50000), nullptr);
    EXPECT_EQ(recordOf(*first), before);
}

TEST(MnMeasureEditing, RemovingBeats)
{
    // Three quarters in 3/4; beat 0 goes.
    {
        StaffFixture fixture(1, MnTime3_4);
        MnMeasure* measure = fixture.measure(0);
        ASSERT_EQ(measure->beats(), 3);
        ASSERT_TRUE(measure->addNote(0, 0, C, 4, None, Quarter, false));
        ASSERT_TRUE(measure->addNote(0, Quarter, D, 4, None, Quarter, false));
        ASSERT_TRUE(measure->addNote(0, Half, E, 4, None, Quarter, false));
        BcArray<int> beats;
        beats.add(0);
        EXPECT_TRUE(measure->removeBeats(beats));
        EXPECT_EQ(measure->beats(), 2);
        EXPECT_EQ(voiceText(*measure, 0), "0:60480D4 60480:60480E4");
        EXPECT_EQ(voiceFault(*measure, 0), "");
        EXPECT_EQ(voiceFault(*measure, 1), "");
    }

    // Refused lists change nothing: empty, as long as the beat count, a
    // repeated beat, a beat outside the measure.
    {
        StaffFixture fixture(1);
        MnMeasure* measure = fixture.measure(0);
        ASSERT_TRUE(measure->makeTuplet(0, 0, Quarter, 3, false));
        ASSERT_TRUE(measure->addNote(0, Half, G, 4, None, Quarter, false));
        const Bytes before = recordOf(*measure);
        const std::vector<std::vector<int>> lists = {{}, {0, 1, 2, 3}, {1, 1}, {4}, {-1}, {2, 9}};
        for (const auto& list : lists) {
            BcArray<int> beats;
            for (int beat : list)
                beats.add(beat);
            EXPECT_FALSE(measure->removeBeats(beats));
            EXPECT_EQ(recordOf(*measure), before);
        }
    }

    // A tuplet in a kept beat survives; one over a removed beat is undone;
    // beats may be listed in any order; grace chords go with their beat.
    {
        StaffFixture fixture(1);
        MnMeasure* measure = fixture.measure(0);
        ASSERT_TRUE(measure->makeTuplet(0, 0, Quarter, 3, false));
        ASSERT_TRUE(measure->makeTuplet(0, Quarter, Quarter, 3, false));
        ASSERT_TRUE(measure->addNote(0, Half, A, 4, None, Quarter, false));
        ASSERT_TRUE(measure->addGraceNote(chordAt(*measure, 0, Half), G, 4, None, Eighth));
        ASSERT_TRUE(measure->addNote(0, DottedHalf, B, 4, None, Quarter, false));
        BcArray<int> beats;
        beats.add(2);
        beats.add(1);
        EXPECT_TRUE(measure->removeBeats(beats));
        EXPECT_EQ(measure->beats(), 2);
        EXPECT_EQ(voiceText(*measure, 0),
                  "0:30240r/3:2T3 20160:30240r/3:2 40320:30240r/3:2 60480:60480B4");
        EXPECT_EQ(voiceFault(*measure, 0), "");
        EXPECT_EQ(voiceFault(*measure, 1), "");
    }

    // A chord that reaches into a removed beat is cut at its start.
    {
        StaffFixture fixture(1);
        MnMeasure* measure = fixture.measure(0);
        ASSERT_TRUE(measure->addNote(0, 0, C, 4, None, Half, false));
        BcArray<int> beats;
        beats.add(1);
        EXPECT_TRUE(measure->removeBeats(beats));
        EXPECT_EQ(voiceText(*measure, 0), "0:60480C4 60480:120960r");
    }
}

TEST(MnMeasureEditing, RemovingBeatsCutsEveryStaff)
{
    MnScore score;
    MnStaff* upper = score.staff(0);
    MnStaff* lower = score.insertStaff(1);
    ASSERT_NE(lower, nullptr);
    ASSERT_TRUE(score.insertMeasure(-1));
    ASSERT_TRUE(upper->measure(0)->addNote(0, 0, C, 5, None, Quarter, false));
    ASSERT_TRUE(lower->measure(0)->addNote(1, Quarter, C, 3, None, Half, false));
    BcArray<int> beats;
    beats.add(0);
    EXPECT_TRUE(lower->measure(0)->removeBeats(beats));
    EXPECT_EQ(upper->measure(0)->beats(), 3);
    EXPECT_EQ(lower->measure(0)->beats(), 3);
    EXPECT_EQ(voiceText(*upper->measure(0), 0), "0:60480r 60480:120960r");
    EXPECT_EQ(voiceText(*lower->measure(0), 1), "0:120960C3 120960:60480r");
    EXPECT_EQ(upper->measure(1)->startTime(), DottedHalf);
    for (int staff = 0; staff < 2; ++staff)
        for (int voice = 0; voice < 2; ++voice)
            EXPECT_EQ(voiceFault(*score.staff(staff)->measure(0), voice), "");
}

TEST(MnMeasureEditing, SwappingVoicesAndMovingChords)
{
    MnMeasure measure(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(measure.addNote(0, 0, C, 5, None, Half, false));
    ASSERT_TRUE(measure.addNote(1, 0, C, 4, None, Quarter, false));
    MnChord* upper = chordAt(measure, 0, 0);
    upper->setStemInverted(true);
    EXPECT_TRUE(measure.swapVoices());
    EXPECT_EQ(voiceText(measure, 0), "0:60480C4 60480:60480r 120960:120960r");
    EXPECT_EQ(voiceText(measure, 1), "0:120960C5 120960:120960r");
    EXPECT_EQ(upper->voice(), 1);
    EXPECT_TRUE(upper->isStemInverted());

    // Moving a chord exchanges it with its neighbour; the times follow the
    // new order.
    MnMeasure moving(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(moving.addNote(0, 0, C, 4, None, Half, false));
    ASSERT_TRUE(moving.addNote(0, Half, D, 4, None, Quarter, false));
    MnChord* d = chordAt(moving, 0, Half);
    EXPECT_TRUE(moving.moveChordLeft(d));
    EXPECT_EQ(voiceText(moving, 0), "0:60480D4 60480:120960C4 181440:60480r");
    EXPECT_TRUE(moving.moveChordRight(d));
    EXPECT_EQ(voiceText(moving, 0), "0:120960C4 120960:60480D4 181440:60480r");
    EXPECT_FALSE(moving.moveChordLeft(moving.voiceChords(0)[0]));
    EXPECT_FALSE(moving.moveChordRight(moving.voiceChords(0)[2]));
    EXPECT_FALSE(measure.moveChordLeft(d)); // a chord of another measure

    // Inside a tuplet the first chord's number passes to the chord that
    // takes its place; across the tuplet's edge nothing moves.
    MnMeasure tuplet(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(tuplet.makeTuplet(0, 0, Quarter, 3, false));
    ASSERT_TRUE(tuplet.addNote(0, 20160, E, 4, None, Eighth, false));
    MnChord* e = chordAt(tuplet, 0, 20160);
    EXPECT_TRUE(tuplet.moveChordLeft(e));
    EXPECT_EQ(voiceText(tuplet, 0),
              "0:30240E4/3:2T3 20160:30240r/3:2 40320:30240r/3:2 60480:60480r 120960:120960r");
    EXPECT_EQ(e->tuplet()->chord(), e);
    const Bytes before = recordOf(tuplet);
    EXPECT_FALSE(tuplet.moveChordRight(chordAt(tuplet, 0, 40320)));
    EXPECT_FALSE(tuplet.moveChordLeft(chordAt(tuplet, 0, Quarter)));
    EXPECT_EQ(recordOf(tuplet), before);
    EXPECT_EQ(voiceFault(tuplet, 0), "");
}

TEST(MnMeasureEditing, KeyIndexFormsSpellInTheKeyOfEachPiece)
{
    StaffFixture fixture(2);
    fixture.staff->setKey(-2);
    MnMeasure* first = fixture.measure(0);
    MnMeasure* second = fixture.measure(1);

    // Key 40 is D flat in a key with flats; the tied piece in the next
    // measure is spelled there again and keeps its flat.
    MnNote* note = first->addNoteByKey(0, DottedHalf, 40, Half, false);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->keyNumber(), 40);
    EXPECT_EQ(voiceText(*first, 0), "0:120960r 120960:60480r 181440:60480Db4");
    EXPECT_EQ(voiceText(*second, 0), "0:60480~Db4 60480:60480r 120960:120960r");

    // setNoteByKey leaves the new note alone in its chord.
    ASSERT_NE(first->addNoteByKey(0, 0, 39, Quarter, false), nullptr);
    ASSERT_NE(first->addNoteByKey(0, 0, 43, Quarter, false), nullptr);
    ASSERT_NE(first->setNoteByKey(0, 0, 46, Quarter, false), nullptr);
    EXPECT_EQ(chordText(chordAt(*first, 0, 0)), "0:60480G4");

    // Grace notes by key; E natural needs its sign in a key of two flats.
    MnChord* mainChord = chordAt(*first, 0, 0);
    MnNote* grace = first->addGraceNoteByKey(mainChord, 51, Eighth);
    ASSERT_NE(grace, nullptr);
    ASSERT_NE(first->addNoteToGraceChordByKey(grace->chord(), 55, Sixteenth), nullptr);
    EXPECT_EQ(chordText(first->voiceChords(0)[0]), "g0:15120C5En5");
    EXPECT_EQ(voiceFault(*first, 0), "");
    EXPECT_EQ(voiceFault(*second, 0), "");
}

TEST(MnMeasureEditing, StartTimesFollowEveryChangeOfTheMeasures)
{
    StaffFixture fixture(3);
    MnStaff* staff = fixture.staff;
    MnMeasure* third = fixture.measure(2);
    EXPECT_EQ(third->startTime(), 2 * Whole);

    fixture.measure(0)->setBeats(3);
    EXPECT_EQ(third->startTime(), 2 * Whole - Quarter);
    fixture.measure(1)->setBeatTicks(Eighth);
    EXPECT_EQ(third->startTime(), Whole - Quarter + 4 * Eighth);

    ASSERT_TRUE(staff->insertMeasure(0, MnTime2_4));
    EXPECT_EQ(third->startTime(), Half + Whole - Quarter + 4 * Eighth);
    EXPECT_EQ(staff->totalTicks(), third->startTime() + Whole);

    BcArray<int> beats;
    beats.add(0);
    ASSERT_TRUE(staff->measure(0)->removeBeats(beats));
    EXPECT_EQ(third->startTime(), Quarter + Whole - Quarter + 4 * Eighth);

    ASSERT_TRUE(fixture.score.removeMeasure(0));
    EXPECT_EQ(third->startTime(), Whole - Quarter + 4 * Eighth);

    // Reading a measure record gives it the record's meter.
    MnMeasure threeFour(nullptr, 1, MnTime3_4);
    ASSERT_TRUE(readRecord(*fixture.measure(0), recordOf(threeFour)));
    EXPECT_EQ(third->startTime(), 3 * Quarter + 4 * Eighth);
}
