#pragma once

#include "model/MnText.h"

class MnScore;

// The part of one staff: it names the staff (its name before the first
// system, its abbreviation before the later ones), says which instrument
// plays it and how loud, names its voices and sets how large the staff is
// drawn. Part i of a score belongs to staff i. As a text it carries the style
// of the labels; the label itself is a scratch text that the composer fills.
class MnPart : public MnText
{
    BC_DECLARE_CLASS(MnPart)
public:
    // At most this many voice names are kept in a record.
    static constexpr int filedVoiceNames = 4;

    MnPart(MnScore* score, int staffIndex);
    ~MnPart() override;

    MnElement* parent() const override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // Left of the staff's start when the part shows a name.
    GePoint2d position() const override;
    double width() const override;
    // Parts stand where their staves are; they never move by themselves.
    bool moveTo(const GePoint2d& point) override;
    // The label widths changed: the score is clamped to its page again.
    void relayout() override;

    MnScore* score() const { return partScore; }
    void setScore(MnScore* score) { partScore = score; }
    int staffIndex() const { return partStaffIndex; }
    void setStaffIndex(int index) { partStaffIndex = index; }

    double partScale() const { return partScaleFactor; }
    // Stores a changed scale and keeps the room between the staves in step
    // with it; false when unchanged, outside MnMinScale..MnMaxScale, or when
    // a staff would be left without room.
    bool setScale(double scale);

    const BcString& name() const { return partName; }
    // False when equal; else stores it and lays the score out again.
    bool setName(const BcString& name);
    const BcString& abbreviation() const { return partAbbreviation; }
    void setAbbreviation(const BcString& abbreviation) { partAbbreviation = abbreviation; }

    // The scratch text into which the composer copies the part's style.
    MnText* label() const { return partLabel; }

    // MnInstrument code; -1 when none is chosen (played as the piano).
    int instrument() const { return partInstrument; }
    // False, with nothing changed, for a value that names no instrument.
    bool setInstrument(int instrument);
    static bool isValidInstrument(int instrument);

    // The signed byte the record keeps: 0..100 per cent, or a negative
    // byte that holds the complement of the volume (playback counts a
    // negative v as -v - 1).
    int volume() const { return partVolume; }
    // False, with nothing changed, outside -128..127.
    bool setVolume(int volume);

    int voiceNameCount() const { return voiceNames.count(); }
    // "" for a voice without a name or outside the list.
    BcString voiceName(int voice) const;
    // Extends the list with empty names up to the voice; false for a
    // negative voice.
    bool setVoiceName(int voice, const BcString& name);

private:
    MnScore* partScore;
    int partStaffIndex;
    double partScaleFactor = 1.0;
    BcString partName;
    BcString partAbbreviation;
    MnText* partLabel;
    int partInstrument = -1;
    int partVolume = 100;
    BcArray<BcString> voiceNames;
};
