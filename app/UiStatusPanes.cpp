#include "app/UiStatusPanes.h"

#include "editing/EdCursor.h"
#include "editing/EdNotePath.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcStringResources.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnStaff.h"

#include <algorithm>
#include <cwchar>

namespace {

const UiStatusPanes::PaneDefinition definitions[UiStatusPanes::paneCount] = {
    {59217, UiStatusPanes::plain, 160, 0},
    {59218, UiStatusPanes::popOut, 180, 0},
    {59219, UiStatusPanes::stretch, 360, 0},
    {59220, UiStatusPanes::noBorders, 45, 33069},
    {59221, UiStatusPanes::noBorders, 45, 33070},
    {59222, UiStatusPanes::plain, 15, 0},
    {59223, UiStatusPanes::noBorders, 45, 33023},
    {59224, UiStatusPanes::plain, 15, 0},
    {59225, UiStatusPanes::plain, 45, 10097},
    {59226, UiStatusPanes::plain, 180, 0},
    {59227, UiStatusPanes::plain, 45, 0},
};

std::wstring wide(const BcString& text)
{
    std::wstring out;
    out.reserve(size_t(text.length()));
    const char16_t* units = text.chars();
    for (int i = 0; i < text.length(); ++i) {
        char32_t unit = units[i];
        // Surrogate pairs become one character.
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.length() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        out.push_back(wchar_t(unit));
    }
    return out;
}

std::wstring text(unsigned id)
{
    return wide(BcStringResources::current().loadString(id));
}

// The translated formats carry the English placeholders (a test of the
// catalogs holds them to it), so they may be handed to swprintf.
template <typename... Args>
std::wstring format(const std::wstring& pattern, Args... args)
{
    wchar_t buffer[512];
    int written = std::swprintf(buffer, sizeof buffer / sizeof buffer[0], pattern.c_str(), args...);
    return written < 0 ? std::wstring() : std::wstring(buffer, size_t(written));
}

// Snap and ortho as a drag would use them now: a tool that takes the
// modifier inverts the switch while the key is down.
bool effective(bool flag, unsigned toolModifiers, unsigned bit, bool keyDown)
{
    return flag != ((toolModifiers & bit) != 0 && keyDown);
}

}

constexpr int UiStatusPanes::clickOrder[6];

const UiStatusPanes::PaneDefinition& UiStatusPanes::definition(int pane)
{
    return definitions[std::clamp(pane, 0, paneCount - 1)];
}

int UiStatusPanes::width(int pane, double scale)
{
    if (pane == volume)
        return 3 * int(45 * scale);
    return int(definition(pane).width * scale);
}

void UiStatusPanes::layout(int barWidth, int barHeight, double scale, int gap, Rect rects[paneCount])
{
    int fixed = 0;
    for (int i = 0; i < paneCount; ++i)
        if (!(definitions[i].style & stretch))
            fixed += width(i, scale);
    fixed += gap * (paneCount - 1);
    int x = 0;
    for (int i = 0; i < paneCount; ++i) {
        int w = definitions[i].style & stretch ? std::max(0, barWidth - fixed) : width(i, scale);
        rects[i] = Rect{x, 0, w, barHeight};
        x += w + gap;
    }
}

int UiStatusPanes::clickedPane(const Rect rects[paneCount], int x, int y)
{
    for (int pane : clickOrder)
        if (rects[pane].contains(x, y))
            return pane;
    return -1;
}

UiStatusPanes::Click UiStatusPanes::clickOn(int pane)
{
    switch (pane) {
    case turn: return Click{postCommand, 32853};
    case volume: return Click{postCommand, 33074};
    case tracking: return Click{postCommand, 33023};
    case snap: return Click{toggleSnap, 0};
    case ortho: return Click{toggleOrtho, 0};
    case midiInput: return Click{postCommand, 32964};
    default: return Click{};
    }
}

unsigned UiStatusPanes::wheelCommand(int pane, bool playerOpen, int delta)
{
    if (pane != volume || !playerOpen)
        return 0;
    return delta >= 1 ? 33072u : 33073u;
}

int UiStatusPanes::volumePercent(unsigned savedVolume)
{
    int percent = int((savedVolume & 0xFFFFu) * 100u / 0xFFFFu);
    int rest = percent % 5;
    return rest <= 1 ? percent - rest : percent + 5 - rest;
}

