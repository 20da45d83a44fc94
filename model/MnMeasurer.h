#pragma once

#include "foundation/GeBox2d.h"

class BcString;
class MnScore;
class MnText;

// How the model measures what only the composers can lay out: the box of a
// text and how far left a score's part and group labels reach. The renderer
// installs its measurer at start-up. Until one is installed every text
// measures as the zero box and the labels reach nowhere, so a model built
// without the renderer places texts at their stored positions unshifted.
class MnMeasurer
{
public:
    virtual ~MnMeasurer();

    // The box of the text laid out at the origin, minimum corner first.
    virtual GeBox2d textExtents(const MnText& text) const;
    // The smallest x (at most 0) that the part and group labels and brackets
    // of the score reach, with the abbreviated names or the full ones.
    virtual double labelsLeftmostX(const MnScore& score, bool abbreviated) const;
    // The width of a line of text in a font (0..11), size and underline.
    virtual double textWidth(const BcString& text, int font, double size, bool underline) const;

    // The installed measurer, or the neutral default; never null.
    static const MnMeasurer& current();
    // Installs a measurer (not owned) and answers the one it replaces (null
    // for the default); null restores the default. The object must outlive
    // its installation.
    static const MnMeasurer* install(const MnMeasurer* measurer);
    // Changes with every installation, so that widths kept from one
    // measurer are not taken for another's.
    static unsigned int generation();
};
