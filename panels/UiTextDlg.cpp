#include "panels/UiTextDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnText.h"

namespace {

enum Control
{
    fontList = 1093,
    heightEdit = 1088,
    heightUpDown = 1101,
    boldCheck = 1097,
    italicCheck = 1098,
    underlineCheck = 1099,
};

constexpr int boldBit = 1;
constexpr int italicBit = 2;
constexpr int stylesPerFamily = 4;
// Two digits, as the up-down's 1..99.
constexpr int heightDigits = 2;
constexpr int lowestHeight = 1;
constexpr int highestHeight = 99;

const UiAnchorSpec pageAnchors[] = {
    {1095, UiAnchorSpec::sizeX, 100},
    {1093, UiAnchorSpec::sizeX, 100},
    {1096, UiAnchorSpec::moveX, 11},
    {1088, UiAnchorSpec::moveX, 37},
    {1088, UiAnchorSpec::sizeX, 16},
    {1101, UiAnchorSpec::moveX, 53},
    {1097, UiAnchorSpec::moveX, 11},
    {1098, UiAnchorSpec::moveX, 37},
    {1099, UiAnchorSpec::moveX, 63},
};

void setStyleBit(MnText& text, int bit, int state)
{
    if (state == 2)
        return;
    int style = state == 1 ? text.font() | bit : text.font() & ~bit;
    if (style != text.font())
        text.setFont(style);
}

}

const char* const UiTextDlg::families[3] = {"Times New Roman", "Arial", "Courier New"};

BcString UiTextDlg::title() const
{
    return BcStringResources::current().loadString(10030);
}

const BcClass* UiTextDlg::elementClass() const
{
    return MnText::staticClass();
}

void UiTextDlg::setupAnchors()
{
    addAnchors(pageAnchors, int(sizeof pageAnchors / sizeof pageAnchors[0]));
}

void UiTextDlg::initDialog()
{
    host().setItems(fontList, {families[0], families[1], families[2]});
    host().setSelection(fontList, 0);
    host().setTextLimit(heightEdit, 2);
    host().setRange(heightUpDown, lowestHeight, highestHeight);
}

bool UiTextDlg::loadElement(MnElement* element, bool merge)
{
    MnText* text = static_cast<MnText*>(element);
    int style = text->font();
    int family = style / stylesPerFamily;
    int boldValue = style & boldBit ? 1 : 0;
    int italicValue = style & italicBit ? 1 : 0;
    int underlineValue = text->isUnderlined() ? 1 : 0;
    int points = int(text->size());
    if (!merge) {
        font = family;
        bold = boldValue;
        italic = italicValue;
        underline = underlineValue;
        height = points;
        heightMixed = false;
        return true;
    }
    mergeChoice(font, family);
    mergeCheck(bold, boldValue);
    mergeCheck(italic, italicValue);
    mergeCheck(underline, underlineValue);
    if (points != height)
        heightMixed = true;
    return true;
}

bool UiTextDlg::applyToElement(MnElement* element)
{
    // Each setter lays the text out again when its value changed.
    MnText* text = static_cast<MnText*>(element);
    if (font >= 0 && font < 3)
        text->setFont(font * stylesPerFamily + text->font() % stylesPerFamily);
    setStyleBit(*text, boldBit, bold);
    setStyleBit(*text, italicBit, italic);
    if (underline != 2)
        text->setUnderline(underline == 1);
    // A text of no size cannot be seen or picked: 0 is not stored. The page
    // shows whole points; a size it shows unchanged keeps its fraction.
    if (!heightMixed && height >= lowestHeight && height <= highestHeight && height != int(text->size()))
        text->setSize(double(height));
    return true;
}

void UiTextDlg::exchange(UiDataExchange& dx)
{
    dx.listIndex(fontList, font);
    dx.check(boldCheck, bold);
    dx.check(italicCheck, italic);
    dx.check(underlineCheck, underline);
    exchangeNumber(dx, heightEdit, height, heightMixed);
}

void UiTextDlg::notified(int controlId, UiControlHost::Notification what)
{
    switch (controlId) {
    case fontList:
        if (what == UiControlHost::selectionChanged)
            onControlChange();
        break;
    case boldCheck:
    case italicCheck:
    case underlineCheck:
        if (what == UiControlHost::clicked) {
            int& member = controlId == boldCheck ? bold : controlId == italicCheck ? italic : underline;
            member = toggled(member);
            updateData(false);
            apply(true);
        }
        break;
    case heightEdit:
        if (what == UiControlHost::textChanged) {
            std::string digits = digitsOnly(heightEdit);
            if (digits.size() > size_t(heightDigits))
                host().setText(heightEdit, digits.substr(0, heightDigits));
            numberTyped(heightEdit, heightMixed);
        }
        break;
    default:
        break;
    }
}
