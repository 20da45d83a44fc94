// Notes, rests and chords; tuplets, ties, slurs and articulations; lyrics.

#include "interchange/IeMusicXmlImporter.h"

#include "foundation/BcStringResources.h"
#include "foundation/BcXmlFiler.h"
#include "interchange/IeMusicXmlImporterElements.h"
#include "interchange/IeOpenSlur.h"
#include "interchange/IeScorePart.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTuplet.h"

#include <climits>

namespace
{
constexpr unsigned unsupportedTuplet = 10065; // "Unsupported %d:%d tuplet found"
constexpr int slurBit = MnArticulationSlur;

bool isStandardValue(long long ticks)
{
    static const int values[] = {3780,  5670,  7560,   11340,  15120,  22680, 30240,
                                 45360, 60480, 90720, 120960, 181440, 241920};
    for (int value : values) {
        if (ticks == value)
            return true;
    }
    return false;
}

// "C" 0 .. "B" 6; -1 for any other text.
int stepOf(const BcString& text)
{
    static const char16_t* names[] = {u"C", u"D", u"E", u"F", u"G", u"A", u"B"};
    for (int i = 0; i < 7; ++i) {
        if (text == names[i])
            return i;
    }
    return -1;
}

int accidentalOf(const BcString& text)
{
    if (text == u"flat")
        return MnAccidentalFlat;
    if (text == u"sharp")
        return MnAccidentalSharp;
    if (text == u"natural")
        return MnAccidentalNatural;
    if (text == u"flat-flat")
        return MnAccidentalDoubleFlat;
    if (text == u"sharp-sharp" || text == u"double-sharp")
        return MnAccidentalDoubleSharp;
    return MnAccidentalNone;
}

int graceTicksOf(const BcString& type)
{
    struct Value
    {
        const char16_t* name;
        int ticks;
    };
    static const Value values[] = {{u"whole", 241920}, {u"half", 120960}, {u"quarter", 60480}, {u"eighth", 30240},
                                   {u"16th", 15120},   {u"32nd", 7560},   {u"64th", 3780}};
    for (const Value& value : values) {
        if (type == value.name)
            return value.ticks;
    }
    return 30240;
}

bool elementInt(const BcXmlFiler& filer, const char* name, int& out)
{
    BcString text;
    if (!filer.getElementText(BcString(name), text))
        return false;
    out = IeMusicXmlImporter::leadingInteger(text);
    return true;
}

bool attributeInt(const BcXmlFiler& filer, const char* name, int& out)
{
    BcString text;
    if (!filer.getAttribute(BcString(name), text))
        return false;
    out = IeMusicXmlImporter::leadingInteger(text);
    return true;
}

void addArticulations(MnChord* chord, const BcArray<int>& codes)
{
    for (int i = 0; i < codes.count(); ++i)
        chord->setArticulation(codes[i], true);
}
} // namespace

