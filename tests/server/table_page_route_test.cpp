// The page's routes on the server: the title art from memory, the verified filter passed on to
// the table, and bad filters turned away.
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

THttpAnswer Get(TScoreServer& server, const std::string& target) {
    return server.Answer({"GET", target, "127.0.0.1", ""});
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

}  // namespace
}  // namespace quillon::server
