#include "playback/SfFileStream.h"

#include "foundation/BcString.h"

#include <sys/stat.h>

bool SfFileStream::open(const BcString& path)
{
    return open(path.toNarrow(BcString::utf8CodePage));
}

bool SfFileStream::open(const char* utf8Path)
{
    close();
    if (!utf8Path)
        return false;
    file = std::fopen(utf8Path, "rb");
    return file != nullptr;
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
