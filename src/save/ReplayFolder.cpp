// Naming, writing and pruning the replays of the Replays folder.
#include "save/ReplayFolder.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "save/DurableFile.h"

namespace quillon {

namespace {

constexpr const char* kTableMark = "_table";

bool HasMark(const std::filesystem::path& file) {
    const std::string stem = file.stem().string();
    return stem.ends_with(kTableMark);
}

// A replay whose game went into the table stays while an entry with its name and score does.
bool StandsInTable(const std::filesystem::path& file, const THighScoreTable& table) {
    try {
        const TReplay replay = ReadReplayFile(file.string());
        if (!replay.Summary.EnteredTable) return false;
        for (size_t i = 0; i < kHighScoreEntries; ++i)
            if (table[i].Name == replay.Summary.TableName && table[i].Score == replay.Summary.Score) return true;
    } catch (const EReplayError&) {
    }
    return false;
}

}  // namespace

std::string ReplayFileName(std::chrono::system_clock::time_point when, const TReplaySummary& summary, int copy) {
    const auto sinceEpoch = when.time_since_epoch();
    const std::time_t seconds =
        static_cast<std::time_t>(std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count());
    const int millis = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    const std::string number = copy > 1 ? "-" + std::to_string(copy) : "";
    char name[112];
    std::snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d-%03d_level%02d_score%07d%s%s%s", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, millis, summary.Level,
                  std::max(0, summary.Score), number.c_str(), summary.EnteredTable ? kTableMark : "", kReplayExtension);
    return name;
}

std::vector<std::filesystem::path> ListReplays(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() == kReplayExtension && it->is_regular_file(ec)) files.push_back(path);
    }
    // The names begin with the time, so their order is the order of recording.
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.filename().string() < b.filename().string(); });
    return files;
}

void PruneReplays(const std::filesystem::path& folder, const THighScoreTable& table, size_t keep) {
    const std::vector<std::filesystem::path> files = ListReplays(folder);
    if (files.size() <= keep) return;
    const size_t old = files.size() - keep;
    for (size_t i = 0; i < old; ++i) {
        if (HasMark(files[i]) && StandsInTable(files[i], table)) continue;
        std::error_code ignored;
        std::filesystem::remove(files[i], ignored);
    }
}

std::filesystem::path StoreReplay(const std::filesystem::path& folder, const TReplay& replay,
                                  std::chrono::system_clock::time_point when, const THighScoreTable& table) {
    EnsureDirectory(folder);
    std::filesystem::path file = folder / ReplayFileName(when, replay.Summary);
    // Two races ending in the same millisecond get names one apart.
    for (int n = 2; std::filesystem::exists(file); ++n) file = folder / ReplayFileName(when, replay.Summary, n);
    WriteFileAtomic(file, EncodeReplay(replay));
    PruneReplays(folder, table);
    return file;
}

}  // namespace quillon
