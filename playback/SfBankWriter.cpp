#include "playback/SfBankWriter.h"

#include <cstring>

namespace {

class ByteSink
{
public:
    explicit ByteSink(std::vector<unsigned char>& bytes) : bytes(bytes) {}

    void u8(unsigned value) { bytes.push_back(static_cast<unsigned char>(value)); }
    void u16(unsigned value)
    {
        u8(value & 0xFF);
        u8(value >> 8 & 0xFF);
    }
    void u32(unsigned value)
    {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void id(const char* text) { bytes.insert(bytes.end(), text, text + 4); }
    // A fixed-length name, cut or padded with zeros.
    void name(const std::string& text, size_t length)
    {
        for (size_t i = 0; i < length; ++i)
            u8(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
    }

    // Opens a chunk; close fills in its size.
    size_t open(const char* chunkId)
    {
        id(chunkId);
        u32(0);
        return bytes.size();
    }
    void close(size_t start)
    {
        unsigned size = static_cast<unsigned>(bytes.size() - start);
        for (int i = 0; i < 4; ++i)
            bytes[start - 4 + i] = static_cast<unsigned char>(size >> (8 * i) & 0xFF);
    }

    size_t openList(const char* type)
    {
        size_t start = open("LIST");
        id(type);
        return start;
    }

    // A zero-terminated text padded to an even length.
    void text(const char* chunkId, const std::string& value)
    {
        size_t start = open(chunkId);
        bytes.insert(bytes.end(), value.begin(), value.end());
        u8(0);
        if ((value.size() + 1) % 2 != 0)
            u8(0);
        close(start);
    }

private:
    std::vector<unsigned char>& bytes;
};

template <class Owner>
void writeZones(ByteSink& sink, const std::vector<Owner>& owners, const char* bagId, const char* modId,
                const char* generatorId)
{
    size_t chunk = sink.open(bagId);
    unsigned generators = 0;
    for (const Owner& owner : owners) {
        for (const SfBankWriter::Zone& zone : owner.zones) {
            sink.u16(generators);
            sink.u16(0);
            generators += static_cast<unsigned>(zone.generators.size());
        }
    }
    sink.u16(generators);
    sink.u16(0);
    sink.close(chunk);

    chunk = sink.open(modId);
    for (int i = 0; i < 10; ++i)
        sink.u8(0);
    sink.close(chunk);

    chunk = sink.open(generatorId);
    for (const Owner& owner : owners) {
        for (const SfBankWriter::Zone& zone : owner.zones) {
            for (const SfBankWriter::Generator& generator : zone.generators) {
                sink.u16(static_cast<unsigned>(generator.number) & 0xFFFF);
                sink.u16(static_cast<unsigned>(generator.amount) & 0xFFFF);
            }
        }
    }
    sink.u32(0);
    sink.close(chunk);
}

} // namespace

void SfBankWriter::write(std::vector<unsigned char>& bytes) const
{
    std::vector<unsigned char> out;
    ByteSink sink(out);
    size_t riff = sink.open("RIFF");
    sink.id("sfbk");

    size_t list = sink.openList("INFO");
    size_t version = sink.open("ifil");
    sink.u16(2);
    sink.u16(1);
    sink.close(version);
    sink.text("isng", "EMU8000");
    sink.text("INAM", bankName);
    for (const InfoText& entry : info)
        sink.text((entry.id + "    ").c_str(), entry.text);
    sink.close(list);

    std::vector<unsigned> starts;
    list = sink.openList("sdta");
    size_t smpl = sink.open("smpl");
    unsigned position = 0;
    for (const Sample& sample : samples) {
        starts.push_back(position);
        for (short point : sample.points)
            sink.u16(static_cast<unsigned short>(point));
        for (int i = 0; i < guardPoints; ++i)
            sink.u16(0);
        position += static_cast<unsigned>(sample.points.size()) + guardPoints;
    }
    sink.close(smpl);
    sink.close(list);

    list = sink.openList("pdta");
    size_t chunk = sink.open("phdr");
    unsigned bag = 0;
    for (const Preset& preset : presets) {
        sink.name(preset.name, 20);
        sink.u16(static_cast<unsigned>(preset.preset));
        sink.u16(static_cast<unsigned>(preset.bank));
        sink.u16(bag);
        sink.u32(0);
        sink.u32(0);
        sink.u32(0);
        bag += static_cast<unsigned>(preset.zones.size());
    }
    sink.name("EOP", 20);
    sink.u16(0);
    sink.u16(0);
    sink.u16(bag);
    sink.u32(0);
    sink.u32(0);
    sink.u32(0);
    sink.close(chunk);
    writeZones(sink, presets, "pbag", "pmod", "pgen");

    chunk = sink.open("inst");
    bag = 0;
    for (const Instrument& instrument : instruments) {
        sink.name(instrument.name, 20);
        sink.u16(bag);
        bag += static_cast<unsigned>(instrument.zones.size());
    }
    sink.name("EOI", 20);
    sink.u16(bag);
    sink.close(chunk);
    writeZones(sink, instruments, "ibag", "imod", "igen");

    chunk = sink.open("shdr");
    for (size_t i = 0; i < samples.size(); ++i) {
        const Sample& sample = samples[i];
        unsigned start = starts[i];
        sink.name(sample.name, 20);
        sink.u32(start);
        sink.u32(start + static_cast<unsigned>(sample.points.size()));
        sink.u32(start + sample.loopStart);
        sink.u32(start + sample.loopEnd);
        sink.u32(sample.sampleRate);
        sink.u8(static_cast<unsigned>(sample.originalPitch));
        sink.u8(static_cast<unsigned>(sample.pitchCorrection) & 0xFF);
        sink.u16(static_cast<unsigned>(sample.sampleLink));
        sink.u16(static_cast<unsigned>(sample.sampleType));
    }
    sink.name("EOS", 20);
    for (int i = 0; i < 26; ++i)
        sink.u8(0);
    sink.close(chunk);
    sink.close(list);
    sink.close(riff);
    bytes = std::move(out);
}
