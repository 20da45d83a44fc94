#include "foundation/GeArc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CREATABLE_CLASS(GeArc)

static constexpr double kFullTurn = 2.0 * std::numbers::pi;

// A bulge of 0 would be a straight line, which no circle gives; the
// smallest bulge kept lifts a chord by a two-millionth of its length, which
// no output can show, and keeps the radius finite. The largest keeps the
// radius from overflowing for any chord the model can hold.
static constexpr double kMinBulge = 1e-6;
static constexpr double kMaxBulge = 1e6;

static double angleAbout(const GePoint2d& centre, const GePoint2d& q)
{
    // atan2 stays exact where acos of a ratio would need the ratio clamped
    // into [-1, 1]: end points of a half circle sit on the centre's axis and
    // rounding can put them a hair outside the radius.
    double angle = std::atan2(q.y - centre.y, q.x - centre.x);
    if (angle < 0.0)
        angle += kFullTurn;
    if (angle >= kFullTurn)
        angle = 0.0;
    return angle + 0.0; // no negative zero
}

GeArc::GeArc(const GePoint2d& p1, const GePoint2d& p2, double bulge)
{
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double chord = std::hypot(dx, dy);
    if (!(chord > 0.0) || !std::isfinite(chord) || std::isnan(bulge)) {
        // No circle passes through a single point with a given height;
        // an arc of radius 0 at p1 draws nothing and divides by nothing.
        centre = p1;
        return;
    }

    // The normal's sign follows the chord's x direction, so swapping the end
    // points of a chord that is not vertical keeps the centre in place.
    const double side = dx >= 0.0 ? -1.0 : 1.0;
    const double normalX = side * -dy / chord;
    const double normalY = side * dx / chord;

    // With c the half chord and h = |bulge| c the height, the radius
    // (h^2 + c^2) / 2h and the centre's distance from the chord r - h are
    // written in the bulge alone: exact 0 for a half circle, and no
    // overflow of h^2 at large scales.
    const double magnitude = std::clamp(std::fabs(bulge), kMinBulge, kMaxBulge);
    const double halfChord = chord / 2.0;
    radius = halfChord * ((magnitude + 1.0 / magnitude) / 2.0);
    const double centreOffset = halfChord * ((1.0 / magnitude - magnitude) / 2.0);
    const double bulgeSide = bulge > 0.0 ? 1.0 : -1.0;
    centre = GePoint2d(p1.x + dx / 2.0 + bulgeSide * centreOffset * normalX,
                       p1.y + dy / 2.0 + bulgeSide * centreOffset * normalY);

    startAngle = angleAbout(centre, p1);
    endAngle = angleAbout(centre, p2);

    // The arc runs through the side of the chord that the bulge names. From
    // there the direction follows: counter-clockwise exactly when the arc
    // lies to the right of the chord, which is when the bulge and the
    // normal's sign agree. Deciding it this way, rather than by which way is
    // shorter, keeps a half circle on its side whatever rounding does to its
    // two angles, and draws more than half a circle for |bulge| > 1.
    const bool counterClockwise = bulgeSide == side;
    const double sweep = endAngle - startAngle;
    if (counterClockwise && sweep < 0.0)
        startAngle -= kFullTurn;
    else if (!counterClockwise && sweep > 0.0)
        startAngle += kFullTurn;
}

GePoint2d GeArc::pointAtAngle(double angle) const
{
    return GePoint2d(centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle));
}
