#pragma once

#include "foundation/BcString.h"

// The tree control of the project browser as its logic sees it: items
// under a parent (null for the top level) with a text, an icon and the
// index of their element in the browser's list. The window implements it
// over the toolkit's tree; tests use one in memory.
class UiBrowserTree
{
public:
    using Item = void*;

    virtual ~UiBrowserTree() = default;

    // Around a rebuild: the tree is not drawn in between, and is drawn at
    // once at the end.
    virtual void beginRebuild() {}
    virtual void endRebuild() {}
    virtual void deleteAll() = 0;
    // Appends an item at the end of the parent's children; data -1 for none.
    virtual Item append(Item parent, const BcString& text, int image, int data) = 0;
    virtual void setBold(Item item) = 0;
    virtual void expand(Item item, bool expanded) = 0;

    // The first child of the parent (the first top-level item for null),
    // the next sibling; null at the end.
    virtual Item firstChild(Item parent) = 0;
    virtual Item nextSibling(Item item) = 0;
    virtual int data(Item item) = 0;
    virtual BcString text(Item item) = 0;
    virtual void setText(Item item, const BcString& text) = 0;
    virtual int image(Item item) = 0;
    virtual void setImage(Item item, int image) = 0;
};
