#pragma once

#include "foundation/BcObject.h"

#include <utility>
#include <vector>

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

    // The directions of the measure whose times see no chord start in the
    // first voice, written after that voice's notes (position, in
    // divisions) with a backup to each time and a forward back; last: the
    // measure ends the staff, and the piece's end is its own.
    void writeDirectionsBetweenChords(BcXmlFiler& filer, MnStaff* staff, const MnMeasure* measure, bool last,
                                      long long position, int divisions);
    // A "backup" or "forward" of the duration; none for 0 or less.
    void writeMove(BcXmlFiler& filer, const char* name, long long duration);

    // Notes and rests (IeMusicXmlExporterNotes.cpp): the "note" elements of
    // the chord at index among all chords of its voice.
    void writeChord(BcXmlFiler& filer, MnChord* chord, int index, int divisions);

    // Measure furniture (IeMusicXmlExporterAttributes.cpp): the left and
    // right barlines of a measure, and the "attributes" of the staff's own
    // definition (all of it) or of a staff change (what it changes).
    void writeBarline(BcXmlFiler& filer, MnMeasure* measure);
    // One of the two: a measure opens with its left barline and closes with
    // its right one.
    void writeBarlineSide(BcXmlFiler& filer, MnMeasure* measure, bool left);
    void writeAttributes(BcXmlFiler& filer, int divisions, MnStaffDefinition* definition);
    // Every direction of the staff at the absolute time
    // (IeMusicXmlExporterDirections.cpp).
    void writeDirections(BcXmlFiler& filer, MnStaff* staff, int time);
    // The absolute times from..to (to excluded) at which writeDirections
    // writes something for the staff, ascending.
    void directionTimesIn(const MnStaff* staff, long long from, long long to, std::vector<long long>& times);
    // The octaves that the octave lines of the chord's staff shift it by:
    // the last line in the staff's order that covers its time decides.
    int octaveShiftAt(const MnChord* chord);

    // What hangs on a note (IeMusicXmlExporterNotations.cpp).
    void writeNotations(BcXmlFiler& filer, MnChord* chord, MnNote* note);
    // The chord holds a note of the note's step, octave and sounding key;
    // with tiedOnly, one that is itself the second note of a tie.
    bool holdsSameNote(const MnChord* chord, const MnNote* note, bool tiedOnly);
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

    // The direction times and the syllables of one staff, for one MnCache
    // scope: every writer call then finds its own by a search.
    void indexDirections(const MnStaff* staff);
    void indexLyrics(const MnStaff* staff);
    const MnStaff* directionsStaff = nullptr;
    int directionsStamp = 0;
    // (time, index in the staff's lines) of every line's start and end that
    // writes a direction, in time and then line order.
    std::vector<std::pair<long long, int>> lineTimes;
    // Every time at which the staff writes a direction.
    std::vector<long long> directionTimes;
    struct OctaveSpan
    {
        long long start;
        long long end;
        int shift;
    };
    // The staff's octave lines in its order, so that a chord's shift is
    // found without a walk over every line of the staff.
    std::vector<OctaveSpan> octaveSpans;
    struct SyllableAt
    {
        long long time;
        int voice;
        int line;
        int syllable;
    };
    const MnStaff* lyricsStaff = nullptr;
    int lyricsStamp = 0;
    // By voice, time and line.
    std::vector<SyllableAt> syllables;
};
