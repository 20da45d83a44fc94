#include "model/MnCodes.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnSheetMusic.h"
#include "panels/UiPartDlg.h"
#include "panels/UiPartGroupDlg.h"
#include "panels/UiPartPageLayouts.h"
#include "panels/UiStaffDlg.h"
#include "tests/panels/PageFixture.h"

#include <filesystem>

namespace {

enum
{
    nameEdit = 1094,
    instrumentGroup = 1000,
    violinRadio = 1004,
    generalMidiRadio = 1019,
    programList = 1292,
    volumeSlider = 1335,
    volumeEdit = 1087,
    scaleSlider = 1329,
    scaleEdit = 1086,
    resetButton = 1330,
    bracketGroup = 1106,
};

}

TEST(PartPageInstrumentTest, storedCodesShowTheirRadioAndProgram)
{
    struct Row
    {
        const char* name;
        int code;
        int choice;
        int program;
    };
    const Row rows[] = {
        {"no instrument", MnInstrumentNone, UiPartDlg::defaultSound, 0},
        {"piano", MnInstrumentPiano, 0, 0},
        {"violin", MnInstrumentViolin, 6, 40},
        {"saxophone", MnInstrumentSaxophone, 11, 64},
        {"a code the part never keeps", 12, UiPartDlg::defaultSound, 0},
        {"General MIDI cello", MnInstrumentProgram + 42, UiPartDlg::generalMidi, 42},
        {"General MIDI gunshot", MnInstrumentProgram + 127, UiPartDlg::generalMidi, 127},
    };
    for (const Row& row : rows) {
        int choice = -5, program = -5;
        UiPartDlg::instrumentChoice(row.code, choice, program);
        EXPECT_EQ(choice, row.choice) << row.name;
        EXPECT_EQ(program, row.program) << row.name;
    }
}

TEST(PartPageLayoutTest, everyAnchoredControlAndEveryPictureExists)
{
    struct Page
    {
        unsigned templateId;
        const UiAnchorSpec* anchors;
        int anchorCount;
        int expectedCount;
    };
    const Page pages[] = {
        {UiPartDlg::pageTemplateId, UiPartPageLayouts::partAnchors, UiPartPageLayouts::partAnchorCount, 61},
        {UiPartGroupDlg::pageTemplateId, UiPartPageLayouts::partGroupAnchors,
         UiPartPageLayouts::partGroupAnchorCount, 12},
        {UiStaffDlg::pageTemplateId, UiPartPageLayouts::staffAnchors, UiPartPageLayouts::staffAnchorCount, 63},
    };
    for (const Page& page : pages) {
        const UiDialogTemplate* layout = UiDialogTemplates::find(page.templateId);
        ASSERT_NE(layout, nullptr) << page.templateId;
        EXPECT_EQ(page.anchorCount, page.expectedCount) << page.templateId;
        for (int i = 0; i < page.anchorCount; ++i)
            EXPECT_NE(layout->control(page.anchors[i].controlId), nullptr)
                << page.templateId << " " << page.anchors[i].controlId;
    }
}

TEST_F(PageFixture, thePagesDrawEveryPictureTheyAskForAndAnchorTheirControls)
{
    auto run = [](UiPropertiesDlg& page, FakePageWindow& window, int anchored, int pictures, const char* name) {
        EXPECT_EQ(page.anchorList().count(), anchored) << name;
        EXPECT_EQ(int(window.bitmaps.size()), pictures) << name;
        for (const auto& [control, bitmap] : window.bitmaps) {
            std::string file = std::string(QRV_SOURCE_DIR) + "/resources/images/" + std::to_string(bitmap) + ".png";
            EXPECT_TRUE(std::filesystem::exists(file)) << name << ": picture " << bitmap << " of " << control;
        }
    };
    {
        auto* layout = UiDialogTemplates::find(UiPartDlg::pageTemplateId);
        FakePageWindow window(*layout);
        UiMemoryControlHost* controls = nullptr;
        auto page = makePage<UiPartDlg>(controls, &window);
        run(*page, window, 41, 12, "part");
        EXPECT_EQ(window.bitmaps[1295], 148) << "the pipe organ";
        EXPECT_EQ(window.bitmaps[1304], 145) << "the saxophone";
    }
    {
        auto* layout = UiDialogTemplates::find(UiPartGroupDlg::pageTemplateId);
        FakePageWindow window(*layout);
        UiMemoryControlHost* controls = nullptr;
        auto page = makePage<UiPartGroupDlg>(controls, &window);
        run(*page, window, 11, 4, "part group");
        EXPECT_EQ(window.bitmaps[1102], 279) << "the brace";
    }
    {
        auto* layout = UiDialogTemplates::find(UiStaffDlg::pageTemplateId);
        FakePageWindow window(*layout);
        UiMemoryControlHost* controls = nullptr;
        auto page = makePage<UiStaffDlg>(controls, &window);
        run(*page, window, 63, 30, "staff");
        EXPECT_EQ(window.bitmaps[1031], 243) << "seven flats";
        EXPECT_EQ(window.bitmaps[1045], 244) << "seven sharps";
        EXPECT_EQ(window.bitmaps[1046], 258) << "the common-time sign";
    }
}

