// The saved state of one generation of the save stress run: every value of the options and the
// table follows from the generation number, so a loaded pair tells which save it came from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "save/SavedState.h"

namespace quillon::stress {

// "Страна " in Windows-1251; the country line carries the generation number.
inline const std::string kCountryPrefix = "\xD1\xF2\xF0\xE0\xED\xE0 ";
// "Пилот " in Windows-1251.
inline const std::string kNamePrefix = "\xCF\xE8\xEB\xEE\xF2 ";

inline TSavedState MakeGeneration(std::int64_t generation) {
    TSavedState state;
    state.GameOptions.FullScreen = generation % 2 == 1;
    state.GameOptions.MusicOn = generation % 3 != 0;
    state.GameOptions.SoundOn = generation % 5 != 0;
    state.GameOptions.Country = kCountryPrefix + std::to_string(generation);
    const TShiftKey shifts[] = {TShiftKey::Alt, TShiftKey::Ctrl, TShiftKey::Shift};
    if (generation % 4 != 3) state.BossKeyShift = TShiftState::Of(shifts[generation % 4]);
    const std::int64_t key = generation % 13;
    state.BossKeyCode = key == 0 ? 0 : static_cast<std::uint16_t>(kKeyF1 + key - 1);
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) {
        state.HighScores[i].Name = kNamePrefix + std::to_string(generation * 10 + static_cast<std::int64_t>(i));
        state.HighScores[i].Score = static_cast<std::int32_t>(generation * 100 - static_cast<std::int64_t>(i) * 7);
    }
    return state;
}

// The generation a loaded state claims by its country line, or nothing.
inline std::optional<std::int64_t> GenerationOf(const TSavedState& state) {
    const std::string& country = state.GameOptions.Country;
    if (country.rfind(kCountryPrefix, 0) != 0) return std::nullopt;
    try {
        return std::stoll(country.substr(kCountryPrefix.size()));
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace quillon::stress
