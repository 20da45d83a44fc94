#include "app/UiTuningControls.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "panels/UiTablatureDlg.h"
#include "tests/panels/PageFixture.h"

namespace {

using T = UiTuningControls;

enum
{
    nameEdit = 1094,
    capoCheck = 1084,
    capoSlider = 1379,
    capoEdit = 1380,
    capoUpDown = 1381,
    nutPicture = 1384,
    capoPicture = 1385,
    nutRadio = 1382,
};
const int capoControls[] = {capoSlider, capoEdit, capoUpDown, nutPicture, capoPicture, nutRadio, 1383};

// Open strings as the model spells them: step from C, octave, accidental.
struct Open
{
    int step, octave, accidental;
};

void tune(MnTablature* tablature, std::initializer_list<Open> strings)
{
    tablature->setStringCount(int(strings.size()));
    int s = 0;
    for (const Open& open : strings)
        ASSERT_TRUE(tablature->setTuning(s++, open.step, open.octave, open.accidental));
}

// A score whose staves each carry a default tablature (a guitar's six
// strings, 19 frets, the capo off), and the tablature page over them.
class TablaturePageTest : public PageFixture
{
protected:
    void makeTablatures(int count)
    {
        MnScore* score = makeScore(count, 1);
        for (int i = 0; i < count; ++i) {
            MnStaff* staff = score->staff(i);
            staff->setTablature(new MnTablature(staff));
            tabs.push_back(staff->tablature());
        }
        addScore(score);
    }
    // After the test changed the tablatures: a fresh history, and the page
    // over them.
    void open(std::initializer_list<MnElement*> list)
    {
        restartHistory();
        page = makePage<UiTablatureDlg>(controls, &window);
        ASSERT_TRUE(load(*page, list));
    }
    void openAll()
    {
        restartHistory();
        page = makePage<UiTablatureDlg>(controls, &window);
        BcArray<MnElement*> list;
        for (MnTablature* tab : tabs)
            list.add(tab);
        ASSERT_TRUE(page->loadElements(list));
    }
    int preset() const { return controls->selection(T::presetList); }

    std::vector<MnTablature*> tabs;
    FakePageWindow window{*UiDialogTemplates::find(UiTablatureDlg::pageTemplateId)};
    UiMemoryControlHost* controls = nullptr;
    std::unique_ptr<UiTablatureDlg> page;
};

}

TEST(TablatureLetterTest, theLetterOfAStringAndBack)
{
    struct Row
    {
        int step, accidental, letter;
    };
    // The letters run A..G, then flats, then sharps; double accidentals
    // read as natural.
    const Row rows[] = {{5, 0, 0},  {6, 0, 1},   {0, 0, 2},   {4, 0, 6},   {5, -1, 7},
                        {6, -1, 8}, {4, -1, 13}, {5, 1, 14},  {0, 1, 16},  {4, 1, 20}};
    for (const Row& row : rows) {
        EXPECT_EQ(FretboardTuning::letterOf(row.step, row.accidental), row.letter) << row.letter;
        int step = -9, accidental = -9;
        ASSERT_TRUE(FretboardTuning::stepOf(row.letter, step, accidental));
        EXPECT_EQ(step, row.step) << row.letter;
        EXPECT_EQ(accidental, row.accidental) << row.letter;
    }
    EXPECT_EQ(FretboardTuning::letterOf(6, -2), 1) << "B double flat reads as B";
    EXPECT_EQ(FretboardTuning::letterOf(3, 2), 5) << "F double sharp reads as F";
    int step = 3, accidental = 0;
    EXPECT_FALSE(FretboardTuning::stepOf(21, step, accidental));
    EXPECT_FALSE(FretboardTuning::stepOf(-1, step, accidental));
    EXPECT_EQ(step, 3);
}

