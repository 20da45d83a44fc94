#pragma once

#include <wx/arrstr.h>
#include <wx/ipc.h>

#include <string>

class Quorvane;

// One running editor per user: a second start hands its files over a Unix
// socket in the user's runtime folder and ends; the first opens them.
class UiInstanceServer : public wxServer
{
public:
    explicit UiInstanceServer(Quorvane& app) : app(app) {}

    // Listens on the user's socket; false when it cannot.
    bool start();
    wxConnectionBase* OnAcceptConnection(const wxString& topic) override;

    // The socket and the lock of the running instance.
    static std::string socketPath();
    static std::string lockName();

    // The second start's side: sends the files (absolute paths) to the
    // running instance; an empty list just brings it forward. False when
    // no instance answered.
    static bool handOver(const wxArrayString& paths);

private:
    Quorvane& app;
};
