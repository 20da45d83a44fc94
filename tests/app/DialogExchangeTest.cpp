#include "ShellFixture.h"

#include "app/UiDataExchange.h"
#include "app/UiDialogTemplates.h"
#include "app/UiMemoryControlHost.h"
#include "app/UiTexts.h"
#include "app/UiWxControlHost.h"

#include <wx/dialog.h>
#include <wx/slider.h>
#include <wx/textctrl.h>

#include <cstring>

namespace {

using K = UiControlKind;

// One control of every kind that the exchange knows.
const UiControlTemplate controls[] = {
    {10, K::edit, 0, 0, 40, 12, nullptr, 0},
    {11, K::edit, 0, 14, 40, 12, nullptr, 0},
    {12, K::edit, 0, 28, 40, 12, nullptr, 0},
    {13, K::threeStateCheck, 0, 42, 40, 10, "Three", 0},
    {20, K::radio, 0, 54, 40, 10, "A", uiGroup},
    {21, K::radio, 0, 66, 40, 10, "B", 0},
    {22, K::radio, 0, 78, 40, 10, "C", 0},
    {30, K::radio, 50, 54, 40, 10, "X", uiGroup},
    {31, K::radio, 50, 66, 40, 10, "Y", 0},
    {40, K::dropList, 50, 0, 40, 40, nullptr, 0},
    {41, K::slider, 50, 14, 40, 12, nullptr, 0},
    {42, K::edit, 50, 28, 30, 12, nullptr, 0},
    {43, K::upDown, 80, 28, 10, 12, nullptr, 0},
    {50, K::button, 0, 90, 40, 14, "Go", 0},
};
const UiDialogTemplate sample = {900, 100, 110, "Sample", controls, int(sizeof controls / sizeof controls[0])};

struct Fields
{
    std::string name;
    int signedNumber = 0;
    int unsignedNumber = 0;
    int three = 0;
    int letter = -1;
    int axis = -1;
    int item = -1;
    int slider = 0;
};

// Exchanges every field in the order a dialog would, with a range on the
// unsigned number.
bool exchange(UiControlHost& host, bool fromControls, Fields& f)
{
    UiDataExchange dx(host, fromControls);
    dx.text(10, f.name);
    dx.integer(11, f.signedNumber);
    dx.unsignedInteger(12, f.unsignedNumber);
    dx.range(12, f.unsignedNumber, 0, 50);
    dx.check(13, f.three);
    dx.radio(20, f.letter);
    dx.radio(30, f.axis);
    dx.listIndex(40, f.item);
    dx.slider(41, f.slider);
    return dx.ok();
}

// Both hosts are driven through the same steps.
void roundTrip(UiControlHost& host)
{
    host.setItems(40, {"one", "two", "three"});
    host.setRange(41, 0, 20);
    Fields out;
    out.name = "Caf\xC3\xA9";
    out.signedNumber = -12;
    out.unsignedNumber = 42;
    out.three = 2;
    out.letter = 2;
    out.axis = -1;
    out.item = 1;
    out.slider = 17;
    ASSERT_TRUE(exchange(host, false, out));
    EXPECT_EQ(host.text(11), "-12");
    EXPECT_EQ(host.radioIndex(30), -1);

    Fields in;
    in.axis = 5;
    ASSERT_TRUE(exchange(host, true, in));
    EXPECT_EQ(in.name, out.name);
    EXPECT_EQ(in.signedNumber, -12);
    EXPECT_EQ(in.unsignedNumber, 42);
    EXPECT_EQ(in.three, 2);
    EXPECT_EQ(in.letter, 2);
    EXPECT_EQ(in.axis, -1);
    EXPECT_EQ(in.item, 1);
    EXPECT_EQ(in.slider, 17);

    // Out of range indexes choose nothing.
    out.letter = 7;
    out.item = 9;
    ASSERT_TRUE(exchange(host, false, out));
    ASSERT_TRUE(exchange(host, true, in));
    EXPECT_EQ(in.letter, -1);
    EXPECT_EQ(in.item, -1);
}

class DialogExchangeTest : public ShellTest
{
};

}

