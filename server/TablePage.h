// The world table as an HTML page in Russian (UTF-8): place, name, score, country and date of
// the best scores, with a country filter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/ScoreRow.h"

namespace quillon::server {

// Text made safe inside HTML elements and quoted attribute values.
std::string HtmlEscape(std::string_view text);

// `rows` best first; `countries` for the filter; `country` the chosen one ("" for all).
std::string RenderTablePage(const std::vector<TScoreRow>& rows, const std::vector<std::string>& countries,
                            const std::string& country);

}  // namespace quillon::server
