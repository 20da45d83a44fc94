#pragma once

#include "commands/UiCommand.h"
#include "editing/EdSelection.h"
#include "foundation/GeBox2d.h"
#include "render/RePicker.h"

class GePoint2d;

// The rubber band. Started by a press on empty space, it waits until the
// pointer has moved more than 5 pixels; from then on every movement makes
// the view's selection again: the selection the band started with plus
// every element whose drawn region touches the band. Dragged to the right
// the band takes every kind of element; dragged to the left only notes and
// chords, so that a band can pick the music out of a crowded page.
//
// The elements are found by laying the document out through a picker
// that culls what lies well away from the band, as a view culls what lies
// off screen. The model never changes: closing the transaction only
// reports the new selection.
class UiSelectWindowCmd : public UiCommand
{
public:
    // The press in client pixels and the same point in drawing units.
    UiSelectWindowCmd(EdView* view, Point press, const GePoint2d& pressPoint);
    ~UiSelectWindowCmd() override;

    // Makes a band at a press on empty space and hands it to the view;
    // false when the view takes no tool.
    static bool start(EdView& view, Point press);

    const char* name() const override { return windowMode ? "SelectWindow" : "Select"; }
    void end() override;
    void onPan(int dx, int dy) override;
    bool onMouseMove(unsigned flags, Point point) override;
    bool onLButtonDown(unsigned, Point) override { return false; }
    bool onLButtonUp(unsigned flags, Point point) override;

    bool isWindowMode() const { return windowMode; }
    // In drawing units: the press, and the press moved by the pointer.
    const GeBox2d& band() const { return bandBox; }
    // The two corners lie in any order; rightward takes every element.
    bool isRightward() const { return bandBox.b.x > bandBox.a.x; }

    // Pixels the pointer must leave the press by before the band shows.
    static constexpr int threshold = 5;

private:
    // Receives the marks of the layout and selects what the band touches.
    class Picker : public RePicker
    {
    public:
        explicit Picker(UiSelectWindowCmd& tool) : tool(tool) {}
        void markFrame(const GeBox2d& outer, const GeBox2d& inner, MnElement* element) override;
        void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override;
        void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element) override;
        void pushScale(double centreX, double centreY, double factor) override;
        void pushYRotation(double pivotX, double degrees) override;
        void popTransform() override;
        // Pages, systems and measures that lie away from the band are not
        // laid out at all.
        bool isVisibleX(double x, double width, double margin) override;
        bool isVisible(double x, double y, double width, double height, double margin) override;
        // The band in the coordinates of the transform on top.
        void updateLocalBand();
        GeBox2d localBand;
        // The band grown by reach, lowest corner first, in the same
        // coordinates: what the culling tests against.
        GeBox2d localReach;
        // Drawing units around the band still laid out, so that a part of
        // an element drawn a little outside the box its composer culls by
        // (a page's frame, a text beside its system) is still found.
        static constexpr double reach = 20.0;

    private:
        void take(const GeBox2d& region, MnElement* element);
        UiSelectWindowCmd& tool;
    };

    void select();

    bool windowMode = false;
    Point last;
    GeBox2d bandBox;
    // Elements remembered by the selection itself, so one that dies while
    // the band is out is forgotten.
    EdSelection selectionAtStart;
    Picker picker;
};
