#include "app/UiStatusBar.h"

#include "app/Quorvane.h"
#include "app/UiCommandStates.h"
#include "app/UiLook.h"
#include "app/UiMainFrame.h"
#include "app/UiMenus.h"
#include "app/UiMidi.h"
#include "platform/gui/UiScale.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

namespace {

constexpr int paneGap = 2;

wxString toWx(const std::wstring& text)
{
    return wxString(text.c_str());
}

}

UiStatusBar::UiStatusBar(UiMainFrame* frame, Quorvane& app)
    : wxStatusBar(frame, wxID_ANY, wxSTB_SHOW_TIPS | wxFULL_REPAINT_ON_RESIZE), frame(frame), app(app)
{
    SetFieldsCount(1);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    states[UiStatusPanes::turn].text = L"\tTURN";
    if (const wchar_t* turn = app.loadString(10055))
        states[UiStatusPanes::turn].text = turn;
    Bind(wxEVT_PAINT, &UiStatusBar::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, &UiStatusBar::onClick, this);
    Bind(wxEVT_RIGHT_DOWN, &UiStatusBar::onClick, this);
    Bind(wxEVT_MOUSEWHEEL, &UiStatusBar::onWheel, this);
    Bind(wxEVT_MOTION, &UiStatusBar::onMotion, this);
    Bind(wxEVT_SIZE, &UiStatusBar::onSize, this);
}

void UiStatusBar::paneRects(UiStatusPanes::Rect rects[UiStatusPanes::paneCount]) const
{
    wxSize size = GetClientSize();
    UiStatusPanes::layout(size.x, size.y, UiScale::s(), paneGap, rects);
}

void UiStatusBar::refresh()
{
    UiStatusPanes::Inputs inputs;
    inputs.commands = UiCommandStates::inputs(frame);
    EdContext& context = EdContext::current();
    inputs.keyboardOctave = context.noteInput().keyboardOctave;
    inputs.keyboardTranspose = context.noteInput().keyboardTranspose;
    if (UiMidi* midi = app.editingContext().midiService()) {
        const BcString& name = midi->input().deviceName();
        inputs.midiDeviceName = wxString::FromUTF8(name.toNarrow(BcString::utf8CodePage)).ToStdWstring();
    }
    inputs.savedVolume = inputs.commands.playerOpen ? context.playerSavedVolume() : 0;
    inputs.cursorText = UiStatusPanes::cursorText(context.activeDocument(), context.activeView());

    UiStatusPanes::State next[UiStatusPanes::paneCount];
    UiStatusPanes::states(inputs, next);
    bool changed = false;
    for (int i = 0; i < UiStatusPanes::paneCount; ++i) {
        if (next[i].keepText)
            next[i].text = states[i].text;
        if (next[i].text != states[i].text || next[i].enabled != states[i].enabled ||
            next[i].highlighted != states[i].highlighted)
            changed = true;
        states[i] = next[i];
    }
    if (changed)
        Refresh(false);
}

void UiStatusBar::OnInternalIdle()
{
    wxStatusBar::OnInternalIdle();
    if (IsShown())
        refresh();
}

void UiStatusBar::onPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    draw(dc);
}

