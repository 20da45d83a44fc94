#include "ShellFixture.h"

#include "app/UiDataExchange.h"
#include "app/UiGoToDialog.h"
#include "app/UiMemoryControlHost.h"

namespace {

class GoToDialogTest : public ::testing::Test
{
protected:
    // The dialog of a score of 32 measures, opened at measure 1.
    UiGoToDialog& open()
    {
        host = std::make_unique<UiMemoryControlHost>(*UiDialogTemplates::find(UiGoToDialog::templateId));
        dialog = std::make_unique<UiGoToDialog>(*host);
        dialog->maximum = 32;
        dialog->measure = 1;
        dialog->onEnd([this](bool confirmed) { ended = confirmed ? 1 : 2; });
        dialog->initDialog();
        return *dialog;
    }

    FakeMessageBoxes boxes;
    std::unique_ptr<UiMemoryControlHost> host;
    std::unique_ptr<UiGoToDialog> dialog;
    int ended = 0;
};

TEST_F(GoToDialogTest, TheLabelNamesTheLastMeasureAndTheEditStartsAtOne)
{
    open();
    EXPECT_EQ("Measure number (1 - 32):", host->text(UiGoToDialog::labelId));
    EXPECT_EQ("1", host->text(UiGoToDialog::measureEdit));
    EXPECT_EQ(UiGoToDialog::measureEdit, host->focused());
}

TEST_F(GoToDialogTest, OnlyANumberFromOneToTheLastMeasureEndsTheDialog)
{
    struct Case { const char* typed; int ended; int measure; std::string message; };
    const Case cases[] = {
        {"17", 1, 17, ""},
        {"32", 1, 32, ""},
        {"1", 1, 1, ""},
        {"0", 0, 1, UiDataExchange::outOfRange(1, 32)},
        {"33", 0, 1, UiDataExchange::outOfRange(1, 32)},
        {"-4", 0, 1, UiDataExchange::outOfRange(1, 32)},
        {"twelve", 0, 1, UiDataExchange::notAnInteger()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        open();
        boxes.texts.clear();
        ended = 0;
        host->type(UiGoToDialog::measureEdit, c.typed);
        host->click(1);
        EXPECT_EQ(c.ended, ended);
        if (c.ended) {
            EXPECT_EQ(c.measure, dialog->measure);
        }
        if (c.message.empty()) {
            EXPECT_TRUE(boxes.texts.empty());
        } else {
            ASSERT_EQ(1u, boxes.texts.size());
            EXPECT_EQ(c.message, boxes.texts[0]);
            EXPECT_EQ(UiGoToDialog::measureEdit, host->focused());
        }
    }
    // Cancel ends it whatever the edit holds.
    open();
    host->type(UiGoToDialog::measureEdit, "99");
    host->click(2);
    EXPECT_EQ(2, ended);
}

}  // namespace
