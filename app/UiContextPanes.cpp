#include "app/UiContext.h"

#include "app/Quorvane.h"
#include "app/UiFretboardTuningDialog.h"
#include "app/UiMainFrame.h"
#include "panels/UiFretboard.h"
#include "panels/UiPianoKeyboard.h"
#include "panels/UiProjectBrowser.h"

namespace {

UiProjectBrowser* browserOf(Quorvane& app)
{
    UiMainFrame* frame = app.mainFrame();
    return frame ? frame->projectBrowserPane() : nullptr;
}

UiFretboard* fretboardOf(Quorvane& app)
{
    UiMainFrame* frame = app.mainFrame();
    return frame ? frame->fretboardPane() : nullptr;
}

}

void UiContext::refreshInstrumentPanes()
{
    UiInstrumentPanel::refreshAll(true);
}

void UiContext::redrawPianoKeyboard()
{
    UiMainFrame* frame = app.mainFrame();
    if (UiPianoKeyboard* piano = frame ? frame->pianoKeyboardPane() : nullptr) {
        piano->Refresh();
        piano->Update();
    }
}

void UiContext::adoptScoreTuning(MnScore* score)
{
    if (UiFretboard* fretboard = fretboardOf(app))
        fretboard->adoptScoreTuning(score);
}

bool UiContext::visibleFretboardTuning(VisibleFretboard& out)
{
    UiFretboard* fretboard = fretboardOf(app);
    if (!fretboard || !fretboard->IsShownOnScreen())
        return false;
    const FretboardTuning& tuning = fretboard->tuning();
    VisibleFretboard shown;
    shown.stringCount = tuning.strings;
    for (int s = 0; s < tuning.strings && s < VisibleFretboard::maxStrings; ++s) {
        shown.letter[s] = tuning.pitch[s];
        shown.octave[s] = tuning.octave[s];
    }
    shown.frets = tuning.frets;
    shown.capoOn = fretboard->isCapoOn();
    shown.capoFret = fretboard->capoFret();
    out = shown;
    return true;
}

bool UiContext::fretboardTuning(FretboardTuning& tuning)
{
    UiFretboard* fretboard = fretboardOf(app);
    if (!fretboard)
        return false;
    tuning = fretboard->tuning();
    return true;
}

bool UiContext::setFretboardTuning(const FretboardTuning& tuning)
{
    UiFretboard* fretboard = fretboardOf(app);
    return fretboard && fretboard->setTuning(tuning);
}

bool UiContext::fretboardCapo(FretboardCapo& capo)
{
    UiFretboard* fretboard = fretboardOf(app);
    if (!fretboard)
        return false;
    capo.on = fretboard->isCapoOn();
    capo.fret = fretboard->capoFret();
    capo.awaitingPointer = fretboard->isCapoAwaitingPointer();
    return true;
}

void UiContext::setFretboardCapo(const FretboardCapo& capo)
{
    if (UiFretboard* fretboard = fretboardOf(app))
        fretboard->setCapo(capo.on, capo.fret, capo.awaitingPointer);
}

bool UiContext::fretboardScreenRect(int& left, int& top, int& right, int& bottom)
{
    UiFretboard* fretboard = fretboardOf(app);
    if (!fretboard || !fretboard->IsShownOnScreen())
        return false;
    const wxPoint origin = fretboard->ClientToScreen(wxPoint(0, 0));
    const wxSize size = fretboard->GetClientSize();
    left = origin.x;
    top = origin.y;
    right = origin.x + size.x;
    bottom = origin.y + size.y;
    return true;
}

void UiContext::movePointer(int x, int y)
{
    // Where the toolkit cannot move the pointer (Wayland) nothing happens:
    // the capo waits for the pointer to come.
    if (UiFretboard* fretboard = fretboardOf(app)) {
        const wxPoint at = fretboard->ScreenToClient(wxPoint(x, y));
        fretboard->WarpPointer(at.x, at.y);
    }
}

void UiContext::runFretboardTuningDialog(const FretboardTuning&)
{
    if (UiFretboard* fretboard = fretboardOf(app))
        UiFretboardTuningDialog::run(app, *fretboard);
}

void UiContext::refreshProjectBrowser()
{
    if (UiProjectBrowser* browser = browserOf(app))
        browser->refresh();
}

bool UiContext::projectBrowserHasFocus()
{
    UiProjectBrowser* browser = browserOf(app);
    return browser && browser->hasFocusInside();
}

bool UiContext::deleteSelectedVoice()
{
    UiProjectBrowser* browser = browserOf(app);
    return browser && browser->deleteSelectedVoice();
}
