#pragma once

#include "foundation/BcArray.h"
#include "panels/UiElementContextMenu.h"

class MnStaff;
class MnTablature;

// Entries for staves, staff changes and tablatures: moving, grouping and
// adding staves, measures and tablatures.
class UiStaffContextMenu : public UiElementContextMenu
{
public:
    void reset() override;
    void visit(MnElement* element) override;
    void build(UiContextMenuList& list) override;

private:
    bool isGroupable() const;
    bool haveSameOwner() const;

    int visited = 0;
    int withoutTablature = 0;
    int notFirst = 0;
    int notLast = 0;
    BcArray<MnStaff*> staves;
    BcArray<MnTablature*> tablatures;
};
