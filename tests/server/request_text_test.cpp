// What the server makes of request text: the log's escaping and the target's path and query.
#include <gtest/gtest.h>

#include "server/LogText.h"
#include "server/QueryString.h"

namespace quillon::server {
namespace {

TEST(LogField, PrintableUtf8PassesAndEveryOtherByteIsEscaped) {
    struct Case {
        const char* what;
        std::string text;
        std::string logged;
    } cases[] = {
        {"plain", "/api/scores?limit=5", "/api/scores?limit=5"},
        {"Cyrillic", "Ваня", "Ваня"},
        {"empty", "", "-"},
        {"space, tab and line ends", "a b\tc\r\nd", "a\\x20b\\x09c\\x0d\\x0ad"},
        {"a backslash, so escapes cannot be faked", "a\\x41", "a\\x5cx41"},
        {"escape sequence", "\x1b[2J", "\\x1b[2J"},
        {"DEL", "\x7f", "\\x7f"},
        {"a lone high byte", "\xff", "\\xff"},
        {"a cut sequence", "\xd0", "\\xd0"},
        {"overlong slash", "\xc0\xaf", "\\xc0\\xaf"},
        {"surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
        {"C1 control", "\xc2\x85", "\\xc2\\x85"},
        {"right-to-left override", "a\xe2\x80\xae" "b", "a\\xe2\\x80\\xaeb"},
        {"emoji", "\xf0\x9f\x9a\x80", "\xf0\x9f\x9a\x80"},
    };
    for (const Case& c : cases) EXPECT_EQ(LogField(c.text), c.logged) << c.what;
    EXPECT_EQ(LogField(std::string(400, 'a')), std::string(300, 'a') + "...");
}

TEST(RequestTarget, PathAndParameters) {
    const TTarget submission("/cgi/version.pl?hs&prg=Quillon&inf=ABC");
    EXPECT_EQ(submission.Path(), "/cgi/version.pl");
    EXPECT_TRUE(submission.Has("hs"));
    EXPECT_FALSE(submission.Has("show"));
    std::string value;
    EXPECT_TRUE(submission.Single("prg", value));
    EXPECT_EQ(value, "Quillon");
    EXPECT_TRUE(submission.Single("missing", value));
    EXPECT_EQ(value, "");

    const TTarget repeated("/x?inf=a&inf=b");
    EXPECT_EQ(repeated.Count("inf"), 2u);
    EXPECT_FALSE(repeated.Single("inf", value));

    const TTarget encoded("/api%2Fscores?country=%D0%A0%D0%BE%D1%81%D1%81%D0%B8%D1%8F&n=a+b&bad=%zz%4&#frag");
    EXPECT_EQ(encoded.Path(), "/api/scores");
    EXPECT_TRUE(encoded.Single("country", value));
    EXPECT_EQ(value, "Россия");
    EXPECT_TRUE(encoded.Single("n", value));
    EXPECT_EQ(value, "a b");
    EXPECT_TRUE(encoded.Single("bad", value));
    EXPECT_EQ(value, "%zz%4");
}

}  // namespace
}  // namespace quillon::server
