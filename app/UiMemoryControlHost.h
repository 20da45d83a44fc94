#pragma once

#include "app/UiControlHost.h"

#include <map>

// The controls of a template kept in memory, with the user's actions
// simulated as the toolkit delivers them: for tests of dialogs, headless.
// A disabled or hidden control ignores the simulated user.
class UiMemoryControlHost : public UiControlHost
{
public:
    explicit UiMemoryControlHost(const UiDialogTemplate& dialogTemplate);

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
    int focused() const override { return focusId; }

    // The user: a click (a check box steps its state, a radio checks
    // itself); typing replaces the text one keystroke at a time, each
    // telling of the change; choosing a list item; moving a slider; an
    // up-down arrow (+1 up, -1 down).
    void click(int id);
    void type(int id, const std::string& text);
    void choose(int id, int index);
    void moveSlider(int id, int position);
    void clickUpDown(int id, int delta);

    const std::vector<std::string>& items(int id) const;
    // What the dialog asked of a slider or an edit.
    int lineStep(int id) const;
    int pageStep(int id) const;
    std::vector<int> ticks(int id) const;
    int textLimit(int id) const;

private:
    struct Control
    {
        UiControlKind kind = UiControlKind::label;
        std::string text;
        int check = 0;
        std::vector<std::string> items;
        int selection = -1;
        int minimum = 0;
        int maximum = 100;
        int position = 0;
        int lineStep = 1;
        int pageStep = 0;
        std::vector<int> ticks;
        int textLimit = 0;
        int color = 0xFFFFFF;
        bool enabled = true;
        bool shown = true;
    };
    Control* find(int id);
    const Control* find(int id) const;
    bool userCanReach(int id) const;

    std::map<int, Control> controls;
    int focusId = 0;
};
