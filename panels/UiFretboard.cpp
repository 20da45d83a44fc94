#include "panels/UiFretboard.h"

#include "app/Quorvane.h"
#include "app/UiMenus.h"
#include "editing/EdSelection.h"
#include "foundation/BcStringResources.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "panels/UiHeldKeys.h"
#include "panels/UiInstrumentServices.h"
#include "platform/PlConfigFile.h"
#include "platform/PlPaths.h"
#include "platform/gui/UiScale.h"

#include <wx/aui/framemanager.h>
#include <wx/menu.h>

#include <cmath>

namespace {

const char* const section = "Fretboard";

int towardZero(double value)
{
    return int(value);
}

int nearest(double value)
{
    return int(std::lround(value));
}

std::string text(unsigned id)
{
    return BcStringResources::current().loadString(id).toNarrow(BcString::utf8CodePage);
}

}

int UiFretboard::Geometry::zoneLeft(int zone) const
{
    if (zone <= 0)
        return 0;
    return right[size_t(zone)] - nearest(zoneWidth[size_t(zone)]);
}

UiRect UiFretboard::Geometry::row(int string) const
{
    const int top = stringY[size_t(string)] - rowHeight / 2;
    return UiRect{0, top, width, top + rowHeight};
}

UiFretboard::UiFretboard(wxWindow* parent, wxWindowID id)
    : UiInstrumentPanel(parent, id), current(FretboardTuning::preset(0))
{
    Bind(wxEVT_LEFT_DOWN, &UiFretboard::onLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, [](wxMouseEvent&) {});
    Bind(wxEVT_LEFT_UP, &UiFretboard::onLeftUp, this);
    Bind(wxEVT_MOTION, &UiFretboard::onMotion, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &UiFretboard::onCaptureLost, this);
    Bind(wxEVT_CONTEXT_MENU, &UiFretboard::onContextMenu, this);
}

// --- Tuning ---------------------------------------------------------------------

bool UiFretboard::setTuning(const FretboardTuning& tuning)
{
    if (!tuning.isValid() || tuning.equals(current))
        return false;
    current = tuning;
    current.clearUnusedStrings();
    if (capoOn && capoAt > current.frets)
        capoOn = false;
    // A held position that left the neck lets go of its key.
    if (held >= current.positionCount())
        releaseHeld();
    Refresh();
    showCaption();
    return true;
}

std::string UiFretboard::caption() const
{
    const int preset = FretboardTuning::presetIndex(current);
    if (preset < 0)
        return text(10114);
    return text(10114) + "  \xC2\xB7  " + text(FretboardTuning::presetNameId(preset));
}

void UiFretboard::showCaption()
{
    const wxString shown = wxString::FromUTF8(caption());
    SetLabel(shown);
    if (wxAuiManager* manager = wxAuiManager::GetManager(this)) {
        wxAuiPaneInfo& pane = manager->GetPane(this);
        if (pane.IsOk() && pane.caption != shown) {
            pane.Caption(shown);
            manager->Update();
        }
    }
}

void UiFretboard::setCapo(bool on, int fret, bool awaitingPointer)
{
    if (fret < 0 || fret > current.frets) {
        on = false;
        fret = 0;
    }
    capoOn = on;
    capoAt = fret;
    capoAwaiting = on && awaitingPointer;
    Refresh();
}

void UiFretboard::setTuningFromTablatures(const EdSelection& elements)
{
    FretboardTuning common;
    bool haveTuning = false;
    bool haveCapo = false, capoAgrees = true, commonCapoOn = false;
    int commonCapoFret = 0;
    const BcClass* tablatureClass = MnTablature::staticClass();
    for (int i = 0; i < elements.count(); ++i) {
        MnElement* element = elements.element(i);
        if (!element || !element->isKindOf(tablatureClass))
            continue;
        const MnTablature* tablature = static_cast<MnTablature*>(element);
        FretboardTuning tuning;
        if (!FretboardTuning::fromTablature(*tablature, tuning))
            continue;
        if (!haveTuning) {
            common = tuning;
            haveTuning = true;
        } else if (!tuning.equals(common)) {
            return;
        }
        if (!haveCapo) {
            haveCapo = true;
            commonCapoOn = tablature->isCapoOn();
            commonCapoFret = tablature->capoFret();
        } else if (tablature->isCapoOn() != commonCapoOn || tablature->capoFret() != commonCapoFret) {
            capoAgrees = false;
        }
    }
    if (!haveTuning)
        return;
    setTuning(common);
    // The tablatures' capo wins over what setTuning did to the capo.
    if (capoAgrees && current.equals(common)) {
        const bool fits = commonCapoFret >= 0 && commonCapoFret <= current.frets;
        capoOn = commonCapoOn && fits;
        capoAt = fits ? commonCapoFret : 0;
        capoAwaiting = false;
        Refresh();
    }
}

