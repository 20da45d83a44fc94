// Every value that a model record keeps has one range rule, held by its
// setter and by its reader alike: what a setter accepts files and reads back
// byte for byte; what it refuses leaves the element as it was, and a record
// that holds it anyway (filed through the writer's own calls with that one
// value replaced) is refused by the reader, or read the way the reader keeps
// the file meaningful; what a setter brings into range the reader brings
// into range the same way.

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnCredit.h"
#include "model/MnDynamic.h"
#include "model/MnLimits.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPageLayout.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"
#include "model/MnText.h"
#include "model/MnTuplet.h"

#include "model/RecordBytes.h"
#include "model/WriteCalls.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

struct Rule
{
    const char* value;
    std::function<std::unique_ptr<MnElement>()> make;
    std::function<bool(MnElement&, double)> set;
    Field field;
    // The setter takes them; the record keeps them. At least two, which
    // the record keeps differently.
    std::vector<double> accepted;
    // The setter refuses them; the reader refuses a record that holds them.
    std::vector<double> refused = {};
    // The setter refuses them; the reader reads them as the second value,
    // which keeps the file meaningful.
    std::vector<std::pair<double, double>> readAs = {};
    // The setter and the reader both bring them to the second value.
    std::vector<std::pair<double, double>> clamped = {};
};

template <typename T>
std::function<bool(MnElement&, double)> setter(std::function<bool(T&, double)> set)
{
    return [set](MnElement& element, double value) { return set(static_cast<T&>(element), value); };
}

// The elements live in a score and a sheet music of their own.
struct Context
{
    MnScore score;
    MnSheetMusic sheet;
    MnStaff* staff = score.staff(0);
    MnMeasure* measure = staff->measure(0);
    MnChord* chord = measure->voiceChords(0)[0];
};

// A measure whose meter changed gets voices of rests that fill it.
bool refill(MnMeasure& measure, bool changed)
{
    if (!changed)
        return false;
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
        BcArray<MnChord*>& chords = measure.voiceChords(voice);
        for (int i = 0; i < chords.count(); ++i)
            delete chords[i];
        chords.removeAll();
        measure.fillGapsWithRests(voice, 1, 1);
    }
    return true;
}

