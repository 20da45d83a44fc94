#pragma once

#include "foundation/GePoint2d.h"
#include "render/ReComposer.h"

#include <unordered_map>

class MnChord;
class MnCredit;
class MnLyric;
class MnElement;
class MnNote;
class MnPartGroup;
class MnScore;
class MnSheetMusic;
class MnStaffDefinition;
class MnTempo;
class MnText;
class QuorvaneDocument;
struct ReGlyph;
struct ReScorePass;
class MnMeasure;
class MnStaff;
class ReTablature;

// The composer of documents, sheets and scores. Every drawing pass builds
// one on the stack and drops it at the end; it keeps nothing between passes.
class ReSystem : public ReComposer
{
    BC_DECLARE_CLASS(ReSystem)
public:
    explicit ReSystem(ReRenderer* renderer);
    ~ReSystem() override;

    // Documents and sheets. Scores and sheets draw in display order, each
    // reporting its index among the document's scores and sheets in works
    // order to the pick paths.
    void compose(QuorvaneDocument* document);
    void composeSheetMusic(MnSheetMusic* sheet, int workIndex);
    // Page 0 of the sheet as manuscript paper: clefMode 0 none, 1 on every
    // system, 2 on the first, 3 on brace-joined treble and bass pairs;
    // measuresPerSystem bars in each measure column.
    void composeSheetPage(MnSheetMusic* sheet, int clefMode, int measuresPerSystem);
    void composeBlankSystem(int clefMode, int measuresPerSystem, MnScore* score, int firstMeasure, int measureCount,
                            GePoint2d origin, double stretch);

    // One system of a score: measureCount measures from firstMeasure (0-based)
    // with the staff headers, its top-left staff line at origin, the natural
    // widths stretched by stretch. pathIndex is the work's index among the
    // document's scores and sheets in works order.
    void composeScore(MnScore* score, int firstMeasure, int measureCount, GePoint2d origin, double stretch,
                      int pathIndex);

    // Text and labels.
    // Labels and brackets of the staves firstStaff .. firstStaff + staffCount
    // - 1 of a score (owner: the score) or of a part group (owner: the
    // group), nested groups further left. pickWork < 0 reports the groups
    // themselves to the marks; otherwise each bracket half is marked with a
    // pick path of kind 3 for that work.
    void composePartNames(MnElement* owner, int pickWork, int firstStaff, int staffCount, GePoint2d origin,
                          double bracketEndX, bool abbreviated);
    // A text element at origin + its position, aligned by its code, with the
    // metronome figure of a tempo mark; marks report pickElement (null: the
    // text itself).
    void composeText(MnText* text, GePoint2d origin, MnElement* pickElement);

    // Staff furniture. A staff hangs from its top line at y; positions are
    // staff steps, the five lines at y .. y - 8.
    // The page at (x, y) reaching right and down: its fill in the paper
    // colour (0x00BBGGRR), textured when textured is non-zero, and on screen
    // its frame in colour mode frameMode and its shadow, to the right and
    // below, or only below for a page turned the other way.
    void drawPaper(double x, double y, double width, double height, int rgb, int textured, int frameMode,
                   bool rightShadow);
    void drawStaffLines(double x, double y, double width);
    // Bracket of a part group over height h from its top at y: 0 brace,
    // 1 bracket, 2 square bracket reaching right to endX, 3 line.
    void drawGroupBracket(double x, double y, double height, int type, double endX);
    // MnClef at the given size; other codes draw nothing.
    void drawClef(double x, double y, int clef, double scale, bool compensate);
    // fifths > 0 sharps, < 0 flats, at most seven; with cancel, naturals in
    // their places.
    void drawKeySignature(double x, double y, int fifths, int clef, bool cancel, bool compensate);
    // MnTimeSignatureType centred on x; other codes draw nothing.
    void drawTimeSignature(double x, double y, int type);
    // MnBarline over height from y, with repeat dots placed for a staff of
    // the given line count. At a system's start only a start repeat is
    // drawn; at its end a start repeat is a single line. The stroke widths
    // scale by s, the stroke ends and dots by the scales of the staves at
    // the top and the bottom.
    void drawBarline(double x, double y, double height, int code, bool systemStart, bool systemEnd, double s,
                     double topScale, double bottomScale, int lines, double dotScale);
    // The strokes of a barline across the gap between two staves, the top at
    // depth 0 and the bottom at the given depth.
    void drawBarlineLink(double x, double y, double height, double depth, int code, bool systemEnd, double s);
    // A clef and a key change at a measure start inside a system, offset to
    // the left of x; a change to no key cancels the key before it.
    void drawStaffChange(MnStaffDefinition* definition, double x, double y, double offset);
    // The key and time change of a staff change in the room the score
    // reserves at its time.
    void drawKeyTimeChange(MnStaffDefinition* definition, GePoint2d origin, double x);
    // The clef change of a staff change, right before a measure's barline.
    void drawClefChange(MnStaffDefinition* definition, double x, double y, double offset);
    // Marks the span of the element from origin over width and height.
    void markElementSpan(GePoint2d origin, double width, double height, MnElement* element);

