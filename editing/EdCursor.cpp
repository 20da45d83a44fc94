#include "editing/EdCursor.h"

#include "foundation/BcClassManager.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnStaff.h"

BC_IMPLEMENT_CREATABLE_CLASS(EdCursor)

EdCursor::EdCursor() = default;
EdCursor::~EdCursor() = default;

MnStaff* EdCursor::staff() const
{
    if (staffHolder.count() != 1)
        return nullptr;
    MnElement* held = staffHolder.element(0);
    if (!held->isKindOf(MnStaff::staticClass()))
        return nullptr;
    return static_cast<MnStaff*>(held);
}

void EdCursor::setPosition(int time, int graceIndex, bool extend)
{
    cursorTime = time;
    cursorGraceIndex = graceIndex;
    if (!extend)
        setAnchor(time, graceIndex);
}

void EdCursor::setAnchor(int time, int graceIndex)
{
    anchor = time;
    anchorGrace = graceIndex;
}

// The grace chords that open a voice of a measure.
static int leadingGraceChords(const MnMeasure* measure, int voice)
{
    if (!measure || voice < 0 || voice >= MnMeasure::voiceCount)
        return 0;
    int count = measure->chordCount(voice, false);
    int graces = 0;
    while (graces < count) {
        const MnChord* chord = measure->chordAt(graces, voice, false);
        if (!chord || !chord->isGrace())
            break;
        ++graces;
    }
    return graces;
}

bool EdCursor::setAtStaffStart(MnStaff* staff, int voice)
{
    staffHolder.clear();
    if (staff)
        staffHolder.add(staff);
    cursorVoice = voice;
    int graces = 0;
    if (staff && staff->measureCount() > 0)
        graces = leadingGraceChords(staff->measure(0), voice);
    setPosition(0, graces, false);
    return true;
}