void UiFretboard::adoptScoreTuning(MnScore* score)
{
    if (!score || !isShowing())
        return;
    EdSelection tablatures;
    for (int i = 0; i < score->staffCount(); ++i)
        if (MnStaff* staff = score->staff(i))
            tablatures.add(staff->tablature());
    setTuningFromTablatures(tablatures);
}

void UiFretboard::selectionChanged()
{
    Refresh();
    if (!isShowing())
        return;
    if (const EdSelection* selection = UiInstrumentServices::current().activeSelection())
        setTuningFromTablatures(*selection);
}

// --- Settings -------------------------------------------------------------------

bool UiFretboard::loadSettings(const PlConfigFile& file)
{
    FretboardTuning tuning = current;
    bool on = capoOn;
    int fret = capoAt;
    bool any = false;
    int value = 0;
    if (file.intValue(section, "Strings", value)) {
        tuning.strings = value;
        any = true;
    }
    // Never past the eight strings, whatever was stored.
    const int strings = std::min(std::max(tuning.strings, 0), FretboardTuning::maxStrings);
    for (int s = 0; s < strings; ++s) {
        if (file.intValue(section, "Pitch" + std::to_string(s + 1), value)) {
            tuning.pitch[s] = value;
            any = true;
        }
        if (file.intValue(section, "Octave" + std::to_string(s + 1), value)) {
            tuning.octave[s] = value;
            any = true;
        }
    }
    if (file.intValue(section, "Frets", value)) {
        tuning.frets = value;
        any = true;
    }
    if (file.intValue(section, "Capo", value)) {
        on = value == 1;
        any = true;
    }
    if (file.intValue(section, "CapoFret", value)) {
        fret = value;
        any = true;
    }
    if (!tuning.isValid() || fret < 0 || fret > tuning.frets) {
        tuning = FretboardTuning::preset(0);
        on = false;
        fret = 0;
    }
    tuning.clearUnusedStrings();
    current = tuning;
    capoOn = on;
    capoAt = fret;
    capoAwaiting = false;
    if (held >= current.positionCount())
        releaseHeld();
    return any;
}

void UiFretboard::saveSettings(PlConfigFile& file) const
{
    file.setIntValue(section, "Strings", current.strings);
    for (int s = 0; s < current.strings && s < FretboardTuning::maxStrings; ++s) {
        file.setIntValue(section, "Pitch" + std::to_string(s + 1), current.pitch[s]);
        file.setIntValue(section, "Octave" + std::to_string(s + 1), current.octave[s]);
    }
    file.setIntValue(section, "Frets", current.frets);
    file.setIntValue(section, "Capo", capoOn ? 1 : 0);
    file.setIntValue(section, "CapoFret", capoAt);
}

bool UiFretboard::loadSettings()
{
    PlConfigFile file;
    if (!file.load(PlPaths::userSettingsFile()))
        return false;
    const bool any = loadSettings(file);
    showCaption();
    return any;
}

bool UiFretboard::saveSettings() const
{
    const std::string path = PlPaths::userSettingsFile();
    PlConfigFile file;
    file.load(path);
    saveSettings(file);
    return file.save(path);
}

// --- Geometry -------------------------------------------------------------------

UiFretboard::Geometry UiFretboard::computeGeometry(int width, int height) const
{
    Geometry g;
    g.width = width;
    g.height = height;
    g.nut = 1 - towardZero(-0.016 * width);
    const int frets = current.frets;
    if (frets < 1 || current.strings < 1)
        return g;
    std::vector<double> raw(size_t(frets), 1.0);
    for (int k = frets - 2; k >= 0; --k)
        raw[size_t(k)] = 1.05 * raw[size_t(k + 1)];
    double sum = 0;
    for (double r : raw)
        sum += r;
    g.zoneWidth.assign(size_t(frets + 1), 0.0);
    g.right.assign(size_t(frets + 1), 0);
    for (int f = 1; f <= frets; ++f)
        g.zoneWidth[size_t(f)] = raw[size_t(f - 1)] * (width - g.nut) / sum;
    int x = width;
    for (int f = frets; f >= 1; --f) {
        g.right[size_t(f)] = x;
        x -= nearest(g.zoneWidth[size_t(f)]);
    }
    g.right[0] = x;
    const double spacing = double(height) / current.strings;
    g.rowHeight = nearest(spacing);
    for (int j = 0; j < current.strings; ++j)
        g.stringY.push_back(nearest(j * spacing + spacing / 2));
    return g;
}

