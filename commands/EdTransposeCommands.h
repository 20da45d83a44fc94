#pragma once

#include "foundation/BcArray.h"

#include <unordered_set>

class MnElement;
class MnNote;
class MnScore;

// Note/Transpose: the selected notes up or down by a staff position, a
// semitone or an octave, and Transpose key/interval, which moves all notes
// of the selected elements to another key, by an interval or by a number
// of semitones, spelled in the new key and optionally changing the key
// signatures. Notes keep to the piano's range, A0..C8: a note that would
// leave it stays where it is while the others move.
class EdTransposeCommands
{
public:
    static constexpr unsigned staffPositionUpId = 33002;
    static constexpr unsigned staffPositionDownId = 33005;
    static constexpr unsigned semitoneUpId = 33008;
    static constexpr unsigned semitoneDownId = 33004;
    static constexpr unsigned octaveUpId = 33013;
    static constexpr unsigned octaveDownId = 33014;
    static constexpr unsigned keyIntervalId = 33015;

    static void cmdTransposeStaffPositionUp();
    static void cmdTransposeStaffPositionDown();
    static void cmdTransposeSemitoneUp();
    static void cmdTransposeSemitoneDown();
    static void cmdTransposeOctaveUp();
    static void cmdTransposeOctaveDown();
    // With nothing selected, selects every note first, and empties the
    // selection again unless the dialog was confirmed.
    static void cmdTransposeKeyInterval();

    // Music theory tables. Steps are 0..6 (C..B), keys -7..7 (flats
    // negative), pitch classes 0..11 (C = 0); out-of-range arguments give 0.
    // The semitones from a step to the next one (B to C included).
    static int stepSize(int step);
    // The tonic of the major key: its letter as a step, and its pitch class.
    static int tonicLetter(int key);
    static int tonicPitchClass(int key);
    // The key written for a tonic pitch class (flats for 1, 3, 8, 10, 5,
    // sharps for 6).
    static int keyOfPitchClass(int pitchClass);
    // The entries of the interval list (0 augmented unison .. 24 perfect
    // octave): the interval number and its semitones; false outside 0..24.
    static bool intervalOfEntry(int entry, int& number, int& semitones);

    // The notes to transpose, once each. Collected in any order; notes()
    // sorts them by time once, and among equal times puts the note
    // collected later first.
    class NoteList
    {
    public:
        bool add(MnNote* note);
        int count() const { return collected.count(); }
        const BcArray<MnNote*>& notes();

    private:
        BcArray<MnNote*> collected;
        std::unordered_set<const MnNote*> members;
        bool sorted = true;
    };

    // Where a note lies: ticks from the start of its staff.
    static int staffTimeOf(const MnNote* note);

    // Moves one pitch by the semitones and the diatonic steps, then, while
    // the alteration is past the limit (2 with double sharps and flats
    // allowed, else 1), on to the next letter that takes it.
    static bool transposePitch(int& octave, int& step, int& alteration, int semitones, int diatonicSteps,
                               bool allowDouble);

    // Adds the notes that the element stands for in the score: a note
    // itself, every note of a measure, of a staff where its own definition
    // is in force (up to its first staff change), of a staff change up to
    // the next, of a whole score or sheet music.
    static void collectTransposedNotes(MnElement* element, MnScore* score, NoteList& list);

    // The key in force, at the time of the first (earliest) note, on the
    // highest staff that the notes lie on; 0 without notes.
    static int transposeReferenceKey(const BcArray<MnNote*>& notes);

    // Moves every note by the interval number (negative down) and the
    // semitones, plus whole octaves; with changeKeySignatures the key
    // signatures in force at the notes move too, to the target key where it
    // is their enharmonic twin (noTarget: none). True when there was a note.
    static constexpr int noTarget = 100;
    static bool transposeNotes(int intervalNumber, int semitones, bool changeKeySignatures, int targetKey,
                               bool allowDouble, const BcArray<MnNote*>& notes, int octaves = 0);

    // To the target key from the reference key, up (0), down (1) or the
    // nearer way (2; a tritone goes up), plus whole octaves. False when the
    // keys share their tonic and no octave is asked.
    static bool transposeToKey(int targetKey, int direction, bool changeKeySignatures, bool allowDouble,
                               const BcArray<MnNote*>& notes, int octaves = 0);

    static void addRows();
};
