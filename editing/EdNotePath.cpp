#include "editing/EdNotePath.h"

BC_IMPLEMENT_CREATABLE_CLASS(EdNotePath)

EdNotePath::EdNotePath(int scoreIndex, int staffIndex, int measureIndex, int voice, int chordIndex,
                       int noteStep, int noteOctave)
    : scoreIndex(scoreIndex), staffIndex(staffIndex), measureIndex(measureIndex), voice(voice),
      chordIndex(chordIndex), noteStep(noteStep), noteOctave(noteOctave)
{
}

EdNotePath::EdNotePath(const EdNotePath& other) : BcObject()
{
    *this = other;
}

EdNotePath& EdNotePath::operator=(const EdNotePath& other)
{
    scoreIndex = other.scoreIndex;
    staffIndex = other.staffIndex;
    measureIndex = other.measureIndex;
    voice = other.voice;
    chordIndex = other.chordIndex;
    noteStep = other.noteStep;
    noteOctave = other.noteOctave;
    return *this;
}

bool EdNotePath::isUnset() const
{
    return *this == unset();
}

bool EdNotePath::operator==(const EdNotePath& other) const
{
    return scoreIndex == other.scoreIndex && staffIndex == other.staffIndex &&
           measureIndex == other.measureIndex && voice == other.voice &&
           chordIndex == other.chordIndex && noteStep == other.noteStep &&
           noteOctave == other.noteOctave;
}

const EdNotePath& EdNotePath::unset()
{
    static const EdNotePath path;
    return path;
}
