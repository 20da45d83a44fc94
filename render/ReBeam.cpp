#include "render/ReBeam.h"

#include "foundation/BcClassManager.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnTicks.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

BC_IMPLEMENT_CLASS(ReBeam)

// The levels of the secondary beams, each the value whose half and shorter
// it joins.
static const int secondaryLevels[] = {MnTicksSixteenth, MnTicks32nd, MnTicks64th};

ReBeam::ReBeam(ReSystem* owner)
    : ReComposer(owner->renderer), owner(owner)
{
    staffLineThickness = owner->staffLineThickness;
    stemThickness = owner->stemThickness;
    paperDepth = owner->paperDepth;
    staffDepth = owner->staffDepth;
    symbolDepth = owner->symbolDepth;
}

ReBeam::~ReBeam() = default;

void ReBeam::reset()
{
    chords.removeAll();
    tops.removeAll();
    bottoms.removeAll();
    beamY.removeAll();
    xOffsets.removeAll();
}

static int roundedPosition(const MnNote* note)
{
    return int(std::lround(note->position().y));
}

void ReBeam::layout(MnMeasure* measure, int voiceIndex, int first)
{
    reset();
    voice = voiceIndex;
    firstChord = first;
    if (!measure || voiceIndex < 0 || voiceIndex >= MnMeasure::voiceCount)
        return;
    const BcArray<MnChord*>& voiceChords = measure->voiceChords(voiceIndex);
    if (first < 0 || first >= voiceChords.count())
        return;
    const MnChord* head = voiceChords[first];
    grace = head->isGrace();
    slash = head->hasGraceSlash();

    // Collect the group: a normal group passes over the grace chords inside
    // it, a grace group ends at the first normal chord.
    int minBottom = INT_MAX, maxTop = INT_MIN;
    long long positionSum = 0;
    int positionCount = 0;
    for (int index = first;;) {
        const MnChord* chord = voiceChords[index];
        if (chord->isGrace() == grace) {
            int top = -4, bottom = -4;  // a rest counts as the middle line
            if (chord->noteCount() > 0) {
                top = INT_MIN;
                bottom = INT_MAX;
                for (int n = 0; n < chord->noteCount(); ++n) {
                    const int position = roundedPosition(chord->note(n));
                    top = std::max(top, position);
                    bottom = std::min(bottom, position);
                    positionSum += position;
                    ++positionCount;
                }
            }
            chords.add(index);
            tops.add(top);
            bottoms.add(bottom);
            xOffsets.add(0.0);
            minBottom = std::min(minBottom, bottom);
            maxTop = std::max(maxTop, top);
        }
        const int next = index + 1;
        if (next >= voiceChords.count())
            break;
        const bool nextDiffers = voiceChords[next]->isGrace() != grace;
        if (nextDiffers ? grace : measure->beamLink(voiceIndex, next) != 1)
            break;
        index = next;
    }

    // Direction: the first chord's setting, else up for grace notes, else
    // away from the note furthest from the middle line (-4), and on a tie
    // away from the notes' mean.
    if (head->stemSetting() != 0) {
        direction = head->stemSetting() > 0 ? 1 : -1;
    } else if (grace) {
        direction = 1;
    } else {
        const int fromTop = std::abs(maxTop + 4), fromBottom = std::abs(minBottom + 4);
        int deciding;
        if (fromTop == fromBottom)
            deciding = positionCount > 0 ? int(std::lround(double(positionSum) / positionCount)) : -4;
        else
            deciding = fromTop < fromBottom ? minBottom : maxTop;
        direction = deciding < -4 ? 1 : -1;
    }
    if (head->isStemInverted())
        direction = -direction;
    const bool down = direction < 0;

    // One beam, and one more for each shorter level that some note reaches.
    int beams = 1;
    for (int level : secondaryLevels) {
        bool reached = false;
        for (int j = 0; j < chords.count() && !reached; ++j) {
            const MnChord* chord = voiceChords[chords[j]];
            reached = chord->noteCount() > 0 && chord->undottedDuration() < 2 * level;
        }
        if (!reached)
            break;
        ++beams;
    }

    const double k = grace ? 0.6 : 1;
    const double length = stemLength(beams, minBottom, maxTop);
    // The beam line: from the outermost note the stem length, but at least
    // to the middle line (for grace notes the line a step off it).
    const double base = down ? std::min(grace ? -2.0 : -4.0, minBottom - length - k) + k
                             : std::max(grace ? -6.0 : -4.0, maxTop + length + k) - k;

    const int n = chords.count();
    bool concave = false;
    if (n >= 3) {
        const int middle = n / 2;
        const bool even = n % 2 == 0;
        if (down) {
            concave = (bottoms[middle] < bottoms[0] && bottoms[middle] < bottoms[n - 1]) ||
                      (even && bottoms[middle - 1] <= bottoms[0] && bottoms[middle - 1] <= bottoms[n - 1]);
        } else {
            concave = (tops[middle] > tops[0] && tops[middle] > tops[n - 1]) ||
                      (even && tops[middle - 1] >= tops[0] && tops[middle - 1] >= tops[n - 1]);
        }
    }
    // A slope of one step per second, of two for a wider leap that runs one
    // way up to the last pair; a concave group lies flat.
    auto cappedSlope = [&](const BcArray<int>& extremes, int difference, bool rising) {
        if (concave)
            return 0;
        if (difference <= 2)
            return 1;
        for (int j = 1; j <= n - 2; ++j) {
            if (rising ? extremes[j] < extremes[j - 1] : extremes[j] > extremes[j - 1])
                return 1;
        }
        return 2;
    };
    for (int j = 0; j < n; ++j)
        beamY.add(base);
    if (n >= 2 && tops[0] < tops[n - 1]) {
        const int rise = cappedSlope(tops, tops[n - 1] - tops[0], true);
        for (int j = 0; j < n; ++j)
            beamY[j] = double(rise) / (n - 1) * j + (down ? base : base - rise);
    } else if (n >= 2 && bottoms[n - 1] < bottoms[0]) {
        const int fall = cappedSlope(bottoms, bottoms[0] - bottoms[n - 1], false);
        for (int j = 0; j < n; ++j)
            beamY[j] = (down ? base + fall : base) - double(fall) / (n - 1) * j;
    }

    // No stem shorter than the length: the whole beam moves out.
    double shortfall = 0;
    for (int j = 0; j < n; ++j) {
        const double reach = down ? bottoms[j] - beamY[j] : beamY[j] - tops[j];
        shortfall = std::max(shortfall, length - reach);
    }
    if (shortfall > 0) {
        for (int j = 0; j < n; ++j)
            beamY[j] += direction * shortfall;
    }
}

