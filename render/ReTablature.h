#pragma once

#include "foundation/BcArray.h"
#include "foundation/GePoint2d.h"
#include "render/ReComposer.h"

#include <memory>
#include <vector>

class MnChord;
class MnElement;
class MnNote;
class MnTablature;
class ReSystem;

// Draws the tablature below one staff of a system: the "T A B" clef and the
// capo in the header, then measure by measure the fret of every note on the
// string that plays it, with the string lines broken around the numbers.
// Without a tablature every operation does nothing.
class ReTablature : public ReComposer
{
    BC_DECLARE_CLASS(ReTablature)
public:
    ReTablature();
    ~ReTablature() override;

    void init(ReRenderer* renderer, ReSystem* system, MnTablature* tablature);
    // The clef and the strings from at.x over width; at.y is the first
    // string. With keepColour the caller's colour stays.
    void drawHeader(GePoint2d at, double width, bool keepColour);
    void drawCapo(int colourMode, double x, double y);
    // Files the chord's notes in the column at x for this measure.
    void addChord(MnChord* chord, double x);
    // Gives the filed notes their strings and draws the strings on to xEnd
    // with the frets; the element's selection colours the strings too.
    void flush(MnElement* element, double xEnd);

    struct TabString
    {
        double x0 = 0.0;  // where the next line segment starts
        double x1 = 0.0;  // where it ends
        BcArray<MnNote*> notes;
        BcArray<double> xs;
        BcArray<unsigned char> frets;
    };
    struct TabColumn
    {
        double x = 0.0;
        BcArray<MnNote*> notes;
    };

    ReSystem* system = nullptr;
    MnTablature* tablature = nullptr;
    double top = 0.0;  // the first string; string i lies 3 below string i - 1
    bool keepColour = false;
    std::vector<TabString> strings;
    std::vector<std::unique_ptr<TabColumn>> columns;

private:
    void assignStrings(int columnIndex);
    void drawTabClef(int colourMode, double x, double y);
    void drawStrings(int colourMode);
    double compensated(double x) const;
};
