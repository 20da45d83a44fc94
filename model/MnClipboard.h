#pragma once

#include "foundation/BcArray.h"

#include <memory>

class MnNote;
class MnStaff;

// The clipboard through which the model lifts music out of a staff and puts
// it back: re-barring a staff for a new time signature and renumbering a
// tuplet. The clipboard itself lives in the editing layer, which installs
// its factory at start-up; until then nothing can be lifted, and the
// operations that need it refuse.
//
// What the model lifts comes back as it was written: each note with its
// spelling, tie and arpeggio, each chord with its stem, beam, grace slash,
// slur and articulations.
class MnClipboard
{
public:
    virtual ~MnClipboard();

    // Records of the notes, as a copy of a selection of them does; false,
    // with nothing copied, when there are none.
    virtual bool copyNotes(const BcArray<MnNote*>& notes) = 0;
    // Appends records of every note of the measures first..last (0-based;
    // -1: from the first, to the last), times from the first one's start.
    virtual bool copyMeasures(MnStaff* staff, int first, int last) = 0;
    // Writes the records into the staff from the time on; true when anything
    // was pasted.
    virtual bool paste(MnStaff* staff, int time) = 0;

    using Factory = std::unique_ptr<MnClipboard> (*)();
    // A new, empty clipboard; null while no factory is installed.
    static std::unique_ptr<MnClipboard> make();
    // Installs the factory and answers the one it replaces; null installs
    // none.
    static Factory install(Factory factory);
};
