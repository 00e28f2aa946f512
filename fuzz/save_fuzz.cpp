// Fuzz target for the save-file readers: any bytes as an options file, a high-score file and a
// ".url" link file. Reading never fails except with lines or entries it could not read; whatever is read must survive
// being written and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "save/LinkFile.h"
#include "save/SaveFiles.h"

namespace {

void CheckOptions(std::string_view text) {
    quillon::TSavedState state;
    for (int line : quillon::ReadOptionsFile(text, state))
        if (line < 1 || line > 6) std::abort();
    if (state.BossKeyCode != 0 && (state.BossKeyCode < quillon::kKeyF1 || state.BossKeyCode > quillon::kKeyF12))
        std::abort();

    quillon::TSavedState again;
    again.HighScores = state.HighScores;
    if (!quillon::ReadOptionsFile(quillon::FormatOptionsFile(state), again).empty()) std::abort();
    if (again.GameOptions.FullScreen != state.GameOptions.FullScreen ||
        again.GameOptions.MusicOn != state.GameOptions.MusicOn ||
        again.GameOptions.SoundOn != state.GameOptions.SoundOn || again.GameOptions.Country != state.GameOptions.Country ||
        again.BossKeyCode != state.BossKeyCode || again.BossKeyShift != state.BossKeyShift)
        std::abort();
}

void CheckHighScores(std::string_view text) {
    quillon::THighScoreTable table;
    for (int entry : quillon::ReadHighScoreFile(text, table))
        if (entry < 1 || entry > 10) std::abort();

    quillon::THighScoreTable again;
    if (!quillon::ReadHighScoreFile(quillon::FormatHighScoreFile(table), again).empty()) std::abort();
    for (std::size_t i = 0; i < quillon::kHighScoreEntries; ++i)
        if (again[i].Name != table[i].Name || again[i].Score != table[i].Score) std::abort();
    if (quillon::ComputeHighScoreChecksum(again) != quillon::ComputeHighScoreChecksum(table)) std::abort();
}

void CheckLink(std::string_view text) {
    const auto url = quillon::ParseInternetShortcut(text);
    if (url && !quillon::IsWebUrl(*url)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckOptions(text);
    CheckHighScores(text);
    CheckLink(text);
    return 0;
}
