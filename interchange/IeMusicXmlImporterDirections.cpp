// Directions (the starting tempo, dynamics, hairpins, octave lines and
// pedals) and the part groups' brackets.

#include "interchange/IeMusicXmlImporter.h"

#include "foundation/BcXmlFiler.h"
#include "interchange/IeMusicXmlImporterElements.h"
#include "interchange/IePartGroup.h"
#include "interchange/IeScorePart.h"
#include "model/MnChord.h"
#include "model/MnChordOnsets.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnMeasure.h"
#include "model/MnOctave.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"

#include <algorithm>
#include <climits>

namespace
{
// The first line of the class in the list on the staff; null for none.
MnLine* firstOpenLine(const EdSelection& lines, const BcClass* lineClass, const MnStaff* staff)
{
    for (int i = 0; i < lines.count(); ++i) {
        MnElement* element = lines.element(i);
        if (element->isKindOf(lineClass) && static_cast<MnLine*>(element)->staff() == staff)
            return static_cast<MnLine*>(element);
    }
    return nullptr;
}

void readStartingTempo(BcXmlFiler& filer, MnScore* score)
{
    if (!filer.findElement(BcString("metronome"), 0))
        return;
    BcString unit;
    BcString perMinute;
    if (filer.getElementText(BcString("beat-unit"), unit) && filer.getElementText(BcString("per-minute"), perMinute)) {
        int ticks = unit == u"half" ? 120960 : unit == u"quarter" ? 60480 : unit == u"eighth" ? 30240 : 0;
        if (ticks > 0) {
            if (filer.current->FirstChildElement("beat-unit-dot"))
                ticks = ticks * 3 / 2;
            MnTempo* tempo = score->tempo(0);
            const bool unitChanged = tempo->beatUnit() != ticks && tempo->setBeatUnit(ticks);
            const int bpm = IeMusicXmlImporter::leadingInteger(perMinute);
            const bool bpmChanged = tempo->beatsPerMinute() != bpm && tempo->setBeatsPerMinute(bpm);
            if (unitChanged || bpmChanged)
                tempo->buildTempoText();
        }
    }
    filer.goToParent();
}

int dynamicKindOf(const TiXmlElement* dynamics)
{
    static const char* names[] = {"ppp", "pp", "p", "mp", "mf", "f", "ff", "fff"};
    for (int kind = 0; kind < 8; ++kind) {
        if (dynamics->FirstChildElement(names[kind]))
            return kind;
    }
    return -1;
}
} // namespace

void IeMusicXmlImporter::shortenOpenLines(MnStaff* staff, const BcClass* lineClass, int time)
{
    for (int i = 0; i < openLines.count(); ++i) {
        MnElement* element = openLines.element(i);
        if (!element->isKindOf(lineClass))
            continue;
        auto* line = static_cast<MnLine*>(element);
        if (line->staff() == staff && line->start() < time && time < line->start() + line->length())
            line->setLength(time - line->start());
    }
}

void IeMusicXmlImporter::holdStaves(int partIndex, BcArray<MnStaff*>& held, MnScore* score)
{
    const IeScorePart* part = scoreParts[partIndex];
    for (int s = part->firstStaff; s >= 0 && s < part->firstStaff + part->staffCount && s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        if (!staff->isReconcilingSuspended()) {
            staff->setReconcilingSuspended(true);
            held.add(staff);
        }
    }
}

void IeMusicXmlImporter::settleMeasure(MnStaff* staff, MnMeasure* measure)
{
    const int start = measure->startTime();
    const int end = start + measure->length();
    BcArray<int> onsets;
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice)
        addChordOnsets(measure, voice, onsets);
    const BcArray<MnLine*>& lines = static_cast<const MnStaff*>(staff)->lineArray();
    BcArray<MnLine*> astray;
    for (int i = 0; i < lines.count(); ++i) {
        const int time = lines[i]->start();
        if (time >= start && time < end && !onsets.isEmpty() && onsets.indexOf(time) < 0)
            astray.add(lines[i]);
    }
    // The latest first: of two lines of a class that meet on one onset, the
    // one written nearer to it stays.
    for (int i = astray.count() - 1; i >= 0; --i) {
        MnLine* line = astray[i];
        const int time = line->start();
        int target = onsets[onsets.count() - 1];
        for (int k = 0; k < onsets.count(); ++k) {
            if (onsets[k] > time) {
                target = onsets[k];
                break;
            }
        }
        bool taken = false;
        for (int k = 0; k < lines.count() && !taken; ++k)
            taken = lines[k] != line && lines[k]->isKindOf(line->dynamicClass()) && lines[k]->start() == target;
        if (taken) {
            // An octave line that goes no longer lowers or raises the notes
            // read after it; the one that took its place does.
            if (line->isKindOf(MnOctave::staticClass())) {
                for (OctaveSpan& span : octaveSpans) {
                    if (span.staff == staff->index() + 1 && span.start == time && span.end == LLONG_MAX)
                        span.end = time;
                }
            }
            const int index = lines.indexOf(line);
            if (index >= 0) {
                staff->lineArray().removeAt(index);
                delete line;
            }
            continue;
        }
        const int lineEnd = line->end();
        const int length = line->length();
        line->setStart(target, true);
        staff->keepLineSorted(line);
        if (length > 0)
            line->setLength(std::max(lineEnd - target, 0));
    }
    staff->reconcileWithMeasure(measure);
}