TEST_F(DialogExchangeTest, everyKindGoesBothWaysInMemoryAndOnToolkitControls)
{
    UiMemoryControlHost memory(sample);
    roundTrip(memory);

    wxDialog window(nullptr, wxID_ANY, "Sample");
    UiWxControlHost toolkit(&window, sample);
    roundTrip(toolkit);
}

TEST_F(DialogExchangeTest, aLimitedEditRefusesKeystrokesPastItsLengthButNotTheDialogsText)
{
    UiMemoryControlHost memory(sample);
    int told = 0;
    memory.setHandler([&](int, UiControlHost::Notification) { ++told; });
    memory.setTextLimit(10, 2);
    memory.type(10, "123");
    EXPECT_EQ(memory.text(10), "12");
    EXPECT_EQ(told, 2);
    memory.type(10, "\xC3\xA9t\xC3\xA9");  // characters, not bytes
    EXPECT_EQ(memory.text(10), "\xC3\xA9t");
    memory.setText(10, "12345");
    EXPECT_EQ(memory.text(10), "12345");
    memory.setTextLimit(10, 0);
    memory.type(10, "12345");
    EXPECT_EQ(memory.text(10), "12345");

    // The toolkit's edit swallows a typed character past the limit unless
    // it replaces a selection; keys with modifiers and control keys pass.
    wxDialog window(nullptr, wxID_ANY, "Sample");
    UiWxControlHost toolkit(&window, sample);
    toolkit.setTextLimit(10, 2);
    auto* edit = static_cast<wxTextCtrl*>(toolkit.window(10));
    auto swallowed = [&](int key, int modifiers) {
        wxKeyEvent event(wxEVT_CHAR);
        event.SetEventObject(edit);
        event.m_keyCode = key;
        event.m_uniChar = key;
        event.m_controlDown = modifiers != 0;
        return edit->GetEventHandler()->ProcessEvent(event);
    };
    toolkit.setText(10, "1");
    EXPECT_FALSE(swallowed('2', 0));
    toolkit.setText(10, "12");
    EXPECT_TRUE(swallowed('3', 0));
    EXPECT_FALSE(swallowed(WXK_BACK, 0));
    EXPECT_FALSE(swallowed('a', 1));
    edit->SetSelection(1, 2);
    EXPECT_FALSE(swallowed('3', 0));
    toolkit.setText(10, "12345");
    EXPECT_EQ(toolkit.text(10), "12345");
    toolkit.setTextLimit(10, 0);
    EXPECT_FALSE(swallowed('6', 0));
    toolkit.setRange(41, 50, 150);
    toolkit.setSteps(41, 1, 10);
    toolkit.setTicks(41, {100});
    auto* slider = static_cast<wxSlider*>(toolkit.window(41));
    EXPECT_EQ(slider->GetLineSize(), 1);
    EXPECT_EQ(slider->GetPageSize(), 10);
}

TEST_F(DialogExchangeTest, aBadFieldStopsTheTransferThereWithOneMessage)
{
    struct Case
    {
        const char* signedText;
        const char* unsignedText;
        int failedAt;
        std::string message;
    };
    const Case cases[] = {
        {"12x", "5", 11, UiDataExchange::notAnInteger()},
        {"", "5", 11, UiDataExchange::notAnInteger()},
        {"99999999999", "5", 11, UiDataExchange::notAnInteger()},
        {" +7 ", "-1", 12, UiDataExchange::notUnsigned()},
        {"7", "51", 12, UiDataExchange::outOfRange(0, 50)},
        {"7", " 50 ", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.signedText) + " / " + c.unsignedText);
        UiMemoryControlHost host(sample);
        host.setItems(40, {"one"});
        host.setText(11, c.signedText);
        host.setText(12, c.unsignedText);
        host.setCheck(13, 1);
        host.setRadioIndex(20, 1);
        boxes.texts.clear();
        Fields f;
        f.signedNumber = 3;
        f.unsignedNumber = 4;
        bool ok = exchange(host, true, f);
        EXPECT_EQ(ok, c.failedAt == 0);
        if (c.failedAt == 0) {
            EXPECT_TRUE(boxes.texts.empty());
            EXPECT_EQ(f.unsignedNumber, 50);
            continue;
        }
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(boxes.texts[0], c.message);
        EXPECT_EQ(host.focused(), c.failedAt);
        // Fields after the failure keep their values.
        EXPECT_EQ(f.three, 0);
        EXPECT_EQ(f.letter, -1);
        if (c.failedAt == 11) {
            EXPECT_EQ(f.signedNumber, 3);
        }
    }
    EXPECT_EQ(UiDataExchange::outOfRange(1, 10), "Please enter an integer between 1 and 10.");
}

