#include "playback/SfMemoryStream.h"

#include <cstring>

SfStream SfMemoryStream::stream()
{
    SfStream stream;
    stream.data = this;
    stream.streamRead = &SfMemoryStream::read;
    stream.streamSkip = &SfMemoryStream::skip;
    stream.streamRemaining = &SfMemoryStream::remaining;
    return stream;
}

int SfMemoryStream::read(void* data, void* destination, unsigned int count)
{
    SfMemoryStream* self = static_cast<SfMemoryStream*>(data);
    if (count > self->size - self->position)
        return 0;
    if (count > 0)
        std::memcpy(destination, self->bytes + self->position, count);
    self->position += count;
    return 1;
}

int SfMemoryStream::skip(void* data, unsigned int count)
{
    SfMemoryStream* self = static_cast<SfMemoryStream*>(data);
    if (count > self->size - self->position)
        return 0;
    self->position += count;
    return 1;
}

long long SfMemoryStream::remaining(void* data)
{
    SfMemoryStream* self = static_cast<SfMemoryStream*>(data);
    return static_cast<long long>(self->size - self->position);
}
