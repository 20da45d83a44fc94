#include "app/UiBitmapComboBox.h"

#include "platform/gui/UiScale.h"

#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/settings.h>

#include <algorithm>

namespace {

// The box of the marked pixels, clamped to the picture; empty for none.
class ContentBox
{
public:
    void extend(int x, int y)
    {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    UiBitmapComboBox::Rect rect(int width, int height) const
    {
        UiBitmapComboBox::Rect r;
        if (maxX < minX)
            return r;
        r.left = std::clamp(minX, 0, width);
        r.top = std::clamp(minY, 0, height);
        r.right = std::clamp(maxX + 1, 0, width);
        r.bottom = std::clamp(maxY + 1, 0, height);
        return r;
    }

private:
    int minX = 1 << 30;
    int minY = 1 << 30;
    int maxX = -1;
    int maxY = -1;
};

wxColour colourOf(unsigned colour)
{
    return wxColour((unsigned char)(colour & 0xFF), (unsigned char)((colour >> 8) & 0xFF),
                    (unsigned char)((colour >> 16) & 0xFF));
}

// The picture prepared for a ground, and its content box.
wxBitmap prepare(const wxImage& source, int mode, unsigned key, unsigned ground, UiBitmapComboBox::Rect* content)
{
    wxImage image = source.Copy();
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    if (mode == 0) {
        if (!image.HasAlpha()) {
            // Without an alpha channel nothing is composed.
            if (content)
                *content = UiBitmapComboBox::Rect{0, 0, width, height};
            return wxBitmap(image);
        }
        std::vector<unsigned char> rgba(size_t(width) * size_t(height) * 4);
        const unsigned char* rgb = image.GetData();
        const unsigned char* alpha = image.GetAlpha();
        for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
            rgba[4 * i] = rgb[3 * i];
            rgba[4 * i + 1] = rgb[3 * i + 1];
            rgba[4 * i + 2] = rgb[3 * i + 2];
            rgba[4 * i + 3] = alpha[i];
        }
        UiBitmapComboBox::composeOnColour(rgba.data(), width, height, int(ground & 0xFF), int((ground >> 8) & 0xFF),
                                          content);
        unsigned char* out = image.GetData();
        for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
            out[3 * i] = rgba[4 * i];
            out[3 * i + 1] = rgba[4 * i + 1];
            out[3 * i + 2] = rgba[4 * i + 2];
        }
        image.ClearAlpha();
    } else if (mode == 1) {
        if (image.HasAlpha()) {
            // What is transparent shows the key colour, as on a bitmap without alpha.
            wxColour keyed = colourOf(key);
            unsigned char* out = image.GetData();
            const unsigned char* alpha = image.GetAlpha();
            for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
                double a = alpha[i] / 255.0;
                out[3 * i] = (unsigned char)(out[3 * i] * a + keyed.Red() * (1 - a) + 0.5);
                out[3 * i + 1] = (unsigned char)(out[3 * i + 1] * a + keyed.Green() * (1 - a) + 0.5);
                out[3 * i + 2] = (unsigned char)(out[3 * i + 2] * a + keyed.Blue() * (1 - a) + 0.5);
            }
            image.ClearAlpha();
        }
        UiBitmapComboBox::replaceKeyColour(image.GetData(), width, height, 3, key, ground, content);
    } else if (content) {
        *content = UiBitmapComboBox::Rect();
    }
    return wxBitmap(image);
}

}

UiBitmapComboBox::UiBitmapComboBox(wxWindow* parent, int id, const wxPoint& position, const wxSize& size)
    : wxOwnerDrawnComboBox(parent, id, wxEmptyString, position, size, 0, nullptr, wxCB_READONLY)
{
    listHeight = GetCharHeight() + 4;
}

UiBitmapComboBox::~UiBitmapComboBox() = default;