TEST_F(DialogExchangeTest, theUserIsHeardButTransfersNotifyNothing)
{
    UiMemoryControlHost host(sample);
    host.setItems(40, {"one", "two"});
    host.setRange(41, 0, 10);
    host.setRange(43, 1, 10);
    std::vector<std::pair<int, UiControlHost::Notification>> heard;
    host.setHandler([&](int id, UiControlHost::Notification what) {
        heard.push_back({id, what});
        // A handler that exchanges from within must not hear itself.
        Fields f;
        exchange(host, false, f);
    });

    host.type(10, "abc");
    EXPECT_EQ(heard.size(), 3u);  // one per keystroke; the field was empty
    EXPECT_EQ(host.text(10), "");  // the handler's transfer wrote the empty name
    heard.clear();

    host.setHandler([&](int id, UiControlHost::Notification what) { heard.push_back({id, what}); });
    host.click(13);
    host.click(13);
    EXPECT_EQ(host.check(13), 2);
    host.click(21);
    EXPECT_EQ(host.radioIndex(20), 1);
    host.click(22);
    EXPECT_EQ(host.radioIndex(20), 2);
    EXPECT_EQ(host.radioIndex(30), -1);  // the other group is untouched
    host.choose(40, 1);
    host.moveSlider(41, 30);
    EXPECT_EQ(host.position(41), 10);
    host.setText(42, "9");
    host.clickUpDown(43, 1);
    host.clickUpDown(43, 1);
    EXPECT_EQ(host.text(42), "10");
    host.setText(42, "abc");
    host.clickUpDown(43, -1);
    EXPECT_EQ(host.text(42), "1");
    using N = UiControlHost::Notification;
    const std::vector<std::pair<int, N>> expected = {
        {13, N::clicked}, {13, N::clicked}, {21, N::clicked}, {22, N::clicked}, {40, N::selectionChanged},
        {41, N::scrolled}, {42, N::textChanged}, {43, N::scrolled}, {42, N::textChanged}, {43, N::scrolled},
        {42, N::textChanged}, {43, N::scrolled},
    };
    EXPECT_EQ(heard, expected);

    heard.clear();
    Fields f;
    f.name = "quiet";
    f.letter = 0;
    f.item = 0;
    exchange(host, false, f);
    exchange(host, true, f);
    EXPECT_TRUE(heard.empty());

    // A disabled control does not hear the user.
    host.enable(50, false);
    host.click(50);
    EXPECT_TRUE(heard.empty());
}

TEST_F(DialogExchangeTest, templateTextsReachTheTranslations)
{
    EXPECT_STREQ(UiTexts::dialogText("dialog 117"), "Quorvane Options");
    EXPECT_STREQ(UiTexts::dialogText("dialog 117 1085"), "Auto-save every");
    const UiDialogTemplate* options = UiDialogTemplates::find(117);
    ASSERT_NE(options, nullptr);
    int ids[8];
    ASSERT_EQ(options->radioGroup(1000, ids, 8), 4);
    EXPECT_EQ(ids[3], 1255);
    EXPECT_EQ(options->radioGroup(1256, ids, 8), 2);
    EXPECT_EQ(options->buddyOf(1343), 1258);
}
