#pragma once

// Documents of real music for the composer tests: a score standing alone
// and sheet music, built through the model's own editing operations, and
// the recorded frame of a whole document.

#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"
#include "tests/common/RecordingRenderer.h"

#include <string>
#include <vector>

// A score of the given staves and 4/4 measures alone in a document, its
// first staff line at (0, 0), drawn at scale 1.
struct LoneScore
{
    explicit LoneScore(int staves = 1, int measures = 4)
    {
        score = new MnScore;
        while (score->staffCount() < staves)
            score->insertStaff(-1);
        while (score->staff(0)->measureCount() < measures)
            score->insertMeasure(-1);
        score->moveTo(GePoint2d(0.0, 0.0));
        document.addWork(score);
    }
    MnStaff* staff(int index = 0) const { return score->staff(index); }
    MnMeasure* measure(int index, int staffIndex = 0) const { return score->staff(staffIndex)->measure(index); }
    // The chord of a single note written into a voice (step 0..6 from C).
    MnChord* note(int measureIndex, int time, int step, int octave, int duration = MnTicksQuarter, int voice = 0,
                  int staffIndex = 0)
    {
        MnNote* written = measure(measureIndex, staffIndex)->setNote(voice, time, step, octave, MnAccidentalNone,
                                                                     duration, false);
        return written ? written->chord() : nullptr;
    }

    QuorvaneDocument document;
    MnScore* score;
};

// A frame of the whole document through a recording renderer: a square view
// of width units centred on (centreX, centreY).
inline void renderFrame(RecordingRenderer& renderer, QuorvaneDocument& document, double centreX, double centreY,
                        double width = 400.0)
{
    renderer.clear();
    renderer.render(&document, centreX, centreY, width, 1000.0, 1000.0, 0, 0);
}

// The recorded calls of one operation whose element is the given one.
inline std::vector<const RecordingRenderer::Call*> marksOf(const RecordingRenderer& renderer, const MnElement* element,
                                                           const std::string& name = "markRect")
{
    std::vector<const RecordingRenderer::Call*> found;
    for (const RecordingRenderer::Call* call : renderer.callsNamed(name)) {
        if (call->element == element)
            found.push_back(call);
    }
    return found;
}

// The texts drawn, in order.
inline std::vector<std::string> drawnTexts(const RecordingRenderer& renderer)
{
    std::vector<std::string> texts;
    for (const RecordingRenderer::Call* call : renderer.callsNamed("drawText"))
        texts.push_back(call->text.toNarrow(BcString::utf8CodePage));
    return texts;
}

// How many calls draw something, and how many mark something.
inline int drawingCalls(const RecordingRenderer& renderer)
{
    int count = 0;
    for (const char* name : {"fillQuad", "fillTexturedQuad", "fillQuad3d", "fillMesh", "fillEllipse", "strokeCurve",
                             "strokeArc", "drawText"})
        count += renderer.countOf(name);
    return count;
}

inline int markingCalls(const RecordingRenderer& renderer)
{
    return renderer.countOf("markRect") + renderer.countOf("markFrame") + renderer.countOf("markSpan");
}
