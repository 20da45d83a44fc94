// What every entry point shares: the start-up of the class registry and the
// round trip of a record.
#include "FuzzCheck.h"
#include "FuzzEntry.h"
#include "FuzzRecord.h"

#include "commands/EdStartup.h"
#include "foundation/BcClassManager.h"
#include "model/MnElement.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    EdStartup::install();
    BcClassManager::instance()->linkClasses();
    return 0;
}

static bool sameBytes(const BcMemoryFiler& a, const BcMemoryFiler& b)
{
    const BcArray<unsigned char>& x = a.bytes();
    const BcArray<unsigned char>& y = b.bytes();
    return x.count() == y.count() &&
           (x.count() == 0 || std::memcmp(x.data(), y.data(), static_cast<size_t>(x.count())) == 0);
}

// Reads the record that element wrote into into; answers whether it read
// to its end.
static bool readWritten(const BcMemoryFiler& written, MnElement& into)
{
    BcMemoryFiler reading;
    reading.bytes() = written.bytes();
    return into.read(reading) && reading.isAtEnd();
}

void fuzzRecordRoundTrip(const MnElement& first, MnElement& second, MnElement& third)
{
    BcMemoryFiler written;
    FUZZ_CHECK(first.write(written));
    FUZZ_CHECK(readWritten(written, second));
    BcMemoryFiler rewritten;
    FUZZ_CHECK(second.write(rewritten));
    FUZZ_CHECK(readWritten(rewritten, third));
    BcMemoryFiler writtenThird;
    FUZZ_CHECK(third.write(writtenThird));
    // Every second save is compared: a chord's notes of equal diatonic
    // position swap places each time they are sorted after a read.
    FUZZ_CHECK(sameBytes(written, writtenThird));
}
