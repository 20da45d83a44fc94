#include "app/UiImages.h"

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/mstream.h>

// Generated at build time from resources/images (cmake/EmbedImages.cmake).
struct UiImageData
{
    unsigned id;
    const unsigned char* data;
    size_t size;
};
extern const UiImageData uiImageData[];
extern const int uiImageCount;

bool UiImages::png(unsigned id, const unsigned char*& data, size_t& size)
{
    for (int i = 0; i < uiImageCount; ++i) {
        if (uiImageData[i].id == id) {
            data = uiImageData[i].data;
            size = uiImageData[i].size;
            return true;
        }
    }
    return false;
}

wxBitmap UiImages::bitmap(unsigned id)
{
    const unsigned char* data = nullptr;
    size_t size = 0;
    if (!png(id, data, size))
        return wxBitmap();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    wxMemoryInputStream stream(data, size);
    wxImage image;
    if (!image.LoadFile(stream, wxBITMAP_TYPE_PNG))
        return wxBitmap();
    return wxBitmap(image);
}

wxIcon UiImages::icon(unsigned id)
{
    wxIcon icon;
    wxBitmap picture = bitmap(id);
    if (picture.IsOk())
        icon.CopyFromBitmap(picture);
    return icon;
}

wxBitmap UiImages::iconBitmap(unsigned id)
{
    return bitmap(iconBase + id);
}
