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
bool EdContext::chooseFile(bool, const BcString&, BcString&) { return false; }
void EdContext::runSelectionObserver() {}
bool EdContext::visibleFretboardTuning(FretboardTuning&) { return false; }
