#include "app/UiMenus.h"

#include "app/Quorvane.h"
#include "app/UiTexts.h"

#include <wx/filename.h>
#include <wx/menu.h>

#include <vector>

static wxString itemLabel(const UiMenuItem& item, Quorvane& app)
{
    char context[64];
    UiTexts::menuContext(item, context, sizeof context);
    wxString label = app.shellText(context, item.text);
    if (item.shortcut)
        label << "\t" << item.shortcut;
    return label;
}

wxMenuBar* UiMenus::build(unsigned menuId, Quorvane& app)
{
    wxMenuBar* bar = new wxMenuBar;
    std::vector<wxMenu*> open;
    std::vector<wxString> titles;
    for (const UiMenuItem* item = UiTexts::menu(menuId); item && item->kind != UiMenuItem::menuEnd; ++item) {
        switch (item->kind) {
        case UiMenuItem::popup:
            open.push_back(new wxMenu);
            titles.push_back(itemLabel(*item, app));
            break;
        case UiMenuItem::popupEnd: {
            wxMenu* done = open.back();
            wxString title = titles.back();
            open.pop_back();
            titles.pop_back();
            if (open.empty())
                bar->Append(done, title);
            else
                open.back()->AppendSubMenu(done, title);
            break;
        }
        case UiMenuItem::separator:
            open.back()->AppendSeparator();
            break;
        case UiMenuItem::check:
            open.back()->AppendCheckItem(itemId(item->id), itemLabel(*item, app));
            break;
        case UiMenuItem::recentFiles:
        case UiMenuItem::command:
            open.back()->Append(itemId(item->id), itemLabel(*item, app));
            break;
        case UiMenuItem::menuEnd:
            break;
        }
    }
    updateRecentFiles(bar, app.recentFiles(), app);
    return bar;
}

wxMenu* UiMenus::buildPopup(unsigned menuId, Quorvane& app)
{
    std::vector<wxMenu*> open{new wxMenu};
    std::vector<wxString> titles{wxString()};
    for (const UiMenuItem* item = UiTexts::menu(menuId); item && item->kind != UiMenuItem::menuEnd; ++item) {
        switch (item->kind) {
        case UiMenuItem::popup:
            open.push_back(new wxMenu);
            titles.push_back(itemLabel(*item, app));
            break;
        case UiMenuItem::popupEnd:
            if (open.size() > 1) {
                wxMenu* done = open.back();
                wxString title = titles.back();
                open.pop_back();
                titles.pop_back();
                open.back()->AppendSubMenu(done, title);
            }
            break;
        case UiMenuItem::separator:
            open.back()->AppendSeparator();
            break;
        case UiMenuItem::check:
        case UiMenuItem::recentFiles:
        case UiMenuItem::command:
            open.back()->Append(itemId(item->id), itemLabel(*item, app));
            break;
        case UiMenuItem::menuEnd:
            break;
        }
    }
    // A table without its end markers still gives a whole menu.
    while (open.size() > 1) {
        wxMenu* done = open.back();
        open.pop_back();
        open.back()->AppendSubMenu(done, titles.back());
        titles.pop_back();
    }
    return open.front();
}

wxAcceleratorTable UiMenus::hiddenAccelerators()
{
    int count = 0;
    const UiTexts::Accelerator* keys = UiTexts::hiddenAccelerators(count);
    std::vector<wxAcceleratorEntry> entries;
    for (int i = 0; i < count; ++i) {
        int flags = (keys[i].flags & 1 ? wxACCEL_CTRL : 0) | (keys[i].flags & 2 ? wxACCEL_SHIFT : 0) |
                    (keys[i].flags & 4 ? wxACCEL_ALT : 0);
        int key = keys[i].key;
        switch (key) {
        case UiTexts::keyUp: key = WXK_UP; break;
        case UiTexts::keyDown: key = WXK_DOWN; break;
        case UiTexts::keyF8: key = WXK_F8; break;
        case UiTexts::keyF9: key = WXK_F9; break;
        case UiTexts::keyF10: key = WXK_F10; break;
        case UiTexts::keyF12: key = WXK_F12; break;
        case UiTexts::keyNumpadAdd: key = WXK_NUMPAD_ADD; break;
        case UiTexts::keyNumpadSubtract: key = WXK_NUMPAD_SUBTRACT; break;
        default: break;
        }
        entries.emplace_back(flags, key, itemId(keys[i].id));
    }
    return wxAcceleratorTable(int(entries.size()), entries.data());
}

void UiMenus::updateRecentFiles(wxMenuBar* bar, const wxArrayString& files, Quorvane& app)
{
    if (!bar || bar->GetMenuCount() == 0)
        return;
    wxMenu* file = bar->GetMenu(0);
    int position = -1;
    for (size_t i = 0; i < file->GetMenuItemCount(); ++i) {
        unsigned id = commandId(file->FindItemByPosition(i)->GetId());
        if (id >= firstRecentFile && id < firstRecentFile + recentFileCount) {
            position = int(i);
            break;
        }
    }
    if (position < 0)
        return;
    for (unsigned id = firstRecentFile; id < firstRecentFile + recentFileCount; ++id)
        while (wxMenuItem* old = file->FindChildItem(itemId(id)))
            file->Destroy(old);
    if (files.empty()) {
        UiMenuItem placeholder{UiMenuItem::recentFiles, firstRecentFile, nullptr, "Recent file", nullptr};
        file->Insert(size_t(position), itemId(firstRecentFile), itemLabel(placeholder, app));
        file->Enable(itemId(firstRecentFile), false);
        return;
    }
    for (size_t i = 0; i < files.size() && i < size_t(recentFileCount); ++i) {
        wxString path = files[i];
        path.Replace("&", "&&");
        wxString label = wxString::Format("&%d %s", int(i + 1), path);
        file->Insert(size_t(position) + i, itemId(firstRecentFile + unsigned(i)), label);
    }
}
