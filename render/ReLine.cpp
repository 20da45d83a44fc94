#include "render/ReLine.h"

#include "foundation/BcClassManager.h"
#include "foundation/BcString.h"
#include "model/EdPath.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnLyricIterator.h"
#include "model/MnMeasure.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"
#include "model/MnStaff.h"
#include "render/ReRenderer.h"
#include "render/ReServices.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>
#include <limits>

BC_IMPLEMENT_CLASS(ReLine)

static constexpr double middleLine = -4.0;
static constexpr char16_t blank = u' ';
static constexpr char16_t middleDot = u'\u00B7';

ReLine::ReLine(ReSystem* system, int startTime, int duration, int staffCount, int workIndex, int firstMeasure,
               int measureCount)
    : ReComposer(system->renderer), system(system), startTime(startTime), duration(duration),
      staffCount(staffCount), workIndex(workIndex), firstMeasure(firstMeasure), measureCount(measureCount)
{
    staffLineThickness = system->staffLineThickness;
    stemThickness = system->stemThickness;
    paperDepth = system->paperDepth;
    staffDepth = system->staffDepth;
    symbolDepth = system->symbolDepth;
}

ReLine::~ReLine() = default;

double ReLine::compensated(double x) const
{
    return system->compensated(x);
}

double ReLine::horizontalFactor() const
{
    return system->horizontalScale;
}

void ReLine::addMeasure(int measureStart, double measureX, const BcArray<int>& onsets, const BcArray<double>& offsets)
{
    if (gridTimes.isEmpty()) {
        gridTimes.add(measureStart);
        gridX.add(measureX);
    }
    const int count = std::min(onsets.count(), offsets.count());
    for (int i = 0; i < count; ++i) {
        const int time = measureStart + onsets[i];
        const double x = measureX + offsets[i];
        if (time < gridTimes[gridTimes.count() - 1])
            gridUnordered = true;
        if (x < gridX[gridX.count() - 1])
            gridXUnordered = true;
        gridTimes.add(time);
        gridX.add(x);
        for (int s = 0; s < staffCount; ++s) {
            topExtents.add(middleLine);
            bottomExtents.add(middleLine);
        }
    }
}

// A system of a whole score has a grid of thousands of points and asks it
// for every syllable, line and chord: the grid's times only grow, so the
// lookups search it by halves. A grid out of order is scanned as before.

int ReLine::upperIndex(int time) const
{
    const int n = gridTimes.count();
    if (n == 0)
        return -1;
    if (gridUnordered) {
        int found = -1;
        for (int i = 0; i < n && gridTimes[i] <= time; ++i)
            found = i;
        return found;
    }
    const int* times = &gridTimes[0];
    return int(std::upper_bound(times, times + n, time) - times) - 1;
}

int ReLine::lowerIndex(int time) const
{
    const int n = gridTimes.count();
    if (n == 0)
        return -1;
    if (gridUnordered) {
        int found = -1;
        for (int i = 0; i < n && gridTimes[i] <= time; ++i) {
            if (gridTimes[i] == time)
                return i;
            found = i;
        }
        return found;
    }
    const int* times = &gridTimes[0];
    const int at = int(std::lower_bound(times, times + n, time) - times);
    return at < n && times[at] == time ? at : at - 1;
}

void ReLine::recordChordExtent(int time, int staffIndex, double lowest, double highest)
{
    const int g = upperIndex(time);
    if (g < 0 || g >= extentCount() || staffIndex < 0 || staffIndex >= staffCount)
        return;
    const int entry = g * staffCount + staffIndex;
    bottomExtents[entry] = std::min(bottomExtents[entry], lowest);
    topExtents[entry] = std::max(topExtents[entry], highest);
}

void ReLine::setLinePath(MnElement* line, int lineIndex, int handle)
{
    int staffIndex = -1;
    if (line && line->isKindOf(MnLine::staticClass()) && static_cast<MnLine*>(line)->staff())
        staffIndex = static_cast<MnLine*>(line)->staff()->index();
    renderer->pickPath = EdPath(EdPath::KindLine, workIndex, staffIndex, lineIndex, firstMeasure, measureCount, handle);
}

