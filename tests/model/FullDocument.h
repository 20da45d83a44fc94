#pragma once

#include "foundation/BcMemoryFiler.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"

// The works of a small document that holds every class of the model: a work,
// and a sheet music with its credits, page layout and score. The score has
// two staves, one with a tablature; ties, arpeggios, accidentals, a tuplet,
// grace chords, staff changes, every kind of line, a lyric, parts, groups,
// tempo marks and a styled measure-number template.
struct FullDocument
{
    FullDocument();
    ~FullDocument();
    FullDocument(const FullDocument&) = delete;
    FullDocument& operator=(const FullDocument&) = delete;

    // The work's record followed by the sheet music's.
    bool write(BcFiler& filer) const;
    bool read(BcFiler& filer);

    MnWork* work;
    MnSheetMusic* sheet;
};

// Fills an empty document's works with all of the above.
void buildFullDocument(FullDocument& document);
