#pragma once

#include "foundation/BcArray.h"
#include "foundation/GePoint2d.h"

class EdSelection;
class MnSheetMusic;
class QuorvaneDocument;

// The sheets that an export writes, and the pages it walks: the sheet music
// among the exporting renderer's selection (where the command puts the
// chosen sheets), in selection order; without any, every sheet music of the
// document in document order. While a sheet's pages are drawn the sheet is
// shown spread out (ReSpreadOut), so every page has a place.
class ReExportSheets
{
public:
    ReExportSheets(const EdSelection& selection, QuorvaneDocument* document);

    int count() const { return sheets.count(); }
    MnSheetMusic* at(int index) const { return sheets[index]; }
    // The number of pages of all sheets; inside the caller's cache scope.
    int totalPages() const;

    // Calls drawPage(sheet, page origin) for every page of every sheet
    // that has a place, in order, each sheet spread out meanwhile.
    template <class DrawPage>
    void forEachPage(DrawPage&& drawPage) const;

    // The pages of a sheet and the top-left corner of one in the document;
    // false when the page has no place.
    static int pageCount(MnSheetMusic* sheet);
    static bool pageOrigin(MnSheetMusic* sheet, int page, GePoint2d& origin);

private:
    BcArray<MnSheetMusic*> sheets;
};

// Shows a sheet spread out while it lives and gives it its presentation
// back afterwards.
class ReSpreadOut
{
public:
    explicit ReSpreadOut(MnSheetMusic* sheet);
    ~ReSpreadOut();
    ReSpreadOut(const ReSpreadOut&) = delete;
    ReSpreadOut& operator=(const ReSpreadOut&) = delete;

private:
    MnSheetMusic* sheet;
    int presentation;
};

template <class DrawPage>
void ReExportSheets::forEachPage(DrawPage&& drawPage) const
{
    for (int s = 0; s < sheets.count(); ++s) {
        MnSheetMusic* sheet = sheets[s];
        ReSpreadOut spreadOut(sheet);
        const int pages = pageCount(sheet);
        for (int page = 0; page < pages; ++page) {
            GePoint2d origin;
            if (pageOrigin(sheet, page, origin))
                drawPage(sheet, origin);
        }
    }
}
