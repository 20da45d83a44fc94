#include "app/Quorvane.h"
#include "app/UiOptionsDialog.h"
#include "app/UiPlayer.h"
#include "platform/PlAudioOutput.h"
#include "playback/MpAudioOutput.h"

#include <wx/init.h>

// The program's entry point: the player sounds through SDL. The MIDI input
// joins the services when it is built.
int main(int argc, char** argv)
{
    MpAudioOutput::installFactory(&MpAudioOutputOver<PlAudioOutput>::create);
    int status = 0;
    {
        UiPlayer player;
        QuorvaneServices services;
        services.player = &player;
        services.playback = &player.engine();
        Quorvane::setOptionsDialog(&UiOptionsDialog::run);
        Quorvane::setUpdateCheck([](Quorvane& app) { app.checkUpdateResult(true, true); });
        wxApp::SetInstance(new Quorvane(services));
        status = wxEntry(argc, argv);
    }
    MpAudioOutput::installFactory(nullptr);
    return status;
}