TEST_F(TablaturePageTest, oneGuitarTablatureShowsItsTuningWithTheCapoOff)
{
    makeTablatures(1);
    tabs[0]->setName(BcString("Guitar tab"));
    open({tabs[0]});
    EXPECT_EQ(page->title(), BcString("Tablature"));
    EXPECT_EQ(UiTablatureDlg::anchorCount, 64);
    EXPECT_EQ(page->anchorList().count(), 41) << "one anchor per control";
    EXPECT_EQ(window.bitmaps[nutPicture], 346);
    EXPECT_EQ(window.bitmaps[capoPicture], 345);

    EXPECT_EQ(controls->text(nameEdit), "Guitar tab");
    EXPECT_EQ(preset(), 0);
    EXPECT_EQ(controls->items(T::presetList)[0], "Guitar");
    EXPECT_EQ(controls->itemCount(T::presetList), 5) << "no Custom while a preset is shown";
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(controls->isShown(T::letterIds[s]), s < 6) << s;
        EXPECT_EQ(controls->isShown(T::octaveIds[s]), s < 6) << s;
        EXPECT_EQ(controls->isEnabled(T::labelIds[s]), s < 6) << s;
    }
    EXPECT_EQ(controls->selection(T::letterIds[0]), 4);  // E
    EXPECT_EQ(controls->selection(T::octaveIds[0]), 5);
    EXPECT_EQ(controls->text(T::fretsEdit), "19");
    EXPECT_TRUE(controls->isEnabled(T::plusButton));
    EXPECT_TRUE(controls->isEnabled(T::minusButton));
    EXPECT_EQ(controls->check(capoCheck), 0);
    for (int id : capoControls)
        EXPECT_FALSE(controls->isEnabled(id)) << id;
    int low = 0, high = 0;
    ASSERT_TRUE(controls->range(capoSlider, low, high));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 10);
    ASSERT_TRUE(controls->range(T::fretsUpDown, low, high));
    EXPECT_EQ(high, MnTablature::maxFrets) << "the most frets a tablature keeps";
    EXPECT_EQ(steps(), 0) << "loading changes nothing";

    // A name change renames; one step each keystroke.
    controls->type(nameEdit, "Tab");
    EXPECT_EQ(tabs[0]->name(), BcString("Tab"));
    EXPECT_EQ(steps(), 4);
}

TEST_F(TablaturePageTest, mixedStringCountsHideTheStringsUntilAPresetSetsThemAll)
{
    makeTablatures(2);
    tune(tabs[1], {{6, 3, 0}, {1, 3, 0}, {5, 2, 0}, {2, 2, 0}});  // B3 D3 A2 E2
    ASSERT_TRUE(tabs[1]->setTuning(4, 3, 2, 1));                  // and F#2 past the count
    open({tabs[0], tabs[1]});
    for (int s = 0; s < 8; ++s) {
        EXPECT_FALSE(controls->isShown(T::letterIds[s])) << s;
        EXPECT_FALSE(controls->isShown(T::octaveIds[s])) << s;
        EXPECT_FALSE(controls->isEnabled(T::labelIds[s])) << s;
    }
    EXPECT_FALSE(controls->isEnabled(T::plusButton));
    EXPECT_FALSE(controls->isEnabled(T::minusButton));
    EXPECT_EQ(preset(), -1);

    // Another change leaves each tablature's strings as they are.
    controls->type(nameEdit, "x");
    EXPECT_EQ(tabs[0]->stringCount(), 6);
    EXPECT_EQ(tabs[1]->stringCount(), 4);
    EXPECT_EQ(tabs[1]->tuning(0).step, 6);

    controls->choose(T::presetList, 1);  // Bass guitar
    const Open bass[4] = {{4, 3, 0}, {1, 3, 0}, {5, 2, 0}, {2, 2, 0}};  // G3 D3 A2 E2
    for (MnTablature* tab : tabs) {
        EXPECT_EQ(tab->stringCount(), 4);
        EXPECT_EQ(tab->frets(), 20);
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(tab->tuning(s).step, bass[s].step) << s;
            EXPECT_EQ(tab->tuning(s).octave, bass[s].octave) << s;
            EXPECT_EQ(tab->tuning(s).accidental, 0) << s;
        }
    }
    EXPECT_EQ(preset(), 1);
    EXPECT_TRUE(controls->isShown(T::letterIds[3]));
    EXPECT_FALSE(controls->isShown(T::letterIds[4]));
    EXPECT_TRUE(controls->isEnabled(T::plusButton));
    EXPECT_EQ(controls->text(T::fretsEdit), "20");

    // "+" brings back each tablature's own fifth string, which differ.
    controls->click(T::plusButton);
    EXPECT_EQ(controls->selection(T::letterIds[4]), -1);
    EXPECT_EQ(preset(), -1);
    for (MnTablature* tab : tabs)
        EXPECT_EQ(tab->stringCount(), 5);
    EXPECT_EQ(tabs[0]->tuning(4).step, 5);
    EXPECT_EQ(tabs[0]->tuning(4).accidental, 0);
    EXPECT_EQ(tabs[1]->tuning(4).step, 3);
    EXPECT_EQ(tabs[1]->tuning(4).accidental, 1);
}

