#include "panels/UiHeldKeys.h"

#include <gtest/gtest.h>

TEST(HeldKeysTest, aKeyStaysHeldUntilBothTheKeyboardAndTheMidiDeviceReleaseIt)
{
    UiHeldKeys::clearAll();
    EXPECT_TRUE(UiHeldKeys::setByComputerKeyboard(39, true));
    EXPECT_TRUE(UiHeldKeys::setByMidiInput(39, true));
    EXPECT_FALSE(UiHeldKeys::setByMidiInput(39, true)) << "no change, nothing to repaint";
    EXPECT_TRUE(UiHeldKeys::setByComputerKeyboard(39, false));
    EXPECT_TRUE(UiHeldKeys::isHeld(39));
    EXPECT_TRUE(UiHeldKeys::clearMidiInput());
    EXPECT_FALSE(UiHeldKeys::isHeld(39));
    EXPECT_FALSE(UiHeldKeys::clearMidiInput()) << "nothing was held by MIDI";
}

TEST(HeldKeysTest, keysOutsideThePianoHaveNoEntry)
{
    UiHeldKeys::clearAll();
    for (int key : {-1, 88, 127})
    {
        EXPECT_FALSE(UiHeldKeys::setByComputerKeyboard(key, true)) << key;
        EXPECT_FALSE(UiHeldKeys::setByMidiInput(key, true)) << key;
        EXPECT_FALSE(UiHeldKeys::isHeld(key)) << key;
    }
}