UiFretboard::Geometry UiFretboard::currentGeometry() const
{
    const wxSize size = GetClientSize();
    return computeGeometry(size.x, size.y);
}

bool UiFretboard::capoRect(const Geometry& g, int px, int py, UiRect& rect) const
{
    if (!capoOn || g.right.empty())
        return false;
    const int c = 1 - towardZero(-0.02 * g.width);
    if (capoAt == 0) {
        if (px < 0 || py < 0 || px >= g.width || py >= g.height)
            return false;
        rect = UiRect{px + c / 2 - c, 0, px + c / 2, g.height};
        return true;
    }
    if (capoAt < 1 || capoAt > current.frets)
        return false;
    const int m = towardZero(5 * UiScale::s());
    const int xf = g.right[size_t(capoAt)];
    const int wf = nearest(g.zoneWidth[size_t(capoAt)]);
    int off = nearest((wf - m - c) / 3.0);
    if (off < 0)
        off = 0;
    rect = UiRect{xf - off - m - c, 0, xf - off - m, g.height};
    return true;
}

bool UiFretboard::capoRectAt(const Geometry& g, int x, int y, UiRect& rect) const
{
    return capoRect(g, x, y, rect) && rect.contains(x, y);
}

int UiFretboard::positionAtPoint(const Geometry& g, int x, int y) const
{
    if (g.right.empty())
        return -1;
    for (int f = current.frets; f >= 0; --f) {
        const int left = g.zoneLeft(f), right = g.right[size_t(f)];
        if (x < left || x >= right)
            continue;
        for (int j = 0; j < current.strings; ++j) {
            const UiRect row = g.row(j);
            if (y >= row.top && y < row.bottom)
                return j * (current.frets + 1) + f;
        }
    }
    return -1;
}

// --- Marks and painting ----------------------------------------------------------

int UiFretboard::pressedKey() const
{
    return held >= 0 ? heldKey : -1;
}

void UiFretboard::computeMarks(std::vector<unsigned char>& out) const
{
    computeMarks(current, capoLimit(), held, this, out);
}

void UiFretboard::computeMarks(const FretboardTuning& current, int limit, int held, const UiInstrumentPanel* self,
                               std::vector<unsigned char>& out)
{
    UiInstrumentServices& services = UiInstrumentServices::current();
    unsigned char sounding[UiInstrumentServices::keyCount] = {};
    services.soundingKeys(sounding);
    out.assign(size_t(current.positionCount()), 0);
    for (int k = 0; k < UiInstrumentServices::keyCount; ++k) {
        if (!sounding[k] && !UiHeldKeys::isHeld(k))
            continue;
        const int p = current.positionOfKey(k, 0, limit);
        if (p >= 0)
            out[size_t(p)] = soundingBit;
    }
    if (held >= 0 && held < int(out.size()))
        out[size_t(held)] = soundingBit;
    for (UiInstrumentPanel* panel : panels()) {
        if (panel == self)
            continue;
        const int key = panel->pressedKey();
        for (int n = 0;; ++n) {
            const int p = current.positionOfKey(key, n, limit);
            if (p < 0)
                break;
            out[size_t(p)] |= soundingBit;
        }
    }
    if (const EdSelection* selection = services.activeSelection()) {
        const BcClass* noteClass = MnNote::staticClass();
        for (int i = 0, count = selection->count(); i < count; ++i) {
            MnElement* element = selection->element(i);
            if (element && element->isKindOf(noteClass)) {
                const int p = current.positionOfKey(static_cast<MnNote*>(element)->keyNumber(), 0, limit);
                if (p >= 0)
                    out[size_t(p)] |= selectedBit;
            }
        }
    }
}

