#include "model/MnPart.h"

#include "foundation/BcFiler.h"
#include "model/MnLimits.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

BC_IMPLEMENT_CLASS(MnPart)

// The room between two staves grows with the scales of both, by this much
// per unit of scale (the least gap when a staff is dragged is 6 x the sum).
static constexpr double spacingPerScale = 6.0;

MnPart::MnPart(MnScore* score, int staffIndex)
    : partScore(score), partStaffIndex(staffIndex), partLabel(new MnText())
{
}

MnPart::~MnPart()
{
    delete partLabel;
}

MnElement* MnPart::parent() const
{
    return partScore;
}

bool MnPart::isValidInstrument(int instrument)
{
    return instrument == -1 || (instrument >= 0 && instrument <= 11) ||
           (instrument >= 128 && instrument <= 255);
}

bool MnPart::read(BcFiler& filer)
{
    if (!MnText::read(filer))
        return false;
    int version = filer.version();
    if (version > 2) {
        double scale = 1.0;
        if (!filer.readDouble(scale))
            return false;
        // Positions on the page are divided by the part's scale.
        if (!mnIsScale(scale))
            return false;
        partScaleFactor = scale;
    }
    int instrument = -1;
    if (!filer.readInt(instrument))
        return false;
    // Playback falls back to the piano for a code it does not know.
    partInstrument = isValidInstrument(instrument) ? instrument : -1;

    BcString name;
    BcString abbreviation;
    if (!filer.readString(name) || !filer.readString(abbreviation))
        return false;
    partName = name;
    partAbbreviation = abbreviation;

    if (version > 3) {
        // The volume is kept as stored: a negative byte is a volume too.
        char volume = 0;
        if (!filer.readChar(volume))
            return false;
        partVolume = static_cast<signed char>(volume);
        int nameCount = 0;
        if (!readCount(filer, filedVoiceNames, nameCount, CountChar))
            return false;
        voiceNames.removeAll();
        for (int i = 0; i < nameCount; ++i) {
            BcString voiceName;
            if (!filer.readString(voiceName))
                return false;
            voiceNames.add(voiceName);
        }
    }
    return filer.isOk();
}

bool MnPart::write(BcFiler& filer) const
{
    MnText::write(filer);
    filer.writeDouble(partScaleFactor);
    filer.writeInt(partInstrument);
    filer.writeString(partName);
    filer.writeString(partAbbreviation);
    filer.writeChar(char(partVolume));
    int count = voiceNames.count() < filedVoiceNames ? voiceNames.count() : filedVoiceNames;
    filer.writeChar(char(count));
    for (int i = 0; i < count; ++i)
        filer.writeString(voiceNames[i]);
    return filer.isOk();
}

GePoint2d MnPart::position() const
{
    double w = width();
    double y = -20.0 * partStaffIndex;
    return w > 0.0 ? GePoint2d(-5.0 - w, y) : GePoint2d(0.0, y);
}

double MnPart::width() const
{
    return partName.isEmpty() ? 0.0 : 24.0;
}

bool MnPart::moveTo(const GePoint2d&)
{
    return false;
}

void MnPart::relayout()
{
    if (partScore)
        partScore->moveTo(partScore->position());
}

bool MnPart::setScale(double scale)
{
    if (!mnIsScale(scale) || scale == partScaleFactor)
        return false;
    double growth = spacingPerScale * (scale - partScaleFactor);
    // The staff of the part and the staff below it move by the growth; a
    // scale that would leave either without room is refused.
    MnStaff* staff = nullptr;
    MnStaff* next = nullptr;
    if (partScore) {
        if (partStaffIndex > 0 && partStaffIndex < partScore->staffCount())
            staff = partScore->staff(partStaffIndex);
        if (partStaffIndex >= 0 && partStaffIndex + 1 < partScore->staffCount())
            next = partScore->staff(partStaffIndex + 1);
    }
    if ((staff && !mnIsStaffSpacing(staff->spacing() + growth)) ||
        (next && !mnIsStaffSpacing(next->spacing() + growth)))
        return false;
    if (staff)
        staff->setSpacing(staff->spacing() + growth);
    if (next)
        next->setSpacing(next->spacing() + growth);
    partScaleFactor = scale;
    return true;
}

bool MnPart::setName(const BcString& name)
{
    if (name == partName)
        return false;
    partName = name;
    relayout();
    return true;
}

bool MnPart::setInstrument(int instrument)
{
    if (!isValidInstrument(instrument))
        return false;
    partInstrument = instrument;
    return true;
}

bool MnPart::setVolume(int volume)
{
    if (!mnIsSignedByte(volume))
        return false;
    partVolume = volume;
    return true;
}

BcString MnPart::voiceName(int voice) const
{
    if (voice < 0 || voice >= voiceNames.count())
        return BcString();
    return voiceNames[voice];
}

bool MnPart::setVoiceName(int voice, const BcString& name)
{
    if (voice < 0)
        return false;
    while (voiceNames.count() <= voice)
        voiceNames.add(BcString());
    voiceNames[voice] = name;
    return true;
}