void UiStatusPanes::states(const Inputs& inputs, State out[paneCount])
{
    const EdCommandInputs& c = inputs.commands;
    for (int i = 0; i < paneCount; ++i)
        out[i] = State{};

    out[octave].text = format(text(10048), inputs.keyboardOctave);
    if (inputs.keyboardTranspose > 0)
        out[octave].text += format(L"  (+%d)", inputs.keyboardTranspose);
    else if (inputs.keyboardTranspose < 0)
        out[octave].text += format(L"  (%d)", inputs.keyboardTranspose);

    std::wstring midiState = c.midiInput == EdContext::midiInputOn    ? inputs.midiDeviceName
                             : c.midiInput == EdContext::midiInputOff ? text(10074)
                                                                      : text(10073);
    out[midiInput].text = format(text(10072), midiState.c_str());

    out[cursor].text = inputs.cursorText;

    if (c.document) {
        out[snap].text = text(10092);
        out[snap].highlighted = effective(c.toggles.snapGuideLines, c.toolModifiers, 1u, c.ctrlDown);
        out[ortho].text = text(10094);
        out[ortho].highlighted = effective(c.toggles.orthoMode, c.toolModifiers, 2u, c.shiftDown);
    }
    if (c.score) {
        out[tracking].text = text(10093);
        out[tracking].highlighted = c.toggles.playbackTracking;
    }

    if (c.playerOpen) {
        std::wstring level = c.muted ? text(10096) : format(L"%d%%", volumePercent(inputs.savedVolume));
        out[volume].text = format(text(10095), level.c_str());
    } else {
        out[volume].enabled = false;
        out[volume].keepText = true;
    }

    if (c.document)
        out[undo].text = format(text(10050), c.undoIndex, c.snapshotCount - c.undoIndex - 1);

    out[turn].text = text(10055);
}

std::wstring UiStatusPanes::cursorText(const QuorvaneDocument* document, EdView* view)
{
    if (!document || !view)
        return std::wstring();
    const EdCursor& place = view->cursor();
    const MnStaff* staff = place.staff();
    const int voice = place.voice();
    if (!staff || voice < 0 || voice >= MnMeasure::voiceCount || place.time() < 0)
        return std::wstring();
    const MnMeasure* shown = nullptr;
    int offset = 0;
    int start = 0;
    for (int i = 0; i < staff->measureCount(); ++i) {
        const MnMeasure* measure = staff->measure(i);
        int length = measure->length();
        if (place.time() >= start && place.time() < start + length) {
            shown = measure;
            offset = place.time() - start;
            break;
        }
        start += length;
    }
    if (!shown)
        return std::wstring();
    int n = 0;
    const MnChord* last = nullptr;
    const BcArray<MnChord*>& chords = shown->voiceChords(voice);
    for (int i = 0; i < chords.count(); ++i) {
        const MnChord* chord = chords[i];
        if (!chord->isGrace() && chord->time() <= offset) {
            ++n;
            last = chord;
        }
    }
    if (n == 0)
        return std::wstring();
    int grace = place.graceIndex();
    if (last && grace > 0) {
        // Grace chords kept at the end of the previous measure: the place
        // shown is after that measure's last chord.
        const MnChord* walk = last;
        bool allGrace = true;
        for (int i = 0; i < grace && walk; ++i) {
            walk = walk->previousChord();
            if (!walk || !walk->isGrace())
                allGrace = false;
        }
        if (allGrace && walk && walk->measure() && walk->measure() != shown) {
            shown = walk->measure();
            const BcArray<MnChord*>& previous = shown->voiceChords(voice);
            n = 1;
            for (int i = 0; i < previous.count(); ++i)
                if (!previous[i]->isGrace())
                    ++n;
            grace = 0;
            for (const MnChord* run = walk; run && run->isGrace(); run = run->nextChord())
                ++grace;
        }
    }
    EdNotePath path(shown, document->works());
    std::wstring result = format(text(10049), std::max(1, path.scoreIndex + 1), std::max(1, path.staffIndex + 1),
                                 std::max(1, path.measureIndex + 1), std::max(1, n));
    if (grace > 0)
        result = format(L"%ls (-%d)", result.c_str(), grace);
    return result;
}
