#pragma once

#include "editing/FretboardTuning.h"
#include "panels/UiInstrumentPanel.h"
#include "panels/UiPainter.h"

#include <string>
#include <vector>

class EdSelection;
class MnScore;
class PlConfigFile;

// The docking pane of a fretted instrument's neck: nut at the left, fret 1
// the widest zone beside it, string 1 the top row. It marks sounding keys
// and selected notes, plays and enters notes clicked or dragged on the
// strings, and carries a capo that is off, placed with the pointer, or
// clamped at a fret. Its tuning comes from the presets, the tuning dialog,
// the tablatures of the selection or of a score starting to play, and the
// settings file's section "Fretboard".
class UiFretboard : public UiInstrumentPanel
{
public:
    static constexpr unsigned neckColor = UiPainter::rgb(128, 96, 96);
    static constexpr unsigned whiteColor = UiPainter::rgb(255, 255, 255);
    static constexpr unsigned blackColor = UiPainter::rgb(0, 0, 0);
    static constexpr unsigned darkGreyColor = UiPainter::rgb(64, 64, 64);
    static constexpr unsigned selectedColor = UiPainter::rgb(132, 210, 255);
    static constexpr unsigned soundingColor = UiPainter::rgb(253, 216, 134);
    static constexpr unsigned char selectedBit = 1, soundingBit = 2;
    static constexpr unsigned contextMenuId = 132;

    // Where the neck's parts lie in a pane of a size.
    struct Geometry
    {
        int width = 0, height = 0;
        int nut = 0;
        // Zone f (1..frets) between fret wires f - 1 and f: its width and
        // its right edge; zone 0, the open strings, spans [0, right[0]).
        std::vector<double> zoneWidth;
        std::vector<int> right;
        // Centre of each string's row, and the rows' height.
        std::vector<int> stringY;
        int rowHeight = 0;

        int zoneLeft(int zone) const;
        UiRect row(int string) const;
    };

    UiFretboard(wxWindow* parent, wxWindowID id);

    const FretboardTuning& tuning() const { return current; }
    // False, with nothing changed, when the tuning is already shown or is no
    // valid tuning. A capo above the new last fret comes off.
    bool setTuning(const FretboardTuning& tuning);
    // "Fretboard  ·  Guitar" for a preset, "Fretboard" alone otherwise.
    std::string caption() const;

    bool isCapoOn() const { return capoOn; }
    int capoFret() const { return capoAt; }
    bool isCapoAwaitingPointer() const { return capoAwaiting; }
    // The capo's state; a fret outside 0..frets takes the capo off.
    void setCapo(bool on, int fret, bool awaitingPointer);
    // The fret at and below which every fret sounds the capo's.
    int capoLimit() const { return capoOn ? capoAt : 0; }

    int keyAtPosition(int position) const { return current.keyAtPosition(position, capoLimit()); }
    int positionOfKey(int key, int n) const { return current.positionOfKey(key, n, capoLimit()); }
    int pressedPosition() const { return held; }

    Geometry computeGeometry(int width, int height) const;
    // The capo's rectangle; while it is being placed it follows the point,
    // and there is none when the point lies outside the pane.
    bool capoRect(const Geometry& geometry, int pointX, int pointY, UiRect& rect) const;
    int positionAtPoint(const Geometry& geometry, int x, int y) const;

    int pressedKey() const override;
    void refreshKeys(bool updateNow) override;
    void paint(UiPainter& painter, int width, int height) override;
    void computeMarks(std::vector<unsigned char>& marks) const;
    // The marks of a neck of that tuning and capo, holding a position, with
    // the keys that every other panel holds (all when self is null).
    static void computeMarks(const FretboardTuning& tuning, int capoLimit, int heldPosition,
                             const UiInstrumentPanel* self, std::vector<unsigned char>& marks);
    const std::vector<unsigned char>& currentMarks() const { return marks; }

    // Takes the active view's tablatures while the pane shows.
    void selectionChanged() override;
    // The common tuning of the tablatures among the elements, and their
    // capo when they agree on it; nothing when they differ or there is none.
    void setTuningFromTablatures(const EdSelection& elements);
    // A score starts playing: the pane shows its tablatures' tuning.
    void adoptScoreTuning(MnScore* score);

    // The section "Fretboard" of the settings file. A stored set that the
    // pane cannot show gives the Guitar with the capo off. Loading answers
    // whether any value was there.
    bool loadSettings(const PlConfigFile& file);
    void saveSettings(PlConfigFile& file) const;
    bool loadSettings();
    bool saveSettings() const;

    // The mouse, in client coordinates of the pane at its current size.
    void mouseDown(int x, int y);
    void mouseUp(int x, int y, bool inside);
    void mouseMove(int x, int y, bool inside);

private:
    bool capoRectAt(const Geometry& geometry, int x, int y, UiRect& rect) const;
    bool placing() const { return capoOn && capoAt == 0; }
    void releaseHeld();
    void showCaption();
    Geometry currentGeometry() const;
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onCaptureLost(wxMouseCaptureLostEvent& event);
    void onContextMenu(wxContextMenuEvent& event);

    FretboardTuning current;
    bool capoOn = false;
    int capoAt = 0;
    int held = -1;
    // The key the held position sounded when pressed: a capo or tuning
    // changed meanwhile must not leave it sounding.
    int heldKey = -1;
    bool capoAwaiting = false;
    std::vector<unsigned char> marks;
    // Where the pointer was last seen inside the pane, for the capo that
    // follows it.
    bool pointerInside = false;
    int pointerX = 0, pointerY = 0;
};
