#include "FuzzModelWalk.h"

#include "FuzzCheck.h"

#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCredit.h"
#include "model/MnLine.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPageLayout.h"
#include "model/MnPageNumber.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnStaffDefinition.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"
#include "model/MnText.h"
#include "model/MnTuplet.h"
#include "model/MnWork.h"

#include <type_traits>

// Keeps the results alive, so the getters are not optimised away.
static volatile long long sink = 0;

template <typename T>
static void takeOne(T value)
{
    if constexpr (std::is_floating_point_v<T>)
        sink = sink + (value == value ? 1 : 0);
    else
        sink = sink ^ static_cast<long long>(value);
}

template <typename... T>
static void take(T... values)
{
    (takeOne(values), ...);
}

static void walkPosition(const MnElement* element)
{
    GePoint2d position = element->position();
    take(position.x);
    take(position.y);
    take(element->scale());
}

static void walkNote(MnNote* note, MnChord* chord)
{
    FUZZ_CHECK(note->parent() == chord);
    FUZZ_CHECK(note->chord() == chord);
    take(note->step(), note->octave(), note->accidental(), note->tiePlacement());
    take(note->diatonicPosition());
    take(note->keyNumber());
    take(note->effectiveAccidental());
    if (MnNote* first = note->arpeggioChainFirst())
        take(first->keyNumber());
    if (MnNote* last = note->arpeggioChainLast())
        take(last->keyNumber());
    walkPosition(note);
}

static void walkChord(MnChord* chord, MnMeasure* measure, MnTablature* tablature)
{
    FUZZ_CHECK(chord->parent() == measure);
    FUZZ_CHECK(chord->measure() == measure);
    FUZZ_CHECK(chord->staff() == measure->staff());
    take(chord->clef(), chord->keySignature(), chord->isDotted());
    take(chord->undottedDuration());
    take(chord->soundingDuration());
    int length = 0;
    take(chord->playbackTime(measure->nextMeasure(), length));
    take(length);
    take(chord->isSingleAppoggiatura());
    if (MnChord* previous = chord->previousChord())
        take(previous->time());
    if (MnChord* next = chord->nextChord())
        take(next->time());
    if (MnTuplet* tuplet = chord->tuplet()) {
        FUZZ_CHECK(tuplet->parent() == chord);
        take(tuplet->span(), tuplet->number(), tuplet->bracket(), tuplet->direction());
        walkPosition(tuplet);
    }
    BcArray<int> usedStrings;
    for (int i = 0; i < chord->noteCount(); ++i) {
        MnNote* note = chord->note(i);
        walkNote(note, chord);
        int string = 0;
        int fret = 0;
        if (tablature && tablature->findStringAndFret(note, string, fret, usedStrings)) {
            usedStrings.add(string);
            take(string, fret);
        }
    }
    walkPosition(chord);
}

static void walkMeasure(MnMeasure* measure, MnStaff* staff)
{
    FUZZ_CHECK(measure->parent() == staff);
    FUZZ_CHECK(measure->staff() == staff);
    int start = measure->startTime();
    take(start, measure->length(), measure->divisions(true), measure->divisions(false));
    take(measure->barlineStaffScale());
    take(measure->voltaText(false).length());
    MnMeasure* next = measure->nextMeasure();
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
        take(measure->chordCount(voice, true), measure->chordCount(voice, false));
        take(measure->isMeasureRest(voice));
        int length = 0;
        if (MnChord* played = measure->chordPlayedAt(start, voice, next, length))
            take(played->time(), length);
        const BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = 0; i < chords.count(); ++i) {
            MnChord* chord = chords[i];
            FUZZ_CHECK(chord->voice() == voice);
            walkChord(chord, measure, staff->tablature());
            take(measure->beamLink(voice, i));
            int first = 0;
            int last = 0;
            if (measure->beamGroup(voice, i, first, last))
                take(first, last);
            take(measure->isOnGrid(voice, chord->time()));
            if (MnChord* tupletChord = measure->tupletChordAt(voice, chord->time()))
                take(tupletChord->time());
        }
    }
    walkPosition(measure);
}

