#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcObject.h"

class MnElement;

// A path of eight indices that names a drawn element, a picked handle of it,
// or a project-browser item: the kind first, then seven levels whose meaning
// depends on the kind. -1 marks an unset level; a path whose eight values are
// all -1 is unset, and model operations that get no usable path use unset().
//
// Kinds written by the pickers and read by the model's drag operations:
// 0 a staff in one system, 1 a line element in one system, 2 a lyric line in
// one system, 3 one half of a part group's bracket.
//
// Kind 3 has a second use: a project-browser item, {3, work index - 1,
// part-group index or -1, first staff, staff count, -1, -1, -1} (the work
// index counts entry 0, so the first work after the work information is 0).
// The document keeps its folded items as such paths; they never meet a
// picked path.
class EdPath : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(EdPath)
public:
    static constexpr int valueCount = 8;

    enum Kind
    {
        KindStaff = 0,
        KindLine = 1,
        KindLyric = 2,
        KindPartGroup = 3,
        KindBrowserItem = 3,
    };

    EdPath();
    EdPath(int kind, int level1, int level2 = -1, int level3 = -1, int level4 = -1, int level5 = -1,
           int level6 = -1, int level7 = -1);
    EdPath(const EdPath& other);
    EdPath& operator=(const EdPath& other);
    ~EdPath() override = default;

    // The browser-item path of a sheet music, a score, a part or a part group
    // among the works; unset for any other element and for elements of no
    // work or of work 0.
    EdPath(const MnElement* element, const BcArray<MnElement*>& works);

    int kind() const { return values[0]; }
    // Level 1..7 after the kind; the kind itself is level 0.
    int level(int index) const { return values[index]; }
    void setLevel(int index, int value) { values[index] = value; }

    bool isUnset() const;
    bool operator==(const EdPath& other) const;
    bool operator!=(const EdPath& other) const { return !(*this == other); }

    // The process-wide unset path.
    static const EdPath& unset();

    int values[valueCount];
};
