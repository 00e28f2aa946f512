// The world table page and its JSON twin: places, escaping, dates, the country filter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/ScoresJson.h"
#include "server/TablePage.h"
#include "support/Json.h"

namespace quillon::server {
namespace {

// 2024-03-05 06:07:08 UTC
constexpr std::int64_t kSomeTime = 1709618828;

TEST(TablePage, EscapesEverythingThatCameFromOutside) {
    EXPECT_EQ(HtmlEscape("<a href=\"x\">&'</a>"), "&lt;a href=&quot;x&quot;&gt;&amp;&#39;&lt;/a&gt;");
    const std::string page = RenderTablePage({{"<script>alert(1)</script>", 5, "\"><b>", kSomeTime}},
                                             {"\"><b>", "A&B"}, "A&B");
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_EQ(page.find("\"><b>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("<option value=\"A&amp;B\" selected>A&amp;B</option>"), std::string::npos);
}

TEST(TablePage, RowsWithPlacesScoresCountriesAndDates) {
    const std::vector<TScoreRow> rows = {{"Ваня", 12000, "Россия", kSomeTime}, {"Pilot", -3, "", 0}};
    const std::string page = RenderTablePage(rows, {"Россия"}, "");
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("<html lang=\"ru\">"), std::string::npos);
    EXPECT_NE(page.find("<tr><td class=\"place\">1</td><td>Ваня</td><td class=\"score\">12000</td><td>Россия</td>"
                        "<td>05.03.2024</td></tr>"),
              std::string::npos);
    EXPECT_NE(page.find("<tr><td class=\"place\">2</td><td>Pilot</td><td class=\"score\">-3</td><td></td>"
                        "<td>01.01.1970</td></tr>"),
              std::string::npos);
    EXPECT_NE(page.find("<option value=\"\">все страны</option>"), std::string::npos);
    EXPECT_NE(page.find("<option value=\"Россия\">Россия</option>"), std::string::npos);
}

TEST(TablePage, EmptyTableAndAChosenCountryWithNoRows) {
    const std::string page = RenderTablePage({}, {"Латвия"}, "Эстония");
    EXPECT_EQ(page.find("<table>"), std::string::npos);
    EXPECT_NE(page.find("Здесь пока нет ни одного рекорда."), std::string::npos);
    EXPECT_NE(page.find("<option value=\"Эстония\" selected>Эстония</option>"), std::string::npos);
}

TEST(ScoresJson, SameRowsAsJson) {
    const auto json = testing::ParseJson(
        RenderScoresJson({{"Ваня \"В\"", 12000, "Рос\\сия", kSomeTime}, {std::string("a\x01", 2), -3, "", 0}}));
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