static void walkStaff(MnStaff* staff, MnScore* score)
{
    FUZZ_CHECK(staff->parent() == score);
    FUZZ_CHECK(staff->score() == score);
    take(staff->totalTicks(), staff->voiceCount());
    take(staff->partScale());
    take(staff->spacing());
    for (int i = 0; i < staff->measureCount(); ++i) {
        MnMeasure* measure = staff->measure(i);
        FUZZ_CHECK(staff->measureStartTime(i) == measure->startTime());
        walkMeasure(measure, staff);
        const MnStaffDefinition* definition = staff->definitionAt(measure->startTime(), false);
        if (definition)
            take(definition->clef(), definition->key(), definition->time());
        BcArray<MnChord*> sounding;
        staff->chordsAt(measure->startTime(), sounding);
        take(sounding.count());
        int onset = 0;
        long long end = static_cast<long long>(measure->startTime()) + measure->length();
        if (end <= 0x7FFFFFFF && staff->latestOnsetBefore(static_cast<int>(end), onset))
            take(onset);
        FUZZ_CHECK(staff->measureAtTime(measure->startTime()) != nullptr);
    }
    for (int i = 0; i < staff->changeCount(); ++i) {
        MnStaffChange* change = staff->change(i);
        FUZZ_CHECK(change->parent() == staff);
        take(change->startTime(), change->clef(), change->key(), change->time());
        walkPosition(change);
    }
    const BcArray<MnLine*>& lines = staff->lineArray();
    for (int i = 0; i < lines.count(); ++i) {
        MnLine* line = lines[i];
        FUZZ_CHECK(line->parent() == staff);
        take(line->start(), line->length(), line->kind(), line->isMark(), line->isAbove());
        walkPosition(line);
    }
    const BcArray<MnLyric*>& lyrics = staff->lyricArray();
    for (int i = 0; i < lyrics.count(); ++i) {
        MnLyric* lyric = lyrics[i];
        FUZZ_CHECK(lyric->parent() == staff);
        for (int s = 0; s < lyric->syllableCount(); ++s)
            take(lyric->syllable(s).length(), lyric->syllableStart(s));
        if (MnChord* first = lyric->firstChord())
            take(first->time());
        take(lyric->duration());
        walkPosition(lyric);
    }
    if (MnTablature* tablature = staff->tablature()) {
        FUZZ_CHECK(tablature->parent() == staff);
        take(tablature->distance());
    }
    walkPosition(staff);
}

static void walkScore(MnScore* score)
{
    FUZZ_CHECK(score->staffCount() >= 1);
    for (int i = 0; i < score->staffCount(); ++i) {
        walkStaff(score->staff(i), score);
        MnPart* part = score->part(i);
        FUZZ_CHECK(part->parent() == score);
        take(part->partScale(), part->instrument(), part->volume());
        for (int v = 0; v < part->voiceNameCount(); ++v)
            take(part->voiceName(v).length());
        if (MnPartGroup* innermost = score->innermostPartGroup(i))
            take(innermost->firstStaff());
        if (MnPartGroup* child = score->childPartGroup(i, nullptr))
            take(child->staffCount());
    }
    for (int g = 0; g < score->partGroupCount(); ++g) {
        MnPartGroup* group = score->partGroup(g);
        FUZZ_CHECK(group->parent() == score);
        take(group->firstStaff(), group->staffCount(), group->coversTablature());
        take(group->maxPartScale());
        take(group->bracketType());
    }
    for (int t = 0; t < score->tempoCount(); ++t) {
        MnTempo* tempo = score->tempo(t);
        FUZZ_CHECK(tempo->parent() == score);
        take(tempo->beatUnit(), tempo->beatsPerMinute(), tempo->term());
        walkPosition(tempo);
    }
    MnStaff* first = score->staff(0);
    for (int m = 0; m < first->measureCount(); ++m) {
        BcArray<MnNote*> notes;
        take(score->notesAtTime(m, 0, notes));
    }
    walkPosition(score);
}

static void walkSheetMusic(MnSheetMusic* sheet)
{
    if (MnScore* score = sheet->score()) {
        if (sheet->ownsScore())
            FUZZ_CHECK(score->sheetMusic() == sheet);
        walkScore(score);
    }
    for (int i = 0; i < sheet->creditCount(); ++i) {
        MnCredit* credit = sheet->credit(i);
        FUZZ_CHECK(credit->parent() == sheet);
        take(credit->page(), credit->type(), credit->creditAlignment());
        take(credit->size());
        walkPosition(credit);
    }
    for (int i = 0; i < sheet->pageLayoutCount(); ++i) {
        MnPageLayout* layout = sheet->pageLayoutAt(i);
        FUZZ_CHECK(layout->parent() == sheet);
        take(layout->page());
        take(layout->systemSpacing());
        walkPosition(layout);
    }
    take(sheet->pageWidth(), sheet->pageHeight());
    for (int page = 0; page < 4; ++page) {
        take(sheet->isLeftPage(page));
        take(sheet->leftMargin(page), sheet->rightMargin(page));
        if (MnText* number = sheet->pageNumberText(page))
            take(number->text().length());
    }
    take(sheet->topMargin(), sheet->bottomMargin());
    walkPosition(sheet);
}

static void walkOnce(MnElement* element)
{
    if (element->isKindOf(MnSheetMusic::staticClass()))
        walkSheetMusic(static_cast<MnSheetMusic*>(element));
    else if (element->isKindOf(MnScore::staticClass()))
        walkScore(static_cast<MnScore*>(element));
    else if (element->isKindOf(MnWork::staticClass()))
        take(static_cast<MnWork*>(element)->title.length());
}

void fuzzWalkElement(MnElement* element)
{
    walkOnce(element);
    MnCache scope;
    walkOnce(element);
    walkOnce(element);
}

void fuzzWalkDocument(QuorvaneDocument& document)
{
    const BcArray<MnElement*>& works = document.works();
    FUZZ_CHECK(works.count() >= 1);
    FUZZ_CHECK(works[0]->isKindOf(MnWork::staticClass()));
    FUZZ_CHECK(document.displayOrder().count() == works.count());
    for (int i = 0; i < works.count(); ++i) {
        FUZZ_CHECK(works[i]->parent() == nullptr);
        fuzzWalkElement(works[i]);
    }
    BcArray<MnElement*> items;
    document.browserItems(items, false);
    for (int i = 0; i < items.count(); ++i)
        take(document.isCollapsed(items[i]));
}
