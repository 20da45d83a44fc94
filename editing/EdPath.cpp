#include "editing/EdPath.h"

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