TEST_F(PageFixture, aNamedInstrumentShowsItsProgramAndGeneralMidiKeepsIt)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnPart* part = score->part(0);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiPartDlg>(controls);
    ASSERT_EQ(controls->itemCount(programList), 128);
    EXPECT_EQ(controls->items(programList)[127], "128. Gunshot");
    ASSERT_TRUE(load(*page, {part}));
    EXPECT_EQ(controls->radioIndex(instrumentGroup), UiPartDlg::defaultSound);
    EXPECT_EQ(controls->items(programList)[size_t(controls->selection(programList))], "1. Acoustic Grand Piano");

    int before = steps();
    controls->click(violinRadio);
    EXPECT_EQ(part->instrument(), MnInstrumentViolin);
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(controls->items(programList)[size_t(controls->selection(programList))], "41. Violin");
    EXPECT_FALSE(controls->isEnabled(programList));

    controls->click(generalMidiRadio);
    EXPECT_TRUE(controls->isEnabled(programList));
    EXPECT_EQ(controls->selection(programList), 40);
    EXPECT_EQ(part->instrument(), MnInstrumentProgram + 40);
    controls->choose(programList, 42);
    EXPECT_EQ(part->instrument(), MnInstrumentProgram + 42);

    // An icon picks its instrument as its radio does.
    controls->click(1303);
    EXPECT_EQ(part->instrument(), MnInstrumentTrumpet);
    EXPECT_EQ(controls->radioIndex(instrumentGroup), int(MnInstrumentTrumpet));
    controls->click(1018);
    EXPECT_EQ(part->instrument(), MnInstrumentNone);
}

TEST_F(PageFixture, generalMidiPartsWithDifferentProgramsKeepThemThroughOtherChanges)
{
    MnScore* score = addScore(makeScore(2, 1));
    MnPart* first = score->part(0);
    MnPart* second = score->part(1);
    ASSERT_TRUE(first->setInstrument(MnInstrumentProgram + 40));
    ASSERT_TRUE(second->setInstrument(MnInstrumentProgram + 73));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiPartDlg>(controls);
    ASSERT_TRUE(load(*page, {first, second}));
    EXPECT_EQ(controls->radioIndex(instrumentGroup), UiPartDlg::generalMidi);
    EXPECT_EQ(controls->selection(programList), -1);

    controls->type(nameEdit, "Strings");
    EXPECT_EQ(first->name(), BcString("Strings"));
    EXPECT_EQ(second->name(), BcString("Strings"));
    EXPECT_EQ(first->instrument(), MnInstrumentProgram + 40);
    EXPECT_EQ(second->instrument(), MnInstrumentProgram + 73);
    controls->click(generalMidiRadio);
    EXPECT_EQ(first->instrument(), MnInstrumentProgram + 40);
    EXPECT_EQ(second->instrument(), MnInstrumentProgram + 73);

    // A chosen program goes to both.
    controls->choose(programList, 0);
    EXPECT_EQ(first->instrument(), MnInstrumentProgram);
    EXPECT_EQ(second->instrument(), MnInstrumentProgram);
}

