// Checking the world table's submissions: what the game's encoder sends is taken back exactly,
// and every malformed message is refused with its fault.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "save/ScoreCodec.h"
#include "server/SubmissionCheck.h"

namespace quillon::server {
namespace {

// A raw message padded as the game pads and encoded with the game's letters.
std::string Letters(std::string message) {
    while (message.size() % 5 != 0) message += '0';
    return EncodeScoreLetters(message);
}

std::string Fields(const std::string& type, const std::string& name, const std::string& score, const std::string& key,
                   const std::string& p, const std::string& country) {
    return "type=" + type + "|name=" + name + "|score=" + score + "|key=" + key + "|p=" + p + "|add=" + country + "|z=";
}

TEST(SubmissionCheck, TakesBackWhatTheGameSends) {
    struct Case {
        const char* what;
        TScoreEntry entry;
        TSubmission expected;
    } cases[] = {
        {"Cyrillic name and country", {"\xC2\xE0\xED\xFF", 10000, "\xD0\xEE\xF1\xF1\xE8\xFF"}, {"Ваня", 10000, "Россия"}},
        {"empty name and country", {"", 0, ""}, {"", 0, ""}},
        {"negative score", {"Pilot 7", -42, "Latvia"}, {"Pilot 7", -42, "Latvia"}},
        {"smallest score", {"a", -2147483647 - 1, ""}, {"a", -2147483647 - 1, ""}},
        {"largest score", {"a", 2147483647, ""}, {"a", 2147483647, ""}},
        {"longest name and country", {"\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF", 1, "Abcdefghijklmnop"},
         {"ЯЯЯЯЯЯЯЯЯЯЯЯ", 1, "Abcdefghijklmnop"}},
        {"spaces only", {"   ", 5, " "}, {"   ", 5, " "}},
    };
    for (const Case& c : cases) {
        const std::string letters = EncodeScoreLetters(FormatScoreMessage(c.entry));
        ASSERT_LE(letters.size(), kMaxSubmissionLetters) << c.what;
        const TSubmissionCheck check = CheckSubmission(letters);
        ASSERT_TRUE(std::holds_alternative<TSubmission>(check))
            << c.what << ": " << SubmissionFaultText(std::get<TSubmissionFault>(check));
        EXPECT_EQ(std::get<TSubmission>(check), c.expected) << c.what;
    }
}

TEST(SubmissionCheck, RefusesMalformedMessages) {
    const std::string good = Letters(Fields("0", "Ab", "7", "Q", "", "X"));
    std::string badLetter = good;
    badLetter[3] = 'I';
    struct Case {
        const char* what;
        std::string letters;
        TSubmissionFault fault;
    } cases[] = {
        // The letters themselves.
        {"nothing", "", TSubmissionFault::Empty},
        {"longer than any message", std::string(136, 'A'), TSubmissionFault::TooLong},
        {"a letter short", good.substr(0, good.size() - 1), TSubmissionFault::NotPadded},
        {"a letter too many", good + "A", TSubmissionFault::NotPadded},
        {"I inside", badLetter, TSubmissionFault::BadLetter},
        {"lower case", "nftgg3df", TSubmissionFault::BadLetter},
        {"a zero digit", "NFTGG0DF", TSubmissionFault::BadLetter},
        {"eight letters of nonsense bytes", "NFTGG3DF", TSubmissionFault::BadLayout},
        // The fields.
        {"no z field", Letters("type=0|name=Ab|score=7|key=Q|p=|add=X"), TSubmissionFault::BadLayout},
        {"no name field", Letters("type=0|score=7|key=Q|p=|add=X|z="), TSubmissionFault::BadLayout},
        {"fields swapped", Letters("name=Ab|type=0|score=7|key=Q|p=|add=X|z="), TSubmissionFault::BadLayout},
        {"a field too many", Letters(Fields("0", "Ab", "7", "Q", "", "X") + "|w="), TSubmissionFault::BadLayout},
        {"a key without its =", Letters("type=0|name=Ab|score7|key=Q|p=|add=X|z="), TSubmissionFault::BadLayout},
        {"a bar in the name", Letters(Fields("0", "A|b", "7", "Q", "", "X")), TSubmissionFault::BadLayout},
        // The padding ("type=0|name=Ab|score=7|key=Q|p=|add=X|z=" is 40 bytes, with "XY" 41).
        {"padding that was not needed", Letters(Fields("0", "Ab", "7", "Q", "", "X") + "00000"), TSubmissionFault::BadPadding},
        {"five zeros too many", Letters(Fields("0", "Ab", "7", "Q", "", "XY") + "000000000"), TSubmissionFault::BadPadding},
        {"padding that is not zeros", Letters(Fields("0", "Ab", "7", "Q", "", "XY") + "000x"), TSubmissionFault::BadPadding},
        // Each value.
        {"type 1", Letters(Fields("1", "Ab", "7", "Q", "", "X")), TSubmissionFault::BadType},
        {"type empty", Letters(Fields("", "Ab", "7", "Q", "", "X")), TSubmissionFault::BadType},
        {"name of 13", Letters(Fields("0", "Abcdefghijklm", "7", "Q", "", "X")), TSubmissionFault::BadName},
        {"name with !", Letters(Fields("0", "Ab!", "7", "Q", "", "X")), TSubmissionFault::BadName},
        {"name with <", Letters(Fields("0", "<b>", "7", "Q", "", "X")), TSubmissionFault::BadName},
        {"name with a tab", Letters(Fields("0", "A\tb", "7", "Q", "", "X")), TSubmissionFault::BadName},
        {"name with Yo (not typed by the game)", Letters(Fields("0", "\xA8", "7", "Q", "", "X")), TSubmissionFault::BadName},
        {"name with a NUL", Letters(Fields("0", std::string("A\0b", 3), "7", "Q", "", "X")), TSubmissionFault::BadName},
        {"score empty", Letters(Fields("0", "Ab", "", "Q", "", "X")), TSubmissionFault::BadScore},
        {"score with +", Letters(Fields("0", "Ab", "+7", "Q", "", "X")), TSubmissionFault::BadScore},
        {"score with leading zero", Letters(Fields("0", "Ab", "07", "Q", "", "X")), TSubmissionFault::BadScore},
        {"score -0", Letters(Fields("0", "Ab", "-0", "Q", "", "X")), TSubmissionFault::BadScore},
        {"score only -", Letters(Fields("0", "Ab", "-", "Q", "", "X")), TSubmissionFault::BadScore},
        {"score 2^31", Letters(Fields("0", "Ab", "2147483648", "Q", "", "X")), TSubmissionFault::BadScore},
        {"score below -2^31", Letters(Fields("0", "Ab", "-2147483649", "Q", "", "X")), TSubmissionFault::BadScore},
        {"score of 11 digits", Letters(Fields("0", "Ab", "10000000000", "Q", "", "X")), TSubmissionFault::BadScore},
        {"score with a letter", Letters(Fields("0", "Ab", "12a", "Q", "", "X")), TSubmissionFault::BadScore},
        {"score with a blank", Letters(Fields("0", "Ab", " 12", "Q", "", "X")), TSubmissionFault::BadScore},
        {"another key", Letters(Fields("0", "Ab", "7", "K", "", "X")), TSubmissionFault::BadKey},
        {"key empty", Letters(Fields("0", "Ab", "7", "", "", "X")), TSubmissionFault::BadKey},
        {"key doubled", Letters(Fields("0", "Ab", "7", "QQ", "", "X")), TSubmissionFault::BadKey},
        {"p not empty", Letters(Fields("0", "Ab", "7", "Q", "1", "X")), TSubmissionFault::BadP},
        {"country of 17", Letters(Fields("0", "Ab", "7", "Q", "", "Abcdefghijklmnopq")), TSubmissionFault::BadCountry},
        {"country with &", Letters(Fields("0", "Ab", "7", "Q", "", "A&B")), TSubmissionFault::BadCountry},
        {"country with a quote", Letters(Fields("0", "Ab", "7", "Q", "", "A\"")), TSubmissionFault::BadCountry},
    };
    for (const Case& c : cases) {
        const TSubmissionCheck check = CheckSubmission(c.letters);
        ASSERT_TRUE(std::holds_alternative<TSubmissionFault>(check)) << c.what;
        EXPECT_EQ(std::get<TSubmissionFault>(check), c.fault)
            << c.what << ": got " << SubmissionFaultText(std::get<TSubmissionFault>(check));
    }
}

TEST(SubmissionCheck, ScoreTextAsTheGameWritesIt) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t score;
    } cases[] = {
        {"0", true, 0},           {"7", true, 7},          {"-7", true, -7},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"", false, 0},           {"-", false, 0},         {"00", false, 0},
        {"-0", false, 0},         {"+1", false, 0},        {"1-", false, 0},
        {"--1", false, 0},        {"2147483648", false, 0}, {"99999999999", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t score = 12345;
        EXPECT_EQ(ParseScoreText(c.text, score), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(score, c.score) << c.text;
        }
    }
}

}  // namespace
}  // namespace quillon::server
