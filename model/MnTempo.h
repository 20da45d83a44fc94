#pragma once

#include "model/MnText.h"
#include "model/MnTicks.h"

class MnScore;

// A tempo mark of a score: a beat unit with its metronome number, an
// Italian tempo term with the qualifiers "Molto " and ", ma non troppo", or a
// text of its own, and whether the metronome figure is drawn after the text.
// The score's first mark is its starting tempo. The text is built from the
// values by buildTempoText, which the property page and the importers call
// after they set them.
class MnTempo : public MnText
{
    BC_DECLARE_CLASS(MnTempo)
public:
    static constexpr int termCount = 20;
    // The longest beat unit a mark may count: four whole notes.
    static constexpr int maxBeatUnit = 4 * MnTicksPerWhole;

    // A quarter at 96 without a term: " = 96" at (25, 20), alignment 9.
    explicit MnTempo(MnScore* score = nullptr);
    ~MnTempo() override = default;

    MnElement* parent() const override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // On sheet music the whole text box stays inside the printable area of
    // the first page.
    bool moveTo(const GePoint2d& point) override;

    // Rebuilds the text from the term, its qualifiers, the custom text and
    // the beats per minute, then lays the mark out again.
    void buildTempoText();

    // The text of a term 0..19; empty for any other index.
    static BcString termText(int term);

    MnScore* score() const { return tempoScore; }
    void setScore(MnScore* score) { tempoScore = score; }

    // Ticks of the counted beat (60480 a quarter).
    int beatUnit() const { return tempoBeatUnit; }
    // False, with nothing changed, outside 1..maxBeatUnit.
    bool setBeatUnit(int ticks);
    static bool isBeatUnit(int ticks);
    int beatsPerMinute() const { return tempoBeatsPerMinute; }
    // False, with nothing changed, outside 1..MnMaxBeatsPerMinute.
    bool setBeatsPerMinute(int beatsPerMinute);
    // 0..19 into the term table, or -1 for none.
    int term() const { return tempoTerm; }
    // Terms outside the table become -1.
    void setTerm(int term);
    bool isMolto() const { return tempoMolto; }
    void setMolto(bool molto) { tempoMolto = molto; }
    bool isMaNonTroppo() const { return tempoMaNonTroppo; }
    void setMaNonTroppo(bool maNonTroppo) { tempoMaNonTroppo = maNonTroppo; }
    // Used as the text when there is no term.
    const BcString& customText() const { return tempoCustomText; }
    void setCustomText(const BcString& text) { tempoCustomText = text; }
    bool showsMetronome() const { return tempoShowMetronome; }
    void setShowMetronome(bool show) { tempoShowMetronome = show; }

private:
    MnScore* tempoScore;
    int tempoBeatUnit = MnTicksQuarter;
    int tempoBeatsPerMinute = 96;
    int tempoTerm = -1;
    bool tempoMolto = false;
    bool tempoMaNonTroppo = false;
    BcString tempoCustomText;
    bool tempoShowMetronome = true;
};
