// The world table page.
#include "server/TablePage.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "server/TablePageStyle.h"

namespace quillon::server {
namespace {

// The places set apart on the podium.
constexpr std::size_t kPodiumPlaces = 3;

// "31.12.2024", in UTC.
std::string DateText(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm parts{};
    if (!gmtime_r(&t, &parts)) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", parts.tm_mday, parts.tm_mon + 1, parts.tm_year + 1900);
    return text;
}

std::string Head() {
    return "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<title>Квиллон — мировая таблица рекордов</title>\n<style>" +
           TablePageStyle() + "</style>\n</head>\n<body>\n<main>\n";
}

std::string TitleArt(const TTablePageView& view) {
    if (view.TitleWidth <= 0 || view.TitleHeight <= 0) return {};
    return std::string("<header class=\"title\"><img src=\"") + kTitlePicturePath + "\" width=\"" +
           std::to_string(view.TitleWidth) + "\" height=\"" + std::to_string(view.TitleHeight) +
           "\" alt=\"Квиллон\"></header>\n";
}

std::string Filter(const std::vector<std::string>& countries, const TTablePageView& view) {
    std::string form = "<form class=\"filter\" method=\"get\" action=\"version.pl\">\n"
                       "<input type=\"hidden\" name=\"prg\" value=\"Quillon\">"
                       "<input type=\"hidden\" name=\"show\" value=\"\">"
                       "<input type=\"hidden\" name=\"type\" value=\"0\">\n"
                       "<label>Страна: <select name=\"country\">\n<option value=\"\">все страны</option>\n";
    std::vector<std::string> choices = countries;
    if (!view.Country.empty() && std::find(choices.begin(), choices.end(), view.Country) == choices.end())
        choices.insert(choices.begin(), view.Country);
    for (const std::string& choice : choices) {
        form += "<option value=\"" + HtmlEscape(choice) + "\"" + (choice == view.Country ? " selected" : "") + ">" +
                HtmlEscape(choice) + "</option>\n";
    }
    form += "</select></label>\n<label><input type=\"checkbox\" name=\"verified\" value=\"1\"";
    form += view.VerifiedOnly ? " checked" : "";
    form += "> только проверенные</label>\n<button type=\"submit\">Показать</button>\n</form>\n";
    return form;
}

// The mark of a verified score and its replay to download; nothing for the others.
std::string Proof(const TScoreRow& row) {
    if (!row.Verified) return {};
    return "<span class=\"verified\" title=\"Сервер сыграл повтор этой игры заново и получил те же очки\">"
           "✔ проверено</span> <a class=\"replay\" href=\"" +
           ReplayAddress(row) + "\" download=\"quillon-" + std::to_string(row.Id) + ".qrp\">повтор</a>";
}

std::string Podium(const std::vector<TScoreRow>& rows) {
    std::string podium = "<ol class=\"podium\">\n";
    for (std::size_t i = 0; i < rows.size() && i < kPodiumPlaces; ++i) {
        const TScoreRow& row = rows[i];
        const std::string place = std::to_string(i + 1);
        podium += "<li class=\"top top" + place + "\"><span class=\"medal\">" + place +
                  "</span><span class=\"name\">" + HtmlEscape(row.Name) + "</span><span class=\"score\">" +
                  std::to_string(row.Score) + "</span><span class=\"where\">" + HtmlEscape(row.Country) +
                  (row.Country.empty() ? "" : " · ") + DateText(row.Time) + "</span>";
        if (row.Verified) podium += "<span class=\"proof\">" + Proof(row) + "</span>";
        podium += "</li>\n";
    }
    return podium + "</ol>\n";
}

std::string RestTable(const std::vector<TScoreRow>& rows) {
    if (rows.size() <= kPodiumPlaces) return {};
    std::string table = "<table class=\"rest\">\n<thead><tr><th class=\"place\">Место</th><th>Имя</th>"
                        "<th class=\"score\">Очки</th><th>Страна</th><th>Дата</th><th>Повтор</th></tr></thead>\n"
                        "<tbody>\n";
    for (std::size_t i = kPodiumPlaces; i < rows.size(); ++i) {
        const TScoreRow& row = rows[i];
        table += "<tr><td class=\"place\">" + std::to_string(i + 1) + "</td><td class=\"name\">" +
                 HtmlEscape(row.Name) + "</td><td class=\"score\">" + std::to_string(row.Score) +
                 "</td><td class=\"country\">" + HtmlEscape(row.Country) + "</td><td class=\"date\">" +
                 DateText(row.Time) + "</td><td class=\"proof\">" + Proof(row) + "</td></tr>\n";
    }
    return table + "</tbody>\n</table>\n";
}

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

std::string ReplayAddress(const TScoreRow& row) { return "/api/replays/" + std::to_string(row.Id); }

std::string RenderTablePage(const std::vector<TScoreRow>& rows, const std::vector<std::string>& countries,
                            const TTablePageView& view) {
    std::string page = Head() + TitleArt(view) + "<h1>Квиллон — мировая таблица рекордов</h1>\n" +
                       Filter(countries, view);
    if (rows.empty()) {
        page += "<p class=\"empty\">Здесь пока нет ни одного рекорда.</p>\n";
    } else {
        page += Podium(rows) + RestTable(rows);
    }
    page += "<p class=\"note\">Показано результатов: " + std::to_string(rows.size()) +
            ". Даты — по всемирному времени (UTC).</p>\n"
            "<p class=\"note\"><span class=\"verified\">✔ проверено</span> — сервер сыграл повтор игры заново и "
            "получил те же очки. Скачанный повтор показывает сама игра: <code>quillon --replay ФАЙЛ</code>.</p>\n"
            "</main>\n</body>\n</html>\n";
    return page;
}

}  // namespace quillon::server
