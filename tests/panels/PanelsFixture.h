#pragma once

#include "app/ShellFixture.h"
#include "panels/UiFretboard.h"
#include "panels/UiHeldKeys.h"
#include "panels/UiInstrumentServices.h"
#include "panels/UiPianoKeyboard.h"
#include "platform/gui/UiScale.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>

#include <memory>
#include <string>
#include <vector>

// The program as the instrument panels see it, recording what they ask of
// it: "enter K", "down K", "up K", "record K", "release K", "anchor K".
class FakeInstrumentServices : public UiInstrumentServices
{
public:
    void soundingKeys(unsigned char keys[keyCount]) override
    {
        for (int k = 0; k < keyCount; ++k)
            keys[k] = sounding[k];
    }
    void keyDown(int key) override { log("down", key); }
    void keyUp(int key) override { log("up", key); }
    bool isRecording() override { return recording; }
    void recordKeyDown(int key) override { log("record", key); }
    void recordKeyUp(int key) override { log("release", key); }
    void enterNote(int key) override { log("enter", key); }
    void setKeyboardOctaveFromKey(int key) override { log("anchor", key); }
    bool ctrlAndAltHeld() override { return ctrlAlt; }
    const EdSelection* activeSelection() override { return selection; }
    int keyboardOctave() override { return octave; }
    int keyboardTranspose() override { return transpose; }
    std::u32string keyLabels() override { return labels; }

    void log(const char* what, int key) { calls.push_back(std::string(what) + " " + std::to_string(key)); }

    std::vector<std::string> calls;
    unsigned char sounding[keyCount] = {};
    bool recording = false;
    bool ctrlAlt = false;
    const EdSelection* selection = nullptr;
    int octave = 4;
    int transpose = 0;
    std::u32string labels = U"ZSXCFVGBNJMK,L./";
};

// A shown frame with both instrument panes at known sizes: the piano
// 521 x 120, the fretboard 500 x 120, at scale 1.
class PanelsTest : public ::testing::Test
{
protected:
    static constexpr int pianoWidth = 521, pianoHeight = 120;
    static constexpr int neckWidth = 500, neckHeight = 120;

    PanelsTest()
    {
        UiScale::setForTests(1.0);
        previous = UiInstrumentServices::install(&services);
        frame = new wxFrame(nullptr, wxID_ANY, "panels", wxDefaultPosition, wxSize(700, 400));
        piano = new UiPianoKeyboard(frame, wxID_ANY);
        fretboard = new UiFretboard(frame, wxID_ANY);
        frame->Show();
        piano->SetSize(0, 0, pianoWidth, pianoHeight);
        fretboard->SetSize(0, 140, neckWidth, neckHeight);
        pump();
        services.calls.clear();
    }
    ~PanelsTest() override
    {
        frame->Destroy();
        pump();
        UiInstrumentServices::install(previous);
        UiHeldKeys::clearAll();
        UiScale::setForTests(0);
    }

    static void pump() { ShellTest::pump(3); }

    // A point on a piano key: low on a white key, high on a black one.
    static wxPoint pointOfKey(int key)
    {
        for (int y : {100, 40})
            for (int x = 0; x < pianoWidth; ++x)
                if (UiPianoKeyboard::keyAt(x, y, pianoWidth, pianoHeight) == key)
                    return wxPoint(x + 1, y);
        return wxPoint(-1, -1);
    }
    // A point on a string just right of a fret zone's left edge, clear of a
    // clamped capo.
    wxPoint pointOnNeck(int string, int zone) const
    {
        const UiFretboard::Geometry g = fretboard->computeGeometry(neckWidth, neckHeight);
        return wxPoint(g.zoneLeft(zone) + 2, g.stringY[size_t(string)]);
    }

    FakeInstrumentServices services;
    UiInstrumentServices* previous = nullptr;
    wxFrame* frame = nullptr;
    UiPianoKeyboard* piano = nullptr;
    UiFretboard* fretboard = nullptr;
};