std::vector<Rule> rules(Context& c)
{
    using T = WriteCall;
    auto note = [&c] { return std::make_unique<MnNote>(c.chord); };
    auto chord = [&c] { return std::make_unique<MnChord>(c.measure, 0, 0, MnTicksQuarter); };
    auto tuplet = [&c] { return std::make_unique<MnTuplet>(c.chord, MnTicksQuarter, 3, false); };
    auto text = [] { return std::make_unique<MnText>(); };
    auto measure = [&c] { return std::make_unique<MnMeasure>(c.staff, 1, MnTime4_4); };
    auto staff = [&c] { return std::make_unique<MnStaff>(&c.score, 0, MnTime4_4); };
    auto dynamic = [&c] { return std::make_unique<MnDynamic>(c.staff); };
    auto lyric = [&c] { return std::make_unique<MnLyric>(c.staff); };
    auto part = [&c] { return std::make_unique<MnPart>(&c.score, 0); };
    auto group = [&c] { return std::make_unique<MnPartGroup>(&c.score, 0, 1); };
    auto credit = [] { return std::make_unique<MnCredit>(); };
    auto tempo = [] { return std::make_unique<MnTempo>(); };
    auto tablature = [] { return std::make_unique<MnTablature>(); };
    auto score = [] { return std::make_unique<MnScore>(); };
    auto sheet = [] { return std::make_unique<MnSheetMusic>(); };
    auto layout = [&c] { return std::make_unique<MnPageLayout>(&c.sheet, 1); };
    const double maxPage = MnMaxPages - 1;

    return {
        // Note
        {"note octave", note, setter<MnNote>([](MnNote& n, double v) { return n.setOctave(int(v)); }),
         whole(T::Char, 7), {0, MnHighestOctave, 4}, {-1, 11, 18, 19}},
        {"note step", note, setter<MnNote>([](MnNote& n, double v) { return n.setStep(int(v)); }),
         [] { Field f = whole(T::Char, 1, 28); f.patchable = false; return f; }(), {0, 6}, {-1, 7}},
        {"note accidental", note, setter<MnNote>([](MnNote& n, double v) { return n.setAccidental(int(v)); }),
         whole(T::Char), {MnAccidentalDoubleFlat, MnAccidentalNone, MnAccidentalNatural}, {-3, 4, 127}},
        {"tie placement", note, setter<MnNote>([](MnNote& n, double v) { return n.setTiePlacement(int(v)); }),
         bits(T::Byte, 1, 2, 1), {-1, 1, 0}, {2, -2}},
        {"arpeggio type", note, setter<MnNote>([](MnNote& n, double v) { return n.setArpeggioType(int(v)); }),
         bits(T::Byte, 5, 3), {0, 2, 1}, {3, 7, -1, 8}},

        // Chord
        {"chord value", chord, setter<MnChord>([](MnChord& ch, double v) { return ch.setDuration(int(v)); }),
         whole(T::Int),
         {MnTicks64th, MnTicksPerWhole, MnShortestValue, 90720, 2 * MnTicksPerWhole},
         {0, -MnTicksQuarter, 1000, 60479, 362880, 3 * MnTicksPerWhole, MnMaxMeasureTicks + 1.0}},
        {"rest position", chord, setter<MnChord>([](MnChord& ch, double v) { return ch.setRestPosition(int(v)); }),
         whole(T::ByteAndFlag), {-64, 63, -4}, {-65, 64}},
        {"stem", chord, setter<MnChord>([](MnChord& ch, double v) { return ch.setStemDirection(int(v)); }),
         bits(T::Byte, 0, 2, 1), {-1, 1, 0}, {2, -2}},
        {"beam mode", chord, setter<MnChord>([](MnChord& ch, double v) { return ch.setBeamMode(int(v)); }),
         bits(T::Byte, 3, 3, 1), {-1, 3, 0}, {4, 6, 7, -2}},
        {"slur placement", chord, setter<MnChord>([](MnChord& ch, double v) { return ch.setSlurPlacement(int(v)); }),
         bits(T::Byte, 6, 2, 1), {-1, 1, 0}, {2, -2}},
        {"ratio actual", chord, setter<MnChord>([](MnChord& ch, double v) { return ch.setRatio(int(v), 2); }),
         bits(T::Byte, 4, 4), {1, MnMaxTupletRatio, 3}, {0, 16, -1}},
        {"ratio normal", chord, setter<MnChord>([](MnChord& ch, double v) { return ch.setRatio(3, int(v)); }),
         bits(T::Byte, 0, 4), {1, MnMaxTupletRatio, 2}, {0, 16, -1}},

        // Tuplet
        {"tuplet span", tuplet, setter<MnTuplet>([](MnTuplet& t, double v) { return t.setSpan(int(v)); }),
         whole(T::Int), {MnShortestValue, 128 * MnTicksPerWhole, MnTicksHalf, 90720},
         {0, -1, 1000, 362880, MnMaxMeasureTicks, 256 * MnTicksPerWhole}},
        {"tuplet number", tuplet, setter<MnTuplet>([](MnTuplet& t, double v) { return t.assignNumber(int(v)); }),
         bits(T::Int, 0, 8), {1, MnMaxTupletRatio, 5}, {0, 16, 255, 256, -1}},
        {"tuplet bracket", tuplet,
         setter<MnTuplet>([](MnTuplet& t, double v) { t.setBracket(int(v)); return true; }), whole(T::ByteAndFlag),
         {MnTupletBracketAuto, MnTupletBracketShown, MnTupletBracketNone}, {}, {}, {{3, 0}, {-1, 0}, {100, 0}}},
        {"tuplet direction", tuplet, setter<MnTuplet>([](MnTuplet& t, double v) { return t.setDirection(int(v)); }),
         whole(T::Char), {-128, 127, 0}, {128, -129}},

        // Text: every text element files this record first
        {"text x", text, setter<MnText>([](MnText& t, double v) { return t.moveTo(GePoint2d(v, 0.5)); }),
         whole(T::Double), {MnMaxCoordinate, -MnMaxCoordinate, 3.25}, {notANumber, infinity, -infinity, 2e9}},
        {"text y", text, setter<MnText>([](MnText& t, double v) { return t.moveTo(GePoint2d(0.5, v)); }),
         whole(T::Double), {MnMaxCoordinate, -MnMaxCoordinate, -7.5}, {notANumber, infinity, -2e9}},
        {"text alignment", text, setter<MnText>([](MnText& t, double v) { t.setAlignment(int(v)); return true; }),
         whole(T::Char), {0, MnText::alignmentCount - 1, 7}, {}, {}, {{12, 0}, {-1, 0}}},
        {"text font", text, setter<MnText>([](MnText& t, double v) { t.setFont(int(v)); return true; }),
         whole(T::ByteAndFlag), {0, MnText::fontCount - 1, 5}, {}, {}, {{12, 0}, {-1, 0}, {100, 0}}},
        {"text size", text, setter<MnText>([](MnText& t, double v) { return t.setSize(v); }), whole(T::Char),
         {MnMinTextSize, MnMaxTextSize, 12.5}, {notANumber}, {},
         {{0, MnMinTextSize}, {-5, MnMinTextSize}, {0.5, MnMinTextSize}, {500, MnMaxTextSize}}},

        // Measure
        {"bar line", measure, setter<MnMeasure>([](MnMeasure& m, double v) { return m.setBarline(int(v)); }),
         whole(T::ByteAndFlag), {MnBarlineSingle, MnBarlineEndStartRepeat, MnBarlineFinal}, {6, -1}},
        {"repeat count", measure, setter<MnMeasure>([](MnMeasure& m, double v) { return m.setRepeatCount(int(v)); }),
         whole(T::ByteAndFlag), {1, MnMaxRepeatCount, 3}, {0, -1, 64}},
        {"beats", measure,
         setter<MnMeasure>([](MnMeasure& m, double v) { return refill(m, m.setBeats(int(v))); }), whole(T::Int),
         {1, MnMaxBeats, 3}, {0, -4, MnMaxBeats + 1}},
        {"beat ticks", measure,
         setter<MnMeasure>([](MnMeasure& m, double v) { return refill(m, m.setBeatTicks(int(v))); }), whole(T::Int),
         {MnShortestValue, MnMaxBeatTicks, 90720}, {0, -1, 1000, 2 * MnTicksPerWhole, 362880}},
        {"volta mask", measure, setter<MnMeasure>([](MnMeasure& m, double v) { return m.setVoltaMask(int(v)); }),
         whole(T::Short), {0, MnVoltaMaskBits, 0x203}, {0x400, -1, 0x10000}},
        {"repeat marker", measure,
         setter<MnMeasure>([](MnMeasure& m, double v) { return m.setRepeatMarker(int(v)); }), bits(T::Byte, 4, 4),
         {MnRepeatMarkerNone, MnRepeatMarkerCoda, MnRepeatMarkerSegno}, {3, 15, 16, -1}},
        {"repeat jump", measure, setter<MnMeasure>([](MnMeasure& m, double v) { return m.setRepeatJump(int(v)); }),
         bits(T::Byte, 0, 4), {MnRepeatJumpNone, MnRepeatJumpDalSegnoAlCoda, MnRepeatJumpFine}, {7, 15, 16, -1}},
        {"system break", measure,
         setter<MnMeasure>([](MnMeasure& m, double v) { return m.setSystemBreak(int(v)); }), whole(T::Char),
         {MnSystemBreakNone, MnSystemBreakPage, MnSystemBreakSystem}, {3, -1}},
        {"user width", measure,
         setter<MnMeasure>([](MnMeasure& m, double v) { m.setUserWidth(v); return true; }), whole(T::Double),
         {0, MnMaxCoordinate, 2.5}, {}, {},
         {{-1, 0}, {notANumber, 0}, {-infinity, 0}, {2e9, MnMaxCoordinate}, {infinity, MnMaxCoordinate}}},

        // Staff and its definition
        {"clef", staff, setter<MnStaff>([](MnStaff& s, double v) { return s.setClef(int(v)); }), whole(T::Char),
         {MnClefTreble, MnClefTenor, MnClefBass}, {-1, 4}},
        {"key signature", staff, setter<MnStaff>([](MnStaff& s, double v) { return s.setKey(int(v)); }),
         whole(T::Char), {-7, 7, 0}, {-8, 8, 9}},
        {"time signature", staff, setter<MnStaff>([](MnStaff& s, double v) { return s.setTimeType(int(v)); }),
         whole(T::Char), {MnTimeCommon, MnTime12_8, MnTime6_8}, {-1, 11}},
        {"staff spacing", staff, setter<MnStaff>([](MnStaff& s, double v) { return s.setSpacing(v); }),
         whole(T::Double), {0.001, MnMaxCoordinate, 24}, {0, -20, notANumber, infinity, 2e9}},

        // Lines
        {"line start", dynamic, setter<MnLine>([](MnLine& l, double v) { return l.setStart(int(v), true); }),
         whole(T::Int), {0, MnMaxStaffTicks, MnTicksHalf}, {-1, MnMaxStaffTicks + 1.0}},
        {"line offset", dynamic, setter<MnLine>([](MnLine& l, double v) { return l.setOffset(v); }),
         whole(T::Double), {-MnMaxCoordinate, MnMaxCoordinate, 3.5}, {notANumber, infinity, -2e9}},
        {"dynamic kind", dynamic, setter<MnLine>([](MnLine& l, double v) { return l.setKind(int(v)); }),
         whole(T::Char), {MnDynamicPPP, MnDynamicPocoMor, MnDynamicCrescendoHairpin}, {-1, 14, 34}},
        {"octave kind", [&c] { return std::make_unique<MnOctave>(c.staff); },
         setter<MnLine>([](MnLine& l, double v) { return l.setKind(int(v)); }), whole(T::Char),
         {MnOctaveTwoDown, MnOctaveTwoUp, MnOctaveOneUp}, {-3, 3}},
        {"pedal kind", [&c] { return std::make_unique<MnPedal>(c.staff); },
         setter<MnLine>([](MnLine& l, double v) { return l.setKind(int(v)); }), whole(T::Char),
         {MnPedalSignLineHook, MnPedalSlantLineSlant, MnPedalSign}, {-1, 9}},

        // Lyric
        {"lyric start", lyric, setter<MnLyric>([](MnLyric& l, double v) { return l.setStart(int(v)); }),
         whole(T::Int), {0, MnMaxStaffTicks, MnTicksQuarter}, {-1, MnMaxStaffTicks + 1.0}},
        {"lyric voice", lyric, setter<MnLyric>([](MnLyric& l, double v) { return l.setVoice(int(v)); }),
         bits(T::Byte, 0, 4), {0, 1}, {2, 15, -1}},
        {"lyric pass-through", lyric, setter<MnLyric>([](MnLyric& l, double v) { return l.setPassThrough(int(v)); }),
         bits(T::Byte, 4, 4), {0, MnLyric::maxPassThrough, 2}, {16, -1}},

        // Part and part group
        {"part scale", part, setter<MnPart>([](MnPart& p, double v) { return p.setScale(v); }), whole(T::Double),
         {MnMinScale, MnMaxScale, 1.5}, {0, -1, 1e-310, 0.005, MnMaxScale * 1.01, notANumber, infinity}},
        {"part volume", part, setter<MnPart>([](MnPart& p, double v) { return p.setVolume(int(v)); }),
         whole(T::Char), {-128, 127, 0, -101}, {128, -129}},
        {"part instrument", part, setter<MnPart>([](MnPart& p, double v) { return p.setInstrument(int(v)); }),
         whole(T::Int), {MnInstrumentPiano, MnInstrumentSaxophone, MnInstrumentProgram, MnInstrumentProgram + 127},
         {}, {{12, MnInstrumentNone}, {127, MnInstrumentNone}, {256, MnInstrumentNone}, {-2, MnInstrumentNone}}},
        {"group bracket", group,
         setter<MnPartGroup>([](MnPartGroup& g, double v) { g.setBracketType(int(v)); return true; }),
         whole(T::Char), {0, MnPartGroup::bracketTypeCount - 1, 1}, {}, {}, {{4, 0}, {-1, 0}}},

        // Credit
        {"credit page", credit, setter<MnCredit>([](MnCredit& cr, double v) { return cr.setPage(int(v)); }),
         whole(T::Int), {0, maxPage, 3}, {-1, MnMaxPages, INT_MAX}},
        {"credit type", credit, setter<MnCredit>([](MnCredit& cr, double v) { cr.setType(int(v)); return true; }),
         whole(T::Int), {MnCreditNone, MnCreditRights, MnCreditTitle}, {}, {},
         {{6, MnCreditNone}, {-2, MnCreditNone}, {INT_MAX, MnCreditNone}}},
        {"credit alignment", credit,
         setter<MnCredit>([](MnCredit& cr, double v) { cr.setCreditAlignment(int(v)); return true; }), whole(T::Int),
         {-1, 2, 0}, {}, {}, {{3, -1}, {INT_MIN, -1}}},

        // Tempo
        {"beat unit", tempo, setter<MnTempo>([](MnTempo& t, double v) { return t.setBeatUnit(int(v)); }),
         whole(T::Int), {1, MnTempo::maxBeatUnit, MnTicksHalf}, {0, -1, MnTempo::maxBeatUnit + 1.0}},
        {"beats per minute", tempo,
         setter<MnTempo>([](MnTempo& t, double v) { return t.setBeatsPerMinute(int(v)); }), whole(T::Int),
         {1, MnMaxBeatsPerMinute, 120}, {0, -60, MnMaxBeatsPerMinute + 1.0, INT_MAX}},
        {"tempo term", tempo, setter<MnTempo>([](MnTempo& t, double v) { t.setTerm(int(v)); return true; }),
         whole(T::Char), {-1, MnTempo::termCount - 1, 8}, {}, {}, {{20, -1}, {-2, -1}}},

        // Tablature
        {"tablature distance", tablature,
         setter<MnTablature>([](MnTablature& t, double v) { return t.moveTo(GePoint2d(0, -v)); }),
         whole(T::Double), {MnTablature::minDistance + 0.5, MnMaxCoordinate, 30.5}, {}, {},
         {{3, MnTablature::minDistance}, {-20, MnTablature::minDistance}, {2e9, MnMaxCoordinate}}},
        {"tablature strings", tablature,
         setter<MnTablature>([](MnTablature& t, double v) { t.setStringCount(int(v)); return true; }),
         whole(T::Byte), {1, MnTablature::maxStrings, 4}, {}, {}, {{0, 1}, {9, 8}, {255, 8}, {-3, 1}}},
        {"tablature frets", tablature,
         setter<MnTablature>([](MnTablature& t, double v) { t.setFrets(int(v)); return true; }),
         whole(T::ByteAndFlag), {0, MnTablature::maxFrets, 12}, {}, {}, {{-1, 0}, {64, 63}, {1000, 63}}},
        {"capo fret", tablature,
         setter<MnTablature>([](MnTablature& t, double v) { t.setCapoFret(int(v)); return true; }),
         whole(T::ByteAndFlag), {0, MnTablature::maxFrets, 5}, {}, {}, {{-1, 0}, {64, 63}}},
        {"string octave", tablature,
         setter<MnTablature>([](MnTablature& t, double v) { return t.setTuning(0, 1, int(v), 0); }),
         whole(T::Char, 7, 1), {0, 127 / 7, 5}, {-1, 19}},
        {"string accidental", tablature,
         setter<MnTablature>([](MnTablature& t, double v) { return t.setTuning(0, 2, 5, int(v)); }),
         whole(T::Char), {-2, 2, 0}, {}, {{3, 0}, {-3, 0}}},

        // Score
        {"score x", score, setter<MnScore>([](MnScore& s, double v) { return s.moveTo(GePoint2d(v, -80)); }),
         whole(T::Double), {MnMaxCoordinate, -MnMaxCoordinate, 12.5}, {notANumber, infinity, 2e9}},
        {"score scale", score, setter<MnScore>([](MnScore& s, double v) { return s.setScale(v); }),
         whole(T::Double), {MnMinScale, MnMaxScale, 0.8}, {},
         {{0, 1.0}, {-2, 1.0}, {1e-310, 1.0}, {notANumber, 1.0}, {infinity, 1.0}, {MnMaxScale * 2, 1.0}}},

        // Sheet music and page layout
        {"sheet x", sheet, setter<MnSheetMusic>([](MnSheetMusic& s, double v) { return s.moveTo(GePoint2d(v, 0)); }),
         whole(T::Double), {MnMaxCoordinate, -MnMaxCoordinate, 250}, {notANumber, -infinity, 2e9}},
        {"pages per row", sheet,
         setter<MnSheetMusic>([](MnSheetMusic& s, double v) { return s.setPagesPerRow(int(v)); }), whole(T::Int),
         {1, MnMaxPagesPerRow, 3}, {0, -2}, {}, {{6, MnMaxPagesPerRow}, {INT_MAX, MnMaxPagesPerRow}}},
        {"current page", sheet,
         setter<MnSheetMusic>([](MnSheetMusic& s, double v) { s.setCurrentPage(int(v)); return true; }),
         whole(T::Int), {0, maxPage, 2}, {}, {}, {{-1, 0}, {INT_MAX, maxPage}, {MnMaxPages, maxPage}}},
        {"paper width", sheet,
         setter<MnSheetMusic>([](MnSheetMusic& s, double v) { return s.setPaperSize(int(v), 297); }), whole(T::Int),
         {1, MnMaxPaperLength, 216}, {0, -210, MnMaxPaperLength + 1, INT_MAX}},
        {"paper height", sheet,
         setter<MnSheetMusic>([](MnSheetMusic& s, double v) { return s.setPaperSize(210, int(v)); }), whole(T::Int),
         {1, MnMaxPaperLength, 279}, {0, MnMaxPaperLength + 1, INT_MAX}},
        {"left margin", sheet,
         setter<MnSheetMusic>([](MnSheetMusic& s, double v) { s.setMargins(int(v), 10, 16, 16); return true; }),
         whole(T::Int), {0, MnMaxPaperLength, 12}, {}, {}, {{-5, 0}, {INT_MAX, MnMaxPaperLength}}},
        {"bottom margin", sheet,
         setter<MnSheetMusic>([](MnSheetMusic& s, double v) { s.setMargins(10, 10, 16, int(v)); return true; }),
         whole(T::Int), {0, MnMaxPaperLength, 20}, {}, {}, {{INT_MIN, 0}, {MnMaxPaperLength + 1, MnMaxPaperLength}}},
        {"presentation", sheet,
         setter<MnSheetMusic>([](MnSheetMusic& s, double v) { s.setPresentation(int(v)); return true; }),
         whole(T::Int), {MnSheetMusic::PagesInRows, MnSheetMusic::Book}, {}, {}, {{2, 0}, {-1, 0}}},
        {"sheet system spacing", sheet,
         setter<MnSheetMusic>([](MnSheetMusic& s, double v) { return s.setSystemSpacing(v); }), whole(T::Double),
         {0, MnMaxCoordinate, 35}, {-1, notANumber, infinity}},
        {"page system spacing", layout,
         setter<MnPageLayout>([](MnPageLayout& l, double v) { return l.setSystemSpacing(v); }), whole(T::Double),
         {0, MnMaxCoordinate, 35}, {-0.5, notANumber, -infinity}},
    };
}

} // namespace

