// The world table page and its JSON twin: places, escaping, dates, the country filter.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "server/ScoresJson.h"
#include "server/TablePage.h"
#include "support/Json.h"

namespace quillon::server {
namespace {

// 2024-03-05 06:07:08 UTC
constexpr std::int64_t kShownTime = 1709618828;

TEST(TablePage, EscapesEverythingThatCameFromOutside) {
    EXPECT_EQ(HtmlEscape("<a href=\"x\">&'</a>"), "&lt;a href=&quot;x&quot;&gt;&amp;&#39;&lt;/a&gt;");
    const std::string page = RenderTablePage({{"<script>alert(1)</script>", 5, "\"><b>", kShownTime}},
                                             {"\"><b>", "A&B"}, {.Country = "A&B"});
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_EQ(page.find("\"><b>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("<option value=\"A&amp;B\" selected>A&amp;B</option>"), std::string::npos);
}

TEST(TablePage, BestThreeOnThePodiumTheRestInTheTable) {
    const std::vector<TScoreRow> rows = {{"Ваня", 12000, "Россия", kShownTime},
                                         {"Оля", 9000, "Латвия", kShownTime},
                                         {"Пётр", 8000, "", kShownTime},
                                         {"Pilot", -3, "", 0},
                                         {"Ян", -4, "Польша", kShownTime}};
    const std::string page = RenderTablePage(rows, {"Россия"}, {});
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("<html lang=\"ru\">"), std::string::npos);
    EXPECT_NE(page.find("<li class=\"top top1\"><span class=\"medal\">1</span><span class=\"name\">Ваня</span>"
                        "<span class=\"score\">12000</span><span class=\"where\">Россия · 05.03.2024</span></li>"),
              std::string::npos);
    EXPECT_NE(page.find("<li class=\"top top2\"><span class=\"medal\">2</span><span class=\"name\">Оля</span>"),
              std::string::npos);
    // No country: the date alone, without the separator.
    EXPECT_NE(page.find("<span class=\"score\">8000</span><span class=\"where\">05.03.2024</span>"),
              std::string::npos);
    EXPECT_NE(page.find("<tr><td class=\"place\">4</td><td class=\"name\">Pilot</td><td class=\"score\">-3</td>"
                        "<td class=\"country\"></td><td class=\"date\">01.01.1970</td><td class=\"proof\"></td></tr>"),
              std::string::npos);
    EXPECT_NE(page.find("<tr><td class=\"place\">5</td><td class=\"name\">Ян</td>"), std::string::npos);
    // Each row once: the podium's rows are not repeated in the table.
    EXPECT_EQ(page.find("<td class=\"name\">Ваня</td>"), std::string::npos);
    EXPECT_NE(page.find("<option value=\"\">все страны</option>"), std::string::npos);
    EXPECT_NE(page.find("<option value=\"Россия\">Россия</option>"), std::string::npos);
    EXPECT_NE(page.find("Показано результатов: 5."), std::string::npos);
}

TEST(TablePage, NoTableWhenThePodiumHoldsEveryRow) {
    const std::string page = RenderTablePage({{"Ваня", 12000, "Россия", kShownTime}}, {}, {});
    EXPECT_NE(page.find("<li class=\"top top1\">"), std::string::npos);
    EXPECT_EQ(page.find("top top2"), std::string::npos);
    EXPECT_EQ(page.find("<table"), std::string::npos);
}

TEST(TablePage, VerifiedScoresCarryTheirMarkAndTheirReplay) {
    struct TCase {
        std::size_t Place;  // 1..3 on the podium, then the table
        bool Verified;
    };
    for (const TCase& c : std::vector<TCase>{{1, true}, {2, false}, {4, true}, {5, false}}) {
        std::vector<TScoreRow> rows(5, TScoreRow{"x", 100, "Россия", kShownTime});
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i].Id = static_cast<std::int64_t>(100 + i);
        rows[c.Place - 1].Verified = c.Verified;
        rows[c.Place - 1].Id = 777;
        const std::string page = RenderTablePage(rows, {}, {});
        const std::string link = "<a class=\"replay\" href=\"/api/replays/777\" download=\"quillon-777.qrp\">повтор</a>";
        SCOPED_TRACE("place " + std::to_string(c.Place) + (c.Verified ? ", verified" : ""));
        EXPECT_EQ(page.find(link) != std::string::npos, c.Verified);
        EXPECT_EQ(page.find("/api/replays/1"), std::string::npos) << "only verified rows offer a replay";
        // The mark stands in the row itself (the note under the table explains it once).
        const std::size_t rowStart =
            c.Place <= 3 ? page.find("top" + std::to_string(c.Place) + "\"") : page.find("<td class=\"place\">" + std::to_string(c.Place) + "<");
        const std::size_t rowEnd = page.find(c.Place <= 3 ? "</li>" : "</tr>", rowStart);
        ASSERT_NE(rowStart, std::string::npos);
        EXPECT_EQ(page.substr(rowStart, rowEnd - rowStart).find("class=\"verified\"") != std::string::npos, c.Verified);
    }
    TScoreRow row;
    row.Id = 42;
    EXPECT_EQ(ReplayAddress(row), "/api/replays/42");
}