void ReLine::resetPath()
{
    renderer->pickPath = EdPath::unset();
}

void ReLine::composeStaff(MnStaff* staff, double y)
{
    if (!staff || gridTimes.isEmpty())
        return;
    composeLines(staff, y);
    if (staff->index() == 0)
        composeVoltasAndJumps(staff, y);
    composeLyrics(staff, y);
}

void ReLine::composeLines(MnStaff* staff, double y)
{
    const int S = startTime;
    const int E = startTime + duration;
    const BcArray<MnLine*>& lines = staff->lineArray();
    for (int i = 0; i < lines.count(); ++i) {
        MnLine* line = lines[i];
        if (!line)
            continue;
        const int s = line->start();
        const int e = line->start() + line->length();
        int first;
        if (s >= S) {
            if (s >= E)
                continue;
            first = upperIndex(s);
        } else {
            if (e <= S)
                continue;
            first = lowerIndex(S);
        }
        if (first < 0)
            continue;
        int last;
        bool open;
        if (S < e && e <= E) {
            last = lowerIndex(e);
            open = false;
        } else {
            last = gridCount() - 1;
            open = true;
        }
        if (last < 0)
            continue;
        const double x0 = gridX[first];
        // An element that ends inside the system stops halfway to the grid
        // point of its end.
        const double x1 = last > first && last != gridCount() - 1 ? (gridX[last - 1] + gridX[last]) / 2 : gridX[last];
        setColorMode(renderer->contains(line) ? 3 : 2);
        const GePoint2d at(x0, y);
        if (line->isKindOf(MnDynamic::staticClass()))
            drawDynamic(static_cast<MnDynamic*>(line), i, at, x1 - x0, first, last);
        else if (line->isKindOf(MnPedal::staticClass()))
            drawPedal(static_cast<MnPedal*>(line), i, at, x1 - x0);
        else if (line->isKindOf(MnOctave::staticClass()))
            drawOctave(static_cast<MnOctave*>(line), i, at, x1 - x0, first == 0, open, first, last);
    }
}

void ReLine::composeVoltasAndJumps(MnStaff* staff, double y)
{
    const int S = startTime;
    const int E = startTime + duration;
    struct Placed
    {
        MnMeasure* measure;
        double x;
        double width;
    };
    BcArray<Placed> voltas;
    double running = 1.0;  // voltas never stand lower than this
    for (int m = 0; m < staff->measureCount(); ++m) {
        MnMeasure* measure = staff->measure(m);
        const int ms = staff->measureStartTime(m);
        if (ms >= E)
            break;
        if (measure->voltaMask() == 0 || ms < S)
            continue;
        const int a = lowerIndex(ms);
        const int b = lowerIndex(ms + measure->length());
        if (a < 0 || b < 0)
            continue;
        double h = a < extentCount() ? topExtents[a * staffCount] : middleLine;
        for (int g = a + 1; g < b && g < extentCount(); ++g)
            h = std::max(h, topExtents[g * staffCount]);
        running = std::max(running, h);
        voltas.add({measure, gridX[a], gridX[b] - gridX[a]});
    }
    for (int i = 0; i < voltas.count(); ++i)
        drawVolta(voltas[i].measure, GePoint2d(voltas[i].x, y + running), voltas[i].width);

    for (int m = 0; m < staff->measureCount(); ++m) {
        MnMeasure* measure = staff->measure(m);
        const int ms = staff->measureStartTime(m);
        if (ms >= E)
            break;
        if (ms < S || (measure->repeatMarker() == 0 && measure->repeatJump() == 0))
            continue;
        const int a = lowerIndex(ms);
        const int b = lowerIndex(ms + measure->length());
        if (a < 0 || b < 0)
            continue;
        double height;
        if (measure->voltaMask() != 0)
            height = running + 0.5;
        else
            height = b >= 1 && b - 1 < extentCount() ? std::max(0.0, topExtents[(b - 1) * staffCount] - 4.0) : 0.0;
        drawJumpMarks(measure, GePoint2d(gridX[a], y + height), gridX[b] - gridX[a]);
    }
}