void IeMusicXmlImporter::readNote(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex,
                                  int* chordStart, int* position)
{
    const TiXmlElement* note = filer.current;
    if (!note)
        return;
    MnScore* score = sheet->score();
    const IeScorePart* part = scoreParts[partIndex];

    const TiXmlElement* graceElement = note->FirstChildElement("grace");
    const bool grace = graceElement != nullptr;
    bool graceSlash = false;
    if (graceElement) {
        const char* slash = graceElement->Attribute("slash");
        graceSlash = slash && BcString(slash) == u"yes";
    }
    const bool chordMember = note->FirstChildElement("chord") != nullptr;
    const bool hidden = ieAttributeIs(filer, "print-object", "no");
    int staffNumber = 1;
    elementInt(filer, "staff", staffNumber);
    BcString durationText;
    const bool hasDuration = filer.getElementText(BcString("duration"), durationText);
    if (!hasDuration && !grace)
        return;
    bool overflowed = false;
    const long long duration = hasDuration ? leadingInteger(durationText, &overflowed) : 0;
    if (overflowed || duration < 0) {
        BcString detail("note duration ");
        detail.append(durationText);
        detail.append(inPart(partIndex));
        refuse(detail);
        return;
    }
    const int newChordStart = chordMember ? *chordStart : *position;
    const long long staffIndex = static_cast<long long>(staffNumber) + part->firstStaff;
    if (staffIndex < 1 || staffIndex > score->staffCount())
        return;
    MnStaff* staff = score->staff(static_cast<int>(staffIndex) - 1);
    if (measureIndex < 0 || measureIndex >= staff->measureCount())
        return;
    MnMeasure* measure = staff->measure(measureIndex);

    // 64 bits: at fine divisions the product passes the int range.
    long long ticks = duration * ticksPerQuarter / part->divisions;
    const long long end = newChordStart + ticks;
    if (end > INT_MAX) {
        BcString detail("note duration ");
        detail.append(durationText);
        detail.append(inPart(partIndex));
        refuse(detail);
        return;
    }
    *chordStart = newChordStart;
    *position = static_cast<int>(end);

    int xmlVoice = 1;
    elementInt(filer, "voice", xmlVoice);
    const int slot = static_cast<int>(staffIndex) - 1;
    if (slot >= firstVoices.count() || slot >= secondVoices.count())
        return;
    int voice = -1;
    if (firstVoices[slot] == xmlVoice) {
        voice = 0;
    } else if (secondVoices[slot] == xmlVoice) {
        voice = 1;
    } else if (firstVoices[slot] == -1) {
        firstVoices[slot] = xmlVoice;
        voice = 0;
    } else if (secondVoices[slot] == -1) {
        secondVoices[slot] = xmlVoice;
        voice = 1;
    } else {
        return;
    }

    const int start = *chordStart;
    int noteTicks = static_cast<int>(ticks);
    if (filer.findElement(BcString("time-modification"), 0)) {
        const bool supported = readTimeModification(filer, measure, voice, start, noteTicks);
        filer.current = const_cast<TiXmlElement*>(note);
        if (!supported)
            return;
    }
    if (grace) {
        BcString type;
        noteTicks = filer.getElementText(BcString("type"), type) ? graceTicksOf(type) : 30240;
    }
    int stem = 0;
    BcString stemText;
    if (filer.getElementText(BcString("stem"), stemText))
        stem = stemText == u"up" ? 1 : stemText == u"down" ? -1 : 0;

    int beamMode = 2;
    int secondaryBeam = 2;
    for (const TiXmlElement* beam = note->FirstChildElement("beam"); beam; beam = beam->NextSiblingElement("beam")) {
        const char* numberText = beam->Attribute("number");
        const int number = numberText ? leadingInteger(BcString(numberText)) : 1;
        BcString text;
        if ((number != 1 && number != 2) || !ieFirstText(beam, text))
            continue;
        const int mode = text == u"begin" ? 0 : (text == u"continue" || text == u"end") ? 1 : 2;
        (number == 1 ? beamMode : secondaryBeam) = mode;
    }
    if (beamMode == 1 && secondaryBeam == 0)
        beamMode = 3;

    NoteMarks marks;
    if (filer.findElement(BcString("notations"), 0)) {
        readNotations(filer, measure, measureIndex, static_cast<int>(staffIndex), voice, start, marks);
        filer.current = const_cast<TiXmlElement*>(note);
    }
    BcString accidentalText;
    const int accidental =
        filer.getElementText(BcString("accidental"), accidentalText) ? accidentalOf(accidentalText) : MnAccidentalNone;

    if (const TiXmlElement* pitch = note->FirstChildElement("pitch")) {
        filer.current = const_cast<TiXmlElement*>(pitch);
        BcString stepText;
        int octave = 0;
        const bool complete = filer.getElementText(BcString("step"), stepText) && elementInt(filer, "octave", octave);
        int alter = 0;
        elementInt(filer, "alter", alter);
        filer.current = const_cast<TiXmlElement*>(note);
        MnNote* added = nullptr;
        if (complete && isStandardValue(noteTicks)) {
            const long long written =
                octave - static_cast<long long>(octaveShiftAt(static_cast<int>(staffIndex),
                                                              static_cast<long long>(measure->startTime()) + start));
            const int step = std::max(0, stepOf(stepText));
            if (written >= INT_MIN && written <= INT_MAX) {
                if (!grace) {
                    added = measure->addNote(voice, start, step, static_cast<int>(written), accidental, noteTicks,
                                             marks.tied);
                } else if (MnChord* main = measure->mainChordAt(voice, start)) {
                    if (!chordMember) {
                        added = measure->addGraceNote(main, step, static_cast<int>(written), accidental, noteTicks);
                    } else {
                        MnChord* before = main->previousChord();
                        if (before && before->isGrace() && before->time() == start)
                            added = measure->addNoteToGraceChord(before, step, static_cast<int>(written), accidental,
                                                                 noteTicks);
                    }
                }
            }
        }
        if (added) {
            // The written accidental may be missing where the pitch still
            // carries one (always so on a note tied over the bar line).
            if (alter >= -2 && alter <= 2 && alter != added->effectiveAccidental())
                added->setAlteration(alter);
            MnChord* chord = added->chord();
            if (!chord->isGrace()) {
                added->setTiePlacement(marks.tiePlacement);
                added->setArpeggio(marks.arpeggio);
            }
            added->setArpeggioType(marks.arpeggioType);
            if (stem != 0)
                chord->setStemDirection(stem);
            chord->setStemInverted(false);
            chord->setGraceSlash(graceSlash);
            if (!chordMember)
                chord->setBeamMode(beamMode);
            addArticulations(chord, marks.articulations);
        }
    } else if (const TiXmlElement* rest = note->FirstChildElement("rest")) {
        MnChord* chord = nullptr;
        if (noteTicks >= 0 && measure->setRest(voice, start, noteTicks))
            chord = measure->mainChordAt(voice, start);
        if (chord) {
            chord->setHidden(hidden);
            addArticulations(chord, marks.articulations);
            filer.current = const_cast<TiXmlElement*>(rest);
            int displayOctave = 0;
            BcString displayStep;
            if (elementInt(filer, "display-octave", displayOctave) &&
                filer.getElementText(BcString("display-step"), displayStep) && stepOf(displayStep) >= 0 &&
                displayOctave > -1000 && displayOctave < 1000) {
                const int place = (mnClefOffset(chord->clef()) + 7 * displayOctave + stepOf(displayStep)) / 2 * 2;
                if (place >= -14 && place <= 6)
                    chord->setRestPosition(place);
            }
            filer.current = const_cast<TiXmlElement*>(note);
        }
    }

    // A pedal whose stop was read ends after the note at the stop.
    for (int i = 0; i < openLines.count(); ++i) {
        MnElement* element = openLines.element(i);
        if (!element->isKindOf(MnPedal::staticClass()))
            continue;
        auto* pedal = static_cast<MnPedal*>(element);
        if (pedal->staff() != staff)
            continue;
        if (releasedPedals.contains(pedal)) {
            pedal->setLength(pedal->length() + static_cast<int>(ticks));
            releasedPedals.remove(pedal);
            openLines.remove(pedal);
        }
        break;
    }

    readLyrics(filer, measure, voice, start);
}

