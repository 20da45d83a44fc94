// Values that a hostile file holds where the layout, playback and drawing
// divide or index: each document below is the full document with one filed
// value replaced, read as a file would be read. The reader refuses it, or
// reads it the way that keeps the file meaningful.

#include "model/FullDocument.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnCredit.h"
#include "model/MnLimits.h"
#include "model/MnLine.h"
#include "model/MnMeasure.h"
#include "model/MnMeasureNumber.h"
#include "model/MnNote.h"
#include "model/MnPageLayout.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "model/MnTuplet.h"

#include "model/ModelBuilders.h"
#include "model/RecordBytes.h"
#include "model/VoiceText.h"
#include "model/WriteCalls.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

MnScore* scoreOf(FullDocument& document)
{
    return document.sheet->score();
}

MnChord* firstChord(FullDocument& document)
{
    return scoreOf(document)->staff(0)->measure(0)->voiceChords(0)[0];
}

MnTuplet* firstTuplet(FullDocument& document)
{
    const BcArray<MnChord*>& chords = scoreOf(document)->staff(0)->measure(0)->voiceChords(0);
    for (int i = 0; i < chords.count(); ++i) {
        if (chords[i]->tuplet())
            return chords[i]->tuplet();
    }
    return nullptr;
}

struct Hostile
{
    const char* what;
    // Gives the value another one that the setters accept, which shows
    // where the document files it.
    std::function<void(FullDocument&)> change;
    Field field;
    double value;
    // Null when the reader refuses the document; otherwise what the read
    // document shows.
    std::function<bool(FullDocument&)> readsAs = nullptr;
};

