#include "model/MnTempo.h"

#include "foundation/BcFiler.h"
#include "model/MnLimits.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnTicks.h"

#include <cmath>

BC_IMPLEMENT_CLASS(MnTempo)

static const char* const termTable[MnTempo::termCount] = {
    "Larghissimo", "Adagissimo", "Grave",      "Lento",            "Largo",
    "Larghetto",   "Adagio",     "Adagietto",  "Andante",          "Andantino",
    "Andante moderato", "Moderato", "Allegretto", "Allegro moderato", "Allegro",
    "Allegro vivace", "Vivace",  "Vivacissimo", "Presto",          "Prestissimo",
};

MnTempo::MnTempo(MnScore* score) : tempoScore(score)
{
    storePosition(GePoint2d(25.0, 20.0));
    setText(BcString(" = 96"));
    setAlignment(9);
    setSize(12.0);
}

MnElement* MnTempo::parent() const
{
    return tempoScore;
}

BcString MnTempo::termText(int term)
{
    if (term < 0 || term >= termCount)
        return BcString();
    return BcString(termTable[term]);
}

bool MnTempo::read(BcFiler& filer)
{
    if (!MnText::read(filer))
        return false;
    int beatUnit = 0;
    int beatsPerMinute = 0;
    if (!filer.readInt(beatUnit) || !filer.readInt(beatsPerMinute))
        return false;
    if (filer.version() < 2) {
        // 384 ticks per whole note.
        if (!isBeatUnit(beatUnit) || beatUnit > maxBeatUnit / MnOldTicksFactor)
            return false;
        beatUnit *= MnOldTicksFactor;
    }
    // Playback divides by both, and counts milliseconds per beat.
    if (!isBeatUnit(beatUnit) || !mnIsBeatsPerMinute(beatsPerMinute))
        return false;
    char term = 0;
    bool molto = false;
    bool maNonTroppo = false;
    BcString customText;
    bool showMetronome = true;
    if (!filer.readChar(term) || !filer.readBool(molto) || !filer.readBool(maNonTroppo) ||
        !filer.readString(customText) || !filer.readBool(showMetronome))
        return false;
    tempoBeatUnit = beatUnit;
    tempoBeatsPerMinute = beatsPerMinute;
    setTerm(static_cast<signed char>(term));
    tempoMolto = molto;
    tempoMaNonTroppo = maNonTroppo;
    tempoCustomText = customText;
    tempoShowMetronome = showMetronome;
    return filer.isOk();
}

bool MnTempo::write(BcFiler& filer) const
{
    MnText::write(filer);
    filer.writeInt(tempoBeatUnit);
    filer.writeInt(tempoBeatsPerMinute);
    filer.writeChar(char(tempoTerm));
    filer.writeBool(tempoMolto);
    filer.writeBool(tempoMaNonTroppo);
    filer.writeString(tempoCustomText);
    filer.writeBool(tempoShowMetronome);
    return filer.isOk();
}

bool MnTempo::moveTo(const GePoint2d& point)
{
    GePoint2d before = position();
    storePosition(point);
    MnElement* sheetElement = tempoScore ? tempoScore->parent() : nullptr;
    double scale = tempoScore ? tempoScore->scale() : 1.0;
    if (sheetElement && sheetElement->isKindOf(MnSheetMusic::staticClass()) && scale > 0.0) {
        MnSheetMusic* sheet = static_cast<MnSheetMusic*>(sheetElement);
        double usableWidth = sheet->pageWidth() - sheet->leftMargin(0) - sheet->rightMargin(0);
        double usableHeight = sheet->pageHeight() - sheet->topMargin() - sheet->bottomMargin();
        // The text box, laid out at the mark's position in the score's
        // frame, in the coordinates of the first page's printable area. A
        // text that nothing measures (the zero box at the origin) is kept on
        // the page by its anchor.
        GeBox2d box = extents();
        if (box.a.x == box.b.x && box.a.y == box.b.y)
            box = GeBox2d(position(), position());
        GePoint2d origin = tempoScore->position();
        double left = origin.x + scale * std::fmin(box.a.x, box.b.x);
        double right = origin.x + scale * std::fmax(box.a.x, box.b.x);
        double top = origin.y + scale * std::fmax(box.a.y, box.b.y);
        double bottom = origin.y + scale * std::fmin(box.a.y, box.b.y);
        const GeVector2d shift = shiftIntoArea(GeBox2d(GePoint2d(left, bottom), GePoint2d(right, top)),
                                               GeBox2d(GePoint2d(0.0, -usableHeight), GePoint2d(usableWidth, 0.0)));
        GePoint2d at = position();
        storePosition(GePoint2d(at.x + shift.x / scale, at.y + shift.y / scale));
    }
    return isMove(before, position());
}

void MnTempo::buildTempoText()
{
    BcString text = this->text();
    if (tempoTerm >= 0 && tempoTerm < termCount)
        text = termText(tempoTerm);
    else if (tempoTerm == -1)
        text = tempoCustomText.isEmpty() ? BcString(" = ") + BcString(tempoBeatsPerMinute) : tempoCustomText;
    if (tempoTerm != -1) {
        if (tempoMolto)
            text = BcString("Molto ") + text;
        if (tempoMaNonTroppo)
            text.append(BcString(", ma non troppo"));
    }
    MnText::setText(text);
    relayout();
}

bool MnTempo::isBeatUnit(int ticks)
{
    return ticks >= 1 && ticks <= maxBeatUnit;
}

bool MnTempo::setBeatUnit(int ticks)
{
    if (!isBeatUnit(ticks))
        return false;
    tempoBeatUnit = ticks;
    return true;
}

bool MnTempo::setBeatsPerMinute(int beatsPerMinute)
{
    if (!mnIsBeatsPerMinute(beatsPerMinute))
        return false;
    tempoBeatsPerMinute = beatsPerMinute;
    return true;
}

void MnTempo::setTerm(int term)
{
    tempoTerm = term >= 0 && term < termCount ? term : -1;
}
