#include "foundation/BcInputFile.h"

#include "foundation/BcString.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int BcInputFile::open(const BcString& path, long long maxSize, long long& size)
{
    if (path.isEmpty())
        return -1;
    std::string name = path.toNarrow(BcString::systemCodePage);
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    // Checked on the descriptor, so the file checked is the file read.
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<long long>(info.st_size) > maxSize) {
        ::close(fd);
        return -1;
    }
    // Reads of a regular file block as usual; the flag was only for the open.
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    size = static_cast<long long>(info.st_size);
    return fd;
}

// Reads up to count bytes; answers how many, or -1 on an error.
static long long readUpTo(int fd, unsigned char* into, long long count)
{
    long long done = 0;
    while (done < count) {
        long long want = count - done;
        if (want > (1LL << 30))
            want = 1LL << 30;
        ssize_t got = ::read(fd, into + done, static_cast<size_t>(want));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool BcInputFile::readAll(const BcString& path, long long maxSize, BcArray<unsigned char>& bytes)
{
    if (maxSize > INT_MAX)
        maxSize = INT_MAX;
    long long size = 0;
    int fd = open(path, maxSize, size);
    if (fd < 0)
        return false;

    BcArray<unsigned char> content(1024);
    content.setCapacity(static_cast<int>(size));
    bool ok = content.capacity() == static_cast<int>(size);
    if (ok && size > 0)
        ok = readUpTo(fd, content.data(), size) == size;
    // A file that grew or shrank while it was read is not the file checked.
    unsigned char extra = 0;
    ok = ok && readUpTo(fd, &extra, 1) == 0;
    ::close(fd);
    if (!ok)
        return false;
    content.setSize(static_cast<int>(size));
    bytes = std::move(content);
    return true;
}
