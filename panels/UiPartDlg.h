#pragma once

#include "panels/UiPropertiesDlg.h"

#include <string>

// The page of selected parts: name and abbreviation, the instrument (one of
// the twelve named ones, the default sound or any General MIDI program),
// the playback volume and the scale of the staff.
class UiPartDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 106;
    UiPartDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // Instrument radios: 0..11 the named instruments (their codes), then
    // these two.
    enum InstrumentChoice { defaultSound = 12, generalMidi = 13 };

    // The radio and the program a stored instrument code shows.
    static void instrumentChoice(int code, int& choice, int& program);
    // The volume a stored signed byte stands for: a negative byte holds its
    // complement.
    static int volumeOf(int storedByte) { return storedByte < 0 ? ~storedByte : storedByte; }
    // A volume in the form the part keeps now.
    static int storedVolume(int volume, int storedByte) { return storedByte < 0 ? ~volume : volume; }

    std::string name;
    std::string abbreviation;
    int instrument = 9;   // radio index, -1 mixed
    int program = -1;     // General MIDI program 0..127, -1 mixed
    int volume = 100;     // per cent
    bool volumeMixed = false;
    int scale = 100;      // per cent
    bool scaleMixed = false;

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    void initDialog() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;

private:
    void sliderMoved(int sliderId, int& value, bool& mixed, bool layoutChanged);
};
