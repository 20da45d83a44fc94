// Writes the seed corpus of the entry points through the project's own API:
// fuzz_seeds <corpus folder> makes one subfolder per entry point. The seeds
// are committed; run it again (target fuzz_corpus) when the records change.
#include "editing/QuorvaneDocument.h"
#include "commands/EdStartup.h"
#include "foundation/BcClassManager.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcXmlFiler.h"
#include "interchange/MidiFileBuilder.h"
#include "model/FullDocument.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"
#include "playback/SfTestBanks.h"

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

// Banks of our own writer: the ten looped sines, and one small bank with a
// global zone at each level, key and velocity splits, an exclusive class,
// every loop mode, the filter and both LFOs.
static bool soundFontSeeds()
{
    using namespace SfTestBanks;
    std::vector<unsigned char> bytes = bytesOf(sineBank());
    bool ok = writeSeed("soundfont", "ten-sines.sf2", bytes.data(), static_cast<int>(bytes.size()));

    SfBankWriter bank;
    bank.samples.push_back(loopedSine("low", 2));
    bank.samples.push_back(loopedSine("high", 9));
    bank.samples.back().points.resize(loopPoints + 100, 4000);
    SfBankWriter::Zone instrumentGlobal;
    instrumentGlobal.generators = {{48, 20}, {8, 9000}, {9, 120}, {34, -3000}, {38, -2000}};
    bank.instruments.push_back(
        {"Split",
         {instrumentGlobal, sampleZone(0, {SfBankWriter::range(43, 0, 59), {54, 1}, {57, 1}}),
          sampleZone(1, {SfBankWriter::range(43, 60, 127), SfBankWriter::range(44, 0, 99), {54, 3}, {57, 1}}),
          sampleZone(1, {SfBankWriter::range(44, 100, 127), {54, 0}, {58, 72}})}});
    bank.instruments.push_back(
        {"Wobble", {sampleZone(0, {{5, 50}, {6, 30}, {10, 2000}, {13, 60}, {22, -1000}, {24, -500}, {7, 200},
                                   {11, -1500}, {26, -2000}, {28, -1000}, {29, 300}, {54, 1}})}});
    SfBankWriter::Zone presetGlobal;
    presetGlobal.generators = {{17, -200}, {52, 5}};
    bank.presets.push_back({"Split", 3, 0, {presetGlobal, instrumentZone(0)}});
    bank.presets.push_back({"Wobble", 1, 0, {instrumentZone(1, {SfBankWriter::range(43, 30, 90)})}});
    bank.write(bytes);
    ok = ok && writeSeed("soundfont", "features.sf2", bytes.data(), static_cast<int>(bytes.size()));
    return ok;
}

// Standard MIDI Files: a conductor track and two instruments (running
// status, a system-exclusive event, a key change), and a one-track file.
static bool midiSeeds()
{
    std::vector<unsigned char> bytes = midiSampleFile();
    bool ok = writeSeed("midi", "three-tracks.mid", bytes.data(), static_cast<int>(bytes.size()));

    MidiTrack melody;
    melody.tempo(0, 500000).program(0, 0, 40).noteOn(0, 0, 60).noteOn(160, 0, 62).noteOff(0, 0, 60)
        .noteOn(160, 0, 64).noteOff(0, 0, 62).noteOff(160, 0, 64).endOfTrack();
    bytes = MidiFileBuilder(0, 480).track(melody).bytes();
    return ok && writeSeed("midi", "triplets.mid", bytes.data(), static_cast<int>(bytes.size()));
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
    bool ok = documentSeeds() && xmlSeeds() && soundFontSeeds() && midiSeeds();
    if (!ok)
        std::fprintf(stderr, "fuzz_seeds: a seed could not be written\n");
    return ok ? 0 : 1;
}
