#include "app/UiQuorvaneView.h"

#include "app/Quorvane.h"
#include "app/UiDocument.h"
#include "app/UiFrameKeyboard.h"
#include "app/UiMainFrame.h"
#include "app/UiMenus.h"
#include "app/UiViewInput.h"
#include "editing/EdContext.h"
#include "panels/UiProperties.h"
#include "panels/UiContextPalette.h"
#include "panels/UiInstrumentPanel.h"
#include "playback/MpPlayer.h"
#include "playback/MpPlayerContext.h"

#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/utils.h>

wxIMPLEMENT_DYNAMIC_CLASS(UiQuorvaneView, wxView);

namespace {

// The process's first context, which every later one shares; it outlives
// the views and goes with the main frame.
wxGLContext* sharedContext = nullptr;

unsigned mouseFlags(const wxMouseState& state)
{
    unsigned flags = 0;
    if (state.LeftIsDown())
        flags |= UiViewInput::leftButton;
    if (state.RightIsDown())
        flags |= UiViewInput::rightButton;
    if (state.MiddleIsDown())
        flags |= UiViewInput::middleButton;
    if (state.ShiftDown())
        flags |= UiViewInput::shift;
    if (state.ControlDown())
        flags |= UiViewInput::control;
    return flags;
}

// The canvas attributes for the "Antialiasing" setting: the most samples
// the display supports, down to none.
wxGLAttributes chooseAttributes(int antialiasing, int& samples)
{
    int counts[4] = {};
    int n = ReOpenGL::sampleCounts(antialiasing, counts);
    for (int i = 0; i < n; ++i) {
        wxGLAttributes attributes;
        attributes.PlatformDefaults().RGBA().DoubleBuffer().Depth(24);
        if (counts[i] > 0)
            attributes.SampleBuffers(1).Samplers(counts[i]);
        attributes.EndList();
        if (wxGLCanvas::IsDisplaySupported(attributes)) {
            samples = counts[i];
            return attributes;
        }
    }
    samples = 0;
    wxGLAttributes fallback;
    fallback.Defaults().EndList();
    return fallback;
}

}  // namespace

UiViewCanvas::UiViewCanvas(wxWindow* parent, const wxGLAttributes& attributes, UiQuorvaneView& view)
    : wxGLCanvas(parent, attributes, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS), view(view)
{
    // The frame covers the whole client area: nothing is erased.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &UiViewCanvas::onPaint, this);
    Bind(wxEVT_MOUSEWHEEL, &UiViewCanvas::onMouse, this);
    Bind(wxEVT_MOTION, &UiViewCanvas::onMouse, this);
    Bind(wxEVT_LEFT_DOWN, &UiViewCanvas::onMouse, this);
    Bind(wxEVT_LEFT_UP, &UiViewCanvas::onMouse, this);
    Bind(wxEVT_RIGHT_DOWN, &UiViewCanvas::onMouse, this);
    Bind(wxEVT_RIGHT_UP, &UiViewCanvas::onMouse, this);
    Bind(wxEVT_MIDDLE_DOWN, &UiViewCanvas::onMouse, this);
    Bind(wxEVT_MIDDLE_UP, &UiViewCanvas::onMouse, this);
    Bind(wxEVT_MIDDLE_DCLICK, &UiViewCanvas::onMouse, this);
    // The view's own right click opens the menu: the toolkit's is not wanted.
    Bind(wxEVT_CONTEXT_MENU, [](wxContextMenuEvent&) {});
    Bind(wxEVT_KEY_DOWN, &UiViewCanvas::onKey, this);
    Bind(wxEVT_KEY_UP, &UiViewCanvas::onKey, this);
    Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
        event.Skip();
        if (UiViewCore* core = this->view.core())
            core->idleHover(GetScreenRect().Contains(wxGetMousePosition()));
    });
    Bind(wxEVT_KILL_FOCUS, [](wxFocusEvent& event) {
        UiViewKeys::shared().clear();
        event.Skip();
    });
}

void UiViewCanvas::onPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    view.paint();
}

