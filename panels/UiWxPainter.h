#pragma once

#include "panels/UiPainter.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

class wxDC;
class wxWindow;

// Draws into a memory bitmap of the window's client size, in the dialog
// font; blit copies it to the window in one block, so nothing flickers.
class UiWxPainter : public UiPainter
{
public:
    // The target is the window's paint context; null keeps the picture in
    // memory only.
    UiWxPainter(wxWindow* window, wxDC* target);
    ~UiWxPainter() override;

    void fill(const UiRect& rect, unsigned color) override;
    void frame(const UiRect& rect, unsigned color) override;
    void measure(const std::string& text, int& width, int& height) override;
    void text(const std::string& text, int x, int baseline, Align align, unsigned color) override;
    void blit() override;

    // The picture drawn so far (for a screenshot).
    const wxBitmap& bitmap() const { return picture; }

private:
    wxDC* target;
    wxBitmap picture;
    wxMemoryDC memory;
};
