#include "panels/UiPianoKeyboard.h"

#include "editing/EdSelection.h"
#include "model/MnNote.h"
#include "panels/UiHeldKeys.h"
#include "panels/UiInstrumentServices.h"
#include "platform/gui/UiScale.h"

#include <cstring>

namespace {

int towardZero(double value)
{
    return int(value);
}

// The width of a white key of a pane.
double keyWidth(int width)
{
    return (width - 1) / 52.0;
}

std::string utf8Of(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
    return out;
}

void refreshEveryPanel()
{
    UiInstrumentPanel::refreshAll(false);
}

}

UiPianoKeyboard::UiPianoKeyboard(wxWindow* parent, wxWindowID id) : UiInstrumentPanel(parent, id)
{
    Bind(wxEVT_LEFT_DOWN, &UiPianoKeyboard::onLeftDown, this);
    // The second press of a double click plays nothing.
    Bind(wxEVT_LEFT_DCLICK, [](wxMouseEvent&) {});
    Bind(wxEVT_LEFT_UP, &UiPianoKeyboard::onLeftUp, this);
    Bind(wxEVT_MOTION, &UiPianoKeyboard::onMotion, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &UiPianoKeyboard::onCaptureLost, this);
}

bool UiPianoKeyboard::hasBlackKey(int i)
{
    return i == 1 || (i >= 3 && i <= 51 && (i - 3) % 7 != 2 && (i - 3) % 7 != 6);
}

UiRect UiPianoKeyboard::whiteKeyOutline(int i, int width, int height)
{
    const double w = keyWidth(width);
    return UiRect{towardZero((i - 1) * w + 1), 4, towardZero(i * w), height - 1};
}

UiRect UiPianoKeyboard::blackKeyBody(int i, int width, int height)
{
    const double w = keyWidth(width), c = i * w, q = w / 4;
    return UiRect{towardZero(c - q), 3, towardZero(c + q + 1), towardZero(2.0 * height / 3)};
}

int UiPianoKeyboard::keyAt(int x, int y, int width, int height)
{
    if (y < 4 || y >= height || x < 0 || x >= width)
        return -1;
    const double w = keyWidth(width), q = w / 4;
    const int h = towardZero(2.0 * height / 3);
    int n = 0;
    for (int i = 1; i <= whiteKeyCount; ++i) {
        const bool black = hasBlackKey(i);
        if (black) {
            const double c = i * w;
            if (x >= towardZero(c - q) && x < towardZero(c + q + 1) && y < h)
                return n + 1;
        }
        if (x >= towardZero((i - 1) * w + 1) && x < towardZero(i * w))
            return n;
        n += black ? 2 : 1;
    }
    return -1;
}

void UiPianoKeyboard::computeKeyStates(unsigned char out[keyCount])
{
    UiInstrumentServices& services = UiInstrumentServices::current();
    unsigned char sounding[keyCount] = {};
    services.soundingKeys(sounding);
    for (int k = 0; k < keyCount; ++k)
        out[k] = UiHeldKeys::isHeld(k) || sounding[k] ? soundingBit : 0;
    for (UiInstrumentPanel* panel : panels()) {
        const int key = panel->pressedKey();
        if (key >= 0 && key < keyCount)
            out[key] |= soundingBit;
    }
    if (const EdSelection* selection = services.activeSelection()) {
        const BcClass* noteClass = MnNote::staticClass();
        for (int i = 0, count = selection->count(); i < count; ++i) {
            MnElement* element = selection->element(i);
            if (element && element->isKindOf(noteClass)) {
                const int key = static_cast<MnNote*>(element)->keyNumber();
                if (key >= 0 && key < keyCount)
                    out[key] |= selectedBit;
            }
        }
    }
}

void UiPianoKeyboard::refreshKeys(bool updateNow)
{
    if (!isShowing())
        return;
    unsigned char before[keyCount];
    std::memcpy(before, states, keyCount);
    computeKeyStates(states);
    if (std::memcmp(before, states, keyCount) == 0)
        return;
    Refresh();
    if (updateNow)
        Update();
}

void UiPianoKeyboard::paint(UiPainter& painter, int W, int H)
{
    computeKeyStates(states);
    const double w = keyWidth(W), q = w / 4;
    const int h = towardZero(2.0 * H / 3);
    painter.fill({0, 0, W, H}, backgroundColor);
    painter.fill({0, 0, W, 4}, outerStripColor);
    painter.fill({0, 1, W, 3}, innerStripColor);

    int n = 0;
    for (int i = 1; i <= whiteKeyCount; ++i) {
        const double x0 = (i - 1) * w, x1 = i * w;
        const unsigned char state = states[n];
        painter.fill({towardZero(x0 + 1), 4, towardZero(x1), H - 1}, blackColor);
        const unsigned face = state & soundingBit ? soundingColor : state & selectedBit ? selectedColor : whiteColor;
        painter.fill({towardZero(x0 + 2), 4, towardZero(x1 - 1), H - 1}, face);
        painter.fill({towardZero(x0 + 2), H - 1, towardZero(x1 - 1), H}, blackColor);
        n += hasBlackKey(i) ? 2 : 1;
    }
    n = 0;
    for (int i = 1; i <= whiteKeyCount; ++i) {
        if (!hasBlackKey(i)) {
            ++n;
            continue;
        }
        const double c = i * w;
        const unsigned char state = states[n + 1];
        painter.fill({towardZero(c - q + 1), 2, towardZero(c + q), 3}, blackColor);
        painter.fill({towardZero(c - q), 3, towardZero(c + q + 1), h}, blackColor);
        if (state != 0)
            painter.fill({towardZero(c - q + 1), 3, towardZero(c + q), h}, state & soundingBit ? soundingColor : selectedColor);
        else
            painter.fill({towardZero(c - q + 2), h - 5, towardZero(c + q - 1), h - 1}, highlightColor);
        painter.fill({towardZero(c - q + 1), h, towardZero(c + q), h + 1}, blackColor);
        n += 2;
    }
    paintLabels(painter, W, H);
    painter.blit();
}

