#include "playback/SfBankFile.h"

#include "foundation/BcString.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace {

// Record chunks are read in pieces of this size, so a chunk that claims
// gigabytes allocates only as much as the stream really delivers.
constexpr unsigned pieceBytes = 64 * 1024;
constexpr unsigned samplePiece = 1024;

unsigned u16(const unsigned char* p)
{
    return static_cast<unsigned>(p[0]) | static_cast<unsigned>(p[1]) << 8;
}

unsigned u32(const unsigned char* p)
{
    return u16(p) | u16(p + 2) << 16;
}

void copyName(char* name, const unsigned char* bytes)
{
    std::memcpy(name, bytes, SfBankFile::nameLength);
    name[SfBankFile::nameLength] = '\0';
}

bool sameId(const char* id, const char* name)
{
    return std::memcmp(id, name, 4) == 0;
}

// A chunk name for a message, with bytes that are not printable as "?".
std::string idText(const char* id)
{
    std::string text;
    for (int i = 0; i < 4; ++i)
        text += id[i] >= 0x20 && id[i] < 0x7F ? id[i] : '?';
    return text;
}

std::string quoted(const char* name)
{
    return std::string("\"") + name + "\"";
}

enum class Level { form, presets, sampleData, other };

struct RecordChunk
{
    const char* id;
    unsigned recordSize;
};

// The nine record chunks of "pdta", in the order the format stores them.
constexpr RecordChunk recordChunks[] = {
    {"phdr", 38}, {"pbag", 4}, {"pmod", 10}, {"pgen", 4}, {"inst", 22},
    {"ibag", 4}, {"imod", 10}, {"igen", 4}, {"shdr", 46},
};
constexpr int recordChunkCount = 9;
constexpr int sampleChunk = recordChunkCount;

class BankReader
{
public:
    BankReader(const SfStream& stream, SfBankFile& bank, SfBankFile::SampleFormat format)
        : stream(stream), bank(bank), format(format)
    {
    }

    bool readBank();
    const std::string& error() const { return problem; }

private:
    bool fail(const std::string& text)
    {
        if (problem.empty())
            problem = text;
        return false;
    }
    bool truncated() { return fail("The bank ends early: the file is truncated."); }

    bool read(void* destination, unsigned count)
    {
        if (count == 0 || stream.streamRead(stream.data, destination, count) != 0)
            return true;
        return truncated();
    }

    // The last byte is read, not skipped: a seek past the end of a file
    // succeeds, so only a read tells that the bank was cut short there.
    bool skip(unsigned count)
    {
        if (count == 0)
            return true;
        if (count > 1 && stream.streamSkip(stream.data, count - 1) == 0)
            return truncated();
        unsigned char last;
        return read(&last, 1);
    }

    bool readBytes(unsigned count, std::vector<unsigned char>& bytes)
    {
        bytes.clear();
        while (count > 0) {
            unsigned piece = std::min(count, pieceBytes);
            size_t old = bytes.size();
            bytes.resize(old + piece);
            if (!read(bytes.data() + old, piece))
                return false;
            count -= piece;
        }
        return true;
    }

    bool readId(char* id)
    {
        if (!read(id, 4))
            return false;
        if (id[0] < 0x21 || id[0] > 0x79)
            return fail("Chunk name \"" + idText(id) + "\" is not a valid chunk name.");
        return true;
    }

    bool walk(unsigned remaining, Level level);
    bool readChunk(const char* id, unsigned size, Level level);
    bool readRecords(int chunk, unsigned size);
    bool readSamples(unsigned size);
    void parseRecords(int chunk, const std::vector<unsigned char>& bytes, unsigned count);

    SfStream stream;
    SfBankFile& bank;
    SfBankFile::SampleFormat format;
    bool found[recordChunkCount + 1] = {};
    std::string problem;
};

