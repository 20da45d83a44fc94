#pragma once

#include "panels/UiPainter.h"

#include <string>
#include <vector>

// A painter that keeps what it was asked to draw, in order, and measures
// every character as a fixed cell: for tests of the panels' pictures.
class UiRecordingPainter : public UiPainter
{
public:
    struct Call
    {
        enum Kind { fillCall, frameCall, textCall, blitCall } kind;
        UiRect rect;
        unsigned color = 0;
        std::string text;
        Align align = alignLeft;
    };

    void fill(const UiRect& rect, unsigned color) override
    {
        if (!rect.isEmpty())
            calls.push_back({Call::fillCall, rect, color, {}, alignLeft});
    }
    void frame(const UiRect& rect, unsigned color) override
    {
        if (!rect.isEmpty())
            calls.push_back({Call::frameCall, rect, color, {}, alignLeft});
    }
    void measure(const std::string& text, int& width, int& height) override
    {
        width = int(text.size()) * charWidth;
        height = charHeight;
    }
    void text(const std::string& text, int x, int baseline, Align align, unsigned color) override
    {
        calls.push_back({Call::textCall, UiRect{x, baseline, x, baseline}, color, text, align});
    }
    void blit() override { calls.push_back({Call::blitCall, {}, 0, {}, alignLeft}); }

    // The colour of the last fill that covers the pixel; fallback when none.
    unsigned colorAt(int x, int y, unsigned fallback = 0xFFFFFFFF) const
    {
        for (auto call = calls.rbegin(); call != calls.rend(); ++call)
            if (call->kind == Call::fillCall && call->rect.contains(x, y))
                return call->color;
        return fallback;
    }
    std::vector<const Call*> texts() const
    {
        std::vector<const Call*> found;
        for (const Call& call : calls)
            if (call.kind == Call::textCall)
                found.push_back(&call);
        return found;
    }

    int charWidth = 5;
    int charHeight = 13;
    std::vector<Call> calls;
};
