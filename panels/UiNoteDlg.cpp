#include "panels/UiNoteDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnChord.h"
#include "model/MnNote.h"
#include "panels/UiPageAnchors.h"

namespace {

// Chord articulation bits of the six boxes, in member order.
constexpr int articulationBits[6] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x40};
constexpr int slurBit = 0x20;
// Eighths and shorter take beams.
constexpr int longestBeamable = 30240;

enum Control
{
    accidentalGroup = 1002,
    stemGroup = 1005,
    invertCheck = 1071,
    slashPicture = 1107,
    slashCheck = 1108,
    beamBox = 1077,
    beamGroup = 1008,
    tieBox = 1085,
    tiePicture = 1083,
    tieCheck = 1090,
    tieSideGroup = 1014,
    slurCheck = 1098,
    slurSideGroup = 1019,
    slurStartPicture = 1110,
    slurStartCheck = 1111,
    arpeggioBox = 1094,
    arpeggioPicture = 1103,
    arpeggioCheck = 1104,
    arpeggioTypeGroup = 1016,
};

const int articulationChecks[6] = {1092, 1093, 1095, 1096, 1097, 1091};
const int articulationPictures[6] = {1072, 1073, 1074, 1075, 1087, 1089};

// The pictures of the page with their bitmaps.
const int pictures[][2] = {
    {1063, 263}, {1064, 261}, {1065, 262}, {1067, 260}, {1068, 264}, {1078, 265}, {1079, 266}, {1107, 342},
    {1080, 267}, {1081, 268}, {1082, 269}, {1109, 343}, {1083, 276}, {1084, 278}, {1086, 277}, {1088, 294},
    {1105, 340}, {1106, 339}, {1110, 344}, {1072, 289}, {1073, 288}, {1074, 291}, {1075, 292}, {1087, 290},
    {1089, 293}, {1103, 338}, {1099, 335}, {1100, 336}, {1101, 337},
};

// Placement codes as radio indexes: 0 automatic, 1 below, 2 above.
int sideIndex(int placement)
{
    return placement < 0 ? 1 : placement > 0 ? 2 : 0;
}

int placementOf(int index)
{
    return index == 1 ? -1 : index == 2 ? 1 : 0;
}

int stemIndex(int setting)
{
    return setting > 0 ? 1 : setting < 0 ? 2 : 0;
}

void setBit(int& bits, int bit, bool on)
{
    bits = on ? bits | bit : bits & ~bit;
}

}

BcString UiNoteDlg::title() const
{
    return BcStringResources::current().loadString(10024);
}

const BcClass* UiNoteDlg::elementClass() const
{
    return MnNote::staticClass();
}

int UiNoteDlg::undottedValue(const MnChord& chord)
{
    int value = chord.duration();
    for (int dotted : {5670, 11340, 22680, 45360, 90720, 181440})
        if (value == dotted)
            return value / 3 * 2;
    return value;
}

bool UiNoteDlg::isBeamable(const MnChord& chord)
{
    return undottedValue(chord) <= longestBeamable;
}

void UiNoteDlg::scaleBitmaps()
{
    for (const auto& picture : pictures)
        setScaledBitmap(picture[0], picture[1]);
}

void UiNoteDlg::setupAnchors()
{
    addAnchors(UiPageAnchors::note, UiPageAnchors::noteCount);
}

