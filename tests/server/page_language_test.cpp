// The table page's language from the browser's Accept-Language header, read as an attacker
// might write it: odd weights, broken entries, many entries, bytes that are no text.
#include <gtest/gtest.h>

#include <string>

#include "server/PageLanguage.h"

namespace quillon::server {
namespace {

constexpr TPageLanguage kRu = TPageLanguage::Russian, kEn = TPageLanguage::English;

std::string Repeated(const std::string& part, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += part;
    return text;
}

TEST(PageLanguage, RussianOnlyWhenTheBrowserWantsItMoreThanEnglish) {
    const struct {
        std::string Header;
        TPageLanguage Language;
    } cases[] = {
        // What browsers send.
        {"", kEn},
        {"ru", kRu},
        {"en", kEn},
        {"ru-RU,ru;q=0.9,en-US;q=0.8,en;q=0.7", kRu},
        {"en-US,en;q=0.9,ru;q=0.8", kEn},
        {"uk-UA,uk;q=0.9,ru;q=0.8,en;q=0.7", kRu},
        {"de-DE,de;q=0.9", kEn},
        {"de, ru;q=0.5", kRu},
        {"RU-ru;Q=0.9, EN;q=0.3", kRu},
        // Weights: ties and zeros go to English; the wildcard stands for a language not named.
        {"ru;q=0.5, en;q=0.5", kEn},
        {"ru;q=0", kEn},
        {"ru;q=0.000", kEn},
        {"*", kEn},
        {"ru, *;q=0.5", kRu},
        {"en;q=0, *", kRu},
        {"*;q=0.9, en;q=0.1", kRu},
        {"ru;q=0.1, ru-RU;q=0.9, en;q=0.5", kRu},
        {"ru;q=1.000, en;q=0.999", kRu},
        {"ru \t; \tq=0.7 , en;q=0.6", kRu},
        // Broken entries are skipped, the rest still count.
        {"ru;q=1.5", kEn},
        {"ru;q=1.001", kEn},
        {"ru;q=0.9999", kEn},
        {"ru;q=-1", kEn},
        {"ru;q=", kEn},
        {"ru;q=abc", kEn},
        {"ru;q=.5", kEn},
        {"ru;q=0.5e1", kEn},
        {"ru;q=0.8;q=0.9", kEn},
        {"ru;level=1", kEn},
        {"ru;", kEn},
        {";q=1, ru;q=0.2", kRu},
        {",,,;;;===", kEn},
        {"\xff\xfe;q=1, ru;q=0.2", kRu},
        {"ru-" + std::string(200, 'x'), kEn},
        {"rux, russian, r, u", kEn},
        // Many entries: every one is read, the header's size alone bounds the work.
        {Repeated("xx-YY;q=0.1,", 1300) + "ru", kRu},
        {Repeated("ru;q=0.2,", 1500) + "en;q=0.3", kEn},
        {"ru," + std::string(16000, 'a'), kRu},
        {std::string(16000, ','), kEn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Header.substr(0, 80));
        EXPECT_EQ(PreferredLanguage(c.Header), c.Language);
    }
}

TEST(PageLanguage, TheParameterNamesOnlyTheLanguagesThePageHas) {
    EXPECT_EQ(LanguageOfCode("ru"), kRu);
    EXPECT_EQ(LanguageOfCode("en"), kEn);
    for (const char* other : {"", "RU", "de", "ru-RU", "en ", " ru", "ru,en"})
        EXPECT_FALSE(LanguageOfCode(other).has_value()) << other;
    for (const TPageLanguage language : kPageLanguages) EXPECT_EQ(LanguageOfCode(LanguageCode(language)), language);
}

}  // namespace
}  // namespace quillon::server
