// Text composition: text elements, part and group labels with their
// brackets, and the note figure of metronome marks.

#include "foundation/BcString.h"
#include "model/MnCodes.h"
#include "model/MnCredit.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"
#include "model/MnText.h"
#include "model/MnTicks.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

#include <algorithm>

// Whether lower-casing would change the text (it holds capitals). Covers
// the characters the fonts can draw: ASCII and Latin-1.
static bool hasCapitals(const BcString& text)
{
    for (int i = 0; i < text.length(); ++i) {
        char16_t c = text[i];
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            return true;
    }
    return false;
}

// Height of a probe letter in the text's size and font; 0 when it cannot
// be measured.
static double probeHeight(ReRenderer* renderer, const char* letter, double size, int font)
{
    double x = 0, y = 0, width = 0, height = 0;
    if (!renderer->measureText(BcString(letter), size, font, false, &x, &y, &width, &height))
        return 0.0;
    return height;
}

// A tempo mark without term and custom text shows its note figure in front
// of its own " = " text.
static bool figureLeadsText(const MnTempo* tempo)
{
    return tempo->term() == -1 && tempo->customText().isEmpty();
}

// Room for the note figure of a metronome mark: more for a flag or a dot.
static double figureRoom(const MnTempo* tempo)
{
    int beat = tempo->beatUnit();
    bool dotted = mnIsDottedDuration(beat);
    int plain = dotted ? beat / 3 * 2 : beat;
    return (plain <= MnTicksEighth || dotted) ? 4.5 : 3.5;
}

void ReSystem::composeText(MnText* text, GePoint2d origin, MnElement* pickElement)
{
    if (!text)
        return;
    const BcString& string = text->text();
    double size = text->size();
    int font = text->font();
    bool underline = text->isUnderlined();

    double boxX = 0, boxY = 0, boxWidth = 0, boxHeight = 0;
    if (!renderer->measureText(string, size, font, underline, &boxX, &boxY, &boxWidth, &boxHeight))
        return;

    MnTempo* tempo = text->isKindOf(MnTempo::staticClass()) ? static_cast<MnTempo*>(text) : nullptr;
    double room = tempo && figureLeadsText(tempo) ? figureRoom(tempo) : 0.0;
    GePoint2d position = text->position();
    double x = position.x + origin.x + room;
    double y = position.y + origin.y;

    if (text->isKindOf(MnCredit::staticClass()))
        placeCredit(static_cast<MnCredit*>(text), origin, &x, &y);

    // Alignment: the column shifts left by half or all of the width; the row
    // moves the box against its anchor. Measured heights are zero or
    // negative (the box reaches down from its top), so subtracting one
    // raises the text.
    int alignment = text->alignment();
    if (alignment == 1 || alignment == 4 || alignment == 7 || alignment == 10)
        x -= boxWidth / 2;
    else if (alignment == 2 || alignment == 5 || alignment == 8 || alignment == 11)
        x -= boxWidth;
    if (alignment >= 3 && alignment <= 5) {
        double lowerHeight = probeHeight(renderer, "a", size, font);
        if (!hasCapitals(string))
            y -= lowerHeight / 2;
        else
            y -= probeHeight(renderer, "A", size, font) - lowerHeight / 2;
    } else if (alignment >= 6 && alignment <= 8) {
        y -= boxHeight;
    } else if (alignment >= 9 && alignment <= 11) {
        y -= probeHeight(renderer, "A", size, font);
    }

    MnElement* reported = pickElement ? pickElement : text;
    renderer->drawText(string, x - boxX, y - boxY, size, font, underline);
    renderer->markRect(GePoint2d(x, y), boxWidth, boxHeight, reported);

    if (tempo && (tempo->showsMetronome() || figureLeadsText(tempo)))
        composeMetronomeFigure(tempo, origin, x, y, boxWidth, boxHeight, room, reported);
}

// A credit stands on its page: justified credits between the page's
// margins whatever their stored x, free ones at their x from the left margin.
void ReSystem::placeCredit(MnCredit* credit, GePoint2d origin, double* x, double* y)
{
    setColorBySelection(credit);
    MnSheetMusic* sheet = credit->sheetMusic();
    if (!sheet)
        return;
    int page = credit->page();
    double left = sheet->leftMargin(page);
    double right = sheet->rightMargin(page);
    double pageWidth = sheet->pageWidth();
    *y -= sheet->topMargin();
    switch (credit->creditAlignment()) {
    case 0:
        *x = left + origin.x;
        break;
    case 1:
        *x = left + origin.x + (pageWidth - left - right) / 2;
        break;
    case 2:
        *x = pageWidth + origin.x - right;
        break;
    default:
        *x = left + credit->position().x + origin.x;
        break;
    }
}