std::vector<Hostile> hostileValues()
{
    using T = WriteCall;
    auto spacingOfSecondStaff = [](FullDocument& d) { scoreOf(d)->staff(1)->setSpacing(30.0); };
    auto measureNumberAt = [](FullDocument& d) { scoreOf(d)->measureNumberTemplate()->moveTo(GePoint2d(0.0, 3.0)); };
    auto tupletBracket = [](FullDocument& d) { firstTuplet(d)->setBracket(MnTupletBracketNone); };
    auto bracketIsAutomatic = [](FullDocument& d) { return firstTuplet(d)->bracket() == MnTupletBracketAuto; };
    auto measureNumberSize = [](FullDocument& d) { scoreOf(d)->measureNumberTemplate()->setSize(9.0); };
    auto smallestSize = [](FullDocument& d) { return scoreOf(d)->measureNumberTemplate()->size() == MnMinTextSize; };
    auto firstChordValue = [](FullDocument& d) { firstChord(d)->setDuration(MnTicksHalf); };
    auto paperWidth = [](FullDocument& d) { d.sheet->setPaperSize(216, 297); };
    return {
        {"a stem code of 2 from layout bits 3", [](FullDocument& d) { firstChord(d)->setStemDirection(-1); },
         bits(T::Byte, 0, 2, 1), 2},
        {"a slur placement of 2",
         [](FullDocument& d) {
             MnChord* chord = firstTuplet(d)->chord();
             chord->setSlurPlacement(MnPlacementAbove);
         },
         bits(T::Byte, 6, 2, 1), 2},
        {"a tie placement of 2",
         [](FullDocument& d) {
             scoreOf(d)->staff(0)->measure(1)->voiceChords(0)[0]->note(0)->setTiePlacement(MnPlacementBelow);
         },
         bits(T::Byte, 1, 2, 1), 2},
        {"a tuplet bracket code of 3", tupletBracket, whole(T::ByteAndFlag), 3, bracketIsAutomatic},
        {"a tuplet bracket code of -1", tupletBracket, whole(T::ByteAndFlag), -1, bracketIsAutomatic},
        {"a tuplet bracket code of 63", tupletBracket, whole(T::ByteAndFlag), 63, bracketIsAutomatic},
        {"a text position that is not a number", measureNumberAt, whole(T::Double), notANumber},
        {"an infinite text position", measureNumberAt, whole(T::Double), infinity},
        {"a score position that is not a number",
         [](FullDocument& d) { scoreOf(d)->moveTo(GePoint2d(scoreOf(d)->position().x + 1.0, -80.0)); },
         whole(T::Double), notANumber},
        {"a line offset of minus infinity", [](FullDocument& d) { scoreOf(d)->staff(0)->lineArray()[1]->setOffset(11.0); },
         whole(T::Double), -infinity},
        {"a staff spacing that is not a number", spacingOfSecondStaff, whole(T::Double), notANumber},
        {"an infinite staff spacing", spacingOfSecondStaff, whole(T::Double), infinity},
        {"a staff spacing of 0", spacingOfSecondStaff, whole(T::Double), 0.0},
        {"a negative staff spacing", spacingOfSecondStaff, whole(T::Double), -20.0},
        {"a text size of 0", measureNumberSize, whole(T::Char), 0, smallestSize},
        {"a negative text size", measureNumberSize, whole(T::Char), -3, smallestSize},
        {"a page layout on page 2147483647",
         [](FullDocument& d) {
             d.sheet->removeChild(d.sheet->pageLayoutAt(0));
             d.sheet->pageLayout(2, true)->setSystemSpacing(25.0);
         },
         whole(T::Int), INT_MAX},
        {"2147483647 pages per row", [](FullDocument& d) { d.sheet->setPagesPerRow(3); }, whole(T::Int), INT_MAX,
         [](FullDocument& d) { return d.sheet->pagesPerRow() == MnMaxPagesPerRow; }},
        {"a paper 2147483647 mm wide", paperWidth, whole(T::Int), INT_MAX},
        {"a paper 2147483647 mm high", [](FullDocument& d) { d.sheet->setPaperSize(210, 279); }, whole(T::Int),
         INT_MAX},
        {"a paper of no width", paperWidth, whole(T::Int), 0},
        {"a margin of 2147483647 mm", [](FullDocument& d) { d.sheet->setMargins(11, 10, 16, 16); }, whole(T::Int),
         INT_MAX, [](FullDocument& d) { return d.sheet->storedLeftMargin() == MnMaxPaperLength; }},
        {"a credit on page 2147483647", [](FullDocument& d) { d.sheet->credit(2)->setPage(2); }, whole(T::Int),
         INT_MAX},
        // The first note of the first chord is a C.
        {"a note in octave 18", [](FullDocument& d) { firstChord(d)->note(0)->setOctave(5); }, whole(T::Char, 7),
         18},
        {"a tempo of 2147483647 per minute", [](FullDocument& d) { scoreOf(d)->tempo(0)->setBeatsPerMinute(100); },
         whole(T::Int), INT_MAX},
        {"a part scale that is a tiny denormal",
         [](FullDocument& d) {
             // The staff below keeps its room, so that only the scale differs.
             MnStaff* below = scoreOf(d)->staff(1);
             const double spacing = below->spacing();
             scoreOf(d)->part(0)->setScale(1.25);
             below->setSpacing(spacing);
         },
         whole(T::Double), 1e-310},
        {"a chord value of 1000 ticks", firstChordValue, whole(T::Int), 1000},
        {"a chord value of a dotted whole", firstChordValue, whole(T::Int), 362880},
        {"a beat of 1000 ticks",
         [](FullDocument& d) { scoreOf(d)->staff(0)->measure(0)->setBeatTicks(MnTicksEighth); }, whole(T::Int),
         1000},
    };
}

bool readDocument(FullDocument& document, const Bytes& bytes)
{
    BcMemoryFiler filer;
    fillFiler(filer, bytes);
    return document.read(filer);
}

} // namespace

TEST(ModelHostileRecords, ValuesThatWouldBeDividedByOrIndexedWith)
{
    FullDocument original;
    buildFullDocument(original);
    const std::vector<WriteCall> calls = [&] {
        WriteCallFiler filer;
        original.write(filer);
        return filer.calls;
    }();
    {
        FullDocument plain;
        ASSERT_TRUE(readDocument(plain, fileCalls(calls)));
    }

    for (const Hostile& row : hostileValues()) {
        SCOPED_TRACE(row.what);
        FullDocument changed;
        buildFullDocument(changed);
        row.change(changed);
        WriteCallFiler changedCalls;
        changed.write(changedCalls);
        const int at = fieldCall(calls, changedCalls.calls, row.field.type);
        ASSERT_GE(at, 0);
        const std::optional<WriteCall> patched = patchedCall(row.field, calls[size_t(at)], row.value);
        ASSERT_TRUE(patched.has_value());
        std::vector<WriteCall> hostile = calls;
        hostile[size_t(at)] = *patched;

        FullDocument read;
        const bool ok = readDocument(read, fileCalls(hostile));
        if (!row.readsAs) {
            EXPECT_FALSE(ok);
            continue;
        }
        ASSERT_TRUE(ok);
        EXPECT_TRUE(row.readsAs(read));
    }
}

