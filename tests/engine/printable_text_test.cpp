// Texts shown to the player: control characters and broken UTF-8 escaped, the rest unchanged.
#include <gtest/gtest.h>

#include "engine/PrintableText.h"

namespace quillon {
namespace {

TEST(PrintableText, EscapesControlsAndBrokenUtf8Only) {
    struct Case {
        std::string text, shown;
    } cases[] = {
        {"Cannot open file \"Data/Res/Res1.dxg\".", "Cannot open file \"Data/Res/Res1.dxg\"."},
        {"Квиллон ü €", "Квиллон ü €"},
        {"Property \x1B[31mRed does not exist", "Property \\x1B[31mRed does not exist"},
        {"line\r\nend\t\x7F", "line\\x0D\\x0Aend\\x09\\x7F"},
        {"\xC2\x9B" "2J", "\\xC2\\x9B2J"},                  // a C1 control in UTF-8
        {"\xCA\xE2\xE8", "\\xCA\\xE2\\xE8"},                // Windows-1251 bytes
        {"\xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80", "\\xC0\\xAF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80"},
        {"cut \xD0", "cut \\xD0"},
        {std::string("nul\0byte", 8), "nul\\x00byte"},
    };
    for (const Case& c : cases) EXPECT_EQ(PrintableText(c.text), c.shown) << c.shown;
}

}  // namespace
}  // namespace quillon
