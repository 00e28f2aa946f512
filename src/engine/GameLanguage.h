// The language of this run's words: Russian, as the game was first written, or English.
// Chosen once at start (command line, settings file, locale) and read by whatever draws
// words: the texts, the pictures with words on them. The game's files and rules never
// depend on it.
#pragma once

#include <optional>
#include <string_view>

namespace quillon {

enum class TLanguage { Russian, English };

TLanguage GameLanguage();
void SetGameLanguage(TLanguage language);

// "ru" or "en": the code in catalogs' and collections' folder names and on the command line.
std::string_view LanguageCode(TLanguage language);
std::optional<TLanguage> LanguageFromCode(std::string_view code);

}  // namespace quillon
