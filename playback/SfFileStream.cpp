#include "playback/SfFileStream.h"

#include "foundation/BcInputFile.h"
#include "foundation/BcString.h"

#include <sys/stat.h>
#include <unistd.h>

// A RIFF file holds at most a 32-bit size and its header.
static constexpr long long largestBank = (1LL << 32) + 8;

bool SfFileStream::open(const BcString& path)
{
    close();
    long long size = 0;
    int descriptor = BcInputFile::open(path, largestBank, size);
    if (descriptor < 0)
        return false;
    file = ::fdopen(descriptor, "rb");
    if (!file)
        ::close(descriptor);
    return file != nullptr;
}

bool SfFileStream::open(const char* utf8Path)
{
    return utf8Path && open(BcString(utf8Path));
}

void SfFileStream::close()
{
    if (file)
        std::fclose(file);
    file = nullptr;
}

SfStream SfFileStream::stream()
{
    SfStream stream;
    stream.data = this;
    stream.streamRead = &SfFileStream::read;
    stream.streamSkip = &SfFileStream::skip;
    stream.streamRemaining = &SfFileStream::remaining;
    return stream;
}

int SfFileStream::read(void* data, void* destination, unsigned int count)
{
    SfFileStream* self = static_cast<SfFileStream*>(data);
    if (!self->file)
        return 0;
    return std::fread(destination, 1, count, self->file) == count ? 1 : 0;
}

int SfFileStream::skip(void* data, unsigned int count)
{
    SfFileStream* self = static_cast<SfFileStream*>(data);
    if (!self->file)
        return 0;
    return std::fseek(self->file, static_cast<long>(count), SEEK_CUR) == 0 ? 1 : 0;
}

long long SfFileStream::remaining(void* data)
{
    SfFileStream* self = static_cast<SfFileStream*>(data);
    struct stat status;
    if (!self->file || ::fstat(::fileno(self->file), &status) != 0 || !S_ISREG(status.st_mode))
        return -1;
    long position = std::ftell(self->file);
    return position < 0 || position > status.st_size ? -1 : static_cast<long long>(status.st_size - position);
}
