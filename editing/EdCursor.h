#pragma once

#include "editing/EdSelection.h"
#include "foundation/BcObject.h"

class MnChord;
class MnMeasure;
class MnStaff;

// The note-entry cursor of a score view: a staff, a voice (-1 for all), a time
// in ticks from the staff's start and, among grace chords, a grace index
// counting back from the main chord; the anchor is the other end of an
// extended range. The staff is held in a live selection, so the cursor loses
// it when the staff dies.
class EdCursor : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(EdCursor)
public:
    EdCursor();
    ~EdCursor() override;

    // The staff when the staff selection holds exactly one staff, else null.
    MnStaff* staff() const;
    EdSelection& staffSelection() { return staffHolder; }

    int voice() const { return cursorVoice; }
    int time() const { return cursorTime; }
    int graceIndex() const { return cursorGraceIndex; }
    int anchorTime() const { return anchor; }
    int anchorGraceIndex() const { return anchorGrace; }

    void setVoice(int voice) { cursorVoice = voice; }
    // Sets time and grace index; without extend the anchor follows.
    void setPosition(int time, int graceIndex, bool extend);
    void setAnchor(int time, int graceIndex);

    // At the start of the staff in that voice, behind the grace chords that
    // open the voice's first measure; the anchor on the cursor.
    bool setAtStaffStart(MnStaff* staff, int voice);
    // At the start of the measure, behind the grace chords that open the
    // voice there; the anchor on the cursor. False for no measure.
    bool setAtMeasureStart(MnMeasure* measure, int voice);
    // At the chord: a grace chord is reached by its distance from the main
    // chord it precedes. The anchor stays only with keepAnchor and when the
    // cursor is in the chord's staff already. False for no chord.
    bool setAtChord(MnChord* chord, int voice, bool keepAnchor);

    // Step to the next or previous chord position, among grace chords one
    // grace position at a time; with extend the anchor stays. The chord now
    // at the cursor, or null, with nothing changed, when there is none.
    MnChord* moveNext(bool extend);
    MnChord* movePrevious(bool extend);

    // The grace run of a chord: the grace chords from it on, up to the main
    // chord they precede (0 for a main chord). main, when given, receives
    // that chord, or null when none follows.
    static int graceRun(const MnChord* chord, const MnChord** main = nullptr);

private:
    // The measure that holds the cursor's time, the time's offset in it and
    // the voices the cursor moves in.
    bool locate(MnMeasure*& measure, int& offset, int& firstVoice, int& lastVoice) const;
    // Sets the position that a move reaches and answers the chord there.
    MnChord* land(int time, int graceIndex, MnChord* chord, bool extend);

    EdSelection staffHolder;
    int cursorVoice = -1;
    int cursorTime = 0;
    int cursorGraceIndex = 0;
    int anchor = 0;
    int anchorGrace = 0;
};
