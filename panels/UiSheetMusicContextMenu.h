#pragma once

#include "panels/UiElementContextMenu.h"

class MnScore;

// Entries for whole works: main score, wrapping, page turning, credits and
// unfolding repeats.
class UiSheetMusicContextMenu : public UiElementContextMenu
{
public:
    void reset() override;
    void visit(MnElement* element) override;
    void build(UiContextMenuList& list) override;

private:
    void testRepeats(MnScore* score);

    int notMain = 0;
    int works = 0;
    int withRepeats = 0;
    int sheetMusics = 0;
    int firstPageHidden = 0;
    int lastPageHidden = 0;
};
