#pragma once

#include "foundation/GePoint2d.h"
#include "render/ReComposer.h"

class MnCredit;
class MnElement;
class MnPartGroup;
class MnScore;
class MnSheetMusic;
class MnTempo;
class MnText;
class QuorvaneDocument;
struct ReGlyph;

// The composer of documents, sheets and scores. Every drawing pass builds
// one on the stack and drops it at the end; it keeps nothing between passes.
class ReSystem : public ReComposer
{
    BC_DECLARE_CLASS(ReSystem)
public:
    explicit ReSystem(ReRenderer* renderer);
    ~ReSystem() override;

    // Documents and sheets.
    void compose(QuorvaneDocument* document);
    void composeSheetPage(MnSheetMusic* sheet, int clefMode, int measuresPerSystem);

    // Text and labels.
    // Labels and brackets of the staves firstStaff .. firstStaff + staffCount
    // - 1 of a score (owner: the score) or of a part group (owner: the
    // group), nested groups further left. pickWork < 0 reports the groups
    // themselves to the marks; otherwise each bracket half is marked with a
    // pick path of kind 3 for that work.
    void composePartNames(MnElement* owner, int pickWork, int firstStaff, int staffCount, GePoint2d origin,
                          double bracketEndX, bool abbreviated);
    // A text element at origin + its position, aligned by its code, with the
    // metronome figure of a tempo mark; marks report pickElement (null: the
    // text itself).
    void composeText(MnText* text, GePoint2d origin, MnElement* pickElement);

    // Staff furniture.
    // Bracket of a part group over height h from its top at y: 0 brace,
    // 1 bracket, 2 square bracket reaching right to endX, 3 line.
    void drawGroupBracket(double x, double y, double height, int type, double endX);

    // Notes: durations in ticks (undotted), positions in staff steps.
    void drawNote(double x, double y, int duration, bool dot, double dotDx, double dotDy, int accidental,
                  double accidentalDx);
    // direction 1 up, -1 down. stemEnd, lowest and highest may be null.
    void drawStem(double x, double y, int top, int bottom, int direction, int duration, bool small, bool slash,
                  int* stemEnd = nullptr, double* lowest = nullptr, double* highest = nullptr);

    // Maps x onto the unscaled horizontal layout of the system while a part
    // is drawn inside its own scale transform.
    double compensated(double x) const { return horizontalPivot + (x - horizontalPivot) * horizontalScale; }
    // Colour mode 3 when the element is in the renderer's selection, else 2.
    void setColorBySelection(const MnElement* element);
    bool isSelected(const MnElement* element) const;

    bool depthMode = false;  // only the parallax view draws with depth
    double horizontalScale = 1.0;
    double horizontalPivot = 0.0;

private:
    void placeCredit(MnCredit* credit, GePoint2d origin, double* x, double* y);
    void composeMetronomeFigure(MnTempo* tempo, GePoint2d origin, double x, double y, double width, double height,
                                double room, MnElement* reported);
    void composeGroupLabel(MnScore* score, MnPartGroup* group, int pickWork, GePoint2d origin, double bracketEndX,
                           bool abbreviated);
    void drawGlyph(const ReGlyph& glyph, double x, double y, double sx, double sy);
    // An axis-aligned bar, corners in the order left top, left bottom,
    // right bottom, right top.
    void fillBar(double left, double bottom, double right, double top);
    // Segment count of round note shapes: finer in print and when zoomed in.
    int fineSegments() const;
};
