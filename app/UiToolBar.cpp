#include "app/UiToolBar.h"

#include "app/Quorvane.h"
#include "app/UiImages.h"
#include "app/UiLook.h"
#include "app/UiMenus.h"
#include "app/UiTexts.h"
#include "commands/EdNoteInputCommands.h"
#include "editing/EdContext.h"
#include "platform/gui/UiScale.h"
#include "playback/MpPlayer.h"

#include <wx/dcmemory.h>
#include <wx/spinctrl.h>

#include <algorithm>

const unsigned UiToolBar::buttons[buttonCount] = {
    57600, 57601, 57603, 57607, 0,     57635, 57634, 57637, 0,     57643, 57644, 0,     32819, 32817, 32818,
    33095, 0,     32789, 32790, 32791, 32792, 32809, 32810, 32811, 0,     32833, 32813, 32851, 0,     32852,
    33082, 0,     32839, 32893, 32854, 32932, 33092, 0,     32816, 32830, 32786, 0,     32878,
};

namespace {

UiToolBar::TempoSink& tempoSink()
{
    static UiToolBar::TempoSink sink;
    return sink;
}

// The short name of a command: its string's text after the last line
// feed, else its item of the document menu without the mnemonic mark.
wxString shortName(Quorvane& app, unsigned id)
{
    if (const wchar_t* text = app.loadString(id))
        return wxString(text).AfterLast('\n');
    for (const UiMenuItem* item = UiTexts::menu(130); item && item->kind != UiMenuItem::menuEnd; ++item) {
        if (item->id != id || !item->text)
            continue;
        char context[64];
        UiTexts::menuContext(*item, context, sizeof context);
        wxString label = app.shellText(context, item->text);
        label.Replace("&&", "\x01");
        label.Replace("&", "");
        label.Replace("\x01", "&");
        return label;
    }
    return wxString();
}

// The picture of a button: its square of the strip, the strip holding one
// per button that is not a separator, in order. A missing strip gives an
// empty picture of the size.
wxBitmap buttonImage(const wxImage& strip, int slot, int size)
{
    if (strip.IsOk() && strip.GetHeight() >= size && (slot + 1) * size <= strip.GetWidth())
        return wxBitmap(strip.GetSubImage(wxRect(slot * size, 0, size, size)));
    wxImage empty(size, size);
    empty.InitAlpha();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            empty.SetAlpha(x, y, 0);
    return wxBitmap(empty);
}

}

// The toolbar's tempo box as the application reads and writes it.
class UiToolBar::TempoBox : public UiTempoBox
{
public:
    explicit TempoBox(UiToolBar& bar) : bar(bar) {}
    const char* text() const override
    {
        held = bar.tempo->GetTextValue().utf8_string();
        return held.c_str();
    }
    // wxWidgets sends no change for a value set from code: the player
    // gets it here instead.
    void setText(const char* text) override
    {
        bar.tempo->SetValue(wxString::FromUTF8(text));
        bar.copyTempo();
    }

private:
    UiToolBar& bar;
    mutable std::string held;
};

int UiToolBar::imageSize(int iconWidth)
{
    int b = 3 * iconWidth / 4;
    return b < 28 ? 24 : b < 40 ? 32 : b;
}

int UiToolBar::systemIconWidth()
{
    return UiScale::pixels(32);
}

bool UiToolBar::takesRightClick(int index)
{
    return index == 7 || index == 12 || index == 13 || (index >= 17 && index <= 23) ||
           (index >= 33 && index <= 35) || index == playIndex;
}

UiToolBar::UiToolBar(wxWindow* parent, Quorvane& app)
    : wxAuiToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                   wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_GRIPPER | wxAUI_TB_HORZ_LAYOUT),
      app(app)
{
    SetName(wxString(app.loadString(124) ? app.loadString(124) : L"Standard"));
    SetArtProvider(new UiToolBarArt);
    int size = imageSize(systemIconWidth());
    SetToolBitmapSize(wxSize(size, size));
    SetToolBorderPadding((buttonSize(size) - size) / 2);
    addButtons(size);
    Realize();
    SetMinSize(wxSize(-1, barHeight(size)));

    Bind(wxEVT_RIGHT_DOWN, &UiToolBar::onRightDown, this);
    Bind(wxEVT_RIGHT_UP, &UiToolBar::onRightUp, this);
    Bind(wxEVT_LEFT_DOWN, &UiToolBar::onLeft, this);
    Bind(wxEVT_LEFT_UP, &UiToolBar::onLeft, this);
}

