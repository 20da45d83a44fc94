// Writes the sample score that scripts/run.sh opens: a sheet music with its
// credits, a piano's two staves joined by a brace and a violin, with a tie,
// a triplet, a dynamic, a lyric, a tempo mark and a repeat. It is made
// through the model and saved as a score file.
//
//   qrv_samplescore <file.qrv>

#include "commands/EdStartup.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcClassManager.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnCredit.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"
#include "model/MnWork.h"

#include <cstdio>
#include <initializer_list>

namespace {

struct Note
{
    int duration;
    int step;    // 0 C .. 6 B; -1 a rest
    int octave;
    bool tied = false;
};

// Replaces the voice with the notes, one after the other from the start.
void fill(MnMeasure* measure, std::initializer_list<Note> notes)
{
    BcArray<MnChord*>& chords = measure->voiceChords(0);
    for (int i = 0; i < chords.count(); ++i)
        delete chords[i];
    chords.removeAll();
    int time = 0;
    for (const Note& note : notes) {
        MnChord* chord = new MnChord(measure, 0, time, note.duration);
        if (note.step >= 0)
            chord->addNote(note.step, note.octave, MnAccidentalNone, note.tied);
        chords.add(chord);
        time += chord->soundingDuration();
    }
    measure->fillGapsWithRests(0, 1, 1);
}

// The three eighths from index first on are a triplet in a quarter's time.
void makeTriplet(MnMeasure* measure, int first)
{
    BcArray<MnChord*>& chords = measure->voiceChords(0);
    int start = chords[first]->time();
    for (int i = 0; i < 3; ++i) {
        chords[first + i]->setRatio(3, 2);
        chords[first + i]->setTime(start + i * (MnTicksQuarter / 3));
    }
    for (int i = first + 3; i < chords.count(); ++i)
        chords[i]->setTime(chords[i - 1]->time() + chords[i - 1]->soundingDuration());
    chords[first]->setTuplet(new MnTuplet(chords[first], MnTicksQuarter, 3, false));
}

const int Q = MnTicksQuarter, H = MnTicksHalf, E = MnTicksEighth;

void writeMusic(MnScore* score)
{
    MnStaff* violin = score->staff(0);
    MnStaff* right = score->staff(1);
    MnStaff* left = score->staff(2);
    left->setClef(MnClefBass);

    fill(violin->measure(0), {{Q, 4, 5}, {Q, 2, 5}, {H, 0, 5, true}});
    fill(violin->measure(1), {{H, 0, 5}, {E, 1, 5}, {E, 2, 5}, {E, 3, 5}, {Q, 4, 5}});
    makeTriplet(violin->measure(1), 1);
    fill(violin->measure(2), {{Q, 5, 5}, {Q, 4, 5}, {Q, 3, 5}, {Q, 2, 5}});
    fill(violin->measure(3), {{H, 1, 5}, {H, 0, 5}});

    fill(right->measure(0), {{H, 0, 4}, {H, 2, 4}});
    fill(right->measure(1), {{H, 4, 4}, {H, 2, 4}});
    fill(right->measure(2), {{H, 3, 4}, {H, 1, 4}});
    fill(right->measure(3), {{MnTicksPerWhole, 0, 4}});
    fill(left->measure(0), {{MnTicksPerWhole, 0, 3}});
    fill(left->measure(1), {{MnTicksPerWhole, 5, 2}});
    fill(left->measure(2), {{MnTicksPerWhole, 3, 2}});
    fill(left->measure(3), {{MnTicksPerWhole, 0, 3}});

    for (int i = 0; i < score->staffCount(); ++i) {
        score->staff(i)->measure(1)->setBarline(MnBarlineEndRepeat);
        score->staff(i)->measure(3)->setBarline(MnBarlineFinal);
    }

    MnDynamic* dynamic = new MnDynamic(violin);
    dynamic->setKind(MnDynamicMF);
    dynamic->setStart(0, true);
    dynamic->setOffset(-14.0);
    violin->lineArray().add(dynamic);

    MnLyric* lyric = new MnLyric(violin);
    lyric->setText(BcString("Sing a new song to the morn - ing"));
    lyric->setStart(0);
    violin->lyricArray().add(lyric);

    MnTempo* tempo = score->tempo(0);
    tempo->setBeatsPerMinute(96);
    tempo->buildTempoText();
}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.qrv>\n", argv[0]);
        return 2;
    }
    EdStartup::install();
    BcClassManager::instance()->linkClasses();

    int status = 1;
    {
        QuorvaneDocument document;
        if (document.OnNewDocument()) {
            MnWork* work = static_cast<MnWork*>(document.works()[0]);
            work->title = BcString("Morning Song");
            work->subtitle = BcString("for violin and piano");
            work->composer = BcString("Quorvane sample");

            MnSheetMusic* sheet = new MnSheetMusic;
            MnScore* score = sheet->score();
            score->insertStaff(-1);
            score->insertStaff(-1);
            for (int i = 0; i < 3; ++i)
                score->insertMeasure(-1);
            score->part(0)->setName(BcString("Violin"));
            score->part(0)->setInstrument(MnInstrumentViolin);
            score->part(1)->setName(BcString("Piano"));
            score->part(1)->setInstrument(MnInstrumentPiano);
            score->part(2)->setInstrument(MnInstrumentPiano);
            MnPartGroup* piano = score->addPartGroup(1, 2);
            if (piano)
                piano->setBracketType(0);  // a brace
            writeMusic(score);

            const struct { int type; const char* text; } credits[] = {
                {MnCreditTitle, "Morning Song"},
                {MnCreditSubtitle, "for violin and piano"},
                {MnCreditComposer, "Quorvane sample"},
            };
            for (const auto& credit : credits) {
                MnCredit* added = sheet->addCredit(0);
                if (added) {
                    added->setType(credit.type);
                    added->setText(BcString(credit.text));
                }
            }
            if (document.addWork(sheet) && document.saveScore(BcString(argv[1])))
                status = 0;
            else if (document.works().count() < 2)
                delete sheet;
        }
    }
    if (status != 0)
        std::fprintf(stderr, "could not write the sample score %s\n", argv[1]);
    BcClassManager::deleteInstance();
    return status;
}
