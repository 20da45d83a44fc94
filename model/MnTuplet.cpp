#include "model/MnTuplet.h"

#include "foundation/BcFiler.h"
#include "model/MnChord.h"
#include "model/MnClipboard.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnStaff.h"

BC_IMPLEMENT_CLASS(MnTuplet)

MnTuplet::MnTuplet(MnChord* chord, int span, int number, bool alternative)
    : owner(chord), runSpan(span), noteCount(number), alternative(alternative)
{
    setText(BcString(number));
    setSize(10.0);
}

bool MnTuplet::isNumber(int number)
{
    return number >= 1 && number <= MnMaxTupletRatio;
}

bool MnTuplet::isSpan(int span)
{
    // Undoing the tuplet gives its first chord the span as its value.
    return mnIsNoteValue(span);
}

bool MnTuplet::assignNumber(int number)
{
    if (!isNumber(number))
        return false;
    noteCount = number;
    setText(BcString(number));
    return true;
}

bool MnTuplet::setSpan(int span)
{
    if (!isSpan(span))
        return false;
    runSpan = span;
    return true;
}

void MnTuplet::setBracket(int bracket)
{
    bracketCode = mnTupletBracket(bracket);
}

bool MnTuplet::setDirection(int direction)
{
    if (!mnIsSignedByte(direction))
        return false;
    directionCode = direction;
    return true;
}

bool MnTuplet::setNumber(int number, bool isAlternative)
{
    if (number == noteCount && isAlternative == alternative)
        return false;
    MnChord* first = owner;
    MnMeasure* measure = first ? first->measure() : nullptr;
    MnStaff* staff = measure ? measure->staff() : nullptr;
    if (!staff)
        return false;

    // The run ends in its own measure: the walk must not take the next
    // measure's chords, whose times start again from 0.
    const int measureStart = measure->startTime();
    const long long runEnd = (long long)measureStart + first->time() + runSpan;
    BcArray<MnNote*> notes;
    for (const MnChord* chord = first->nextChord();
         chord && chord->measure() == measure && measureStart + chord->time() < runEnd; chord = chord->nextChord()) {
        for (int n = 0; n < chord->noteCount(); ++n)
            notes.add(chord->note(n));
    }
    std::unique_ptr<MnClipboard> clipboard = MnClipboard::make();
    if (!notes.isEmpty() && (!clipboard || !clipboard->copyNotes(notes)))
        return false;

    if (!measure->makeTuplet(first->voice(), first->time(), runSpan, number, isAlternative))
        return false;
    // The tuplet stays with the run's first chord.
    if (!notes.isEmpty())
        clipboard->paste(staff, measureStart + owner->time() + owner->soundingDuration());
    return true;
}

MnElement* MnTuplet::parent() const
{
    return owner;
}

bool MnTuplet::read(BcFiler& filer)
{
    if (!MnText::read(filer))
        return false;
    int span = 0;
    if (!filer.readInt(span))
        return false;
    if (filer.version() < 2) {
        if (span < 1 || span > MnMaxMeasureTicks / MnOldTicksFactor)
            return false;
        span *= MnOldTicksFactor;
    }
    // The run and the division count are measured by the span.
    if (!isSpan(span))
        return false;
    runSpan = span;

    int number = 0;
    if (!filer.readInt(number))
        return false;
    // The number is the ratio's actual count that the run's chords carry.
    if (!isNumber(number & 0xFF))
        return false;
    noteCount = number & 0xFF;
    alternative = (number & 0xFF00) != 0;

    char bracket = 0;
    bool isHidden = false;
    if (!filer.readByteAndFlag(bracket, isHidden))
        return false;
    bracketCode = mnTupletBracket(bracket);
    hidden = isHidden;

    char direction = 0;
    if (!filer.readChar(direction))
        return false;
    directionCode = static_cast<signed char>(direction);
    return filer.isOk();
}

bool MnTuplet::write(BcFiler& filer) const
{
    MnText::write(filer);
    filer.writeInt(runSpan);
    filer.writeInt((noteCount & 0xFF) | (alternative ? 0x100 : 0));
    filer.writeByteAndFlag(char(bracketCode), hidden);
    filer.writeChar(char(directionCode));
    return filer.isOk();
}

GePoint2d MnTuplet::position() const
{
    return GePoint2d(0.0, 0.0);
}

double MnTuplet::width() const
{
    return 0.0;
}

double MnTuplet::height() const
{
    return 8.0;
}

bool MnTuplet::moveTo(const GePoint2d&)
{
    return false;
}
