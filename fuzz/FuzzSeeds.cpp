// Writes the seed corpus of the entry points through the project's own API:
// fuzz_seeds <corpus folder> makes one subfolder per entry point. The seeds
// are committed; run it again (target fuzz_corpus) when the records change.
#include "editing/QuorvaneDocument.h"
#include "commands/EdStartup.h"
#include "foundation/BcClassManager.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcXmlFiler.h"
#include "model/FullDocument.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

static std::filesystem::path corpus;

static bool writeSeed(const std::string& entry, const std::string& name, const unsigned char* bytes, int size)
{
    std::filesystem::path folder = corpus / entry;
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes), size);
    return static_cast<bool>(out);
}

static bool documentSeed(const std::string& name, QuorvaneDocument& document)
{
    BcArray<unsigned char> image;
    return document.saveScoreBytes(image) && writeSeed("qrv_document", name, image.data(), image.count());
}

// A record entry's input: the version byte, then the record.
static bool recordSeed(const std::string& entry, const std::string& name, const MnElement& record)
{
    BcMemoryFiler filer;
    filer.writeByte(BcMemoryFiler::currentVersion);
    return record.write(filer) && writeSeed(entry, name, filer.bytes().data(), filer.bytes().count());
}

static bool xmlSeed(const std::string& name, BcXmlFiler& filer)
{
    std::filesystem::path folder = corpus / "xml";
    std::filesystem::create_directories(folder);
    filer.fileName = BcString((folder / name).string().c_str());
    return filer.save();
}

static bool documentSeeds()
{
    QuorvaneDocument empty;
    bool ok = empty.OnNewDocument() && documentSeed("new-document.qrv", empty);

    QuorvaneDocument several;
    ok = ok && several.OnNewDocument();
    MnWork* work = static_cast<MnWork*>(several.works()[0]);
    work->title = BcString("Seed");
    work->composer = BcString("Quorvane");
    several.addWork(new MnScore());
    several.addWork(new MnSheetMusic());
    several.bringToFront(several.works()[1]);
    ok = ok && several.addCollapsed(static_cast<MnScore*>(several.works()[1])->part(0));
    ok = ok && documentSeed("score-and-sheet.qrv", several);

    FullDocument full;
    buildFullDocument(full);
    QuorvaneDocument everything;
    ok = ok && everything.OnNewDocument();
    MnSheetMusic* sheet = full.sheet;
    full.sheet = nullptr;
    everything.addWork(sheet);
    ok = ok && documentSeed("every-class.qrv", everything);
    full.sheet = new MnSheetMusic();

    ok = ok && recordSeed("score_record", "new-score", MnScore());
    ok = ok && recordSeed("score_record", "every-class", *sheet->score());
    ok = ok && recordSeed("sheet_music_record", "new-sheet", MnSheetMusic());
    ok = ok && recordSeed("sheet_music_record", "every-class", *sheet);
    return ok;
}

static bool xmlSeeds()
{
    BcXmlFiler index;
    index.addDeclaration("1.0", "UTF-8");
    index.addElement("QuorvaneBackup");
    index.addElement("Document");
    index.setAttribute("file", "001.qrv");
    index.addTextElementString("Path", BcString("/home/someone/Caf\xc3\xa9.qrv"));
    index.addTextElementInt("Modified", 1);
    bool ok = xmlSeed("backup-index.xml", index);

    BcXmlFiler score;
    score.addDeclaration("1.0", "UTF-8");
    score.addElement("score-partwise");
    score.setAttribute("version", "3.1");
    score.addElement("part-list");
    score.addElement("score-part");
    score.setAttribute("id", "P1");
    score.addTextElement("part-name", "Flute");
    score.goToParent();
    score.goToParent();
    score.addElement("part");
    score.setAttribute("id", "P1");
    score.addElement("measure");
    score.setAttribute("number", "1");
    score.addElement("attributes");
    score.addTextElementInt("divisions", 4);
    score.goToParent();
    score.addElement("note");
    score.addElement("pitch");
    score.addTextElement("step", "C");
    score.addTextElementInt("octave", 4);
    score.goToParent();
    score.addTextElementDouble("duration", 4.0);
    score.addTextElement("lyric", "R&#38;#233;sum&#233;");
    ok = ok && xmlSeed("partwise.xml", score);

    BcXmlFiler version;
    version.addElement("version");
    version.setAttribute("file", "quorvane.msi");
    version.setAttribute("major", "1");
    ok = ok && xmlSeed("version.xml", version);
    return ok;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
        return 2;
    }
    EdStartup::install();
    BcClassManager::instance()->linkClasses();
    corpus = argv[1];
    bool ok = documentSeeds() && xmlSeeds();
    if (!ok)
        std::fprintf(stderr, "fuzz_seeds: a seed could not be written\n");
    return ok ? 0 : 1;
}