TEST_F(PageFixture, theVolumeAppliesWithoutANewLayoutAndTheScaleWithOne)
{
    MnScore* score = addScore(makeScore(2, 1));
    MnPart* first = score->part(0);
    MnPart* second = score->part(1);
    ASSERT_TRUE(second->setVolume(80));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiPartDlg>(controls);
    ASSERT_TRUE(load(*page, {first, second}));
    EXPECT_EQ(controls->text(volumeEdit), "*Various*");
    EXPECT_EQ(controls->text(scaleEdit), "100");

    int updates = context.allViewsUpdates;
    int before = steps();
    controls->moveSlider(volumeSlider, 60);
    EXPECT_EQ(first->volume(), 60);
    EXPECT_EQ(second->volume(), 60);
    EXPECT_EQ(controls->text(volumeEdit), "60");
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(context.allViewsUpdates, updates) << "no new layout for a volume";

    controls->moveSlider(scaleSlider, 120);
    EXPECT_DOUBLE_EQ(first->partScale(), 1.2);
    EXPECT_DOUBLE_EQ(second->partScale(), 1.2);
    EXPECT_EQ(context.allViewsUpdates, updates + 1);
    EXPECT_EQ(steps(), before + 2);

    controls->click(resetButton);
    EXPECT_DOUBLE_EQ(first->partScale(), 1.0);
    EXPECT_EQ(controls->position(scaleSlider), 100);

    // Typing keeps what each keystroke makes of the number: 2, then 20,
    // held to 50 %.
    controls->type(scaleEdit, "20");
    EXPECT_DOUBLE_EQ(first->partScale(), 0.5);
    EXPECT_EQ(controls->text(scaleEdit), "20");
    controls->type(scaleEdit, "115");
    EXPECT_DOUBLE_EQ(second->partScale(), 1.15);
    ASSERT_TRUE(load(*page, {first}));
    EXPECT_EQ(controls->text(scaleEdit), "115") << "the percentage is rounded, not cut";

    // 10 applies at the second keystroke; 101 is no volume.
    controls->type(volumeEdit, "101");
    EXPECT_EQ(first->volume(), 10);
    EXPECT_EQ(controls->text(volumeEdit), "101");
}

TEST_F(PageFixture, aNegativeVolumeByteShowsItsComplementAndStaysNegative)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnPart* part = score->part(0);
    ASSERT_TRUE(part->setVolume(~70));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiPartDlg>(controls);
    ASSERT_TRUE(load(*page, {part}));
    EXPECT_EQ(controls->text(volumeEdit), "70");
    EXPECT_EQ(controls->position(volumeSlider), 70);
    controls->moveSlider(volumeSlider, 0);
    EXPECT_EQ(part->volume(), -1);
    controls->clickUpDown(1336, 1);
    EXPECT_EQ(part->volume(), ~1);
}

TEST_F(PageFixture, aGroupTakesEachBracketAndRelaysOutForItsName)
{
    auto* sheet = new MnSheetMusic();
    ASSERT_TRUE(document.addWork(sheet));
    MnScore* score = sheet->score();
    ASSERT_NE(score->insertStaff(-1), nullptr);
    ASSERT_NE(score->insertStaff(-1), nullptr);
    MnPartGroup* upper = score->addPartGroup(0, 2);
    MnPartGroup* whole = score->addPartGroup(0, 3);
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(whole, nullptr);
    upper->setBracketType(2);
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiPartGroupDlg>(controls);
    ASSERT_TRUE(load(*page, {upper, whole}));
    EXPECT_EQ(controls->radioIndex(bracketGroup), -1);

    controls->type(1111, "Str.");
    EXPECT_EQ(upper->bracketType(), 2) << "a mixed bracket stays";
    EXPECT_EQ(whole->bracketType(), 0);
    EXPECT_EQ(whole->abbreviation(), BcString("Str."));
    const int pictures[4] = {1102, 1103, 1104, 1105};
    const int radios[4] = {1106, 1107, 1108, 1109};
    for (int type = 0; type < 4; ++type) {
        controls->click(pictures[3 - type]);
        EXPECT_EQ(upper->bracketType(), 3 - type);
        controls->click(radios[type]);
        EXPECT_EQ(whole->bracketType(), type);
        EXPECT_EQ(upper->bracketType(), type);
    }

    // The score at the left end its labels allow moves right when a name
    // makes them wider.
    ASSERT_TRUE(load(*page, {whole}));
    score->moveTo(GePoint2d(-1000.0, score->position().y));
    double left = score->position().x;
    controls->type(nameEdit, "A rather long name for an ensemble");
    EXPECT_EQ(whole->name(), BcString("A rather long name for an ensemble"));
    EXPECT_GT(score->position().x, left);
}
