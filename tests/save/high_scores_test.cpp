// The high-score table's rules: check string, sorting, qualifying, insertion and name typing.
#include <gtest/gtest.h>

#include "save/HighScores.h"

namespace quillon {
namespace {

THighScoreTable DefaultTable() {
    THighScoreTable table;
    ResetHighScores(table);
    return table;
}

std::string Codes(const std::string& text) {
    std::string out;
    for (char c : text) out += std::to_string(static_cast<unsigned char>(c)) + " ";
    return out;
}

TEST(HighScoreChecksum, DefaultTableGivesTheKnownCodes) {
    const std::string check = ComputeHighScoreChecksum(DefaultTable());
    EXPECT_EQ(Codes(check), "226 32 162 118 ");
}

TEST(HighScoreChecksum, LengthFollowsTheLongestNameNotTheScores) {
    THighScoreTable table = DefaultTable();
    EXPECT_EQ(ComputeHighScoreChecksum(table).size(), 4u);  // 5-digit scores, 4-letter names

    for (THighScore& e : table) e.Name.clear();
    EXPECT_EQ(ComputeHighScoreChecksum(table), "");

    table[7].Name = "abcdefgh";
    EXPECT_EQ(ComputeHighScoreChecksum(table).size(), 8u);
}

TEST(HighScoreChecksum, SeesNamesScoresAndSignsButNotTheSpareSlot) {
    const std::string base = ComputeHighScoreChecksum(DefaultTable());

    THighScoreTable spare = DefaultTable();
    spare[10] = THighScore{"someone much longer", 99999};
    EXPECT_EQ(ComputeHighScoreChecksum(spare), base);

    THighScoreTable score = DefaultTable();
    score[4].Score = 6001;  // the changed digit lies within the first four positions
    EXPECT_NE(ComputeHighScoreChecksum(score), base);

    THighScoreTable name = DefaultTable();
    name[9].Name[1] = '\xE1';
    EXPECT_NE(ComputeHighScoreChecksum(name), base);

    THighScoreTable negative = DefaultTable();
    negative[0].Score = -10000;
    EXPECT_NE(ComputeHighScoreChecksum(negative), base);
}

TEST(HighScoreChecksum, FoldsHighBytesAsUnsignedAndStaysPrintable) {
    THighScoreTable table;
    for (THighScore& e : table) e = THighScore{"\xFF\xFF", 0};
    table[0].Name = "\xFF\xFF\xFF";
    const std::string check = ComputeHighScoreChecksum(table);
    ASSERT_EQ(check.size(), 3u);
    // position 1: 32, then ten names (255) and ten scores "0" (48) folded in turn
    unsigned expect = 32;
    for (int i = 0; i < 10; ++i) {
        expect = (expect + 255) % 224 + 32;
        expect = (expect + 48) % 224 + 32;
    }
    EXPECT_EQ(static_cast<unsigned char>(check[0]), expect);
    for (char c : check) EXPECT_GE(static_cast<unsigned char>(c), 32);
}

TEST(HighScores, QualifyingNeedsMoreThanSomeEntry) {
    const THighScoreTable table = DefaultTable();
    struct Case {
        std::int32_t score;
        bool qualifies;
    } cases[] = {{1000, false}, {1001, true}, {999, false}, {50000, true}, {-5, false}};
    for (const Case& c : cases) EXPECT_EQ(QualifiesForHighScores(table, c.score), c.qualifies) << c.score;
}

TEST(HighScores, InsertionDropsTheLowestIntoTheSpareSlot) {
    THighScoreTable table = DefaultTable();
    InsertHighScore(table, "Neo", 1001);
    EXPECT_EQ(table[9].Name, "Neo");
    EXPECT_EQ(table[9].Score, 1001);
    EXPECT_EQ(table[10].Score, 1000);
}

TEST(HighScores, EqualScoreLandsBelowTheOldOne) {
    THighScoreTable table = DefaultTable();
    InsertHighScore(table, "Tie", 8000);
    EXPECT_EQ(table[2].Name, "\xC2\xE0\xED\xFF");
    EXPECT_EQ(table[3].Name, "Tie");
    EXPECT_EQ(table[3].Score, 8000);
    EXPECT_EQ(table[4].Score, 7000);

    InsertHighScore(table, "", 20000);  // an empty name is kept as it is
    EXPECT_EQ(table[0].Name, "");
    EXPECT_EQ(table[0].Score, 20000);
}

TEST(HighScores, ResetLeavesTheSpareSlot) {
    THighScoreTable table;
    table[10] = THighScore{"x", 5};
    ResetHighScores(table);
    EXPECT_EQ(table[0].Score, 10000);
    EXPECT_EQ(table[9].Score, 1000);
    EXPECT_EQ(table[10].Name, "x");
}

TEST(NameTyping, AcceptsDigitsLatinCyrillicAndSpace) {
    struct Case {
        char c;
        bool accepted;
    } cases[] = {{'0', true}, {'9', true}, {'A', true}, {'z', true},  {' ', true},  {'\xC0', true},
                 {'\xFF', true}, {'\xE0', true}, {'|', false}, {'-', false}, {'_', false}, {'\xBF', false},
                 {'\xA8', false}, {'\b', false}, {'\r', false}, {'\0', false}, {'@', false}, {'[', false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsNameChar(c.c), c.accepted) << static_cast<int>(static_cast<unsigned char>(c.c));
}

TEST(NameTyping, AppendStopsAtTheLimitAndBackspaceStopsAtEmpty) {
    std::string name;
    for (int i = 0; i < 20; ++i) AppendNameChar(name, 'a', kPlayerNameLimit);
    EXPECT_EQ(name.size(), kPlayerNameLimit);
    EXPECT_FALSE(AppendNameChar(name, 'b', kPlayerNameLimit));

    std::string country = "ab";
    DeleteLastNameChar(country);
    DeleteLastNameChar(country);
    DeleteLastNameChar(country);
    EXPECT_EQ(country, "");
    EXPECT_TRUE(AppendNameChar(country, '\xD0', kCountryLimit));
    EXPECT_EQ(country, "\xD0");
}

}  // namespace
}  // namespace quillon