void UiStatusBar::draw(wxDC& dc)
{
    wxColour background = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
    wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT);
    wxColour greyed = wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
    dc.SetBackground(wxBrush(background));
    dc.Clear();
    dc.SetFont(GetFont());
    UiStatusPanes::Rect rects[UiStatusPanes::paneCount];
    paneRects(rects);
    for (int i = 0; i < UiStatusPanes::paneCount; ++i) {
        const UiStatusPanes::Rect& r = rects[i];
        if (r.isEmpty())
            continue;
        wxRect area(r.x, r.y, r.width, r.height);
        const UiStatusPanes::State& state = states[i];
        int style = UiStatusPanes::definition(i).style;
        if (state.highlighted) {
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.SetBrush(wxBrush(UiLook::highlightFill()));
            dc.DrawRectangle(area);
        }
        if (!(style & UiStatusPanes::noBorders)) {
            // Sunken, or raised for a pop-out pane.
            bool raised = (style & UiStatusPanes::popOut) != 0;
            dc.SetPen(wxPen(raised ? light : shadow));
            dc.DrawLine(area.GetLeft(), area.GetTop(), area.GetRight(), area.GetTop());
            dc.DrawLine(area.GetLeft(), area.GetTop(), area.GetLeft(), area.GetBottom());
            dc.SetPen(wxPen(raised ? shadow : light));
            dc.DrawLine(area.GetLeft(), area.GetBottom(), area.GetRight() + 1, area.GetBottom());
            dc.DrawLine(area.GetRight(), area.GetTop(), area.GetRight(), area.GetBottom());
            area.Deflate(2, 1);
        }
        if (state.highlighted) {
            dc.SetPen(wxPen(UiLook::highlightFrame()));
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(area);
        }
        if (state.text.empty())
            continue;
        dc.SetTextForeground(state.enabled ? text : greyed);
        bool centred = UiStatusPanes::isCentred(state.text);
        wxString label = toWx(centred ? state.text.substr(1) : state.text);
        label.Replace("\t", " ");
        dc.SetClippingRegion(area);
        dc.DrawLabel(label, area, (centred ? wxALIGN_CENTER_HORIZONTAL : wxALIGN_LEFT) | wxALIGN_CENTER_VERTICAL);
        dc.DestroyClippingRegion();
    }
}

void UiStatusBar::onClick(wxMouseEvent& event)
{
    UiStatusPanes::Rect rects[UiStatusPanes::paneCount];
    paneRects(rects);
    int pane = UiStatusPanes::clickedPane(rects, event.GetX(), event.GetY());
    UiStatusPanes::Click click = UiStatusPanes::clickOn(pane);
    EdContext::Toggles& toggles = EdContext::current().toggles();
    switch (click.action) {
    case UiStatusPanes::postCommand: {
        wxCommandEvent command(wxEVT_MENU, UiMenus::itemId(click.command));
        command.SetEventObject(this);
        wxPostEvent(this, command);
        break;
    }
    case UiStatusPanes::toggleSnap: toggles.snapGuideLines = !toggles.snapGuideLines; break;
    case UiStatusPanes::toggleOrtho: toggles.orthoMode = !toggles.orthoMode; break;
    case UiStatusPanes::nothing: break;
    }
    UiCommandStates::invalidate();
}

void UiStatusBar::onWheel(wxMouseEvent& event)
{
    UiStatusPanes::Rect rects[UiStatusPanes::paneCount];
    paneRects(rects);
    int pane = rects[UiStatusPanes::volume].contains(event.GetX(), event.GetY()) ? int(UiStatusPanes::volume) : -1;
    unsigned command =
        UiStatusPanes::wheelCommand(pane, EdContext::current().playerIsOpen(), event.GetWheelRotation());
    if (!command) {
        event.Skip();
        return;
    }
    wxCommandEvent post(wxEVT_MENU, UiMenus::itemId(command));
    post.SetEventObject(this);
    wxPostEvent(this, post);
}

void UiStatusBar::onMotion(wxMouseEvent& event)
{
    event.Skip();
    UiStatusPanes::Rect rects[UiStatusPanes::paneCount];
    paneRects(rects);
    int pane = -1;
    for (int i = 0; i < UiStatusPanes::paneCount; ++i)
        if (rects[i].contains(event.GetX(), event.GetY()))
            pane = i;
    if (pane == tipPane)
        return;
    tipPane = pane;
    unsigned tip = pane >= 0 ? UiStatusPanes::definition(pane).tipString : 0;
    const wchar_t* text = tip ? app.loadString(tip) : nullptr;
    if (text)
        SetToolTip(wxString(text));
    else
        UnsetToolTip();
}

void UiStatusBar::onSize(wxSizeEvent& event)
{
    event.Skip();
    Refresh(false);
}