void UiFretboard::refreshKeys(bool updateNow)
{
    if (!isShowing())
        return;
    std::vector<unsigned char> before;
    before.swap(marks);
    computeMarks(marks);
    if (before == marks)
        return;
    Refresh();
    if (updateNow)
        Update();
}

void UiFretboard::paint(UiPainter& painter, int W, int H)
{
    const Geometry g = computeGeometry(W, H);
    computeMarks(marks);
    painter.fill({0, 0, W, H}, neckColor);
    if (g.right.empty()) {
        painter.blit();
        return;
    }
    const double v = UiScale::s();
    const int a = towardZero(5 * v), t = towardZero(3 * v);
    const int L = capoLimit();
    const int frets = current.frets, strings = current.strings;
    auto markAt = [&](int string, int fret) { return marks[size_t(string * (frets + 1) + fret)]; };

    int x = W;
    for (int f = frets; f >= 1; --f) {
        const int wf = nearest(g.zoneWidth[size_t(f)]);
        if (f > L) {
            for (int j = 0; j < strings; ++j) {
                const unsigned char mark = markAt(j, f);
                if (mark == 0)
                    continue;
                UiRect cell = g.row(j);
                cell.left = x - wf;
                cell.right = x;
                painter.fill(cell, mark & soundingBit ? soundingColor : selectedColor);
            }
        }
        painter.fill({x - 1, 0, x, H}, blackColor);
        painter.fill({x - 2, 0, x - 1, H}, darkGreyColor);
        painter.fill({x - a + 1, 0, x - 2, H}, whiteColor);
        painter.fill({x - a, 0, x - a + 1, H}, darkGreyColor);
        x -= wf;
    }
    painter.fill({0, 0, g.nut, H}, whiteColor);
    painter.frame({0, 0, g.nut, H}, darkGreyColor);

    const int half = strings / 2;
    for (int j = 0; j < strings; ++j) {
        const int y = g.stringY[size_t(j)];
        int end = W;
        int found = -1;
        for (int f = frets; f >= 0; --f) {
            if (markAt(j, f) != 0) {
                found = f;
                break;
            }
            if (f > L)
                end -= nearest(g.zoneWidth[size_t(f)]);
        }
        int plainEnd = W;
        if (found >= 0 && end < W) {
            const unsigned color = markAt(j, found) & soundingBit ? soundingColor : selectedColor;
            painter.fill({end, j >= half ? y - 1 : y, W, y + t - 1}, color);
            plainEnd = end;
        }
        if (t == 3) {
            if (j >= half)
                painter.fill({0, y - 1, plainEnd, y}, blackColor);
            painter.fill({0, y, plainEnd, y + 1}, whiteColor);
            painter.fill({0, y + 1, plainEnd, y + 2}, darkGreyColor);
        } else if (t == 4) {
            if (j >= half)
                painter.fill({0, y - 1, plainEnd, y}, blackColor);
            painter.fill({0, y, plainEnd, y + 1}, darkGreyColor);
            painter.fill({0, y + 1, plainEnd, y + 2}, whiteColor);
            painter.fill({0, y + 2, plainEnd, y + 3}, darkGreyColor);
        }
    }
    UiRect capo;
    if (capoRect(g, pointerInside ? pointerX : -1, pointerInside ? pointerY : -1, capo)) {
        painter.fill(capo, darkGreyColor);
        painter.frame(capo, blackColor);
    }
    painter.blit();
}

// --- Mouse ----------------------------------------------------------------------

void UiFretboard::mouseDown(int x, int y)
{
    const Geometry g = currentGeometry();
    pointerInside = true;
    pointerX = x;
    pointerY = y;
    UiRect capo;
    if (capoRectAt(g, x, y, capo)) {
        if (capoAt > 0) {
            capoAt = 0;
        } else {
            const int p = positionAtPoint(g, x, y);
            if (p < 0)
                return;
            capoAt = p % (current.frets + 1);
        }
        Refresh();
        return;
    }
    const int p = positionAtPoint(g, x, y);
    if (p < 0)
        return;
    const int key = keyAtPosition(p);
    if (key < 0)
        return;
    UiInstrumentServices& services = UiInstrumentServices::current();
    if (services.ctrlAndAltHeld()) {
        // A position above the piano anchors on its last key, so that the
        // computer keyboard keeps keys to play.
        services.setKeyboardOctaveFromKey(std::min(key, 87));
        return;
    }
    if (services.isRecording())
        services.recordKeyDown(key);
    else
        services.enterNote(key);
    services.keyDown(key);
    held = p;
    heldKey = key;
    refreshAll(false);
}

