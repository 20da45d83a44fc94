#include "model/FullDocument.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnCredit.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnMeasureNumber.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPageLayout.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"
#include "model/MnTuplet.h"
#include "model/ModelBuilders.h"

FullDocument::FullDocument() : work(new MnWork), sheet(new MnSheetMusic) {}

FullDocument::~FullDocument()
{
    delete sheet;
    delete work;
}

bool FullDocument::write(BcFiler& filer) const
{
    return work->write(filer) && sheet->write(filer);
}

bool FullDocument::read(BcFiler& filer)
{
    return work->read(filer) && sheet->read(filer);
}

static MnNote* note(MnChord* chord, int step, int octave, int accidental = MnAccidentalNone, bool tied = false)
{
    return chord->addNote(step, octave, accidental, tied);
}

static void fillFirstStaff(MnStaff* staff)
{
    // Measure 1: a quarter chord with an arpeggio, a grace chord before a
    // triplet of eighths, a half note tied into measure 2; a second voice.
    MnMeasure* first = staff->measure(0);
    MnChord* chord = setVoice(first, 0, {MnTicksQuarter, MnTicksEighth, MnTicksEighth, MnTicksEighth, MnTicksHalf});
    MnNote* low = note(chord, 0, 4, MnAccidentalSharp);
    low->setArpeggio(true);
    low->setArpeggioType(1);
    note(chord, 2, 4);
    chord->setArticulation(MnArticulationAccent, true);
    chord->setStemDirection(1);
    BcArray<MnChord*>& voice = first->voiceChords(0);
    for (int i = 1; i <= 3; ++i) {
        voice[i]->setRatio(3, 2);
        voice[i]->setTime(MnTicksQuarter + (i - 1) * 20160);
        note(voice[i], 3 + i, 4, i == 2 ? MnAccidentalFlat : MnAccidentalNone);
        voice[i]->setBeamMode(i == 1 ? 0 : 1);
        voice[i]->setArticulation(MnArticulationSlur, i < 3);
    }
    voice[1]->setSlurPlacement(-1);
    MnTuplet* tuplet = new MnTuplet(voice[1], MnTicksQuarter, 3, false);
    tuplet->setBracket(2);
    tuplet->setDirection(1);
    voice[1]->setTuplet(tuplet);
    voice[4]->setTime(MnTicksHalf);
    note(voice[4], 4, 4);
    MnChord* grace = insertGraceChord(first, 0, 1, MnTicksEighth);
    note(grace, 1, 5, MnAccidentalDoubleSharp);
    grace->setGraceSlash(true);
    MnChord* second = setVoice(first, 1, {MnTicksHalf, MnTicksHalf});
    note(second, 0, 3, MnAccidentalNatural);
    first->voiceChords(1)[1]->setHidden(true);
    first->voiceChords(1)[1]->setRestPosition(-8);
    first->setBarline(MnBarlineStartRepeat);
    first->setVoltaMask(0x1);

    // Measure 2: the tied half note, a rest, and a grace chord at the end
    // before measure 3's first chord.
    MnMeasure* middle = staff->measure(1);
    MnChord* tiedTo = setVoice(middle, 0, {MnTicksHalf, MnTicksHalf});
    MnNote* tied = note(tiedTo, 4, 4, MnAccidentalNone, true);
    tied->setTiePlacement(1);
    note(insertGraceChord(middle, 0, 2, MnTicksSixteenth), 6, 4, MnAccidentalDoubleFlat);
    middle->setBarline(MnBarlineEndRepeat);
    middle->setRepeatCount(3);
    middle->setVoltaMask(0x2);
    middle->setVoltaText(BcString("2nd time"));
    middle->setVoltaClosed(true);
    middle->setSystemBreak(MnSystemBreakSystem);
    middle->setUserWidth(3.5);

    // Measure 3: dotted values with articulations and a fermata.
    MnMeasure* third = staff->measure(2);
    MnChord* dotted = setVoice(third, 0, {90720, MnTicksEighth, MnTicksHalf});
    note(dotted, 5, 4, MnAccidentalFlat);
    dotted->setArticulation(MnArticulationStaccato, true);
    dotted->setArticulation(MnArticulationTenuto, true);
    note(third->voiceChords(0)[1], 6, 4);
    MnChord* last = third->voiceChords(0)[2];
    note(last, 0, 5);
    note(last, 4, 5);
    last->setArticulation(MnArticulationFermata, true);
    last->setStemInverted(true);
    third->setRepeatMarker(MnRepeatMarkerSegno);
    third->setRepeatJump(MnRepeatJumpDalSegnoAlCoda);
}

static void fillSecondStaff(MnStaff* staff)
{
    staff->setClef(MnClefBass);
    staff->setKey(-2);
    MnChord* whole = setVoice(staff->measure(0), 0, {MnTicksPerWhole});
    note(whole, 0, 3);
    note(whole, 4, 3, MnAccidentalSharp);
    MnTablature* tablature = new MnTablature(staff);
    tablature->setName(BcString("Guitar"));
    tablature->setAbbreviation(BcString("Gtr."));
    tablature->setStringCount(7);
    tablature->setTuning(6, 5, 2, 0);
    tablature->setFrets(22);
    tablature->setCapoOn(true);
    tablature->setCapoFret(3);
    staff->setTablature(tablature);
    staff->setSpacing(24.0);
}

