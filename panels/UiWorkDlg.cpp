#include "panels/UiWorkDlg.h"

#include "app/UiDataExchange.h"
#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcStringResources.h"
#include "model/MnCredit.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"
#include "panels/UiPageAnchors.h"

namespace {

const int edits[6] = {1171, 1095, 1096, 1097, 1098, 1099};

BcString* field(MnWork& work, int index)
{
    BcString* fields[6] = {&work.title, &work.subtitle, &work.composer, &work.arranger, &work.lyricist,
                           &work.copyright};
    return fields[index];
}

}

BcString UiWorkDlg::title() const
{
    return BcStringResources::current().loadString(10029);
}

const BcClass* UiWorkDlg::elementClass() const
{
    return MnWork::staticClass();
}

void UiWorkDlg::setupAnchors()
{
    addAnchors(UiPageAnchors::work, UiPageAnchors::workCount);
}

// A document has one work: there is nothing to merge.
bool UiWorkDlg::loadElement(MnElement* element, bool)
{
    MnWork* work = static_cast<MnWork*>(element);
    for (int i = 0; i < 6; ++i)
        texts[i] = field(*work, i)->toNarrow(BcString::utf8CodePage);
    return true;
}

bool UiWorkDlg::applyToElement(MnElement* element)
{
    MnWork* work = static_cast<MnWork*>(element);
    for (int i = 0; i < 6; ++i)
        *field(*work, i) = BcString(texts[i].c_str());
    QuorvaneDocument* document = EdContext::current().activeDocument();
    if (!document)
        return true;
    const BcArray<MnElement*>& works = document->works();
    for (int w = 0; w < works.count(); ++w) {
        if (!works[w] || !works[w]->isKindOf(MnSheetMusic::staticClass()))
            continue;
        MnSheetMusic* sheet = static_cast<MnSheetMusic*>(works[w]);
        for (int c = 0; c < sheet->creditCount(); ++c) {
            MnCredit* credit = sheet->credit(c);
            // A free credit keeps its own text.
            if (credit && credit->type() >= 0 && credit->type() < 6)
                credit->setText(*field(*work, credit->type()));
        }
    }
    return true;
}

void UiWorkDlg::exchange(UiDataExchange& dx)
{
    for (int i = 0; i < 6; ++i)
        dx.text(edits[i], texts[i]);
}

void UiWorkDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (what != UiControlHost::textChanged)
        return;
    for (int id : edits)
        if (id == controlId)
            onControlChange();
}
