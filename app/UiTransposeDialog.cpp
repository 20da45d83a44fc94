#include "app/UiTransposeDialog.h"

#include "app/Quorvane.h"
#include "app/UiBitmapComboBox.h"
#include "app/UiDataExchange.h"
#include "app/UiDialog.h"
#include "app/UiImages.h"
#include "app/UiMainFrame.h"
#include "app/UiMemoryControlHost.h"
#include "app/UiWxControlHost.h"
#include "foundation/BcStringResources.h"
#include "platform/gui/UiScale.h"

#include <wx/bitmap.h>
#include <wx/image.h>

namespace {

UiTransposeDialog::Driver driver;

std::vector<std::string> splitEntries(unsigned id)
{
    std::string all = BcStringResources::current().loadString(id).toNarrow(BcString::utf8CodePage);
    std::vector<std::string> entries;
    size_t start = 0;
    while (start <= all.size() && !all.empty()) {
        size_t end = all.find(';', start);
        if (end == std::string::npos)
            end = all.size();
        entries.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

enum
{
    intervalRadio = 1070,
    semitonesRadio = 1001,
};

}

UiTransposeDialog::UiTransposeDialog(UiControlHost& host, UiBitmapComboBox* keyCombo) : host(host), keyCombo(keyCombo)
{
}

std::vector<std::string> UiTransposeDialog::keyEntries()
{
    return splitEntries(10089);
}

std::vector<std::string> UiTransposeDialog::intervalEntries()
{
    return splitEntries(10090);
}

void UiTransposeDialog::load(const EdContext::TransposeChoice& choice)
{
    mode = choice.mode;
    key = choice.keyEntry;
    interval = choice.intervalEntry;
    semitones = choice.semitones;
    direction = choice.direction;
    changeKeySignatures = choice.changeKeySignatures ? 1 : 0;
    doubleAccidentals = choice.useDoubleAccidentals ? 1 : 0;
}

void UiTransposeDialog::store(EdContext::TransposeChoice& choice) const
{
    choice.mode = mode;
    choice.keyEntry = key;
    choice.intervalEntry = interval;
    choice.semitones = semitones;
    choice.direction = direction;
    choice.changeKeySignatures = changeKeySignatures == 1;
    choice.useDoubleAccidentals = doubleAccidentals == 1;
}

void UiTransposeDialog::initDialog()
{
    std::vector<std::string> keys = keyEntries();
    if (keyCombo) {
        int h = int(42 * UiScale::s());
        keyCombo->imageWidth = h;
        keyCombo->itemHeight = h;
        keyCombo->recolourMode = 1;
        keyCombo->keyColour = UiBitmapComboBox::white;
        keyCombo->Clear();
        for (const std::string& text : keys) {
            wxBitmap picture = UiImages::bitmap(keyPicture(int(keyCombo->GetCount())));
            keyCombo->addItem(wxString::FromUTF8(text), picture.IsOk() ? picture.ConvertToImage() : wxImage());
        }
        wxSize size = keyCombo->GetSize();
        if (size.y < h)
            keyCombo->SetSize(size.x, h);
    } else {
        host.setItems(keyList, keys);
    }
    host.setItems(intervalList, intervalEntries());
    host.setRange(semitonesUpDown, -12, 12);
    exchange(false);
    initialized = true;
    host.setHandler([this](int id, UiControlHost::Notification what) { notified(id, what); });
}

bool UiTransposeDialog::exchange(bool fromControls)
{
    bool ok = false;
    {
        UiDataExchange dx(host, fromControls);
        dx.radio(toKeyRadio, mode);
        dx.listIndex(keyList, key);
        dx.listIndex(intervalList, interval);
        dx.integer(semitonesEdit, semitones);
        dx.range(semitonesEdit, semitones, -32, 32);
        dx.radio(upRadio, direction);
        dx.check(keySignaturesCheck, changeKeySignatures);
        dx.check(doubleAccidentalsCheck, doubleAccidentals);
        ok = dx.ok();
    }
    host.show(keyList, mode == 0);
    host.show(intervalList, mode == 1);
    host.show(semitonesEdit, mode == 2);
    host.show(semitonesUpDown, mode == 2);
    return ok;
}

void UiTransposeDialog::onModeChanged()
{
    exchange(true);
    bool autoShown = host.isShown(autoRadio);
    if (mode == 0) {
        if (!autoShown) {
            host.show(autoRadio, true);
            direction = automatic;
            exchange(false);
        }
    } else if (autoShown) {
        host.show(autoRadio, false);
        if (direction == automatic)
            direction = mode == 2 && semitones < 0 ? down : up;
        exchange(false);
    } else if (mode == 2) {
        int wanted = semitones < 0 ? down : up;
        if (wanted != direction) {
            direction = wanted;
            exchange(false);
        }
    }
}

void UiTransposeDialog::onSemitonesChanged()
{
    if (!initialized || !exchange(true))
        return;
    int wanted = semitones < 0 ? down : up;
    if (wanted != direction) {
        direction = wanted;
        exchange(false);
    }
}

void UiTransposeDialog::onDirectionChanged()
{
    if (!exchange(true) || mode != 2)
        return;
    if ((direction == up && semitones < 0) || (direction == down && semitones > 0)) {
        semitones = -semitones;
        exchange(false);
    }
}

bool UiTransposeDialog::ok()
{
    if (!exchange(true))
        return false;
    if (ending)
        ending(true);
    return true;
}

void UiTransposeDialog::notified(int id, UiControlHost::Notification what)
{
    if (what == UiControlHost::textChanged) {
        if (id == semitonesEdit)
            onSemitonesChanged();
        return;
    }
    if (what != UiControlHost::clicked)
        return;
    if (id == toKeyRadio || id == intervalRadio || id == semitonesRadio)
        onModeChanged();
    else if (id == upRadio || id == downRadio)
        onDirectionChanged();
    else if (id == okButton)
        ok();
    else if (id == cancelButton && ending)
        ending(false);
}

void UiTransposeDialog::setDriver(Driver newDriver)
{
    driver = std::move(newDriver);
}

bool UiTransposeDialog::run(EdContext::TransposeChoice& choice)
{
    const UiDialogTemplate* layout = UiDialogTemplates::find(templateId);
    if (!layout)
        return false;
    bool confirmed = false;
    if (driver) {
        UiMemoryControlHost host(*layout);
        UiTransposeDialog dialog(host);
        dialog.load(choice);
        dialog.onEnd([&confirmed](bool answer) { confirmed = answer; });
        dialog.initDialog();
        driver(dialog, host);
        if (confirmed)
            dialog.store(choice);
        return confirmed;
    }
    if (!Quorvane::exists())
        return false;
    Quorvane& app = Quorvane::instance();
    UiDialog window(app.mainFrame(), templateId, app.shellText("dialog 122", layout->caption));
    UiWxControlHost host(&window, *layout, [](const char* context, const char* english) {
        return Quorvane::exists() ? Quorvane::instance().shellText(context, english) : wxString::FromUTF8(english);
    });
    window.SetClientSize(window.ConvertDialogToPixels(wxSize(layout->width, layout->height)));
    UiTransposeDialog dialog(host, static_cast<UiBitmapComboBox*>(host.window(keyList)));
    dialog.load(choice);
    dialog.onEnd([&window](bool answer) { window.EndModal(answer ? wxID_OK : wxID_CANCEL); });
    dialog.initDialog();
    window.CentreOnParent();
    confirmed = window.ShowModal() == wxID_OK;
    if (confirmed)
        dialog.store(choice);
    return confirmed;
}
