// Arpeggio lines: a chain of notes that sound at one time, across the staves
// of the score, joined by one arpeggio line from its lowest note upward.

#include "model/MnNote.h"

#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

// The notes of every staff that sound at the time of the note's chord,
// lowest staff first, each staff from low to high. Empty when the chord
// stands in no score.
static void notesSoundingWith(const MnChord* chord, BcArray<MnNote*>& list)
{
    list.removeAll();
    const MnMeasure* measure = chord ? chord->measure() : nullptr;
    const MnStaff* staff = measure ? measure->staff() : nullptr;
    const MnScore* score = staff ? staff->score() : nullptr;
    if (score)
        score->notesAtTime(measure->index() - 1, chord->time(), list);
}

bool MnNote::computeArpeggioChain()
{
    BcArray<MnNote*> list;
    return computeArpeggioChain(list);
}

bool MnNote::computeArpeggioChain(BcArray<MnNote*>& list)
{
    if (MnCache::isCurrent(chainStamp))
        return chainFirst != nullptr;
    const int stamp = MnCache::currentStamp();
    chainStamp = stamp;
    chainFirst = nullptr;
    chainLast = nullptr;
    chainIndex = 0;
    // Grace notes never sound with an arpeggio.
    if (!owner || owner->isGrace())
        return false;

    notesSoundingWith(owner, list);
    // A chain opens at a flagged note and runs through the flagged notes
    // after it to the first unflagged one, or to the end of the list.
    int open = -1;
    int count = 0;
    for (int i = 0; i < list.count(); ++i) {
        MnNote* note = list[i];
        const bool closes = !note->arpeggio || i == list.count() - 1;
        note->chainStamp = stamp;
        if (open < 0 && closes) {
            note->chainFirst = nullptr;
            note->chainLast = nullptr;
            note->chainIndex = 0;
            continue;
        }
        if (open < 0)
            open = i;
        note->chainFirst = list[open];
        note->chainLast = note;
        note->chainIndex = count;
        if (!closes) {
            ++count;
            continue;
        }
        // A downward arrow on the chain's first note reverses the order.
        const bool downward = list[open]->arpeggioTypeCode == 2;
        for (int j = open; j <= i; ++j) {
            list[j]->chainLast = note;
            if (downward)
                list[j]->chainIndex = count - list[j]->chainIndex;
        }
        open = -1;
        count = 0;
    }
    return chainFirst != nullptr;
}

bool MnNote::setArpeggioType(int type)
{
    if ((owner && owner->isGrace()) || !mnIsArpeggioType(type))
        return false;
    arpeggioTypeCode = type;
    if (!computeArpeggioChain())
        return true;

    BcArray<MnNote*> list;
    notesSoundingWith(owner, list);
    const int first = list.indexOf(chainFirst);
    const int last = list.indexOf(chainLast);
    for (int i = first; i >= 0 && i <= last; ++i)
        list[i]->arpeggioTypeCode = type;
    // The chain's order depends on the type of its first note.
    for (int i = 0; i < list.count(); ++i)
        list[i]->chainStamp = 0;
    return true;
}
