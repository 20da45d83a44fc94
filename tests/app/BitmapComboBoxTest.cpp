#include "ShellFixture.h"

#include "app/UiBitmapComboBox.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>

#include <cstdlib>
#include <vector>

namespace {

using Rect = UiBitmapComboBox::Rect;

// A picture of width x height in a colour, with a block of another colour.
wxImage picture(int width, int height, const wxColour& ground, const wxColour& ink, const wxRect& block)
{
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), ground.Red(), ground.Green(), ground.Blue());
    image.SetRGB(block, ink.Red(), ink.Green(), ink.Blue());
    return image;
}

// Whether any pixel of the bitmap is clearly coloured (not a shade of grey).
bool hasColour(const wxBitmap& bitmap)
{
    wxImage image = bitmap.ConvertToImage();
    const unsigned char* p = image.GetData();
    for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i, p += 3)
        if (std::abs(p[0] - p[1]) > 40 || std::abs(p[1] - p[2]) > 40 || std::abs(p[0] - p[2]) > 40)
            return true;
    return false;
}

using BitmapComboBoxWindowTest = ShellTest;

}

TEST(BitmapComboBoxTest, composingOnAGroundAndReplacingTheKeyColourChangeOnlyWhatTheyShould)
{
    // Three pixels in a row, then three below: transparent, half, opaque.
    std::vector<unsigned char> rgba = {
        10, 20, 30, 0,   100, 100, 100, 0,   0, 0, 0, 0,    //
        10, 20, 30, 0,   200, 100, 0, 128,   0, 0, 0, 255,  //
    };
    Rect content{9, 9, 9, 9};
    UiBitmapComboBox::composeOnColour(rgba.data(), 3, 2, 205, 232, &content);
    // Transparent: the selection ground; opaque: the pixel itself.
    EXPECT_EQ((std::vector<unsigned char>(rgba.begin(), rgba.begin() + 4)),
              (std::vector<unsigned char>{205, 232, 255, 255}));
    EXPECT_EQ((std::vector<unsigned char>(rgba.begin() + 20, rgba.begin() + 24)),
              (std::vector<unsigned char>{0, 0, 0, 255}));
    EXPECT_EQ(rgba[16], int(200 * (128 / 255.0) + 205 * (1 - 128 / 255.0)));
    EXPECT_EQ(content, (Rect{1, 1, 3, 2}));
    std::vector<unsigned char> clear(4 * 4, 0);
    UiBitmapComboBox::composeOnColour(clear.data(), 2, 2, 255, 255, &content);
    EXPECT_TRUE(content.isEmpty());
    EXPECT_EQ(clear[0], 255);

    // White becomes the selection colour; the content is what is not white,
    // with three or four bytes a pixel.
    for (int bytes : {3, 4}) {
        std::vector<unsigned char> pixels(size_t(4 * 3 * bytes), 255);
        pixels[size_t((1 * 4 + 2) * bytes)] = 0;  // x 2, y 1 is red-less
        UiBitmapComboBox::replaceKeyColour(pixels.data(), 4, 3, bytes, UiBitmapComboBox::white,
                                           UiBitmapComboBox::selectionColour, &content);
        EXPECT_EQ(content, (Rect{2, 1, 3, 2})) << bytes;
        EXPECT_EQ(pixels[0], 205) << bytes;
        EXPECT_EQ(pixels[1], 232) << bytes;
        EXPECT_EQ(pixels[2], 255) << bytes;
        EXPECT_EQ(pixels[size_t((1 * 4 + 2) * bytes)], 0) << bytes;
    }
}

TEST(BitmapComboBoxTest, aLargeContentIsScaledDownAndASmallOneCentredAtItsOwnSize)
{
    struct Case
    {
        const char* name;
        Rect content;
        double s;
        Rect box;
        bool stretched;
    } cases[] = {
        // Wider than high: fit the width less the margins, height by the proportions.
        {"large and wide", {0, 0, 100, 50}, 1.0, {4, 12, 38, 29}, true},
        {"large and tall", {10, 0, 40, 120}, 1.0, {17, 4, 25, 38}, true},
        // Fits: drawn unscaled in the middle of the fitted box.
        {"small", {3, 3, 13, 23}, 1.0, {15, 11, 25, 31}, false},
        {"large at 1.5", {0, 0, 100, 50}, 1.5, {6, 13, 36, 28}, true},
        {"nothing to show", {0, 0, 0, 0}, 1.0, {0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        UiBitmapComboBox::Placement p = UiBitmapComboBox::fit(Rect{0, 0, 42, 42}, c.content, c.s);
        EXPECT_EQ(p.box, c.box) << c.name << ": " << p.box.left << " " << p.box.top << " " << p.box.right << " "
                                << p.box.bottom;
        EXPECT_EQ(p.stretched, c.stretched) << c.name;
    }
}

TEST_F(BitmapComboBoxWindowTest, itemsKeepTheirPicturesAlignedAndADisabledBoxDrawsGrey)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "combo");
    UiBitmapComboBox* combo = new UiBitmapComboBox(frame, wxID_ANY, wxDefaultPosition, wxSize(200, -1));
    combo->imageWidth = 42;
    combo->itemHeight = 42;
    combo->recolourMode = 1;
    const wxColour red(220, 0, 0);
    EXPECT_EQ(combo->addItem("first", picture(60, 40, *wxWHITE, red, wxRect(5, 5, 10, 10))), 0);
    EXPECT_EQ(combo->listItemHeight(), 47);
    EXPECT_EQ(combo->addItem("second", picture(60, 40, *wxWHITE, red, wxRect(20, 10, 10, 10))), 1);
    EXPECT_EQ(combo->addItem("third", picture(60, 40, *wxWHITE, red, wxRect(30, 20, 20, 5))), 2);
    EXPECT_EQ(combo->listItemHeight(), 47);
    EXPECT_EQ(combo->contentRect(2), (Rect{30, 20, 50, 25}));
    // The highlighted copy has the selection ground where the picture is white.
    wxImage highlighted = combo->highlightedPicture(0).ConvertToImage();
    EXPECT_EQ(highlighted.GetRed(0, 0), 205);
    EXPECT_EQ(highlighted.GetGreen(0, 0), 232);
    EXPECT_EQ(combo->picture(0).ConvertToImage().GetRed(0, 0), 255);

    combo->Delete(1);
    ASSERT_EQ(combo->GetCount(), 2u);
    ASSERT_EQ(combo->pictureCount(), 2);
    EXPECT_EQ(combo->GetString(1), "third");
    EXPECT_EQ(combo->contentRect(1), (Rect{30, 20, 50, 25}));

    auto drawn = [&](int flags) {
        wxBitmap target(120, 47, 24);
        {
            wxMemoryDC dc(target);
            combo->drawItem(dc, wxRect(0, 0, 120, 47), 0, flags);
        }
        return target;
    };
    EXPECT_TRUE(hasColour(drawn(0)));
    // The highlighted entry of the open list shows on the selection ground.
    EXPECT_EQ(drawn(wxODCB_PAINTING_SELECTED).ConvertToImage().GetBlue(119, 1), 255);
    EXPECT_EQ(drawn(wxODCB_PAINTING_SELECTED).ConvertToImage().GetRed(119, 1), 205);
    combo->Disable();
    EXPECT_FALSE(hasColour(drawn(0)));

    combo->Clear();
    EXPECT_EQ(combo->pictureCount(), 0);
    frame->Destroy();
}
