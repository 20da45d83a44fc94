#pragma once

#include "editing/EdClipNote.h"
#include "editing/EdSelection.h"
#include "foundation/BcArray.h"
#include "foundation/BcObject.h"

#include <memory>
#include <vector>

class MnChord;
class MnElement;
class MnMeasure;
class MnNote;
class MnScore;
class MnStaff;
class MnStaffChange;

// The program's own copy buffer. After a copy it holds either note records
// of the selected notes and rests, or one owned clone of a work: a score
// cropped to the copied range, or a sheet music. The application keeps one
// for Edit/Cut, Copy and Paste; the model and note input make short-lived
// ones to lift music out of a staff and put it back.
class EdClipboard : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(EdClipboard)
public:
    EdClipboard();
    // Deletes the clones.
    ~EdClipboard() override;
    EdClipboard(const EdClipboard&) = delete;
    EdClipboard& operator=(const EdClipboard&) = delete;

    // Empties the buffer and copies the selection: anything but notes and
    // chords makes a clone of the first work they lie in (and the notes are
    // ignored); otherwise each note and each chord selected as a whole gives
    // a record, of the score of the first one met only, sorted by (line,
    // time, grace index) and counted from the earliest time and lowest line.
    // True when anything was copied.
    bool copy(const EdSelection& selection);
    // The elements of the selection other than notes and chords, copied as
    // clones of their works.
    bool copyOthers(const EdSelection& selection);
    // The clone branch of copy.
    bool copyElements(const EdSelection& elements);
    // Appends records of every note of the measures first..last (0-based;
    // -1: from the first, to the last), in measure, voice, chord and note
    // order, line 0, times from the start of measure first; a rest that
    // begins a tuplet is recorded too, so that the tuplet comes back. Does
    // not empty the buffer. False only without a staff.
    bool copyMeasures(MnStaff* staff, int first = -1, int last = -1);

    // The measures wholly governed by the staff change, and the chords of the
    // other measures that it governs.
    static void collectStaffChangeSpan(MnStaffChange* change, BcArray<MnElement*>& out);
    // Crops a score clone to what is selected in it: the clone whole, a range
    // of staves, or a range of measures trimmed to the beats that the
    // selected music spans. False when nothing of it is selected.
    static bool cropScore(MnScore* clone, const EdSelection& selected);
    // Widens [start, end) (-1 unset) by what is selected in the staff: a
    // staff all of it, a measure its span, a chord or one of its notes the
    // chord's sounding span.
    static void selectedTimeSpan(MnStaff* staff, const EdSelection& selected, int* start, int* end);

    // Puts the content into the staff from the staff time on: a copied score
    // through pasteScore, otherwise the note records, line h on the h-th
    // staff from this one. Every tuplet, note and rest made is added to
    // pasted when it is given. True when anything was pasted; never adds
    // measures.
    bool paste(MnStaff* staff, int time, EdSelection* pasted);
    // Writes the score clone's music over the staves from this one on, chord
    // by chord; false without a score clone, when the time lies inside a
    // tuplet, or when nothing was pasted.
    bool pasteScore(MnStaff* staff, int time);
    // Fills the slot at the time of the target measure with the source
    // chord's notes, written on the same staff positions under the target's
    // clef, and its settings. A grace source adds its notes after the first
    // to the grace chord made for it before the target's main chord there;
    // false when there is none.
    bool pasteChord(const MnChord* source, MnMeasure* target, int time);
    // Makes a new work of each clone's class, a copy of the clone, in order,
    // and adds it to made; the caller owns what is made. The clones stay, so
    // the same work can be pasted again. True when any work was made.
    bool pasteItems(EdSelection* made) const;

    // Pastes of note records give each note its written spelling, tie and
    // arpeggio and each chord its settings, instead of spelling the keys in
    // the target's key: the way the model gives lifted music back.
    void setRestoresWriting(bool restores) { restoresWriting = restores; }

    const BcArray<EdClipNote>& notes() const { return records; }
    int cloneCount() const { return int(owned.size()); }
    MnElement* clone(int index) const { return owned[index].get(); }
    // The elements inside the score clone that stand for the copied
    // selection; a live selection, so nothing the crop deletes stays in it.
    const EdSelection& selectedInClones() const { return selected; }
    // Empties the buffer.
    void clear();

    // Installs the factory of the clipboard through which the model lifts
    // music (MnClipboard).
    static void installModelClipboard();

private:
    // A record of the chord, for the note or, without one, as a rest.
    static EdClipNote recordOf(const MnChord* chord, const MnNote* note, int line);
    bool copyScore(MnScore* score, const EdSelection& elements);
    bool pasteRecords(MnStaff* staff, int time, EdSelection* pasted);
    // Writes the record at the index into the slot of the measure; what it
    // made (a note, or the rest's chord), or null when the slot refused.
    MnElement* placeRecord(int index, MnMeasure* measure, int slot);
    // pasteChord's work once the target chord is known.
    void writeChord(const MnChord* source, MnChord* target);
    // Writes the source voice's grace chords from index last back, those at
    // last's time, in front of the target chord in the holding measure, each
    // before the one written last; true when any was.
    bool addGraceChords(const BcArray<MnChord*>& chords, int last, MnMeasure* holder, MnChord* front);

    BcArray<EdClipNote> records;
    std::vector<std::unique_ptr<MnElement>> owned;
    EdSelection selected;
    bool restoresWriting = false;
};
