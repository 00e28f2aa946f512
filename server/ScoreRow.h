// One stored score of the world table as the page and the JSON show it.
#pragma once

#include <cstdint>
#include <string>

namespace quillon::server {

struct TScoreRow {
    std::string Name;     // UTF-8
    std::int32_t Score = 0;
    std::string Country;  // UTF-8
    std::int64_t Time = 0;  // seconds since 1970, UTC
    std::int64_t Id = 0;    // the row's key; a verified row's replay downloads from /api/replays/<Id>
    bool Verified = false;  // its replay played again to the same score
};

}  // namespace quillon::server