bool BankReader::readBank()
{
    if (!stream.streamRead || !stream.streamSkip)
        return fail("The bank cannot be read.");
    unsigned char header[12];
    if (stream.streamRead(stream.data, header, sizeof header) == 0)
        return fail("The file is too short to be a SoundFont 2 bank.");
    const char* id = reinterpret_cast<const char*>(header);
    unsigned size = u32(header + 4);
    if ((!sameId(id, "RIFF") && !sameId(id, "LIST")) || size < 4 || !sameId(id + 8, "sfbk"))
        return fail("The file is not a SoundFont 2 bank.");
    if (!walk(size - 4, Level::form))
        return false;
    for (int chunk = 0; chunk <= recordChunkCount; ++chunk) {
        if (!found[chunk])
            return fail(std::string("The bank has no \"") + (chunk < recordChunkCount ? recordChunks[chunk].id : "smpl") +
                        "\" chunk.");
    }
    if (format == SfBankFile::SampleFormat::floats)
        bank.samples.push_back(0.0f);
    return true;
}

bool BankReader::walk(unsigned remaining, Level level)
{
    while (remaining > 0) {
        if (remaining < 8)
            return fail("A chunk header runs past the end of the chunk that holds it.");
        char id[4];
        unsigned char sizeBytes[4];
        if (!readId(id) || !read(sizeBytes, 4))
            return false;
        unsigned size = u32(sizeBytes);
        remaining -= 8;
        if (sameId(id, "RIFF"))
            return fail("The bank holds a RIFF chunk inside another chunk.");
        if (size > remaining)
            return fail("Chunk \"" + idText(id) + "\" is larger than the chunk that holds it.");
        remaining -= size;
        if (!readChunk(id, size, level))
            return false;
        // Chunks of odd size are followed by a pad byte.
        if ((size & 1) != 0 && remaining > 0) {
            if (!skip(1))
                return false;
            --remaining;
        }
    }
    return true;
}

bool BankReader::readChunk(const char* id, unsigned size, Level level)
{
    if (sameId(id, "LIST")) {
        if (size < 4)
            return fail("A LIST chunk is too short to hold its type.");
        char type[4];
        if (!readId(type))
            return false;
        if (level == Level::form && sameId(type, "pdta"))
            return walk(size - 4, Level::presets);
        if (level == Level::form && sameId(type, "sdta"))
            return walk(size - 4, Level::sampleData);
        return skip(size - 4);
    }
    if (level == Level::presets) {
        for (int chunk = 0; chunk < recordChunkCount; ++chunk) {
            if (sameId(id, recordChunks[chunk].id))
                return readRecords(chunk, size);
        }
    }
    if (level == Level::sampleData && sameId(id, "smpl"))
        return readSamples(size);
    return skip(size);
}

bool BankReader::readRecords(int chunk, unsigned size)
{
    const RecordChunk& record = recordChunks[chunk];
    std::string name = std::string("\"") + record.id + "\"";
    if (found[chunk])
        return fail("The bank has two " + name + " chunks.");
    found[chunk] = true;
    if (size % record.recordSize != 0)
        return fail("Chunk " + name + " is not a whole number of " + std::to_string(record.recordSize) +
                    "-byte records.");
    unsigned count = size / record.recordSize;
    if (count == 0)
        return fail("Chunk " + name + " lacks its terminal record.");
    if (sameId(record.id, "pmod") || sameId(record.id, "imod")) {
        // Modulators are never applied: only their count is kept.
        (sameId(record.id, "pmod") ? bank.presetModulatorCount : bank.instrumentModulatorCount) =
            static_cast<int>(std::min<unsigned>(count, INT_MAX));
        return skip(size);
    }
    std::vector<unsigned char> bytes;
    if (!readBytes(size, bytes))
        return false;
    parseRecords(chunk, bytes, count);
    return true;
}

