#pragma once

#include "app/UiControlHost.h"

#include <wx/string.h>

#include <map>

class UiColorCtrl;
class wxItemContainer;
class wxRadioButton;
class wxSlider;
class wxWindow;

// The controls of a template made as toolkit controls on a window, placed
// in dialog units of that window's font. The toolkit always keeps one radio
// of a group checked, so each group begins with a hidden radio that stands
// for "none". The up-down is a spin button of our own beside its buddy: it
// steps the buddy's number within its range.
class UiWxControlHost : public UiControlHost
{
public:
    // Texts: translate(context, English text); null keeps the English.
    using Translate = wxString (*)(const char* context, const char* english);
    UiWxControlHost(wxWindow* parent, const UiDialogTemplate& dialogTemplate, Translate translate = nullptr);

    // The toolkit's id of a template id: 1 and 2 are the OK and Cancel
    // buttons, which the toolkit knows by its own ids.
    static int toolkitId(int id);
    wxWindow* window(int id) const;

    bool has(int id) const override;
    std::string text(int id) const override;
    void setText(int id, const std::string& text) override;
    int check(int id) const override;
    void setCheck(int id, int state) override;
    int radioIndex(int firstId) const override;
    void setRadioIndex(int firstId, int index) override;
    void setItems(int id, const std::vector<std::string>& items) override;
    int itemCount(int id) const override;
    int selection(int id) const override;
    void setSelection(int id, int index) override;
    void setRange(int id, int minimum, int maximum) override;
    bool range(int id, int& minimum, int& maximum) const override;
    int position(int id) const override;
    void setPosition(int id, int position) override;
    void setSteps(int id, int line, int page) override;
    void setTicks(int id, const std::vector<int>& values) override;
    void setTextLimit(int id, int characters) override;
    int color(int id) const override;
    void setColor(int id, int color) override;
    void enable(int id, bool enabled) override;
    bool isEnabled(int id) const override;
    void show(int id, bool shown) override;
    bool isShown(int id) const override;
    void focus(int id) override;
    int focused() const override;

private:
    struct Range
    {
        int minimum = 0;
        int maximum = 100;
    };
    void create(wxWindow* parent, int index, Translate translate);
    UiControlKind kindOf(int id) const;
    wxItemContainer* itemsOf(int id) const;
    wxSlider* sliderOf(int id) const;

    std::map<int, wxWindow*> windows;
    std::map<int, wxRadioButton*> noneRadios;  // by the group's first radio
    std::map<int, Range> ranges;               // the up-downs'
    std::map<int, UiColorCtrl*> swatches;
    std::map<int, int> textLimits;             // the edits', characters
};
