// Reading a sent replay before it is queued.
#include "server/ReplayCheck.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/Cp1251.h"
#include "save/DataHash.h"
#include "save/ReplayFolder.h"

namespace quillon::server {

namespace fs = std::filesystem;

TReplayExpectation ReplayExpectationFor(const std::string& game) {
    const fs::path beside = fs::path(game).parent_path();
    std::error_code error;
    const fs::path folder = fs::is_directory(beside / "Data" / "Res", error)
                                ? beside
                                : (beside / QUILLON_INSTALLED_DATA).lexically_normal();
    return DataExpectation(QUILLON_VERSION, folder);
}

TSentReplay CheckSentReplay(const std::string& bytes, const TSubmission& row,
                            const std::optional<TReplayExpectation>& expect) {
    TSentReplay sent;
    TReplay replay;
    try {
        replay = DecodeReplay(bytes, "the replay", expect);
    } catch (const EReplayError& error) {
        sent.Fault = error.what();
        return sent;
    }
    const TReplaySummary& summary = replay.Summary;
    if (summary.Score != row.Score)
        sent.Fault = "the replay ends with score " + std::to_string(summary.Score) + ", the row has " +
                     std::to_string(row.Score);
    else if (!summary.EnteredTable)
        sent.Fault = "the replay's score went into no table";
    else if (Cp1251ToUtf8(summary.TableName) != row.Name)
        sent.Fault = "the replay's score went into the table under another name";
    if (!sent.Fault.empty()) return sent;
    char key[24];
    std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(ReplayContentHash(replay)));
    sent.Key = key;
    sent.Frames = summary.Frames;
    return sent;
}

}  // namespace quillon::server
