#pragma once

#include "foundation/BcArray.h"
#include "model/EdPath.h"

class EdGuideLine;
class MnElement;
class MnStaff;

// Gathers the horizontal guide lines that a line or a lyric line shows while
// it is dragged in one system: the elements of its kind in that system,
// nearest in time first, each at the heights of its snap points on the page.
// A short-lived object on the stack of addGuideLines.
class MnGuideLineCollector
{
public:
    // tolerance: the dragged element's scale, both the snapping distance and
    // the least distance between two guide lines.
    explicit MnGuideLineCollector(double tolerance);
    virtual ~MnGuideLineCollector() = default;

    // The time the drag is about when the body is grabbed: the middle of the
    // span when it lies in the system, its start when it runs on past the
    // system, its end when it began before it, the middle of the system when
    // it spans the system or lies outside it.
    static double bodyReference(double start, double end, double systemStart, double systemEnd);
    // The times at which the system that a drag path names begins and ends:
    // the staff's measures from path level 4, as many as level 5 says. False,
    // with the times untouched, when the staff lacks them.
    static bool systemTimes(const MnStaff* staff, const EdPath& path, double& systemStart, double& systemEnd);
    // Whether a span shows in the system: it crosses one of its ends or lies
    // inside it.
    static bool showsInSystem(double start, double end, double systemStart, double systemEnd);

    // A candidate with the path of its drawing in the system and its
    // distance in time from the reference (the nearer of its two ends).
    // Candidates of equal distance keep the order they were added in.
    void addCandidate(MnElement* element, const EdPath& path, double distance);
    // One guide line per height collected over the candidates, in order,
    // skipping heights within the tolerance of one already taken.
    void appendGuideLines(BcArray<EdGuideLine*>& lines) const;

private:
    struct Candidate
    {
        MnElement* element;
        EdPath path;
        double distance;
    };

    double tolerance;
    BcArray<Candidate> candidates;
};
