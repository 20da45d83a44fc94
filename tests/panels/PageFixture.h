#pragma once

#include "app/UiDialogTemplates.h"
#include "app/UiMemoryControlHost.h"
#include "commands/EdCommandFixture.h"
#include "panels/UiPageWindow.h"
#include "panels/UiPropertiesDlg.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

// A page window with no toolkit: the controls' rectangles come from the
// template at two pixels per dialog unit, and it records what the page
// asks of it.
class FakePageWindow : public UiPageWindow
{
public:
    explicit FakePageWindow(const UiDialogTemplate& layout)
    {
        for (int i = 0; i < layout.controlCount; ++i) {
            const UiControlTemplate& c = layout.controls[i];
            if (c.id != 0)
                rects[c.id] = {2 * c.x, 2 * c.y, 2 * (c.x + c.width), 2 * (c.y + c.height)};
        }
    }
    bool controlRect(int id, UiAnchorRect& rect) override
    {
        auto found = rects.find(id);
        if (found == rects.end())
            return false;
        rect = found->second;
        return true;
    }
    void placeControl(int id, const UiAnchorPlacement& p) override { placed[id] = p; }
    int lowestShownBottom() override { return lowest; }
    void scrollContent(int dy) override { contentOffset += dy; }
    bool scrollBarShown() override { return barShown; }
    void showScrollBar(bool shown) override { barShown = shown; }
    void setScrollBar(int maximum, int page, int position) override
    {
        barMaximum = maximum;
        barPage = page;
        barPosition = position;
    }
    void setScaledBitmap(int id, int bitmapId) override { bitmaps[id] = bitmapId; }
    void frameControl(int id, int color) override { frames[id] = color; }

    std::map<int, UiAnchorRect> rects;
    std::map<int, UiAnchorPlacement> placed;
    std::map<int, int> bitmaps;
    std::map<int, int> frames;
    int lowest = 0;
    int contentOffset = 0;  // where the content's top is, pixels
    bool barShown = false;
    int barMaximum = 0, barPage = 0, barPosition = 0;
};

// One document with the fake context, and pages on memory hosts with the
// real model and edit transactions.
class PageFixture : public EdCommandFixture
{
protected:
    // A page on a memory host, with a fake window when asked for.
    template <typename Page>
    std::unique_ptr<Page> makePage(UiMemoryControlHost*& controls, FakePageWindow* window = nullptr)
    {
        auto page = std::make_unique<Page>();
        auto host = std::make_unique<UiMemoryControlHost>(*UiDialogTemplates::find(page->templateId()));
        controls = host.get();
        page->create(std::move(host), window, 1.0);
        return page;
    }

    // As the pane loads a page.
    static bool load(UiPropertiesDlg& page, std::initializer_list<MnElement*> elements)
    {
        BcArray<MnElement*> list;
        for (MnElement* element : elements)
            list.add(element);
        page.elementList().clear();
        return page.loadElements(list);
    }
};
