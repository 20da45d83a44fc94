#include "render/ReServices.h"
#include "tests/common/TestServices.h"

#include <gtest/gtest.h>

TEST(ReServices, withoutAPlayerNothingSoundsAndNoNoteValueIsChosen)
{
    int anything = 0;
    EXPECT_FALSE(ReServices::current().isNotePlaying(nullptr, 0));
    EXPECT_FALSE(ReServices::current().isNotePlaying(reinterpret_cast<const MnChord*>(&anything), 1));
    ReServices::NoteInput input = ReServices::current().noteInput();
    EXPECT_EQ(input.duration, 0);
    EXPECT_FALSE(input.rest);
    EXPECT_FALSE(input.dotted);
    EXPECT_EQ(input.voice, 0);
}

TEST(ReServices, installedServicesAnswerUntilTheyDie)
{
    int anything = 0;
    const MnChord* chord = reinterpret_cast<const MnChord*>(&anything);
    {
        TestServices services;
        services.setPlaying(chord, 2);
        ReServices::NoteInput input;
        input.duration = 60480;
        input.voice = 1;
        services.setNoteInput(input);
        EXPECT_TRUE(ReServices::current().isNotePlaying(chord, 0));
        EXPECT_TRUE(ReServices::current().isNotePlaying(chord, 2));
        EXPECT_FALSE(ReServices::current().isNotePlaying(chord, 1));
        EXPECT_EQ(ReServices::current().noteInput().duration, 60480);
        EXPECT_EQ(ReServices::current().noteInput().voice, 1);
    }
    EXPECT_FALSE(ReServices::current().isNotePlaying(chord, 0));
    EXPECT_EQ(ReServices::current().noteInput().duration, 0);
}
