// The world table as JSON: {"scores": [{"place", "name", "score", "country", "date", "verified",
// "replay"}, ...]}; "replay" is the download address of a verified row's replay, else null.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/ScoreRow.h"

namespace quillon::server {

// A JSON string literal (with its quotes) of UTF-8 text.
std::string JsonString(std::string_view utf8);

// `rows` best first; dates as "2024-12-31T23:59:59Z".
std::string RenderScoresJson(const std::vector<TScoreRow>& rows);

}  // namespace quillon::server