void UiViewCanvas::onMouse(wxMouseEvent& event)
{
    UiViewCore* core = view.core();
    if (!core)
        return;
    UiViewInput::Mouse mouse;
    mouse.x = event.GetX();
    mouse.y = event.GetY();
    mouse.flags = mouseFlags(event);
    if (event.GetEventType() == wxEVT_MOUSEWHEEL) {
        // One notch per event, horizontal wheels aside.
        if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL)
            return;
        core->mouseWheel(mouse.x, mouse.y, event.GetWheelRotation());
        return;
    }
    if (event.GetEventType() == wxEVT_LEFT_DOWN) {
        SetFocus();
        if (!core->leftButtonDown(mouse.flags, mouse.x, mouse.y))
            event.Skip();
        return;
    }
    if (event.GetEventType() == wxEVT_LEFT_UP) {
        if (!core->leftButtonUp(mouse.flags, mouse.x, mouse.y))
            event.Skip();
        return;
    }
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_RIGHT_DOWN) {
        core->rightButtonDown(mouse.flags, mouse.x, mouse.y);
        return;
    }
    if (type == wxEVT_RIGHT_UP) {
        core->rightButtonUp(mouse.flags, mouse.x, mouse.y);
        return;
    }
    if (type == wxEVT_MIDDLE_DOWN) {
        core->middleButtonDown(mouse.flags, mouse.x, mouse.y);
        return;
    }
    if (type == wxEVT_MIDDLE_UP) {
        core->middleButtonUp(mouse.flags, mouse.x, mouse.y);
        return;
    }
    if (type == wxEVT_MIDDLE_DCLICK) {
        core->middleButtonDoubleClick(mouse.flags, mouse.x, mouse.y);
        return;
    }
    if (!core->mouseMove(mouse.flags, mouse.x, mouse.y)) {
        int width = 0;
        int height = 0;
        GetClientSize(&width, &height);
        // Only entering or leaving a wheel widget changes the picture.
        if (core->renderer.isScrollWheelHoverChanged(width, height, mouse.x, mouse.y))
            core->view.drawFrame(mouse.x, mouse.y);
    }
}

void UiViewCanvas::onKey(wxKeyEvent& event)
{
    UiViewCore* core = view.core();
    if (!core) {
        event.Skip();
        return;
    }
    bool down = event.GetEventType() == wxEVT_KEY_DOWN;
    // The codes of the keyboard in force: note keys by their place. The
    // menus' shortcuts come before the tool and the note keys.
    UiMainFrame* frame = Quorvane::exists() ? Quorvane::instance().mainFrame() : nullptr;
    if (down && frame && frame->keyboard().isMenuShortcut(event)) {
        event.Skip();
        return;
    }
    const int code = frame ? int(frame->keyboard().codeOf(event)) : event.GetKeyCode();
    UiViewInput::Key key = down ? UiViewKeys::shared().press(event.GetRawKeyCode(), code)
                                : UiViewKeys::shared().release(event.GetRawKeyCode(), code);
    if (down)
        core->keyDown(key.code, key.repeat, key.flags);
    else
        core->keyUp(key.code, key.repeat, key.flags);
}

bool UiCanvasHost::isCurrent() const
{
    return ReGLHost::current() == this;
}

void UiCanvasHost::swapBuffers()
{
    canvas->SwapBuffers();
}

const void* UiCanvasHost::shareGroup() const
{
    return sharedContext ? static_cast<const void*>(sharedContext) : static_cast<const void*>(context);
}

bool UiCanvasHost::activate()
{
    return canvas->IsShownOnScreen() && context->SetCurrent(*canvas);
}

UiQuorvaneView::~UiQuorvaneView()
{
    delete viewCore;
    delete host;
    if (ownsContext)
        delete context;
}

UiQuorvaneView* UiQuorvaneView::activeView()
{
    if (!Quorvane::exists() || !Quorvane::instance().mainFrame())
        return nullptr;
    UiDocManager* manager = Quorvane::instance().documentManager();
    if (!manager)
        return nullptr;
    return wxDynamicCast(manager->GetCurrentView(), UiQuorvaneView);
}

void UiQuorvaneView::releaseSharedContext()
{
    delete sharedContext;
    sharedContext = nullptr;
}

wxGLContext* UiQuorvaneView::sharedGLContext()
{
    return sharedContext;
}

