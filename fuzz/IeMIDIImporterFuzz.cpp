// A Standard MIDI File imported into a new document.
#include "FuzzCheck.h"
#include "FuzzEntry.h"
#include "FuzzModelWalk.h"

#include "editing/QuorvaneDocument.h"
#include "interchange/IeMIDIImporter.h"

#include <climits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > INT_MAX)
        return 0;
    QuorvaneDocument document;
    FUZZ_CHECK(document.OnNewDocument());
    IeMIDIImporter importer;
    const bool imported = importer.importBytes(data, static_cast<int>(size), document);
    // A failure names its reason and adds nothing; a success adds one score.
    FUZZ_CHECK(imported == importer.errorText().isEmpty());
    FUZZ_CHECK(document.works().count() == (imported ? 2 : 1));
    if (!imported)
        return 0;
    fuzzWalkDocument(document);

    // What the importer built is a score the editor can save and open again.
    BcArray<unsigned char> saved;
    FUZZ_CHECK(document.saveScoreBytes(saved));
    QuorvaneDocument reopened;
    FUZZ_CHECK(reopened.loadScoreBytes(saved.data(), saved.count(), true));
    return 0;
}
