#include "engine/GameLanguage.h"

namespace quillon {

namespace {
TLanguage RunLanguage = TLanguage::Russian;
}  // namespace

TLanguage GameLanguage() { return RunLanguage; }

void SetGameLanguage(TLanguage language) { RunLanguage = language; }

std::string_view LanguageCode(TLanguage language) {
    return language == TLanguage::English ? "en" : "ru";
}

std::optional<TLanguage> LanguageFromCode(std::string_view code) {
    if (code == "ru") return TLanguage::Russian;
    if (code == "en") return TLanguage::English;
    return std::nullopt;
}

}  // namespace quillon
