// The world table page in a real browser: headless chromium loads it from a server started
// here, and the tests read the DOM it built and the pixels of its screenshots, at a desktop
// window 1280 px wide and a phone's 390 px, in Russian and in English.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "server/PagePicture.h"
#include "server/ScoreServer.h"
#include "support/FixedScoreStore.h"
#include "support/HeadlessBrowser.h"
#include "support/InProcessServer.h"
#include "support/PngImage.h"
#include "support/TempDir.h"

namespace quillon::server {
namespace {

using testing::TRgb;

constexpr std::int64_t kSomeTime = 1765400000;  // December 2025

// Eight rows, best first: verified and not, long names and countries that must wrap on a
// phone, and a name that tries to be markup.
std::vector<TScoreRow> TableRows() {
    return {
        {"Ваня", 152000, "Россия", kSomeTime, 41, true},
        {"Оля", 98000, "Латвия", kSomeTime, 42, false},
        {"Ян", 91500, "Польша", kSomeTime, 7, true},
        {"Константинопольский", 64000, "Соединённое Королевство", kSomeTime, 12, true},
        {"<b>Хакер</b>", 50000, "Эстония", kSomeTime, 13, false},
        {"Пётр", 42000, "Россия", kSomeTime, 14, false},
        {"ОченьДлинноеИмяПилотаБезПробелов", 31000, "Россия", kSomeTime, 15, true},
        {"Анна", 12000, "Беларусь", kSomeTime, 16, false},
    };
}

class TablePageInBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        Chromium = testing::FindChromium();
        if (Chromium.empty())
            GTEST_SKIP() << "chromium is not installed (scripts/setup-debian.sh installs it); the page is not "
                            "checked in a browser";
        const std::string title = std::string(QUILLON_BINARY_DIR) + "/page-art/" + kTitlePictureName;
        ASSERT_TRUE(std::filesystem::exists(title)) << title << " was not drawn";
        TScoreServerSettings settings;
        settings.Title = ReadPagePicture(title);
        TitlePath = title;
        Store = std::make_unique<testing::TFixedScoreStore>(
            TableRows(), std::vector<std::string>{"Россия", "Латвия", "Польша", "Эстония"});
        Server = std::make_unique<testing::TInProcessServer>(*Store, std::move(settings));
        Port = Server->Port;
        ASSERT_GT(Port, 0);
        Dir = std::make_unique<testing::TTempDir>("page-browser");
        Browser = std::make_unique<testing::THeadlessBrowser>(Chromium, Dir->Path());
    }
    void TearDown() override { Server.reset(); }

    std::string PageUrl(const std::string& extra = "") const {
        return "http://127.0.0.1:" + std::to_string(Port) + "/cgi/version.pl?prg=Quillon&show&type=0" + extra;
    }
    // The screenshot of the page (with `extra` on its address) at this window size, read back.
    testing::TPngImage Shot(int width, int height, const std::string& name, const std::string& extra = "") {
        const std::string png = Dir->File(name);
        EXPECT_TRUE(Browser->Screenshot(PageUrl(extra), width, height, png)) << Browser->LastErrors();
        if (const char* keep = std::getenv("QUILLON_KEEP_SCREENSHOTS"); keep && *keep)
            std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
        return testing::ReadPng(png);
    }

    std::string Chromium;
    std::string TitlePath;
    std::unique_ptr<testing::TFixedScoreStore> Store;
    std::unique_ptr<testing::TInProcessServer> Server;
    int Port = 0;
    std::unique_ptr<testing::TTempDir> Dir;
    std::unique_ptr<testing::THeadlessBrowser> Browser;
};

std::size_t CountOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

