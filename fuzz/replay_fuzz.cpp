// Fuzz target for the replay reader: any bytes as a replay file, the same bytes with their
// file checksum made right (so that the fuzzer gets past it), and as an unpacked frame stream.
// A replay that is read must survive being written and read again unchanged.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/ReplayChecksumFix.h"
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