bool UiQuorvaneView::OnCreate(wxDocument* document, long flags)
{
    if (!wxView::OnCreate(document, flags) || !Quorvane::exists())
        return false;
    UiMainFrame* parent = Quorvane::instance().mainFrame();
    UiDocument* adapter = wxDynamicCast(document, UiDocument);
    if (!parent || !adapter)
        return false;
    UiChildFrame* child = new UiChildFrame(document, this, parent);
    wxGLAttributes attributes = chooseAttributes(Quorvane::instance().settings.antialiasing, sampleCount);
    drawingCanvas = new UiViewCanvas(child, attributes, *this);
    context = sharedContext ? new wxGLContext(drawingCanvas, sharedContext) : new wxGLContext(drawingCanvas);
    if (!context->IsOK()) {
        // A context that cannot share is better than none.
        delete context;
        context = new wxGLContext(drawingCanvas);
    }
    if (!sharedContext && context->IsOK())
        sharedContext = context;
    ownsContext = context != sharedContext;
    host = new UiCanvasHost(drawingCanvas, context);
    viewCore = new UiViewCore(*this, &adapter->document());
    // The panes join this list as they are built, after the application.
    viewCore->renderer.addObserver(&appObserver);
    if (UiMainFrame* frame = Quorvane::instance().mainFrame())
        if (auto* pane = wxDynamicCast(frame->paneWindow(UiMainFrame::properties), UiProperties))
            viewCore->renderer.addObserver(pane);
    for (UiInstrumentPanel* panel : UiInstrumentPanel::panels())
        viewCore->renderer.addObserver(panel);
    viewCore->renderer.addObserver(UiContextPalette::viewObserver());
    SetFrame(child);
    child->Show();
    return true;
}

void UiQuorvaneView::OnUpdate(wxView*, wxObject*)
{
    // The first update comes once the document is read: its camera then.
    if (!cameraTaken && viewCore) {
        viewCore->takeDocumentCamera();
        cameraTaken = true;
    }
    if (drawingCanvas)
        drawingCanvas->Refresh(false);
}

bool UiQuorvaneView::OnClose(bool deleteWindow)
{
    if (!wxView::OnClose(deleteWindow))
        return false;
    if (viewCore)
        viewCore->discardPendingTool();
    Activate(false);
    if (deleteWindow && GetFrame()) {
        GetFrame()->Destroy();
        SetFrame(nullptr);
    }
    if (Quorvane::exists())
        if (UiMainFrame* frame = Quorvane::instance().mainFrame())
            frame->CallAfter([frame] { frame->documentTitleChanged(nullptr); });
    return true;
}

void UiQuorvaneView::OnChangeFilename()
{
    wxView::OnChangeFilename();
    if (Quorvane::exists())
        if (UiMainFrame* frame = Quorvane::instance().mainFrame())
            frame->documentTitleChanged(nullptr);
}

void UiQuorvaneView::OnActivateView(bool activate, wxView* activated, wxView* deactivated)
{
    wxView::OnActivateView(activate, activated, deactivated);
    if (!viewCore)
        return;
    if (firstActivation) {
        firstActivation = false;
        viewCore->mouseMove(0, 0, 0);
    }
    if (activate && activated == this) {
        if (drawingCanvas && drawingCanvas->IsShownOnScreen()) {
            viewCore->redraw(false);
        }
        notifyObservers();
    } else if (!activate && deactivated == this) {
        viewCore->deactivate();
        if (!activated || activated == this)
            notifyObservers();
    }
    // The browser follows the active document; a closing document's window
    // is still the active one now, so the browser looks again afterwards.
    EdContext::current().refreshProjectBrowser();
    if (!activate && Quorvane::exists())
        if (wxWindow* frame = Quorvane::instance().mainFrame())
            frame->CallAfter([] { EdContext::current().refreshProjectBrowser(); });
}

void UiQuorvaneView::notifyObservers()
{
    const BcArray<EdSelectionObserver*>& observers = viewCore->renderer.observerArray();
    for (int i = 0; i < observers.count(); ++i)
        observers[i]->selectionChanged();
}

