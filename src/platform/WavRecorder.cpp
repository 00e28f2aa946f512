// TWavRecorder: per-frame pulls from the mixer and the RIFF WAV writer.
#include "platform/WavRecorder.h"

#include <cstdio>

#include "engine/Rounding.h"

namespace quillon {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutId(std::vector<uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

}  // namespace

int TWavRecorder::FrameSamples(int64_t frameIndex, int fps, int rate) {
    auto endOf = [&](int64_t k) { return Round(static_cast<double>(k) * rate / fps); };
    return static_cast<int>(endOf(frameIndex + 1) - endOf(frameIndex));
}

void TWavRecorder::RecordFrame(TDXSound& mixer, int64_t frameIndex, int fps) {
    Record(mixer, FrameSamples(frameIndex, fps, FRate));
}

void TWavRecorder::Record(TDXSound& mixer, int samples) {
    if (samples <= 0) return;
    size_t at = FSamples.size();
    FSamples.resize(at + 2 * static_cast<size_t>(samples));
    mixer.Mix(FSamples.data() + at, samples);
}

bool TWavRecorder::Finish() {
    uint32_t dataBytes = static_cast<uint32_t>(FSamples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutId(out, "RIFF");
    PutU32(out, 36 + dataBytes);
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);  // PCM
    PutU16(out, 2);
    PutU32(out, static_cast<uint32_t>(FRate));
    PutU32(out, static_cast<uint32_t>(FRate) * 4);
    PutU16(out, 4);
    PutU16(out, 16);
    PutId(out, "data");
    PutU32(out, dataBytes);
    for (int16_t s : FSamples) PutU16(out, static_cast<uint16_t>(s));
    std::FILE* file = std::fopen(FPath.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace quillon
