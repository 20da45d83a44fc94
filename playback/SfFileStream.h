#pragma once

#include "playback/SfStream.h"

#include <cstdio>

class BcString;

// A bank file opened for reading in binary mode. Only a regular file opens,
// at once: a FIFO, a device or a folder put where the bank belongs is
// refused rather than waited on. Skipping uses a relative seek, which
// succeeds past the end of a file; the loader therefore reads the last byte
// of whatever it skips, so that a truncated file still fails.
class SfFileStream
{
public:
    SfFileStream() = default;
    SfFileStream(const SfFileStream&) = delete;
    SfFileStream& operator=(const SfFileStream&) = delete;
    ~SfFileStream() { close(); }

    // Opens the file at the UTF-8 path; false when it cannot be opened or
    // is no regular file.
    bool open(const BcString& path);
    bool open(const char* utf8Path);
    void close();
    bool isOpen() const { return file != nullptr; }

    // Valid while this object lives and the file is open.
    SfStream stream();

private:
    static int read(void* data, void* destination, unsigned int count);
    static int skip(void* data, unsigned int count);
    static long long remaining(void* data);

    std::FILE* file = nullptr;
};