void UiFretboard::releaseHeld()
{
    if (held < 0)
        return;
    const int key = heldKey;
    if (key >= 0) {
        UiInstrumentServices& services = UiInstrumentServices::current();
        if (services.isRecording())
            services.recordKeyUp(key);
        services.keyUp(key);
    }
    held = -1;
    heldKey = -1;
    refreshAll(false);
}

void UiFretboard::mouseUp(int x, int y, bool inside)
{
    releaseHeld();
    if (!placing())
        return;
    if (inside) {
        const Geometry g = currentGeometry();
        UiRect capo;
        if (capoRectAt(g, x, y, capo)) {
            const int p = positionAtPoint(g, x, y);
            if (p < 0)
                return;
            capoAt = p % (current.frets + 1);
        } else {
            capoAt = 0;
        }
    } else {
        capoOn = false;
    }
    Refresh();
}

void UiFretboard::mouseMove(int x, int y, bool inside)
{
    pointerInside = inside;
    pointerX = x;
    pointerY = y;
    if (!inside) {
        if (placing() && !capoAwaiting) {
            capoOn = false;
            Refresh();
        }
        releaseHeld();
        return;
    }
    capoAwaiting = false;
    const Geometry g = currentGeometry();
    UiRect capo;
    if (capoRectAt(g, x, y, capo)) {
        if (placing())
            Refresh();
        releaseHeld();
        return;
    }
    if (held < 0)
        return;
    const int p = positionAtPoint(g, x, y);
    if (p < 0 || p == held)
        return;
    UiInstrumentServices& services = UiInstrumentServices::current();
    const int key = keyAtPosition(p);
    if (key >= 0) {
        // A drag enters its notes even while recording.
        services.enterNote(key);
        services.keyDown(key);
    }
    if (heldKey >= 0)
        services.keyUp(heldKey);
    held = p;
    heldKey = key;
    refreshAll(false);
}

void UiFretboard::onLeftDown(wxMouseEvent& event)
{
    if (capturePress(event))
        mouseDown(event.GetX(), event.GetY());
}

void UiFretboard::onLeftUp(wxMouseEvent& event)
{
    if (HasCapture())
        ReleaseMouse();
    const bool inside = containsClientPoint(event.GetX(), event.GetY());
    mouseUp(event.GetX(), event.GetY(), inside);
    if (!inside)
        event.Skip();
}

void UiFretboard::onMotion(wxMouseEvent& event)
{
    const bool inside = containsClientPoint(event.GetX(), event.GetY());
    mouseMove(event.GetX(), event.GetY(), inside);
    if (inside) {
        UiRect capo;
        const bool onCapo = capoRectAt(currentGeometry(), event.GetX(), event.GetY(), capo);
        SetCursor(wxCursor(onCapo ? wxCURSOR_SIZEWE : wxCURSOR_HAND));
    } else {
        event.Skip();
    }
}

void UiFretboard::onCaptureLost(wxMouseCaptureLostEvent&)
{
    releaseHeld();
}

void UiFretboard::onContextMenu(wxContextMenuEvent& event)
{
    wxPoint at = event.GetPosition();
    at = at == wxDefaultPosition ? wxPoint(0, 0) : ScreenToClient(at);
    if (!containsClientPoint(at.x, at.y)) {
        event.Skip();
        return;
    }
    struct Item
    {
        unsigned id;
        const char* english;
    };
    static const Item items[] = {{33098, "Guitar"}, {33099, "Bass guitar"}, {33101, "Ukelele"}, {33102, "Mandolin"},
                                 {33103, "Banjo"},  {33100, "Custom..."},   {0, nullptr},       {33104, "Capo"}};
    wxMenu menu;
    for (const Item& item : items) {
        if (!item.english) {
            menu.AppendSeparator();
            continue;
        }
        char context[32];
        std::snprintf(context, sizeof context, "menu %u", item.id);
        const wxString label =
            Quorvane::exists() ? Quorvane::instance().shellText(context, item.english) : wxString::FromUTF8(item.english);
        menu.AppendCheckItem(UiMenus::itemId(item.id), label);
    }
    // The commands and their check marks come from the main frame, where
    // the menu's events go on to.
    PopupMenu(&menu, at);
}
