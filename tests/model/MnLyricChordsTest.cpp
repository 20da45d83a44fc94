#include "model/MnLyric.h"

#include "common/TestPrinters.h"
#include "model/EdGuideLine.h"
#include "model/EdPath.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnLyricIterator.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/ModelBuilders.h"

#include <gtest/gtest.h>

#include <vector>

// Two measures of 4/4 in voice 0:
//   | C5 half, tied to a C5 quarter, a grace E5, D5 quarter |
//   | quarter rest, E5 quarter, F5 half |
// so "Glo - ri - a" lays Glo over the tied C5s (0), ri over D5 (181440)
// and a over E5 (302400), skipping the grace chord and the rest.
struct LyricStaff
{
    LyricStaff()
    {
        score.insertMeasure(-1);
        staff = score.staff(0);
        MnMeasure* first = staff->measure(0);
        setVoice(first, 0, {MnTicksHalf, MnTicksQuarter, MnTicksQuarter});
        BcArray<MnChord*>& one = first->voiceChords(0);
        one[0]->addNote(0, 5, MnAccidentalNone, false);
        one[1]->addNote(0, 5, MnAccidentalNone, true);
        one[2]->addNote(1, 5, MnAccidentalNone, false);
        insertGraceChord(first, 0, 2, MnTicksEighth)->addNote(2, 5, MnAccidentalNone, false);
        MnMeasure* second = staff->measure(1);
        setVoice(second, 0, {MnTicksQuarter, MnTicksQuarter, MnTicksHalf});
        BcArray<MnChord*>& two = second->voiceChords(0);
        two[1]->addNote(2, 5, MnAccidentalNone, false);
        two[2]->addNote(3, 5, MnAccidentalNone, false);
        lyric = staff->addLyric(0, 0);
        lyric->setText(BcString("Glo - ri - a"));
    }

    MnChord* chord(int measure, int index) const { return staff->measure(measure)->voiceChords(0)[index]; }

    MnScore score;
    MnStaff* staff;
    MnLyric* lyric;
};

TEST(MnLyricChords, EachSyllableTakesAChordWithNotesAndItsTies)
{
    LyricStaff s;
    MnLyricIterator walk(s.lyric);
    struct Step
    {
        MnChord* start;
        MnChord* end;
    };
    const std::vector<Step> expected = {
        {s.chord(0, 0), s.chord(0, 1)}, // Glo: the half note and the quarter tied to it
        {s.chord(0, 3), s.chord(0, 3)}, // ri: past the grace chord
        {s.chord(1, 1), s.chord(1, 1)}, // a: past the rest
    };
    int steps = 0;
    for (walk.begin(); !walk.atEnd(); walk.next()) {
        ASSERT_LT(steps, int(expected.size()));
        EXPECT_EQ(walk.syllable, steps);
        EXPECT_EQ(walk.start, expected[steps].start) << steps;
        EXPECT_EQ(walk.end, expected[steps].end) << steps;
        ++steps;
    }
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(walk.start, nullptr);
    EXPECT_EQ(s.lyric->duration(), 302400 + 60480);

    // Backward, a syllable spans the chords that tie into it.
    MnLyricIterator back(s.lyric, false);
    back.start = s.chord(0, 1);
    back.spanTiedChords();
    EXPECT_EQ(back.end, s.chord(0, 0));
}

TEST(MnLyricChords, ATieToAnotherPitchEndsTheSyllable)
{
    LyricStaff s;
    // The quarter's note is flagged tied but is not the half note's pitch.
    MnChord* quarter = s.chord(0, 1);
    quarter->clearNotes();
    quarter->addNote(1, 5, MnAccidentalNone, true);
    MnLyricIterator walk(s.lyric);
    walk.begin();
    EXPECT_EQ(walk.end, s.chord(0, 0));
    walk.next();
    EXPECT_EQ(walk.start, quarter);
    // A sharp written on the tied note changes its key: no tie either.
    quarter->clearNotes();
    quarter->addNote(0, 5, MnAccidentalSharp, true);
    walk.begin();
    EXPECT_EQ(walk.end, s.chord(0, 0));
}

