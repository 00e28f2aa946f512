// The Replays folder: names that sort by time and show level and score, the newest fifty
// kept with the replays of the games still in the table, and writes that leave no part file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "save/ReplayFolder.h"
#include "save/SaveError.h"
#include "support/TempDir.h"

namespace quillon {
namespace {

using namespace std::chrono_literals;
using TTime = std::chrono::system_clock::time_point;

const TTime kStart = TTime(std::chrono::seconds(1796934000));  // 2026-12-10 20:20:00 UTC

TReplay Game(int score, bool entered, const std::string& name = "\xC2\xE0\xED\xFF") {
    TReplay replay;
    replay.Summary.Level = 1 + score % 10;
    replay.Summary.Score = score;
    replay.Summary.EnteredTable = entered;
    replay.Summary.TableName = entered ? name : "";
    return replay;
}

TEST(ReplayFolder, NamesSortByTimeAndShowLevelAndScore) {
    EXPECT_EQ(ReplayFileName(kStart + 123ms, Game(1234, false).Summary), "20261210-202000-123_level05_score0001234.qrp");
    EXPECT_EQ(ReplayFileName(kStart + 1h, Game(98760, true).Summary), "20261210-212000-000_level01_score0098760_table.qrp");
    EXPECT_LT(ReplayFileName(kStart + 999ms, Game(9, false).Summary), ReplayFileName(kStart + 1s, Game(0, false).Summary));
}

// Sixty games, five of which went into the table and three of those still stand there: the
// newest fifty stay, and so do the three.
TEST(ReplayFolder, SixtyGamesLeaveTheNewestFiftyAndThoseInTheTable) {
    testing::TTempDir dir("replays");
    const std::filesystem::path folder = std::filesystem::path(dir.Path()) / "Replays";
    THighScoreTable table;
    const int entered[] = {2, 4, 6, 8, 55};
    const int stillInTable[] = {4, 8, 55};
    for (int i = 0; i < 3; ++i) table[static_cast<size_t>(i)] = {"\xC2\xE0\xED\xFF", 1000 + stillInTable[i]};
    for (int game = 0; game < 60; ++game) {
        const bool inTable = std::find(std::begin(entered), std::end(entered), game) != std::end(entered);
        StoreReplay(folder, Game(1000 + game, inTable), kStart + std::chrono::seconds(game), table);
    }
    const std::vector<std::filesystem::path> kept = ListReplays(folder);
    ASSERT_EQ(kept.size(), 52u);
    EXPECT_NE(kept[0].filename().string().find("score0001004_table"), std::string::npos) << kept[0];
    EXPECT_NE(kept[1].filename().string().find("score0001008_table"), std::string::npos) << kept[1];
    EXPECT_NE(kept[2].filename().string().find("score0001010.qrp"), std::string::npos) << kept[2];
    EXPECT_NE(kept.back().filename().string().find("score0001059"), std::string::npos);
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().extension(), ".qrp") << "no temporary file is left: " << entry.path();

    // Once the entry drops out of the table its replay goes with the next rotation.
    table[0] = {"\xC2\xE0\xED\xFF", 1};
    PruneReplays(folder, table);
    EXPECT_EQ(ListReplays(folder).size(), 51u);
}

TEST(ReplayFolder, TwoRacesInTheSameMillisecondKeepBothReplays) {
    testing::TTempDir dir("replays");
    const THighScoreTable table;
    const auto first = StoreReplay(dir.Path(), Game(5, false), kStart, table);
    const auto second = StoreReplay(dir.Path(), Game(5, false), kStart, table);
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadReplayFile(second.string()), Game(5, false));
}

// Two table games ending in the same millisecond: both names end in the table mark, and
// while both scores stand in the table both replays outlast the rotation.
TEST(ReplayFolder, TwoTableGamesInTheSameMillisecondBothStay) {
    testing::TTempDir dir("replays");
    const std::filesystem::path folder(dir.Path());
    THighScoreTable table;
    table[0] = {"\xC2\xE0\xED\xFF", 900};
    const auto first = StoreReplay(folder, Game(900, true), kStart, table);
    const auto second = StoreReplay(folder, Game(900, true), kStart, table);
    EXPECT_EQ(first.filename(), "20261210-202000-000_level01_score0000900_table.qrp");
    EXPECT_EQ(second.filename(), "20261210-202000-000_level01_score0000900-2_table.qrp");
    for (int game = 1; game <= 3; ++game) StoreReplay(folder, Game(game, false), kStart + std::chrono::seconds(game), table);
    PruneReplays(folder, table, 1);
    EXPECT_TRUE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second));
    EXPECT_EQ(ListReplays(folder).size(), 3u) << "the newest and the two in the table";
}

TEST(ReplayFolder, AFolderThatCannotBeWrittenRaisesTheGamesError) {
    if (geteuid() == 0) {
        // Root writes into read-only folders; a file in the folder's place blocks it instead.
        testing::TTempDir dir("replays");
        const std::filesystem::path blocked = std::filesystem::path(dir.Path()) / "Replays";
        { std::ofstream(blocked) << "a file"; }
        EXPECT_THROW(StoreReplay(blocked, Game(1, false), kStart, THighScoreTable{}), ESaveFileError);
        return;
    }
    testing::TTempDir dir("replays");
    ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
    EXPECT_THROW(StoreReplay(dir.Path(), Game(1, false), kStart, THighScoreTable{}), ESaveFileError);
    chmod(dir.Path().c_str(), 0755);
}

}  // namespace
}  // namespace quillon
