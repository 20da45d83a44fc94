#include "editing/EdContext.h"

#include "editing/EdClipboard.h"
#include "foundation/BcString.h"

#include <chrono>

static EdContext headlessContext;
static EdContext* installedContext = nullptr;

EdContext::EdContext() = default;

EdContext::~EdContext()
{
    if (installedContext == this)
        installedContext = nullptr;
}

EdContext& EdContext::current()
{
    return installedContext ? *installedContext : headlessContext;
}

EdContext* EdContext::install(EdContext* context)
{
    EdContext* previous = installedContext;
    installedContext = context == &headlessContext ? nullptr : context;
    return previous;
}

QuorvaneDocument* EdContext::activeDocument() { return nullptr; }
EdView* EdContext::activeView() { return nullptr; }
void EdContext::updateAllViews(QuorvaneDocument*, EdView*) {}

bool EdContext::playerIsPlaying() { return false; }
bool EdContext::playerPlays(const QuorvaneDocument*) { return false; }
bool EdContext::playerPosition(int, EdNotePath&) { return false; }
void EdContext::playerUpdate(MnElement*) {}
void EdContext::playerStop() {}
void EdContext::setToolbarTempo(int) {}
void EdContext::adoptScoreTuning(MnScore*) {}

void EdContext::refreshProjectBrowser() {}
bool EdContext::projectBrowserHasFocus() { return false; }
bool EdContext::deleteSelectedVoice() { return false; }

EdClipboard& EdContext::clipboard()
{
    if (!copyBuffer)
        copyBuffer = std::make_unique<EdClipboard>();
    return *copyBuffer;
}

void EdContext::showHint(unsigned int) {}
void EdContext::showInformation(unsigned int) {}
void EdContext::showInformationText(const BcString&) {}
bool EdContext::askYesNo(unsigned int) { return false; }

bool EdContext::isShiftDown() { return false; }
bool EdContext::isCtrlDown() { return false; }
bool EdContext::isHeld(HeldKey) { return false; }
bool EdContext::pointerPosition(int&, int&) { return false; }

unsigned long long EdContext::tickCount()
{
    const unsigned long long ticks = clockMilliseconds();
    return ticks == 0 ? 1 : ticks;
}

unsigned long long EdContext::clockMilliseconds()
{
    using namespace std::chrono;
    return static_cast<unsigned long long>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool EdContext::runGoToDialog(int, int&) { return false; }
bool EdContext::runTransposeDialog(TransposeChoice&) { return false; }
void EdContext::runSelectionObserver() {}
bool EdContext::visibleFretboardTuning(VisibleFretboard&) { return false; }
bool EdContext::chooseFile(bool, const BcString&, const BcString&, BcString&, int&) { return false; }

bool EdContext::chooseFile(bool save, const BcString& filter, BcString& path)
{
    int filterIndex = 0;
    return chooseFile(save, filter, BcString(), path, filterIndex);
}

bool EdContext::playerIsOpen() { return false; }
bool EdContext::playerIsPaused() { return false; }
void EdContext::playerPlay(MnScore*, int, int) {}
void EdContext::playerPause() {}
void EdContext::playerResume() {}
void EdContext::playerNoteOffAll() {}
int EdContext::playerPreviewInstrument() { return previewInstrument; }
void EdContext::setPlayerPreviewInstrument(int instrument) { previewInstrument = instrument; }
unsigned EdContext::playerVolume() { return 0; }
void EdContext::setPlayerVolume(unsigned) {}
unsigned EdContext::playerSavedVolume() { return 0; }
void EdContext::setPlayerSavedVolume(unsigned) {}
bool EdContext::playerIsMuted() { return false; }

bool EdContext::recorderIsRecording() { return false; }
void EdContext::recorderStart(unsigned long long) {}
void EdContext::recorderStop() {}
MnScore* EdContext::recorderTakeScore() { return nullptr; }

int EdContext::midiInputState() { return midiInputClosed; }
bool EdContext::midiInputOpen(BcString&) { return false; }
bool EdContext::midiInputStart() { return false; }
bool EdContext::midiInputReset() { return false; }
void EdContext::releaseMidiInputKeys() {}

bool EdContext::hasMainWindow() { return false; }
void EdContext::refreshInstrumentPanes() {}
void EdContext::redrawPianoKeyboard() {}

bool EdContext::fretboardTuning(FretboardTuning&) { return false; }
bool EdContext::setFretboardTuning(const FretboardTuning&) { return false; }
bool EdContext::fretboardCapo(FretboardCapo&) { return false; }
void EdContext::setFretboardCapo(const FretboardCapo&) {}
bool EdContext::fretboardScreenRect(int&, int&, int&, int&) { return false; }
void EdContext::movePointer(int, int) {}
void EdContext::runFretboardTuningDialog(const FretboardTuning&) {}

bool EdContext::newDocument() { return false; }
void EdContext::runParallaxScore(MnScore*, int, int) {}
bool EdContext::run3dPrinting() { return false; }
void EdContext::runManuscriptPaper(MnScore*) {}

