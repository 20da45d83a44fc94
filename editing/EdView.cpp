#include "editing/EdView.h"

#include "editing/EdCommand.h"
#include "editing/EdTool.h"

bool EdView::startTool(EdTool* tool)
{
    if (!tool)
        return false;
    tool->transaction().cancel = true;
    tool->end();
    delete tool;
    return false;
}

GePoint2d EdView::clientToModel(int x, int y)
{
    return GePoint2d(x, y);
}
