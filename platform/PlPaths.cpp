#include "platform/PlPaths.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

static const char* const makerAndProduct = "/Tolmarin/Quorvane.conf";

static std::string absoluteVariable(const char* name)
{
    const char* text = std::getenv(name);
    return text && text[0] == '/' ? std::string(text) : std::string();
}

std::string PlPaths::configHome()
{
    std::string home = absoluteVariable("XDG_CONFIG_HOME");
    if (!home.empty())
        return home;
    const char* user = std::getenv("HOME");
    return std::string(user && user[0] ? user : "/tmp") + "/.config";
}

std::string PlPaths::dataHome()
{
    std::string home = absoluteVariable("XDG_DATA_HOME");
    if (!home.empty())
        return home;
    const char* user = std::getenv("HOME");
    return std::string(user && user[0] ? user : "/tmp") + "/.local/share";
}

std::vector<std::string> PlPaths::configDirs()
{
    std::vector<std::string> dirs;
    const char* text = std::getenv("XDG_CONFIG_DIRS");
    std::string all = text ? text : "";
    size_t start = 0;
    while (start <= all.size()) {
        size_t colon = all.find(':', start);
        if (colon == std::string::npos)
            colon = all.size();
        std::string dir = all.substr(start, colon - start);
        if (!dir.empty() && dir[0] == '/')
            dirs.push_back(dir);
        start = colon + 1;
    }
    if (dirs.empty())
        dirs.push_back("/etc/xdg");
    return dirs;
}

std::string PlPaths::userSettingsFile()
{
    return configHome() + makerAndProduct;
}

std::string PlPaths::machineSettingsFile()
{
    for (const std::string& dir : configDirs()) {
        std::string path = dir + makerAndProduct;
        struct stat info;
        if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            return path;
    }
    return std::string();
}

std::string PlPaths::runtimeDir()
{
    std::string dir = absoluteVariable("XDG_RUNTIME_DIR");
    return dir.empty() ? std::string("/tmp") : dir;
}

std::string PlPaths::executableDir()
{
    char buffer[4096];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return std::string();
    std::string path(buffer, size_t(length));
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
