#pragma once

#include "app/UiTuningControls.h"

#include <functional>

class Quorvane;
class UiFretboard;

// The dialog "Fretboard tuning": the tuning controls over the fretboard's
// tuning. OK applies the edited tuning only once every field passed its
// check; Cancel changes nothing.
class UiFretboardTuningDialog
{
public:
    static constexpr unsigned templateId = 127;
    using Apply = std::function<void(const FretboardTuning&)>;

    UiFretboardTuningDialog(UiControlHost& host, Apply apply);

    // Shows the tuning; the host's notifications go to the dialog from here on.
    void initDialog(const FretboardTuning& start);
    // OK: false, the dialog staying open and nothing applied, when a field
    // failed its check.
    bool ok();
    // Called with true for OK, false for Cancel, when the dialog ends.
    void onEnd(std::function<void(bool confirmed)> end) { ending = std::move(end); }

    UiTuningControls& controls() { return tuningControls; }

    // Play/Fretboard tuning/Custom...: the dialog, modal, over the main window.
    static void run(Quorvane& app, UiFretboard& fretboard);

private:
    void notified(int id, UiControlHost::Notification what);

    UiControlHost& host;
    UiTuningControls tuningControls;
    Apply apply;
    std::function<void(bool)> ending;
};
