#include "app/Quorvane.h"
#include "app/UiBackSideDialog.h"
#include "app/UiMidi.h"
#include "app/UiOptionsDialog.h"
#include "app/UiPlayer.h"
#include "platform/PlAudioOutput.h"
#include "platform/PlMidiInput.h"
#include "playback/MpAudioOutput.h"
#include "playback/MpMidiInputDriver.h"

#include <wx/init.h>

// The program's entry point: the player sounds through SDL, the MIDI input
// listens on the ALSA sequencer.
int main(int argc, char** argv)
{
    MpAudioOutput::installFactory(&MpAudioOutputOver<PlAudioOutput>::create);
    MpMidiInputDriver::installFactory(&MpMidiInputDriverOver<PlMidiInput>::create);
    int status = 0;
    {
        UiPlayer player;
        QuorvaneServices services;
        services.player = &player;
        services.playback = &player.engine();
        UiMidi midi(&player.engine());
        services.midiInput = &midi;
        services.midi = &midi;
        Quorvane::setOptionsDialog(&UiOptionsDialog::run);
        Quorvane::setUpdateCheck([](Quorvane& app) { app.checkUpdateResult(true, true); });
        Quorvane::setBackSideCard(&UiBackSideDialog::run);
        wxApp::SetInstance(new Quorvane(services));
        status = wxEntry(argc, argv);
    }
    MpMidiInputDriver::installFactory(nullptr);
    MpAudioOutput::installFactory(nullptr);
    return status;
}
