// The notes and rests of a MusicXML export: one "note" per note of a chord,
// or one holding "rest" for a chord without notes.

#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcString.h"
#include "foundation/BcXmlFiler.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnStaffDefinition.h"
#include "model/MnTicks.h"

static const char* const stepLetters[7] = {"C", "D", "E", "F", "G", "A", "B"};

// MusicXML can name octaves 0 to 9 only.
static constexpr int highestOctave = 9;
// A rest's staff position on the middle line, where it stands by default.
static constexpr int middleLineRest = -4;
// Middle C as octave x 7 + step.
static constexpr int middleCPlace = 28;

// The file's name of an undotted note value; null for a value it has no
// name for.
static const char* noteTypeName(int ticks)
{
    static const struct
    {
        int ticks;
        const char* name;
    } names[] = {
        {8 * MnTicksPerWhole, "maxima"}, {4 * MnTicksPerWhole, "long"}, {2 * MnTicksPerWhole, "breve"},
        {MnTicksPerWhole, "whole"},      {MnTicksHalf, "half"},         {MnTicksQuarter, "quarter"},
        {MnTicksEighth, "eighth"},       {MnTicksSixteenth, "16th"},    {MnTicks32nd, "32nd"},
        {MnTicks64th, "64th"},           {MnTicks64th / 2, "128th"},    {MnTicks64th / 4, "256th"},
    };
    for (const auto& row : names) {
        if (row.ticks == ticks)
            return row.name;
    }
    return nullptr;
}

static const char* accidentalName(int accidental)
{
    switch (accidental) {
    case MnAccidentalDoubleFlat:
        return "flat-flat";
    case MnAccidentalFlat:
        return "flat";
    case MnAccidentalNatural:
        return "natural";
    case MnAccidentalSharp:
        return "sharp";
    case MnAccidentalDoubleSharp:
        return "double-sharp";
    default:
        return nullptr;
    }
}

static void addEmptyElement(BcXmlFiler& filer, const char* name)
{
    if (filer.addElement(name))
        filer.goToParent();
}

static int durationInDivisions(const MnChord* chord, int divisions)
{
    return int((long long)chord->soundingDuration() * divisions / MnTicksQuarter);
}

// "voice", "type" and "dot": what notes and rests share after "duration".
static void writeVoiceAndValue(BcXmlFiler& filer, const MnChord* chord)
{
    filer.addTextElementInt("voice", chord->voice() + 1);
    if (const char* type = noteTypeName(chord->undottedDuration()))
        filer.addTextElement("type", type);
    if (chord->isDotted())
        addEmptyElement(filer, "dot");
}

// The ratio of the tuplet whose run holds the chord, for notes and rests
// alike: a rest lasts in the ratio as much as a note does.
static void writeTimeModification(BcXmlFiler& filer, const MnChord* chord)
{
    const MnMeasure* measure = chord->measure();
    const MnChord* first = measure ? measure->tupletChordAt(chord->voice(), chord->time()) : nullptr;
    if (!first || !filer.addElement("time-modification"))
        return;
    filer.addTextElementInt("actual-notes", first->actual());
    filer.addTextElementInt("normal-notes", first->normal());
    filer.goToParent();
}

void IeMusicXmlExporter::writeChord(BcXmlFiler& filer, MnChord* chord, int index, int divisions)
{
    if (!chord)
        return;
    if (chord->isRest()) {
        // A grace chord without notes takes no time and shows nothing.
        if (!chord->isGrace())
            writeRest(filer, chord, divisions);
        return;
    }
    const int octaveShift = octaveShiftAt(chord);
    for (int n = 0; n < chord->noteCount(); ++n)
        writeNote(filer, chord, chord->note(n), index, divisions, n == 0, octaveShift);
}

