#pragma once

#include "foundation/BcArray.h"

class BcString;

// Opening files that come from outside. Only regular files are read, and the
// open never blocks: a FIFO, a device or a folder is refused at once rather
// than waited on or taken for a file of absurd length. Sizes stay in 64 bits
// until they are checked against what the caller can hold.
class BcInputFile
{
public:
    // A descriptor open for reading on the regular file at path, or -1 when
    // the file cannot be opened, is not a regular file or holds more than
    // maxSize bytes. size receives the file's size on success. The caller
    // closes the descriptor.
    static int open(const BcString& path, long long maxSize, long long& size);

    // The whole regular file in bytes, replacing their content. False, with
    // bytes untouched, when open refuses the file, a read fails, or the file
    // changes its length while it is read. maxSize is at most the largest
    // int, the most an array can hold.
    static bool readAll(const BcString& path, long long maxSize, BcArray<unsigned char>& bytes);
};
