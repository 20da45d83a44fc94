#pragma once

#include "render/ReOpenGL.h"

class MnScore;

// Draws a whole score as one endless system seen in perspective, each
// staff on its own depth plane (the composers push staff i at depth
// -10 i), for the parallax window. Nothing is clipped vertically, and the
// horizontal visibility widens to what the eye sees at the deepest staff.
class ReParallax : public ReOpenGL
{
    BC_DECLARE_CREATABLE_CLASS(ReParallax)
public:
    // The eye's height above the plane of the first staff, and the
    // vertical field of view in degrees.
    static constexpr double eyeDistance = 24.0;
    static constexpr double fieldOfView = 120.0;

    ReParallax();
    ~ReParallax() override;

    // One frame of the score about (centreX, centreY), view width in score
    // units at depth 0; false when nothing was drawn (no current context, a
    // window without size, no score).
    bool render(MnScore* score, double centreX, double centreY, double width, double pixelWidth,
                double pixelHeight);

    // Half the width the eye sees at the deepest staff: |tan 120°| x (24 -
    // deepest depth) x the view's aspect.
    double visibleHalfWidth() const;
    double deepestDepth() const { return deepest; }

    bool begin(QuorvaneDocument* document, double centreX, double centreY, double pixelWidth,
               double pixelHeight) override;
    void end(double pixelWidth, double pixelHeight) override;
    bool isVisibleX(double x, double width, double margin) override;
    bool isVisible(double x, double y, double width, double height, double margin) override;
    void pushDepth(double z) override;
    void popDepth() override;
    void fillQuad3d(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3, double z3,
                    double x4, double y4, double z4) override;

private:
    double deepest = 0.0;
};
