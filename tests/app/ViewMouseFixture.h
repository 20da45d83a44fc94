#pragma once

#include "app/UiQuorvaneViewCore.h"
#include "common/EdFakeContext.h"
#include "editing/EdTestScores.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "render/RePicker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

// A view window that records what the view asks of the shell: the context
// menus it opens, the focus it takes, the frames it draws.
class MouseWindow : public UiViewWindow
{
public:
    unsigned long long tickCount() override { return clock += 16; }
    void clientSize(int& w, int& h) override
    {
        w = 800;
        h = 600;
    }
    void pointer(int& x, int& y) override
    {
        x = pointerX;
        y = pointerY;
    }
    void present(const UiViewFrame& frame) override
    {
        ++frames;
        if (core)
            core->renderFrame(frame);
    }
    void takeFocus() override { ++focus; }
    bool rightButtonPans() override { return rightPans; }
    int dragThreshold() override { return threshold; }
    bool pointerInWindow() override { return inside; }
    void showContextMenu(int x, int y) override { menus.push_back(std::to_string(x) + "," + std::to_string(y)); }
    UiFocusPane* focusedPane() override { return pane; }
    void previewKey(int key) override { taps.push_back(key); }

    UiViewCore* core = nullptr;
    unsigned long long clock = 5000;
    int pointerX = -1;
    int pointerY = -1;
    int frames = 0;
    int focus = 0;
    bool rightPans = true;
    int threshold = 10;
    bool inside = true;
    UiFocusPane* pane = nullptr;
    std::vector<std::string> menus;
    std::vector<int> taps;
};

// The editing context with the view under test as its active view.
class MouseContext : public EdFakeContext
{
public:
    EdView* activeView() override { return core; }

    UiViewCore* core = nullptr;
};

// Finds where an element is drawn: the centre of its first mark, in drawing
// coordinates.
class MarkFinder : public RePicker
{
public:
    explicit MarkFinder(const MnElement* wanted) : wanted(wanted) {}
    void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override
    {
        take(GePoint2d(corner.x + width / 2, corner.y + height / 2), element);
    }
    void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element) override
    {
        take(GePoint2d((from.x + to.x) / 2, (from.y + to.y) / 2), element);
    }
    void markFrame(const GeBox2d&, const GeBox2d&, MnElement*) override {}

    const MnElement* wanted;
    bool found = false;
    GePoint2d centre;

private:
    void take(const GePoint2d& local, MnElement* element)
    {
        if (found || element != wanted)
            return;
        found = true;
        centre = topTransform().transform(local);
    }
};

// A document with one free score shown in a view of 800 x 600 pixels.
class ViewMouseFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        window.core = &core;
        context.activate(&document);
        context.core = &core;
        context.noteInput() = EdContext::NoteInput();
    }

    // Adds the work and starts the undo history with it.
    void show(MnElement* work)
    {
        ASSERT_TRUE(document.addWork(work));
        document.clearUndo();
        ASSERT_TRUE(document.pushUndoSnapshot());
    }

    // The client pixel nearest a drawing point, by the view's own mapping.
    void clientOf(const GePoint2d& point, int& x, int& y)
    {
        const GePoint2d o = core.clientToModel(0, 0);
        const GePoint2d ex = core.clientToModel(100, 0);
        const GePoint2d ey = core.clientToModel(0, 100);
        const double ax = (ex.x - o.x) / 100;
        const double ay = (ey.y - o.y) / 100;
        x = int(std::lround((point.x - o.x) / ax));
        y = int(std::lround((point.y - o.y) / ay));
    }

    // Where an element is drawn, in client pixels; false when it is not.
    bool clientOfElement(const MnElement* element, int& x, int& y)
    {
        MarkFinder finder(element);
        MnCache cache;
        finder.render(&document, core.view.scrollX, core.view.scrollY, core.view.zoom, 800, 600, -1, -1);
        if (!finder.found)
            return false;
        clientOf(finder.centre, x, y);
        return true;
    }

    MouseContext context;
    QuorvaneDocument document;
    MouseWindow window;
    UiViewCore core{window, &document};
};
