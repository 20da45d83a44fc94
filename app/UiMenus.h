#pragma once

#include <wx/accel.h>
#include <wx/arrstr.h>

class Quorvane;
class wxMenu;
class wxMenuBar;

// Builds the menu bars 128 and 130 from the menu table, in the interface
// language, and keeps their recent-file entries current.
class UiMenus
{
public:
    static constexpr unsigned firstRecentFile = 57616;
    static constexpr int recentFileCount = 4;

    // Menu items take ids below 32767, and command ids reach 59393: an item
    // carries its command id less 30000, giving 2783 to 3104 and 27600 to
    // 29393, clear of the toolkit's own ids (5000 to 5999); the few command
    // ids below 2000 (131, Windows...) are their own item ids.
    static constexpr unsigned itemIdOffset = 30000;
    static int itemId(unsigned commandId)
    {
        return int(commandId >= itemIdOffset ? commandId - itemIdOffset : commandId);
    }
    static unsigned commandId(int itemId)
    {
        bool shifted = (itemId >= 2000 && itemId < 5000) || (itemId >= 6000 && itemId < 32767);
        return shifted ? unsigned(itemId) + itemIdOffset : unsigned(itemId);
    }

    static wxMenuBar* build(unsigned menuId, Quorvane& app);
    // A context menu (119), its items at the top level.
    static wxMenu* buildPopup(unsigned menuId, Quorvane& app);
    // The accelerators of menu 130 that no item text shows.
    static wxAcceleratorTable hiddenAccelerators();
    // Replaces the recent-file entries of the bar's File menu; "Recent file",
    // greyed, while there are none.
    static void updateRecentFiles(wxMenuBar* bar, const wxArrayString& files, Quorvane& app);
};
