#include "app/UiWxControlHost.h"

#include "app/UiBitmapComboBox.h"
#include "app/UiColorCtrl.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include <algorithm>

namespace {

// The spin button's own value stays in the middle of a wide range, so it
// never stops at an end: the number lives in the buddy.
constexpr int spinMiddle = 0;
constexpr int spinReach = 1 << 20;

}

UiWxControlHost::UiWxControlHost(wxWindow* parent, const UiDialogTemplate& dialogTemplate, Translate translate)
    : UiControlHost(dialogTemplate)
{
    for (int i = 0; i < dialogTemplate.controlCount; ++i)
        create(parent, i, translate);
}

int UiWxControlHost::toolkitId(int id)
{
    return id == 1 ? wxID_OK : id == 2 ? wxID_CANCEL : id == 0 ? wxID_ANY : id;
}

void UiWxControlHost::create(wxWindow* parent, int index, Translate translate)
{
    const UiDialogTemplate& t = dialogTemplate();
    const UiControlTemplate& c = t.controls[index];
    wxPoint at = parent->ConvertDialogToPixels(wxPoint(c.x, c.y));
    wxSize size = parent->ConvertDialogToPixels(wxSize(c.width, c.height));
    wxString label;
    if (c.text) {
        char context[64];
        t.context(index, context, sizeof context);
        label = translate ? translate(context, c.text) : wxString::FromUTF8(c.text);
    }
    const int wxId = toolkitId(c.id);
    const int id = c.id;
    wxWindow* made = nullptr;
    switch (c.kind) {
    case UiControlKind::label:
        made = new wxStaticText(parent, wxId, label, at, size, c.style & uiRightAlign ? wxALIGN_RIGHT : 0);
        break;
    case UiControlKind::groupBox:
        made = new wxStaticBox(parent, wxId, label, at, size);
        break;
    case UiControlKind::edit: {
        long style = c.style & uiMultiLine ? wxTE_MULTILINE : 0;
        auto* edit = new wxTextCtrl(parent, wxId, wxEmptyString, at, size, style);
        edit->Bind(wxEVT_TEXT, [this, id](wxCommandEvent&) { notify(id, textChanged); });
        made = edit;
        break;
    }
    case UiControlKind::button:
    case UiControlKind::defaultButton: {
        auto* button = new wxButton(parent, wxId, label, at, size);
        if (c.kind == UiControlKind::defaultButton)
            button->SetDefault();
        button->Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { notify(id, clicked); });
        made = button;
        break;
    }
    case UiControlKind::checkBox:
    case UiControlKind::threeStateCheck: {
        long style = c.kind == UiControlKind::threeStateCheck ? wxCHK_3STATE | wxCHK_ALLOW_3RD_STATE_FOR_USER : 0;
        auto* box = new wxCheckBox(parent, wxId, label, at, size, style);
        box->Bind(wxEVT_CHECKBOX, [this, id](wxCommandEvent&) { notify(id, clicked); });
        made = box;
        break;
    }
    case UiControlKind::pushCheck: {
        auto* toggle = new wxToggleButton(parent, wxId, label, at, size);
        toggle->Bind(wxEVT_TOGGLEBUTTON, [this, id](wxCommandEvent&) { notify(id, clicked); });
        made = toggle;
        break;
    }
    case UiControlKind::radio: {
        if (c.style & uiGroup || index == 0 || t.controls[index - 1].kind != UiControlKind::radio) {
            auto* none = new wxRadioButton(parent, wxID_ANY, wxEmptyString, at, wxSize(0, 0), wxRB_GROUP);
            none->Hide();
            none->SetValue(true);
            noneRadios[id] = none;
        }
        auto* radio = new wxRadioButton(parent, wxId, label, at, size);
        radio->Bind(wxEVT_RADIOBUTTON, [this, id](wxCommandEvent&) { notify(id, clicked); });
        made = radio;
        break;
    }
    case UiControlKind::dropList: {
        // The template's height is that of the open list; the closed box
        // takes the toolkit's own height.
        auto* choice = new wxChoice(parent, wxId, at, wxSize(size.x, -1));
        choice->Bind(wxEVT_CHOICE, [this, id](wxCommandEvent&) { notify(id, selectionChanged); });
        made = choice;
        break;
    }
    case UiControlKind::pictureList: {
        auto* combo = new UiBitmapComboBox(parent, wxId, at, wxSize(size.x, -1));
        combo->Bind(wxEVT_COMBOBOX, [this, id](wxCommandEvent&) { notify(id, selectionChanged); });
        made = combo;
        break;
    }
    case UiControlKind::listBox: {
        auto* list = new wxListBox(parent, wxId, at, size);
        list->Bind(wxEVT_LISTBOX, [this, id](wxCommandEvent&) { notify(id, selectionChanged); });
        made = list;
        break;
    }
    case UiControlKind::slider: {
        auto* slider = new wxSlider(parent, wxId, 0, 0, 100, at, size);
        slider->Bind(wxEVT_SLIDER, [this, id](wxCommandEvent&) { notify(id, scrolled); });
        made = slider;
        break;
    }
    case UiControlKind::upDown: {
        auto* spin = new wxSpinButton(parent, wxId, at, size, wxSP_VERTICAL);
        spin->SetRange(spinMiddle - spinReach, spinMiddle + spinReach);
        spin->SetValue(spinMiddle);
        spin->Bind(wxEVT_SPIN, [this, id, spin](wxSpinEvent&) {
            int delta = spin->GetValue() - spinMiddle;
            spin->SetValue(spinMiddle);
            if (delta != 0)
                stepUpDown(id, delta > 0 ? 1 : -1);
        });
        ranges[id] = Range();
        made = spin;
        break;
    }
    case UiControlKind::swatch: {
        auto* swatch = new UiColorCtrl(parent, wxId, at, size);
        swatch->Bind(wxEVT_LEFT_UP, [this, id](wxMouseEvent& event) {
            event.Skip();
            if (window(id) && window(id)->IsEnabled())
                notify(id, clicked);
        });
        swatches[id] = swatch;
        made = swatch;
        break;
    }
    case UiControlKind::picture: {
        // Filled by the dialog's code (at the display's scale); a click
        // picks what the picture stands for.
        auto* picture = new wxStaticBitmap(parent, wxId, wxBitmap(), at, size);
        picture->Bind(wxEVT_LEFT_DOWN, [this, id](wxMouseEvent& event) {
            event.Skip();
            if (window(id) && window(id)->IsEnabled())
                notify(id, clicked);
        });
        made = picture;
        break;
    }
    }
    if (!made)
        return;
    if (c.style & uiDisabled)
        made->Disable();
    if (c.style & uiHidden)
        made->Hide();
    if (id != 0)
        windows[id] = made;
}