TEST(TablePage, FilterKeepsTheChosenCountryAndVerifiedChoice) {
    const std::string all = RenderTablePage({}, {"Латвия"}, {});
    EXPECT_NE(all.find("<input type=\"checkbox\" name=\"verified\" value=\"1\">"), std::string::npos);
    const std::string verified = RenderTablePage({}, {"Латвия"}, {.Country = "Латвия", .VerifiedOnly = true});
    EXPECT_NE(verified.find("<input type=\"checkbox\" name=\"verified\" value=\"1\" checked>"), std::string::npos);
    EXPECT_NE(verified.find("<option value=\"Латвия\" selected>Латвия</option>"), std::string::npos);
    EXPECT_NE(verified.find("quillon --replay"), std::string::npos);
}

TEST(TablePage, TitleArtOnlyWhenTheServerHasIt) {
    EXPECT_EQ(RenderTablePage({}, {}, {}).find("<img"), std::string::npos);
    const std::string page = RenderTablePage({}, {}, {.Country = "", .TitleWidth = 360, .TitleHeight = 130});
    EXPECT_NE(page.find("<img src=\"/static/title.png\" width=\"360\" height=\"130\" alt=\"Квиллон\">"),
              std::string::npos);
    EXPECT_NE(page.find("<h1>Квиллон — мировая таблица рекордов</h1>"), std::string::npos);
}

