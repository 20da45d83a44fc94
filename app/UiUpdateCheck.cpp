#include "app/UiUpdateCheck.h"

#include <tinyxml.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#ifndef QRV_MAKER_HOST
#define QRV_MAKER_HOST "quorvane.invalid"
#endif

namespace {

// Made once and never destroyed: a worker may still run while the process
// ends, and it must find its lock alive.
struct Shared
{
    std::mutex updateLock;
    UpdateResult result;
    std::mutex serverLock;
    std::string scheme = "https://";
    std::string host = QRV_MAKER_HOST;
    PlHttp::Limits limits;
    std::atomic<int> workers{0};
};

Shared& shared()
{
    static Shared* state = new Shared;
    return *state;
}

// A decimal integer with an optional sign; what is no digit ends it, no
// digits read as 0.
int readNumber(const char* text)
{
    return int(std::strtol(text, nullptr, 10));
}

}

bool UpdateResult::newerThan(int otherMajor, int otherMinor, int otherRevision, int otherBuild) const
{
    const int mine[4] = {major, minor, revision, build};
    const int theirs[4] = {otherMajor, otherMinor, otherRevision, otherBuild};
    for (int i = 0; i < 4; ++i)
        if (mine[i] != theirs[i])
            return mine[i] > theirs[i];
    return false;
}

void UiUpdateCheck::setServer(const std::string& scheme, const std::string& host)
{
    std::lock_guard<std::mutex> lock(shared().serverLock);
    shared().scheme = scheme;
    shared().host = host;
}

std::string UiUpdateCheck::versionFileUrl()
{
    std::lock_guard<std::mutex> lock(shared().serverLock);
    return shared().scheme + shared().host + "/download/version.xml";
}

std::string UiUpdateCheck::downloadPage(int language)
{
    static const char* const pages[] = {"/download/", "/fr/download/", "/es/download/", "/ca/download/"};
    std::lock_guard<std::mutex> lock(shared().serverLock);
    return shared().scheme + shared().host + pages[language >= 1 && language <= 3 ? language : 0];
}

void UiUpdateCheck::setLimits(const PlHttp::Limits& limits)
{
    std::lock_guard<std::mutex> lock(shared().serverLock);
    shared().limits = limits;
}

bool UiUpdateCheck::parseVersionFile(const std::string& text, UpdateResult& result)
{
    TiXmlDocument document;
    document.Parse(text.c_str());
    if (document.Error())
        return false;
    const TiXmlElement* version = document.FirstChildElement("version");
    if (!version)
        return false;
    const char* file = version->Attribute("file");
    if (!file || std::strcmp(file, "quorvane.msi") != 0)
        return false;
    const char* names[4] = {"major", "minor", "revision", "build"};
    int values[4];
    for (int i = 0; i < 4; ++i) {
        const char* value = version->Attribute(names[i]);
        if (!value)
            return false;
        values[i] = readNumber(value);
    }
    result = UpdateResult{values[0], values[1], values[2], values[3]};
    return true;
}

bool UiUpdateCheck::httpGet(std::string& text)
{
    PlHttp::Limits limits;
    {
        std::lock_guard<std::mutex> lock(shared().serverLock);
        limits = shared().limits;
    }
    return PlHttp::get(versionFileUrl(), limits, text);
}

void UiUpdateCheck::start()
{
    PlHttp::initialize();
    {
        std::lock_guard<std::mutex> lock(shared().updateLock);
        shared().result = UpdateResult();
    }
    ++shared().workers;
    std::thread(&UiUpdateCheck::updateCheckThread, &shared().result).detach();
}

void UiUpdateCheck::updateCheckThread(UpdateResult* result)
{
    std::string text;
    UpdateResult offered;
    if (httpGet(text) && parseVersionFile(text, offered)) {
        std::lock_guard<std::mutex> lock(shared().updateLock);
        *result = offered;
    }
    --shared().workers;
}

bool UiUpdateCheck::take(UpdateResult& result)
{
    std::unique_lock<std::mutex> lock(shared().updateLock, std::try_to_lock);
    // The worker holds the lock only to store; the next idle call takes it.
    if (!lock.owns_lock() || !shared().result.complete())
        return false;
    result = shared().result;
    shared().result = UpdateResult();
    return true;
}

UpdateResult UiUpdateCheck::peek()
{
    std::lock_guard<std::mutex> lock(shared().updateLock);
    return shared().result;
}

int UiUpdateCheck::runningWorkers()
{
    return shared().workers.load();
}
