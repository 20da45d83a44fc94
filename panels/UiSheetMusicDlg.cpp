#include "panels/UiSheetMusicDlg.h"

#include "app/UiColorCtrl.h"
#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnSheetMusic.h"
#include "panels/UiPageAnchors.h"

#include <string>
#include <vector>

namespace {

enum Control
{
    presentationGroup = 1070,
    sizeList = 1113,
    widthEdit = 1119,
    widthUpDown = 1115,
    heightEdit = 1087,
    heightUpDown = 1116,
    paperSwatch = 1125,
    textureCheck = 1084,
    orientationGroup = 1000,
    portraitPicture = 1122,
    landscapePicture = 1123,
    rightLink = 1147,
    topLink = 1086,
    bottomLink = 1148,
    mirrorCheck = 1136,
};

const int pageBoxes[5] = {1124, 1137, 1138, 1139, 1140};
const int marginEdits[4] = {1127, 1130, 1134, 1141};
const int marginUpDowns[4] = {1128, 1132, 1135, 1142};

// Standard sizes in portrait, millimetres.
const int standardSizes[3][2] = {{297, 420}, {210, 297}, {148, 210}};
constexpr int customSize = 3;
// The paper's sides as the up-downs take them, and the margins.
constexpr int shortestSide = 1;
constexpr int longestSide = 999;
constexpr int widestMargin = 999;
constexpr int textureShift = 24;

UiSheetMusicDlg::ColorPicker picker = &UiColorCtrl::pickWithToolkit;

constexpr int utf8 = BcString::utf8CodePage;

int bit(bool on)
{
    return on ? 1 : 0;
}

}

UiSheetMusicDlg::ColorPicker UiSheetMusicDlg::setColorPicker(ColorPicker newPicker)
{
    ColorPicker old = picker;
    picker = newPicker ? newPicker : &UiColorCtrl::pickWithToolkit;
    return old;
}

BcString UiSheetMusicDlg::title() const
{
    return BcStringResources::current().loadString(10018);
}

const BcClass* UiSheetMusicDlg::elementClass() const
{
    return MnSheetMusic::staticClass();
}

void UiSheetMusicDlg::setupAnchors()
{
    addAnchors(UiPageAnchors::sheetMusic, UiPageAnchors::sheetMusicCount);
}

void UiSheetMusicDlg::initDialog()
{
    UiControlHost& h = host();
    h.setItems(sizeList, {"A3", "A4", "A5"});
    h.setTextLimit(widthEdit, 3);
    h.setTextLimit(heightEdit, 3);
    for (int id : marginEdits)
        h.setTextLimit(id, 3);
    h.setRange(widthUpDown, shortestSide, longestSide);
    h.setRange(heightUpDown, shortestSide, longestSide);
    for (int id : marginUpDowns)
        h.setRange(id, 0, widestMargin);
    frameControl(portraitPicture, 0);
    frameControl(landscapePicture, 0);
}

bool UiSheetMusicDlg::hasCustomItem()
{
    return host().itemCount(sizeList) > customSize;
}

bool UiSheetMusicDlg::matchPaperSize()
{
    int before = paperSize;
    if (widthMixed || heightMixed) {
        paperSize = -1;
        return paperSize != before;
    }
    UiControlHost& h = host();
    for (int i = 0; i < 3; ++i) {
        const int* size = standardSizes[i];
        if ((width == size[0] && height == size[1]) || (width == size[1] && height == size[0])) {
            paperSize = i;
            if (hasCustomItem())
                h.setItems(sizeList, {"A3", "A4", "A5"});
            return paperSize != before;
        }
    }
    if (!hasCustomItem())
        h.setItems(sizeList, {"A3", "A4", "A5", BcStringResources::current().loadString(10111).toNarrow(utf8)});
    paperSize = customSize;
    return paperSize != before;
}

