#pragma once

#include <wx/bitmap.h>
#include <wx/odcombo.h>

#include <vector>

class wxImage;

// A drop-down list whose items show a picture before their text. Each
// picture is prepared once, when its item is added, for the white ground
// and, in a second copy, for the selection ground, so that drawing an item
// only copies or scales; the part of the picture that holds its content is
// kept per item, so the content, not its margins, is fitted to the item.
class UiBitmapComboBox : public wxOwnerDrawnComboBox
{
public:
    // Pixels of a picture: left, top, right and bottom (exclusive).
    struct Rect
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        int width() const { return right - left; }
        int height() const { return bottom - top; }
        bool isEmpty() const { return right <= left || bottom <= top; }
        bool operator==(const Rect& other) const
        {
            return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
        }
    };
    // Where drawBitmap puts the content: the box, and whether the content
    // is scaled into it or copied at its own size into its middle.
    struct Placement
    {
        Rect box;
        bool stretched = false;
    };

    // The ground of a highlighted item of the open list.
    static constexpr unsigned selectionColour = 205u | (232u << 8) | (255u << 16);
    static constexpr unsigned white = 0xFFFFFFu;

    UiBitmapComboBox(wxWindow* parent, int id, const wxPoint& position, const wxSize& size);
    ~UiBitmapComboBox() override;

    // Set by the owner before items are added: the width of the picture
    // column (below 0: the first picture's), the items' height (below 0:
    // from the pictures), how pictures are prepared (0 compose their alpha
    // onto the ground, 1 replace keyColour by the ground) and the key colour
    // (0x00BBGGRR).
    int imageWidth = -1;
    int itemHeight = -1;
    int recolourMode = 0;
    unsigned keyColour = white;

    // Adds the text with its picture; the index of the new item, or -1 when
    // the text could not be added (the picture is then not kept).
    int addItem(const wxString& text, const wxImage& picture);

    // The height of the items of the open list, in pixels.
    int listItemHeight() const { return listHeight; }
    // The pictures kept, parallel to the items.
    int pictureCount() const { return int(pictures.size()); }
    const wxBitmap& picture(int index) const { return pictures[size_t(index)]; }
    const wxBitmap& highlightedPicture(int index) const { return highlighted[size_t(index)]; }
    Rect contentRect(int index) const { return contents[size_t(index)]; }

    // Draws item `item` (-1 the empty field) as the list does; flags are the
    // owner-drawn combo box's.
    void drawItem(wxDC& dc, const wxRect& rect, int item, int flags) const { OnDrawItem(dc, rect, item, flags); }

    // Composes each pixel of an RGBA buffer onto the ground (red, green,
    // 255) by its alpha and makes it opaque. The content is the box of the
    // pixels with any alpha, empty when none has.
    static void composeOnColour(unsigned char* rgba, int width, int height, int red, int green, Rect* content);
    // Pixels of bytesPerPixel bytes (3 or 4, red first) that have the key
    // colour (0x00BBGGRR) take the new colour; the content is the box of the
    // other pixels.
    static void replaceKeyColour(unsigned char* pixels, int width, int height, int bytesPerPixel, unsigned key,
                                 unsigned newColour, Rect* content);
    // The fit of the content into the destination with a margin of 4
    // pixels at scale s, proportions kept.
    static Placement fit(const Rect& destination, const Rect& content, double s);
    // The list's item height for pictures h pixels high: h and an eighth.
    static int heightFor(int h) { return h + (h + 4) / 8; }

    // Draws the content of a picture into a destination box as fit says.
    virtual void drawBitmap(wxDC& dc, const Rect& destination, const Rect& content, const wxBitmap& bitmap) const;

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    void OnDrawBackground(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    wxCoord OnMeasureItem(size_t item) const override;
    void DoDeleteOneItem(unsigned int n) override;
    void DoClear() override;

private:
    std::vector<wxBitmap> pictures;
    std::vector<wxBitmap> highlighted;
    std::vector<Rect> contents;
    int listHeight = 0;
};
