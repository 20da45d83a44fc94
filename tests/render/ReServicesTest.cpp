#include "render/ReServices.h"
#include "tests/common/TestServices.h"

#include <gtest/gtest.h>

TEST(ReServices, withoutAPlayerNothingSounds)
{
    int anything = 0;
    EXPECT_FALSE(ReServices::current().isNotePlaying(nullptr, 0));
    EXPECT_FALSE(ReServices::current().isNotePlaying(reinterpret_cast<const MnChord*>(&anything), 1));
}

TEST(ReServices, installedServicesAnswerUntilTheyDie)
{
    int anything = 0;
    const MnChord* chord = reinterpret_cast<const MnChord*>(&anything);
    {
        TestServices services;
        services.setPlaying(chord, 2);
        EXPECT_TRUE(ReServices::current().isNotePlaying(chord, 0));
        EXPECT_TRUE(ReServices::current().isNotePlaying(chord, 2));
        EXPECT_FALSE(ReServices::current().isNotePlaying(chord, 1));
    }
    EXPECT_FALSE(ReServices::current().isNotePlaying(chord, 0));
}
