#pragma once

#include "panels/UiElementContextMenu.h"

class MnChord;
class MnMeasure;
class MnStaff;

// Entries for measures, chords, notes and tuplets: moving, hiding and
// showing, the lines and marks that can be added, tuplets, grace notes,
// voices, beats, transposition and lyrics.
class UiMeasureContextMenu : public UiElementContextMenu
{
public:
    void reset() override;
    void visit(MnElement* element) override;
    void build(UiContextMenuList& list) override;

private:
    void visitMeasure(MnMeasure* measure);
    void visitChord(MnChord* chord);
    // The hidden rests and tuplets of a measure.
    void scanHidden(const MnMeasure* measure);

    int visited = 0;
    int atStaffStart = 0;
    int measures = 0;
    int swappable = 0;
    int canMoveMeasureLeft = 0;
    int canMoveMeasureRight = 0;
    int laterMeasures = 0;
    int chords = 0;
    int notFirstInMeasure = 0;
    int notLastInMeasure = 0;
    int outsideTuplet = 0;
    int notes = 0;
    int graceChords = 0;
    int visibleRests = 0;
    bool hiddenRests = false;
    int visibleTuplets = 0;
    bool hiddenTuplets = false;
    bool transposable = false;
};