wxWindow* UiWxControlHost::window(int id) const
{
    auto found = windows.find(id);
    return found == windows.end() ? nullptr : found->second;
}

bool UiWxControlHost::has(int id) const
{
    return window(id) != nullptr;
}

// The toolkit's casts check the type only after a static downcast; the
// template says what each control is, so the casts go by its kind.
UiControlKind UiWxControlHost::kindOf(int id) const
{
    const UiControlTemplate* c = dialogTemplate().control(id);
    return c ? c->kind : UiControlKind::label;
}

std::string UiWxControlHost::text(int id) const
{
    wxWindow* w = window(id);
    if (!w)
        return std::string();
    if (kindOf(id) == UiControlKind::edit)
        return static_cast<wxTextCtrl*>(w)->GetValue().utf8_string();
    return w->GetLabel().utf8_string();
}

void UiWxControlHost::setText(int id, const std::string& text)
{
    wxWindow* w = window(id);
    if (!w)
        return;
    if (kindOf(id) == UiControlKind::edit)
        static_cast<wxTextCtrl*>(w)->ChangeValue(wxString::FromUTF8(text));
    else
        w->SetLabel(wxString::FromUTF8(text));
}

int UiWxControlHost::check(int id) const
{
    wxWindow* w = window(id);
    if (!w)
        return 0;
    switch (kindOf(id)) {
    case UiControlKind::checkBox:
    case UiControlKind::threeStateCheck: {
        wxCheckBoxState state = static_cast<wxCheckBox*>(w)->Get3StateValue();
        return state == wxCHK_CHECKED ? 1 : state == wxCHK_UNDETERMINED ? 2 : 0;
    }
    case UiControlKind::pushCheck:
        return static_cast<wxToggleButton*>(w)->GetValue() ? 1 : 0;
    case UiControlKind::radio:
        return static_cast<wxRadioButton*>(w)->GetValue() ? 1 : 0;
    default:
        return 0;
    }
}