double ReBeam::stemLength(int beams, int minBottom, int maxTop) const
{
    const double k = grace ? 0.6 : 1;
    double length = beams == 1 ? 6 * k : ((beams - 1) * 1.5 + 4) * k;
    if (grace)
        return length + (beams - 1) * 0.25 * k;
    // The beams of the outermost note should meet the stem clear of a staff
    // line: a note in a space with two beams needs half a step more, one on
    // a line with four half a step less.
    const int outer = std::abs(direction < 1 ? minBottom : maxTop);
    if (outer % 2 == 1 && beams == 2)
        length += 0.5;
    if (outer % 2 == 0 && beams == 4)
        length -= 0.5;
    return length;
}

void ReBeam::drawChord(MnMeasure* measure, int chordIndex, GePoint2d* origin, double xOffset, int* stemEnd,
                       double* lowest, double* highest, double scale)
{
    const int i = chords.indexOf(chordIndex);
    if (i < 0 || !origin || beamY.count() != chords.count())
        return;
    const double s = scale > 0 ? scale : 1.0;
    const int n = chords.count();
    const int start = direction >= 1 ? bottoms[i] : tops[i];
    const double baseX = origin->x + xOffset;
    const double baseY = origin->y + start;

    // The slash of a grace group crosses the stem at the higher end of the
    // beam.
    bool slashHere = false;
    int slashDirection = direction;
    if (grace && slash) {
        slashDirection = beamY[0] >= beamY[n - 1] ? direction : -direction;
        slashHere = slashDirection < 1 ? i == n - 1 : i == 0;
    }
    drawStem(baseX, origin->y, direction, tops[i], bottoms[i], (beamY[i] - start) / s + start, slashHere,
             slashDirection);
    xOffsets[i] = xOffset;

    const double outerEdge = beamY[i] + direction * s;
    if (lowest)
        *lowest = std::min(*lowest, outerEdge);
    if (highest)
        *highest = std::max(*highest, outerEdge);
    if (stemEnd)
        *stemEnd = int(std::lround(outerEdge));
    if (i != n - 1)
        return;

    // The beams are drawn in the coordinates of the last chord, whose scale
    // is in force about its stem base.
    BcArray<GePoint2d> ends;
    for (int j = 0; j < n; ++j) {
        const double x = origin->x + xOffsets[j], y = origin->y + beamY[j];
        ends.add(GePoint2d((x - baseX) / s + baseX, (y - baseY) / s + baseY));
    }
    drawBeam(ends[0].x, ends[0].y, ends[n - 1].x, ends[n - 1].y, direction, MnTicksEighth);
    drawSecondaryBeams(measure, ends);
}

