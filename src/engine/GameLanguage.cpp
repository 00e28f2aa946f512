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

namespace {
// "ru_RU.UTF-8@latin" -> "ru"
std::string_view LanguagePart(std::string_view locale) {
    return locale.substr(0, locale.find_first_of("_.@"));
}

bool IsPlainLocale(std::string_view locale) {
    const std::string_view language = LanguagePart(locale);
    return language.empty() || language == "C" || language == "POSIX";
}
}  // namespace

TLanguage LanguageFromLocale(const TLocaleVariables& variables) {
    std::string_view messages = variables.LcAll;
    if (messages.empty()) messages = variables.LcMessages;
    if (messages.empty()) messages = variables.Lang;
    if (!IsPlainLocale(messages)) {
        std::string_view list = variables.Language;
        while (!list.empty()) {
            const size_t colon = list.find(':');
            const std::optional<TLanguage> wanted = LanguageFromCode(LanguagePart(list.substr(0, colon)));
            if (wanted) return *wanted;
            list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
        }
    }
    return LanguagePart(messages) == "ru" ? TLanguage::Russian : TLanguage::English;
}

TLanguage ChooseLanguage(std::optional<TLanguage> commandLine, std::optional<TLanguage> setting, bool readLocale,
                         const TLocaleVariables& locale) {
    if (commandLine) return *commandLine;
    if (setting) return *setting;
    return readLocale ? LanguageFromLocale(locale) : TLanguage::Russian;
}

}  // namespace quillon