UiToolBar::~UiToolBar()
{
    app.setTempoBox(nullptr);
    delete box;
}

void UiToolBar::addButtons(int size)
{
    wxBitmap picture = UiImages::bitmap(stripFor(size));
    wxImage strip = picture.IsOk() ? picture.ConvertToImage() : wxImage();
    int slot = 0;
    for (int i = 0; i < buttonCount; ++i) {
        unsigned id = buttons[i];
        if (!id) {
            AddSeparator();
            continue;
        }
        wxBitmap image = buttonImage(strip, slot++, size);
        if (i == tempoIndex) {
            tempo = new wxSpinCtrl(this, UiMenus::itemId(id), "80", wxDefaultPosition, wxDefaultSize,
                                   wxSP_ARROW_KEYS, UiNoteInput::slowestTempo, UiNoteInput::fastestTempo,
                                   UiNoteInput::tempoWithoutBox);
            // The toolkit's spin box has its buttons beside the text and
            // cannot be narrower than they need.
            tempo->SetMinSize(wxSize(std::max(UiScale::pixels(52), tempo->GetBestSize().x), -1));
            tempo->SetSize(tempo->GetMinSize().x, -1);
            tempo->Bind(wxEVT_TEXT, &UiToolBar::onTempoText, this);
            AddControl(tempo);
            continue;
        }
        wxString name = shortName(app, id);
        AddTool(UiMenus::itemId(id), name, image, name);
    }
    box = new TempoBox(*this);
    app.setTempoBox(box);
}

int UiToolBar::indexAt(const wxPoint& point) const
{
    wxAuiToolBarItem* item = FindToolByPosition(point.x, point.y);
    if (!item)
        return -1;
    for (size_t i = 0; i < GetToolCount(); ++i)
        if (FindToolByIndex(int(i)) == item)
            return int(i);
    return -1;
}

void UiToolBar::setTempoSink(TempoSink sink)
{
    tempoSink() = std::move(sink);
}

void UiToolBar::copyTempo()
{
    if (!created)
        return;
    int beatsPerMinute = app.toolbarTempo();
    if (tempoSink()) {
        tempoSink()(beatsPerMinute);
        return;
    }
    // The player is in the context only while it is open.
    if (MpPlayer* player = app.playback())
        player->setPlaybackTempo(beatsPerMinute);
}

void UiToolBar::onTempoText(wxCommandEvent& event)
{
    event.Skip();
    copyTempo();
}

void UiToolBar::passOn(wxMouseEvent& event, wxEventType type)
{
    wxMouseEvent copy(event);
    copy.SetEventType(type);
    copy.m_leftDown = type == wxEVT_LEFT_DOWN;
    copy.m_rightDown = false;
    // Past our own left-button handler, straight to the bar's.
    bool wasDown = rightButtonDown;
    rightButtonDown = false;
    GetEventHandler()->ProcessEvent(copy);
    rightButtonDown = wasDown;
}

void UiToolBar::onRightDown(wxMouseEvent& event)
{
    int index = indexAt(event.GetPosition());
    if (!takesRightClick(index)) {
        event.Skip();
        return;
    }
    if (!rightButtonDown)
        passOn(event, wxEVT_LEFT_DOWN);
    rightButtonDown = true;
}

void UiToolBar::onRightUp(wxMouseEvent& event)
{
    if (!rightButtonDown) {
        event.Skip();
        return;
    }
    rightButtonDown = false;
    int index = indexAt(event.GetPosition());
    if (clearsOnRightRelease(index))
        EdNoteInputCommands::cmdClearInput();
    else if (index == playIndex)
        EdContext::current().pauseToggleRequest() = true;
    passOn(event, wxEVT_LEFT_UP);
}

void UiToolBar::onLeft(wxMouseEvent& event)
{
    // A right click in progress owns the button.
    if (!rightButtonDown)
        event.Skip();
}