void UiWxControlHost::setCheck(int id, int state)
{
    wxWindow* w = window(id);
    if (!w)
        return;
    switch (kindOf(id)) {
    case UiControlKind::threeStateCheck:
        static_cast<wxCheckBox*>(w)->Set3StateValue(state == 2 ? wxCHK_UNDETERMINED
                                                    : state == 1 ? wxCHK_CHECKED : wxCHK_UNCHECKED);
        break;
    case UiControlKind::checkBox:
        static_cast<wxCheckBox*>(w)->SetValue(state == 1);
        break;
    case UiControlKind::pushCheck:
        static_cast<wxToggleButton*>(w)->SetValue(state == 1);
        break;
    default:
        break;
    }
}

int UiWxControlHost::radioIndex(int firstId) const
{
    int ids[32];
    int count = std::min(dialogTemplate().radioGroup(firstId, ids, 32), 32);
    for (int i = 0; i < count; ++i)
        if (check(ids[i]) == 1)
            return i;
    return -1;
}

void UiWxControlHost::setRadioIndex(int firstId, int index)
{
    int ids[32];
    int count = std::min(dialogTemplate().radioGroup(firstId, ids, 32), 32);
    if (index >= 0 && index < count) {
        if (wxWindow* w = window(ids[index]))
            static_cast<wxRadioButton*>(w)->SetValue(true);
        return;
    }
    auto none = noneRadios.find(firstId);
    if (none != noneRadios.end())
        none->second->SetValue(true);
}

wxItemContainer* UiWxControlHost::itemsOf(int id) const
{
    wxWindow* w = window(id);
    if (!w)
        return nullptr;
    if (kindOf(id) == UiControlKind::dropList)
        return static_cast<wxChoice*>(w);
    if (kindOf(id) == UiControlKind::listBox)
        return static_cast<wxListBox*>(w);
    if (kindOf(id) == UiControlKind::pictureList)
        return static_cast<UiBitmapComboBox*>(w);
    return nullptr;
}

void UiWxControlHost::setItems(int id, const std::vector<std::string>& items)
{
    wxItemContainer* container = itemsOf(id);
    if (!container)
        return;
    wxArrayString strings;
    for (const std::string& item : items)
        strings.push_back(wxString::FromUTF8(item));
    container->Set(strings);
    setSelection(id, -1);
}

int UiWxControlHost::itemCount(int id) const
{
    wxItemContainer* container = itemsOf(id);
    return container ? int(container->GetCount()) : 0;
}

int UiWxControlHost::selection(int id) const
{
    wxItemContainer* container = itemsOf(id);
    if (!container || container->GetSelection() == wxNOT_FOUND)
        return -1;
    return container->GetSelection();
}

void UiWxControlHost::setSelection(int id, int index)
{
    wxItemContainer* container = itemsOf(id);
    if (!container)
        return;
    bool valid = index >= 0 && index < int(container->GetCount());
    if (kindOf(id) == UiControlKind::listBox && !valid)
        static_cast<wxListBox*>(window(id))->DeselectAll();
    else
        container->SetSelection(valid ? index : wxNOT_FOUND);
}

wxSlider* UiWxControlHost::sliderOf(int id) const
{
    wxWindow* w = window(id);
    return w && kindOf(id) == UiControlKind::slider ? static_cast<wxSlider*>(w) : nullptr;
}

