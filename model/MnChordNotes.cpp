#include "model/MnChord.h"

#include "model/MnNote.h"

MnNote* MnChord::addNoteByKey(int key, bool tied)
{
    if (notes.count() >= maxNotes)
        return nullptr;
    for (int i = 0; i < notes.count(); ++i) {
        if (notes[i]->keyNumber() == key)
            return notes[i];
    }
    // The new note joins the chord before it is spelled, so that later
    // notes of the measure that it now alters are given their accidentals.
    MnNote* note = new MnNote(this, 0, 4, 3, tied);
    const int index = notes.add(note);
    if (!note->spellKey(key, false)) {
        notes.removeAt(index);
        delete note;
        return nullptr;
    }
    sortNotes();
    return note;
}