void ReBeam::drawSecondaryBeams(MnMeasure* measure, const BcArray<GePoint2d>& ends)
{
    const int n = ends.count();
    if (!measure || n < 2 || ends[n - 1].x <= ends[0].x)
        return;
    const BcArray<MnChord*>& voiceChords = measure->voiceChords(voice);
    for (int j = 0; j < n; ++j) {
        if (chords[j] < 0 || chords[j] >= voiceChords.count())
            return;
    }
    // Secondary beams lie along the straight line of the first beam.
    const double slope = (ends[n - 1].y - ends[0].y) / (ends[n - 1].x - ends[0].x);
    auto onLine = [&](int j) { return GePoint2d(ends[j].x, ends[0].y + slope * (ends[j].x - ends[0].x)); };
    // Which way a lone chord's hook points: 1 right, -1 left; the group's
    // ends point inward, and the chords that begin or end a beam keep that
    // side for the shorter levels.
    std::vector<int> side(size_t(n), 0);
    side[0] = 1;
    side[size_t(n - 1)] = -1;

    for (int level : secondaryLevels) {
        int runStart = -1;
        auto endRun = [&](int runEnd) {
            if (runStart < 0 || runEnd < 0)
                return;
            const GePoint2d from = onLine(runStart);
            if (runStart < runEnd) {
                const GePoint2d to = onLine(runEnd);
                drawBeam(from.x, from.y, to.x, to.y, direction, level);
                if (side[size_t(runStart)] == 0)
                    side[size_t(runStart)] = 1;
                if (side[size_t(runEnd)] == 0)
                    side[size_t(runEnd)] = -1;
            } else if (side[size_t(runStart)] == 1) {
                drawBeam(from.x, from.y, from.x + 2, from.y + 2 * slope, direction, level);
            } else {
                drawBeam(from.x - 2, from.y - 2 * slope, from.x, from.y, direction, level);
            }
            runStart = -1;
        };
        int previousWithNotes = -1;
        for (int j = 0; j < n; ++j) {
            const MnChord* chord = voiceChords[chords[j]];
            if (chord->noteCount() == 0)
                continue;  // a rest does not break a beam
            const bool last = j == n - 1;
            if (chord->duration() >= 2 * level) {
                endRun(previousWithNotes);
            } else if (chord->beamMode() == 3) {
                // Mode 3 breaks the secondary beams before the chord.
                endRun(previousWithNotes);
                runStart = j;
                if (side[size_t(j)] == 0)
                    side[size_t(j)] = 1;
                if (last)
                    endRun(j);
            } else {
                if (runStart < 0)
                    runStart = j;
                if (last)
                    endRun(j);
            }
            previousWithNotes = j;
        }
    }
}

void ReBeam::drawStem(double x, double y, int stemDirection, int top, int bottom, double endOffset, bool slashHere,
                      int slashDirection)
{
    const double d = stemDirection;
    const double S = stemThickness;
    const double cx = owner->compensated(x);
    const double edge = cx + 1.5 * d * std::sin(stemAngle);
    const double from = y + (stemDirection < 1 ? top : bottom) + d * std::cos(stemAngle);
    const double to = y + endOffset + 0.5 * d;  // half into the beam
    fillBar(std::min(edge - d * S, edge), std::min(from, to), std::max(edge - d * S, edge), std::max(from, to));
    if (!slashHere)
        return;

    const double q = std::cos(M_PI / 4) * S / 2;
    const double sd = slashDirection;
    const double right = cx + (stemDirection == slashDirection ? 4 : 1.5) * sd - q * sd;
    const double upper = y + endOffset + 0.5 * d + 1.25 * d;
    renderer->fillQuad(right - 4 * sd - q * sd, upper - 4 * d + q * d, right - 4 * sd + q * sd, upper - 4 * d - q * d,
                       right + q * sd, upper - q * d, right - q * sd, upper + q * d);
}

void ReBeam::drawBeam(double x0, double y0, double x1, double y1, int beamDirection, int level)
{
    const double d = beamDirection;
    // The secondary beams stand one and a half steps apart towards the
    // notes.
    double shift = 0;
    switch (level) {
    case MnTicksSixteenth:
        shift = -1.5 * d;
        break;
    case MnTicks32nd:
        shift = -3 * d;
        break;
    case MnTicks64th:
        shift = -4.5 * d;
        break;
    default:
        break;
    }
    y0 += shift;
    y1 += shift;
    const double u = 1.5 * d * std::sin(stemAngle);
    const double S = stemThickness;
    const double left = owner->compensated(x0) + u;
    const double right = owner->compensated(x1) + u;
    if (beamDirection >= 1)
        renderer->fillQuad(right, y1, left - S, y0, left - S, y0 + 1, right, y1 + 1);
    else
        renderer->fillQuad(left, y0 - 1, right + S, y1 - 1, right + S, y1, left, y0);
}
