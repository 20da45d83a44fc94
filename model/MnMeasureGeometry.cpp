// Where a measure stands in an unbroken system and how wide it is. Every
// staff's measure i has the width of the first staff's measure i, which the
// score's column layout measures over all staves; the first staff's
// measures keep the values for the whole column.

#include "model/MnMeasure.h"

#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnColumnLayout.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <algorithm>
#include <cmath>

int MnMeasure::arrayIndex() const
{
    if (!owner)
        return -1;
    if (number >= 1 && number <= owner->measureCount() && owner->measure(number - 1) == this)
        return number - 1;
    for (int i = 0; i < owner->measureCount(); ++i) {
        if (owner->measure(i) == this)
            return i;
    }
    return -1;
}

const MnMeasure* MnMeasure::columnLead() const
{
    const MnScore* score = owner ? owner->score() : nullptr;
    if (!score || owner == score->staff(0))
        return this;
    const int index = arrayIndex();
    const MnStaff* first = score->staff(0);
    if (index < 0 || index >= first->measureCount())
        return this;
    return first->measure(index);
}

MnColumnLayout& MnMeasure::columnLayout() const
{
    if (!column)
        column.reset(new MnColumnLayout);
    return *column;
}

GePoint2d MnMeasure::position() const
{
    MnCache scope;
    return GePoint2d(columnLead()->leadX(), 0.0);
}

double MnMeasure::leadX() const
{
    if (MnCache::isCurrent(positionStamp))
        return positionCached;
    const int index = arrayIndex();
    const MnScore* score = owner ? owner->score() : nullptr;
    if (index < 0 || !score)
        return 0.0;
    // Back to the nearest measure placed in this scope, then forward: a
    // loop, so that a long staff never recurses once per measure.
    int from = index;
    while (from > 0 && !MnCache::isCurrent(owner->measure(from)->positionStamp))
        --from;
    const MnMeasure* start = owner->measure(from);
    if (!MnCache::isCurrent(start->positionStamp)) {
        start->positionCached = score->systemHeaderWidth(0);
        start->positionStamp = MnCache::currentStamp();
    }
    double x = start->positionCached;
    for (int i = from + 1; i <= index; ++i) {
        x += owner->measure(i - 1)->width();
        const MnMeasure* measure = owner->measure(i);
        measure->positionCached = x;
        measure->positionStamp = MnCache::currentStamp();
    }
    return x;
}

double MnMeasure::width() const
{
    const MnMeasure* lead = columnLead();
    if (lead != this)
        return lead->width();
    if (MnCache::isCurrent(widthStamp))
        return widthCached;
    widthCached = headerWidth() + contentWidth();
    widthStamp = MnCache::currentStamp();
    return widthCached;
}

double MnMeasure::contentWidth() const
{
    const MnMeasure* lead = columnLead();
    if (lead != this)
        return lead->contentWidth();
    if (MnCache::isCurrent(contentStamp))
        return contentCached;
    const MnScore* score = owner ? owner->score() : nullptr;
    const int index = arrayIndex();
    contentCached = score && index >= 0 ? score->measureNaturalWidth(index) : 0.0;
    contentStamp = MnCache::currentStamp();
    return contentCached;
}

double MnMeasure::headerWidth() const
{
    const MnMeasure* lead = columnLead();
    if (lead != this)
        return lead->headerWidth();
    if (MnCache::isCurrent(headerStamp))
        return headerCached;
    const MnScore* score = owner ? owner->score() : nullptr;
    const int index = arrayIndex();
    double header = 0.0;
    if (score && index >= 0) {
        // What the column layout at stretch 1 adds to the natural spacing.
        MnCache scope;
        const MnColumnLayout* layout = score->columnLayout(index);
        if (layout && !layout->x.isEmpty())
            header = layout->x[layout->x.count() - 1] - layout->naturalWidth;
    }
    headerCached = header;
    headerStamp = MnCache::currentStamp();
    return header;
}

bool MnMeasure::hasArpeggioNotes() const
{
    if (MnCache::isCurrent(arpeggioStamp))
        return arpeggioCached;
    bool found = false;
    for (int voice = 0; voice < voiceCount && !found; ++voice) {
        const BcArray<MnChord*>& chords = voices[voice];
        for (int i = 0; i < chords.count() && !found; ++i) {
            for (int n = 0; n < chords[i]->noteCount() && !found; ++n)
                found = chords[i]->note(n)->hasArpeggio();
        }
    }
    arpeggioCached = found;
    arpeggioStamp = MnCache::currentStamp();
    return found;
}

bool MnMeasure::columnHasArpeggio() const
{
    const MnScore* score = owner ? owner->score() : nullptr;
    const int index = arrayIndex();
    if (!score || index < 0)
        return hasArpeggioNotes();
    for (int i = 0; i < score->staffCount(); ++i) {
        const MnStaff* staff = score->staff(i);
        if (index < staff->measureCount() && staff->measure(index)->hasArpeggioNotes())
            return true;
    }
    return false;
}

bool MnMeasure::moveTo(const GePoint2d& point)
{
    // The bar line before the first measure is the system's start.
    const int index = arrayIndex();
    if (index <= 0)
        return false;
    const double dx = point.x - position().x;
    if (!std::isfinite(dx))
        return false;
    if (dx == 0.0)
        return true;
    const double old = owner->measure(index - 1)->userWidth();
    const double widened = std::max(0.0, old + dx);
    if (widened == old)
        return true;

    MnScore* score = owner->score();
    auto setColumnWidth = [&](double width) {
        if (!score) {
            owner->measure(index - 1)->setUserWidth(width);
            return;
        }
        for (int i = 0; i < score->staffCount(); ++i) {
            MnStaff* staff = score->staff(i);
            if (index - 1 < staff->measureCount())
                staff->measure(index - 1)->setUserWidth(width);
        }
    };
    setColumnWidth(widened);

    // A narrower measure always still fits; a wider one must leave its
    // system room for every measure it holds.
    MnSheetMusic* sheet = score ? score->sheetMusic() : nullptr;
    if (!sheet || widened < old)
        return true;
    MnCache scope;
    int first = -1;
    if (sheet->locateMeasure(index - 1, nullptr, &first, nullptr) >= sheet->pageCount() || first < 0)
        return true;
    double stretch = 1.0;
    sheet->fitSystem(first, stretch);
    if (stretch < 1.0) {
        setColumnWidth(old);
        return false;
    }
    return true;
}
