// The page's routes on the server: the title art from memory, the verified filter passed on to
// the table, bad filters turned away, and the page's language from its parameter or the
// browser's header, kept apart in the answers the server keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/ScoreServer.h"
#include "support/FixedScoreStore.h"

namespace quillon::server {
namespace {

constexpr const char* kPage = "/cgi/version.pl?prg=Quillon&show&type=0";

std::vector<TScoreRow> SomeRows() {
    return {{"Ваня", 900, "Россия", 0, 5, true},
            {"Оля", 800, "Латвия", 0, 6, false},
            {"Ян", 700, "Россия", 0, 9, true}};
}

THttpAnswer Get(TScoreServer& server, const std::string& target, const std::string& acceptLanguage = "") {
    THttpRequest request;
    request.Method = "GET";
    request.Target = target;
    request.Address = "127.0.0.1";
    request.AcceptLanguage = acceptLanguage;
    return server.Answer(request);
}

// The value of the answer's header `name`, "" when it has none.
std::string HeaderOf(const THttpAnswer& answer, const std::string& name) {
    for (const auto& [key, value] : answer.Headers)
        if (key == name) return value;
    return "";
}

// The language the page is in, from its <html lang>.
std::string PageLanguageOf(const THttpAnswer& answer) {
    const std::size_t at = answer.Body.find("<html lang=\"");
    return at == std::string::npos ? "" : answer.Body.substr(at + 12, 2);
}

TEST(TablePageRoute, TitleArtServedFromMemoryOnlyWhenThereIsSome) {
    testing::TFixedScoreStore store(SomeRows(), {});
    TScoreServerSettings settings;
    settings.Title = {"\x89PNG-the-picture", 360, 130};
    TScoreServer withArt(store, settings);
    const THttpAnswer picture = Get(withArt, "/static/title.png");
    EXPECT_EQ(picture.Status, 200);
    EXPECT_EQ(picture.ContentType, "image/png");
    EXPECT_EQ(picture.Body, "\x89PNG-the-picture");
    const THttpAnswer page = Get(withArt, kPage);
    EXPECT_NE(page.Body.find("<img src=\"/static/title.png\" width=\"360\" height=\"130\""), std::string::npos);
    bool imagesAllowed = false;
    for (const auto& [name, value] : page.Headers)
        if (name == "Content-Security-Policy") imagesAllowed = value.find("img-src 'self'") != std::string::npos;
    EXPECT_TRUE(imagesAllowed) << "the page may show its own pictures and nothing from elsewhere";

    TScoreServer withoutArt(store, {});
    EXPECT_EQ(Get(withoutArt, "/static/title.png").Status, 404);
    EXPECT_EQ(Get(withoutArt, kPage).Body.find("<img"), std::string::npos);
    EXPECT_EQ(Get(withoutArt, "/static/en/title.png").Status, 404);

    // The English page shows its own art where there is some, the Russian page never; without
    // it the English page shows the same art as the Russian.
    EXPECT_EQ(Get(withArt, "/static/en/title.png").Status, 404);
    EXPECT_NE(Get(withArt, kPage, "en").Body.find("<img src=\"/static/title.png\""), std::string::npos);
    settings.EnglishTitle = {"\x89PNG-the-English-picture", 380, 120};
    TScoreServer withEnglishArt(store, settings);
    EXPECT_EQ(Get(withEnglishArt, "/static/en/title.png").Body, "\x89PNG-the-English-picture");
    EXPECT_NE(Get(withEnglishArt, kPage, "en").Body.find("<img src=\"/static/en/title.png\" width=\"380\" height=\"120\""),
              std::string::npos);
    EXPECT_NE(Get(withEnglishArt, kPage, "ru").Body.find("<img src=\"/static/title.png\" width=\"360\" height=\"130\""),
              std::string::npos);
}

TEST(TablePageRoute, VerifiedFilter) {
    testing::TFixedScoreStore store(SomeRows(), {"Россия", "Латвия"});
    TScoreServer server(store, {});
    const struct {
        const char* Query;
        int Status;
        std::vector<std::string> Names;  // in the page, in this order
        std::vector<std::string> Absent;
    } cases[] = {
        {"", 200, {"Ваня", "Оля", "Ян"}, {}},
        {"&verified=0", 200, {"Ваня", "Оля", "Ян"}, {}},
        {"&verified=", 200, {"Ваня", "Оля", "Ян"}, {}},
        {"&verified=1", 200, {"Ваня", "Ян"}, {"Оля"}},
        {"&verified=1&country=%D0%9B%D0%B0%D1%82%D0%B2%D0%B8%D1%8F", 200, {}, {"Ваня", "Оля", "Ян"}},
        {"&country=%D0%A0%D0%BE%D1%81%D1%81%D0%B8%D1%8F&verified=1", 200, {"Ваня", "Ян"}, {"Оля"}},
        {"&verified=yes", 400, {}, {}},
        {"&verified=1&verified=1", 400, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Query);
        const THttpAnswer answer = Get(server, std::string(kPage) + c.Query);
        EXPECT_EQ(answer.Status, c.Status);
        std::size_t at = 0;
        for (const std::string& name : c.Names) {
            at = answer.Body.find(">" + name + "<", at);
            EXPECT_NE(at, std::string::npos) << name;
        }
        for (const std::string& name : c.Absent) EXPECT_EQ(answer.Body.find(">" + name + "<"), std::string::npos) << name;
    }
    EXPECT_NE(Get(server, std::string(kPage) + "&verified=1").Body.find("value=\"1\" checked>"), std::string::npos);
}

TEST(TablePageRoute, LanguageFromTheParameterElseFromTheBrowser) {
    testing::TFixedScoreStore store(SomeRows(), {"Россия"});
    TScoreServer server(store, {});
    const struct {
        const char* Query;
        const char* AcceptLanguage;
        int Status;
        const char* Language;  // of the page
        bool Varies;           // the answer names the header it was chosen by
    } cases[] = {
        {"", "", 200, "en", true},
        {"", "ru-RU,ru;q=0.9,en-US;q=0.8,en;q=0.7", 200, "ru", true},
        {"", "en-GB,en;q=0.9,ru;q=0.5", 200, "en", true},
        {"", "ru;q=oops", 200, "en", true},
        {"&lang=en", "ru", 200, "en", false},
        {"&lang=ru", "en", 200, "ru", false},
        {"&lang=ru&country=%D0%A0%D0%BE%D1%81%D1%81%D0%B8%D1%8F&verified=1", "", 200, "ru", false},
        {"&lang=", "ru", 200, "ru", true},
        {"&lang=de", "ru", 400, "", false},
        {"&lang=RU", "", 400, "", false},
        {"&lang=ru&lang=en", "", 400, "", false},
        {"&lang=%00ru", "", 400, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Query) + " / " + c.AcceptLanguage);
        const THttpAnswer answer = Get(server, std::string(kPage) + c.Query, c.AcceptLanguage);
        EXPECT_EQ(answer.Status, c.Status);
        if (c.Status != 200) continue;
        EXPECT_EQ(PageLanguageOf(answer), c.Language);
        EXPECT_EQ(HeaderOf(answer, "Content-Language"), c.Language);
        EXPECT_EQ(HeaderOf(answer, "Vary"), c.Varies ? "Accept-Language" : "");
    }
}

TEST(TablePageRoute, KeptAnswersAreKeptByLanguageNotByTheHeadersText) {
    testing::TFixedScoreStore store(SomeRows(), {"Россия"});
    TScoreServerSettings settings;
    settings.SteadyClock = [] { return 100.0; };  // the kept answers stay fresh for the whole test
    settings.RatePerMinute = 0;  // one reader asks hundreds of times
    TScoreServer server(store, settings);

    // A reader who asks in Russian first must not leave the Russian page for English readers.
    EXPECT_EQ(PageLanguageOf(Get(server, kPage, "ru")), "ru");
    EXPECT_EQ(PageLanguageOf(Get(server, kPage, "en")), "en");
    EXPECT_EQ(PageLanguageOf(Get(server, kPage, "")), "en");
    EXPECT_EQ(PageLanguageOf(Get(server, std::string(kPage) + "&lang=ru", "en")), "ru");
    EXPECT_EQ(PageLanguageOf(Get(server, kPage, "de;q=0.1")), "en");
    const std::size_t reads = store.Reads();
    EXPECT_EQ(reads, 2u) << "one page per language";

    // Ever new headers make no new answers: each is one of the two pages kept already.
    for (int i = 0; i < 500; ++i) {
        const std::string header = "x" + std::to_string(i) + ";q=0." + std::to_string(i % 10) + (i % 2 ? ", ru" : "");
        EXPECT_EQ(PageLanguageOf(Get(server, kPage, header)), i % 2 ? "ru" : "en") << header;
    }
    EXPECT_EQ(store.Reads(), reads);

    // The JSON has no language: the same answer for every reader, and no Vary.
    const THttpAnswer russian = Get(server, "/api/scores?limit=3", "ru"), english = Get(server, "/api/scores?limit=3", "en");
    EXPECT_EQ(russian.Body, english.Body);
    EXPECT_EQ(HeaderOf(russian, "Vary"), "");
    EXPECT_EQ(HeaderOf(russian, "Content-Language"), "");
}

}  // namespace
}  // namespace quillon::server
