// An XML file, opened and walked through the filer's cursor.
#include "FuzzCheck.h"
#include "FuzzEntry.h"

#include "foundation/BcXmlFiler.h"

#include <tinyxml.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// The filer reads files only, so each input goes through a file of this
// process's own.
static std::string scratchPath(const char* suffix)
{
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/qrv-fuzz-" + std::to_string(::getpid()) + suffix;
}

static const std::string inputPath = scratchPath("-in.xml");
static const std::string savedPath = scratchPath("-saved.xml");

static void removeScratchFiles()
{
    std::remove(inputPath.c_str());
    std::remove(savedPath.c_str());
}

static bool writeInput(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(inputPath.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

static volatile long long sink = 0;

// Every child element through findElement, getElementText and every
// attribute through getAttribute, depth first; counts the elements seen.
static int walk(BcXmlFiler& filer)
{
    TiXmlElement* here = filer.current;
    int seen = 1;
    for (const TiXmlAttribute* attribute = here->FirstAttribute(); attribute; attribute = attribute->Next()) {
        BcString value;
        if (filer.getAttribute(BcString(attribute->Name()), value))
            sink = sink + value.length();
    }
    for (TiXmlElement* child = here->FirstChildElement(); child; child = child->NextSiblingElement()) {
        BcString name(child->Value());
        BcString text;
        if (filer.getElementText(name, text))
            sink = sink + text.length();
        int index = 0;
        for (TiXmlElement* before = here->FirstChildElement(child->Value()); before != child;
             before = before->NextSiblingElement(child->Value()))
            ++index;
        if (filer.findElement(name, index) && filer.current == child) {
            seen += walk(filer);
            filer.goToParent();
            FUZZ_CHECK(filer.current == here);
        } else {
            filer.current = child;
            seen += walk(filer);
            filer.current = here;
        }
    }
    return seen;
}

static int walkDocument(BcXmlFiler& filer)
{
    int seen = 0;
    for (TiXmlElement* top = filer.document->FirstChildElement(); top; top = top->NextSiblingElement()) {
        filer.current = top;
        seen += walk(filer);
    }
    filer.current = nullptr;
    return seen;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool cleanedAtExit = std::atexit(removeScratchFiles) == 0;
    (void)cleanedAtExit;
    if (!writeInput(data, size))
        return 0;
    BcXmlFiler filer;
    if (!filer.open(BcString(inputPath.c_str())))
        return 0;
    int seen = walkDocument(filer);

    sink = sink + seen;

    // What TinyXML prints it does not always parse back the same way (it
    // prints a declaration's values unescaped), so the saved file is only
    // opened and walked again.
    filer.fileName = BcString(savedPath.c_str());
    FUZZ_CHECK(filer.save());
    BcXmlFiler reopened;
    if (reopened.open(BcString(savedPath.c_str())))
        walkDocument(reopened);
    return 0;
}
