// Fuzz target for the headless replay: any bytes (and the same bytes with their file checksum
// made right) that read as a replay are played through the game as `quillon --headless
// --replay` plays them, cut to the first few thousand frames so that every run stays short.
// The game data is the folder $QUILLON_FUZZ_ROOT (holding Data/Res); the race's table goes
// to a private temporary save folder.
#include <stdlib.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "HeadlessReplay.h"
#include "fuzz/ReplayChecksumFix.h"
#include "save/ReplayFile.h"

namespace {

constexpr uint32_t kMaxPlayedFrames = 1500;  // about 18 s of race, a few seconds under the sanitizers

std::filesystem::path SaveFolder;

std::optional<quillon::TReplay> Read(std::string_view bytes) {
    try {
        return quillon::DecodeReplay(bytes, "fuzz.qrp");
    } catch (const quillon::EReplayError&) {
        return std::nullopt;
    }
}

// The first frames of the race and the events among them; the summary keeps what the whole
// race claimed, so a cut replay ends as one that diverged.
void CutShort(quillon::TReplay& replay) {
    if (replay.Frames.size() <= kMaxPlayedFrames) return;
    replay.Frames.resize(kMaxPlayedFrames);
    const auto after = std::find_if(replay.Events.begin(), replay.Events.end(),
                                    [](const quillon::TReplayEvent& e) { return e.BeforeFrame > kMaxPlayedFrames; });
    replay.Events.erase(after, replay.Events.end());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* root = getenv("QUILLON_FUZZ_ROOT");
    std::error_code error;
    if (!root || !std::filesystem::is_directory(std::filesystem::path(root) / "Data" / "Res", error)) {
        std::fprintf(stderr, "replay_play_fuzz: set QUILLON_FUZZ_ROOT to a game folder holding Data/Res\n");
        std::exit(1);
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-fuzz-save-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::fprintf(stderr, "replay_play_fuzz: no temporary save folder\n");
        std::exit(1);
    }
    SaveFolder = pattern;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(SaveFolder, ignored);
    });
    // The game reads its data from the folder it works in.
    std::filesystem::current_path(root);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::optional<quillon::TReplay> replay = Read(bytes);
    if (!replay) replay = Read(WithChecksumMadeRight(bytes));
    if (!replay) return 0;
    CutShort(*replay);
    const quillon::THeadlessReplayRun run = quillon::PlayReplayHeadless(*replay, SaveFolder, quillon::THeadlessScript());
    if (run.Outcome.Frames > replay->Frames.size()) std::abort();
    return 0;
}