bool IeMusicXmlImporter::readTimeModification(BcXmlFiler& filer, MnMeasure* measure, int voice, int chordStart,
                                              int& ticks)
{
    int actual = 0;
    int normal = 0;
    if (!elementInt(filer, "actual-notes", actual) || !elementInt(filer, "normal-notes", normal))
        return true;
    if (actual != 3 || normal != 2) {
        BcString text = BcStringResources::current().loadString(unsupportedTuplet);
        text.replaceAll(BcString("%d:%d"), BcString(actual) + BcString(":") + BcString(normal));
        errorText = text;
        return false;
    }
    if (MnChord* covering = measure->tupletChordAt(voice, chordStart)) {
        if (covering->actual() == 3 && covering->normal() == 2)
            ticks = static_cast<int>(static_cast<long long>(ticks) * 3 / 2);
        return true;
    }
    const long long span = static_cast<long long>(ticks) * 3;
    if (span <= INT_MAX && measure->makeTuplet(voice, chordStart, static_cast<int>(span), 3, false))
        ticks = static_cast<int>(static_cast<long long>(ticks) * 3 / 2);
    return true;
}

void IeMusicXmlImporter::readNotations(BcXmlFiler& filer, MnMeasure* measure, int measureIndex, int staffIndex,
                                       int voice, int chordStart, NoteMarks& marks)
{
    ieForEachChild(filer, [&](TiXmlElement* child) {
        if (ieIsNamed(child, "tied")) {
            if (ieAttributeIs(filer, "type", "stop"))
                marks.tied = true;
            if (const char* orientation = child->Attribute("orientation"))
                marks.tiePlacement = BcString(orientation) == u"over" ? 1 : -1;
        } else if (ieIsNamed(child, "articulations")) {
            for (const TiXmlElement* a = child->FirstChildElement(); a; a = a->NextSiblingElement()) {
                if (ieIsNamed(a, "staccatissimo") || ieIsNamed(a, "spiccato"))
                    marks.articulations.add(MnArticulationStaccatissimo);
                else if (ieIsNamed(a, "staccato"))
                    marks.articulations.add(MnArticulationStaccato);
                else if (ieIsNamed(a, "tenuto"))
                    marks.articulations.add(MnArticulationTenuto);
                else if (ieIsNamed(a, "accent"))
                    marks.articulations.add(MnArticulationAccent);
                else if (ieIsNamed(a, "strong-accent"))
                    marks.articulations.add(MnArticulationStrongAccent);
            }
        } else if (ieIsNamed(child, "fermata")) {
            marks.articulations.add(MnArticulationFermata);
        } else if (ieIsNamed(child, "arpeggiate")) {
            marks.arpeggio = true;
            if (ieAttributeIs(filer, "direction", "up"))
                marks.arpeggioType = 1;
            else if (ieAttributeIs(filer, "direction", "down"))
                marks.arpeggioType = 2;
        } else if (ieIsNamed(child, "slur")) {
            int number = 1;
            attributeInt(filer, "number", number);
            if (ieAttributeIs(filer, "type", "start")) {
                auto* slur = new IeOpenSlur;
                slur->number = number;
                slur->staff = staffIndex;
                slur->measureIndex = measureIndex;
                slur->voice = voice;
                slur->startTime = chordStart;
                openSlurs.add(slur);
            } else if (ieAttributeIs(filer, "type", "stop")) {
                endSlur(measure, staffIndex, voice, chordStart, number);
            }
        }
        return true;
    });
}