void IeMusicXmlImporter::readDirection(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex,
                                       int position)
{
    MnScore* score = sheet->score();
    BcString staffText;
    const long long staffNumber = filer.getElementText(BcString("staff"), staffText) ? leadingInteger(staffText) : 1;
    const long long staffIndex = staffNumber + scoreParts[partIndex]->firstStaff;
    if (staffIndex < 1 || staffIndex > score->staffCount())
        return;
    MnStaff* staff = score->staff(static_cast<int>(staffIndex) - 1);
    if (measureIndex < 0 || measureIndex >= staff->measureCount())
        return;
    const long long longTime = static_cast<long long>(staff->measure(measureIndex)->startTime()) + position;
    if (longTime > INT_MAX)
        return;
    const int time = static_cast<int>(longTime);
    if (!filer.findElement(BcString("direction-type"), 0))
        return;
    const TiXmlElement* type = filer.current;

    if (staffIndex == 1 && time == 0)
        readStartingTempo(filer, score);

    if (const TiXmlElement* dynamics = type->FirstChildElement("dynamics")) {
        const int kind = dynamicKindOf(dynamics);
        if (kind >= 0) {
            shortenOpenLines(staff, MnDynamic::staticClass(), time);
            if (MnDynamic* mark = staff->addLine<MnDynamic>(time))
                mark->setKind(kind);
        }
    }
    if (const TiXmlElement* wedge = type->FirstChildElement("wedge")) {
        filer.current = const_cast<TiXmlElement*>(wedge);
        if (ieAttributeIs(filer, "type", "crescendo") || ieAttributeIs(filer, "type", "diminuendo")) {
            const int kind =
                ieAttributeIs(filer, "type", "crescendo") ? MnDynamicCrescendoHairpin : MnDynamicDiminuendoHairpin;
            shortenOpenLines(staff, MnDynamic::staticClass(), time);
            if (MnDynamic* hairpin = staff->addLine<MnDynamic>(time)) {
                hairpin->setKind(kind);
                openLines.add(hairpin);
            }
        } else if (ieAttributeIs(filer, "type", "stop")) {
            if (MnLine* hairpin = firstOpenLine(openLines, MnDynamic::staticClass(), staff)) {
                hairpin->setLength(time - hairpin->start());
                openLines.remove(hairpin);
            }
        }
        filer.current = const_cast<TiXmlElement*>(type);
    }
    if (const TiXmlElement* shift = type->FirstChildElement("octave-shift")) {
        filer.current = const_cast<TiXmlElement*>(shift);
        const bool up = ieAttributeIs(filer, "type", "up");
        const bool down = ieAttributeIs(filer, "type", "down");
        BcString sizeText;
        if ((up || down) && filer.getAttribute(BcString("size"), sizeText)) {
            const int size = leadingInteger(sizeText);
            int kind = up ? -1 : 1;
            if (size == 15)
                kind *= 2;
            else if (size != 8)
                kind = 1;
            shortenOpenLines(staff, MnOctave::staticClass(), time);
            if (MnOctave* line = staff->addLine<MnOctave>(time)) {
                line->setKind(kind);
                openLines.add(line);
                octaveSpans.push_back({static_cast<int>(staffIndex), time, LLONG_MAX, kind});
            }
        } else if (ieAttributeIs(filer, "type", "stop")) {
            if (MnLine* line = firstOpenLine(openLines, MnOctave::staticClass(), staff)) {
                line->setLength(time - line->start());
                openLines.remove(line);
                for (OctaveSpan& span : octaveSpans) {
                    if (span.staff == staffIndex && span.start == line->start() && span.end == LLONG_MAX) {
                        span.end = time;
                        break;
                    }
                }
            }
        }
        filer.current = const_cast<TiXmlElement*>(type);
    }
    if (const TiXmlElement* pedalElement = type->FirstChildElement("pedal")) {
        filer.current = const_cast<TiXmlElement*>(pedalElement);
        if (ieAttributeIs(filer, "type", "start")) {
            if (MnPedal* pedal = staff->addLine<MnPedal>(time)) {
                pedal->setKind(MnPedalSign);
                openLines.add(pedal);
            }
        } else if (ieAttributeIs(filer, "type", "stop")) {
            if (MnLine* pedal = firstOpenLine(openLines, MnPedal::staticClass(), staff)) {
                if (pedal->kind() == MnPedalSign)
                    pedal->setKind(MnPedalSignRelease);
                pedal->setLength(time - pedal->start());
                if (!releasedPedals.contains(pedal))
                    releasedPedals.add(pedal);
            }
        }
        filer.current = const_cast<TiXmlElement*>(type);
    }
    filer.goToParent();
}

void IeMusicXmlImporter::applyPartGroups(MnSheetMusic* sheet)
{
    MnScore* score = sheet->score();
    for (int g = 0; g < partGroups.count(); ++g) {
        const IePartGroup* group = partGroups[g];
        if (group->open || group->firstPart < 0 || group->firstPart >= scoreParts.count())
            continue;
        long long staffCount = 0;
        for (int p = group->firstPart; p < scoreParts.count() && p < group->firstPart + group->partCount; ++p)
            staffCount += scoreParts[p]->staffCount;
        if (staffCount > INT_MAX)
            continue;
        const int firstStaff = scoreParts[group->firstPart]->firstStaff;
        if (!score->canGroupStaves(firstStaff, static_cast<int>(staffCount)))
            continue;
        MnPartGroup* bracket = score->addPartGroup(firstStaff, static_cast<int>(staffCount));
        if (!bracket)
            continue;
        bracket->setBracketType(group->symbol);
        bracket->setName(group->name);
        bracket->relayout();
        bracket->setAbbreviation(group->abbreviation);
    }
}
