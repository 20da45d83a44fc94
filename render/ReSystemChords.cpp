#include "editing/EdContext.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnNoteLayout.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "render/ReRenderer.h"
#include "render/ReScorePass.h"
#include "render/ReServices.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>

// The chords, rests and ties of one staff of one measure, with their
// hand-offs to the beams, slurs, tuplets, tablature and line composer, and
// the note-entry preview. Positions are the system's unscaled layout; the
// staff's scope scales the glyphs.

// Notehead widths: a filled or whole head is 2 (1.5 sin 74 - 0.15) wide,
// the open half-note head 2 x 1.375.
static const double headWidth = 2 * (1.5 * std::sin(74.0 * M_PI / 180.0) - 0.15);
static const double halfHeadWidth = 2 * 1.375;
static constexpr double graceScale = 0.6;

static int rounded(double position)
{
    return int(std::lround(position));
}

// The pick box of a rest by its value, from the rest's position: width,
// height, and how far below the position its bottom lies.
struct RestMark
{
    int duration;
    double width, height, bottom;
};
static const RestMark restMarks[] = {
    {MnTicks64th, 3.77, 9.55, -1.0 - 4.775},
    {MnTicks32nd, 3.18, 7.55, -3.775},
    {MnTicksSixteenth, 2.59, 5.55, -1.0 - 2.775},
    {MnTicksEighth, 2.0, 3.55, -1.775},
    {MnTicksQuarter, 1.8, 6.0, -3.0 + 0.25},
    {MnTicksHalf, 3.0, 1.2, 0.0},
    {MnTicksPerWhole, 3.0, 1.2, 2.0 - 1.2},
};

// The side of a tie at a note without its own placement: away from the
// stem for the outer notes of a chord, else with the stem direction.
static int tieDirection(const MnNote* note, const MnChord* chord, int stem)
{
    if (note->tiePlacement() != 0)
        return note->tiePlacement() > 0 ? 1 : -1;
    const bool several = chord->noteCount() >= 2;
    if (stem == 1)
        return several && note == chord->note(chord->noteCount() - 1) ? 1 : -1;
    return several && note == chord->note(0) ? -1 : 1;
}

static MnNote* sameNoteIn(const MnChord* chord, const MnNote* note, bool tiedOnly)
{
    if (!chord)
        return nullptr;
    const int key = note->keyNumber();
    for (int i = 0; i < chord->noteCount(); ++i) {
        MnNote* other = chord->note(i);
        if (tiedOnly && !other->isTied())
            continue;
        if (other->step() == note->step() && other->octave() == note->octave() && other->keyNumber() == key)
            return other;
    }
    return nullptr;
}

static bool isBottom(const MnChord* chord, const MnNote* note)
{
    return chord->noteCount() > 0 && chord->note(0) == note;
}

static bool isTop(const MnChord* chord, const MnNote* note)
{
    return chord->noteCount() > 0 && chord->note(chord->noteCount() - 1) == note;
}

void ReSystem::composeChordTies(ReScorePass& pass, MeasureStaff& at, MnChord* chord, int voice, int chordIndex,
                                double x, int stem, MnNote* note, int, double noteY)
{
    MnMeasure* M = at.measure;
    const int slot = 2 * at.staffIndex + voice;
    const double y = at.cy + noteY;
    if (note->isTied()) {
        const int mask = M->voltaMask();
        if (chordIndex == 0 && (at.isFirst || (mask > 0 && (mask & 1) == 0))) {
            // From the start of the system, or of a later ending.
            drawTie(at.cx, at.cx + x, y, tieDirection(note, chord, stem), 0, stem, true, true, isBottom(chord, note),
                    isTop(chord, note));
        } else {
            MnChord* previous = chord->previousChord();
            if (MnNote* from = sameNoteIn(previous, note, false)) {
                drawTie(pass.lastX[slot], at.cx + x, y, tieDirection(note, chord, stem), pass.lastStem[slot], stem,
                        isBottom(previous, from), isTop(previous, from), isBottom(chord, note), isTop(chord, note));
            }
        }
    }
    const BcArray<MnChord*>& chords = M->voiceChords(voice);
    if (at.isLast && chordIndex == chords.count() - 1) {
        MnChord* next = chord->nextChord();
        if (MnNote* to = sameNoteIn(next, note, true)) {
            drawTie(at.cx + x, at.cx + at.width, y, tieDirection(to, next, next->stemDirection()), stem, 0,
                    isBottom(chord, note), isTop(chord, note), true, true);
        }
    }
}