double ReLine::widestSyllable(const MnLyric* lyric, double size, int font, bool underline) const
{
    double widest = 0.0;
    for (int k = 0; k < lyric->syllableCount(); ++k) {
        double bx = 0, by = 0, w = 0, h = 0;
        if (renderer->measureText(lyric->syllable(k), size, font, underline, &bx, &by, &w, &h))
            widest = std::max(widest, std::fabs(w) + std::fabs(bx));
    }
    return widest;
}

void ReLine::composeLyrics(MnStaff* staff, double y)
{
    const int S = startTime;
    const int E = startTime + duration;
    const BcArray<MnLyric*>& lyrics = staff->lyricArray();
    for (int li = 0; li < lyrics.count(); ++li) {
        MnLyric* lyric = lyrics[li];
        if (!lyric)
            continue;
        const int ls = lyric->start();
        if (ls >= E || ls + lyric->duration() < S)
            continue;
        const bool selected = renderer->contains(lyric);
        const double size = lyric->size();
        const int font = lyric->font();
        const bool underline = lyric->isUnderlined();
        struct Box
        {
            double x = 0, y = 0, w = 0, h = 0;
        };
        Box a, hyphen, dot;
        if (!renderer->measureText(BcString("a"), size, font, underline, &a.x, &a.y, &a.w, &a.h) ||
            !renderer->measureText(BcString("-"), size, font, underline, &hyphen.x, &hyphen.y, &hyphen.w, &hyphen.h) ||
            !renderer->measureText(BcString(u"\u00B7"), size, font, underline, &dot.x, &dot.y, &dot.w, &dot.h))
            continue;
        const int selectionMode = 3 + (lyric->voice() != 0 ? 1 : 0);
        // Separators take the selection colour, never the playing one.
        auto drawSeparator = [&](char16_t separator, double x, double baseline, bool rightAligned) {
            setColorMode(selected ? selectionMode : 2);
            const bool isDot = separator == middleDot;
            const Box& box = isDot ? dot : hyphen;
            const BcString text(isDot ? u"\u00B7" : u"-");
            const double left = rightAligned ? x - box.w - box.x : x - box.w / 2 - box.x;
            renderer->drawText(text, left, baseline, size, font, underline);
        };

        const int syllables = lyric->syllableCount();
        double prevRight = 0.0;
        int reached = 0;
        // The depth view draws the whole score as one system, and the walk
        // would go on through thousands of syllables right of the view. It
        // stops once a syllable, the separator before it and all that
        // follows lie past the view's right edge: later syllables stand
        // further right, and none reaches further left than the lyric's
        // widest syllable allows (measured when first needed).
        const bool mayStop = system->depthMode && !gridUnordered && !gridXUnordered;
        const double farRight = std::numeric_limits<double>::max() / 4;
        double reach = -1.0;
        MnLyricIterator walk(lyric);
        ReSystem::LyricResume& resume = system->lyricResumes[lyric];
        if (MnCache::isCurrent(resume.stamp) && resume.stoppedAt <= S) {
            walk.start = resume.start;
            walk.end = resume.end;
            walk.syllable = resume.syllable;
        } else {
            walk.begin();
        }
        for (; !walk.atEnd(); walk.next()) {
            const int k = walk.syllable;
            MnChord* first = walk.start;
            MnChord* lastChord = walk.end ? walk.end : first;
            const int T1 = first->measure()->startTime() + first->time();
            if (T1 >= E)
                break;
            if (T1 < S)
                continue;
            bool playing = false;
            for (MnChord* chord = first; chord && !playing; chord = chord == lastChord ? nullptr : chord->nextChord())
                playing = ReServices::current().isNotePlaying(chord, lyric->passThrough());

            const GePoint2d position = lyric->position();
            const int g = upperIndex(T1);
            if (g < 0)
                continue;
            double X = compensated(position.x + gridX[g]);
            if (mayStop) {
                const double left = reached > 0 ? std::min(X, prevRight) : X;
                if (!renderer->isVisibleX(left, farRight, 0.0)) {
                    if (reach < 0.0)
                        reach = widestSyllable(lyric, size, font, underline) + hyphen.w + dot.w + std::fabs(size);
                    if (!renderer->isVisibleX(left - reach, farRight, 0.0))
                        break;
                }
            }
            const double Y = y + position.y;
            const double baseline = Y - a.h / 2 - a.y;
            const char16_t prev = k > 0 ? lyric->separator(k - 1) : blank;
            const char16_t next = k < syllables - 1 ? lyric->separator(k) : blank;

            const BcString& text = lyric->syllable(k);
            double bx = 0, by = 0, w = 0, h = 0;
            if (renderer->measureText(text, size, font, underline, &bx, &by, &w, &h)) {
                X -= w / 2;
                if (prev != blank && reached > 0 && k > 0)
                    drawSeparator(prev, (X + prevRight) / 2, baseline, false);
                if (playing)
                    setColorMode(5);
                else
                    setColorMode(selected ? selectionMode : 2);
                renderer->drawText(text, X - bx, baseline, size, font, underline);
                renderer->pickPath = EdPath(EdPath::KindLyric, workIndex, staff->index(), li, firstMeasure,
                                            measureCount, k);
                renderer->markRect(GePoint2d(X, baseline + by), w, h, lyric);
                resetPath();
                prevRight = X + w;

                // A word that goes on in the next system gets its hyphen at
                // this system's end.
                const int T2 = lastChord->measure()->startTime() + lastChord->time() + lastChord->soundingDuration();
                if (T2 == E && next != blank && staff->totalTicks() > E)
                    drawSeparator(next, compensated(gridX[gridCount() - 1]), baseline, true);
            }
            ++reached;
        }
        resume.stamp = MnCache::currentStamp();
        resume.stoppedAt = E;
        resume.start = walk.start;
        resume.end = walk.end;
        resume.syllable = walk.syllable;
    }
}