void UiBitmapComboBox::composeOnColour(unsigned char* rgba, int width, int height, int red, int green,
                                       Rect* content)
{
    if (content)
        *content = Rect();
    if (!rgba || width <= 0 || height <= 0)
        return;
    ContentBox box;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = rgba + (size_t(y) * size_t(width) + size_t(x)) * 4;
            int a = p[3];
            double f = a / 255.0;
            p[0] = (unsigned char)int(p[0] * f + red * (1 - f));
            p[1] = (unsigned char)int(p[1] * f + green * (1 - f));
            p[2] = (unsigned char)int(p[2] * f + 255 * (1 - f));
            p[3] = 255;
            if (a > 0)
                box.extend(x, y);
        }
    }
    if (content)
        *content = box.rect(width, height);
}

void UiBitmapComboBox::replaceKeyColour(unsigned char* pixels, int width, int height, int bytesPerPixel,
                                        unsigned key, unsigned newColour, Rect* content)
{
    if (content)
        *content = Rect{0, 0, std::max(width, 0), std::max(height, 0)};
    if (!pixels || width <= 0 || height <= 0 || bytesPerPixel < 3)
        return;
    ContentBox box;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = pixels + (size_t(y) * size_t(width) + size_t(x)) * size_t(bytesPerPixel);
            unsigned colour = unsigned(p[0]) | (unsigned(p[1]) << 8) | (unsigned(p[2]) << 16);
            if (colour == (key & 0xFFFFFF)) {
                p[0] = (unsigned char)(newColour & 0xFF);
                p[1] = (unsigned char)((newColour >> 8) & 0xFF);
                p[2] = (unsigned char)((newColour >> 16) & 0xFF);
            } else {
                box.extend(x, y);
            }
        }
    }
    if (content)
        *content = box.rect(width, height);
}

UiBitmapComboBox::Placement UiBitmapComboBox::fit(const Rect& d, const Rect& c, double s)
{
    Placement placement;
    if (c.isEmpty() || d.isEmpty())
        return placement;
    double f = double(c.width()) / double(c.height());
    int g = int(4 * s);
    Rect box;
    if (f > 1 || d.width() > d.height()) {
        box.left = d.left + g;
        box.right = d.right - g;
        int h = int((box.right - box.left) / f);
        box.top = d.top + (d.height() - h) / 2;
        box.bottom = box.top + h;
    } else {
        box.top = d.top + g;
        box.bottom = d.bottom - g;
        int w = int((box.bottom - box.top) * f);
        box.left = d.left + (d.width() - w) / 2;
        box.right = box.left + w;
    }
    if (box.height() < c.height()) {
        placement.box = box;
        placement.stretched = true;
    } else {
        placement.box.left = box.left + (box.width() - c.width()) / 2;
        placement.box.top = box.top + (box.height() - c.height()) / 2;
        placement.box.right = placement.box.left + c.width();
        placement.box.bottom = placement.box.top + c.height();
    }
    return placement;
}

int UiBitmapComboBox::addItem(const wxString& text, const wxImage& source)
{
    int index = Append(text);
    if (index < 0)
        return -1;
    Rect content;
    wxBitmap normal;
    wxBitmap selected;
    if (source.IsOk()) {
        selected = prepare(source, recolourMode, keyColour, selectionColour, nullptr);
        normal = prepare(source, recolourMode, keyColour, white, &content);
    }
    if (size_t(index) >= pictures.size()) {
        pictures.push_back(normal);
        highlighted.push_back(selected);
        contents.push_back(content);
    } else {
        pictures.insert(pictures.begin() + index, normal);
        highlighted.insert(highlighted.begin() + index, selected);
        contents.insert(contents.begin() + index, content);
    }
    if (itemHeight < 0 && source.IsOk()) {
        int h = source.GetHeight();
        if (listHeight < heightFor(h))
            listHeight = heightFor(h);
        if (imageWidth < 0)
            imageWidth = source.GetWidth();
    } else if (itemHeight >= 0 && index == 0) {
        listHeight = heightFor(itemHeight);
    }
    return index;
}