void ReSystem::composeNotePreview(ReScorePass& pass, MeasureStaff& at, MnChord* chord, int voice, int chordIndex,
                                  double x, int stem)
{
    const EdNotePath& preview = renderer->previewNotePath;
    if (preview.scoreIndex != pass.pathIndex || preview.staffIndex != at.staffIndex ||
        preview.measureIndex != at.measureIndex || preview.voice != voice || preview.chordIndex != chordIndex)
        return;
    if (renderer->count() > 0)
        return;
    const EdContext::NoteInput& input = EdContext::current().noteInput();
    if (input.inputDuration == 0)
        return;
    const double px = at.cx + x;
    if (input.inputRest) {
        setColorMode(3 + (input.inputVoice != 0 ? 1 : 0));
        const int r = chord->restPosition();
        drawRest(px, at.cy + r, input.inputDuration, input.inputDotted, r);
        return;
    }
    MnStaff* staff = at.measure->staff();
    const int clef = staff->definitionAt(staff->measureStartTime(at.measureIndex) + chord->time(), false)->clef();
    const int base = clef == 1 ? -26 : clef == 2 ? -32 : clef == 3 ? -30 : -38;
    const int p = base + 7 * preview.noteOctave + preview.noteStep;
    const bool grace = chord->isGrace();
    setColorMode(2);
    drawLedgerLines(px, at.cy, p, p, grace);
    const int previewVoice = grace ? preview.voice : input.inputVoice;
    setColorMode(3 + (previewVoice != 0 ? 1 : 0));
    double savedPivot = 0.0;
    if (grace)
        savedPivot = openGraceScope(px, at.cy + p);
    int scratchEnd = 0;
    double scratchLow = 0.0;
    double scratchHigh = 0.0;
    drawStem(px, at.cy, p, p, p < -4 ? 1 : -1, input.inputDuration, false, false, &scratchEnd, &scratchLow,
             &scratchHigh);
    drawNote(px, at.cy + p, input.inputDuration, input.inputDotted, 0, p % 2 == 0 ? 1 : 0, MnAccidentalNone, 0);
    if (grace)
        closeGraceScope(savedPivot);
    (void)stem;
}

