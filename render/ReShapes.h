#pragma once

#include "foundation/GeArc.h"
#include "foundation/GePoint2d.h"

class GeMatrix2d;
class GeSpline2d;

// The outlines of the round and stroked shapes, worked out once for every
// back end that fills them: the points of an ellipse, the band along a
// tapering curve (slurs) and the crescent between two arcs (ties).
class ReShapes
{
public:
    // Point i of an ellipse of count points, relative to its centre: at
    // angle t = 2 pi i / count, (sin t * radiusX, cos t * radiusY) turned
    // counter-clockwise by degrees. The points run clockwise from the top.
    static GePoint2d ellipsePoint(int i, int count, double radiusX, double radiusY, double degrees);

    // Segments of a curve at this zoom: 32 below a view width of 50, 24
    // below 100, else 16; with byLength, four times as many for a curve
    // whose end points lie more than 80 units apart in x, twice for 40.
    static int curveSegments(double viewWidth, const GeSpline2d& curve, bool byLength);

    // The two sides of a curve's band at segments + 1 steps of its
    // parameter: left[k] = P(k) - d(k), right[k] = P(k) + d(k), where d is
    // the normal of half the width there. The width is endWidth at both
    // ends and grows linearly to middleWidth over the first and last 35 %
    // of the parameter. Both arrays hold segments + 1 points. False, with
    // nothing written, for a curve without points or segments below 1.
    static bool curveBand(const GeSpline2d& curve, int segments, double endWidth, double middleWidth,
                          GePoint2d* left, GePoint2d* right);

    // The boundaries of the crescent of a tie from (x1, y1) to (x2, y2):
    // the centre line is the arc of the bulge; the outer and inner arcs
    // lie endWidth / 2 off it at the ends and middleWidth / 2 in the
    // middle. False for ends that coincide.
    static bool arcBoundaries(double x1, double y1, double x2, double y2, double bulge, double endWidth,
                              double middleWidth, GeArc* outer, GeArc* inner);
    // The point at fraction f of an arc's sweep.
    static GePoint2d arcPoint(const GeArc& arc, double f);
    // The length that a horizontal length from the origin has after the
    // transform: the size on the page of a text drawn inside it.
    static double mappedLength(const GeMatrix2d& transform, double length);
    // The crescent is drawn through this many points of each arc.
    static constexpr int arcPoints = 32;
};
