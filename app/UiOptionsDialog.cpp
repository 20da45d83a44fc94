#include "app/UiOptionsDialog.h"

#include "app/Quorvane.h"
#include "app/Settings.h"
#include "app/UiColorCtrl.h"
#include "app/UiDataExchange.h"
#include "app/UiDialog.h"
#include "app/UiMainFrame.h"
#include "app/UiWxControlHost.h"
#include "foundation/BcStringResources.h"
#include "platform/gui/UiMessageBoxes.h"

namespace {

enum Control
{
    languageGroup = 1000,
    panGroup = 1256,
    dragEdit = 1251,
    chordEdit = 1253,
    textureCheck = 1086,
    antialiasingList = 1292,
    autoSaveCheck = 1085,
    minutesEdit = 1258,
    minutesUpDown = 1343,
    updatesCheck = 1084,
    defaultsButton = 1252,
    okButton = 1,
    cancelButton = 2,
};

UiOptionsDialog::ColorPicker picker = &UiColorCtrl::pickWithToolkit;

int* colorSetting(Settings& settings, int index)
{
    int* fields[5] = {&settings.backgroundColor, &settings.paperDefaultColor, &settings.selectionColor,
                      &settings.selectionVoice2Color, &settings.playingColor};
    return fields[index];
}

}

const int UiOptionsDialog::swatchIds[5] = {1268, 1126, 1127, 1129, 1128};

UiOptionsDialog::UiOptionsDialog(UiControlHost& host, Settings& settings, int runningLanguage, int installedLanguage)
    : host(host), settings(settings), runningLanguage(runningLanguage), installedLanguage(installedLanguage)
{
}

UiOptionsDialog::ColorPicker UiOptionsDialog::setColorPicker(ColorPicker newPicker)
{
    ColorPicker old = picker;
    picker = newPicker ? newPicker : &UiColorCtrl::pickWithToolkit;
    return old;
}

void UiOptionsDialog::initDialog()
{
    restoreDefaults();
    language = settings.language;
    panButton = settings.useRightButtonToPan ? 1 : 0;
    dragThreshold = settings.dragThreshold;
    chordThreshold = settings.chordThreshold;
    for (int i = 0; i < 5; ++i) {
        unsigned value = unsigned(*colorSetting(settings, i));
        colors[i] = int(value & 0xFFFFFF);
        flags[i] = int(value >> 24);
    }
    antialiasing = settings.antialiasing;
    autoSave = settings.autoSave ? 1 : 0;
    autoSaveMinutes = settings.autoSaveMinutes;
    checkForUpdates = settings.checkForUpdates ? 1 : 0;
    exchange(false);

    std::vector<std::string> levels;
    for (unsigned id : {10077u, 10078u, 10079u})
        levels.push_back(BcStringResources::current().loadString(id).toNarrow(BcString::utf8CodePage));
    host.setItems(antialiasingList, levels);
    host.setSelection(antialiasingList, antialiasing);
    host.setRange(minutesUpDown, 1, 10);
    host.setHandler([this](int id, UiControlHost::Notification what) { notified(id, what); });
}

bool UiOptionsDialog::exchange(bool fromControls)
{
    UiDataExchange dx(host, fromControls);
    dx.radio(languageGroup, language);
    dx.radio(panGroup, panButton);
    dx.unsignedInteger(dragEdit, dragThreshold);
    dx.range(dragEdit, dragThreshold, 1, Settings::maxDragThreshold);
    dx.unsignedInteger(chordEdit, chordThreshold);
    dx.range(chordEdit, chordThreshold, 0, Settings::maxChordThreshold);
    if (dx.ok() && !fromControls)
        for (int i = 0; i < 5; ++i)
            host.setColor(swatchIds[i], colors[i]);
    int texture = flags[1] != 0 ? 1 : 0;
    dx.check(textureCheck, texture);
    if (dx.ok() && fromControls)
        flags[1] = texture == 1 ? (flags[1] != 0 ? flags[1] : 1) : 0;
    dx.listIndex(antialiasingList, antialiasing);
    dx.check(autoSaveCheck, autoSave);
    dx.unsignedInteger(minutesEdit, autoSaveMinutes);
    dx.range(minutesEdit, autoSaveMinutes, 1, 10);
    dx.check(updatesCheck, checkForUpdates);
    // A failed field leaves the enabling as it was.
    if (dx.ok())
        enableMinutes();
    return dx.ok();
}

