#include "render/ReExportSheets.h"

#include "editing/EdSelection.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnSheetMusic.h"

static MnSheetMusic* asSheet(MnElement* element)
{
    if (!element || !element->isKindOf(MnSheetMusic::staticClass()))
        return nullptr;
    return static_cast<MnSheetMusic*>(element);
}

ReExportSheets::ReExportSheets(const EdSelection& selection, QuorvaneDocument* document)
{
    for (int i = 0; i < selection.count(); ++i) {
        if (MnSheetMusic* sheet = asSheet(selection.element(i)))
            sheets.add(sheet);
    }
    if (sheets.count() > 0 || !document)
        return;
    const BcArray<MnElement*>& works = document->works();
    for (int i = 0; i < works.count(); ++i) {
        if (MnSheetMusic* sheet = asSheet(works[i]))
            sheets.add(sheet);
    }
}

int ReExportSheets::totalPages() const
{
    int total = 0;
    for (int i = 0; i < sheets.count(); ++i)
        total += pageCount(sheets[i]);
    return total;
}

int ReExportSheets::pageCount(MnSheetMusic* sheet)
{
    return sheet ? sheet->pageCount() : 0;
}

bool ReExportSheets::pageOrigin(MnSheetMusic* sheet, int page, GePoint2d& origin)
{
    if (!sheet || page < 0 || page >= pageCount(sheet))
        return false;
    return sheet->pageOrigin(page, origin, false);
}

ReSpreadOut::ReSpreadOut(MnSheetMusic* sheet)
    : sheet(sheet), presentation(sheet->presentation())
{
    sheet->setPresentation(MnSheetMusic::PagesInRows);
}

ReSpreadOut::~ReSpreadOut()
{
    sheet->setPresentation(presentation);
}