bool UiNoteDlg::loadElement(MnElement* element, bool merge)
{
    MnNote* note = static_cast<MnNote*>(element);
    MnChord* chord = note->chord();
    if (!chord)
        return false;
    int values[] = {note->accidental() + 2,
                    stemIndex(chord->stemSetting()),
                    chord->isStemInverted() ? 1 : 0,
                    chord->hasGraceSlash() ? 1 : 0,
                    chord->beamMode() + 1,
                    note->isTied() ? 1 : 0,
                    sideIndex(note->tiePlacement()),
                    chord->hasArticulation(slurBit) ? 1 : 0,
                    sideIndex(chord->slurPlacement()),
                    chord->isSlurStart() ? 1 : 0,
                    note->hasArpeggio() ? 1 : 0,
                    note->arpeggioType(),
                    chord->isGrace() ? 1 : 0,
                    isBeamable(*chord) ? 1 : 0};
    int* radios[] = {&accidental, &stem, nullptr, nullptr, &beam, nullptr, &tieSide,
                     nullptr, &slurSide, nullptr, nullptr, &arpeggioType, nullptr, nullptr};
    int* checks[] = {nullptr, nullptr, &invertStem, &graceSlash, nullptr, &tie, nullptr,
                     &slur, nullptr, &slurStart, &arpeggio, nullptr, &grace, &beamable};
    for (int i = 0; i < int(sizeof values / sizeof values[0]); ++i) {
        if (radios[i])
            merge ? mergeChoice(*radios[i], values[i]) : void(*radios[i] = values[i]);
        else if (merge)
            mergeCheck(*checks[i], values[i]);
        else
            *checks[i] = values[i];
    }
    for (int i = 0; i < 6; ++i) {
        int on = chord->hasArticulation(articulationBits[i]) ? 1 : 0;
        merge ? mergeCheck(articulations[i], on) : void(articulations[i] = on);
    }
    return true;
}

bool UiNoteDlg::applyToElement(MnElement* element)
{
    MnNote* note = static_cast<MnNote*>(element);
    MnChord* chord = note->chord();
    if (!chord)
        return false;
    // The stored accidental chosen again neither rewrites nor re-sorts.
    if (accidental != -1 && accidental != note->accidental() + 2 && note->setAccidental(accidental - 2))
        chord->sortNotes();
    if (stem != -1)
        chord->setStemDirection(stem == 1 ? 1 : stem == 2 ? -1 : 0);
    if (invertStem != 2)
        chord->setStemInverted(invertStem == 1);
    if (graceSlash != 2 && chord->isGrace())
        chord->setGraceSlash(graceSlash == 1);
    if (beam != -1 && isBeamable(*chord))
        chord->setBeamMode(beam - 1);
    if (!chord->isGrace()) {
        if (tie != 2)
            note->setTied(tie == 1);
        if (tieSide != -1)
            note->setTiePlacement(placementOf(tieSide));
    }
    if (slurSide != -1)
        chord->setSlurPlacement(placementOf(slurSide));
    if (slurStart != 2)
        chord->setSlurStart(slurStart == 1);
    if (slur != 2)
        chord->setArticulation(slurBit, slur == 1);
    int bits = chord->articulations();
    for (int i = 0; i < 6; ++i)
        if (articulations[i] != 2)
            setBit(bits, articulationBits[i], articulations[i] == 1);
    chord->setArticulations(bits);
    if (chord->isGrace())
        return true;
    if (arpeggio != 2)
        note->setArpeggio(arpeggio == 1);
    if (arpeggioType != -1)
        note->setArpeggioType(arpeggioType);
    return true;
}

void UiNoteDlg::exchange(UiDataExchange& dx)
{
    dx.radio(accidentalGroup, accidental);
    dx.radio(stemGroup, stem);
    dx.check(invertCheck, invertStem);
    dx.check(slashCheck, graceSlash);
    dx.radio(beamGroup, beam);
    dx.check(tieCheck, tie);
    dx.radio(tieSideGroup, tieSide);
    dx.check(slurCheck, slur);
    dx.radio(slurSideGroup, slurSide);
    dx.check(slurStartCheck, slurStart);
    for (int i = 0; i < 6; ++i)
        dx.check(articulationChecks[i], articulations[i]);
    dx.check(arpeggioCheck, arpeggio);
    dx.radio(arpeggioTypeGroup, arpeggioType);
    enableGroups();
}

void UiNoteDlg::enableGroups()
{
    UiControlHost& h = host();
    h.show(slashPicture, grace != 0);
    h.show(slashCheck, grace != 0);
    bool beams = beamable != 0;
    for (int id : {int(beamBox), 1080, 1081, 1082, 1109, 1008, 1009, 1010, 1011, 1015})
        h.enable(id, beams);
    bool graceOnly = grace == 1;
    for (int id : {int(tieBox), int(tiePicture), int(tieCheck)})
        h.enable(id, !graceOnly);
    for (int id : {1084, 1086, 1014, 1012, 1013})
        h.enable(id, !graceOnly && tie != 0);
    for (int id : {int(arpeggioBox), int(arpeggioPicture), int(arpeggioCheck)})
        h.enable(id, !graceOnly);
    for (int id : {1099, 1100, 1101, 1016, 1017, 1018})
        h.enable(id, !graceOnly && arpeggio != 0);
    for (int id : {1105, 1106, 1019, 1020, 1021, int(slurStartPicture), int(slurStartCheck)})
        h.enable(id, slur != 0);
}

void UiNoteDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (what != UiControlHost::clicked)
        return;
    // Pictures and radios that pick an index of a radio member.
    struct Choice
    {
        int id;
        int UiNoteDlg::*member;
        int index;
    };
    static const Choice choices[] = {
        {1063, &UiNoteDlg::accidental, 0}, {1002, &UiNoteDlg::accidental, 0},
        {1064, &UiNoteDlg::accidental, 1}, {1000, &UiNoteDlg::accidental, 1},
        {1065, &UiNoteDlg::accidental, 2}, {1001, &UiNoteDlg::accidental, 2},
        {1067, &UiNoteDlg::accidental, 3}, {1003, &UiNoteDlg::accidental, 3},
        {1068, &UiNoteDlg::accidental, 4}, {1004, &UiNoteDlg::accidental, 4},
        {1070, &UiNoteDlg::accidental, 5},
        {1005, &UiNoteDlg::stem, 0}, {1078, &UiNoteDlg::stem, 1}, {1006, &UiNoteDlg::stem, 1},
        {1079, &UiNoteDlg::stem, 2}, {1007, &UiNoteDlg::stem, 2},
        {1008, &UiNoteDlg::beam, 0}, {1080, &UiNoteDlg::beam, 1}, {1009, &UiNoteDlg::beam, 1},
        {1081, &UiNoteDlg::beam, 2}, {1010, &UiNoteDlg::beam, 2}, {1082, &UiNoteDlg::beam, 3},
        {1011, &UiNoteDlg::beam, 3}, {1109, &UiNoteDlg::beam, 4}, {1015, &UiNoteDlg::beam, 4},
        {1014, &UiNoteDlg::tieSide, 0}, {1084, &UiNoteDlg::tieSide, 1}, {1012, &UiNoteDlg::tieSide, 1},
        {1086, &UiNoteDlg::tieSide, 2}, {1013, &UiNoteDlg::tieSide, 2},
        {1019, &UiNoteDlg::slurSide, 0}, {1105, &UiNoteDlg::slurSide, 1}, {1020, &UiNoteDlg::slurSide, 1},
        {1106, &UiNoteDlg::slurSide, 2}, {1021, &UiNoteDlg::slurSide, 2},
        {1099, &UiNoteDlg::arpeggioType, 0}, {1016, &UiNoteDlg::arpeggioType, 0},
        {1100, &UiNoteDlg::arpeggioType, 1}, {1017, &UiNoteDlg::arpeggioType, 1},
        {1101, &UiNoteDlg::arpeggioType, 2}, {1018, &UiNoteDlg::arpeggioType, 2},
    };
    // Pictures and boxes that toggle a check member.
    struct Toggle
    {
        int picture, check;
        int* member;
    };
    const Toggle toggles[] = {
        {0, invertCheck, &invertStem},       {slashPicture, slashCheck, &graceSlash},
        {tiePicture, tieCheck, &tie},        {1088, slurCheck, &slur},
        {slurStartPicture, slurStartCheck, &slurStart}, {arpeggioPicture, arpeggioCheck, &arpeggio},
        {articulationPictures[0], articulationChecks[0], &articulations[0]},
        {articulationPictures[1], articulationChecks[1], &articulations[1]},
        {articulationPictures[2], articulationChecks[2], &articulations[2]},
        {articulationPictures[3], articulationChecks[3], &articulations[3]},
        {articulationPictures[4], articulationChecks[4], &articulations[4]},
        {articulationPictures[5], articulationChecks[5], &articulations[5]},
    };
    bool handled = false;
    for (const Choice& choice : choices) {
        if (choice.id == controlId) {
            this->*choice.member = choice.index;
            handled = true;
            break;
        }
    }
    for (const Toggle& toggle : toggles) {
        if (!handled && (toggle.check == controlId || (toggle.picture != 0 && toggle.picture == controlId))) {
            *toggle.member = toggled(*toggle.member);
            handled = true;
        }
    }
    if (!handled)
        return;
    updateData(false);
    apply(true);
}
