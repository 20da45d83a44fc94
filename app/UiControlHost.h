#pragma once

#include "app/UiDialogTemplates.h"

#include <functional>
#include <string>
#include <vector>

// The controls of one dialog made from its template, as the dialog's code
// sees them: values to read and write by control id, and notifications of
// what the user did. The toolkit's host makes real controls; the memory host
// keeps the values and simulates the user for tests.
//
// Writing a value never notifies. While a data transfer runs (see
// UiDataExchange) no notification reaches the handler either, so a handler
// never sees the dialog half exchanged.
class UiControlHost
{
public:
    enum Notification { clicked, textChanged, selectionChanged, scrolled };
    using Handler = std::function<void(int id, Notification what)>;

    explicit UiControlHost(const UiDialogTemplate& dialogTemplate) : layout(dialogTemplate) {}
    virtual ~UiControlHost();
    UiControlHost(const UiControlHost&) = delete;
    UiControlHost& operator=(const UiControlHost&) = delete;

    const UiDialogTemplate& dialogTemplate() const { return layout; }

    virtual bool has(int id) const = 0;
    // UTF-8 text of an edit, label, button or check box.
    virtual std::string text(int id) const = 0;
    virtual void setText(int id, const std::string& text) = 0;
    // 0 clear, 1 checked, 2 indeterminate (three-state check boxes only).
    virtual int check(int id) const = 0;
    virtual void setCheck(int id, int state) = 0;
    // The index of the checked radio of the group firstId starts; -1 none.
    virtual int radioIndex(int firstId) const = 0;
    // Checks the radio at index; any other index leaves none checked.
    virtual void setRadioIndex(int firstId, int index) = 0;
    // Lists: the items, and the selected index (-1 none; an index out of
    // range selects none).
    virtual void setItems(int id, const std::vector<std::string>& items) = 0;
    virtual int itemCount(int id) const = 0;
    virtual int selection(int id) const = 0;
    virtual void setSelection(int id, int index) = 0;
    // Sliders and up-downs: the range, and a slider's position.
    virtual void setRange(int id, int minimum, int maximum) = 0;
    virtual bool range(int id, int& minimum, int& maximum) const = 0;
    virtual int position(int id) const = 0;
    virtual void setPosition(int id, int position) = 0;
    // Sliders: how far an arrow key and a page key move the thumb, and the
    // tick marks, one at each of the values (earlier marks cleared).
    virtual void setSteps(int id, int line, int page) = 0;
    virtual void setTicks(int id, const std::vector<int>& values) = 0;
    // Edits: the most characters the user can type in; 0 lifts the limit.
    // Text set by the dialog is not cut.
    virtual void setTextLimit(int id, int characters) = 0;
    // Swatches: 0x00BBGGRR.
    virtual int color(int id) const = 0;
    virtual void setColor(int id, int color) = 0;
    virtual void enable(int id, bool enabled) = 0;
    virtual bool isEnabled(int id) const = 0;
    // Shows or hides a control; a hidden control ignores the user.
    virtual void show(int id, bool shown) = 0;
    virtual bool isShown(int id) const = 0;
    // Puts the keyboard focus in the control, its text selected.
    virtual void focus(int id) = 0;
    virtual int focused() const = 0;

    void setHandler(Handler handler) { receiver = std::move(handler); }

    // Transfers nest; notifications are dropped until the outermost ends.
    void beginTransfer() { ++transfers; }
    void endTransfer() { if (transfers > 0) --transfers; }
    bool transferring() const { return transfers > 0; }

protected:
    void notify(int id, Notification what);
    // An up-down's arrow: the number of its buddy moves by delta, held in
    // the range (text that is no number counts as the range's low end), the
    // buddy tells of its new text, then the up-down of its move.
    void stepUpDown(int id, int delta);

private:
    const UiDialogTemplate& layout;
    Handler receiver;
    int transfers = 0;
};
