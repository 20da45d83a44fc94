#pragma once

#include "foundation/GePoint2d.h"
#include "render/ReBeam.h"
#include "render/ReLine.h"
#include "render/ReSlur.h"
#include "render/ReTablature.h"
#include "render/ReTuplet.h"

#include <memory>
#include <vector>

class MnScore;
class MnStaff;
class ReSystem;

// The working state of one call of ReSystem::composeScore: the geometry of
// the system, computed once, and the sub-composers and scratch arrays that
// its passes share. It lives on that call's stack.
struct ReScorePass
{
    ReScorePass(ReSystem* system, MnScore* score, int firstMeasure, int measureCount, GePoint2d origin,
                double stretch, int pathIndex);

    // The top line of staff k, and the scale of its part.
    double staffY(int k) const { return origin.y + staffOffset[k]; }
    // v times the largest part scale.
    double scaled(double v) const;
    // Whether the system is off the visible box altogether.
    bool isCulled(ReSystem* system) const;
    // The beams, tuplet, slurs, line composer and the per-voice arrays.
    void buildSubComposers(ReSystem* system);
    ReSlur& slur(int staff, int voice, int grace) { return slurs[4 * staff + 2 * voice + grace]; }

    MnScore* score;
    int first;  // the system's first measure
    int count;
    int last;
    GePoint2d origin;
    double stretch;
    int pathIndex;
    bool hideStaves;
    int staffCount;
    MnStaff* staff0;

    int t0 = 0;  // start of the first measure
    int tn = 0;  // start of the measure after the system
    bool endsScore = true;
    double clefColumn = 0.0;
    double timeColumn = 0.0;
    double keyColumn = 0.0;
    double firstChanges = 0.0;  // the key and time changes at a later system's start, drawn in its header
    double headerWidth = 0.0;
    double contentWidth = 0.0;
    double systemEnd = 0.0;
    double courtesyWidth = 0.0;

    std::vector<double> staffOffset;
    std::vector<double> partScale;

    std::unique_ptr<ReTablature[]> tablatures;
    std::unique_ptr<ReBeam> beam;
    std::unique_ptr<ReBeam> graceBeam;
    std::unique_ptr<ReTuplet> tuplet;
    std::unique_ptr<ReSlur[]> slurs;
    std::unique_ptr<ReLine> line;
    std::vector<double> lastX;  // per staff and voice: where a tie into the next chord starts
    std::vector<int> lastStem;
    std::vector<char> headerSelected;
};

#include "render/ReSystem.h"

// One staff of one measure column while the measure pass composes it.
struct ReSystem::MeasureStaff
{
    MnMeasure* measure = nullptr;
    int measureIndex = 0;
    int staffIndex = 0;
    const BcArray<int>* onsets = nullptr;
    const BcArray<double>* xs = nullptr;
    double width = 0.0;  // Y: the measure's width, less the first measure's changes
    double cx = 0.0;     // where the measure starts
    double cy = 0.0;     // the staff's top line
    double s = 1.0;      // the part's scale
    double endX = 0.0;   // gp: x of a chord at the measure's end, from cx
    bool isFirst = false;
    bool isLast = false;
};