// The text between the first `open` and the `close` after it.
std::string Between(const std::string& text, const std::string& open, const std::string& close) {
    const std::size_t start = text.find(open);
    if (start == std::string::npos) return {};
    const std::size_t end = text.find(close, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

TEST_F(TablePageInBrowser, DomHoldsThePodiumTheRowsTheMarksAndTheFilter) {
    // A browser that prefers Russian gets the Russian page from the same address.
    Browser->SetLanguages("ru-RU,ru,en-US;q=0.5");
    const std::string dom = Browser->DumpDom(PageUrl());
    ASSERT_FALSE(dom.empty()) << Browser->LastErrors();
    EXPECT_NE(dom.find("<html lang=\"ru\">"), std::string::npos);

    // The best three apart, in order; the others in the table, from place 4.
    const std::string podium = Between(dom, "<ol class=\"podium\">", "</ol>");
    EXPECT_EQ(CountOf(podium, "<li "), 3u);
    const std::size_t first = podium.find(">Ваня<"), second = podium.find(">Оля<"), third = podium.find(">Ян<");
    EXPECT_TRUE(first != std::string::npos && first < second && second < third && third != std::string::npos) << podium;
    const std::string table = Between(dom, "<table class=\"rest\">", "</table>");
    EXPECT_EQ(CountOf(table, "<tr>"), 1u + 5u) << "the head and the rows 4..8";
    EXPECT_NE(table.find("<td class=\"place\">4</td><td class=\"name\">Константинопольский</td>"), std::string::npos);
    EXPECT_NE(table.find("<td class=\"place\">8</td><td class=\"name\">Анна</td>"), std::string::npos);
    EXPECT_EQ(table.find(">Ваня<"), std::string::npos);

    // The name that looked like markup stayed text.
    EXPECT_NE(table.find("&lt;b&gt;Хакер&lt;/b&gt;"), std::string::npos);
    EXPECT_EQ(dom.find("<b>"), std::string::npos);

    // Every verified row, and only those, has its mark and its replay.
    for (const TScoreRow& row : TableRows()) {
        SCOPED_TRACE(row.Name);
        const std::string link = "href=\"/api/replays/" + std::to_string(row.Id) + "\"";
        EXPECT_EQ(CountOf(dom, link), row.Verified ? 1u : 0u);
    }
    EXPECT_EQ(CountOf(podium + table, "class=\"verified\""), 4u);
    EXPECT_NE(dom.find("quillon --replay"), std::string::npos);

    // The filter: every country, the box for verified scores unticked.
    const std::string form = Between(dom, "<form class=\"filter\"", "</form>");
    for (const char* country : {"все страны", "Россия", "Латвия", "Польша", "Эстония"})
        EXPECT_NE(form.find(std::string(">") + country + "</option>"), std::string::npos) << country;
    EXPECT_NE(form.find("<input type=\"checkbox\" name=\"verified\" value=\"1\">"), std::string::npos);
}

TEST_F(TablePageInBrowser, VerifiedOnlyPageKeepsTheChoice) {
    const std::string dom = Browser->DumpDom(PageUrl("&country=%D0%A0%D0%BE%D1%81%D1%81%D0%B8%D1%8F&verified=1&lang=ru"));
    ASSERT_FALSE(dom.empty()) << Browser->LastErrors();
    // Verified scores from Россия: Ваня and the long-named pilot.
    const std::string podium = Between(dom, "<ol class=\"podium\">", "</ol>");
    EXPECT_EQ(CountOf(podium, "<li "), 2u);
    EXPECT_NE(podium.find(">Ваня<"), std::string::npos);
    EXPECT_NE(podium.find(">ОченьДлинноеИмяПилотаБезПробелов<"), std::string::npos);
    EXPECT_EQ(dom.find("<table"), std::string::npos);
    EXPECT_NE(dom.find("value=\"1\" checked=\"\""), std::string::npos);
    EXPECT_NE(dom.find("<option value=\"Россия\" selected=\"\">"), std::string::npos);
}

bool Near(const TRgb& a, const TRgb& b, int tolerance) {
    return std::abs(a.R - b.R) <= tolerance && std::abs(a.G - b.G) <= tolerance && std::abs(a.B - b.B) <= tolerance;
}

struct TPoint {
    int X = -1, Y = -1;
};

// Where the topmost horizontal run of at least `length` pixels of `colour` starts; (-1, -1)
// when there is none.
TPoint RunStart(const testing::TPngImage& shot, const TRgb& colour, int length) {
    for (int y = 0; y < shot.Height; ++y) {
        int run = 0;
        for (int x = 0; x < shot.Width; ++x) {
            run = Near(shot.At(x, y), colour, 3) ? run + 1 : 0;
            if (run == length) return {x - length + 1, y};
        }
    }
    return {};
}

constexpr TRgb kInk{4, 7, 18}, kAmber{255, 176, 41}, kSteel{163, 186, 219}, kCopper{255, 120, 46};

TEST_F(TablePageInBrowser, WideWindowShowsTheTitleArtAndThePodium) {
    const testing::TPngImage shot = Shot(1280, 900, "page-1280.png");
    ASSERT_EQ(shot.Width, 1280);
    const testing::TPngImage title = testing::ReadPng(TitlePath);
    ASSERT_GT(title.Width, 0);

    // The title art at its own size, centred near the top: found pixel for pixel.
    const int left = (shot.Width - title.Width) / 2;
    int found = -1;
    for (int top = 0; top < 80 && found < 0; ++top) {
        long difference = 0;
        for (int y = 0; y < title.Height; y += 3)
            for (int x = 0; x < title.Width; x += 3) {
                const TRgb a = shot.At(left + x, top + y), b = title.At(x, y);
                difference += std::abs(a.R - b.R) + std::abs(a.G - b.G) + std::abs(a.B - b.B);
            }
        if (difference < 4L * (title.Width / 3 + 1) * (title.Height / 3 + 1)) found = top;
    }
    EXPECT_GE(found, 0) << "the title art is not shown at the top of the page";

    // The ground is the menus' darkest body; the best three stand on a podium of plates framed
    // in gold, silver and copper: the first in the middle and highest, the second on its left,
    // the third on its right and lowest.
    EXPECT_TRUE(Near(shot.At(5, shot.Height - 5), kInk, 2));
    const TPoint gold = RunStart(shot, kAmber, 120), silver = RunStart(shot, kSteel, 120),
                 copper = RunStart(shot, kCopper, 120);
    ASSERT_GE(silver.X, 0);
    EXPECT_GT(gold.X, silver.X);
    EXPECT_GT(copper.X, gold.X);
    EXPECT_LT(gold.Y, silver.Y);
    EXPECT_LT(silver.Y, copper.Y);
}

// On a phone nothing may run off the right edge: the last columns of the screenshot show the
// page's ground only, and the replay links (amber) and scores are on screen.
void ExpectNothingOffTheRightEdge(const testing::TPngImage& shot) {
    ASSERT_GT(shot.Width, 0);
    for (int y = 0; y < shot.Height; ++y)
        for (int x = shot.Width - 4; x < shot.Width; ++x)
            ASSERT_TRUE(Near(shot.At(x, y), kInk, 3)) << "something reaches the right edge at y " << y;
}

TEST_F(TablePageInBrowser, PhoneWidthKeepsEveryColumnOnScreen) {
    // The whole page at a phone's width in either language: the plates one under another, the
    // table's rows folded, with their replay links.
    for (const char* language : {"ru", "en"}) {
        SCOPED_TRACE(language);
        const testing::TPngImage whole =
            Shot(390, 2000, std::string("page-390-") + language + ".png", std::string("&lang=") + language);
        ASSERT_EQ(whole.Width, 390);
        ExpectNothingOffTheRightEdge(whole);
        EXPECT_GE(RunStart(whole, kAmber, 200).X, 0) << "the first place's plate spans the screen";
        int lowestLink = -1;
        for (int y = 0; y < whole.Height; ++y)
            for (int x = 0; x < whole.Width; ++x)
                if (Near(whole.At(x, y), kAmber, 3)) lowestLink = y;
        // The last verified row (place 7) is far below the podium, past a phone's first screen
        // (844 px); its link is drawn.
        EXPECT_GT(lowestLink, 844) << "the replay links of the table's rows are not on the page";
    }
}

}  // namespace
}  // namespace quillon::server
