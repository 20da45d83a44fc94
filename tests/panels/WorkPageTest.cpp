#include "model/MnCredit.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"
#include "panels/UiWorkDlg.h"
#include "tests/panels/PageFixture.h"

TEST_F(PageFixture, theWorkPageWritesEachLetterAsOneStepIntoTheWorkAndItsLinkedCredits)
{
    auto* sheet = new MnSheetMusic();
    ASSERT_TRUE(document.addWork(sheet));
    MnCredit* composer = sheet->addCredit(0);
    ASSERT_NE(composer, nullptr);
    composer->setType(MnCreditComposer);
    MnCredit* free = sheet->addCredit(0);
    ASSERT_NE(free, nullptr);
    ASSERT_TRUE(free->setText(BcString("my own")));
    restartHistory();
    MnWork* work = static_cast<MnWork*>(document.works()[0]);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiWorkDlg>(controls);
    ASSERT_TRUE(load(*page, {work}));

    controls->type(1096, "Bach");
    EXPECT_EQ(work->composer, BcString("Bach"));
    EXPECT_EQ(composer->text(), BcString("Bach"));
    EXPECT_EQ(free->text(), BcString("my own")) << "a free credit keeps its text";
    EXPECT_EQ(steps(), 4) << "one step per letter";

    controls->type(1096, "");
    EXPECT_EQ(work->composer, BcString(""));
    EXPECT_EQ(composer->text(), BcString("Bach")) << "a credit is never empty: it keeps its last text";
}