TEST(ModelRangeRules, EverySetterKeepsTheRuleOfItsReader)
{
    Context context;
    for (const Rule& rule : rules(context)) {
        SCOPED_TRACE(rule.value);
        ASSERT_GE(rule.accepted.size(), 2u);

        // Accepted values file, read back and file again byte for byte.
        for (double value : rule.accepted) {
            std::unique_ptr<MnElement> element = rule.make();
            ASSERT_TRUE(rule.set(*element, value)) << value;
            const Bytes record = recordOf(*element);
            std::unique_ptr<MnElement> copy = rule.make();
            ASSERT_TRUE(readRecord(*copy, record)) << value;
            EXPECT_EQ(recordOf(*copy), record) << value;
        }

        // The call that files the value.
        std::unique_ptr<MnElement> first = rule.make();
        std::unique_ptr<MnElement> second = rule.make();
        ASSERT_TRUE(rule.set(*first, rule.accepted[0]));
        ASSERT_TRUE(rule.set(*second, rule.accepted[1]));
        const std::vector<WriteCall> calls = writeCallsOf(*first);
        const int at = fieldCall(calls, writeCallsOf(*second), rule.field.type);
        ASSERT_GE(at, 0);
        // The record with the value filed in place of the first accepted one.
        auto recordWith = [&](double value) -> std::optional<Bytes> {
            const std::optional<WriteCall> patched = patchedCall(rule.field, calls[size_t(at)], value);
            if (!patched)
                return std::nullopt;
            std::vector<WriteCall> changed = calls;
            changed[size_t(at)] = *patched;
            return fileCalls(changed);
        };
        // What an element set to the value files.
        auto recordSetTo = [&](double value) {
            std::unique_ptr<MnElement> element = rule.make();
            rule.set(*element, value);
            return recordOf(*element);
        };
        const Bytes firstRecord = recordOf(*first);

        // Refused values change nothing, and the reader refuses them too
        // (or reads them as the value that keeps the file meaningful).
        std::vector<std::pair<double, std::optional<double>>> refusals;
        for (double value : rule.refused)
            refusals.push_back({value, std::nullopt});
        for (const auto& [value, kept] : rule.readAs)
            refusals.push_back({value, kept});
        for (const auto& [value, kept] : refusals) {
            std::unique_ptr<MnElement> element = rule.make();
            ASSERT_TRUE(rule.set(*element, rule.accepted[0]));
            EXPECT_FALSE(rule.set(*element, value)) << value;
            EXPECT_EQ(recordOf(*element), firstRecord) << value;
            const std::optional<Bytes> record = recordWith(value);
            if (!record)
                continue; // the record has no room for it
            std::unique_ptr<MnElement> read = rule.make();
            if (!kept) {
                EXPECT_FALSE(readRecord(*read, *record)) << value;
                continue;
            }
            ASSERT_TRUE(readRecord(*read, *record)) << value;
            EXPECT_EQ(recordOf(*read), recordSetTo(*kept)) << value << " reads as " << *kept;
        }

        // Values brought into range: the setter and the reader agree.
        for (const auto& [value, stored] : rule.clamped) {
            std::unique_ptr<MnElement> element = rule.make();
            EXPECT_TRUE(rule.set(*element, value)) << value;
            const Bytes expected = recordSetTo(stored);
            EXPECT_EQ(recordOf(*element), expected) << value << " becomes " << stored;
            const std::optional<Bytes> record = recordWith(value);
            if (!record)
                continue;
            std::unique_ptr<MnElement> read = rule.make();
            ASSERT_TRUE(readRecord(*read, *record)) << value;
            EXPECT_EQ(recordOf(*read), expected) << value << " reads as " << stored;
        }
    }
}
