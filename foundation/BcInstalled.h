#pragma once

// The slot of a service that the program, or a test, installs in place of a
// default: the message boxes, the launcher of web pages and files. The
// service class keeps its default object and asks through here.
template <class Service>
class BcInstalled
{
public:
    // The installed service, else the default.
    static Service& current(Service& fallback)
    {
        Service* installed = slot();
        return installed ? *installed : fallback;
    }
    // Installs a service (not owned) and answers the one it replaces; null,
    // or the default itself, restores the default.
    static Service* install(Service* service, const Service* fallback)
    {
        Service* previous = slot();
        slot() = service == fallback ? nullptr : service;
        return previous;
    }
    // A dying service leaves the slot, so nothing asks a dead object.
    static void forget(const Service* dying)
    {
        if (slot() == dying)
            slot() = nullptr;
    }

private:
    static Service*& slot()
    {
        static Service* installed = nullptr;
        return installed;
    }
};
