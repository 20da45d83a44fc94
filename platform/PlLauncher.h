#pragma once

#include <string>

// Opens web pages, mail addresses and files with the user's preferred
// program. The default hands them to xdg-open; tests install their own.
class PlLauncher
{
public:
    virtual ~PlLauncher();

    // Starts the program that opens the target and does not wait for it.
    // False when it could not be started; what the program then does is its
    // own affair.
    virtual bool open(const std::string& target);

    // The installed launcher, or the default; never null.
    static PlLauncher& current();
    // Installs a launcher (not owned) and answers the one it replaces; null
    // restores the default.
    static PlLauncher* install(PlLauncher* launcher);
};