void ReLine::drawHairpin(GePoint2d at, double width, double h0, double h1)
{
    if (width <= 0)
        return;
    const double half = staffLineThickness / 2;
    auto stroke = [&](double ya, double yb, double normalX, double normalY) {
        const double length = std::hypot(normalX, normalY);
        if (length >= 1e-10) {
            normalX /= length;
            normalY /= length;
        }
        const double ox = normalX * half;
        const double oy = normalY * half;
        renderer->fillQuad(at.x + ox, ya + oy, at.x - ox, ya - oy, at.x + width - ox, yb - oy, at.x + width + ox,
                           yb + oy);
    };
    stroke(at.y + h0, at.y + h1, -(h1 - h0), width);
    stroke(at.y - h0, at.y - h1, h1 - h0, width);
}

void ReLine::drawDashes(GePoint2d at, double length, bool vertical, int side)
{
    const int n = int(length / 2);
    if (n <= 0)
        return;
    double gap = 0.75;
    if (n > 1)
        gap += (length - 2 * n) / n;
    const double dash = 1.25;
    const double t = staffLineThickness;
    for (int i = 0; i < n; ++i) {
        if (vertical) {
            const double y0 = at.y - i * (gap + dash) * side;
            const double y1 = y0 - dash * side;
            fillBar(at.x - t, std::min(y0, y1), at.x, std::max(y0, y1));
        } else {
            const double x0 = at.x + gap + i * (gap + dash);
            const double y1 = at.y - side * t;
            fillBar(x0, std::min(at.y, y1), x0 + dash, std::max(at.y, y1));
        }
    }
}
