#pragma once

#include "foundation/BcString.h"
#include "foundation/BcXmlFiler.h"

#include <tinyxml.h>

#include <cstring>

// What the MusicXML importer's readers share to walk the filer's current
// element: its children in document order, compared by exact name.

inline bool ieIsNamed(const TiXmlElement* element, const char* name)
{
    return std::strcmp(element->Value(), name) == 0;
}

// The text of the element's first child, as the parser delivers it; false
// when that child is not text.
inline bool ieFirstText(const TiXmlElement* element, BcString& out)
{
    const TiXmlNode* first = element->FirstChild();
    if (!first || !first->ToText())
        return false;
    out = BcString(first->Value());
    return true;
}

// Calls read(child) for every child element of the filer's current element,
// with the child as the current element, and returns the cursor to the
// parent after each; stops early when read answers false.
template <typename Read>
void ieForEachChild(BcXmlFiler& filer, Read read)
{
    TiXmlElement* parent = filer.current;
    if (!parent)
        return;
    for (TiXmlElement* child = parent->FirstChildElement(); child; child = child->NextSiblingElement()) {
        filer.current = child;
        const bool goOn = read(child);
        filer.current = parent;
        if (!goOn)
            return;
    }
}

// The attribute of the filer's current element, compared exactly.
inline bool ieAttributeIs(const BcXmlFiler& filer, const char* name, const char* value)
{
    const char* found = filer.current ? filer.current->Attribute(name) : nullptr;
    return found && std::strcmp(found, value) == 0;
}