bool UiSheetMusicDlg::loadElement(MnElement* element, bool merge)
{
    MnSheetMusic* sheet = static_cast<MnSheetMusic*>(element);
    int color = sheet->paperColor() & 0xFFFFFF;
    int flag = int(unsigned(sheet->paperColor()) >> textureShift);
    const int stored[4] = {sheet->storedLeftMargin(), sheet->storedRightMargin(), sheet->storedTopMargin(),
                           sheet->storedBottomMargin()};
    if (!merge) {
        presentation = sheet->presentation();
        pagesPerRow = sheet->pagesPerRow();
        firstPageRight = bit(sheet->isFirstPageRight());
        width = sheet->paperWidth();
        height = sheet->paperHeight();
        widthMixed = heightMixed = false;
        landscape = bit(sheet->isLandscape());
        paperColor = color;
        paperColorMixed = false;
        texture = flag;
        for (int i = 0; i < 4; ++i) {
            margins[i] = stored[i];
            marginMixed[i] = false;
        }
        rightEqualsLeft = bit(sheet->rightEqualsLeft());
        bottomEqualsTop = bit(sheet->bottomEqualsTop());
        topEqualsRight = bit(sheet->topEqualsRight());
        mirror = bit(sheet->isMirrored());
    } else {
        mergeChoice(presentation, sheet->presentation());
        mergeChoice(pagesPerRow, sheet->pagesPerRow());
        mergeCheck(firstPageRight, bit(sheet->isFirstPageRight()));
        widthMixed = widthMixed || width != sheet->paperWidth();
        heightMixed = heightMixed || height != sheet->paperHeight();
        mergeChoice(landscape, bit(sheet->isLandscape()));
        // Each sheet keeps its own colour until one is picked.
        paperColorMixed = paperColorMixed || paperColor != color;
        mergeCheck(texture, flag);
        for (int i = 0; i < 4; ++i)
            marginMixed[i] = marginMixed[i] || margins[i] != stored[i];
        mergeCheck(rightEqualsLeft, bit(sheet->rightEqualsLeft()));
        mergeCheck(bottomEqualsTop, bit(sheet->bottomEqualsTop()));
        mergeCheck(topEqualsRight, bit(sheet->topEqualsRight()));
        mergeCheck(mirror, bit(sheet->isMirrored()));
    }
    matchPaperSize();
    return true;
}

bool UiSheetMusicDlg::applyToElement(MnElement* element)
{
    MnSheetMusic* sheet = static_cast<MnSheetMusic*>(element);
    if (presentation != -1)
        sheet->setPresentation(presentation);
    if (pagesPerRow != -1)
        sheet->setPagesPerRow(pagesPerRow);
    if (landscape != -1)
        sheet->setLandscape(landscape == 1);
    if (firstPageRight != 2 && (firstPageRight == 1) != sheet->isFirstPageRight()) {
        sheet->setFirstPageRight(firstPageRight == 1);
        // The current page goes back to the start of its spread.
        int page = sheet->currentPage();
        if ((firstPageRight == 1 && page > 0 && page % 2 == 0) || (firstPageRight == 0 && page % 2 == 1))
            sheet->setCurrentPage(page - 1);
    }
    // Only what the up-downs allow is stored: a typed 0 would leave a sheet
    // without size.
    int newWidth = !widthMixed && width >= shortestSide && width <= longestSide ? width : sheet->paperWidth();
    int newHeight = !heightMixed && height >= shortestSide && height <= longestSide ? height : sheet->paperHeight();
    sheet->setPaperSize(newWidth, newHeight);
    int stored[4] = {sheet->storedLeftMargin(), sheet->storedRightMargin(), sheet->storedTopMargin(),
                     sheet->storedBottomMargin()};
    for (int i = 0; i < 4; ++i)
        if (!marginMixed[i] && margins[i] >= 0 && margins[i] <= widestMargin)
            stored[i] = margins[i];
    sheet->setMargins(stored[0], stored[1], stored[2], stored[3]);
    int color = paperColorMixed ? sheet->paperColor() & 0xFFFFFF : paperColor & 0xFFFFFF;
    int flag = texture != 2 ? texture : int(unsigned(sheet->paperColor()) >> textureShift);
    sheet->setPaperColor(int((unsigned(flag) << textureShift) | unsigned(color)));
    sheet->setMarginLinks(rightEqualsLeft != 2 ? rightEqualsLeft == 1 : sheet->rightEqualsLeft(),
                          bottomEqualsTop != 2 ? bottomEqualsTop == 1 : sheet->bottomEqualsTop(),
                          topEqualsRight != 2 ? topEqualsRight == 1 : sheet->topEqualsRight(),
                          mirror != 2 ? mirror == 1 : sheet->isMirrored());
    return true;
}

