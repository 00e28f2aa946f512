// Fuzz target for the replay reader: any bytes as a replay file, the same bytes with their
// file checksum made right (so that the fuzzer gets past it), and as an unpacked frame stream.
// A replay that is read must survive being written and read again unchanged.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "save/ReplayFile.h"

namespace {

void CheckFile(std::string_view bytes) {
    quillon::TReplay replay;
    try {
        replay = quillon::DecodeReplay(bytes, "fuzz.qrp");
    } catch (const quillon::EReplayError&) {
        return;
    }
    if (replay.Frames.size() != replay.Summary.Frames) std::abort();
    if (quillon::DecodeReplay(quillon::EncodeReplay(replay), "again.qrp") != replay) std::abort();
}

std::string WithChecksumMadeRight(std::string_view bytes) {
    std::string fixed(bytes);
    if (fixed.size() < 4) return fixed;
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(fixed.data()), static_cast<uInt>(fixed.size() - 4));
    for (int i = 0; i < 4; ++i) fixed[fixed.size() - 4 + static_cast<size_t>(i)] = static_cast<char>(crc >> (8 * i));
    return fixed;
}

void CheckStream(std::string_view bytes) {
    if (bytes.empty()) return;
    quillon::TReplay replay;
    try {
        quillon::DecodeReplayStream(bytes.substr(1), static_cast<uint8_t>(bytes[0]), "stream", replay);
    } catch (const quillon::EReplayError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckFile(bytes);
    CheckFile(WithChecksumMadeRight(bytes));
    CheckStream(bytes);
    return 0;
}
