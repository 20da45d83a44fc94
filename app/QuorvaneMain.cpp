#include "app/Quorvane.h"

#include <wx/init.h>

// The program's entry point. The player and the MIDI input join the
// services as they are built; without them the editor runs silent.
int main(int argc, char** argv)
{
    QuorvaneServices services;
    wxApp::SetInstance(new Quorvane(services));
    return wxEntry(argc, argv);
}
