#pragma once

#include "foundation/BcString.h"
#include "foundation/GeBox2d.h"
#include "foundation/GeVector2d.h"
#include "model/MnElement.h"

// The positioned text element, and the base of every element that shows a
// text (part and group labels, tuplet numbers, lyrics, credits, tempo marks,
// tablature labels, the number templates). A plain text has no owner; the
// score and the sheet music also use unattached texts as scratch texts.
//
// Alignment code = 3 x row + column: column 0 left, 1 centred, 2 right; row
// 0 on the measured origin, 1 centred on the lower-case height, 2 hanging
// from the anchor, 3 hanging by the capital height. Font number = family x 4
// + style: family 0 serif, 1 sans, 2 monospace; style bit 0 bold, bit 1 italic.
class MnText : public MnElement
{
    BC_DECLARE_CREATABLE_CLASS(MnText)
public:
    static constexpr int alignmentCount = 12;
    static constexpr int fontCount = 12;

    MnText() = default;
    ~MnText() override = default;

    MnElement* parent() const override;
    // The text record; subclasses write it first. Reading assigns the text
    // directly (no setText, no relayout): a subclass that derives state from
    // its text (the lyric's syllables) rebuilds it after MnText::read.
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    // Stores the point when it lies farther than 1e-10 from the stored one
    // and within the coordinate range.
    bool moveTo(const GePoint2d& point) override;

    // The laid-out box of the text, at the origin, as the installed measurer
    // (MnMeasurer) lays it out.
    virtual GeBox2d extents() const;
    // Replaces the text when it differs and lays the element out again;
    // always true in the base.
    virtual bool setText(const BcString& text);
    // Re-applies whatever clamping the class's moveTo does.
    virtual void relayout();

    int alignment() const { return textAlignment; }
    const BcString& text() const { return textString; }
    int font() const { return textFont; }
    double size() const { return textSize; }
    bool isUnderlined() const { return textUnderline; }

    // Each stores a changed value and lays the element out again. Alignment
    // codes outside 0..11 and font numbers outside 0..11 become 0, as the
    // reader reads them; a size is brought into 1..127 (false, with nothing
    // changed, for NaN).
    void setAlignment(int alignment);
    void setFont(int font);
    bool setSize(double size);
    void setUnderline(bool underline);

protected:
    // Stores the point without any clamping; for the moveTo of subclasses.
    // False, with nothing changed, for a point outside the coordinate range.
    bool storePosition(const GePoint2d& point);
    // The shift that brings a text box inside a printable area, both given
    // by their lower left and upper right corners. A box larger than the
    // area keeps its left and top edges on the area's.
    static GeVector2d shiftIntoArea(const GeBox2d& box, const GeBox2d& area);

private:
    GePoint2d textPosition;
    int textAlignment = 0;
    BcString textString;
    int textFont = 0;
    double textSize = 12.0;
    bool textUnderline = false;
};
