#pragma once

#include "platform/PlHttp.h"

#include <string>

// The offered version of the last update check: all four -1 while there is
// none. The worker stores it, the interface thread takes it once.
struct UpdateResult
{
    int major = -1;
    int minor = -1;
    int revision = -1;
    int build = -1;

    // No part is -1: a result to take.
    bool complete() const { return major != -1 && minor != -1 && revision != -1 && build != -1; }
    // Compared part by part, major first.
    bool newerThan(int otherMajor, int otherMinor, int otherRevision, int otherBuild) const;
};

// Asks the maker's web site for the newest version. Each check runs on a
// detached worker thread that shares only the result record, under its
// lock; nothing here shows anything.
class UiUpdateCheck
{
public:
    // The version file: scheme + host + "/download/version.xml"; the
    // download pages on the same host. Tests put in a local server.
    static void setServer(const std::string& scheme, const std::string& host);
    static std::string versionFileUrl();
    // "/fr/download/", "/es/download/", "/ca/download/" for "Language" 1 to
    // 3, "/download/" for any other.
    static std::string downloadPage(int language);
    static void setLimits(const PlHttp::Limits& limits);

    // The first top-level "version" element: its "file" must be
    // "quorvane.msi" exactly, and each of "major", "minor", "revision" and
    // "build" present (text that is no number reads as 0).
    static bool parseVersionFile(const std::string& text, UpdateResult& result);
    // Fetches the version file.
    static bool httpGet(std::string& text);

    // Clears the result and starts a worker.
    static void start();
    // The worker: fetch, read, store under the lock.
    static void updateCheckThread(UpdateResult* result);
    // Copies a complete result and clears it; false, nothing changed, while
    // there is none. Never waits for a worker.
    static bool take(UpdateResult& result);
    // The result as it stands (tests).
    static UpdateResult peek();
    // Workers not yet ended.
    static int runningWorkers();
};
