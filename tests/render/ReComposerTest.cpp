#include "model/MnText.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/common/TestServices.h"

#include <gtest/gtest.h>

TEST(ReComposer, buildsWithTheStandardRecord)
{
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    EXPECT_EQ(system.staffLineThickness, 0.2);
    EXPECT_EQ(system.stemThickness, 0.3);
    EXPECT_EQ(system.paperDepth, 1.0);
    EXPECT_EQ(system.staffDepth, 2.0);
    EXPECT_EQ(system.symbolDepth, 3.0);
    EXPECT_EQ(system.renderer, &renderer);
    EXPECT_FALSE(system.depthMode);
    EXPECT_EQ(system.horizontalScale, 1.0);
    EXPECT_EQ(system.horizontalPivot, 0.0);
    EXPECT_TRUE(system.isKindOf(ReComposer::staticClass()));
    EXPECT_EQ(system.dynamicClass(), ReSystem::staticClass());
}

TEST(ReComposer, colourModesReadTheSettingsAsRedGreenBlueBytes)
{
    TestSettings settings;
    settings.set(BcSettings::backgroundColor, 0x00332211);
    settings.set(BcSettings::selectionVoice2Color, 0x7F00A000);  // the fourth byte is ignored
    struct Row {
        int mode;
        int r, g, b;
    };
    const Row rows[] = {
        {0, 0x11, 0x22, 0x33},
        {1, 200, 200, 200},
        {2, 0, 0, 0},
        {3, 0, 127, 255},  // the default selection colour 0xFF7F00
        {4, 0, 160, 0},
        {5, 0xF2, 0x95, 0x36},  // the default playing colour 0x3695F2
    };
    for (const Row& row : rows) {
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.setColorMode(row.mode);
        auto colours = renderer.callsNamed("setColor");
        ASSERT_EQ(colours.size(), 1u) << row.mode;
        EXPECT_EQ(colours[0]->args, (std::vector<double>{double(row.r), double(row.g), double(row.b), 255.0}))
            << "mode " << row.mode;
    }
    for (int mode : {-1, 6, 7, 1000}) {
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.setColorMode(mode);
        EXPECT_EQ(renderer.countOf("setColor"), 0) << mode;
    }
}

TEST(ReComposer, aChangedSettingShowsAtTheNextCall)
{
    TestSettings settings;
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.setColorMode(3);
    settings.set(BcSettings::selectionColor, 0x0000FF);
    system.setColorMode(3);
    auto colours = renderer.callsNamed("setColor");
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0]->args[2], 255.0);
    EXPECT_EQ(colours[1]->args[0], 255.0);
    EXPECT_EQ(colours[1]->args[2], 0.0);
}

TEST(ReComposer, selectionColourFollowsTheRenderersOwnSelection)
{
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    MnText selected, other;
    renderer.add(&selected);
    system.setColorBySelection(&selected);
    system.setColorBySelection(&other);
    system.setColorBySelection(nullptr);
    auto colours = renderer.callsNamed("setColor");
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(colours[0]->args[2], 255.0);  // selection colour: blue 255
    EXPECT_EQ(colours[1]->args[2], 0.0);    // black
    EXPECT_EQ(colours[2]->args[2], 0.0);
}
