#pragma once

#include "render/RePicker.h"

class BcClass;

// The picker through which a select command lays out the whole document:
// every element that the layout marks, of the wanted class (any when none
// is given), joins the target selection. Its own selection is the scope:
// the containers (sheet music, score, staff, measure) that were selected
// when the command started, other than those of the wanted class; when any
// was, only elements inside them are taken.
class EdSelectAll : public RePicker
{
public:
    EdSelectAll(EdSelection* target, const BcClass* cls);
    ~EdSelectAll() override;

    // Each mark hands its element on, whatever its geometry.
    void markFrame(const GeBox2d& outer, const GeBox2d& inner, MnElement* element) override;
    void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override;
    void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element) override;

    void select(MnElement* element);

    // Composes the document through this picker.
    void composeDocument(QuorvaneDocument* document);

private:
    bool isInScope(const MnElement* element) const;

    EdSelection* target;
    const BcClass* wanted;
};
