#include "app/UiContext.h"
#include "app/UiMidi.h"

#include "app/Quorvane.h"
#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "app/UiQuorvaneView.h"
#include "app/UiViewInput.h"
#include "foundation/BcString.h"
#include "platform/gui/UiMessageBoxes.h"

#include <wx/filedlg.h>
#include <wx/utils.h>

static wxString toWx(const BcString& text)
{
    return wxString::FromUTF8(text.toNarrow(BcString::utf8CodePage));
}

QuorvaneDocument* UiContext::activeDocument()
{
    UiMainFrame* frame = app.mainFrame();
    UiDocManager* manager = app.documentManager();
    if (!frame || !manager)
        return nullptr;
    UiDocument* document = wxDynamicCast(manager->GetCurrentDocument(), UiDocument);
    return document ? &document->document() : nullptr;
}

EdView* UiContext::activeView()
{
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    return view ? view->core() : nullptr;
}

void UiContext::updateAllViews(QuorvaneDocument* document, EdView*)
{
    if (UiDocument* adapter = UiDocument::of(document))
        adapter->UpdateAllViews();
}

void UiContext::showHint(unsigned int commandId)
{
    app.showMessage(commandId);
}

void UiContext::showInformation(unsigned int stringId)
{
    const wchar_t* text = app.loadString(stringId);
    if (!text)
        return;
    ++messageCount;
    UiMessageBoxes::current().information(wxString(text), wxString(app.loadString(57344)));
}

void UiContext::showInformationText(const BcString& text)
{
    ++messageCount;
    UiMessageBoxes::current().information(toWx(text), wxString(app.loadString(57344)));
}

bool UiContext::askYesNo(unsigned int stringId)
{
    const wchar_t* text = app.loadString(stringId);
    return text && UiMessageBoxes::current().askYesNo(wxString(text), wxString(app.loadString(57344)));
}

bool UiContext::isShiftDown()
{
    return wxGetKeyState(WXK_SHIFT);
}

bool UiContext::isCtrlDown()
{
    return wxGetKeyState(WXK_CONTROL);
}

bool UiContext::isHeld(HeldKey key)
{
    switch (key) {
    // The view's key events tell the sides apart.
    case LeftShift:
        return UiViewKeys::shared().isDown(UiViewKeys::leftShift);
    case RightShift:
        return UiViewKeys::shared().isDown(UiViewKeys::rightShift);
    case LeftCtrl:
        return UiViewKeys::shared().isDown(UiViewKeys::leftControl);
    case RightCtrl:
        return UiViewKeys::shared().isDown(UiViewKeys::rightControl);
    case LeftButton:
        return wxGetMouseState().LeftIsDown();
    case RightButton:
        return wxGetMouseState().RightIsDown();
    default:
        return false;
    }
}

bool UiContext::pointerPosition(int& x, int& y)
{
    const wxPoint at = wxGetMousePosition();
    x = at.x;
    y = at.y;
    return true;
}

bool UiContext::chooseFile(bool save, const BcString& filter, const BcString& defaultName, BcString& path,
                           int& filterIndex)
{
    // The filter is written "Name (*.ext)|*.ext|...||", as the file dialog
    // wants it but for the closing bars.
    wxString wildcard = toWx(filter);
    while (wildcard.EndsWith("|"))
        wildcard.RemoveLast();
    long style = save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    wxFileDialog dialog(app.GetTopWindow(), wxEmptyString, wxEmptyString, toWx(defaultName), wildcard, style);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = BcString(dialog.GetPath().utf8_str().data());
    filterIndex = dialog.GetFilterIndex();
    return true;
}

bool UiContext::hasMainWindow()
{
    return app.mainFrame() != nullptr;
}

void UiContext::redrawPianoKeyboard()
{
    UiMainFrame* frame = app.mainFrame();
    wxWindow* piano = frame ? frame->paneWindow(UiMainFrame::pianoKeyboard) : nullptr;
    if (!piano)
        return;
    piano->Refresh();
    piano->Update();
}

bool UiContext::newDocument()
{
    UiDocManager* manager = app.documentManager();
    return manager && manager->CreateDocument(wxEmptyString, wxDOC_NEW) && activeDocument();
}

void UiContext::setToolbarTempo(int beatsPerMinute)
{
    app.setToolbarTempo(beatsPerMinute);
}

void UiContext::runSelectionObserver()
{
    app.selectionChanged();
}

bool UiContext::recorderIsRecording()
{
    return midi && midi->recorder()->isRecording();
}

void UiContext::recorderStart(unsigned long long tick)
{
    if (midi)
        midi->recorder()->start(tick);
}

void UiContext::recorderStop()
{
    if (midi)
        midi->recorder()->stop();
}

MnScore* UiContext::recorderTakeScore()
{
    return midi ? midi->recorder()->toScore() : nullptr;
}

int UiContext::midiInputState()
{
    if (!midi || !midi->input().isOpen())
        return midiInputClosed;
    return midi->input().isStarted() ? midiInputOn : midiInputOff;
}

bool UiContext::midiInputOpen(BcString& failure)
{
    if (!midi)
        return false;
    if (midi->input().open())
        return true;
    failure = midi->input().openFailureReason();
    return false;
}

bool UiContext::midiInputStart()
{
    return midi && midi->input().start();
}

bool UiContext::midiInputReset()
{
    return midi && midi->input().reset();
}

void UiContext::releaseMidiInputKeys()
{
    if (midi)
        midi->releaseMidiInputKeys();
}
