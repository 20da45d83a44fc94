// The furniture of a measure in a MusicXML export: the "attributes" of a
// staff definition (divisions, key, time, clef) and the measure's left and
// right barlines with repeats, endings, segno and coda.

#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcString.h"
#include "foundation/BcXmlFiler.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

namespace
{
struct TimeSymbol
{
    const char* symbol;
    int beats;
    int beatType;
};

// By time-signature code; the two signs name their meter with a symbol.
const TimeSymbol timeSymbols[] = {
    {"common", 4, 4}, {nullptr, 4, 4}, {nullptr, 2, 2}, {"cut", 2, 2}, {nullptr, 2, 4},  {nullptr, 3, 4},
    {nullptr, 6, 8},  {nullptr, 9, 8}, {nullptr, 3, 8}, {nullptr, 6, 4}, {nullptr, 12, 8},
};

struct ClefSign
{
    const char* sign;
    int line;
};

// By clef code: treble, bass, alto, tenor.
const ClefSign clefSigns[] = {{"G", 2}, {"F", 4}, {"C", 3}, {"C", 4}};

// Bar style at the right of a measure by its barline code; a start repeat
// shows at the start of the next measure instead.
const char* const rightBarStyles[] = {"regular", "light-light", "light-heavy", "light-heavy", nullptr, "light-heavy"};

bool opensRepeatAfter(int barline)
{
    return barline == MnBarlineStartRepeat || barline == MnBarlineEndStartRepeat;
}

// "1, 2" for a mask of the endings 1 and 2.
BcString endingNumbers(int mask)
{
    BcString numbers;
    for (int ending = 1; ending <= 10; ++ending) {
        if (!(mask & (1 << (ending - 1))))
            continue;
        if (!numbers.isEmpty())
            numbers.append(BcString(", "));
        numbers.append(BcString(ending));
    }
    return numbers;
}

void addEmpty(BcXmlFiler& filer, const char* name)
{
    if (filer.addElement(name))
        filer.goToParent();
}
} // namespace

void IeMusicXmlExporter::writeAttributes(BcXmlFiler& filer, int divisions, MnStaffDefinition* definition)
{
    if (!definition || !filer.addElement("attributes"))
        return;
    const bool initial = !definition->isKindOf(MnStaffChange::staticClass());
    if (initial)
        filer.addTextElementInt("divisions", divisions);
    if (initial || definition->changesKey()) {
        filer.addElement("key");
        filer.addTextElementInt("fifths", definition->key());
        filer.goToParent();
    }
    const int time = definition->time();
    if ((initial || definition->changesTime()) && mnIsTimeSignatureType(time) && filer.addElement("time")) {
        const TimeSymbol& row = timeSymbols[time];
        if (row.symbol)
            filer.setAttribute("symbol", row.symbol);
        filer.addTextElementInt("beats", row.beats);
        filer.addTextElementInt("beat-type", row.beatType);
        filer.goToParent();
    }
    const int clef = definition->clef();
    if ((initial || definition->changesClef()) && mnIsClef(clef) && filer.addElement("clef")) {
        filer.setAttribute("number", 1);
        filer.addTextElement("sign", clefSigns[clef].sign);
        filer.addTextElementInt("line", clefSigns[clef].line);
        filer.goToParent();
    }
    filer.goToParent();
}

void IeMusicXmlExporter::writeBarline(BcXmlFiler& filer, MnMeasure* measure)
{
    writeBarlineSide(filer, measure, true);
    writeBarlineSide(filer, measure, false);
}

void IeMusicXmlExporter::writeBarlineSide(BcXmlFiler& filer, MnMeasure* measure, bool left)
{
    const MnStaff* staff = measure ? measure->staff() : nullptr;
    if (!staff)
        return;
    // Segno, coda and endings belong to the whole score: the first part
    // carries them.
    const bool first = staff->index() == 0;
    const int mask = measure->voltaMask() & MnVoltaMaskBits;
    const bool ending = first && mask != 0;
    const BcString numbers = ending ? endingNumbers(mask) : BcString();

    if (left) {
        const bool segno = first && measure->repeatMarker() == MnRepeatMarkerSegno;
        const bool coda = first && measure->repeatMarker() == MnRepeatMarkerCoda;
        const MnMeasure* before = measure->previousMeasure();
        const bool repeatStarts = before && opensRepeatAfter(before->barline());
        if (!(ending || coda || segno || repeatStarts) || !filer.addElement("barline"))
            return;
        filer.setAttribute("location", "left");
        if (repeatStarts)
            filer.addTextElement("bar-style", "heavy-light");
        if (segno)
            addEmpty(filer, "segno");
        if (coda)
            addEmpty(filer, "coda");
        if (ending && filer.addElement("ending")) {
            filer.setAttribute(BcString("number"), numbers);
            filer.setAttribute("type", "start");
            filer.setElementText(measure->voltaText(false));
            filer.goToParent();
        }
        if (repeatStarts && filer.addElement("repeat")) {
            filer.setAttribute("direction", "forward");
            filer.goToParent();
        }
        filer.goToParent();
        return;
    }

    const int barline = measure->barline();
    const char* style = mnIsBarline(barline) ? rightBarStyles[barline] : "regular";
    if ((!style && !ending) || !filer.addElement("barline"))
        return;
    filer.setAttribute("location", "right");
    if (style)
        filer.addTextElement("bar-style", style);
    if (ending && filer.addElement("ending")) {
        filer.setAttribute(BcString("number"), numbers);
        filer.setAttribute("type", measure->isVoltaClosed() ? "stop" : "discontinue");
        filer.goToParent();
    }
    if ((barline == MnBarlineEndRepeat || barline == MnBarlineEndStartRepeat) && filer.addElement("repeat")) {
        filer.setAttribute("direction", "backward");
        filer.goToParent();
    }
    filer.goToParent();
}
