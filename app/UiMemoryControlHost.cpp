#include "app/UiMemoryControlHost.h"

#include <algorithm>

UiMemoryControlHost::UiMemoryControlHost(const UiDialogTemplate& dialogTemplate) : UiControlHost(dialogTemplate)
{
    for (int i = 0; i < dialogTemplate.controlCount; ++i) {
        const UiControlTemplate& c = dialogTemplate.controls[i];
        if (c.id == 0)
            continue;
        Control& control = controls[c.id];
        control.kind = c.kind;
        control.text = c.text ? c.text : "";
        control.enabled = (c.style & uiDisabled) == 0;
        control.shown = (c.style & uiHidden) == 0;
    }
}

UiMemoryControlHost::Control* UiMemoryControlHost::find(int id)
{
    auto found = controls.find(id);
    return found == controls.end() ? nullptr : &found->second;
}

const UiMemoryControlHost::Control* UiMemoryControlHost::find(int id) const
{
    auto found = controls.find(id);
    return found == controls.end() ? nullptr : &found->second;
}

bool UiMemoryControlHost::has(int id) const
{
    return find(id) != nullptr;
}

std::string UiMemoryControlHost::text(int id) const
{
    const Control* c = find(id);
    return c ? c->text : std::string();
}

void UiMemoryControlHost::setText(int id, const std::string& text)
{
    if (Control* c = find(id))
        c->text = text;
}

int UiMemoryControlHost::check(int id) const
{
    const Control* c = find(id);
    return c ? c->check : 0;
}

void UiMemoryControlHost::setCheck(int id, int state)
{
    Control* c = find(id);
    if (!c)
        return;
    int highest = c->kind == UiControlKind::threeStateCheck ? 2 : 1;
    c->check = state >= 0 && state <= highest ? state : 0;
}

int UiMemoryControlHost::radioIndex(int firstId) const
{
    int ids[32];
    int count = std::min(dialogTemplate().radioGroup(firstId, ids, 32), 32);
    for (int i = 0; i < count; ++i)
        if (check(ids[i]) == 1)
            return i;
    return -1;
}

void UiMemoryControlHost::setRadioIndex(int firstId, int index)
{
    int ids[32];
    int count = std::min(dialogTemplate().radioGroup(firstId, ids, 32), 32);
    for (int i = 0; i < count; ++i)
        if (Control* c = find(ids[i]))
            c->check = i == index ? 1 : 0;
}

void UiMemoryControlHost::setItems(int id, const std::vector<std::string>& items)
{
    if (Control* c = find(id)) {
        c->items = items;
        c->selection = -1;
    }
}

int UiMemoryControlHost::itemCount(int id) const
{
    const Control* c = find(id);
    return c ? int(c->items.size()) : 0;
}

const std::vector<std::string>& UiMemoryControlHost::items(int id) const
{
    static const std::vector<std::string> none;
    const Control* c = find(id);
    return c ? c->items : none;
}

int UiMemoryControlHost::selection(int id) const
{
    const Control* c = find(id);
    return c ? c->selection : -1;
}

void UiMemoryControlHost::setSelection(int id, int index)
{
    if (Control* c = find(id))
        c->selection = index >= 0 && index < int(c->items.size()) ? index : -1;
}

void UiMemoryControlHost::setRange(int id, int minimum, int maximum)
{
    Control* c = find(id);
    if (!c)
        return;
    c->minimum = minimum;
    c->maximum = maximum;
    if (c->kind == UiControlKind::slider)
        c->position = std::clamp(c->position, std::min(minimum, maximum), std::max(minimum, maximum));
}

bool UiMemoryControlHost::range(int id, int& minimum, int& maximum) const
{
    const Control* c = find(id);
    if (!c)
        return false;
    minimum = c->minimum;
    maximum = c->maximum;
    return true;
}

int UiMemoryControlHost::position(int id) const
{
    const Control* c = find(id);
    return c ? c->position : 0;
}

void UiMemoryControlHost::setPosition(int id, int position)
{
    if (Control* c = find(id))
        c->position = std::clamp(position, std::min(c->minimum, c->maximum), std::max(c->minimum, c->maximum));
}

void UiMemoryControlHost::setSteps(int id, int line, int page)
{
    if (Control* c = find(id)) {
        c->lineStep = line;
        c->pageStep = page;
    }
}

