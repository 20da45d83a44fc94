#include "panels/UiPropertiesDlg.h"

#include "app/UiDataExchange.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdView.h"
#include "foundation/BcClass.h"
#include "model/MnElement.h"
#include "panels/UiPageWindow.h"

#include <algorithm>
#include <climits>

namespace {

// The space below the lowest control, and the scroll steps, in pixels.
constexpr int contentMargin = 8;
constexpr int lineStep = 6;
constexpr int pageStep = 24;
// Above this display scale pictures are stretched rather than centred.
constexpr double stretchThreshold = 1.51;

}

const char* const UiPropertiesDlg::various = "*Various*";

UiPropertiesDlg::UiPropertiesDlg(unsigned templateId)
    : dialogTemplateId(templateId), anchors([this](int id, UiAnchorRect& rect) {
          return window && controls && controls->has(id) && window->controlRect(id, rect);
      })
{
}

UiPropertiesDlg::~UiPropertiesDlg() = default;

void UiPropertiesDlg::create(std::unique_ptr<UiControlHost> made, UiPageWindow* pageWindow, double displayScale)
{
    controls = std::move(made);
    window = pageWindow;
    if (!controls)
        return;
    // The pictures come at the display's scale; at 1 they are centred at
    // their own size, as the template shows them.
    if (window && displayScale >= 1.0)
        scaleBitmaps();
    if (window)
        setupAnchors();
    initDialog();
    controls->setHandler([this](int id, UiControlHost::Notification what) {
        if (initialised)
            notified(id, what);
    });
    initialised = true;
}

bool UiPropertiesDlg::loadElements(const BcArray<MnElement*>& list)
{
    if (applying)
        return true;
    const BcClass* cls = elementClass();
    for (int i = 0; i < list.count(); ++i) {
        MnElement* element = list[i];
        if (!element || !cls)
            continue;
        const BcClass* own = element->dynamicClass();
        if (own != cls && !own->isDerivedFrom(cls))
            continue;
        // Merging goes by the position in the list handed over.
        if (loadElement(element, i > 0))
            elements.add(element);
    }
    if (elements.isEmpty())
        return false;
    updateData(false);
    return true;
}

bool UiPropertiesDlg::apply(bool layoutChanged)
{
    if (applying)
        return true;
    applying = true;
    EdView* view = EdContext::current().activeView();
    if (view && view->hasPendingTool()) {
        // A transaction of our own would cancel the tool: the tool's takes
        // the changes.
        for (int i = 0; i < elements.count(); ++i)
            if (applyToElement(elements.element(i)))
                view->redraw(true);
    } else {
        EdCommand command;
        for (int i = 0; i < elements.count(); ++i) {
            if (applyToElement(elements.element(i))) {
                command.modified = true;
                command.layoutChanged = layoutChanged;
                command.noUndo = false;
            }
        }
        command.close();
    }
    applying = false;
    return true;
}

void UiPropertiesDlg::onControlChange()
{
    updateData(true);
    apply(true);
}

void UiPropertiesDlg::updateData(bool fromControls)
{
    if (!controls)
        return;
    UiDataExchange dx(*controls, fromControls);
    exchange(dx);
}

void UiPropertiesDlg::exchangeNumber(UiDataExchange& dx, int controlId, int& value, bool mixed)
{
    if (!dx.fromControls()) {
        controls->setText(controlId, mixed ? std::string(various) : std::to_string(value));
        return;
    }
    if (mixed)
        return;
    std::string text = controls->text(controlId);
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return;
    value = std::stoi(text);
}

std::string UiPropertiesDlg::digitsOnly(int controlId)
{
    std::string text = controls->text(controlId);
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    if (digits != text)
        controls->setText(controlId, digits);
    return digits;
}

bool UiPropertiesDlg::numberTyped(int controlId, bool& mixed)
{
    if (!initialised || !controls)
        return false;
    mixed = false;
    if (digitsOnly(controlId).empty())
        return false;
    updateData(true);
    apply(true);
    return true;
}

