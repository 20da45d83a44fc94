#include "app/UiFretboardTuningDialog.h"

#include "app/Quorvane.h"
#include "app/UiDialog.h"
#include "app/UiMainFrame.h"
#include "app/UiWxControlHost.h"
#include "panels/UiFretboard.h"

UiFretboardTuningDialog::UiFretboardTuningDialog(UiControlHost& host, Apply apply)
    : host(host), tuningControls(host), apply(std::move(apply))
{
}

void UiFretboardTuningDialog::initDialog(const FretboardTuning& start)
{
    tuningControls.init(start);
    host.setHandler([this](int id, UiControlHost::Notification what) { notified(id, what); });
}

bool UiFretboardTuningDialog::ok()
{
    if (!tuningControls.exchange(true))
        return false;
    FretboardTuning tuning = tuningControls.tuning;
    tuning.clearUnusedStrings();
    if (apply)
        apply(tuning);
    return true;
}

void UiFretboardTuningDialog::notified(int id, UiControlHost::Notification what)
{
    if (tuningControls.notified(id, what) || what != UiControlHost::clicked)
        return;
    if (id == 1) {
        if (ok() && ending)
            ending(true);
    } else if (id == 2) {
        if (ending)
            ending(false);
    }
}

void UiFretboardTuningDialog::run(Quorvane& app, UiFretboard& fretboard)
{
    const UiDialogTemplate* layout = UiDialogTemplates::find(templateId);
    if (!layout)
        return;
    UiDialog window(app.mainFrame(), templateId, app.shellText("dialog 127", layout->caption));
    UiWxControlHost host(&window, *layout, [](const char* context, const char* english) {
        return Quorvane::exists() ? Quorvane::instance().shellText(context, english) : wxString::FromUTF8(english);
    });
    window.SetClientSize(window.ConvertDialogToPixels(wxSize(layout->width, layout->height)));
    UiFretboardTuningDialog dialog(host, [&fretboard](const FretboardTuning& tuning) { fretboard.setTuning(tuning); });
    dialog.onEnd([&window](bool confirmed) { window.EndModal(confirmed ? wxID_OK : wxID_CANCEL); });
    dialog.initDialog(fretboard.tuning());
    window.CentreOnParent();
    window.ShowModal();
}
