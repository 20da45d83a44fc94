// Assembles the program's bank, voices/Instruments.sf2, from a General MIDI
// SoundFont:
//
//     qrv_instrumentbank <General MIDI bank> <output bank>
//
// The output is written to a temporary file beside it and renamed into
// place; it fails, and leaves no output, unless the bank made loads through
// the synthesizer's loader as the ten presets in order.
#include "foundation/BcString.h"
#include "playback/SfBankFile.h"
#include "playback/SfFileStream.h"
#include "playback/SfInstrumentBank.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

static int failed(const std::string& what)
{
    std::fprintf(stderr, "qrv_instrumentbank: %s\n", what.c_str());
    return 1;
}

static bool writeFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::filesystem::path temporary = path;
    temporary += ".tmp-" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: qrv_instrumentbank <General MIDI bank> <output bank>\n");
        return 2;
    }
    SfFileStream input;
    if (!input.open(argv[1]))
        return failed(std::string("cannot open ") + argv[1]);
    SfBankFile source;
    BcString reason;
    if (!source.read(input.stream(), SfBankFile::SampleFormat::shorts, reason))
        return failed(std::string(argv[1]) + ": " + reason.toNarrow(BcString::utf8CodePage));
    input.close();

    std::vector<unsigned char> bytes;
    std::vector<std::string> repairs;
    if (!SfInstrumentBank::make(source, bytes, repairs, reason))
        return failed(std::string(argv[1]) + ": " + reason.toNarrow(BcString::utf8CodePage));
    for (const std::string& repair : repairs)
        std::printf("qrv_instrumentbank: repaired in the copy: %s\n", repair.c_str());
    if (!writeFile(argv[2], bytes))
        return failed(std::string("cannot write ") + argv[2]);
    std::printf("qrv_instrumentbank: wrote %s (%zu bytes)\n", argv[2], bytes.size());
    return 0;
}