bool UiPropertiesDlg::addAnchors(const UiAnchorSpec* table, int count)
{
    if (!window)
        return false;
    return anchors.addAnchors(table, count);
}

void UiPropertiesDlg::setScaledBitmap(int controlId, int bitmapId)
{
    if (window && controls && controls->has(controlId))
        window->setScaledBitmap(controlId, bitmapId);
}

void UiPropertiesDlg::frameControl(int controlId, int color)
{
    if (window && controls && controls->has(controlId))
        window->frameControl(controlId, color);
}

void UiPropertiesDlg::setButtonIcon(int controlId, int iconId)
{
    if (window && controls && controls->has(controlId))
        window->setButtonIcon(controlId, iconId);
}

void UiPropertiesDlg::resized(int width, int height)
{
    if (!initialised || !window)
        return;
    window->scrollContent(scrollPos);
    if (anchors.hasInitialSize()) {
        for (int i = 0; i < anchors.count(); ++i) {
            const UiControlAnchor& anchor = anchors.at(i);
            if (controls->has(anchor.controlId))
                window->placeControl(anchor.controlId, anchors.place(anchor, width, height));
        }
    }
    if (height != lastHeight) {
        int lowest = window->lowestShownBottom();
        if (lowest > 0)
            content = lowest + contentMargin;
    }
    window->scrollContent(-scrollPos);
    if (height == lastHeight)
        return;
    int old = lastHeight;
    lastHeight = height;
    if (height < content) {
        if (window->scrollBarShown()) {
            // Growing scrolls back toward the top; shrinking keeps the
            // content's bottom where it was.
            int d = std::min(height - old, scrollPos);
            scrollPos -= d;
            window->scrollContent(d);
        } else {
            window->showScrollBar(true);
        }
        window->setScrollBar(content, height, scrollPos);
    } else {
        window->scrollContent(scrollPos);
        scrollPos = 0;
        if (window->scrollBarShown())
            window->showScrollBar(false);
    }
}

void UiPropertiesDlg::scroll(ScrollRequest request, int thumb)
{
    if (!window)
        return;
    int room = content - lastHeight;
    int d = 0;
    switch (request) {
    case lineUp:
        d = -std::min(scrollPos, lineStep);
        break;
    case lineDown:
        d = std::min(room - scrollPos, lineStep);
        break;
    case pageUp:
        d = -std::min(scrollPos, pageStep);
        break;
    case pageDown:
        d = std::min(room - scrollPos, pageStep);
        break;
    case thumbPosition:
    case thumbTrack:
        d = std::clamp(thumb, 0, std::max(room, 0)) - scrollPos;
        break;
    case top:
        d = -scrollPos;
        break;
    case bottom:
        d = room - scrollPos;
        break;
    case endScroll:
        return;
    }
    // Never past either end, even when the page grew taller than its content.
    d = std::clamp(scrollPos + d, 0, std::max(room, 0)) - scrollPos;
    if (d == 0)
        return;
    scrollPos += d;
    window->setScrollBar(content, lastHeight, scrollPos);
    window->scrollContent(-d);
}

void UiPropertiesDlg::wheel(int delta)
{
    if (!window || !window->scrollBarShown() || delta == 0)
        return;
    scroll(delta < 0 ? pageDown : pageUp);
}

UiPropertiesDlg::BitmapLayout UiPropertiesDlg::bitmapLayout(int controlWidth, int controlHeight, int sourceWidth,
                                                            int sourceHeight, double scale)
{
    BitmapLayout layout;
    layout.width = int(controlWidth * scale);
    layout.height = int(controlHeight * scale);
    if (scale > stretchThreshold) {
        layout.stretched = true;
        layout.drawnWidth = layout.width;
        layout.drawnHeight = layout.height;
        return layout;
    }
    layout.x = (layout.width - sourceWidth) / 2;
    layout.y = (layout.height - sourceHeight) / 2;
    layout.drawnWidth = sourceWidth;
    layout.drawnHeight = sourceHeight;
    return layout;
}