void ReSystem::composeVoices(ReScorePass& pass, MeasureStaff& at)
{
    // Note layout records, reused by every chord of the thread's passes.
    thread_local BcArray<MnNoteLayout> records(8);
    MnMeasure* M = at.measure;
    const int staffIndex = at.staffIndex;
    const double cx = at.cx;
    const double cy = at.cy;
    const double s = at.s;
    const int measureStart = M->staff()->measureStartTime(at.measureIndex);
    const double changes = at.isFirst ? pass.firstChanges : 0.0;
    ReTablature& tablature = pass.tablatures[staffIndex];

    for (int v = 0; v < MnMeasure::voiceCount; ++v) {
        pass.beam->reset();
        pass.graceBeam->reset();
        pass.tuplet->reset();
        const BcArray<MnChord*>& chords = M->voiceChords(v);
        for (int i = 0; i < chords.count(); ++i) {
            MnChord* c = chords[i];
            // Every onset has a column; a chord of a damaged measure that has
            // none stands at the measure's end.
            double x = at.endX;
            if (c->time() != M->length()) {
                for (int k = 0; k < at.onsets->count() && k < at.xs->count(); ++k) {
                    if ((*at.onsets)[k] == c->time()) {
                        x = (*at.xs)[k] - changes;
                        break;
                    }
                }
            }
            pass.tuplet->begin(c);

            const bool grace = c->isGrace();
            int lowest = -4;
            int highest = -4;
            if (c->noteCount() > 0) {
                lowest = highest = rounded(c->note(0)->position().y);
                for (int n = 1; n < c->noteCount(); ++n) {
                    const int position = rounded(c->note(n)->position().y);
                    lowest = std::min(lowest, position);
                    highest = std::max(highest, position);
                }
            }
            double low = lowest - 1;
            double high = highest + 1;
            int stem = c->autoStemDirection();
            int stemEnd = -4;
            ReBeam& B = grace ? *pass.graceBeam : *pass.beam;
            const int link = M->beamLink(v, i);
            const int undotted = c->undottedDuration();

            if (c->noteCount() > 0) {
                if (link == 0)
                    B.layout(M, v, i);
                else if (link == 2)
                    B.reset();
                if (B.chords.count() > 0)
                    stem = B.direction;
                double h0 = 0, a0 = 0, d0 = 0;
                int cmin = 0;
                records.removeAll();
                c->layoutNoteHeads(h0, a0, d0, cmin, records, stem);
                x += s * (h0 + c->graceOffset());

                setColorMode(2);
                if (!pass.hideStaves)
                    drawLedgerLines(cx + x, cy, highest, lowest, grace);
                double savedPivot = 0.0;
                if (grace)
                    savedPivot = openGraceScope(cx + x, cy + (stem > 0 ? lowest : highest));
                if (B.chords.count() > 0) {
                    GePoint2d point(cx, cy);
                    B.drawChord(M, i, &point, x, &stemEnd, &low, &high, grace ? graceScale : 1.0);
                } else {
                    drawStem(cx + x, cy, highest, lowest, stem, undotted, grace, grace && c->hasGraceSlash(), &stemEnd,
                             &low, &high);
                }
                if (grace)
                    closeGraceScope(savedPivot);

                const double w = undotted == MnTicksHalf ? halfHeadWidth : headWidth;
                const bool playing = ReServices::current().isNotePlaying(c, 0);
                for (int j = 0; j < c->noteCount(); ++j) {
                    MnNote* n = c->note(j);
                    const MnNoteLayout record = j < records.count() ? records[j] : MnNoteLayout();
                    GePoint2d position = n->position();
                    const double nx = position.x + s * w * record.headShift;
                    const double ny = position.y;
                    double notePivot = 0.0;
                    if (grace) {
                        notePivot = openGraceScope(cx + x, cy + ny);
                    } else if (n->computeArpeggioChain() && n->arpeggioChainFirst() == n) {
                        drawArpeggio(GePoint2d(cx + x, cy), n->arpeggioChainFirst(), n->arpeggioChainLast());
                    }
                    if (playing)
                        setColorMode(5);
                    else if (isSelected(n))
                        setColorMode(v == 0 ? 3 : 4);
                    else
                        setColorMode(2);
                    drawNote(cx + x + nx, cy + ny, undotted, c->isDotted(), w * record.leftOfStem + d0,
                             record.dotShift, n->accidental(),
                             2 * record.accidentalColumn + a0 - w * (record.headShift - cmin));
                    composeChordTies(pass, at, c, v, i, x, stem, n, j, ny);
                    const double px = compensated(cx + x + nx);
                    renderer->markRect(GePoint2d(px - 1.5, cy + ny + 1.5), 3.0, -3.0, n);
                    if (grace)
                        closeGraceScope(notePivot);
                }
                drawArticulations(c, GePoint2d(cx + x, cy), stem, &low, &high);
                tablature.addChord(c, cx + x - h0);
            } else if (!c->isHidden()) {
                // The second voice's whole-measure rest is implied.
                const bool implied = v == 1 && ((chords.count() == 1) || M->isMeasureRest(1));
                if (!implied) {
                    setColorMode(isSelected(c) ? (v == 0 ? 3 : 4) : 2);
                    const int r = c->restPosition();
                    const bool measureRest = M->isMeasureRest(v);
                    double X = cx + x;
                    const RestMark* mark = nullptr;
                    static const RestMark wholeMeasure = {0, 3.0, 1.2, 2.0 - 1.2};
                    if (measureRest) {
                        if (i == 0) {
                            X = cx + 0.5 * (*at.xs)[at.xs->count() - 1];
                            const double X0 = compensated(X);
                            const double yl = cy + r + 2.0;
                            if (r + 2.0 > 1.0 || r + 2.0 < -9.0) {
                                const double height = renderer->extrusionHeight;
                                renderer->extrusionHeight = staffDepth;
                                fillBar(X0 - 2.25, yl - 0.15, X0 + 2.25, yl + 0.15);
                                renderer->extrusionHeight = height;
                            }
                            // The block hangs from its line.
                            fillBar(X0 - 1.5, yl - 1.2, X0 + 1.5, yl);
                            mark = &wholeMeasure;
                        }
                    } else {
                        drawRest(cx + x, cy + r, undotted, c->isDotted(), r);
                        for (const RestMark& candidate : restMarks) {
                            if (candidate.duration == undotted)
                                mark = &candidate;
                        }
                    }
                    if (mark) {
                        const double markX = compensated(X);
                        renderer->markRect(GePoint2d(markX - mark->width / 2, cy + r + mark->bottom), mark->width,
                                           mark->height, c);
                    }
                }
                stem = 0;
            }

            // Slurs: the composers of normal and of grace chords of the voice.
            for (int k = 0; k < 2; ++k) {
                ReSlur& S = pass.slur(staffIndex, v, k);
                const bool ofKind = k == 0 ? !grace : grace;
                const bool start = at.isFirst && (k == 0 ? !grace && c->time() == 0 : i == 0);
                const bool end = at.isLast && (k == 0 ? !grace && c->time() + c->soundingDuration() == M->length()
                                                      : i == chords.count() - 1);
                const int slurStem = undotted == MnTicksPerWhole ? 0 : stem;
                auto add = [&]() {
                    S.addChord(renderer, this, GePoint2d(pass.origin.x, cy), (cx - pass.origin.x) + x, slurStem,
                               stemEnd, link, &low, &high, start, end, pass.headerWidth,
                               (cx - pass.origin.x) + at.width);
                };
                S.begin(c, start, true);
                if (ofKind && c->isSlurStart() && c->hasArticulation(MnArticulationSlur)) {
                    add();
                    S.begin(c, start, false);
                }
                add();
            }

            pass.tuplet->addChord(GePoint2d(cx, cy), x, stem, low, high, B.chords.count() > 0);
            pass.line->recordChordExtent(measureStart + c->time(), staffIndex, low, high);
            composeNotePreview(pass, at, c, v, i, x, stem);
            pass.lastX[2 * staffIndex + v] = cx + x;
            pass.lastStem[2 * staffIndex + v] = stem;
        }
    }
}
