#include "model/EdPath.h"

#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"

BC_IMPLEMENT_CREATABLE_CLASS(EdPath)

EdPath::EdPath()
{
    for (int& value : values)
        value = -1;
}

EdPath::EdPath(int kind, int level1, int level2, int level3, int level4, int level5, int level6,
               int level7)
    : values{kind, level1, level2, level3, level4, level5, level6, level7}
{
}

EdPath::EdPath(const EdPath& other) : BcObject()
{
    for (int i = 0; i < valueCount; ++i)
        values[i] = other.values[i];
}

EdPath& EdPath::operator=(const EdPath& other)
{
    for (int i = 0; i < valueCount; ++i)
        values[i] = other.values[i];
    return *this;
}

bool EdPath::isUnset() const
{
    for (int value : values) {
        if (value != -1)
            return false;
    }
    return true;
}

bool EdPath::operator==(const EdPath& other) const
{
    for (int i = 0; i < valueCount; ++i) {
        if (values[i] != other.values[i])
            return false;
    }
    return true;
}

const EdPath& EdPath::unset()
{
    static const EdPath path;
    return path;
}

EdPath::EdPath(const MnElement* element, const BcArray<MnElement*>& works) : EdPath()
{
    if (!element)
        return;
    const MnElement* sheet = nullptr;
    const MnScore* score = nullptr;
    for (const MnElement* up = element; up; up = up->parent()) {
        if (!sheet && up->isKindOf(MnSheetMusic::staticClass()))
            sheet = up;
        if (!score && up->isKindOf(MnScore::staticClass()))
            score = static_cast<const MnScore*>(up);
    }
    const MnElement* owner = sheet ? sheet : score;
    if (!owner)
        return;
    const int workIndex = mnIndexOf(works, owner);
    if (workIndex <= 0)
        return;

    if (element->isKindOf(MnSheetMusic::staticClass()) || element->isKindOf(MnScore::staticClass())) {
        values[0] = KindBrowserItem;
        values[1] = workIndex - 1;
    } else if (element->isKindOf(MnPart::staticClass())) {
        values[0] = KindBrowserItem;
        values[1] = workIndex - 1;
        values[3] = static_cast<const MnPart*>(element)->staffIndex();
        values[4] = 1;
    } else if (element->isKindOf(MnPartGroup::staticClass()) && score) {
        const MnPartGroup* group = static_cast<const MnPartGroup*>(element);
        int groupIndex = -1;
        for (int i = 0; i < score->partGroupCount(); ++i) {
            if (score->partGroup(i) == group) {
                groupIndex = i;
                break;
            }
        }
        values[0] = KindBrowserItem;
        values[1] = workIndex - 1;
        values[2] = groupIndex;
        values[3] = group->firstStaff();
        values[4] = group->staffCount();
    }
}
