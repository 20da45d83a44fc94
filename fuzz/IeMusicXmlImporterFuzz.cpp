// A MusicXML file, imported into a fresh document: a refused file leaves
// the works as they were; an accepted one adds one sheet music that the
// score file writes and reads back.
#include "FuzzCheck.h"
#include "FuzzEntry.h"
#include "FuzzModelWalk.h"

#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcMemoryFiler.h"
#include "interchange/IeMusicXmlImporter.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace
{
// The importer finds its document through the editing context.
class ActiveDocument : public EdContext
{
public:
    explicit ActiveDocument(QuorvaneDocument* document) : document(document) { previous = EdContext::install(this); }
    ~ActiveDocument() override { EdContext::install(previous); }
    QuorvaneDocument* activeDocument() override { return document; }

private:
    QuorvaneDocument* document;
    EdContext* previous = nullptr;
};

// The importer reads files only, so each input goes through a file of this
// process's own.
const std::string inputPath = [] {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/qrv-fuzz-" + std::to_string(::getpid()) +
           "-import.musicxml";
}();

void removeScratchFile()
{
    std::remove(inputPath.c_str());
}

bool writeInput(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(inputPath.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

BcArray<unsigned char> worksOf(const QuorvaneDocument& document)
{
    BcMemoryFiler filer;
    FUZZ_CHECK(document.writeWorks(filer));
    return filer.bytes();
}

bool sameBytes(const BcArray<unsigned char>& a, const BcArray<unsigned char>& b)
{
    return a.count() == b.count() &&
           (a.count() == 0 || std::memcmp(a.data(), b.data(), static_cast<size_t>(a.count())) == 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool cleanedAtExit = std::atexit(removeScratchFile) == 0;
    (void)cleanedAtExit;
    if (size > INT_MAX || !writeInput(data, size))
        return 0;
    QuorvaneDocument document;
    FUZZ_CHECK(document.OnNewDocument());
    ActiveDocument context(&document);
    const BcArray<unsigned char> before = worksOf(document);

    IeMusicXmlImporter importer;
    if (!importer.importFile(BcString(inputPath.c_str()))) {
        FUZZ_CHECK(!importer.errorText.isEmpty());
        FUZZ_CHECK(sameBytes(worksOf(document), before));
        return 0;
    }
    FUZZ_CHECK(importer.errorText.isEmpty());
    FUZZ_CHECK(document.works().count() == 2);
    fuzzWalkDocument(document);

    // What the import built is a document the score file holds.
    BcArray<unsigned char> saved;
    FUZZ_CHECK(document.saveScoreBytes(saved));
    QuorvaneDocument reopened;
    FUZZ_CHECK(reopened.loadScoreBytes(saved.data(), saved.count(), true));
    return 0;
}