void BankReader::parseRecords(int chunk, const std::vector<unsigned char>& bytes, unsigned count)
{
    const unsigned char* p = bytes.data();
    const char* id = recordChunks[chunk].id;
    if (sameId(id, "phdr")) {
        bank.presetHeaders.resize(count);
        for (SfBankFile::PresetHeader& header : bank.presetHeaders) {
            copyName(header.name, p);
            header.preset = static_cast<int>(u16(p + 20));
            header.bank = static_cast<int>(u16(p + 22));
            header.bagIndex = static_cast<int>(u16(p + 24));
            header.library = u32(p + 26);
            header.genre = u32(p + 30);
            header.morphology = u32(p + 34);
            p += 38;
        }
    } else if (sameId(id, "pbag") || sameId(id, "ibag")) {
        std::vector<SfBankFile::Bag>& bags = sameId(id, "pbag") ? bank.presetBags : bank.instrumentBags;
        bags.resize(count);
        for (SfBankFile::Bag& bag : bags) {
            bag.generatorIndex = static_cast<int>(u16(p));
            bag.modulatorIndex = static_cast<int>(u16(p + 2));
            p += 4;
        }
    } else if (sameId(id, "pgen") || sameId(id, "igen")) {
        std::vector<SfBankFile::Generator>& generators =
            sameId(id, "pgen") ? bank.presetGenerators : bank.instrumentGenerators;
        generators.resize(count);
        for (SfBankFile::Generator& generator : generators) {
            generator.number = static_cast<int>(u16(p));
            generator.amount = static_cast<unsigned short>(u16(p + 2));
            p += 4;
        }
    } else if (sameId(id, "inst")) {
        bank.instruments.resize(count);
        for (SfBankFile::Instrument& instrument : bank.instruments) {
            copyName(instrument.name, p);
            instrument.bagIndex = static_cast<int>(u16(p + 20));
            p += 22;
        }
    } else if (sameId(id, "shdr")) {
        bank.sampleHeaders.resize(count);
        for (SfBankFile::SampleHeader& header : bank.sampleHeaders) {
            copyName(header.name, p);
            header.start = u32(p + 20);
            header.end = u32(p + 24);
            header.loopStart = u32(p + 28);
            header.loopEnd = u32(p + 32);
            header.sampleRate = u32(p + 36);
            header.originalPitch = p[40];
            header.pitchCorrection = static_cast<signed char>(p[41]);
            header.sampleLink = static_cast<int>(u16(p + 42));
            header.sampleType = static_cast<int>(u16(p + 44));
            p += 46;
        }
    }
}

bool BankReader::readSamples(unsigned size)
{
    if (found[sampleChunk])
        return fail("The bank has two \"smpl\" chunks.");
    found[sampleChunk] = true;
    unsigned count = size / 2;
    bool floats = format == SfBankFile::SampleFormat::floats;
    // One allocation when the stream vouches for the bytes, the guard point
    // included; otherwise the array grows only as the points arrive.
    long long remaining = stream.streamRemaining ? stream.streamRemaining(stream.data) : -1;
    if (remaining >= size) {
        if (floats)
            bank.samples.reserve(static_cast<size_t>(count) + 1);
        else
            bank.points.reserve(count);
    }
    unsigned char piece[samplePiece * 2];
    float converted[samplePiece];
    short copied[samplePiece];
    for (unsigned done = 0; done < count;) {
        unsigned n = std::min(count - done, samplePiece);
        if (!read(piece, n * 2))
            return false;
        if (floats) {
            for (unsigned i = 0; i < n; ++i)
                converted[i] = static_cast<short>(u16(piece + 2 * i)) / 32767.0f;
            bank.samples.insert(bank.samples.end(), converted, converted + n);
        } else {
            for (unsigned i = 0; i < n; ++i)
                copied[i] = static_cast<short>(u16(piece + 2 * i));
            bank.points.insert(bank.points.end(), copied, copied + n);
        }
        done += n;
    }
    bank.sampleCount = count;
    return skip(size & 1);
}

