#include "app/UiLook.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include <gtk/gtk.h>

const char* UiLook::menuStyleSheet()
{
    // The text keeps the colour it has outside the highlight.
    return "menu menuitem:hover, .menu menuitem:hover, menubar > menuitem:hover {\n"
           "  background-color: rgb(255, 228, 149);\n"
           "  background-image: none;\n"
           "  box-shadow: inset 0 0 0 1px rgb(242, 149, 54);\n"
           "  color: @theme_fg_color;\n"
           "}\n"
           "menu menuitem:hover label, .menu menuitem:hover label, menubar > menuitem:hover label {\n"
           "  color: @theme_fg_color;\n"
           "}\n";
}

bool UiLook::installMenuStyle()
{
    static bool installed = false;
    if (installed)
        return true;
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen)
        return false;
    GtkCssProvider* provider = gtk_css_provider_new();
    bool loaded = gtk_css_provider_load_from_data(provider, menuStyleSheet(), -1, nullptr);
    if (loaded)
        gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    installed = loaded;
    return loaded;
}

wxRect UiLook::shortenedSeparator(const wxRect& rect, bool horizontalBar)
{
    wxRect shortened = rect;
    if (horizontalBar) {
        int cut = rect.height / 15;
        shortened.y += cut;
        shortened.height -= 2 * cut;
    } else {
        int cut = rect.width / 15;
        shortened.x += cut;
        shortened.width -= 2 * cut;
    }
    return shortened;
}

void UiToolBarArt::DrawSeparator(wxDC& dc, wxWindow*, const wxRect& rect)
{
    bool horizontalBar = !(GetFlags() & wxAUI_TB_VERTICAL);
    wxRect r = UiLook::shortenedSeparator(rect, horizontalBar);
    // Across the bar: a vertical line in a horizontal bar.
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    if (horizontalBar) {
        int x = r.x + r.width / 2;
        dc.DrawLine(x, r.y, x, r.y + r.height);
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT)));
        dc.DrawLine(x + 1, r.y, x + 1, r.y + r.height);
    } else {
        int y = r.y + r.height / 2;
        dc.DrawLine(r.x, y, r.x + r.width, y);
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT)));
        dc.DrawLine(r.x, y + 1, r.x + r.width, y + 1);
    }
}