void UiWxControlHost::setRange(int id, int minimum, int maximum)
{
    if (wxSlider* slider = sliderOf(id))
        slider->SetRange(std::min(minimum, maximum), std::max(minimum, maximum));
    else if (ranges.count(id))
        ranges[id] = Range{minimum, maximum};
}

bool UiWxControlHost::range(int id, int& minimum, int& maximum) const
{
    if (wxSlider* slider = sliderOf(id)) {
        minimum = slider->GetMin();
        maximum = slider->GetMax();
        return true;
    }
    auto found = ranges.find(id);
    if (found == ranges.end())
        return false;
    minimum = found->second.minimum;
    maximum = found->second.maximum;
    return true;
}

int UiWxControlHost::position(int id) const
{
    wxSlider* slider = sliderOf(id);
    return slider ? slider->GetValue() : 0;
}

void UiWxControlHost::setPosition(int id, int position)
{
    if (wxSlider* slider = sliderOf(id))
        slider->SetValue(std::clamp(position, slider->GetMin(), slider->GetMax()));
}

void UiWxControlHost::setSteps(int id, int line, int page)
{
    if (wxSlider* slider = sliderOf(id)) {
        slider->SetLineSize(line);
        slider->SetPageSize(page);
    }
}

void UiWxControlHost::setTicks(int id, const std::vector<int>& values)
{
    wxSlider* slider = sliderOf(id);
    if (!slider)
        return;
    slider->ClearTicks();
    for (int value : values)
        slider->SetTick(value);
}

void UiWxControlHost::setTextLimit(int id, int characters)
{
    // The limit is kept here rather than in the toolkit's entry, which would
    // also refuse text set by the dialog (a mixed number shows a longer
    // text than can be typed). A typed character that would pass the limit
    // is swallowed; what a selection replaces does not count.
    wxWindow* w = window(id);
    if (!w || kindOf(id) != UiControlKind::edit)
        return;
    const bool bound = textLimits.count(id) != 0;
    textLimits[id] = std::max(characters, 0);
    if (bound)
        return;
    w->Bind(wxEVT_CHAR, [this, id](wxKeyEvent& event) {
        auto* edit = static_cast<wxTextCtrl*>(event.GetEventObject());
        const int limit = textLimits[id];
        const wxChar typed = event.GetUnicodeKey();
        if (limit > 0 && typed >= 32 && typed != 127 && !event.HasAnyModifiers()) {
            long from = 0, to = 0;
            edit->GetSelection(&from, &to);
            if (edit->GetValue().length() - size_t(to - from) >= size_t(limit))
                return;
        }
        event.Skip();
    });
}

int UiWxControlHost::color(int id) const
{
    auto found = swatches.find(id);
    return found == swatches.end() ? 0 : found->second->color();
}

void UiWxControlHost::setColor(int id, int color)
{
    auto found = swatches.find(id);
    if (found != swatches.end())
        found->second->setColor(color);
}

void UiWxControlHost::enable(int id, bool enabled)
{
    if (wxWindow* w = window(id))
        w->Enable(enabled);
}

bool UiWxControlHost::isEnabled(int id) const
{
    wxWindow* w = window(id);
    return w && w->IsThisEnabled();
}

void UiWxControlHost::show(int id, bool shown)
{
    if (wxWindow* w = window(id))
        w->Show(shown);
}

bool UiWxControlHost::isShown(int id) const
{
    wxWindow* w = window(id);
    return w && w->IsShown();
}

void UiWxControlHost::focus(int id)
{
    wxWindow* w = window(id);
    if (!w)
        return;
    w->SetFocus();
    if (kindOf(id) == UiControlKind::edit)
        static_cast<wxTextCtrl*>(w)->SelectAll();
}

int UiWxControlHost::focused() const
{
    wxWindow* current = wxWindow::FindFocus();
    for (const auto& entry : windows)
        if (entry.second == current)
            return entry.first;
    return 0;
}