void UiPianoKeyboard::paintLabels(UiPainter& painter, int W, int H)
{
    int mx = 0, my = 0;
    painter.measure("M", mx, my);
    const double w = keyWidth(W);
    if (w / 2 < mx || H - 4 < towardZero(3.8 * my))
        return;
    const double v = UiScale::s();
    const int h = towardZero(2.0 * H / 3);
    UiInstrumentServices& services = UiInstrumentServices::current();
    const std::u32string labels = services.keyLabels();
    int o = services.keyboardOctave();
    int t = services.keyboardTranspose();
    if (t < 0 && o > 1) {
        o -= 1;
        t += 12;
    }
    auto label = [&](int p) { return p >= 0 && p < int(labels.size()) ? utf8Of(labels[size_t(p)]) : std::string(); };
    static const int whiteSteps[7] = {0, 2, 3, 5, 7, 8, 10};
    // The sharps on the left edge of each white key of the mapping; 99 none.
    static const int blackSteps[7] = {-1, 1, 99, 4, 6, 99, 9};
    for (int k = 0; k <= 16; ++k) {
        const int e = whiteSteps[k % 7] + 12 * (k / 7);
        const int p = e - t;
        const int key = 12 * (o - 1) + e;
        if (p >= 0 && p <= 15 && key >= 0 && key <= 87)
            painter.text(label(p), towardZero((7 * (o - 1) + k) * w + w / 4), H - towardZero(6 * v), UiPainter::alignLeft,
                         whiteLabelColor);
    }
    for (int k = 0; k <= 16; ++k) {
        if (blackSteps[k % 7] == 99)
            continue;
        const int e = blackSteps[k % 7] + 12 * (k / 7);
        const int p = e - t;
        const int key = 12 * (o - 1) + e;
        if (p >= 0 && p <= 15 && key >= 0 && key <= 87)
            painter.text(label(p), towardZero((7 * (o - 1) + k) * w), h - towardZero(10 * v), UiPainter::alignCenter,
                         blackLabelColor);
    }
}

void UiPianoKeyboard::mouseDown(int x, int y)
{
    const wxSize size = GetClientSize();
    const int key = keyAt(x, y, size.x, size.y);
    if (key < 0)
        return;
    UiInstrumentServices& services = UiInstrumentServices::current();
    if (services.ctrlAndAltHeld()) {
        services.setKeyboardOctaveFromKey(key);
        return;
    }
    if (services.isRecording())
        services.recordKeyDown(key);
    else
        services.enterNote(key);
    services.keyDown(key);
    pressed = key;
    refreshEveryPanel();
}

void UiPianoKeyboard::mouseUp()
{
    if (pressed < 0)
        return;
    UiInstrumentServices& services = UiInstrumentServices::current();
    if (services.isRecording())
        services.recordKeyUp(pressed);
    services.keyUp(pressed);
    pressed = -1;
    refreshEveryPanel();
}

void UiPianoKeyboard::mouseMove(int x, int y, bool inside)
{
    if (pressed < 0)
        return;
    if (!inside) {
        // Leaving the pane lets go of the key, as a release would.
        mouseUp();
        return;
    }
    const wxSize size = GetClientSize();
    const int key = keyAt(x, y, size.x, size.y);
    if (key < 0 || key == pressed)
        return;
    UiInstrumentServices& services = UiInstrumentServices::current();
    // A glissando enters its notes even while recording.
    services.enterNote(key);
    services.keyDown(key);
    services.keyUp(pressed);
    pressed = key;
    refreshEveryPanel();
}

void UiPianoKeyboard::onLeftDown(wxMouseEvent& event)
{
    if (capturePress(event))
        mouseDown(event.GetX(), event.GetY());
}

void UiPianoKeyboard::onLeftUp(wxMouseEvent& event)
{
    if (HasCapture())
        ReleaseMouse();
    mouseUp();
    event.Skip();
}

void UiPianoKeyboard::onMotion(wxMouseEvent& event)
{
    const bool inside = containsClientPoint(event.GetX(), event.GetY());
    mouseMove(event.GetX(), event.GetY(), inside);
    if (!inside)
        event.Skip();
}

void UiPianoKeyboard::onCaptureLost(wxMouseCaptureLostEvent&)
{
    mouseUp();
}
