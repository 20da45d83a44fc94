#include "model/FullDocument.h"

#include "editing/EdSelection.h"
#include "model/MnChord.h"
#include "model/MnLine.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnMeasureNumber.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"
#include "model/MnTuplet.h"
#include "model/RecordBytes.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <random>

static Bytes recordOfDocument(const FullDocument& document)
{
    BcMemoryFiler filer;
    EXPECT_TRUE(document.write(filer));
    return bytesOf(filer);
}

static bool readDocument(FullDocument& document, const Bytes& data)
{
    BcMemoryFiler filer;
    fillFiler(filer, data);
    return document.read(filer);
}

static const Bytes& fullRecord()
{
    static const Bytes record = [] {
        FullDocument document;
        buildFullDocument(document);
        return recordOfDocument(document);
    }();
    return record;
}

TEST(ModelTree, WriteReadWriteOfEveryClassIsByteIdentical)
{
    const Bytes& written = fullRecord();
    FullDocument copy;
    ASSERT_TRUE(readDocument(copy, written));
    EXPECT_EQ(recordOfDocument(copy), written);

    // The copy is the tree that was built, parent links included.
    MnScore* score = copy.sheet->score();
    EXPECT_EQ(score->parent(), copy.sheet);
    ASSERT_EQ(score->staffCount(), 2);
    MnStaff* top = score->staff(0);
    EXPECT_EQ(top->parent(), score);
    EXPECT_EQ(top->changeCount(), 3);
    EXPECT_EQ(top->lineArray().count(), 4);
    EXPECT_EQ(top->lyricArray().count(), 2);
    EXPECT_EQ(top->lyricArray()[0]->syllableCount(), 7);
    EXPECT_EQ(top->lyricArray()[0]->parent(), top);
    ASSERT_NE(score->staff(1)->tablature(), nullptr);
    EXPECT_EQ(score->staff(1)->tablature()->parent(), score->staff(1));
    EXPECT_EQ(score->staff(1)->tablature()->stringCount(), 7);
    MnMeasure* first = top->measure(0);
    ASSERT_EQ(first->chordCount(0, false), 6);
    MnChord* grace = first->voiceChords(0)[1];
    EXPECT_TRUE(grace->isGrace());
    EXPECT_EQ(grace->time(), MnTicksQuarter);
    MnChord* tupletStart = first->voiceChords(0)[2];
    ASSERT_NE(tupletStart->tuplet(), nullptr);
    EXPECT_EQ(tupletStart->tuplet()->parent(), tupletStart);
    EXPECT_EQ(first->voiceChords(0)[5]->time(), MnTicksHalf);
    EXPECT_EQ(first->voiceChords(0)[0]->note(0)->parent(), first->voiceChords(0)[0]);
    EXPECT_TRUE(top->measure(1)->voiceChords(0)[0]->note(0)->isTied());
    EXPECT_EQ(top->measure(1)->voiceChords(0)[2]->time(), MnTicksPerWhole);
    EXPECT_EQ(top->measure(3)->length(), 181440);
    EXPECT_EQ(score->partGroupCount(), 2);
    EXPECT_EQ(score->tempoCount(), 2);
    EXPECT_EQ(score->part(1)->partScale(), 0.8);
    EXPECT_EQ(score->measureNumberTemplate()->font(), 4);
    EXPECT_EQ(copy.sheet->creditCount(), 3);
    EXPECT_EQ(copy.work->composer, BcString("A. Composer"));
}

TEST(ModelTree, EveryPrefixOfTheRecordReadsWithoutHarmAndFails)
{
    const Bytes& full = fullRecord();
    for (size_t length = 0; length < full.size(); ++length) {
        FullDocument document;
        ASSERT_FALSE(readDocument(document, Bytes(full.begin(), full.begin() + long(length)))) << length;
        // Whatever was read, the tree is whole enough to write again.
        BcMemoryFiler filer;
        document.write(filer);
    }
}

TEST(ModelTree, RandomlyDamagedRecordsReadWithoutHarm)
{
    const Bytes& full = fullRecord();
    std::mt19937 random(20261210);
    std::uniform_int_distribution<size_t> position(0, full.size() - 1);
    std::uniform_int_distribution<int> byteValue(0, 255);
    std::uniform_int_distribution<int> changes(1, 6);
    int readBack = 0;
    for (int copy = 0; copy < 3000; ++copy) {
        Bytes damaged = full;
        const int count = changes(random);
        for (int i = 0; i < count; ++i)
            damaged[position(random)] = (unsigned char)byteValue(random);
        if (copy % 5 == 0)
            damaged.resize(position(random));
        FullDocument document;
        if (!readDocument(document, damaged))
            continue;
        // A damaged record that reads is a valid tree: its own record reads
        // back into the same record.
        ++readBack;
        const Bytes rewritten = recordOfDocument(document);
        FullDocument again;
        ASSERT_TRUE(readDocument(again, rewritten)) << copy;
        ASSERT_EQ(recordOfDocument(again), rewritten) << copy;
    }
    EXPECT_GT(readBack, 0);
}

