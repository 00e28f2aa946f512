// The world table page.
#include "server/TablePage.h"

#include <algorithm>
#include <ctime>

#include "save/ScoreCodec.h"
#include "server/PageTexts.h"
#include "server/TablePageStyle.h"

namespace quillon::server {
namespace {

// The places set apart on the podium.
constexpr std::size_t kPodiumPlaces = 3;

// The date of `time` in UTC, as the language writes it.
std::string DateText(std::int64_t time, const TPageTexts& texts) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm parts{};
    if (!gmtime_r(&t, &parts)) return {};
    char text[32];
    if (std::strftime(text, sizeof text, texts.DateFormat, &parts) == 0) return {};
    return text;
}

std::string Head(const TTablePageView& view, const TPageTexts& texts) {
    return "<!DOCTYPE html>\n<html lang=\"" + std::string(LanguageCode(view.Language)) +
           "\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
           texts.Title + "</title>\n<style>" + TablePageStyle() + "</style>\n</head>\n<body>\n<main>\n";
}

// The page's address with this view's filters in `language`.
std::string PageAddress(const TTablePageView& view, TPageLanguage language) {
    std::string address = "version.pl?prg=Quillon&show&type=0&lang=" + std::string(LanguageCode(language));
    if (!view.Country.empty()) address += "&country=" + PercentEncode(view.Country);
    if (view.VerifiedOnly) address += "&verified=1";
    return address;
}

// The same page in each other language, named in that language.
std::string LanguageSwitch(const TTablePageView& view, const TPageTexts& texts) {
    std::string links = std::string("<nav class=\"language\" aria-label=\"") + texts.LanguageSwitch + "\">";
    for (const TPageLanguage language : kPageLanguages) {
        if (language == view.Language) continue;
        const std::string code(LanguageCode(language));
        links += "<a href=\"" + HtmlEscape(PageAddress(view, language)) + "\" hreflang=\"" + code + "\" lang=\"" +
                 code + "\">" + PageTexts(language).SelfName + "</a>";
    }
    return links + "</nav>\n";
}

std::string TitleArt(const TTablePageView& view, const TPageTexts& texts) {
    if (view.TitleWidth <= 0 || view.TitleHeight <= 0) return {};
    return std::string("<header class=\"title\"><img src=\"") + view.TitleAddress + "\" width=\"" +
           std::to_string(view.TitleWidth) + "\" height=\"" + std::to_string(view.TitleHeight) + "\" alt=\"" +
           texts.TitleArtAlt + "\"></header>\n";
}

std::string Filter(const std::vector<std::string>& countries, const TTablePageView& view, const TPageTexts& texts) {
    // The language goes along, so that filtering keeps the page in the language it is read in.
    std::string form = "<form class=\"filter\" method=\"get\" action=\"version.pl\">\n"
                       "<input type=\"hidden\" name=\"prg\" value=\"Quillon\">"
                       "<input type=\"hidden\" name=\"show\" value=\"\">"
                       "<input type=\"hidden\" name=\"type\" value=\"0\">"
                       "<input type=\"hidden\" name=\"lang\" value=\"" +
                       std::string(LanguageCode(view.Language)) + "\">\n<label>" + texts.CountryLabel +
                       " <select name=\"country\">\n<option value=\"\">" + texts.AllCountries + "</option>\n";
    std::vector<std::string> choices = countries;
    if (!view.Country.empty() && std::find(choices.begin(), choices.end(), view.Country) == choices.end())
        choices.insert(choices.begin(), view.Country);
    for (const std::string& choice : choices) {
        form += "<option value=\"" + HtmlEscape(choice) + "\"" + (choice == view.Country ? " selected" : "") + ">" +
                HtmlEscape(choice) + "</option>\n";
    }
    form += "</select></label>\n<label><input type=\"checkbox\" name=\"verified\" value=\"1\"";
    form += view.VerifiedOnly ? " checked" : "";
    form += std::string("> ") + texts.VerifiedOnly + "</label>\n<button type=\"submit\">" + texts.Show +
            "</button>\n</form>\n";
    return form;
}

// The mark of a verified score and its replay to download; nothing for the others.
std::string Proof(const TScoreRow& row, const TPageTexts& texts) {
    if (!row.Verified) return {};
    return std::string("<span class=\"verified\" title=\"") + texts.VerifiedTip + "\">✔ " + texts.VerifiedMark +
           "</span> <a class=\"replay\" href=\"" + ReplayAddress(row) + "\" download=\"quillon-" +
           std::to_string(row.Id) + ".qrp\">" + texts.ReplayLink + "</a>";
}

std::string Podium(const std::vector<TScoreRow>& rows, const TPageTexts& texts) {
    std::string podium = "<ol class=\"podium\">\n";
    for (std::size_t i = 0; i < rows.size() && i < kPodiumPlaces; ++i) {
        const TScoreRow& row = rows[i];
        const std::string place = std::to_string(i + 1);
        podium += "<li class=\"top top" + place + "\"><span class=\"medal\">" + place +
                  "</span><span class=\"name\">" + HtmlEscape(row.Name) + "</span><span class=\"score\">" +
                  std::to_string(row.Score) + "</span><span class=\"where\">" + HtmlEscape(row.Country) +
                  (row.Country.empty() ? "" : " · ") + DateText(row.Time, texts) + "</span>";
        if (row.Verified) podium += "<span class=\"proof\">" + Proof(row, texts) + "</span>";
        podium += "</li>\n";
    }
    return podium + "</ol>\n";
}

std::string RestTable(const std::vector<TScoreRow>& rows, const TPageTexts& texts) {
    if (rows.size() <= kPodiumPlaces) return {};
    std::string table = std::string("<table class=\"rest\">\n<thead><tr><th class=\"place\">") + texts.PlaceHeading +
                        "</th><th>" + texts.NameHeading + "</th><th class=\"score\">" + texts.ScoreHeading +
                        "</th><th>" + texts.CountryHeading + "</th><th>" + texts.DateHeading + "</th><th>" +
                        texts.ReplayHeading + "</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = kPodiumPlaces; i < rows.size(); ++i) {
        const TScoreRow& row = rows[i];
        table += "<tr><td class=\"place\">" + std::to_string(i + 1) + "</td><td class=\"name\">" +
                 HtmlEscape(row.Name) + "</td><td class=\"score\">" + std::to_string(row.Score) +
                 "</td><td class=\"country\">" + HtmlEscape(row.Country) + "</td><td class=\"date\">" +
                 DateText(row.Time, texts) + "</td><td class=\"proof\">" + Proof(row, texts) + "</td></tr>\n";
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
    const TPageTexts& texts = PageTexts(view.Language);
    std::string page = Head(view, texts) + LanguageSwitch(view, texts) + TitleArt(view, texts) + "<h1>" +
                       texts.Title + "</h1>\n" + Filter(countries, view, texts);
    if (rows.empty()) {
        page += std::string("<p class=\"empty\">") + texts.Empty + "</p>\n";
    } else {
        page += Podium(rows, texts) + RestTable(rows, texts);
    }
    page += std::string("<p class=\"note\">") + texts.ShownBefore + std::to_string(rows.size()) + texts.ShownAfter +
            "</p>\n<p class=\"note\"><span class=\"verified\">✔ " + texts.VerifiedMark + "</span>" +
            texts.VerifiedNote + "<code>quillon --replay " + texts.FileWord + "</code>.</p>\n</main>\n</body>\n</html>\n";
    return page;
}

}  // namespace quillon::server
