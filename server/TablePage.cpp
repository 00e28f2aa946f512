// The world table page.
#include "server/TablePage.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace quillon::server {
namespace {

// "31.12.2024", in UTC.
std::string DateText(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm parts{};
    if (!gmtime_r(&t, &parts)) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", parts.tm_mday, parts.tm_mon + 1, parts.tm_year + 1900);
    return text;
}

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Квиллон — мировая таблица рекордов</title>
<style>
body { font-family: sans-serif; background: #0b1020; color: #e8ecf8; margin: 2em auto; max-width: 46em; padding: 0 1em; }
h1 { font-size: 1.6em; }
table { border-collapse: collapse; width: 100%; }
th, td { padding: 0.3em 0.6em; border-bottom: 1px solid #2a3350; text-align: left; }
td.place, td.score, th.score { text-align: right; }
tbody tr:nth-child(odd) { background: #121a33; }
form { margin: 1em 0; }
p.note { color: #8a93b0; font-size: 0.9em; }
</style>
</head>
<body>
<h1>Квиллон — мировая таблица рекордов</h1>
)";

}  // namespace

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string RenderTablePage(const std::vector<TScoreRow>& rows, const std::vector<std::string>& countries,
                            const std::string& country) {
    std::string page(kHead);
    page += "<form method=\"get\" action=\"version.pl\">\n"
            "<input type=\"hidden\" name=\"prg\" value=\"Quillon\">"
            "<input type=\"hidden\" name=\"show\" value=\"\">"
            "<input type=\"hidden\" name=\"type\" value=\"0\">\n"
            "<label>Страна: <select name=\"country\">\n<option value=\"\">все страны</option>\n";
    std::vector<std::string> choices = countries;
    if (!country.empty() && std::find(choices.begin(), choices.end(), country) == choices.end())
        choices.insert(choices.begin(), country);
    for (const std::string& choice : choices) {
        page += "<option value=\"" + HtmlEscape(choice) + "\"" + (choice == country ? " selected" : "") + ">" +
                HtmlEscape(choice) + "</option>\n";
    }
    page += "</select></label>\n<button type=\"submit\">Показать</button>\n</form>\n";

    if (rows.empty()) {
        page += "<p>Здесь пока нет ни одного рекорда.</p>\n";
    } else {
        page += "<table>\n<thead><tr><th>Место</th><th>Имя</th><th class=\"score\">Очки</th><th>Страна</th>"
                "<th>Дата</th></tr></thead>\n<tbody>\n";
        int place = 1;
        for (const TScoreRow& row : rows) {
            page += "<tr><td class=\"place\">" + std::to_string(place++) + "</td><td>" + HtmlEscape(row.Name) +
                    "</td><td class=\"score\">" + std::to_string(row.Score) + "</td><td>" +
                    HtmlEscape(row.Country) + "</td><td>" + DateText(row.Time) + "</td></tr>\n";
        }
        page += "</tbody>\n</table>\n";
    }
    page += "<p class=\"note\">Показано результатов: " + std::to_string(rows.size()) +
            ". Даты — по всемирному времени (UTC).</p>\n</body>\n</html>\n";
    return page;
}

}  // namespace quillon::server
