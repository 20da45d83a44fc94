#include "app/UiInstanceServer.h"

#include "app/Quorvane.h"
#include "app/UiMainFrame.h"
#include "platform/PlPaths.h"

#include <wx/filename.h>
#include <wx/utils.h>

#include <algorithm>
#include <unistd.h>

static const char* const topic = "open";

namespace {

class Connection : public wxConnection
{
public:
    explicit Connection(Quorvane& app) : app(app) {}

    bool OnExecute(const wxString&, const void* data, size_t size, wxIPCFormat) override
    {
        wxString text = wxString::FromUTF8(static_cast<const char*>(data), size);
        text = text.BeforeFirst('\0');
        wxArrayString paths = wxSplit(text, '\n', 0);
        paths.erase(std::remove(paths.begin(), paths.end(), wxString()), paths.end());
        // Opened once this call has returned, so the second start is not kept
        // waiting by a dialog of the first.
        Quorvane* target = &app;
        app.CallAfter([target, paths] {
            if (UiMainFrame* frame = target->mainFrame()) {
                frame->Raise();
                target->openFiles(paths);
            }
        });
        return true;
    }

private:
    Quorvane& app;
};

}

std::string UiInstanceServer::socketPath()
{
    return PlPaths::runtimeDir() + "/quorvane-" + std::to_string(::getuid()) + ".socket";
}

std::string UiInstanceServer::lockName()
{
    return "quorvane-" + std::to_string(::getuid()) + ".lock";
}

bool UiInstanceServer::start()
{
    return Create(wxString::FromUTF8(socketPath()));
}

wxConnectionBase* UiInstanceServer::OnAcceptConnection(const wxString& requested)
{
    return requested == topic ? new Connection(app) : nullptr;
}

bool UiInstanceServer::handOver(const wxArrayString& paths)
{
    wxString text;
    for (const wxString& path : paths) {
        wxFileName name(path);
        name.MakeAbsolute();
        text << name.GetFullPath() << "\n";
    }
    wxClient client;
    // The running instance may be starting itself: give it a moment.
    for (int attempt = 0; attempt < 20; ++attempt) {
        wxConnectionBase* connection = client.MakeConnection("localhost", wxString::FromUTF8(socketPath()), topic);
        if (connection) {
            bool sent = connection->Execute(text.empty() ? wxString("\n") : text);
            connection->Disconnect();
            delete connection;
            return sent;
        }
        wxMilliSleep(100);
    }
    return false;
}