void UiMemoryControlHost::setTicks(int id, const std::vector<int>& values)
{
    if (Control* c = find(id))
        c->ticks = values;
}

void UiMemoryControlHost::setTextLimit(int id, int characters)
{
    if (Control* c = find(id))
        c->textLimit = std::max(characters, 0);
}

int UiMemoryControlHost::lineStep(int id) const
{
    const Control* c = find(id);
    return c ? c->lineStep : 0;
}

int UiMemoryControlHost::pageStep(int id) const
{
    const Control* c = find(id);
    return c ? c->pageStep : 0;
}

std::vector<int> UiMemoryControlHost::ticks(int id) const
{
    const Control* c = find(id);
    return c ? c->ticks : std::vector<int>();
}

int UiMemoryControlHost::textLimit(int id) const
{
    const Control* c = find(id);
    return c ? c->textLimit : 0;
}

int UiMemoryControlHost::color(int id) const
{
    const Control* c = find(id);
    return c ? c->color : 0;
}

void UiMemoryControlHost::setColor(int id, int color)
{
    if (Control* c = find(id))
        c->color = color & 0xFFFFFF;
}

void UiMemoryControlHost::enable(int id, bool enabled)
{
    if (Control* c = find(id))
        c->enabled = enabled;
}

bool UiMemoryControlHost::isEnabled(int id) const
{
    const Control* c = find(id);
    return c && c->enabled;
}

void UiMemoryControlHost::focus(int id)
{
    if (has(id))
        focusId = id;
}

void UiMemoryControlHost::show(int id, bool shown)
{
    if (Control* c = find(id))
        c->shown = shown;
}

bool UiMemoryControlHost::isShown(int id) const
{
    const Control* c = find(id);
    return c && c->shown;
}

bool UiMemoryControlHost::userCanReach(int id) const
{
    return isEnabled(id) && isShown(id);
}

void UiMemoryControlHost::click(int id)
{
    Control* c = find(id);
    if (!c || !userCanReach(id))
        return;
    focusId = id;
    switch (c->kind) {
    case UiControlKind::checkBox:
    case UiControlKind::pushCheck:
        c->check = c->check == 1 ? 0 : 1;
        break;
    case UiControlKind::threeStateCheck:
        c->check = (c->check + 1) % 3;
        break;
    case UiControlKind::radio: {
        // The group of a radio: the radios around it back to the one that
        // starts the group.
        const UiDialogTemplate& t = dialogTemplate();
        int index = t.indexOf(id);
        while (index > 0 && !(t.controls[index].style & uiGroup) &&
               t.controls[index - 1].kind == UiControlKind::radio)
            --index;
        setRadioIndex(t.controls[index].id, -1);
        c->check = 1;
        break;
    }
    default:
        break;
    }
    notify(id, clicked);
}

void UiMemoryControlHost::type(int id, const std::string& text)
{
    Control* c = find(id);
    if (!c || !userCanReach(id))
        return;
    focusId = id;
    if (!c->text.empty()) {
        c->text.clear();
        notify(id, textChanged);
    }
    // A keystroke that would pass the limit is refused: the text stays and
    // nobody is told. The text is counted as it stands at each keystroke,
    // as the handler may have changed it; characters, not UTF-8 bytes.
    auto startsCharacter = [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; };
    bool refused = false;
    for (char ch : text) {
        if (startsCharacter(ch))
            refused = c->textLimit > 0 &&
                      std::count_if(c->text.begin(), c->text.end(), startsCharacter) >= c->textLimit;
        if (refused)
            continue;
        c->text += ch;
        notify(id, textChanged);
    }
}

void UiMemoryControlHost::choose(int id, int index)
{
    Control* c = find(id);
    if (!c || !userCanReach(id) || index < 0 || index >= int(c->items.size()))
        return;
    c->selection = index;
    notify(id, selectionChanged);
}

void UiMemoryControlHost::moveSlider(int id, int position)
{
    if (!find(id) || !userCanReach(id))
        return;
    setPosition(id, position);
    notify(id, scrolled);
}

void UiMemoryControlHost::clickUpDown(int id, int delta)
{
    stepUpDown(id, delta);
}
