#include "model/MnElement.h"

#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

static std::vector<const MnElement*> deaths;

static void recordDeath(MnElement* element)
{
    deaths.push_back(element);
}

// Installs a hook while it lives and puts back the one it replaced.
class InstalledDeathHook
{
public:
    explicit InstalledDeathHook(MnElement::DeathHook hook) : previous(MnElement::installDeathHook(hook)) {}
    ~InstalledDeathHook() { MnElement::installDeathHook(previous); }

private:
    MnElement::DeathHook previous;
};

TEST(MnElement, EveryDyingElementTellsTheHookChildrenFirst)
{
    InstalledDeathHook hook(&recordDeath);
    MnScore* score = new MnScore;
    score->insertStaff(-1);
    score->insertMeasure(0);
    const MnElement* staff = score->staff(0);
    const MnElement* measure = score->staff(0)->measure(0);
    const MnElement* part = score->part(0);
    const MnElement* scoreElement = score;
    deaths.clear();
    delete score;

    ASSERT_FALSE(deaths.empty());
    EXPECT_EQ(deaths.back(), scoreElement);
    auto at = [](const MnElement* element) {
        for (size_t i = 0; i < deaths.size(); ++i)
            if (deaths[i] == element)
                return int(i);
        return -1;
    };
    EXPECT_GE(at(part), 0);
    ASSERT_GE(at(measure), 0);
    EXPECT_LT(at(measure), at(staff));
    for (const MnElement* element : deaths)
        EXPECT_EQ(std::count(deaths.begin(), deaths.end(), element), 1);
}

TEST(MnElement, WithoutAHookElementsDieQuietly)
{
    InstalledDeathHook none(nullptr);
    deaths.clear();
    MnScore* score = new MnScore;
    score->insertStaff(-1);
    delete score;
    delete new MnText;
    EXPECT_TRUE(deaths.empty());
}
