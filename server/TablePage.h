// The world table as an HTML page in Russian or English (UTF-8), in the look of the game's
// menus: the title art, the best three on a podium, the rest in a table of place, name, score,
// country, date and the proof (a verified score's mark and its replay to download), a filter by
// country and to verified scores only, and a link to the page in the other language. Its words
// are in PageTexts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/PageLanguage.h"
#include "server/ScoreRow.h"

namespace quillon::server {

// Where the page finds its title art on the same server, and the English page its own.
inline constexpr const char* kTitlePicturePath = "/static/title.png";
inline constexpr const char* kEnglishTitlePicturePath = "/static/en/title.png";

// Text made safe inside HTML elements and quoted attribute values.
std::string HtmlEscape(std::string_view text);

// The replay of a verified row on this server.
std::string ReplayAddress(const TScoreRow& row);

struct TTablePageView {
    std::string Country;     // the chosen country, "" for all
    bool VerifiedOnly = false;
    int TitleWidth = 0;      // the title art's size; 0 when the server has none
    int TitleHeight = 0;
    const char* TitleAddress = kTitlePicturePath;
    TPageLanguage Language = TPageLanguage::Russian;
};

// `rows` best first; `countries` for the filter.
std::string RenderTablePage(const std::vector<TScoreRow>& rows, const std::vector<std::string>& countries,
                            const TTablePageView& view);

}  // namespace quillon::server
