#include "panels/UiLyricDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnLyric.h"

#include <vector>

namespace {

enum Control
{
    textEdit = 1094,
    passList = 1292,
};

const UiAnchorSpec pageAnchors[] = {
    {1094, UiAnchorSpec::sizeX, 100},
    {1344, UiAnchorSpec::sizeX, 40},
    {1292, UiAnchorSpec::moveX, 40},
    {1292, UiAnchorSpec::sizeX, 60},
};

}

BcString UiLyricDlg::title() const
{
    return BcStringResources::current().loadString(10103);
}

const BcClass* UiLyricDlg::elementClass() const
{
    return MnLyric::staticClass();
}

void UiLyricDlg::setupAnchors()
{
    addAnchors(pageAnchors, int(sizeof pageAnchors / sizeof pageAnchors[0]));
}

void UiLyricDlg::initDialog()
{
    std::string all = BcStringResources::current().loadString(10104).toNarrow(BcString::utf8CodePage);
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        size_t end = all.find(';', start);
        items.push_back(all.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    host().setItems(passList, items);
}

bool UiLyricDlg::loadElement(MnElement* element, bool merge)
{
    MnLyric* lyric = static_cast<MnLyric*>(element);
    std::string shown = lyric->text().toNarrow(BcString::utf8CodePage);
    if (!merge) {
        text = shown;
        pass = lyric->passThrough();
        return true;
    }
    mergeText(text, shown);
    mergeChoice(pass, lyric->passThrough());
    return true;
}

bool UiLyricDlg::applyToElement(MnElement* element)
{
    MnLyric* lyric = static_cast<MnLyric*>(element);
    // An empty text is refused: the line keeps its syllables.
    if (text != various)
        lyric->setText(BcString(text.c_str()));
    if (pass >= 0 && pass != lyric->passThrough())
        lyric->setPassThrough(pass);
    return true;
}

void UiLyricDlg::exchange(UiDataExchange& dx)
{
    dx.text(textEdit, text);
    dx.listIndex(passList, pass);
}

void UiLyricDlg::notified(int controlId, UiControlHost::Notification what)
{
    if ((controlId == textEdit && what == UiControlHost::textChanged) ||
        (controlId == passList && what == UiControlHost::selectionChanged))
        onControlChange();
}
