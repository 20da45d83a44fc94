#pragma once

#include "editing/EdCommand.h"
#include "editing/EdTool.h"
#include "foundation/BcArray.h"

class EdGuideLine;
class EdView;

// The base of the score view's interactive tools. A tool is an edit
// transaction that stays open while it runs: what it changes becomes one
// undo step when it finishes by itself, and is undone when anybody else
// ends it (the view, another tool, any command). The view hands it pointer
// and key events first; a tool that does not handle one answers false and
// the view goes on as if there were no tool.
//
// Points are the view's client pixels (origin top left, y downward); flags
// are the mouse flags below.
class UiCommand : public EdCommand, public EdTool
{
public:
    // Mouse flags.
    static constexpr unsigned leftButtonFlag = 0x01;
    static constexpr unsigned rightButtonFlag = 0x02;
    static constexpr unsigned shiftFlag = 0x04;
    static constexpr unsigned controlFlag = 0x08;
    static constexpr unsigned middleButtonFlag = 0x10;
    // Key codes and the key flag of a key that was down before.
    static constexpr unsigned shiftKey = 0x10;
    static constexpr unsigned controlKey = 0x11;
    static constexpr unsigned repeatFlag = 0x4000;

    struct Point
    {
        int x = 0;
        int y = 0;
    };

    explicit UiCommand(EdView* view) : view(view) { guideLines.setGrowBy(8); }
    // end() has deleted the guide lines; any left are deleted here.
    ~UiCommand() override { clearGuideLines(); }

    virtual const char* name() const = 0;
    unsigned modifierKeys() const override { return 0; }
    void begin() override { collectGuideLines(); }
    void end() override { clearGuideLines(); }
    // Before each frame: the guide lines are drawn in the next frame when
    // snapping is on, which Ctrl inverts for a tool that Ctrl matters to.
    void updateSnap();
    virtual void onPan(int dx, int dy) {}
    virtual bool onMouseMove(unsigned flags, Point point) { return false; }
    virtual bool onLButtonDown(unsigned flags, Point point) { return false; }
    virtual bool onLButtonUp(unsigned flags, Point point) { return false; }
    // A first press or a release of a modifier that matters to the tool
    // re-sends the pointer's position, so that a preview that depends on
    // it follows at once.
    bool onKeyDown(unsigned key, unsigned repeat, unsigned flags);
    bool onKeyUp(unsigned key, unsigned repeat, unsigned flags);
    virtual void collectGuideLines() {}
    void clearGuideLines();

    EdCommand& transaction() override { return *this; }
    const BcArray<EdGuideLine*>& guideLineArray() const { return guideLines; }

protected:
    // Ends the tool as finished, not cancelled: out of the view, end(),
    // deleted, which commits the transaction. Nothing of the tool may be
    // touched after it.
    void finish();
    // The mouse flags of the keys and buttons held down now.
    static unsigned heldFlags();

    EdView* view;
    // Owned.
    BcArray<EdGuideLine*> guideLines;

private:
    bool resendPointer(unsigned key);
};
