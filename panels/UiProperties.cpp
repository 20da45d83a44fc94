#include "panels/UiProperties.h"

#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnWork.h"
#include "panels/UiTab.h"
#include "platform/gui/UiScale.h"

#include <wx/sizer.h>

wxIMPLEMENT_CLASS(UiProperties, wxPanel);

UiProperties::UiProperties(wxWindow* parent, wxWindowID id) : wxPanel(parent, id)
{
    tab = new UiTab(this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(tab, 1, wxEXPAND);
    SetSizer(sizer);
    int side = UiScale::pixels(minimumSize);
    SetMinSize(wxSize(side, side));
}

void UiProperties::selectionChanged()
{
    EdContext& context = EdContext::current();
    BcArray<MnElement*> shown;
    if (EdView* view = context.activeView()) {
        const BcArray<MnElement*>& selected = view->selection().elementArray();
        for (int i = 0; i < selected.count(); ++i)
            shown.add(selected[i]);
    }
    // Nothing selected: the document's work.
    if (shown.isEmpty()) {
        QuorvaneDocument* document = context.activeDocument();
        if (document && document->works().count() > 0) {
            MnElement* first = document->works()[0];
            if (first && first->isKindOf(MnWork::staticClass()))
                shown.add(first);
        }
    }
    tab->show(shown);
}
