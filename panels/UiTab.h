#pragma once

#include "foundation/BcArray.h"

#include <wx/panel.h>

#include <memory>
#include <vector>

class BcClass;
class MnElement;
class UiPropertiesDlg;
class UiPropertiesPage;
class wxNotebook;

// The notebook of the properties pane: one tab per model class of the
// selection, in a fixed order, each showing the page of its class. Pages
// are made the first time their class shows up and live as long as the
// pane; a tab names its page by its index in `pages`, whose order is that
// of creation, not of the tabs.
class UiTab : public wxPanel
{
public:
    explicit UiTab(wxWindow* parent);
    ~UiTab() override;

    // The seventeen model classes in tab order; the page of row i is made
    // by makePage(i), which answers null for a class with no page yet.
    static int classCount();
    static const BcClass* modelClass(int row);
    static std::unique_ptr<UiPropertiesDlg> makePage(int row);

    // Shows the pages of the classes present in the elements (or derived
    // from them): reloads the same tabs, or makes them anew selecting the
    // last.
    void show(const BcArray<MnElement*>& selection);

    // Adds the tab of a class row with the elements of that class; false
    // for an empty list.
    bool addPage(const BcArray<MnElement*>& list, int row);

    int tabCount() const;
    int selectedTab() const;
    wxString tabTitle(int tab) const;
    // The page a tab shows, or null.
    UiPropertiesPage* tabPage(int tab) const;
    // The page made for a class row, or null.
    UiPropertiesPage* pageOfRow(int row) const;
    wxNotebook* notebook() const { return book; }

private:
    void onPageChanged();

    wxNotebook* book = nullptr;
    std::vector<UiPropertiesPage*> pages;  // children of the notebook
    std::vector<int> pageRows;             // the class row of each page
    std::vector<int> tabPages;             // per tab, its index in pages
    bool adding = false;
};
