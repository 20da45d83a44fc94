#pragma once

#include "panels/UiPropertiesDlg.h"

// The page of selected sheet musics: the presentation (pages in rows or a
// book), the paper (size, orientation, colour and texture) and the margins
// with their links and mirroring. Five page boxes preview the presentation
// and are clicked to choose it.
class UiSheetMusicDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 108;
    UiSheetMusicDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // The colour of a highlighted page box, 0x00BBGGRR.
    static constexpr int highlightColor = 0xFFD284;
    // Chooses a colour starting from the one given; false when cancelled.
    // The default is the toolkit's colour dialog; tests put in their own.
    using ColorPicker = bool (*)(int& color);
    static ColorPicker setColorPicker(ColorPicker picker);

    // Sets the paper size from width and height: a standard size in either
    // orientation, else "Custom" (added to the list); -1 while either is
    // mixed. True when the paper size changed.
    bool matchPaperSize();

    int presentation = 0;    // 0 pages in rows, 1 book
    int pagesPerRow = 1;     // 1..5
    int firstPageRight = 0;
    int paperSize = 1;       // 0 A3, 1 A4, 2 A5, 3 custom
    int width = 210;
    bool widthMixed = false;
    int height = 297;
    bool heightMixed = false;
    double previousAspect = 1.0;
    int landscape = 0;
    int paperColor = 0xFFFFFF;
    bool paperColorMixed = false;
    int texture = 0;
    int margins[4] = {10, 10, 16, 16};  // left, right, top, bottom
    bool marginMixed[4] = {};
    int rightEqualsLeft = 1;
    int bottomEqualsTop = 1;
    int topEqualsRight = 0;
    int mirror = 1;
    bool highlighted[5] = {};

protected:
    void setupAnchors() override;
    void initDialog() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;

private:
    void finish();
    void upDownMoved(int upDownId);
    bool hasCustomItem();
};
