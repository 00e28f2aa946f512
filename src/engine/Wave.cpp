// TWave: reading and writing RIFF wave images.
#include "engine/Wave.h"

#include <cstring>

#include "engine/ComponentStream.h"

namespace quillon {
namespace {

void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

void PutDWord(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutWord(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

}  // namespace

int TWave::Field16(size_t at) const {
    if (Format.size() < at + 2) return 0;
    return Format[at] | (Format[at + 1] << 8);
}

uint32_t TWave::Field32(size_t at) const {
    if (Format.size() < at + 4) return 0;
    return static_cast<uint32_t>(Format[at]) | (static_cast<uint32_t>(Format[at + 1]) << 8) |
           (static_cast<uint32_t>(Format[at + 2]) << 16) | (static_cast<uint32_t>(Format[at + 3]) << 24);
}

void TWave::SetPCMFormat(int channels, int samplesPerSecond, int bitsPerSample) {
    int blockAlign = channels * ((bitsPerSample + 7) / 8);
    Format.clear();
    PutWord(Format, WAVE_FORMAT_PCM);
    PutWord(Format, static_cast<uint16_t>(channels));
    PutDWord(Format, static_cast<uint32_t>(samplesPerSecond));
    PutDWord(Format, static_cast<uint32_t>(samplesPerSecond * blockAlign));
    PutWord(Format, static_cast<uint16_t>(blockAlign));
    PutWord(Format, static_cast<uint16_t>(bitsPerSample));
}

void TWave::LoadFromMemory(const uint8_t* data, size_t size) {
    Format.clear();
    Data.clear();
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) throw EWaveError();
    size_t pos = 12;
    size_t dataPos = 0, dataSize = 0;
    // Each body is skipped by exactly its stated size (no pad byte after an odd
    // size); the walk ends at the first header that is not there in full.
    while (size - pos >= 8) {
        const uint8_t* header = data + pos;
        uint32_t chunkSize = static_cast<uint32_t>(header[4]) | (static_cast<uint32_t>(header[5]) << 8) |
                             (static_cast<uint32_t>(header[6]) << 16) | (static_cast<uint32_t>(header[7]) << 24);
        pos += 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (chunkSize > size - pos) throw EReadError();
            Format.assign(data + pos, data + pos + chunkSize);
        } else if (std::memcmp(header, "data", 4) == 0) {
            dataPos = pos;
            dataSize = chunkSize;
        }
        if (chunkSize >= size - pos) break;  // the next header would lie past the end
        pos += chunkSize;
    }
    if (dataSize > 0) {
        if (dataPos > size || dataSize > size - dataPos) throw EReadError();
        Data.assign(data + dataPos, data + dataPos + dataSize);
    }
}

std::vector<uint8_t> TWave::SaveToMemory() const {
    std::vector<uint8_t> out;
    out.reserve(44 + Format.size() + Data.size());
    bool pad = Data.size() % 2 != 0;
    PutTag(out, "RIFF");
    PutDWord(out, static_cast<uint32_t>(4 + 8 + Format.size() + 8 + Data.size() + pad));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutDWord(out, static_cast<uint32_t>(Format.size()));
    // No pad byte after the format: the collection reader does not expect one.
    out.insert(out.end(), Format.begin(), Format.end());
    PutTag(out, "data");
    PutDWord(out, static_cast<uint32_t>(Data.size()));
    out.insert(out.end(), Data.begin(), Data.end());
    if (pad) out.push_back(0);
    return out;
}

}  // namespace quillon