static void addLines(MnScore* score)
{
    MnStaff* top = score->staff(0);
    MnStaff* bottom = score->staff(1);
    MnOctave* octave = new MnOctave(top);
    octave->setKind(1);
    octave->setStart(0, true);
    octave->setLength(MnTicksPerWhole);
    octave->setOffset(10.0);
    MnDynamic* mark = new MnDynamic(top);
    mark->setKind(4);
    mark->setStart(0, true);
    mark->setLength(MnTicksPerWhole);
    mark->setOffset(-14.0);
    MnDynamic* hairpin = new MnDynamic(top);
    hairpin->setKind(8);
    hairpin->setStart(MnTicksPerWhole, true);
    hairpin->setLength(MnTicksPerWhole);
    hairpin->setOffset(-13.0);
    MnDynamic* words = new MnDynamic(top);
    words->setKind(21);
    words->setStart(2 * MnTicksPerWhole, true);
    words->setLength(MnTicksHalf);
    words->setOffset(-15.0);
    top->lineArray().add(mark);
    top->lineArray().add(octave);
    top->lineArray().add(hairpin);
    top->lineArray().add(words);
    MnPedal* pedal = new MnPedal(bottom);
    pedal->setKind(2);
    pedal->setStart(0, true);
    pedal->setLength(2 * MnTicksPerWhole);
    pedal->setOffset(-20.0);
    bottom->lineArray().add(pedal);
    MnOctave* below = new MnOctave(bottom);
    below->setKind(-1);
    below->setStart(MnTicksPerWhole, true);
    below->setLength(MnTicksHalf);
    below->setOffset(-18.0);
    bottom->lineArray().add(below);

    MnLyric* lyric = new MnLyric(top);
    lyric->setText(BcString("Glo - ri - a in ex-cel-sis"));
    lyric->setStart(0);
    lyric->setPassThrough(2);
    top->lyricArray().add(lyric);
    MnLyric* lower = new MnLyric(top);
    lower->setText(BcString("Second verse"));
    lower->setVoice(1);
    lower->setFont(2);
    top->lyricArray().add(lower);
}

static void addStaffChanges(MnScore* score)
{
    MnStaff* top = score->staff(0);
    top->insertStaffChange(MnTicksPerWhole);
    top->change(0)->setClef(MnClefAlto);
    top->insertStaffChange(2 * MnTicksPerWhole + MnTicksHalf);
    top->change(1)->setKey(3);
    // Measure 4 is in 3/4 in both staves.
    for (int i = 0; i < score->staffCount(); ++i) {
        MnStaff* staff = score->staff(i);
        MnMeasure* fourth = staff->measure(3);
        fourth->setBeats(3);
        setVoice(fourth, 0, {});
        setVoice(fourth, 1, {});
        fourth->fillGapsWithRests(0, 1, 1);
        fourth->fillGapsWithRests(1, 1, 1);
        staff->insertStaffChange(3 * MnTicksPerWhole);
        staff->definitionAt(3 * MnTicksPerWhole, true)->setTimeType(MnTime3_4);
        fourth->setBarline(MnBarlineFinal);
    }
}

static void addPartsGroupsAndTempos(MnScore* score)
{
    MnPart* flute = score->part(0);
    flute->setName(BcString("Flute"));
    flute->setAbbreviation(BcString("Fl."));
    flute->setInstrument(MnInstrumentFlute);
    flute->setVolume(90);
    flute->setVoiceName(0, BcString("Solo"));
    flute->setVoiceName(1, BcString("Tutti"));
    flute->setFont(6);
    MnPart* guitar = score->part(1);
    guitar->setName(BcString("Guitar"));
    guitar->setInstrument(MnInstrumentProgram + 25);
    guitar->setScale(0.8);

    MnPartGroup* group = score->addPartGroup(0, 2);
    group->setName(BcString("Ensemble"));
    group->setAbbreviation(BcString("Ens."));
    group->setBracketType(1);
    group->setUnderline(true);
    MnPartGroup* withTablature = score->addPartGroup(1, 1);
    withTablature->setCoversTablature(false);

    MnTempo* start = score->tempo(0);
    start->setTerm(14);
    start->setMolto(true);
    start->setBeatsPerMinute(132);
    start->buildTempoText();
    MnTempo* later = new MnTempo(score);
    later->setCustomText(BcString("Tempo di valse"));
    later->setBeatUnit(90720);
    later->setBeatsPerMinute(60);
    later->setShowMetronome(false);
    later->buildTempoText();
    later->moveTo(GePoint2d(60.0, 15.0));
    score->tempoArray().add(later);

    score->setName(BcString("Suite"));
    score->setScale(0.9);
    score->measureNumberTemplate()->setFont(4);
    score->measureNumberTemplate()->moveTo(GePoint2d(0.0, 9.0));
}

void buildFullDocument(FullDocument& document)
{
    document.work->title = BcString("Suite");
    document.work->subtitle = BcString("for flute and guitar");
    document.work->composer = BcString("A. Composer");
    document.work->copyright = BcString("\xC2\xA9 2026");

    MnSheetMusic* sheet = document.sheet;
    MnScore* score = sheet->score();
    score->insertStaff(-1);
    fillFirstStaff(score->staff(0));
    fillSecondStaff(score->staff(1));
    addStaffChanges(score);
    addLines(score);
    addPartsGroupsAndTempos(score);

    MnCredit* credit = sheet->addCredit(1);
    credit->setText(BcString("Movement II"));
    credit->setType(1);
    credit->setCreditAlignment(-1);
    sheet->pageLayout(1, true)->setSystemSpacing(25.0);
    sheet->setFirstPageRight(true);
    sheet->setSystemSpacing(22.0);
}
