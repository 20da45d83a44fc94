// A whole score file: container, works block and camera.
#include "FuzzCheck.h"
#include "FuzzEntry.h"
#include "FuzzModelWalk.h"

#include "editing/QuorvaneDocument.h"

#include <climits>
#include <cstring>

static bool sameBytes(const BcArray<unsigned char>& a, const BcArray<unsigned char>& b)
{
    return a.count() == b.count() &&
           (a.count() == 0 || std::memcmp(a.data(), b.data(), static_cast<size_t>(a.count())) == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > INT_MAX)
        return 0;
    QuorvaneDocument document;
    if (!document.loadScoreBytes(data, static_cast<int>(size), true))
        return 0;
    fuzzWalkDocument(document);

    // The undo history takes and restores the same works.
    FUZZ_CHECK(document.pushUndoSnapshot());
    FUZZ_CHECK(document.reloadCurrentSnapshot());

    // Saved and reopened twice over; every second save is compared, as a
    // chord's notes of equal diatonic position swap places on each read.
    BcArray<unsigned char> saved;
    FUZZ_CHECK(document.saveScoreBytes(saved));
    QuorvaneDocument reopened;
    FUZZ_CHECK(reopened.loadScoreBytes(saved.data(), saved.count(), true));
    fuzzWalkDocument(reopened);
    BcArray<unsigned char> savedAgain;
    FUZZ_CHECK(reopened.saveScoreBytes(savedAgain));
    QuorvaneDocument reopenedAgain;
    FUZZ_CHECK(reopenedAgain.loadScoreBytes(savedAgain.data(), savedAgain.count(), true));
    BcArray<unsigned char> savedThird;
    FUZZ_CHECK(reopenedAgain.saveScoreBytes(savedThird));
    FUZZ_CHECK(sameBytes(saved, savedThird));
    return 0;
}