void IeMusicXmlExporter::writeNote(BcXmlFiler& filer, MnChord* chord, MnNote* note, int index, int divisions,
                                   bool first, int octaveShift)
{
    if (!filer.addElement("note"))
        return;
    if (chord->isGrace() && filer.addElement("grace")) {
        filer.setAttribute("slash", chord->hasGraceSlash() ? "yes" : "no");
        filer.goToParent();
    }
    if (!first)
        addEmptyElement(filer, "chord");

    // The sounding pitch: octave lines shift it, and the key and earlier
    // accidentals of the measure alter it.
    filer.addElement("pitch");
    const int step = note->step();
    filer.addTextElement("step", stepLetters[step >= 0 && step < 7 ? step : 0]);
    const int alteration = note->effectiveAccidental();
    if (alteration != 0 && alteration >= MnAccidentalDoubleFlat && alteration <= MnAccidentalDoubleSharp)
        filer.addTextElementInt("alter", alteration);
    long long octave = (long long)note->octave() + octaveShift;
    octave = octave < 0 ? 0 : octave > highestOctave ? highestOctave : octave;
    filer.addTextElementInt("octave", int(octave));
    filer.goToParent();

    if (!chord->isGrace())
        filer.addTextElementInt("duration", durationInDivisions(chord, divisions));
    writeVoiceAndValue(filer, chord);
    if (const char* accidental = accidentalName(note->accidental()))
        filer.addTextElement("accidental", accidental);
    writeTimeModification(filer, chord);

    const MnMeasure* measure = chord->measure();
    const int voice = chord->voice();
    const int link = measure ? measure->beamLink(voice, index) : 2;
    const int stem = link == 2 ? chord->autoStemDirection() : chord->stemDirection();
    filer.addTextElement("stem", stem == 1 ? "up" : "down");

    // The primary beam, then the secondary beam of sixteenths and shorter;
    // a secondary beam begins only where the beam does, or after a break
    // of the secondary beams (beam mode 3).
    const bool secondary = chord->undottedDuration() < MnTicksEighth;
    const char* primaryBeam = nullptr;
    const char* secondaryBeam = nullptr;
    if (link == 0) {
        primaryBeam = "begin";
        secondaryBeam = "begin";
    } else if (link == 1) {
        const bool last = index + 1 >= measure->chordCount(voice, false);
        if (last || measure->beamLink(voice, index + 1) != 1) {
            primaryBeam = "end";
            secondaryBeam = "end";
        } else {
            primaryBeam = "continue";
            const MnChord* next = measure->chordAt(index + 1, voice, false);
            const bool broken = !next || next->undottedDuration() >= MnTicksEighth || next->beamMode() == 3;
            if (chord->beamMode() == 3)
                secondaryBeam = broken ? nullptr : "begin";
            else
                secondaryBeam = broken ? "end" : "continue";
        }
    }
    if (primaryBeam)
        filer.addTextElement("beam", primaryBeam);
    if (primaryBeam && secondary && secondaryBeam && filer.addElement("beam")) {
        filer.setAttribute("number", "2");
        filer.setElementText(BcString(secondaryBeam));
        filer.goToParent();
    }

    writeNotations(filer, chord, note);
    if (first && !chord->isGrace())
        writeLyrics(filer, chord);
    filer.goToParent();
}

void IeMusicXmlExporter::writeRest(BcXmlFiler& filer, MnChord* chord, int divisions)
{
    if (!filer.addElement("note"))
        return;
    if (chord->isHidden())
        filer.setAttribute("print-object", "no");
    if (filer.addElement("rest")) {
        const int position = chord->restPosition();
        if (position != middleLineRest) {
            // Step and octave are written together or not at all: a place
            // below C0 or above B9 has no display pitch.
            const long long place = (long long)position - middleCPosition(chord->clef()) + middleCPlace;
            if (place >= 0 && place < 7 * (highestOctave + 1)) {
                filer.addTextElement("display-step", stepLetters[place % 7]);
                filer.addTextElementInt("display-octave", int(place / 7));
            }
        }
        filer.goToParent();
    }
    filer.addTextElementInt("duration", durationInDivisions(chord, divisions));
    writeVoiceAndValue(filer, chord);
    writeTimeModification(filer, chord);
    filer.goToParent();
}