void IeMusicXmlImporter::endSlur(MnMeasure* measure, int staffIndex, int voice, int chordStart, int number)
{
    int found = -1;
    for (int i = 0; i < openSlurs.count() && found < 0; ++i) {
        if (openSlurs[i]->number == number)
            found = i;
    }
    if (found < 0)
        return;
    const IeOpenSlur slur = *openSlurs[found];
    delete openSlurs[found];
    openSlurs.removeAt(found);
    if (slur.staff != staffIndex || slur.voice != voice)
        return;
    MnStaff* staff = measure->staff();
    if (slur.measureIndex < 0 || slur.measureIndex >= staff->measureCount())
        return;
    MnChord* chord = staff->measure(slur.measureIndex)->mainChordAt(slur.voice, slur.startTime);
    if (!chord)
        return;
    MnChord* before = chord->previousChord();
    if (before && before->hasArticulation(slurBit))
        chord->setSlurStart(true);
    MnChord* endChord = measure->mainChordAt(voice, chordStart);
    for (; chord && chord != endChord; chord = chord->nextChord())
        chord->setArticulation(slurBit, true);
}

void IeMusicXmlImporter::readLyrics(BcXmlFiler& filer, MnMeasure* measure, int voice, int chordStart)
{
    MnStaff* staff = measure->staff();
    const long long time = static_cast<long long>(measure->startTime()) + chordStart;
    if (time > INT_MAX)
        return;
    ieForEachChild(filer, [&](TiXmlElement* child) {
        if (!ieIsNamed(child, "lyric"))
            return true;
        BcString syllable;
        if (!filer.getElementText(BcString("text"), syllable))
            return true;
        int number = 1;
        attributeInt(filer, "number", number);
        BcString syllabic;
        filer.getElementText(BcString("syllabic"), syllabic);
        const bool continuesWord = syllabic == u"middle" || syllabic == u"end";

        // Lines end at every rest, so a song has many; only the line the
        // voice and number sang last can end at this note.
        const long long key = ((static_cast<long long>(staff->index()) * 2 + voice) << 32) ^
                              static_cast<unsigned>(number);
        MnLyric* line = nullptr;
        if (auto last = lastLyrics.find(key); last != lastLyrics.end()) {
            MnLyric* candidate = last->second;
            if (number >= 0 && number <= 15 && candidate->passThrough() == number &&
                static_cast<long long>(candidate->start()) + candidate->duration() == time)
                line = candidate;
        }
        if (line) {
            BcString text = line->text();
            text.append(BcString(continuesWord ? "-" : " "));
            text.append(syllable);
            line->setText(text);
            return true;
        }
        line = staff->addLyric(static_cast<int>(time), voice);
        if (!line)
            return true;
        if (number != 1 && number >= 0 && number <= 15)
            line->setPassThrough(number);
        line->setText(syllable);
        lastLyrics[key] = line;
        return true;
    });
}

int IeMusicXmlImporter::octaveShiftAt(int staffIndex, long long time) const
{
    int shift = 0;
    for (const OctaveSpan& span : octaveSpans) {
        if (span.staff == staffIndex && span.start <= time && time < span.end)
            shift += span.kind;
    }
    return shift;
}