void UiSheetMusicDlg::exchange(UiDataExchange& dx)
{
    UiControlHost& h = host();
    previousAspect = height != 0 ? double(width) / height : 1.0;
    dx.radio(presentationGroup, presentation);
    if (!dx.fromControls()) {
        for (int i = 0; i < 5; ++i) {
            if (presentation != 0)
                highlighted[i] = i == 1 || i == 2 || (i == 4 && firstPageRight == 1);
            else
                highlighted[i] = i < pagesPerRow;
            frameControl(pageBoxes[i], highlighted[i] ? highlightColor : 0);
        }
    }
    dx.listIndex(sizeList, paperSize);
    exchangeNumber(dx, widthEdit, width, widthMixed);
    exchangeNumber(dx, heightEdit, height, heightMixed);
    dx.radio(orientationGroup, landscape);
    if (!dx.fromControls())
        h.setColor(paperSwatch, paperColor);
    dx.check(textureCheck, texture);
    exchangeNumber(dx, marginEdits[0], margins[0], marginMixed[0]);
    const int links[3] = {rightEqualsLeft, topEqualsRight, bottomEqualsTop};
    for (int i = 1; i < 4; ++i) {
        // A linked margin shows the one it follows.
        if (links[i - 1] != 0) {
            if (!dx.fromControls())
                h.setText(marginEdits[i], h.text(marginEdits[i - 1]));
        } else {
            exchangeNumber(dx, marginEdits[i], margins[i], marginMixed[i]);
        }
    }
    dx.check(rightLink, rightEqualsLeft);
    dx.check(bottomLink, bottomEqualsTop);
    dx.check(topLink, topEqualsRight);
    dx.check(mirrorCheck, mirror);
    h.enable(marginEdits[1], rightEqualsLeft != 1);
    h.enable(marginEdits[2], topEqualsRight != 1);
    h.enable(marginEdits[3], bottomEqualsTop != 1);
    h.show(pageBoxes[0], presentation == 0);
    h.show(pageBoxes[3], presentation == 0);
}

void UiSheetMusicDlg::finish()
{
    updateData(false);
    apply(true);
}

void UiSheetMusicDlg::upDownMoved(int upDownId)
{
    if (upDownId == widthUpDown)
        widthMixed = false;
    else if (upDownId == heightUpDown)
        heightMixed = false;
    bool changed = matchPaperSize();
    double aspect = height != 0 ? double(width) / height : 1.0;
    bool turned = (aspect >= 1.0 && previousAspect < 1.0) || (aspect <= 1.0 && previousAspect > 1.0);
    if (!widthMixed && !heightMixed && turned) {
        landscape = landscape == 1 ? 0 : 1;
        finish();
    } else if (changed) {
        finish();
    } else {
        apply(true);
    }
}

void UiSheetMusicDlg::notified(int controlId, UiControlHost::Notification what)
{
    UiControlHost& h = host();
    if (what == UiControlHost::scrolled) {
        bool ours = controlId == widthUpDown || controlId == heightUpDown;
        for (int id : marginUpDowns)
            ours = ours || id == controlId;
        if (ours)
            upDownMoved(controlId);
        return;
    }
    if (what == UiControlHost::textChanged) {
        if (controlId == widthEdit || controlId == heightEdit) {
            numberTyped(controlId, controlId == widthEdit ? widthMixed : heightMixed);
            if (matchPaperSize())
                updateData(false);
            return;
        }
        for (int i = 0; i < 4; ++i)
            if (marginEdits[i] == controlId)
                numberTyped(controlId, marginMixed[i]);
        return;
    }
    if (what == UiControlHost::selectionChanged) {
        if (controlId != sizeList)
            return;
        int index = h.selection(sizeList);
        if (index == paperSize || index < 0 || index >= customSize)
            return;
        paperSize = index;
        widthMixed = heightMixed = false;
        width = standardSizes[index][0];
        height = standardSizes[index][1];
        finish();
        return;
    }
    if (what != UiControlHost::clicked)
        return;
    auto turnOn = [](int& member) { member = member == 1 ? 0 : 1; };
    switch (controlId) {
    case 1070:
        presentation = 0;
        break;
    case 1131:
        presentation = 1;
        break;
    case 1000:
    case portraitPicture:
        landscape = 0;
        break;
    case 1001:
    case landscapePicture:
        landscape = 1;
        break;
    case textureCheck:
        turnOn(texture);
        break;
    case rightLink:
        turnOn(rightEqualsLeft);
        break;
    case topLink:
        turnOn(topEqualsRight);
        break;
    case bottomLink:
        turnOn(bottomEqualsTop);
        break;
    case mirrorCheck:
        turnOn(mirror);
        break;
    case paperSwatch: {
        int color = paperColor;
        if (!picker(color))
            return;
        paperColor = color & 0xFFFFFF;
        paperColorMixed = false;
        break;
    }
    default: {
        int box = -1;
        for (int i = 0; i < 5; ++i)
            if (pageBoxes[i] == controlId)
                box = i;
        if (box < 0)
            return;
        if (box == 4 && presentation != 0)
            firstPageRight = firstPageRight == 0 ? 1 : 0;
        else
            pagesPerRow = box + 1;
        break;
    }
    }
    finish();
}