void UiQuorvaneView::AppObserver::selectionChanged()
{
    if (Quorvane::exists())
        Quorvane::instance().selectionChanged();
}

void UiQuorvaneView::paint()
{
    if (!viewCore)
        return;
    int x = -1;
    int y = -1;
    pointer(x, y);
    viewCore->view.drawFrame(x, y);
}

unsigned long long UiQuorvaneView::tickCount()
{
    return EdContext::current().tickCount();
}

void UiQuorvaneView::clientSize(int& width, int& height)
{
    width = 0;
    height = 0;
    if (drawingCanvas)
        drawingCanvas->GetClientSize(&width, &height);
}

void UiQuorvaneView::pointer(int& x, int& y)
{
    x = -1;
    y = -1;
    if (!drawingCanvas)
        return;
    wxPoint point = drawingCanvas->ScreenToClient(wxGetMousePosition());
    x = point.x;
    y = point.y;
}

void UiQuorvaneView::present(const UiViewFrame& frame)
{
    if (!host || !viewCore || !drawingCanvas || !host->makeCurrent())
        return;
    if (viewCore->renderer.host() != host)
        viewCore->renderer.createContext(host);
    // The camera works in logical pixels; the viewport takes the physical ones.
    double scale = drawingCanvas->GetContentScaleFactor();
    UiViewFrame physical = frame;
    physical.width = int(frame.width * scale + 0.5);
    physical.height = int(frame.height * scale + 0.5);
    if (frame.pointerX >= 0 && frame.pointerY >= 0) {
        physical.pointerX = int(frame.pointerX * scale);
        physical.pointerY = int(frame.pointerY * scale);
    }
    viewCore->renderFrame(physical);
}

bool UiQuorvaneView::playerSounding()
{
    EdContext& context = EdContext::current();
    return context.playerIsPlaying() && !context.playerIsPaused();
}

void UiQuorvaneView::refreshPanels()
{
    // The instrument panels join here when they are built.
}

void UiQuorvaneView::takeFocus()
{
    if (drawingCanvas)
        drawingCanvas->SetFocus();
}

void UiQuorvaneView::screenToClient(int& x, int& y)
{
    if (!drawingCanvas)
        return;
    wxPoint point = drawingCanvas->ScreenToClient(wxPoint(x, y));
    x = point.x;
    y = point.y;
}

void UiQuorvaneView::forwardKey(unsigned key, unsigned repeat, unsigned flags, bool down)
{
    if (UiMainFrame* frame = Quorvane::instance().mainFrame())
        frame->keyboard().key(key, UiFrameKeyboard::modifiersNow(), down);
}

bool UiQuorvaneView::rightButtonPans()
{
    return !Quorvane::exists() || Quorvane::instance().settings.useRightButtonToPan;
}

int UiQuorvaneView::dragThreshold()
{
    return Quorvane::exists() ? Quorvane::instance().settings.dragThreshold : 10;
}

bool UiQuorvaneView::pointerInWindow()
{
    return drawingCanvas && drawingCanvas->GetScreenRect().Contains(wxGetMousePosition());
}

void UiQuorvaneView::showContextMenu(int x, int y)
{
    if (!drawingCanvas || !Quorvane::exists())
        return;
    Quorvane& app = Quorvane::instance();
    UiMainFrame* frame = app.mainFrame();
    if (!frame)
        return;
    wxMenu* menu = UiMenus::buildPopup(119, app);
    const int chosen = drawingCanvas->GetPopupMenuSelectionFromUser(*menu, wxPoint(x, y));
    delete menu;
    if (chosen != wxID_NONE)
        frame->runCommand(UiMenus::commandId(chosen));
}

void UiQuorvaneView::previewKey(int key)
{
    if (MpPlayerContext* context = dynamic_cast<MpPlayerContext*>(&EdContext::current()))
        if (MpPlayer* player = context->player())
            player->keyTap(key);
}

UiFocusPane* UiQuorvaneView::focusedPane()
{
    for (wxWindow* window = wxWindow::FindFocus(); window; window = window->GetParent()) {
        if (window == drawingCanvas)
            return nullptr;
        if (UiFocusPane* pane = dynamic_cast<UiFocusPane*>(window))
            return pane;
    }
    return nullptr;
}
