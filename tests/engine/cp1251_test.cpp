// Windows-1251 <-> UTF-8 conversion of names and texts.
#include <gtest/gtest.h>

#include "engine/Cp1251.h"

namespace quillon {
namespace {

TEST(Cp1251, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(Cp1251, ConvertsTheGamesLetters) {
    struct Case { std::string cp1251; std::string utf8; } cases[] = {
        {"\xCA\xE2\xE8\xEB\xEB\xEE\xED", "Квиллон"},
        {"\xA8\xB8", "Ёё"},
        {"\xB9 \x96 \xAB\xBB", "№ – «»"},
        {"\x88", "€"},
        {"plain", "plain"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8);
        EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251);
    }
}

TEST(Cp1251, UnmappableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xAD" "b"), "a?b");          // a CJK letter
    EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80"), "?");             // outside the BMP
    EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");                         // cut short
    EXPECT_EQ(Utf8ToCp1251("\xD0z"), "?z");                       // bad continuation keeps the next letter
    EXPECT_EQ(Utf8ToCp1251("\xFF"), "?");
    EXPECT_EQ(Utf16ToCp1251(u"Щит"), "\xD9\xE8\xF2");
    EXPECT_EQ(Utf16ToCp1251(std::u16string{0xD83D, 0xDE00, u'x'}), "?x");  // a surrogate pair is one character
    EXPECT_EQ(Utf16ToCp1251(std::u16string{0xDC00}), "?");
}

}  // namespace
}  // namespace quillon