TEST(ModelTree, CopyFromReproducesTheRecordOfElementsOfOneClass)
{
    FullDocument source;
    buildFullDocument(source);
    MnScore* score = source.sheet->score();
    MnStaff* staff = score->staff(0);
    MnMeasure* measure = staff->measure(0);
    MnChord* chord = measure->voiceChords(0)[2];

    FullDocument target;
    MnScore* other = target.sheet->score();
    MnStaff* otherStaff = other->staff(0);
    MnMeasure* otherMeasure = otherStaff->measure(1);
    MnChord* otherChord = otherMeasure->voiceChords(1)[0];
    MnChord* withNotes = measure->voiceChords(0)[0];
    MnTuplet otherTuplet(otherChord, MnTicksHalf, 5, true);
    MnStaffChange otherChange(otherStaff, 5, 0, 0, 0);

    // Children of a target die when their parent is copied into, so the
    // pairs go from the leaves up.
    const struct
    {
        const char* name;
        MnElement* target;
        const MnElement* source;
    } pairs[] = {
        {"note", withNotes->note(1), withNotes->note(0)},
        {"chord", otherChord, chord},
        {"tuplet", &otherTuplet, chord->tuplet()},
        {"staff change", &otherChange, staff->change(1)},
        {"measure", otherMeasure, measure},
        {"staff", otherStaff, staff},
        {"part", other->part(0), score->part(1)},
        {"tempo", other->tempo(0), score->tempo(1)},
        {"score", other, score},
        {"work", target.work, source.work},
        {"sheet music", target.sheet, source.sheet},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair.name);
        ASSERT_TRUE(pair.target->copyFrom(pair.source));
        EXPECT_EQ(recordOf(*pair.target), recordOf(*pair.source));
    }
}

TEST(ModelTree, CopyFromBetweenATextAndItsSubclassesChangesNothing)
{
    FullDocument document;
    buildFullDocument(document);
    MnScore* score = document.sheet->score();
    MnText text;
    text.setText(BcString("plain"));
    MnChord* chord = score->staff(0)->measure(0)->voiceChords(0)[2];
    const struct
    {
        const char* name;
        MnText* subclass;
    } subclasses[] = {
        {"measure number", score->measureNumberTemplate()},
        {"tuplet", chord->tuplet()},
        {"part", score->part(0)},
        {"tempo", score->tempo(0)},
        {"lyric", score->staff(0)->lyricArray()[0]},
    };
    const Bytes textRecord = recordOf(text);
    for (const auto& s : subclasses) {
        SCOPED_TRACE(s.name);
        const Bytes subclassRecord = recordOf(*s.subclass);
        EXPECT_FALSE(text.copyFrom(s.subclass));
        EXPECT_FALSE(s.subclass->copyFrom(&text));
        EXPECT_EQ(recordOf(text), textRecord);
        EXPECT_EQ(recordOf(*s.subclass), subclassRecord);
    }
    EXPECT_FALSE(score->copyFrom(score->staff(0)));
}

TEST(ModelTree, DeletingTheTreeEmptiesEverySelection)
{
    FullDocument* document = new FullDocument;
    buildFullDocument(*document);
    MnScore* score = document->sheet->score();
    EdSelection notes;
    EdSelection mixed;
    for (int s = 0; s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        mixed.add(staff);
        for (int m = 0; m < staff->measureCount(); ++m) {
            for (int v = 0; v < MnMeasure::voiceCount; ++v) {
                const BcArray<MnChord*>& chords = staff->measure(m)->voiceChords(v);
                for (int c = 0; c < chords.count(); ++c) {
                    mixed.add(chords[c]);
                    for (int n = 0; n < chords[c]->noteCount(); ++n)
                        notes.add(chords[c]->note(n));
                }
            }
        }
    }
    mixed.add(score->tempo(1));
    mixed.add(score->partGroup(0));
    mixed.add(score->staff(0)->lineArray()[2]);
    ASSERT_GT(notes.count(), 10);
    delete document;
    EXPECT_TRUE(notes.isEmpty());
    EXPECT_TRUE(mixed.isEmpty());
}