TEST(MnLyricChords, FirstChordAndDuration)
{
    struct Row
    {
        const char* what;
        int start;
        int voice;
        int firstMeasure;
        int firstIndex;
        int duration;
    };
    const Row rows[] = {
        {"at the half note", 0, 0, 0, 0, 362880},
        {"at the D5 (the grace chord before it does not count)", 181440, 0, 0, 3, 483840 - 181440},
        {"at a rest: the first syllable still takes it", 241920, 0, 1, 0, 483840 - 241920},
        {"between onsets", 1890, 0, -1, -1, 0},
        {"voice 1 holds rests only: one syllable on its first rest", 0, 1, 0, 0, 241920},
    };
    for (const Row& row : rows) {
        LyricStaff s;
        s.lyric->setStart(row.start);
        s.lyric->setVoice(row.voice);
        MnChord* expected = nullptr;
        if (row.firstMeasure >= 0)
            expected = s.staff->measure(row.firstMeasure)->voiceChords(row.voice)[row.firstIndex];
        EXPECT_EQ(s.lyric->firstChord(), expected) << row.what;
        EXPECT_EQ(s.lyric->duration(), row.duration) << row.what;
        // The staff's walk for the syllable widths keeps the same duration
        // for the rest of its scope.
        MnCache scope;
        s.staff->measureSyllables();
        EXPECT_EQ(s.lyric->duration(), row.duration) << row.what << ", after the staff's walk";
    }
}

TEST(MnLyricChords, DurationIsCachedOnlyInsideAScope)
{
    LyricStaff s;
    {
        MnCache scope;
        EXPECT_EQ(s.lyric->duration(), 362880);
        s.lyric->setText(BcString("Glo"));
        // Stale inside the scope: the value of the scope's start.
        EXPECT_EQ(s.lyric->duration(), 362880);
    }
    EXPECT_EQ(s.lyric->duration(), 181440);
    // A scope that walked the staff first sees the text as it stands then.
    s.lyric->setText(BcString("Glo - ri"));
    MnCache scope;
    s.staff->measureSyllables();
    EXPECT_EQ(s.lyric->duration(), 181440 + 60480);
}

TEST(MnLyricChords, TruncatingToARangeOfMusic)
{
    struct Row
    {
        const char* what;
        const char* text;
        int ticks;
        bool cut;
        const char* after;
    };
    const Row rows[] = {
        {"every syllable starts before the end", "Glo - ri - a", 302401, false, "Glo - ri - a"},
        {"the last syllable starts at the end", "Glo - ri - a", 302400, true, "Glo - ri"},
        {"the cut goes right after the syllable", "Glo-ri-a!", 302400, true, "Glo-ri"},
        {"only the first syllable starts before", "Glo - ri - a", 181440, true, "Glo"},
        {"one tick keeps the first syllable", "Glo - ri - a", 1, true, "Glo"},
        {"nothing starts before 0", "Glo - ri - a", 0, true, ""},
        {"the chords run out before the syllables", "a b c d e", 483840, false, "a b c d e"},
    };
    for (const Row& row : rows) {
        LyricStaff s;
        ASSERT_TRUE(s.lyric->setText(BcString(row.text))) << row.what;
        EXPECT_EQ(s.lyric->truncate(row.ticks), row.cut) << row.what;
        EXPECT_EQ(s.lyric->text(), BcString(row.after)) << row.what;
        MnLyric fresh;
        if (*row.after)
            fresh.setText(BcString(row.after));
        EXPECT_EQ(s.lyric->syllableCount(), fresh.syllableCount()) << row.what;
    }
}

TEST(MnLyricChords, RemovingLeadingSyllables)
{
    struct Row
    {
        const char* what;
        int count;
        bool removed;
        const char* after;
    };
    const Row rows[] = {
        {"two of three", 2, true, "a"},
        {"one", 1, true, "ri - a"},
        {"none: the text from the first syllable on", 0, true, "Glo - ri - a"},
        {"all of them", 3, false, " Glo - ri - a"},
        {"a negative count", -1, false, " Glo - ri - a"},
    };
    for (const Row& row : rows) {
        MnLyric lyric;
        lyric.setText(BcString(" Glo - ri - a"));
        EXPECT_EQ(lyric.removeLeadingSyllables(row.count), row.removed) << row.what;
        EXPECT_EQ(lyric.text(), BcString(row.after)) << row.what;
    }
}

