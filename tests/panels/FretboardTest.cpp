#include "PanelsFixture.h"

#include "editing/EdSelection.h"
#include "model/MnNote.h"
#include "model/MnTablature.h"
#include "panels/UiRecordingPainter.h"
#include "platform/PlConfigFile.h"

#include <cmath>

using Strings = std::vector<std::string>;

namespace {

FretboardTuning custom()
{
    FretboardTuning tuning = FretboardTuning::preset(0);
    tuning.pitch[0] = 5;  // F
    return tuning;
}

}

TEST(FretboardTuningTest, positionsAndKeys)
{
    const FretboardTuning guitar = FretboardTuning::preset(0), mandolin = FretboardTuning::preset(3);
    struct Case
    {
        const char* what;
        int got, expected;
    } cases[] = {
        {"guitar open string 1", guitar.keyAtPosition(0, 0), 55},
        {"guitar string 1 fret 5", guitar.keyAtPosition(5, 0), 60},
        {"guitar open string 6", guitar.keyAtPosition(5 * 20, 0), 31},
        {"first position of 55", guitar.positionOfKey(55, 0, 0), 0},
        {"second: string 2 fret 5", guitar.positionOfKey(55, 1, 0), 25},
        {"third: string 3 fret 9", guitar.positionOfKey(55, 2, 0), 49},
        {"string 6 cannot reach it", guitar.positionOfKey(55, 5, 0), -1},
        {"capo 3: open sounds fret 3", guitar.keyAtPosition(0, 3), 58},
        {"capo 3: fret 2 sounds fret 3", guitar.keyAtPosition(2, 3), 58},
        {"capo 3: fret 4 sounds itself", guitar.keyAtPosition(4, 3), 59},
        {"capo 3: nothing below fret 3", guitar.positionOfKey(56, 0, 3), 20 + 6},
        {"C8 on the mandolin: fret 20", mandolin.positionOfKey(87, 0, 0), 20},
        {"C8 on the guitar: none", guitar.positionOfKey(87, 0, 0), -1},
        {"mandolin fret 22 goes past the piano", mandolin.keyAtPosition(22, 0), 89},
        {"outside the neck", guitar.keyAtPosition(6 * 20, 0), -1},
        {"negative position", guitar.keyAtPosition(-1, 0), -1},
        {"key past the piano", guitar.positionOfKey(88, 0, 0), -1},
        {"B flat 4", FretboardTuning::openKeyOf(8, 4), 49},
        {"A sharp 0", FretboardTuning::openKeyOf(14, 0), 1},
        {"C0 held at A0", FretboardTuning::openKeyOf(2, 0), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
    // With the capo at 3 no position below fret 3 is ever given.
    for (int key = 0; key < 88; ++key)
        for (int n = 0;; ++n) {
            const int p = guitar.positionOfKey(key, n, 3);
            if (p < 0)
                break;
            EXPECT_GE(p % 20, 3) << key;
            EXPECT_EQ(guitar.keyAtPosition(p, 3), key);
        }
    FretboardTuning fromDefault;
    ASSERT_TRUE(FretboardTuning::fromTablature(MnTablature(), fromDefault));
    EXPECT_TRUE(fromDefault.equals(guitar)) << "a new tablature is tuned like the guitar preset";
}

TEST_F(PanelsTest, tuningsFromTablaturesAndTheirCapo)
{
    MnTablature standard, otherTuning, capoTwo, capoOff;
    otherTuning.setTuning(0, 3, 5, 0);  // F5 on string 1
    capoTwo.setCapoOn(true);
    capoTwo.setCapoFret(2);
    MnNote note(nullptr, 0, 4, 0, false);
    struct Case
    {
        const char* name;
        std::vector<MnElement*> elements;
        int startPreset;
        bool startCapoOn;
        int startCapoFret;
        int preset;  // expected
        bool capoOn;
        int capoFret;
    } cases[] = {
        {"different tunings change nothing", {&standard, &otherTuning}, 4, false, 0, 4, false, 0},
        {"notes and a tablature", {&note, &capoTwo}, 4, false, 0, 0, true, 2},
        {"one tuning, different capos", {&capoTwo, &capoOff}, 3, true, 3, 0, true, 3},
        {"no tablature", {&note}, 2, true, 4, 2, true, 4},
    };
    for (const Case& c : cases) {
        fretboard->setTuning(FretboardTuning::preset(c.startPreset));
        fretboard->setCapo(c.startCapoOn, c.startCapoFret, false);
        EdSelection selection;
        for (MnElement* element : c.elements)
            selection.add(element);
        fretboard->setTuningFromTablatures(selection);
        EXPECT_EQ(FretboardTuning::presetIndex(fretboard->tuning()), c.preset) << c.name;
        EXPECT_EQ(fretboard->isCapoOn(), c.capoOn) << c.name;
        EXPECT_EQ(fretboard->capoFret(), c.capoFret) << c.name;
    }

    // Fewer frets than the capo's fret take the capo off.
    fretboard->setTuning(FretboardTuning::preset(0));
    fretboard->setCapo(true, 15, false);
    EXPECT_TRUE(fretboard->setTuning(FretboardTuning::preset(2)));
    EXPECT_FALSE(fretboard->isCapoOn());
    EXPECT_FALSE(fretboard->setTuning(FretboardTuning::preset(2))) << "the same tuning again";
    FretboardTuning noFrets = FretboardTuning::preset(0);
    noFrets.frets = 0;
    EXPECT_FALSE(fretboard->setTuning(noFrets)) << "a neck needs a fret";

    fretboard->setTuning(FretboardTuning::preset(0));
    EXPECT_EQ(fretboard->caption(), "Fretboard  \xC2\xB7  Guitar");
    fretboard->setTuning(custom());
    EXPECT_EQ(fretboard->caption(), "Fretboard");
}

TEST_F(PanelsTest, fretboardSettingsRoundTripAndFallBack)
{
    PlConfigFile empty;
    EXPECT_FALSE(fretboard->loadSettings(empty));
    EXPECT_EQ(FretboardTuning::presetIndex(fretboard->tuning()), 0);

    PlConfigFile stored;
    fretboard->setTuning(FretboardTuning::preset(3));
    fretboard->setCapo(true, 2, false);
    fretboard->saveSettings(stored);
    fretboard->setTuning(FretboardTuning::preset(0));
    fretboard->setCapo(false, 0, false);
    EXPECT_TRUE(fretboard->loadSettings(stored));
    EXPECT_EQ(FretboardTuning::presetIndex(fretboard->tuning()), 3);
    EXPECT_TRUE(fretboard->isCapoOn());
    EXPECT_EQ(fretboard->capoFret(), 2);

    PlConfigFile fretsOnly;
    fretsOnly.setIntValue("Fretboard", "Frets", 12);
    fretboard->setTuning(FretboardTuning::preset(0));
    fretboard->setCapo(false, 0, false);
    EXPECT_TRUE(fretboard->loadSettings(fretsOnly));
    FretboardTuning twelve = FretboardTuning::preset(0);
    twelve.frets = 12;
    EXPECT_TRUE(fretboard->tuning().equals(twelve));

    struct Bad
    {
        const char* name;
        int value;
    } bad[] = {{"Strings", 9}, {"Strings", 0},  {"Pitch1", 21},  {"Pitch2", -1},    {"Octave2", 9},
               {"Frets", 0},   {"Frets", 100},  {"CapoFret", 23}, {"CapoFret", -1}};
    for (const Bad& b : bad) {
        PlConfigFile file = stored;  // a mandolin with the capo at 2
        file.setIntValue("Fretboard", b.name, b.value);
        fretboard->setTuning(FretboardTuning::preset(4));
        EXPECT_TRUE(fretboard->loadSettings(file)) << b.name;
        EXPECT_EQ(FretboardTuning::presetIndex(fretboard->tuning()), 0) << b.name << "=" << b.value;
        EXPECT_FALSE(fretboard->isCapoOn()) << b.name;
    }
}

TEST_F(PanelsTest, fretboardGeometry)
{
    const UiFretboard::Geometry g = fretboard->computeGeometry(neckWidth, neckHeight);
    EXPECT_EQ(g.nut, 9);
    EXPECT_NEAR(g.zoneWidth[1] / g.zoneWidth[19], std::pow(1.05, 18), 1e-9);
    EXPECT_EQ(g.right[19], neckWidth);
    EXPECT_EQ(g.stringY, (std::vector<int>{10, 30, 50, 70, 90, 110}));

    // The lower three strings carry a black row above them.
    UiRecordingPainter painter;
    fretboard->paint(painter, neckWidth, neckHeight);
    const int x = g.zoneLeft(10) + 8;
    for (int j = 0; j < 6; ++j) {
        const int y = g.stringY[size_t(j)];
        EXPECT_EQ(painter.colorAt(x, y - 1), j >= 3 ? UiFretboard::blackColor : UiFretboard::neckColor) << j;
        EXPECT_EQ(painter.colorAt(x, y), UiFretboard::whiteColor) << j;
    }
    EXPECT_EQ(painter.colorAt(4, 60), UiFretboard::whiteColor) << "the nut";

    // The nut area plays the open string.
    EXPECT_EQ(fretboard->positionAtPoint(g, 3, 10), 0);
    EXPECT_EQ(fretboard->positionAtPoint(g, neckWidth - 1, 119), 5 * 20 + 19);
    EXPECT_EQ(fretboard->positionAtPoint(g, neckWidth, 10), -1);
}

TEST_F(PanelsTest, capoStatesFollowCommandPointerAndClicks)
{
    const wxPoint zone5 = pointOnNeck(1, 5), zone8 = pointOnNeck(1, 8);
    // The Capo command: placing, waiting for the pointer to come in.
    fretboard->setCapo(true, 0, true);
    fretboard->mouseMove(-10, 50, false);
    EXPECT_TRUE(fretboard->isCapoOn()) << "still waiting for the pointer";
    fretboard->mouseMove(zone5.x, zone5.y, true);
    EXPECT_FALSE(fretboard->isCapoAwaitingPointer());
    fretboard->mouseMove(-10, 50, false);
    EXPECT_FALSE(fretboard->isCapoOn()) << "the pointer came in and left";

    // A click while placing clamps it at the zone under the pointer, silently.
    fretboard->setCapo(true, 0, false);
    fretboard->mouseMove(zone5.x, zone5.y, true);
    fretboard->mouseDown(zone5.x, zone5.y);
    fretboard->mouseUp(zone5.x, zone5.y, true);
    EXPECT_TRUE(fretboard->isCapoOn());
    EXPECT_EQ(fretboard->capoFret(), 5);
    EXPECT_TRUE(services.calls.empty());

    // A press on the capo picks it up; a release elsewhere drops it there.
    const UiFretboard::Geometry g = fretboard->computeGeometry(neckWidth, neckHeight);
    UiRect capo;
    ASSERT_TRUE(fretboard->capoRect(g, -1, -1, capo));
    fretboard->mouseDown((capo.left + capo.right) / 2, 60);
    EXPECT_EQ(fretboard->capoFret(), 0);
    fretboard->mouseMove(zone8.x, zone8.y, true);
    fretboard->mouseUp(zone8.x, zone8.y, true);
    EXPECT_EQ(fretboard->capoFret(), 8);

    // Released outside while placing: off.
    fretboard->setCapo(true, 0, false);
    fretboard->mouseUp(-3, 50, false);
    EXPECT_FALSE(fretboard->isCapoOn());

    // Zone 3 under a capo at 5 sounds the open key + 5, and shows no cell.
    fretboard->setCapo(true, 5, false);
    const wxPoint zone3 = pointOnNeck(0, 3);
    fretboard->mouseDown(zone3.x, zone3.y);
    EXPECT_EQ(services.calls, (Strings{"enter 60", "down 60"}));
    UiRecordingPainter painter;
    fretboard->paint(painter, neckWidth, neckHeight);
    EXPECT_EQ(painter.colorAt(zone3.x + 2, 3), UiFretboard::neckColor);
    fretboard->mouseUp(zone3.x, zone3.y, true);
}

TEST_F(PanelsTest, draggingAcrossStringsAndOntoTheCapo)
{
    const wxPoint first = pointOnNeck(0, 2), second = pointOnNeck(1, 2);
    fretboard->mouseDown(first.x, first.y);
    fretboard->mouseMove(second.x, second.y, true);
    EXPECT_EQ(services.calls, (Strings{"enter 57", "down 57", "enter 52", "down 52", "up 57"}));
    unsigned char states[88];
    piano->computeKeyStates(states);
    EXPECT_EQ(states[52], UiPianoKeyboard::soundingBit);
    EXPECT_EQ(states[57], 0);

    services.calls.clear();
    fretboard->setCapo(true, 10, false);
    UiRect capo;
    ASSERT_TRUE(fretboard->capoRect(fretboard->computeGeometry(neckWidth, neckHeight), -1, -1, capo));
    fretboard->mouseMove(capo.left + 1, 30, true);
    EXPECT_EQ(services.calls, (Strings{"up 52"})) << "onto the capo lets go";
    EXPECT_EQ(fretboard->pressedPosition(), -1);

    // Recording: the press records, the release ends it, a drag enters.
    services.calls.clear();
    services.recording = true;
    fretboard->setCapo(false, 0, false);
    fretboard->mouseDown(first.x, first.y);
    fretboard->mouseUp(first.x, first.y, true);
    EXPECT_EQ(services.calls, (Strings{"record 57", "down 57", "release 57", "up 57"}));

    // Ctrl+Alt past C8 anchors on C8.
    services.calls.clear();
    services.recording = false;
    services.ctrlAlt = true;
    fretboard->setTuning(FretboardTuning::preset(3));
    const wxPoint high = pointOnNeck(0, 22);
    fretboard->mouseDown(high.x, high.y);
    EXPECT_EQ(services.calls, (Strings{"anchor 87"}));
}
