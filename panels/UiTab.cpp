#include "panels/UiTab.h"

#include "model/MnCredit.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaffDefinition.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"
#include "model/MnText.h"
#include "model/MnTuplet.h"
#include "model/MnWork.h"
#include "panels/UiCreditDlg.h"
#include "panels/UiLyricDlg.h"
#include "panels/UiMeasureDlg.h"
#include "panels/UiNoteDlg.h"
#include "panels/UiPartDlg.h"
#include "panels/UiPartGroupDlg.h"
#include "panels/UiPropertiesPage.h"
#include "panels/UiScoreDlg.h"
#include "panels/UiSheetMusicDlg.h"
#include "panels/UiStaffDlg.h"
#include "panels/UiTablatureDlg.h"
#include "panels/UiTempoDlg.h"
#include "panels/UiTextDlg.h"
#include "panels/UiWorkDlg.h"

#include <wx/notebook.h>
#include <wx/sizer.h>

namespace {

template <typename Page>
std::unique_ptr<UiPropertiesDlg> make()
{
    return std::make_unique<Page>();
}

struct ClassRow
{
    const BcClass* (*modelClass)();
    std::unique_ptr<UiPropertiesDlg> (*makePage)();
};

// Later rows are more specific: a rebuilt pane selects the last tab.
const ClassRow rows[] = {
    {&MnText::staticClass, &make<UiTextDlg>},
    {&MnSheetMusic::staticClass, &make<UiSheetMusicDlg>},
    {&MnScore::staticClass, &make<UiScoreDlg>},
    {&MnTablature::staticClass, &make<UiTablatureDlg>},
    {&MnStaffDefinition::staticClass, &make<UiStaffDlg>},
    {&MnPart::staticClass, &make<UiPartDlg>},
    {&MnPartGroup::staticClass, &make<UiPartGroupDlg>},
    {&MnMeasure::staticClass, &make<UiMeasureDlg>},
    {&MnNote::staticClass, &make<UiNoteDlg>},
    {&MnTuplet::staticClass, nullptr},
    {&MnTempo::staticClass, &make<UiTempoDlg>},
    {&MnOctave::staticClass, nullptr},
    {&MnDynamic::staticClass, nullptr},
    {&MnPedal::staticClass, nullptr},
    {&MnLyric::staticClass, &make<UiLyricDlg>},
    {&MnCredit::staticClass, &make<UiCreditDlg>},
    {&MnWork::staticClass, &make<UiWorkDlg>},
};

constexpr int rowCount = int(sizeof rows / sizeof rows[0]);

// The elements of the list of a class or of one derived from it, in order.
BcArray<MnElement*> elementsOf(const BcArray<MnElement*>& list, const BcClass* cls)
{
    BcArray<MnElement*> found;
    for (int i = 0; i < list.count(); ++i)
        if (list[i] && list[i]->isKindOf(cls))
            found.add(list[i]);
    return found;
}

}

UiTab::UiTab(wxWindow* parent) : wxPanel(parent, wxID_ANY)
{
    book = new wxNotebook(this, wxID_ANY);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(book, 1, wxEXPAND);
    SetSizer(sizer);
    book->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
        event.Skip();
        onPageChanged();
    });
}

// The notebook destroys the pages that are tabs; the others are its
// children too, and go with it.
UiTab::~UiTab() = default;

int UiTab::classCount()
{
    return rowCount;
}

const BcClass* UiTab::modelClass(int row)
{
    return row >= 0 && row < rowCount ? rows[row].modelClass() : nullptr;
}

std::unique_ptr<UiPropertiesDlg> UiTab::makePage(int row)
{
    if (row < 0 || row >= rowCount || !rows[row].makePage)
        return nullptr;
    return rows[row].makePage();
}

void UiTab::show(const BcArray<MnElement*>& selection)
{
    // The classes present that have a page; a class without one adds no tab.
    std::vector<int> present;
    for (int row = 0; row < rowCount; ++row)
        if (rows[row].makePage && !elementsOf(selection, modelClass(row)).isEmpty())
            present.push_back(row);

    bool same = present.size() == tabPages.size();
    for (size_t i = 0; same && i < present.size(); ++i)
        same = pageRows[size_t(tabPages[i])] == present[i];
    if (same) {
        for (size_t i = 0; i < present.size(); ++i) {
            UiPropertiesDlg& page = pages[size_t(tabPages[i])]->page();
            if (!page.isApplying())
                page.elementList().clear();
            page.loadElements(elementsOf(selection, modelClass(present[i])));
        }
        return;
    }

    // Making pages and tabs must not take the keyboard focus from where it is.
    wxWindow* focus = wxWindow::FindFocus();
    Freeze();
    adding = true;
    while (book->GetPageCount() > 0)
        book->RemovePage(book->GetPageCount() - 1);
    adding = false;
    tabPages.clear();
    for (UiPropertiesPage* page : pages) {
        page->Hide();
        if (!page->page().isApplying())
            page->page().elementList().clear();
    }
    for (int row : present)
        addPage(elementsOf(selection, modelClass(row)), row);
    if (!tabPages.empty())
        book->ChangeSelection(tabPages.size() - 1);
    onPageChanged();
    Thaw();
    Refresh();
    if (focus && wxWindow::FindFocus() != focus)
        focus->SetFocus();
}

bool UiTab::addPage(const BcArray<MnElement*>& list, int row)
{
    if (list.isEmpty())
        return false;
    adding = true;
    int index = -1;
    for (size_t i = 0; i < pages.size(); ++i)
        if (pageRows[i] == row)
            index = int(i);
    if (index < 0) {
        std::unique_ptr<UiPropertiesDlg> made = makePage(row);
        if (!made) {
            adding = false;
            return true;
        }
        wxWindow* focus = wxWindow::FindFocus();
        auto* page = new UiPropertiesPage(book, std::move(made));
        page->Hide();
        pages.push_back(page);
        pageRows.push_back(row);
        index = int(pages.size()) - 1;
        wxWindow* now = wxWindow::FindFocus();
        if (focus && now != focus)
            focus->SetFocus();
    }
    UiPropertiesPage* page = pages[size_t(index)];
    page->page().loadElements(list);
    // The notebook switches only to pages that are shown; it hides the
    // ones behind the selected tab itself.
    page->Show();
    book->AddPage(page, wxString::FromUTF8(page->page().title().toNarrow(BcString::utf8CodePage)), false);
    tabPages.push_back(index);
    adding = false;
    return true;
}

void UiTab::onPageChanged()
{
    if (adding)
        return;
    int selected = book->GetSelection();
    if (selected == wxNOT_FOUND || selected >= int(tabPages.size()))
        return;
    pages[size_t(tabPages[size_t(selected)])]->Show();
}

int UiTab::tabCount() const
{
    return int(tabPages.size());
}

int UiTab::selectedTab() const
{
    return book->GetSelection();
}

wxString UiTab::tabTitle(int tab) const
{
    return tab >= 0 && tab < int(book->GetPageCount()) ? book->GetPageText(size_t(tab)) : wxString();
}

UiPropertiesPage* UiTab::tabPage(int tab) const
{
    return tab >= 0 && tab < int(tabPages.size()) ? pages[size_t(tabPages[size_t(tab)])] : nullptr;
}

UiPropertiesPage* UiTab::pageOfRow(int row) const
{
    for (size_t i = 0; i < pages.size(); ++i)
        if (pageRows[i] == row)
            return pages[i];
    return nullptr;
}