TEST_F(TablaturePageTest, mixedFretsShowVariousUntilAPresetSetsThem)
{
    makeTablatures(2);
    tabs[1]->setFrets(22);
    open({tabs[0], tabs[1]});
    EXPECT_EQ(controls->text(T::fretsEdit), "*Various*");
    // Both are tuned as guitars, but the frets differ: no preset is shown,
    // so choosing the guitar still sets them.
    EXPECT_EQ(preset(), -1);
    controls->click(T::plusButton);
    EXPECT_EQ(tabs[0]->frets(), 19);
    EXPECT_EQ(tabs[1]->frets(), 22);
    EXPECT_EQ(controls->text(T::fretsEdit), "*Various*");
    controls->click(T::minusButton);

    controls->choose(T::presetList, 0);
    EXPECT_EQ(tabs[0]->frets(), 19);
    EXPECT_EQ(tabs[1]->frets(), 19);
    EXPECT_EQ(controls->text(T::fretsEdit), "19");
    EXPECT_EQ(preset(), 0);
}

TEST_F(TablaturePageTest, aLetterChoiceRespellsOnlyThatString)
{
    makeTablatures(1);
    ASSERT_TRUE(tabs[0]->setTuning(1, 6, 4, -1));  // B flat
    ASSERT_TRUE(tabs[0]->setTuning(2, 4, 4, -2));  // G double flat: the list shows G
    open({tabs[0]});
    EXPECT_EQ(controls->selection(T::letterIds[1]), 8);
    EXPECT_EQ(controls->items(T::letterIds[1])[8], "B b");
    EXPECT_EQ(preset(), 5);
    EXPECT_EQ(controls->items(T::presetList)[5], "Custom");

    controls->choose(T::letterIds[1], 1);  // B
    EXPECT_EQ(tabs[0]->tuning(1).step, 6);
    EXPECT_EQ(tabs[0]->tuning(1).accidental, 0);
    EXPECT_EQ(tabs[0]->tuning(2).accidental, -2) << "a string nobody chose for keeps its spelling";
    EXPECT_EQ(steps(), 1);

    controls->choose(T::octaveIds[2], 3);
    EXPECT_EQ(tabs[0]->tuning(2).octave, 3);
    EXPECT_EQ(tabs[0]->tuning(2).accidental, -2);
    controls->choose(T::letterIds[2], 13);  // G b
    EXPECT_EQ(tabs[0]->tuning(2).step, 4);
    EXPECT_EQ(tabs[0]->tuning(2).accidental, -1);
}

