#pragma once

#include "foundation/BcArray.h"

class BcString;

// The container of a score file: the magic "QRV", the format version as a
// 32-bit little-endian integer, the works block, and the view's scroll x,
// scroll y and zoom as three little-endian doubles. The works block has no
// length field: it is what lies between the 7 header bytes and the 24 camera
// bytes. This class knows only the container; the document writes and reads
// the works block.
class EdScoreFile
{
public:
    static constexpr int formatVersion = 5;
    static constexpr int headerSize = 7;
    static constexpr int cameraSize = 24;
    // The whole file is held in one array, whose count is an int.
    static constexpr long long maxFileSize = 0x7FFFFFFF;

    enum Result
    {
        opened,        // the parts were split off
        notScoreFile,  // no magic, or no version
        newerVersion,  // a version above formatVersion (negative ones included)
        truncated      // shorter than header and camera
    };

    // The camera of a score file, and of a new document.
    struct Camera
    {
        double scrollX = 120.0;
        double scrollY = -20.0;
        double zoom = 300.0;
    };

    // Appends the whole file image to out.
    static void compose(const unsigned char* body, int bodySize, const Camera& camera,
                        BcArray<unsigned char>& out);

    // Splits a file image into version, body and camera. Outputs are set only
    // when the answer is opened.
    static Result split(const unsigned char* bytes, int size, int& version, int& bodyOffset,
                        int& bodySize, Camera& camera);

    // Writes the bytes into a new temporary file beside path and renames it over
    // path once every byte is on disk. A failure answers false and leaves any
    // file at path as it was.
    static bool writeFile(const BcString& path, const unsigned char* bytes, int size);

    // Reads a whole file into bytes (replacing their content); false when the
    // file cannot be read, is not a regular file or is larger than
    // maxFileSize, bytes untouched then. Never blocks on a FIFO or device.
    static bool readFile(const BcString& path, BcArray<unsigned char>& bytes);
};