// The note of the beat after the text (or before it, for a mark that shows
// only " = n"), and " = n" after the note when the text is a term.
void ReSystem::composeMetronomeFigure(MnTempo* tempo, GePoint2d origin, double x, double y, double width,
                                      double height, double room, MnElement* reported)
{
    int beat = tempo->beatUnit();
    bool dotted = mnIsDottedDuration(beat);
    int duration = dotted ? beat / 3 * 2 : beat;
    bool leads = figureLeadsText(tempo);
    GePoint2d point(x + 1.5 - room, y + height + 1);
    if (!leads)
        point.x += width + 2.5;
    drawNote(point.x, point.y, duration, dotted, 0, 0, MnAccidentalNone, 0);
    drawStem(point.x, point.y, 0, 0, 1, duration, false, false);
    double figureWidth = leads ? room : figureRoom(tempo);
    renderer->markRect(GePoint2d(point.x - 1.5, point.y - 1), figureWidth, 8, reported);
    if (leads)
        return;

    MnText equals;
    equals.setFont(tempo->font());
    equals.setSize(tempo->size());
    equals.setUnderline(tempo->isUnderlined());
    equals.setAlignment(tempo->alignment());
    equals.setText(BcString(" = ") + BcString(tempo->beatsPerMinute()));
    composeText(&equals, GePoint2d(point.x - 1.5 + figureWidth, tempo->position().y + origin.y), reported);
}

void ReSystem::composePartNames(MnElement* owner, int pickWork, int firstStaff, int staffCount, GePoint2d origin,
                                double bracketEndX, bool abbreviated)
{
    if (!owner)
        return;
    MnScore* score = nullptr;
    MnPartGroup* ownerGroup = nullptr;
    if (owner->isKindOf(MnScore::staticClass())) {
        score = static_cast<MnScore*>(owner);
    } else if (owner->isKindOf(MnPartGroup::staticClass())) {
        ownerGroup = static_cast<MnPartGroup*>(owner);
        score = ownerGroup->score();
    }
    if (!score || score->staffCount() == 0)
        return;

    int end = std::min(firstStaff + staffCount, score->staffCount());
    double topY = score->staff(0)->position().y;
    for (int staff = std::max(firstStaff, 0); staff < end;) {
        double staffOffset = score->staff(staff)->position().y - topY;
        MnPartGroup* group = score->childPartGroup(staff, ownerGroup);
        if (group) {
            composeGroupLabel(score, group, pickWork, origin, bracketEndX, abbreviated);
            staff += std::max(group->staffCount(), 1);
            continue;
        }

        MnPart* part = score->part(staff);
        double partScale = part->partScale();
        setColorBySelection(part);
        GePoint2d labelOrigin(origin.x, origin.y + staffOffset - 4 * partScale);  // the middle of the staff
        MnText* label = part->label();
        label->moveTo(GePoint2d(score->scaledByLargestPart(-3), 0));
        label->setAlignment(5);
        label->setFont(part->font());
        label->setSize(part->size() * partScale);
        label->setUnderline(part->isUnderlined());
        label->setText(abbreviated ? part->abbreviation() : part->name());
        composeText(label, labelOrigin, part);

        MnTablature* tablature = score->staff(staff)->tablature();
        if (tablature) {
            setColorBySelection(tablature);
            double tablatureMiddle = origin.y + staffOffset + tablature->position().y * partScale
                - tablature->height() * partScale / 2;
            composeText(tablature->labelText(abbreviated), GePoint2d(labelOrigin.x, tablatureMiddle), tablature);
        }
        ++staff;
    }
}

// A group's label, its bracket with the pick marks of its two halves, then
// the groups and staves inside it, 1.5 further left.
void ReSystem::composeGroupLabel(MnScore* score, MnPartGroup* group, int pickWork, GePoint2d origin,
                                 double bracketEndX, bool abbreviated)
{
    setColorBySelection(group);
    int first = group->firstStaff();
    GePoint2d groupOrigin = origin;
    if (first > 0 && first < score->staffCount())
        groupOrigin.y += score->staff(first)->position().y - score->staff(0)->position().y;
    double height = group->height();
    double scale = group->maxPartScale();
    if (!(scale > 0.0))
        scale = 1.0;  // a group without parts still gets a bracket of its height

    MnText* label = group->label();
    label->moveTo(GePoint2d(-5 * scale, 0));
    label->setAlignment(5);
    label->setFont(group->font());
    label->setSize(group->size() * scale);
    label->setUnderline(group->isUnderlined());
    label->setText(abbreviated ? group->abbreviation() : group->name());
    composeText(label, GePoint2d(groupOrigin.x, groupOrigin.y - height / 2), group);

    if (!score->hidesStaves()) {
        renderer->pushScale(groupOrigin.x, groupOrigin.y, scale);
        double bracketHeight = height / scale;
        drawGroupBracket(groupOrigin.x, groupOrigin.y, bracketHeight, group->bracketType(), bracketEndX);
        double pickWidth = -(group->bracketType() != 0 ? 2 : 4);
        if (pickWork < 0) {
            renderer->markRect(groupOrigin, pickWidth, -bracketHeight, group);
        } else {
            for (int half = 0; half < 2; ++half) {
                renderer->pickPath = EdPath(EdPath::KindPartGroup, pickWork, 0, first, group->staffCount(), half);
                GePoint2d corner(groupOrigin.x, groupOrigin.y - half * bracketHeight / 2);
                renderer->markRect(corner, pickWidth, -bracketHeight / 2, group);
            }
            renderer->pickPath = EdPath::unset();
        }
        renderer->popTransform();
    }

    composePartNames(group, pickWork, first, group->staffCount(), GePoint2d(origin.x - 1.5 * scale, origin.y),
                     bracketEndX, abbreviated);
}
