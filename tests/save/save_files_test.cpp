// The options and high-score files: exact bytes written, the reading rules, and round trips.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "save/SaveFiles.h"
#include "save/TextFileReader.h"

namespace quillon {
namespace {

const std::string kVanya = "\xC2\xE0\xED\xFF";                       // "Ваня"
const std::string kRussia = "\xD0\xEE\xF1\xF1\xE8\xFF";              // "Россия"
const std::string kNovgorod = "  \xCD\xE8\xE6\xED\xE8\xE9 \xCD\xEE\xE2\xE3\xEE\xF0\xEE\xE4 ";  // "  Нижний Новгород "

TShiftState Alt() { return TShiftState::Of(TShiftKey::Alt); }
TShiftState Ctrl() { return TShiftState::Of(TShiftKey::Ctrl); }
TShiftState Shift() { return TShiftState::Of(TShiftKey::Shift); }

TEST(TextFileReader, IntegersSkipBlanksAndLineEnds) {
    struct Case {
        std::string text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"42", true, 42},           {"  \r\n\t-17 x", true, -17},   {"", true, 0},
        {" \r\n \r\n", true, 0},    {"+8", true, 8},                {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN}, {"2147483648", false, 0}, {"-2147483649", false, 0},
        {"12a", false, 0},          {"+", false, 0},                {"-", false, 0},
        {"$10", false, 0},          {"1.5", false, 0},              {"99999999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        TTextFileReader reader(c.text);
        std::int32_t value = -99;
        EXPECT_EQ(reader.ReadInteger(value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(TextFileReader, LinesEndAtCrLfLfOrCr) {
    TTextFileReader reader("abc\r\ndef\nghi\rjkl");
    EXPECT_EQ(reader.ReadLine(), "abc");
    EXPECT_EQ(reader.ReadLine(), "def");
    EXPECT_EQ(reader.ReadLine(), "ghi");
    EXPECT_EQ(reader.ReadLine(), "jkl");
    EXPECT_EQ(reader.ReadLine(), "");

    TTextFileReader numbers("7 rest of line\r\nnext");
    std::int32_t value = 0;
    ASSERT_TRUE(numbers.ReadInteger(value));
    numbers.SkipLine();
    EXPECT_EQ(numbers.ReadLine(), "next");
}

// A state with something in every field, to see which fields a read leaves alone.
TSavedState PriorState() {
    TSavedState s;
    s.GameOptions = TGameOptions{false, true, true, "Prior"};
    s.BossKeyShift = Ctrl();
    s.BossKeyCode = kKeyF1 + 4;  // F5
    s.HighScoreChecksum = "old";
    return s;
}

struct TOptionsFields {
    bool FullScreen, MusicOn, SoundOn;
    std::string Country;
    TShiftState Shift;
    std::uint16_t Key;
    std::string Checksum;
};

TOptionsFields FieldsOf(const TSavedState& s) {
    return {s.GameOptions.FullScreen, s.GameOptions.MusicOn, s.GameOptions.SoundOn, s.GameOptions.Country,
            s.BossKeyShift, s.BossKeyCode, s.HighScoreChecksum};
}

void ExpectFields(const TOptionsFields& got, const TOptionsFields& want, const std::string& what) {
    EXPECT_EQ(got.FullScreen, want.FullScreen) << what;
    EXPECT_EQ(got.MusicOn, want.MusicOn) << what;
    EXPECT_EQ(got.SoundOn, want.SoundOn) << what;
    EXPECT_EQ(got.Country, want.Country) << what;
    EXPECT_EQ(got.Shift, want.Shift) << what;
    EXPECT_EQ(got.Key, want.Key) << what;
    EXPECT_EQ(got.Checksum, want.Checksum) << what;
}

TEST(OptionsFile, ReadingRules) {
    constexpr std::uint16_t F5 = kKeyF1 + 4;
    struct Case {
        const char* what;
        std::string text;
        bool fromPrior;  // start from PriorState() instead of the zeroed start-up state
        TOptionsFields want;
        TBadItems bad;  // lines whose number could not be read
    } cases[] = {
        {"every line", "1\r\n0\r\n1\r\n" + kRussia + "\r\n1\r\n5\r\nabcd\r\n", false,
         {true, false, true, kRussia, Alt(), F5, "abcd"}, {}},
        {"line 1 holding 5 is full screen", "5\r\n1\r\n1\r\n\r\n0\r\n12\r\nx\r\n", false,
         {true, true, true, "", {}, kKeyF12, "x"}, {}},
        {"line 6 holding 13 keeps no key at start-up", "0\r\n1\r\n1\r\n\r\n0\r\n13\r\nx\r\n", false,
         {false, true, true, "", {}, 0, "x"}, {}},
        {"line 6 holding 13 keeps the key in force", "0\r\n1\r\n1\r\n\r\n0\r\n13\r\nx\r\n", true,
         {false, true, true, "", {}, F5, "x"}, {}},
        {"line 6 negative keeps the key", "0\r\n1\r\n1\r\n\r\n0\r\n-1\r\nx\r\n", true,
         {false, true, true, "", {}, F5, "x"}, {}},
        {"line 6 zero clears the key", "0\r\n1\r\n1\r\n\r\n0\r\n0\r\nx\r\n", true,
         {false, true, true, "", {}, 0, "x"}, {}},
        {"line 5 out of range keeps the modifier", "0\r\n1\r\n1\r\nC\r\n4\r\n1\r\n\r\n", true,
         {false, true, true, "C", Ctrl(), kKeyF1, ""}, {}},
        {"line 5 holding 3 is Shift", "0\r\n1\r\n1\r\nC\r\n3\r\n1\r\n\r\n", true,
         {false, true, true, "C", Shift(), kKeyF1, ""}, {}},
        {"missing lines read as 0 or empty", "1\r\n", true, {true, false, false, "", {}, 0, ""}, {}},
        {"empty file", "", false, {false, false, false, "", {}, 0, ""}, {}},
        {"rest of a number's line skipped", "1 yes\r\n0 no\r\n1\t!\r\nC\r\n2 Ctrl\r\n12 F12\r\nk\r\n", false,
         {true, false, true, "C", Ctrl(), kKeyF12, "k"}, {}},
        {"blank lines before a number are skipped", "\r\n  \t1\r\n0\r\n1\r\nC\r\n0\r\n0\r\nk\r\n", false,
         {true, false, true, "C", {}, 0, "k"}, {}},
        {"LF line ends", "0\n1\n0\nC\n1\n3\nk\n", false, {false, true, false, "C", Alt(), kKeyF1 + 2, "k"}, {}},
        {"country keeps its blanks", "1\r\n1\r\n1\r\n" + kNovgorod + "\r\n0\r\n0\r\nq\r\n", false,
         {true, true, true, kNovgorod, {}, 0, "q"}, {}},
        {"signed numbers", "+1\r\n-3\r\n-0\r\nC\r\n+1\r\n+2\r\nq", false,
         {true, true, false, "C", Alt(), kKeyF1 + 1, "q"}, {}},
        {"a bad number keeps line 2 and reading goes on", "1\r\nyes\r\n0\r\nC\r\n1\r\n1\r\nk\r\n", true,
         {true, true, false, "C", Alt(), kKeyF1, "k"}, {2}},
        {"a bad number keeps line 6, the check string is still read",
         "0\r\n0\r\n0\r\nX\r\n3\r\nF12\r\nzz\r\n", true, {false, false, false, "X", Shift(), F5, "zz"}, {6}},
        {"several bad lines", "x\r\n1\r\ny\r\nC\r\nz\r\n2\r\nk\r\n", true,
         {false, true, true, "C", Ctrl(), kKeyF1 + 1, "k"}, {1, 3, 5}},
        {"a number too large is not a number", "99999999999\r\n", true,
         {false, false, false, "", {}, 0, ""}, {1}},
    };
    for (const Case& c : cases) {
        TSavedState state = c.fromPrior ? PriorState() : TSavedState{};
        EXPECT_EQ(ReadOptionsFile(c.text, state), c.bad) << c.what;
        ExpectFields(FieldsOf(state), c.want, c.what);
    }
}

TEST(OptionsFile, DefaultsAreWrittenByteForByte) {
    TSavedState state;
    ResetOptions(state);
    ResetHighScores(state.HighScores);
    EXPECT_EQ(FormatOptionsFile(state), "0\r\n1\r\n1\r\n\r\n0\r\n12\r\n\xE2 \xA2v\r\n");
}

TEST(OptionsFile, BossKeyLines) {
    struct Case {
        std::uint8_t shiftBits;
        std::uint16_t key;
        const char* lines;  // lines 5 and 6
    } cases[] = {
        {0, 0, "0\r\n0\r\n"},           {2, kKeyF1, "1\r\n1\r\n"},     {4, kKeyF12, "2\r\n12\r\n"},
        {1, kKeyF1 + 9, "3\r\n10\r\n"}, {2 | 4, 124, "1\r\n0\r\n"},    {4 | 1, 111, "2\r\n0\r\n"},
        {1, 65, "3\r\n0\r\n"},
    };
    for (const Case& c : cases) {
        TSavedState state;
        state.BossKeyShift = TShiftState{c.shiftBits};
        state.BossKeyCode = c.key;
        EXPECT_EQ(FormatOptionsFile(state), "0\r\n0\r\n0\r\n\r\n" + std::string(c.lines) + "\r\n")
            << int(c.shiftBits) << " " << c.key;
    }
}

TEST(OptionsFile, FullScreenFromFiveIsWrittenAsOne) {
    TSavedState state;
    ASSERT_TRUE(ReadOptionsFile("5\r\n0\r\n0\r\n\r\n0\r\n0\r\n\r\n", state).empty());
    EXPECT_EQ(FormatOptionsFile(state).substr(0, 3), "1\r\n");
}

THighScoreTable NamedTable(std::vector<THighScore> entries) {
    THighScoreTable table;
    for (std::size_t i = 0; i < entries.size(); ++i) table[i] = entries[i];
    return table;
}

TEST(OptionsAndHighScoreFiles, RoundTrips) {
    struct Case {
        const char* what;
        TGameOptions options;
        TShiftState shift;
        std::uint16_t key;
        std::vector<THighScore> scores;
    } cases[] = {
        {"Cyrillic country with spaces", {true, false, true, kNovgorod}, Alt(), kKeyF1,
         {{kVanya, 10000}, {"A B", 5}, {"", 0}}},
        {"no boss key, negative scores", {false, true, false, ""}, {}, 0,
         {{kRussia, -1}, {" lead", -2147483647 - 1}, {"x", 2147483647}}},
        {"Ctrl+F12", {false, false, false, "Z"}, Ctrl(), kKeyF12, {}},
        {"Shift+F7", {true, true, true, kRussia + " 1"}, Shift(), kKeyF1 + 6, {{"\xFF\xC0", 3}}},
    };
    for (const Case& c : cases) {
        TSavedState saved;
        saved.GameOptions = c.options;
        saved.BossKeyShift = c.shift;
        saved.BossKeyCode = c.key;
        saved.HighScores = NamedTable(c.scores);

        TSavedState loaded;
        ASSERT_TRUE(ReadHighScoreFile(FormatHighScoreFile(saved.HighScores), loaded.HighScores).empty()) << c.what;
        ASSERT_TRUE(ReadOptionsFile(FormatOptionsFile(saved), loaded).empty()) << c.what;
        ExpectFields(FieldsOf(loaded),
                     {c.options.FullScreen, c.options.MusicOn, c.options.SoundOn, c.options.Country, c.shift, c.key,
                      ComputeHighScoreChecksum(saved.HighScores)},
                     c.what);
        for (std::size_t i = 0; i < kHighScoreEntries; ++i) {
            EXPECT_EQ(loaded.HighScores[i].Name, saved.HighScores[i].Name) << c.what << " " << i;
            EXPECT_EQ(loaded.HighScores[i].Score, saved.HighScores[i].Score) << c.what << " " << i;
        }
    }
}

TEST(HighScoreFile, DefaultTableWrittenByteForByte) {
    THighScoreTable table;
    ResetHighScores(table);
    table[10] = THighScore{"spare", 1};  // never saved
    std::string want;
    for (int i = 1; i <= 10; ++i) want += kVanya + "\r\n" + std::to_string(11000 - 1000 * i) + "\r\n";
    EXPECT_EQ(FormatHighScoreFile(table), want);
}

TEST(HighScoreFile, ReadingRules) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<THighScore> want;  // the first entries; the others stay as they were (Prior)
        TBadItems bad;
    } cases[] = {
        {"missing lines", "A\r\n5\r\nB\r\n", {{"A", 5}, {"B", 0}, {"", 0}, {"", 0}}, {}},
        {"rest of a score's line skipped", "A\r\n500 pts\r\n B \r\n-7\r\n", {{"A", 500}, {" B ", -7}}, {}},
        {"a blank score line is skipped", "A\r\n\r\n7\r\nB\r\n8\r\n", {{"A", 7}, {"B", 8}}, {}},
        {"a bad score keeps entry 3 and reading goes on",
         "A\r\n1\r\nB\r\n2\r\nC\r\nthree\r\nD\r\n4\r\n", {{"A", 1}, {"B", 2}, {"Prior", 20}, {"D", 4}}, {3}},
        {"a missing name line puts the next entries out of step",
         "A\r\n1\r\n2\r\nC\r\n3\r\n", {{"A", 1}, {"Prior", 10}, {"3", 0}, {"", 0}}, {2}},
        {"two bad scores", "A\r\nx\r\nB\r\n2\r\nC\r\ny\r\n", {{"Prior", 0}, {"B", 2}, {"Prior", 20}}, {1, 3}},
    };
    for (const Case& c : cases) {
        THighScoreTable table;
        for (std::size_t i = 0; i < kHighScoreSlots; ++i) table[i] = THighScore{"Prior", static_cast<int>(i * 10)};
        EXPECT_EQ(ReadHighScoreFile(c.text, table), c.bad) << c.what;
        for (std::size_t i = 0; i < c.want.size(); ++i) {
            EXPECT_EQ(table[i].Name, c.want[i].Name) << c.what << " " << i;
            EXPECT_EQ(table[i].Score, c.want[i].Score) << c.what << " " << i;
        }
        EXPECT_EQ(table[10].Name, "Prior") << c.what;
    }
}

}  // namespace
}  // namespace quillon
