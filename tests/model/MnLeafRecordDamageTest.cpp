// Damaged records of the leaf classes: every prefix and many randomly
// changed copies must read without crash, hang or sanitizer report.

#include "model/MnCredit.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnOctave.h"
#include "model/MnPageLayout.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"
#include "model/MnWork.h"

#include "model/RecordBytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>

namespace {

struct Sample
{
    const char* name;
    // Makes a fresh element to read into; the score and sheet it needs live
    // in the fixture.
    std::function<std::unique_ptr<MnElement>()> make;
    Bytes record;
};

class MnLeafRecordDamage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        score.insertStaff(-1);
        score.insertStaff(-1);

        auto octave = std::make_unique<MnOctave>();
        octave->setKind(MnOctaveOneDown);
        octave->setLength(120960);
        auto lyric = std::make_unique<MnLyric>();
        lyric->setText(BcString("Ky - ri - e e - lei - son"));
        lyric->setVoice(1);
        auto part = std::make_unique<MnPart>(&score, 1);
        part->setName(BcString("Viola"));
        part->setVoiceName(1, BcString("lower"));
        auto group = std::make_unique<MnPartGroup>(&score, 0, 3);
        group->setName(BcString("Strings"));
        auto tempo = std::make_unique<MnTempo>(&score);
        tempo->setTerm(8);
        tempo->buildTempoText();
        auto tablature = std::make_unique<MnTablature>();
        tablature->setName(BcString("Guitar"));
        auto credit = std::make_unique<MnCredit>();
        credit->setText(BcString("Title"));
        auto work = std::make_unique<MnWork>();
        work->title = BcString("Mass");
        MnSheetMusic sheetMusic;
        sheetMusic.pageLayout(1, true);

        samples.push_back({"octave", [] { return std::make_unique<MnOctave>(); }, recordOf(*octave)});
        samples.push_back({"lyric", [] { return std::make_unique<MnLyric>(); }, recordOf(*lyric)});
        samples.push_back({"part", [this] { return std::make_unique<MnPart>(&score, 0); }, recordOf(*part)});
        samples.push_back(
            {"part group", [this] { return std::make_unique<MnPartGroup>(&score, 0, 3); }, recordOf(*group)});
        samples.push_back({"tempo", [this] { return std::make_unique<MnTempo>(&score); }, recordOf(*tempo)});
        samples.push_back({"tablature", [] { return std::make_unique<MnTablature>(); }, recordOf(*tablature)});
        samples.push_back({"credit", [] { return std::make_unique<MnCredit>(); }, recordOf(*credit)});
        samples.push_back({"work", [] { return std::make_unique<MnWork>(); }, recordOf(*work)});
        samples.push_back({"sheet music", [] { return std::make_unique<MnSheetMusic>(); }, recordOf(sheetMusic)});
    }

    MnScore score;
    std::vector<Sample> samples;
};

} // namespace

TEST_F(MnLeafRecordDamage, EveryRecordRoundTripsAndEveryPrefixFails)
{
    for (const Sample& sample : samples) {
        std::unique_ptr<MnElement> copy = sample.make();
        ASSERT_TRUE(readRecord(*copy, sample.record)) << sample.name;
        EXPECT_EQ(recordOf(*copy), sample.record) << sample.name;
        for (size_t length = 0; length < sample.record.size(); ++length) {
            std::unique_ptr<MnElement> partial = sample.make();
            EXPECT_FALSE(readRecord(*partial, Bytes(sample.record.begin(), sample.record.begin() + length)))
                << sample.name << " cut at " << length;
        }
    }
}

TEST_F(MnLeafRecordDamage, RandomlyDamagedCopiesReadSafely)
{
    std::mt19937 random(20240307);
    for (const Sample& sample : samples) {
        // The sheet's record holds a whole score; fewer rounds keep it quick.
        int rounds = sample.record.size() > 2000 ? 150 : 600;
        for (int round = 0; round < rounds; ++round) {
            Bytes damaged = sample.record;
            int changes = 1 + int(random() % 4);
            for (int i = 0; i < changes; ++i) {
                size_t at = random() % damaged.size();
                switch (random() % 3) {
                case 0:
                    damaged[at] = (unsigned char)random();
                    break;
                case 1:
                    damaged[at] ^= (unsigned char)(1u << (random() % 8));
                    break;
                default:
                    damaged.resize(at);
                    break;
                }
                if (damaged.empty())
                    break;
            }
            std::unique_ptr<MnElement> element = sample.make();
            bool ok = readRecord(*element, damaged);
            // Whatever was accepted writes a record that reads back the same.
            if (ok) {
                Bytes again = recordOf(*element);
                std::unique_ptr<MnElement> second = sample.make();
                EXPECT_TRUE(readRecord(*second, again)) << sample.name << " round " << round;
                EXPECT_EQ(recordOf(*second), again) << sample.name << " round " << round;
            }
        }
    }
}
