#include "model/MnTablature.h"

#include "foundation/BcFiler.h"
#include "model/EdPath.h"
#include "model/MnCache.h"
#include "model/MnLimits.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <algorithm>
#include <cmath>

BC_IMPLEMENT_CLASS(MnTablature)

// Distance between two strings, in staff steps.
static constexpr double stringSpacing = 3.0;

MnTablature::MnTablature(MnStaff* staff)
    : tablatureStaff(staff), tablatureLabel(new MnText()),
      strings{{2, 5, 0}, {6, 4, 0}, {4, 4, 0}, {1, 4, 0}, {5, 3, 0}, {2, 3, 0}, {5, 0, 0}, {5, 0, 0}}
{
}

MnTablature::~MnTablature()
{
    delete tablatureLabel;
}

MnElement* MnTablature::parent() const
{
    return tablatureStaff;
}

static int clampInt(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}

bool MnTablature::read(BcFiler& filer)
{
    if (!MnText::read(filer))
        return false;
    double distance = 0.0;
    BcString name;
    BcString abbreviation;
    unsigned char count = 0;
    if (!filer.readDouble(distance) || !filer.readString(name) || !filer.readString(abbreviation) ||
        !filer.readByte(count))
        return false;
    // Every string is read, in use or not.
    Tuning tuning[maxStrings];
    for (Tuning& string : tuning) {
        char pitch = 0;
        char accidental = 0;
        if (!filer.readChar(pitch) || !filer.readChar(accidental))
            return false;
        int value = static_cast<signed char>(pitch);
        // The step picks a semitone from a table of seven.
        if (value < 0)
            return false;
        string.step = value % 7;
        string.octave = value / 7;
        int alteration = static_cast<signed char>(accidental);
        string.accidental = alteration >= -2 && alteration <= 2 ? alteration : 0;
    }
    char frets = 0;
    bool fromCapo = false;
    char capoFret = 0;
    bool capoOn = false;
    if (!filer.readByteAndFlag(frets, fromCapo) || !filer.readByteAndFlag(capoFret, capoOn))
        return false;

    tablatureDistance = clampedDistance(distance);
    tablatureName = name;
    tablatureAbbreviation = abbreviation;
    setStringCount(count);
    for (int i = 0; i < maxStrings; ++i)
        strings[i] = tuning[i];
    setFrets(frets);
    tablatureFretsFromCapo = fromCapo;
    setCapoFret(capoFret);
    tablatureCapoOn = capoOn;
    return filer.isOk();
}

bool MnTablature::write(BcFiler& filer) const
{
    MnText::write(filer);
    filer.writeDouble(tablatureDistance);
    filer.writeString(tablatureName);
    filer.writeString(tablatureAbbreviation);
    filer.writeByte((unsigned char)tablatureStringCount);
    for (const Tuning& string : strings) {
        filer.writeChar(char(string.octave * 7 + string.step));
        filer.writeChar(char(string.accidental));
    }
    filer.writeByteAndFlag(char(tablatureFrets), tablatureFretsFromCapo);
    filer.writeByteAndFlag(char(tablatureCapoFret), tablatureCapoOn);
    return filer.isOk();
}

double MnTablature::staffHeightUnscaled() const
{
    if (!tablatureStaff)
        return 0.0;
    double partScale = tablatureStaff->partScale();
    return partScale > 0.0 ? tablatureStaff->height() / partScale : tablatureStaff->height();
}

GePoint2d MnTablature::position() const
{
    return GePoint2d(0.0, -staffHeightUnscaled() - tablatureDistance);
}

double MnTablature::width() const
{
    return tablatureStaff ? tablatureStaff->width() : 0.0;
}

double MnTablature::height() const
{
    return (tablatureStringCount - 1) * stringSpacing;
}

double MnTablature::clampedDistance(double distance)
{
    // A distance that cannot be drawn falls back to the least one.
    if (!(distance > minDistance))
        return minDistance; // also NaN
    return distance > MnMaxCoordinate ? MnMaxCoordinate : distance;
}

bool MnTablature::moveTo(const GePoint2d& point)
{
    if (!isMove(position(), point))
        return false;
    tablatureDistance = clampedDistance(-point.y - staffHeightUnscaled());
    return true;
}

GePoint2d MnTablature::dragPosition(const EdPath* path) const
{
    GePoint2d at = position();
    int page = 0;
    int system = 0;
    if (!tablatureStaff || !tablatureStaff->locateSystem(path, page, system))
        return at;
    MnCache scope;
    const MnScore* score = tablatureStaff->score();
    at.y -= score->sheetMusic()->systemDistance(page) / score->scale() * system * tablatureStaff->partScale();
    return at;
}

bool MnTablature::dragTo(const GePoint2d& point, const EdPath* path)
{
    if (!tablatureStaff || !tablatureStaff->isSystemPath(path) || !std::isfinite(point.y))
        return false;
    const MnScore* score = tablatureStaff->score();
    const MnSheetMusic* sheet = score->sheetMusic();
    if (!sheet)
        return moveTo(point);
    MnCache scope;
    int page = 0;
    int system = 0;
    if (!tablatureStaff->locateSystem(path, page, system) || page != 0)
        return false;
    // Every system above grows by the same amount, so the grabbed one
    // moves system + 1 times the change.
    const double shift = (point.y - dragPosition(path).y) / (system + 1);
    if (shift == 0.0)
        return false;
    const double scale = score->scale();
    const double usable = sheet->pageHeight() - sheet->topMargin() - sheet->bottomMargin();
    const double lowest = -((usable + score->position().y - sheet->systemDistance(0) * system -
                             score->height() * scale - 0.1) /
                            (system + 1) / (scale * tablatureStaff->partScale()));
    const GePoint2d at = position();
    return moveTo(GePoint2d(at.x, at.y + std::max(shift, lowest)));
}

void MnTablature::relayout()
{
    MnScore* score = tablatureStaff ? tablatureStaff->score() : nullptr;
    if (score)
        score->moveTo(score->position());
}

bool MnTablature::setTuning(int string, int step, int octave, int accidental)
{
    if (string < 0 || string >= maxStrings || step < 0 || step > 6 || accidental < -2 || accidental > 2 ||
        octave < 0 || octave > 127 / 7 || octave * 7 + step > 127)
        return false;
    strings[string] = Tuning{step, octave, accidental};
    return true;
}

void MnTablature::setStringCount(int count)
{
    tablatureStringCount = clampInt(count, 1, maxStrings);
}

void MnTablature::setFrets(int frets)
{
    tablatureFrets = clampInt(frets, 0, maxFrets);
}

void MnTablature::setCapoFret(int fret)
{
    tablatureCapoFret = clampInt(fret, 0, maxFrets);
}

MnText* MnTablature::labelText(bool abbreviated)
{
    MnScore* score = tablatureStaff ? tablatureStaff->score() : nullptr;
    double largest = score ? score->scaledByLargestPart(1.0) : 1.0;
    tablatureLabel->moveTo(GePoint2d(-3.0 * largest, 0.0));
    tablatureLabel->setAlignment(5);
    tablatureLabel->setFont(font());
    tablatureLabel->setSize((tablatureStaff ? tablatureStaff->partScale() : 1.0) * size());
    tablatureLabel->setUnderline(isUnderlined());
    tablatureLabel->setText(abbreviated ? tablatureAbbreviation : tablatureName);
    return tablatureLabel;
}
