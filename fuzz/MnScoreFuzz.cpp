// A score record from outside bytes.
#include "FuzzEntry.h"
#include "FuzzRecord.h"

#include "model/MnScore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzRecord<MnScore>(data, size);
}
