// The run's language: from the locale's variables as gettext reads them, and the order of
// --lang, the settings file and the locale.
#include <gtest/gtest.h>

#include "engine/GameLanguage.h"

namespace quillon {
namespace {

constexpr TLanguage Ru = TLanguage::Russian, En = TLanguage::English;

TEST(GameLanguage, TheLocalesMessagesLanguageDecides) {
    const struct {
        TLocaleVariables variables;  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
        TLanguage expected;
    } cases[] = {
        {{"", "", "", ""}, En},                                // nothing set: the C locale
        {{"", "", "", "C"}, En},
        {{"", "", "", "C.UTF-8"}, En},
        {{"", "", "", "ru_RU.UTF-8"}, Ru},
        {{"", "", "", "ru"}, Ru},
        {{"", "", "", "ru_UA.KOI8-U"}, Ru},
        {{"", "", "", "ru_RU@latin"}, Ru},
        {{"", "", "", "en_US.UTF-8"}, En},
        {{"", "", "", "de_DE.UTF-8"}, En},                     // no German: English
        {{"", "", "", "rus"}, En},                             // not the code ru
        {{"", "", "ru_RU.UTF-8", "en_US.UTF-8"}, Ru},          // LC_MESSAGES before LANG
        {{"", "", "en_GB.UTF-8", "ru_RU.UTF-8"}, En},
        {{"", "en_US.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8"}, En},  // LC_ALL before both
        {{"", "ru_RU.UTF-8", "", "en_US.UTF-8"}, Ru},
        {{"ru", "", "", "en_US.UTF-8"}, Ru},                   // LANGUAGE first
        {{"en:ru", "", "", "ru_RU.UTF-8"}, En},
        {{"de:fr:ru_RU:en", "", "", "en_US.UTF-8"}, Ru},       // the first one the game has
        {{"de:fr", "", "", "ru_RU.UTF-8"}, Ru},                // none the game has: the locale
        {{"::ru", "", "", "en_US.UTF-8"}, Ru},                 // empty entries are skipped
        {{"ru", "", "", ""}, En},                              // ...but not with the C locale
        {{"ru", "C", "", "en_US.UTF-8"}, En},
        {{"ru", "POSIX", "", ""}, En},
    };
    for (const auto& c : cases) {
        const TLocaleVariables& v = c.variables;
        EXPECT_EQ(LanguageFromLocale(v), c.expected)
            << "LANGUAGE=" << v.Language << " LC_ALL=" << v.LcAll << " LC_MESSAGES=" << v.LcMessages
            << " LANG=" << v.Lang;
    }
}

TEST(GameLanguage, CommandLineThenSettingThenLocaleAndAHeadlessRunReadsNoLocale) {
    const TLocaleVariables english{"", "", "", "en_US.UTF-8"}, russian{"", "", "", "ru_RU.UTF-8"};
    const struct {
        std::optional<TLanguage> commandLine, setting;
        bool readLocale;
        TLocaleVariables locale;
        TLanguage expected;
    } cases[] = {
        {En, Ru, true, russian, En},
        {Ru, En, false, english, Ru},
        {std::nullopt, En, true, russian, En},
        {std::nullopt, Ru, false, english, Ru},
        {std::nullopt, std::nullopt, true, english, En},
        {std::nullopt, std::nullopt, true, russian, Ru},
        {std::nullopt, std::nullopt, false, english, Ru},  // headless: Russian on every machine
        {std::nullopt, En, false, russian, En},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseLanguage(c.commandLine, c.setting, c.readLocale, c.locale), c.expected)
            << (c.commandLine ? LanguageCode(*c.commandLine) : "-") << " " << (c.setting ? LanguageCode(*c.setting) : "-")
            << " " << c.readLocale << " " << c.locale.Lang;
}

}  // namespace
}  // namespace quillon
