#include "app/UiGoToDialog.h"

#include "app/Quorvane.h"
#include "app/UiDataExchange.h"
#include "app/UiDialog.h"
#include "app/UiWxControlHost.h"

#include <string>

namespace {

constexpr int okButton = 1;
constexpr int cancelButton = 2;

}

void UiGoToDialog::initDialog()
{
    std::string label = host.text(labelId);
    const size_t at = label.find("%d");
    if (at != std::string::npos)
        label.replace(at, 2, std::to_string(maximum));
    host.setText(labelId, label);
    exchange(false);
    host.focus(measureEdit);
    host.setHandler([this](int id, UiControlHost::Notification what) { notified(id, what); });
}

bool UiGoToDialog::exchange(bool fromControls)
{
    UiDataExchange dx(host, fromControls);
    dx.integer(measureEdit, measure);
    dx.range(measureEdit, measure, 1, maximum);
    return dx.ok();
}

bool UiGoToDialog::ok()
{
    return exchange(true);
}

void UiGoToDialog::notified(int id, UiControlHost::Notification what)
{
    // Typing in the edit needs no answer; only the buttons end the dialog.
    if (what != UiControlHost::clicked)
        return;
    if (id == okButton) {
        if (ok() && ending)
            ending(true);
    } else if (id == cancelButton) {
        if (ending)
            ending(false);
    }
}

bool UiGoToDialog::run(wxWindow* parent, int maximum, int& measure)
{
    const UiDialogTemplate* layout = UiDialogTemplates::find(templateId);
    if (!layout)
        return false;
    auto translate = [](const char* context, const char* english) {
        return Quorvane::exists() ? Quorvane::instance().shellText(context, english) : wxString::FromUTF8(english);
    };
    UiDialog window(parent, templateId, translate("dialog 123", layout->caption));
    UiWxControlHost host(&window, *layout, translate);
    window.SetClientSize(window.ConvertDialogToPixels(wxSize(layout->width, layout->height)));
    UiGoToDialog dialog(host);
    dialog.maximum = maximum;
    dialog.measure = measure;
    dialog.onEnd([&window](bool confirmed) { window.EndModal(confirmed ? wxID_OK : wxID_CANCEL); });
    dialog.initDialog();
    window.CentreOnParent();
    if (window.ShowModal() != wxID_OK)
        return false;
    measure = dialog.measure;
    return true;
}