namespace {

// A 3/4 measure record whose voice 0 holds the given chord records and
// whose voice 1 holds one whole rest.
Bytes threeFourMeasure(int chordCount, const Bytes& chords)
{
    RecordBuilder record;
    record.byteAndFlag(MnBarlineSingle, true).byteAndFlag(2, true).integer(3).integer(MnTicksQuarter).integer(2);
    record.integer(chordCount).bytes(chords);
    record.integer(1).integer(MnTicksPerWhole).byteAndFlag(-4, false).byte(0).byte(0x05).byte(0).byte(0).byte(0x11);
    record.shortValue(0).string("").boolean(false).byte(0).character(MnSystemBreakNone).real(0.0);
    return record.done();
}

// A chord record: the value, the notes (C4 for a chord of one note), and
// the grace flag; a tuplet of the span when span is positive.
Bytes chordRecord(int duration, bool withNote, bool grace = false, int span = 0)
{
    RecordBuilder record;
    record.integer(duration).byteAndFlag(-4, false).byte(withNote ? 1 : 0);
    if (withNote)
        record.character(28).character(MnAccidentalNone).byte(0x02);
    record.byte(0x05).byte(0);
    unsigned char flags = grace ? 0x02 : 0x00;
    if (span > 0)
        flags |= 0x01;
    record.byte(flags);
    if (span > 0) {
        MnTuplet tuplet(nullptr, span, 3, false);
        record.record(tuplet);
    }
    record.byte(span > 0 ? 0x32 : 0x11);
    return record.done();
}

Bytes joined(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

TEST(ModelHostileRecords, VoicesAreRestoredOrRefused)
{
    const Bytes quarterNote = chordRecord(MnTicksQuarter, true);
    const Bytes halfNote = chordRecord(MnTicksHalf, true);
    const Bytes wholeRest = chordRecord(MnTicksPerWhole, false);
    const Bytes graceNote = chordRecord(MnTicksEighth, true, true);
    const struct
    {
        const char* what;
        Bytes record;
        bool ok;
        const char* voice; // voice 0 as read
    } rows[] = {
        {"a voice that fills its measure", threeFourMeasure(2, joined({halfNote, quarterNote})), true,
         "0:120960C4 120960:60480C4"},
        {"a voice that stops short is filled with rests", threeFourMeasure(1, joined({quarterNote})), true,
         "0:60480C4 60480:120960r"},
        {"an empty voice gets the rests of its meter", threeFourMeasure(0, {}), true, "0:120960r 120960:60480r"},
        {"a voice of rests that overruns the measure gets the rests of its meter",
         threeFourMeasure(1, joined({wholeRest})), true, "0:120960r 120960:60480r"},
        {"grace chords after a voice that stops short lead into the next measure",
         threeFourMeasure(2, joined({halfNote, graceNote})), true, "0:120960C4 120960:60480r g181440:30240C4"},
        {"music that overruns the measure", threeFourMeasure(2, joined({halfNote, halfNote})), false, ""},
        {"a tuplet that runs past the bar line",
         threeFourMeasure(2, joined({halfNote, chordRecord(MnTicksEighth, true, false, MnTicksHalf)})), false, ""},
        {"a tuplet on a grace chord",
         threeFourMeasure(2, joined({chordRecord(MnTicksEighth, true, true, MnTicksQuarter), halfNote})), false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        StaffFixture fixture(1, MnTime3_4);
        MnMeasure measure(fixture.staff, 1, MnTime3_4);
        EXPECT_EQ(readRecord(measure, row.record), row.ok);
        // Whatever the reader decided, every voice keeps a chord.
        EXPECT_GE(measure.chordCount(0, false), 1);
        EXPECT_GE(measure.chordCount(1, false), 1);
        if (!row.ok)
            continue;
        EXPECT_EQ(voiceText(measure, 0), row.voice);
        EXPECT_EQ(voiceFault(measure, 0), "");
        EXPECT_EQ(voiceFault(measure, 1), "");
    }
}

TEST(ModelHostileRecords, StavesOfAScoreShareTheirMeasures)
{
    auto reads = [](MnScore& score) {
        BcMemoryFiler filer;
        score.write(filer);
        filer.rewind();
        MnScore copy;
        return copy.read(filer);
    };
    MnScore score;
    score.insertStaff(-1);
    score.insertMeasure(-1);
    ASSERT_TRUE(reads(score));

    // Measures that only the second staff has.
    MnScore longer;
    longer.insertStaff(-1);
    ASSERT_TRUE(longer.staff(1)->insertMeasure(-1, MnTime4_4));
    EXPECT_FALSE(reads(longer));

    // A measure of another meter in the second staff.
    MnScore other;
    other.insertStaff(-1);
    MnMeasure* measure = other.staff(1)->measure(0);
    ASSERT_TRUE(measure->setBeats(3));
    setVoice(measure, 0, {MnTicksHalf, MnTicksQuarter});
    setVoice(measure, 1, {MnTicksHalf, MnTicksQuarter});
    EXPECT_FALSE(reads(other));
}

TEST(ModelHostileRecords, ACreditStaysOnAPageTheSheetCanCount)
{
    MnSheetMusic sheet;
    MnCredit* credit = sheet.addCredit(0);
    ASSERT_NE(credit, nullptr);
    EXPECT_FALSE(credit->setPage(INT_MAX));
    EXPECT_FALSE(credit->setPage(MnMaxPages));
    EXPECT_EQ(credit->page(), 0);

    // The last page a credit may stand on is measured, dragged and numbered
    // without overflow.
    ASSERT_TRUE(credit->setPage(MnMaxPages - 1));
    credit->moveTo(GePoint2d(20.0, -30.0));
    const GePoint2d onPage = credit->toPageCoordinates(credit->position(), nullptr);
    EXPECT_TRUE(std::isfinite(onPage.x) && std::isfinite(onPage.y));
    EXPECT_EQ(sheet.pageNumberText(MnMaxPages - 1)->text(), BcString(MnMaxPages));
    EXPECT_NE(sheet.pageLayout(MnMaxPages - 1, true), nullptr);
    EXPECT_EQ(sheet.pageLayout(MnMaxPages, true), nullptr);
    EXPECT_EQ(sheet.pageLayout(INT_MAX, true), nullptr);

    // A credit made for a page beyond them stands on the last one.
    MnCredit far(&sheet, INT_MAX);
    EXPECT_EQ(far.page(), MnMaxPages - 1);
}

TEST(ModelHostileRecords, AStaffNeverGrowsPastWhatItsReaderReads)
{
    // Measures of 255 whole notes, then of one, up to the longest staff.
    MnScore score;
    MnStaff* staff = score.staff(0);
    MnMeasure* first = staff->measure(0);
    ASSERT_TRUE(first->setBeats(MnMaxBeats));
    ASSERT_TRUE(first->setBeatTicks(MnTicksPerWhole));
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
        setVoice(first, voice, {});
        first->fillGapsWithRests(voice, 1, 1);
    }
    const long long longest = (long long)MnMaxBeats * MnTicksPerWhole;
    while (staff->totalTicks() + longest <= MnMaxStaffTicks)
        ASSERT_TRUE(staff->insertMeasure(-1, MnMaxBeats, MnTicksPerWhole));
    EXPECT_FALSE(staff->insertMeasure(-1, MnMaxBeats, MnTicksPerWhole));
    while (staff->totalTicks() + MnTicksPerWhole <= MnMaxStaffTicks)
        ASSERT_TRUE(staff->insertMeasure(-1, 1, MnTicksPerWhole));

    // No room is left for another whole note.
    const int count = staff->measureCount();
    EXPECT_FALSE(staff->insertMeasure(-1, MnTime4_4));
    EXPECT_FALSE(score.insertMeasure(-1));
    EXPECT_EQ(staff->measureCount(), count);
    MnMeasure* last = staff->measure(count - 1);
    EXPECT_FALSE(last->setBeats(2));
    EXPECT_FALSE(last->setBeatTicks(2 * MnTicksPerWhole));
    EXPECT_EQ(last->length(), MnTicksPerWhole);
    EXPECT_TRUE(last->setBeatTicks(MnTicksHalf));

    BcMemoryFiler filer;
    ASSERT_TRUE(score.write(filer));
    filer.rewind();
    MnScore copy;
    EXPECT_TRUE(copy.read(filer));
    EXPECT_EQ(copy.staff(0)->totalTicks(), staff->totalTicks());
}