    // Notes: durations in ticks (undotted), positions in staff steps.
    void drawNote(double x, double y, int duration, bool dot, double dotDx, double dotDy, int accidental,
                  double accidentalDx);
    // direction 1 up, -1 down. stemEnd, lowest and highest may be null.
    void drawStem(double x, double y, int top, int bottom, int direction, int duration, bool small, bool slash,
                  int* stemEnd = nullptr, double* lowest = nullptr, double* highest = nullptr);
    // Ledger lines above and below the staff for notes from top to bottom.
    void drawLedgerLines(double x, double y, int top, int bottom, bool small);
    // A rest of the value at y; position decides whether a whole or half
    // rest outside the staff needs its ledger line.
    void drawRest(double x, double y, int duration, bool dot, double position);
    // A tie at y from x1 to x2, direction 1 above the notes and -1 below;
    // the stems of the two chords and where each note stands in its chord
    // decide how far the tie keeps from the heads.
    void drawTie(double x1, double x2, double y, int direction, int startStem, int endStem, bool startLowest,
                 bool startHighest, bool endLowest, bool endHighest);
    // The chord's articulation marks outside its notes, stacked outward from
    // lowest or highest, which move past each mark.
    void drawArticulations(MnChord* chord, GePoint2d point, int direction, double* lowest, double* highest);
    // The wavy line of an arpeggio from the first note up to the last, which
    // may stand on a lower staff.
    void drawArpeggio(GePoint2d point, MnNote* first, MnNote* last);

    // Maps x onto the unscaled horizontal layout of the system while a part
    // is drawn inside its own scale transform.
    double compensated(double x) const { return horizontalPivot + (x - horizontalPivot) * horizontalScale; }
    // Colour mode 3 when the element is in the renderer's selection, else 2.
    void setColorBySelection(const MnElement* element);
    bool isSelected(const MnElement* element) const;

    // Where the walk of a lyric's syllables stopped in the last system of
    // this pass: at the first syllable at or after stoppedAt (the end of
    // that system), every syllable before it lying earlier. A later system
    // starting at or after stoppedAt goes on from there, so a long lyric is
    // not walked again from its start for every system. Valid under the
    // cache scope it was stored in.
    struct LyricResume
    {
        int stamp = 0;
        int stoppedAt = 0;
        MnChord* start = nullptr;
        MnChord* end = nullptr;
        int syllable = 0;
    };
    std::unordered_map<const MnLyric*, LyricResume> lyricResumes;

    bool depthMode = false;  // only the parallax view draws with depth
    double horizontalScale = 1.0;
    double horizontalPivot = 0.0;

private:
    // The passes of composeScore.
    void composeFloatingHeader(ReScorePass& pass);
    void composeStaffHeaders(ReScorePass& pass);
    void composeCourtesySignatures(ReScorePass& pass);
    void composeMeasureColumn(ReScorePass& pass, int measureIndex, double& cx);
    struct MeasureStaff;
    void composeVoices(ReScorePass& pass, MeasureStaff& at);
    void composeChordTies(ReScorePass& pass, MeasureStaff& at, MnChord* chord, int voice, int chordIndex, double x,
                          int stem, MnNote* note, int noteIndex, double noteY);
    void composeNotePreview(ReScorePass& pass, MeasureStaff& at, MnChord* chord, int voice, int chordIndex, double x,
                            int stem);
    // The scale s of a part drawn about (originX, y), with its depth; x
    // positions keep the system's unscaled layout.
    void openStaffScope(int staffIndex, double originX, double y, double s);
    void closeStaffScope();
    // A 0.6 scale about (x, y) for a grace chord; answers the pivot to give
    // back to closeGraceScope.
    double openGraceScope(double x, double y);
    void closeGraceScope(double savedPivot);
    void placeCredit(MnCredit* credit, GePoint2d origin, double* x, double* y);
    void composeMetronomeFigure(MnTempo* tempo, GePoint2d origin, double x, double y, double width, double height,
                                double room, MnElement* reported);
    void composeGroupLabel(MnScore* score, MnPartGroup* group, int pickWork, GePoint2d origin, double bracketEndX,
                           bool abbreviated);
    void drawGlyph(const ReGlyph& glyph, double x, double y, double sx, double sy);
    // fillBar with the paper texture.
    void fillTexturedBar(double left, double bottom, double right, double top);
    // Segment count of round note shapes: finer in print and when zoomed in.
    int fineSegments() const;
    // Segment count by the zoom alone: finer the less of the page is seen.
    int zoomSegments() const;
};