void UiOptionsDialog::enableMinutes()
{
    host.enable(minutesEdit, autoSave == 1);
    host.enable(minutesUpDown, autoSave == 1);
}

void UiOptionsDialog::restoreDefaults()
{
    Settings defaults;
    language = installedLanguage;
    panButton = defaults.useRightButtonToPan ? 1 : 0;
    dragThreshold = defaults.dragThreshold;
    chordThreshold = defaults.chordThreshold;
    for (int i = 0; i < 5; ++i) {
        colors[i] = *colorSetting(defaults, i) & 0xFFFFFF;
        flags[i] = 0;
    }
    antialiasing = defaults.antialiasing;
    autoSave = defaults.autoSave ? 1 : 0;
    autoSaveMinutes = defaults.autoSaveMinutes;
    checkForUpdates = defaults.checkForUpdates ? 1 : 0;
    exchange(false);
}

void UiOptionsDialog::pickColor(int index)
{
    if (index < 0 || index >= 5 || !exchange(true))
        return;
    int color = colors[index];
    if (!picker(color))
        return;
    colors[index] = color & 0xFFFFFF;
    exchange(false);
}

bool UiOptionsDialog::ok()
{
    if (!exchange(true))
        return false;
    bool languageChanged = language != settings.language;
    settings.language = language;
    settings.useRightButtonToPan = panButton == 1;
    if (unsigned(dragThreshold) <= unsigned(Settings::maxDragThreshold))
        settings.dragThreshold = dragThreshold;
    if (unsigned(chordThreshold) <= unsigned(Settings::maxChordThreshold))
        settings.chordThreshold = chordThreshold;
    for (int i = 0; i < 5; ++i)
        *colorSetting(settings, i) = int((unsigned(flags[i] & 0xFF) << 24) | (unsigned(colors[i]) & 0xFFFFFF));
    settings.antialiasing = antialiasing;
    settings.autoSave = autoSave == 1;
    settings.autoSaveMinutes = autoSaveMinutes;
    settings.checkForUpdates = checkForUpdates == 1;
    settings.save();
    if (languageChanged && language != runningLanguage)
        UiMessageBoxes::current().information(wxString::FromUTF8(languageChangeMessage(language)), "Quorvane");
    return true;
}

const char* UiOptionsDialog::languageChangeMessage(int language)
{
    switch (language) {
    case 1:
        return "Le changement de la langue sera pris en compte lorsque vous red\xC3\xA9marrez Quorvane";
    case 2:
        return "El cambio de idioma se aplicar\xC3\xA1 cuando reinicie Quorvane";
    case 3:
        return "El canvi d'idioma s'aplicar\xC3\xA0 quan reinic\xC3\xAFis Quorvane";
    default:
        return "The language change will take effect when you restart Quorvane";
    }
}

void UiOptionsDialog::notified(int id, UiControlHost::Notification what)
{
    if (what != UiControlHost::clicked)
        return;
    if (id == autoSaveCheck) {
        exchange(true);
        return;
    }
    for (int i = 0; i < 5; ++i) {
        if (swatchIds[i] == id) {
            pickColor(i);
            return;
        }
    }
    if (id == defaultsButton) {
        restoreDefaults();
    } else if (id == okButton) {
        if (ok() && ending)
            ending(true);
    } else if (id == cancelButton) {
        if (ending)
            ending(false);
    }
}

void UiOptionsDialog::run(Quorvane& app)
{
    const UiDialogTemplate* layout = UiDialogTemplates::find(templateId);
    if (!layout)
        return;
    UiDialog window(app.mainFrame(), templateId, app.shellText("dialog 117", layout->caption));
    UiWxControlHost host(&window, *layout, [](const char* context, const char* english) {
        return Quorvane::exists() ? Quorvane::instance().shellText(context, english) : wxString::FromUTF8(english);
    });
    window.SetClientSize(window.ConvertDialogToPixels(wxSize(layout->width, layout->height)));
    UiOptionsDialog dialog(host, app.settings, app.interfaceLanguage, Quorvane::readInstallLanguage());
    dialog.onEnd([&window](bool confirmed) { window.EndModal(confirmed ? wxID_OK : wxID_CANCEL); });
    dialog.initDialog();
    window.CentreOnParent();
    window.ShowModal();
}
