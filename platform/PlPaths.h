#pragma once

#include <string>
#include <vector>

// Where the program finds its files on a freedesktop system.
class PlPaths
{
public:
    // $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
    static std::string configHome();
    // $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
    static std::string dataHome();
    // $XDG_CONFIG_DIRS, most important first, else /etc/xdg.
    static std::vector<std::string> configDirs();
    // The user's settings file: Tolmarin/Quorvane.conf in configHome.
    static std::string userSettingsFile();
    // The first Tolmarin/Quorvane.conf of configDirs that exists, else empty.
    static std::string machineSettingsFile();
    // $XDG_RUNTIME_DIR when it is an absolute path, else /tmp.
    static std::string runtimeDir();
    // The folder of the running executable, without a trailing slash; empty
    // when it cannot be found.
    static std::string executableDir();
};
