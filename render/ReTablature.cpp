#include "render/ReTablature.h"

#include "foundation/BcClassManager.h"
#include "foundation/BcString.h"
#include "model/MnChord.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "render/ReRenderer.h"
#include "render/ReServices.h"
#include "render/ReSystem.h"

BC_IMPLEMENT_CLASS(ReTablature)

static constexpr double stringDistance = 3.0;
static constexpr double fretSize = 8.0;
static constexpr int fretFont = 5;  // Arial bold
// Room left clear of the string line on each side of a fret number.
static constexpr double fretGap = 0.5;

ReTablature::ReTablature()
    : ReComposer(nullptr)
{
}

ReTablature::~ReTablature() = default;

double ReTablature::compensated(double x) const
{
    return system ? system->compensated(x) : x;
}

void ReTablature::init(ReRenderer* renderer, ReSystem* system, MnTablature* tablature)
{
    this->renderer = renderer;
    this->system = system;
    this->tablature = tablature;
    keepColour = false;
    strings.clear();
    columns.clear();
    if (tablature)
        strings.resize(std::max(tablature->stringCount(), 0));
}

void ReTablature::drawHeader(GePoint2d at, double width, bool keep)
{
    keepColour = keep;
    if (tablature) {
        const int mode = renderer->contains(tablature) ? 3 : 2;
        drawTabClef(mode, at.x, at.y);
        top = at.y;
        for (TabString& string : strings) {
            string.x0 = at.x;
            string.x1 = at.x + width;
        }
        drawStrings(mode);
        for (TabString& string : strings)
            string.x0 = string.x1;
    }
    keepColour = false;
}

void ReTablature::drawTabClef(int colourMode, double x, double y)
{
    if (!keepColour)
        setColorMode(colourMode);
    const int count = tablature->stringCount();
    const double size = count == 3 ? 5.0 : count == 4 ? 9.0 : count == 5 ? 11.0 : 14.0;
    const MnScore* score = tablature->staff() ? tablature->staff()->score() : nullptr;
    const double clefWidth = score ? score->clefWidth() : 0.0;
    const double x0 = compensated(x + 0.45 * clefWidth);
    // The three letters stand centred on x0, "T" on top, 0.5 apart, the
    // block centred on the middle of the strings.
    static const char* const letters[] = {"T", "A", "B"};
    for (int i = 0; i < 3; ++i) {
        const BcString letter(letters[i]);
        double bx = 0, by = 0, w = 0, h = 0;
        if (!renderer->measureText(letter, size, fretFont, false, &bx, &by, &w, &h))
            continue;
        const double d = h - 0.5;
        if (i == 0)
            y -= (count - 1) * stringDistance * 0.5 + h / 2 + d;
        renderer->drawText(letter, x0 - w / 2 - bx, y - by, size, fretFont, false);
        y += d;
    }
}

void ReTablature::drawCapo(int colourMode, double x, double y)
{
    if (!tablature)
        return;
    if (!keepColour)
        setColorMode(colourMode);
    const double xc = compensated(x);
    const double bottom = y - stringDistance * (tablature->stringCount() - 1) - 1.0;
    fillBar(xc - 1.2, bottom, xc + 1.2, y + 1.0);
    const BcString fret(tablature->capoFret());
    double bx = 0, by = 0, w = 0, h = 0;
    if (!renderer->measureText(fret, fretSize, fretFont, false, &bx, &by, &w, &h))
        return;
    const double tx = xc - w / 2;
    const double ty = y + 2.0 - h;
    renderer->drawText(fret, tx - bx, ty - by, fretSize, fretFont, false);
    renderer->markRect(GePoint2d(tx, ty), w, h, tablature);
}

void ReTablature::addChord(MnChord* chord, double x)
{
    if (!tablature || !chord)
        return;
    TabColumn* column = nullptr;
    for (const std::unique_ptr<TabColumn>& candidate : columns) {
        if (candidate->x == x) {
            column = candidate.get();
            break;
        }
    }
    if (!column) {
        columns.push_back(std::make_unique<TabColumn>());
        column = columns.back().get();
        column->x = x;
    }
    for (int n = 0; n < chord->noteCount(); ++n) {
        MnNote* note = chord->note(n);
        int below = 0;
        for (int i = 0; i < column->notes.count(); ++i) {
            if (note->diatonicPosition() - column->notes[i]->diatonicPosition() >= 1)
                ++below;
        }
        if (below == 0)
            column->notes.add(note);
        else
            column->notes.insertAt(below - 1, note);
    }
}

void ReTablature::flush(MnElement* element, double xEnd)
{
    if (!tablature)
        return;
    for (int i = 0; i < int(columns.size()); ++i)
        assignStrings(i);
    columns.clear();
    for (TabString& string : strings)
        string.x1 = xEnd;
    const bool selected = renderer->contains(tablature) || (element && renderer->contains(element));
    drawStrings(selected ? 3 : 2);
    for (TabString& string : strings) {
        string.x0 = string.x1;
        string.notes.removeAll();
        string.xs.removeAll();
        string.frets.removeAll();
    }
}

void ReTablature::assignStrings(int columnIndex)
{
    const TabColumn& column = *columns[columnIndex];
    BcArray<int> used;
    for (int i = column.notes.count() - 1; i >= 0; --i) {
        MnNote* note = column.notes[i];
        int string = 0;
        int fret = 0;
        if (!tablature->findStringAndFret(note, string, fret, used))
            continue;
        if (string < 0 || string >= int(strings.size()))
            continue;
        used.add(string);
        strings[string].notes.add(note);
        strings[string].xs.add(column.x);
        strings[string].frets.add(static_cast<unsigned char>(fret));
    }
}

void ReTablature::drawStrings(int colourMode)
{
    const double height = renderer->extrusionHeight;
    const double half = staffLineThickness / 2;
    for (int i = 0; i < int(strings.size()); ++i) {
        TabString& string = strings[i];
        const double y = top - stringDistance * i;
        double xs = compensated(string.x0);
        const double xe = compensated(string.x1);
        for (int j = 0; j < string.notes.count(); ++j) {
            const BcString text(int(string.frets[j]));
            double bx = 0, by = 0, w = 0, h = 0;
            if (!renderer->measureText(text, fretSize, fretFont, false, &bx, &by, &w, &h))
                continue;
            renderer->extrusionHeight = height;
            MnNote* note = string.notes[j];
            const MnChord* chord = note->chord();
            if (!keepColour) {
                if (ReServices::current().isNotePlaying(chord, 0))
                    setColorMode(5);
                else if (renderer->contains(note))
                    setColorMode(chord && chord->voice() != 0 ? 4 : 3);
                else
                    setColorMode(2);
            }
            const double xc = compensated(string.xs[j]);
            const double tx = xc - w / 2;
            const double ty = y - h / 2;
            renderer->drawText(text, tx - bx, ty - by, fretSize, fretFont, false);
            renderer->markRect(GePoint2d(tx, ty), w, h, note);

            renderer->extrusionHeight = staffDepth;
            if (!keepColour)
                setColorMode(colourMode);
            fillBar(xs, y - half, xc - (w / 2 + fretGap), y + half);
            xs = xc + w / 2 + fretGap;
        }
        renderer->extrusionHeight = staffDepth;
        if (!keepColour)
            setColorMode(colourMode);
        fillBar(xs, y - half, xe, y + half);
    }
    renderer->extrusionHeight = height;
}
