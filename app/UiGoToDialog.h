#pragma once

#include "app/UiControlHost.h"

#include <functional>

class wxWindow;

// Edit/Go to...: asks for a measure number between 1 and the last one. The
// dialog's logic works on any control host; `run` shows it on toolkit
// controls.
class UiGoToDialog
{
public:
    static constexpr unsigned templateId = 123;
    static constexpr int labelId = 1328;
    static constexpr int measureEdit = 1086;

    explicit UiGoToDialog(UiControlHost& host) : host(host) {}

    // Puts maximum into the label, measure into the edit; the host's
    // notifications go to the dialog from here on.
    void initDialog();
    // One transfer; false when the number failed its check (the user was
    // told, the edit has the focus).
    bool exchange(bool fromControls);
    // OK: false, the dialog staying open, for a number outside 1..maximum.
    bool ok();

    // Called with true for OK, false for Cancel, when the dialog ends.
    void onEnd(std::function<void(bool confirmed)> end) { ending = std::move(end); }

    // The dialog, modal, over the parent; false when cancelled. measure is
    // the number shown first and, after OK, the one entered.
    static bool run(wxWindow* parent, int maximum, int& measure);

    int maximum = 1;
    int measure = 1;

private:
    void notified(int id, UiControlHost::Notification what);

    UiControlHost& host;
    std::function<void(bool)> ending;
};
