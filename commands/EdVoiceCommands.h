#pragma once

// The commands that act on what the voices of the selected measures hold:
// hiding and showing rests and tuplets, swapping the two voices, and
// shortening measures by the beats under selected notes. Each shows its
// own hint (EdContext::showHint with its id) when it finds nothing to act
// on, and records one undo step when it changed anything.
class EdVoiceCommands
{
public:
    static void cmdHideRest();
    static void cmdShowAllRests();
    static void cmdHideTuplet();
    static void cmdShowAllTuplets();
    static void cmdSwapVoices();
    static void cmdRemoveBeat();

    static constexpr unsigned hideRestId = 32971;
    static constexpr unsigned showAllRestsId = 32970;
    static constexpr unsigned hideTupletId = 33087;
    static constexpr unsigned showAllTupletsId = 33088;
    static constexpr unsigned swapVoicesId = 32973;
    static constexpr unsigned removeBeatId = 32995;

    // The half beat of a time-signature type, 0 for a code outside 0..10.
    static int halfBeatOf(int timeSignatureType);

    // Adds the rows of the six commands.
    static void addRows();
};
