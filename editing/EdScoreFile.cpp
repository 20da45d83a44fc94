#include "editing/EdScoreFile.h"

#include "foundation/BcInputFile.h"
#include "foundation/BcString.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

static const unsigned char scoreFileMagic[3] = {'Q', 'R', 'V'};

static void appendInt(BcArray<unsigned char>& out, int value)
{
    unsigned int bits = static_cast<unsigned int>(value);
    for (int i = 0; i < 4; ++i)
        out.add(static_cast<unsigned char>(bits >> (8 * i)));
}

static void appendDouble(BcArray<unsigned char>& out, double value)
{
    unsigned long long bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out.add(static_cast<unsigned char>(bits >> (8 * i)));
}

static int intAt(const unsigned char* bytes)
{
    unsigned int bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<unsigned int>(bytes[i]) << (8 * i);
    return static_cast<int>(bits);
}

static double doubleAt(const unsigned char* bytes)
{
    unsigned long long bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<unsigned long long>(bytes[i]) << (8 * i);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void EdScoreFile::compose(const unsigned char* body, int bodySize, const Camera& camera,
                          BcArray<unsigned char>& out)
{
    for (unsigned char byte : scoreFileMagic)
        out.add(byte);
    appendInt(out, formatVersion);
    if (body && bodySize > 0) {
        int start = out.count();
        out.setSize(start + bodySize);
        std::memcpy(out.data() + start, body, static_cast<size_t>(bodySize));
    }
    appendDouble(out, camera.scrollX);
    appendDouble(out, camera.scrollY);
    appendDouble(out, camera.zoom);
}

EdScoreFile::Result EdScoreFile::split(const unsigned char* bytes, int size, int& version,
                                       int& bodyOffset, int& bodySize, Camera& camera)
{
    if (!bytes || size < 3 || std::memcmp(bytes, scoreFileMagic, 3) != 0)
        return notScoreFile;
    if (size < headerSize)
        return notScoreFile;
    int fileVersion = intAt(bytes + 3);
    // Compared unsigned, so a negative version counts as newer.
    if (static_cast<unsigned int>(fileVersion) > static_cast<unsigned int>(formatVersion))
        return newerVersion;
    if (size < headerSize + cameraSize)
        return truncated;

    const unsigned char* trailer = bytes + size - cameraSize;
    version = fileVersion;
    bodyOffset = headerSize;
    bodySize = size - headerSize - cameraSize;
    camera.scrollX = doubleAt(trailer);
    camera.scrollY = doubleAt(trailer + 8);
    camera.zoom = doubleAt(trailer + 16);
    return opened;
}

static std::string folderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

static bool writeAll(int fd, const unsigned char* bytes, int size)
{
    size_t done = 0;
    size_t total = static_cast<size_t>(size);
    while (done < total) {
        ssize_t written = ::write(fd, bytes + done, total - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

bool EdScoreFile::writeFile(const BcString& path, const unsigned char* bytes, int size)
{
    if (path.isEmpty() || size < 0 || (size > 0 && !bytes))
        return false;
    std::string target = path.toNarrow(BcString::systemCodePage);

    // Replacing a link replaces the file it points to, not the link.
    struct stat existing;
    bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode))
            return false;
        char* resolved = ::realpath(target.c_str(), nullptr);
        if (resolved) {
            target = resolved;
            std::free(resolved);
        }
    }

    // The temporary file lies in the target's folder, so the rename stays on
    // one file system and is atomic.
    std::string pattern = folderOf(target) + "/.qrv-save-XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    std::string temporary = pattern;

    // mkstemp makes the file private; keep the old file's mode, or the usual
    // mode of a new file.
    mode_t mode;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0;
    ok = ok && writeAll(fd, bytes, size);
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool EdScoreFile::readFile(const BcString& path, BcArray<unsigned char>& bytes)
{
    return BcInputFile::readAll(path, maxFileSize, bytes);
}
