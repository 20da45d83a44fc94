#pragma once

#include <vector>

struct png_struct_def;
struct png_info_def;

// Encodes an 8-bit RGB or RGBA image into PNG bytes row by row, top row
// first, so a page can be encoded while the rows below are still drawn.
class RePngWriter
{
public:
    RePngWriter();
    ~RePngWriter();
    RePngWriter(const RePngWriter&) = delete;
    RePngWriter& operator=(const RePngWriter&) = delete;

    // Starts an image of width x height pixels of channels bytes (3 or 4);
    // false when the sizes are not positive or libpng fails.
    bool start(int width, int height, int channels);
    // The next row, width x channels bytes; false after any failure.
    bool writeRow(const unsigned char* row);
    // Ends the image once every row is written; the PNG bytes go to out.
    // False, out untouched, when a row is missing or anything failed.
    bool finish(std::vector<unsigned char>& out);

private:
    void reset();

    png_struct_def* png = nullptr;
    png_info_def* info = nullptr;
    std::vector<unsigned char> bytes;
    int rowsLeft = 0;
    bool failed = false;
};