void UiBitmapComboBox::drawBitmap(wxDC& dc, const Rect& destination, const Rect& content,
                                  const wxBitmap& bitmap) const
{
    if (!bitmap.IsOk())
        return;
    Rect c = content;
    c.right = std::min(c.right, bitmap.GetWidth());
    c.bottom = std::min(c.bottom, bitmap.GetHeight());
    Placement placement = fit(destination, c, UiScale::s());
    if (placement.box.isEmpty())
        return;
    wxBitmap part = bitmap.GetSubBitmap(wxRect(c.left, c.top, c.width(), c.height()));
    if (placement.stretched) {
        wxImage image = part.ConvertToImage();
        image.Rescale(placement.box.width(), placement.box.height(), wxIMAGE_QUALITY_HIGH);
        dc.DrawBitmap(wxBitmap(image), placement.box.left, placement.box.top, false);
    } else {
        dc.DrawBitmap(part, placement.box.left, placement.box.top, false);
    }
}

void UiBitmapComboBox::OnDrawBackground(wxDC&, const wxRect&, int, int) const
{
    // OnDrawItem fills the item's ground itself.
}

void UiBitmapComboBox::OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const
{
    const bool enabled = IsEnabled();
    const bool selected = (flags & wxODCB_PAINTING_SELECTED) && !(flags & wxODCB_PAINTING_CONTROL);
    wxColour textColour = dc.GetTextForeground();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colourOf(selected ? selectionColour : white)));
    dc.DrawRectangle(rect);

    const double s = UiScale::s();
    int w = imageWidth >= 0 ? imageWidth : std::max(itemHeight, 0);
    Rect column{rect.x + 2, rect.y, rect.x + 2 + w, rect.y + rect.height};
    if (item >= 0 && size_t(item) < pictures.size() && w > 0) {
        const wxBitmap& bitmap = selected && highlighted[size_t(item)].IsOk() ? highlighted[size_t(item)]
                                                                               : pictures[size_t(item)];
        if (!enabled) {
            wxBitmap ground(column.width(), column.height(), 24);
            {
                wxMemoryDC memory(ground);
                memory.SetBackground(*wxWHITE_BRUSH);
                memory.Clear();
                drawBitmap(memory, Rect{0, 0, column.width(), column.height()}, contents[size_t(item)], bitmap);
            }
            wxImage grey = ground.ConvertToImage().ConvertToGreyscale().ConvertToDisabled();
            dc.DrawBitmap(wxBitmap(grey), column.left, column.top, false);
        } else {
            drawBitmap(dc, column, contents[size_t(item)], bitmap);
        }
    }

    wxString text = item >= 0 && unsigned(item) < GetCount() ? GetString(unsigned(item)) : wxString();
    const bool greyText = !enabled || item < 0;
    dc.SetTextForeground(greyText ? wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT)
                                  : wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    int textLeft = column.right + int(4 * s);
    wxCoord textHeight = 0;
    dc.GetTextExtent(text, nullptr, &textHeight);
    dc.DrawText(text, textLeft, rect.y + (rect.height - textHeight) / 2);
    dc.SetTextForeground(textColour);
}

wxCoord UiBitmapComboBox::OnMeasureItem(size_t) const
{
    return listHeight;
}

void UiBitmapComboBox::DoDeleteOneItem(unsigned int n)
{
    if (n < pictures.size()) {
        pictures.erase(pictures.begin() + n);
        highlighted.erase(highlighted.begin() + n);
        contents.erase(contents.begin() + n);
    }
    wxOwnerDrawnComboBox::DoDeleteOneItem(n);
}

void UiBitmapComboBox::DoClear()
{
    pictures.clear();
    highlighted.clear();
    contents.clear();
    wxOwnerDrawnComboBox::DoClear();
}
