#include "platform/PlLauncher.h"

#include "foundation/BcInstalled.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

static PlLauncher defaultLauncher;
using Slot = BcInstalled<PlLauncher>;

PlLauncher::~PlLauncher()
{
    Slot::forget(this);
}

bool PlLauncher::open(const std::string& target)
{
    if (target.empty())
        return false;
    // A shell puts xdg-open in the background and ends at once, so the
    // program leaves no child behind to reap and never waits on a browser.
    const char* argv[] = {"/bin/sh", "-c", "xdg-open \"$1\" >/dev/null 2>&1 </dev/null &", "sh",
                          target.c_str(), nullptr};
    pid_t pid;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

PlLauncher& PlLauncher::current()
{
    return Slot::current(defaultLauncher);
}

PlLauncher* PlLauncher::install(PlLauncher* launcher)
{
    return Slot::install(launcher, &defaultLauncher);
}
