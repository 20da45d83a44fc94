// The division count of a measure: the finest equal grid of the measure on
// which every chord starts, from which the column layout spaces its onsets.

#include "model/MnMeasure.h"

#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"

static long long greatestCommonDivisor(long long a, long long b)
{
    while (b != 0) {
        const long long rest = a % b;
        a = b;
        b = rest;
    }
    return a;
}

// Least common multiple, kept at most `limit`: a measure never needs more
// slots than it has ticks.
static long long commonMultiple(long long a, long long b, long long limit)
{
    const long long multiple = a / greatestCommonDivisor(a, b) * b;
    return multiple > limit ? limit : multiple;
}

// A value cut down until the whole divides into it: a dotted value to its
// third, then halved while it does not divide the whole, down to a 64th.
static long long reducedAgainst(long long value, long long whole)
{
    if (value <= 0 || whole <= 0)
        return 0;
    if (value <= 0x7FFFFFFF && mnIsDottedDuration(int(value)))
        value /= 3;
    while (value > MnTicks64th && whole % value != 0)
        value /= 2;
    return value;
}

int MnMeasure::divisions(bool thisStaff) const
{
    const long long whole = length();
    if (whole <= 0)
        return 1;
    if (!thisStaff) {
        const MnScore* score = owner ? owner->score() : nullptr;
        if (!score)
            return divisions(true);
        long long result = 1;
        for (int i = 0; i < score->staffCount(); ++i) {
            const MnStaff* staff = score->staff(i);
            if (number >= 1 && number <= staff->measureCount())
                result = commonMultiple(result, staff->measure(number - 1)->divisions(true), whole);
        }
        return int(result);
    }

    if (MnCache::isCurrent(divisionStamp))
        return divisionCached;
    long long result = 1;
    for (int voice = 0; voice < voiceCount; ++voice) {
        const BcArray<MnChord*>& chords = voices[voice];
        for (int i = 0; i < chords.count(); ++i) {
            const MnChord* chord = chords[i];
            const MnChord* first = tupletChordAt(voice, chord->time());
            long long slots = 1;
            if (!chord->isGrace()) {
                // A chord in a tuplet is placed by the tuplet's span.
                const long long value =
                    reducedAgainst(first ? first->tuplet()->span() : chord->soundingDuration(), whole);
                if (value > 0)
                    slots = whole / value;
            }
            if (first && chord->normal() > 0) {
                // The written length of the tuplet divides further, by the
                // chord's written value.
                const long long written = (long long)first->tuplet()->span() * chord->actual() / chord->normal();
                const long long value = reducedAgainst(chord->duration(), written);
                if (value > 0)
                    slots *= written / value;
            }
            if (slots >= 1)
                result = commonMultiple(result, slots, whole);
        }
    }
    divisionStamp = MnCache::currentStamp();
    divisionCached = int(result);
    return divisionCached;
}
