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

// The values of the locale's variables, empty when unset.
struct TLocaleVariables {
    std::string_view Language;    // LANGUAGE: a list of preferences, "de:ru_RU:en"
    std::string_view LcAll;       // LC_ALL
    std::string_view LcMessages;  // LC_MESSAGES
    std::string_view Lang;        // LANG
};

// The language the locale asks for: the messages locale is the first of LC_ALL, LC_MESSAGES and
// LANG that is set; LANGUAGE's list goes before it unless that locale is C or POSIX (or unset),
// and its first entry that names Russian or English decides. Russian for ru, else English.
TLanguage LanguageFromLocale(const TLocaleVariables& variables);

// The run's language: --lang, else the settings file's Language, else the locale's. A run that
// does not read the locale (a headless one: tests, screenshots, the verifying server) is Russian
// unless told otherwise, so that it draws the same on every machine.
TLanguage ChooseLanguage(std::optional<TLanguage> commandLine, std::optional<TLanguage> setting, bool readLocale,
                         const TLocaleVariables& locale);

}  // namespace quillon