// Checks that the zones of a level (presets over their bags and generators,
// or instruments over theirs) stay inside their records.
template <class Header>
bool checkZones(const std::vector<Header>& headers, const std::vector<SfBankFile::Bag>& bags,
                size_t generatorCount, const char* what, std::string& error)
{
    int owners = static_cast<int>(headers.size()) - 1;
    for (int i = 0; i < owners; ++i) {
        if (headers[i].bagIndex > headers[i + 1].bagIndex) {
            error = std::string("The zones of ") + what + " " + quoted(headers[i].name) + " run backwards.";
            return false;
        }
    }
    int first = headers[0].bagIndex;
    int last = headers[owners].bagIndex;
    if (last >= static_cast<int>(bags.size())) {
        error = std::string("The ") + what + " headers point past their zone records.";
        return false;
    }
    for (int b = first; b < last; ++b) {
        if (bags[b].generatorIndex > bags[b + 1].generatorIndex) {
            error = std::string("The generators of ") + what + " zone " + std::to_string(b) + " run backwards.";
            return false;
        }
    }
    if (static_cast<size_t>(bags[last].generatorIndex) > generatorCount) {
        error = std::string("The ") + what + " zones point past their generator records.";
        return false;
    }
    return true;
}

} // namespace

bool SfBankFile::read(const SfStream& stream, SampleFormat format, BcString& reason)
{
    SfBankFile fresh;
    BankReader reader(stream, fresh, format);
    if (!reader.readBank()) {
        reason = BcString(reader.error().c_str());
        return false;
    }
    if (fresh.presetHeaders.size() < 2) {
        reason = BcString("The bank has no preset.");
        return false;
    }
    if (!fresh.checkStructure(reason))
        return false;
    *this = std::move(fresh);
    return true;
}

bool SfBankFile::checkStructure(BcString& reason) const
{
    std::string error;
    if (!checkZones(presetHeaders, presetBags, presetGenerators.size(), "preset", error) ||
        !checkZones(instruments, instrumentBags, instrumentGenerators.size(), "instrument", error)) {
        reason = BcString(error.c_str());
        return false;
    }
    for (int b = instruments.front().bagIndex; b < instruments.back().bagIndex; ++b) {
        for (int g = instrumentBags[b].generatorIndex; g < instrumentBags[b + 1].generatorIndex; ++g) {
            const Generator& generator = instrumentGenerators[g];
            if (generator.number == sampleGenerator && generator.amount >= sampleHeaderCount()) {
                reason = BcString(("An instrument zone plays sample " + std::to_string(generator.amount) +
                                   ", past the sample headers.")
                                      .c_str());
                return false;
            }
        }
    }
    long long work = 0;
    for (int b = presetHeaders.front().bagIndex; b < presetHeaders.back().bagIndex; ++b) {
        for (int g = presetBags[b].generatorIndex; g < presetBags[b + 1].generatorIndex; ++g) {
            const Generator& generator = presetGenerators[g];
            if (generator.number != instrumentGenerator)
                continue;
            if (generator.amount >= instrumentCount()) {
                reason = BcString(("A preset zone uses instrument " + std::to_string(generator.amount) +
                                   ", past the instrument records.")
                                      .c_str());
                return false;
            }
            work += instrumentBags[instrumentZoneEnd(generator.amount)].generatorIndex -
                    instrumentBags[instrumentZoneBegin(generator.amount)].generatorIndex + 1;
            if (work > maxZoneWork) {
                reason = BcString("The bank has too many zones to play.");
                return false;
            }
        }
    }
    return true;
}

bool SfBankFile::checkSamples(BcString& reason) const
{
    for (int i = 0; i < instrumentCount(); ++i) {
        for (int b = instrumentZoneBegin(i); b < instrumentZoneEnd(i); ++b) {
            for (int g = instrumentBags[b].generatorIndex; g < instrumentBags[b + 1].generatorIndex; ++g) {
                const Generator& generator = instrumentGenerators[g];
                if (generator.number != sampleGenerator)
                    continue;
                const SampleHeader& header = sampleHeaders[generator.amount];
                if (header.start >= header.end) {
                    reason = BcString(("Sample " + quoted(header.name) + " is empty.").c_str());
                    return false;
                }
                if (header.end > sampleCount) {
                    reason = BcString(("Sample " + quoted(header.name) + " lies outside the sample data.").c_str());
                    return false;
                }
            }
        }
    }
    return true;
}