// The page loads nothing from other hosts: every address in it (pictures, links, the form, the
// style sheet's) stays on this server.
TEST(TablePage, EveryAddressStaysOnThisServer) {
    std::vector<TScoreRow> rows;
    for (int i = 0; i < 5; ++i) rows.push_back({"Имя", 1000 - i, "Россия", kShownTime, 10 + i, i % 2 == 0});
    const std::string page = RenderTablePage(rows, {"Россия"}, {.Country = "", .TitleWidth = 360, .TitleHeight = 130});
    const std::regex address(R"re(\b(?:src|href|action)\s*=\s*"([^"]*)"|url\(\s*['"]?([^'")]*)|@import)re",
                             std::regex::icase);
    std::size_t found = 0;
    for (std::sregex_iterator it(page.begin(), page.end(), address), end; it != end; ++it, ++found) {
        const std::string target = (*it)[1].matched ? (*it)[1].str() : (*it)[2].str();
        SCOPED_TRACE(it->str());
        EXPECT_NE(it->str(), "@import");
        EXPECT_EQ(target.find("//"), std::string::npos) << "another host";
        EXPECT_EQ(target.find(':'), std::string::npos) << "a scheme of its own";
    }
    EXPECT_GE(found, 5u) << "the title art, the form and the replay links were looked at";
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<link"), std::string::npos);
}

TEST(TablePage, EmptyTableAndAChosenCountryWithNoRows) {
    const std::string page = RenderTablePage({}, {"Латвия"}, {.Country = "Эстония"});
    EXPECT_EQ(page.find("<table"), std::string::npos);
    EXPECT_EQ(page.find("class=\"podium\""), std::string::npos);
    EXPECT_NE(page.find("Здесь пока нет ни одного рекорда."), std::string::npos);
    EXPECT_NE(page.find("<option value=\"Эстония\" selected>Эстония</option>"), std::string::npos);
}

// Every word of the English page is English: only the names, the countries and the link to
// the Russian page, named in Russian, may be in Cyrillic.
TEST(TablePage, EnglishPageHasNoRussianWordOfItsOwn) {
    std::vector<TScoreRow> rows;
    for (int i = 0; i < 5; ++i) rows.push_back({"Pilot", 1000 - i, "Latvia", kShownTime, 10 + i, i % 2 == 0});
    const TTablePageView english{.Country = "", .TitleWidth = 360, .TitleHeight = 130, .Language = TPageLanguage::English};
    for (const std::string& page : {RenderTablePage(rows, {"Latvia"}, english), RenderTablePage({}, {}, english)}) {
        std::string own = page;
        const std::string switchToRussian = "lang=\"ru\">Русский</a>";
        const std::size_t at = own.find(switchToRussian);
        ASSERT_NE(at, std::string::npos) << "a link to the Russian page";
        own.erase(at, switchToRussian.size());
        // Cyrillic letters start with the bytes D0..D4 in UTF-8.
        const std::size_t russian = own.find_first_of("\xD0\xD1\xD2\xD3\xD4");
        EXPECT_EQ(russian, std::string::npos) << own.substr(russian == std::string::npos ? 0 : russian - std::min<std::size_t>(russian, 60), 120);
    }
    const std::string page = RenderTablePage(rows, {"Latvia"}, english);
    for (const char* text : {"<html lang=\"en\">", "<title>Quillon — world high-score table</title>", "alt=\"Quillon\"",
                             ">Place</th>", ">Score</th>", ">all countries</option>", "> verified only</label>",
                             ">Show</button>", "✔ verified</span>", ">replay</a>", "Scores shown: 5.",
                             "Latvia · 2024-03-05", "<td class=\"date\">2024-03-05</td>", "quillon --replay FILE"})
        EXPECT_NE(page.find(text), std::string::npos) << text;
    EXPECT_NE(RenderTablePage({}, {}, english).find("No scores here yet."), std::string::npos);
}

TEST(TablePage, EachLanguageLinksToTheOtherWithTheSameFilters) {
    const struct {
        TTablePageView View;
        const char* Link;
        const char* Hidden;  // the language the filter form keeps
    } cases[] = {
        {{}, "<a href=\"version.pl?prg=Quillon&amp;show&amp;type=0&amp;lang=en\" hreflang=\"en\" lang=\"en\">English</a>",
         "name=\"lang\" value=\"ru\""},
        {{.Country = "Россия & Co", .VerifiedOnly = true, .Language = TPageLanguage::English},
         "<a href=\"version.pl?prg=Quillon&amp;show&amp;type=0&amp;lang=ru&amp;country=%D0%A0%D0%BE%D1%81%D1%81%D0%B8%D1%8F%20%26%20Co"
         "&amp;verified=1\" hreflang=\"ru\" lang=\"ru\">Русский</a>",
         "name=\"lang\" value=\"en\""},
    };
    for (const auto& c : cases) {
        const std::string page = RenderTablePage({}, {}, c.View);
        EXPECT_NE(page.find(c.Link), std::string::npos) << page.substr(page.find("<nav"), 300);
        EXPECT_NE(page.find(c.Hidden), std::string::npos);
        EXPECT_EQ(page.find("hreflang=\"" + std::string(LanguageCode(c.View.Language)) + "\""), std::string::npos)
            << "no link to the page's own language";
    }
}

TEST(ScoresJson, SameRowsAsJson) {
    const auto json = testing::ParseJson(
        RenderScoresJson({{"Ваня \"В\"", 12000, "Рос\\сия", kShownTime}, {std::string("a\x01", 2), -3, "", 0}}));
    const auto& scores = json["scores"];
    ASSERT_EQ(scores.Array.size(), 2u);
    EXPECT_EQ(scores[0]["place"].Int(), 1);
    EXPECT_EQ(scores[0]["name"].String, "Ваня \"В\"");
    EXPECT_EQ(scores[0]["score"].Int(), 12000);
    EXPECT_EQ(scores[0]["country"].String, "Рос\\сия");
    EXPECT_EQ(scores[0]["date"].String, "2024-03-05T06:07:08Z");
    EXPECT_EQ(scores[1]["place"].Int(), 2);
    EXPECT_EQ(scores[1]["name"].String, std::string("a\x01", 2));
    EXPECT_EQ(scores[1]["score"].Int(), -3);
    EXPECT_EQ(testing::ParseJson(RenderScoresJson({}))["scores"].Array.size(), 0u);
}

}  // namespace
}  // namespace quillon::server
