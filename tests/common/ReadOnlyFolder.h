#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// Makes a folder refuse new files for as long as it lives. Without write
// permission an ordinary user cannot add to it; root can, so for root the
// folder is made immutable as well. works() says whether the folder now
// refuses a new file (an immutable flag needs a file system that has it).
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const std::string& path) : path(path)
    {
        ::chmod(path.c_str(), 0500);
        if (!refusesFiles())
            immutable = setImmutable(true);
    }
    ~ReadOnlyFolder()
    {
        if (immutable)
            setImmutable(false);
        ::chmod(path.c_str(), 0700);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool works() const { return refusesFiles(); }

private:
    bool refusesFiles() const
    {
        std::string probe = path + "/.probe";
        int fd = ::open(probe.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0600);
        if (fd < 0)
            return true;
        ::close(fd);
        ::unlink(probe.c_str());
        return false;
    }
    bool setImmutable(bool on)
    {
        int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    std::string path;
    bool immutable = false;
};
