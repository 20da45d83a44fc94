#pragma once

#include "foundation/GePoint2d.h"

class MnMeasure;
class MnScore;
class QuorvaneDocument;

// The rectangles the score view flies to, in drawing coordinates: a staff's
// measure, a tablature, a part group's measure, a measure column, a system,
// a page (a book's spread) or the whole desk. They follow the layout the
// composer draws. corner1 is the top left, corner2 the bottom right.
namespace UiElementBoxes {

// Margin above and below every box, in staff units of the part.
constexpr double margin = 6.0;

// With a measure: the box of the system that holds it (point unused).
// Without: the innermost region under the point, the desk when nothing on
// it holds the point; false only for an empty desk.
bool findElementBox(QuorvaneDocument* document, GePoint2d& corner1, GePoint2d& corner2, const GePoint2d& point,
                    MnMeasure* measure);

// The same for one system: measureCount measures from firstMeasure, the
// top line of its first staff at origin, natural widths times stretch.
bool findSystemElementBox(GePoint2d& corner1, GePoint2d& corner2, const GePoint2d& point, MnMeasure* measure,
                          MnScore* score, int firstMeasure, int measureCount, const GePoint2d& origin, double stretch);

}  // namespace UiElementBoxes
