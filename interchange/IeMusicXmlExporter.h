#pragma once

#include "foundation/BcObject.h"

class BcXmlFiler;
class MnChord;
class MnCredit;
class MnMeasure;
class MnNote;
class MnScore;
class MnSheetMusic;
class MnStaff;
class MnStaffDefinition;
class MnWork;

// Writes one sheet music as a partwise MusicXML file: the header of the
// work, the page layout, the credits, the part list, and one part per staff
// with its measures, notes and rests. It reads the model and never changes
// it.
//
// Every writer appends to the filer's current element and leaves the cursor
// where it found it. Lengths are written in tenths (40 tenths = 6.35 mm),
// durations in divisions per quarter note.
class IeMusicXmlExporter : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(IeMusicXmlExporter)
public:
    IeMusicXmlExporter() = default;
    ~IeMusicXmlExporter() override = default;

    // Writes the file through a temporary file in the same folder; false
    // when nothing was written, an existing file then left as it was. A
    // null work writes no work texts; without a sheet nothing is written.
    virtual bool exportFile(const wchar_t* path, MnWork* work, MnSheetMusic* sheet);
    // The whole document into the filer, which exportFile has stream it
    // (every writer sets an element's attributes before its content); false,
    // writing nothing, without a sheet.
    bool writeDocument(BcXmlFiler& filer, MnWork* work, MnSheetMusic* sheet);

    // Frame (IeMusicXmlExporter.cpp).
    void writeCredits(BcXmlFiler& filer, MnCredit* credit);
    void writePartList(BcXmlFiler& filer, MnSheetMusic* sheet);

    // Parts and measures (IeMusicXmlExporterMeasures.cpp).
    void writePart(BcXmlFiler& filer, MnSheetMusic* sheet, int staffIndex);
    // The measures of one system of the part.
    void writeMeasure(BcXmlFiler& filer, MnScore* score, int staffIndex, int firstMeasure, int measureCount,
                      double stretch);
    // Divisions per quarter note of the part: every duration of the part,
    // and the length of each of its measures, is a whole number of them,
    // and so is each slot of the finest grid on which any staff starts a
    // chord in that measure. Always a divisor of a quarter's ticks. The
    // share of the measure columns is kept for the current MnCache scope.
    int partDivisions(const MnScore* score, int staffIndex);

    // Notes and rests (IeMusicXmlExporterNotes.cpp): the "note" elements of
    // the chord at index among all chords of its voice.
    void writeChord(BcXmlFiler& filer, MnChord* chord, int index, int divisions);

    // Writers of the elements around the notes; they add nothing yet.
    void writeBarline(BcXmlFiler& filer, MnMeasure* measure);
    void writeAttributes(BcXmlFiler& filer, int divisions, MnStaffDefinition* definition);
    void writeDirections(BcXmlFiler& filer, MnStaff* staff, int time);
    void writeNotations(BcXmlFiler& filer, MnChord* chord, MnNote* note);
    void writeLyrics(BcXmlFiler& filer, MnChord* chord);

    // Millimetres per tenth: 1 until the page layout is written, then the
    // 0.15875 of 40 tenths = 6.35 mm.
    double scale = 1.0;

    // The tenths in 6.35 mm.
    static constexpr double millimetresPerTenth = 0.15875;

private:
    void writeHeader(BcXmlFiler& filer, const MnWork* work);
    void writeDefaults(BcXmlFiler& filer, const MnSheetMusic* sheet);
    void writeNote(BcXmlFiler& filer, MnChord* chord, MnNote* note, int index, int divisions, bool first,
                   int octaveShift);
    void writeRest(BcXmlFiler& filer, MnChord* chord, int divisions);

    // The divisions found last, for one score and MnCache scope: the measure
    // columns' share, and that of one part.
    const MnScore* divisionsScore = nullptr;
    int divisionsStamp = 0;
    int columnDivisions = 1;
    int divisionsStaff = -1;
    int staffDivisions = 1;
};