TEST_F(TablaturePageTest, everyKeystrokeInTheFretsApplies)
{
    makeTablatures(1);
    tabs[0]->setCapoOn(true);
    tabs[0]->setCapoFret(15);
    open({tabs[0]});
    EXPECT_EQ(controls->text(capoEdit), "15");
    controls->type(T::fretsEdit, "1");
    EXPECT_EQ(tabs[0]->frets(), 1);
    EXPECT_EQ(tabs[0]->capoFret(), 1) << "the capo follows a count below it";
    controls->type(T::fretsEdit, "12");
    EXPECT_EQ(tabs[0]->frets(), 12);
    EXPECT_EQ(tabs[0]->capoFret(), 1) << "and stays there when the count grows";

    struct Row
    {
        const char* typed;
        const char* shown;
        int frets;
    };
    // What the tablature cannot keep leaves it as the last keystroke set
    // it ("6" of "64").
    const Row rows[] = {{"0", "0", 12}, {"64", "64", 6}, {"63", "63", 63}, {"2x", "2", 2}, {"", "", 2}};
    for (const Row& row : rows) {
        controls->type(T::fretsEdit, row.typed);
        EXPECT_EQ(controls->text(T::fretsEdit), row.shown) << row.typed;
        EXPECT_EQ(tabs[0]->frets(), row.frets) << row.typed;
    }
    controls->type(T::fretsEdit, "7");
    controls->clickUpDown(T::fretsUpDown, 1);
    EXPECT_EQ(controls->text(T::fretsEdit), "8");
    EXPECT_EQ(tabs[0]->frets(), 8);
}

TEST_F(TablaturePageTest, theCapoCheckSliderEditAndNumbering)
{
    makeTablatures(2);
    tabs[0]->setCapoOn(true);
    tabs[1]->setFrets(5);
    tabs[0]->setFretsFromCapo(true);
    open({tabs[0], tabs[1]});
    EXPECT_EQ(controls->check(capoCheck), 2);
    EXPECT_EQ(controls->radioIndex(nutRadio), -1);
    for (int id : capoControls)
        EXPECT_TRUE(controls->isEnabled(id)) << "a mixed capo leaves its controls open: " << id;

    controls->moveSlider(capoSlider, 7);
    EXPECT_EQ(tabs[0]->capoFret(), 7);
    EXPECT_EQ(tabs[1]->capoFret(), 1) << "five frets hold no capo at 7";
    EXPECT_EQ(controls->text(capoEdit), "7");
    EXPECT_TRUE(tabs[0]->isCapoOn()) << "the mixed capo state is not written";
    EXPECT_FALSE(tabs[1]->isCapoOn());

    controls->click(capoPicture);
    EXPECT_EQ(controls->radioIndex(nutRadio), 1);
    EXPECT_TRUE(tabs[1]->fretsFromCapo());
    controls->click(nutPicture);
    EXPECT_EQ(controls->radioIndex(nutRadio), 0);
    EXPECT_FALSE(tabs[0]->fretsFromCapo());
    EXPECT_FALSE(tabs[1]->fretsFromCapo());

    controls->type(capoEdit, "3");
    EXPECT_EQ(tabs[0]->capoFret(), 3);
    EXPECT_EQ(tabs[1]->capoFret(), 3);
    EXPECT_EQ(controls->position(capoSlider), 3);

    // The mixed box clears on the first click, then the capo controls close.
    controls->click(capoCheck);
    EXPECT_EQ(controls->check(capoCheck), 0);
    EXPECT_FALSE(tabs[0]->isCapoOn());
    EXPECT_FALSE(tabs[1]->isCapoOn());
    for (int id : capoControls)
        EXPECT_FALSE(controls->isEnabled(id)) << id;
    controls->click(capoCheck);
    EXPECT_EQ(controls->check(capoCheck), 1);
    EXPECT_TRUE(tabs[1]->isCapoOn());
}

TEST_F(TablaturePageTest, aMixedCapoFretShowsVariousUntilTyped)
{
    makeTablatures(2);
    tabs[0]->setCapoFret(4);
    open({tabs[0], tabs[1]});
    EXPECT_EQ(controls->text(capoEdit), "*Various*");
    controls->click(capoCheck);
    EXPECT_EQ(tabs[0]->capoFret(), 4);
    EXPECT_EQ(tabs[1]->capoFret(), 1);
    controls->type(capoEdit, "2");
    EXPECT_EQ(tabs[0]->capoFret(), 2);
    EXPECT_EQ(tabs[1]->capoFret(), 2);
}