TEST(MnLyricChords, ReanchoringOnTheChordThatSoundsAtTheStart)
{
    struct Row
    {
        const char* what;
        int start;
        int voice;
        int anchored;
    };
    const Row rows[] = {
        {"inside the half note", 1890, 0, 0},
        {"inside the tied quarter", 130000, 0, 120960},
        {"on the rest", 250000, 0, 241920},
        {"past the last chord", 483840, 0, 483840},
        {"an onset stays", 181440, 0, 181440},
    };
    for (const Row& row : rows) {
        LyricStaff s;
        s.lyric->setStart(row.start);
        s.lyric->setVoice(row.voice);
        s.lyric->reanchor();
        EXPECT_EQ(s.lyric->start(), row.anchored) << row.what;
    }
}

TEST(MnLyricChords, VerticalDragKeepsClearOfTheFirstChord)
{
    LyricStaff s;
    // The first chord's C5 stands at -3, inside the staff.
    EXPECT_TRUE(s.lyric->moveTo(GePoint2d(7.0, -9.0)));
    EXPECT_EQ(s.lyric->position().y, -10.0);
    EXPECT_EQ(s.lyric->position().x, 0.0);
    s.chord(0, 0)->addNote(2, 6, MnAccidentalNone, false);
    EXPECT_TRUE(s.lyric->moveTo(GePoint2d(0.0, 30.0)));
    EXPECT_EQ(s.lyric->position().y, 26.0);
    EXPECT_FALSE(s.lyric->moveTo(GePoint2d(0.0, 40.0)));
}

TEST(MnLyricChords, AddedLyricLinesAreSortedByStart)
{
    LyricStaff s;
    MnLyric* late = s.staff->addLyric(241920, 0);
    MnLyric* middle = s.staff->addLyric(60480, 1);
    ASSERT_NE(late, nullptr);
    ASSERT_NE(middle, nullptr);
    const BcArray<MnLyric*>& lyrics = s.staff->lyricArray();
    ASSERT_EQ(lyrics.count(), 3);
    EXPECT_EQ(lyrics[0], s.lyric);
    EXPECT_EQ(lyrics[1], middle);
    EXPECT_EQ(lyrics[2], late);
    EXPECT_EQ(middle->voice(), 1);
    EXPECT_EQ(middle->parent(), s.staff);
    EXPECT_EQ(middle->position().y, -12.0);
    EXPECT_EQ(middle->size(), 10.0);
    EXPECT_EQ(middle->passThrough(), 1);
    EXPECT_EQ(s.staff->addLyric(0, 2), nullptr);
    EXPECT_EQ(s.staff->addLyric(-1, 0), nullptr);
    EXPECT_EQ(lyrics.count(), 3);

    // A line at the start of another goes before it, after the earlier ones.
    MnLyric* sameStart = s.staff->addLyric(60480, 0);
    ASSERT_EQ(lyrics.count(), 4);
    EXPECT_EQ(lyrics[1], sameStart);
    EXPECT_EQ(lyrics[2], middle);
    EXPECT_EQ(s.staff->addLyric(0, 0), lyrics[0]);
}

TEST(MnLyricChords, GuideLinesAtTheOtherLyricLinesInTheSystem)
{
    LyricStaff s;
    MnLyric* second = s.staff->addLyric(0, 0);
    second->setText(BcString("Lo"));
    second->moveTo(GePoint2d(0.0, -20.0));
    MnLyric* later = s.staff->addLyric(302400, 0);
    later->setText(BcString("a"));
    later->moveTo(GePoint2d(0.0, -24.0));

    BcArray<EdGuideLine*> guides;
    const EdPath lines(EdPath::KindLine, 0, 0, 0, 0, 1, 2);
    EXPECT_TRUE(s.lyric->addGuideLines(guides, &lines));
    EXPECT_EQ(guides.count(), 0);

    // The first measure holds "Lo" only; "a" starts in the second.
    const EdPath firstSystem(EdPath::KindLyric, 0, 0, 0, 0, 1);
    EXPECT_TRUE(s.lyric->addGuideLines(guides, &firstSystem));
    ASSERT_EQ(guides.count(), 1);
    EXPECT_DOUBLE_EQ(guides[0]->position, s.staff->position().y - 20.0);
    EXPECT_DOUBLE_EQ(guides[0]->tolerance, 1.0);
    for (int i = 0; i < guides.count(); ++i)
        delete guides[i];
}
