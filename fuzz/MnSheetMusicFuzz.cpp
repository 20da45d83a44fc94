// A sheet-music record, with its own score, credits and page layouts, from
// outside bytes.
#include "FuzzEntry.h"
#include "FuzzRecord.h"

#include "model/MnSheetMusic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzRecord<MnSheetMusic>(data, size);
}
