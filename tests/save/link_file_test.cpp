// Link files, link targets and the world-table address.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "save/DurableFile.h"
#include "save/LinkFile.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

TEST(LinkFile, InternetShortcutText) {
    struct Case {
        const char* what;
        std::string text;
        std::optional<std::string> url;
    } cases[] = {
        {"plain", "[InternetShortcut]\r\nURL=http://example.org/games\r\n", "http://example.org/games"},
        {"https, other keys, LF ends", "[InternetShortcut]\nIconIndex=0\nURL=https://a.example/x?y=1&z\nIconFile=a.ico\n",
         "https://a.example/x?y=1&z"},
        {"case and blanks", "\xEF\xBB\xBF [internetshortcut] \r\n  url = HTTP://A.example \r\n", "HTTP://A.example"},
        {"other sections first", "[DEFAULT]\r\nBASEURL=http://wrong.example\r\n[InternetShortcut]\r\nURL=http://right.example\r\n",
         "http://right.example"},
        {"URL outside the section", "URL=http://a.example\r\n[Other]\r\nURL=http://b.example\r\n", std::nullopt},
        {"section ends at the next one", "[InternetShortcut]\r\n[Other]\r\nURL=http://b.example\r\n", std::nullopt},
        {"a file link", "[InternetShortcut]\r\nURL=file:///etc/passwd\r\n", std::nullopt},
        {"a program", "[InternetShortcut]\r\nURL=C:\\Games\\setup.exe\r\n", std::nullopt},
        {"a shell command", "[InternetShortcut]\r\nURL=javascript:alert(1)\r\n", std::nullopt},
        {"blanks inside", "[InternetShortcut]\r\nURL=http://a.example/x y\r\n", std::nullopt},
        {"control character", "[InternetShortcut]\r\nURL=http://a.example/\x01\r\n", std::nullopt},
        {"no host", "[InternetShortcut]\r\nURL=http:///path\r\n", std::nullopt},
        {"empty", "", std::nullopt},
        {"binary", std::string("\0\xFF[Inter\0netShortcut]", 21), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseInternetShortcut(c.text), c.url) << c.what;
}

TEST(LinkFile, TargetsResolveToWebAddressesOnly) {
    std::string pattern = (fs::temp_directory_path() / "quillon-link-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path game = pattern;
    WriteFileSynced(game / "moregames.url", "[InternetShortcut]\r\nURL=http://more.example/\r\n");
    WriteFileSynced(game / "broken.url", "[InternetShortcut]\r\nURL=ftp://more.example/\r\n");
    WriteFileSynced(game / "play.txt", "[InternetShortcut]\r\nURL=http://more.example/\r\n");
    WriteFileSynced(game / "huge.url", "[InternetShortcut]\r\nURL=http://a.example/" + std::string(70000, 'a') + "\r\n");
    fs::create_directory(game / "folder.url");

    struct Case {
        const char* target;
        std::optional<std::string> url;
    } cases[] = {
        {"moregames.url", "http://more.example/"},
        {"http://score.example/cgi/version.pl?prg=Quillon&show&type=0",
         "http://score.example/cgi/version.pl?prg=Quillon&show&type=0"},
        {"play.url", std::nullopt},  // missing
        {"broken.url", std::nullopt},
        {"play.txt", std::nullopt},
        {"huge.url", std::nullopt},
        {"folder.url", std::nullopt},
        {"fscommand/wgame.exe", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveLinkTarget(c.target, game), c.url) << c.target;
    fs::remove_all(game);
}

TEST(LinkFile, WorldTablePageOfAServer) {
    EXPECT_EQ(WorldTableUrl("http://127.0.0.1:8080"), "http://127.0.0.1:8080/cgi/version.pl?prg=Quillon&show&type=0");
    EXPECT_EQ(WorldTableUrl("https://s.example/"), "https://s.example/cgi/version.pl?prg=Quillon&show&type=0");
}

// The environment over the setting over the build; a value that is not a web address is named
// and gives no server, never a quiet fall back to one of the others.
TEST(LinkFile, ScoreServerChoice) {
    using Value = std::optional<std::string_view>;
    struct Case {
        const char* what;
        std::string_view builtIn;
        Value setting;
        Value environment;
        std::optional<std::string> address;
        std::string rejected;
    } cases[] = {
        {"the build's alone", "http://table.example", std::nullopt, std::nullopt, "http://table.example", ""},
        {"the setting over the build", "http://table.example", "https://ours.example:8443/", std::nullopt,
         "https://ours.example:8443", ""},
        {"the environment over both", "http://table.example", "https://ours.example", "http://127.0.0.1:8080",
         "http://127.0.0.1:8080", ""},
        {"empty values count as not given", "http://table.example", "", "", "http://table.example", ""},
        {"a build without a table", "", std::nullopt, std::nullopt, std::nullopt, ""},
        {"a table set for a build without one", "", "http://ours.example", std::nullopt, "http://ours.example", ""},
        {"no scheme in the environment", "http://table.example", "http://ours.example", "127.0.0.1:8080", std::nullopt,
         "127.0.0.1:8080"},
        {"another scheme in the setting", "http://table.example", "ftp://ours.example", std::nullopt, std::nullopt,
         "ftp://ours.example"},
        {"no host", "http://table.example", std::nullopt, "http:///cgi", std::nullopt, "http:///cgi"},
        {"a blank inside", "http://table.example", std::nullopt, "http://a b.example", std::nullopt, "http://a b.example"},
        {"upper-case scheme, several slashes", "HTTPS://Table.example//", std::nullopt, std::nullopt,
         "HTTPS://Table.example", ""},
    };
    for (const Case& c : cases) {
        const TScoreServerChoice choice = ChooseScoreServer(c.builtIn, c.setting, c.environment);
        EXPECT_EQ(choice.Address, c.address) << c.what;
        EXPECT_EQ(choice.Rejected, c.rejected) << c.what;
    }
}

TEST(LinkFile, ScoreServerOfTheRunFollowsTheEnvironment) {
    const char* saved = std::getenv(kScoreServerVariable);
    const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;

    ::unsetenv(kScoreServerVariable);
    EXPECT_EQ(ScoreServerAddress(), ChooseScoreServer(BuiltInScoreServer(), std::nullopt, std::nullopt).Address);
    ::setenv(kScoreServerVariable, "http://127.0.0.1:8080/", 1);
    EXPECT_EQ(ScoreServerAddress(), "http://127.0.0.1:8080");
    SetScoreServerSetting("http://setting.example");
    EXPECT_EQ(ScoreServerAddress(), "http://127.0.0.1:8080") << "the environment wins over the setting";
    ::unsetenv(kScoreServerVariable);
    EXPECT_EQ(ScoreServerAddress(), "http://setting.example") << "the setting wins over the build";
    SetScoreServerSetting("");
    ::setenv(kScoreServerVariable, "http://127.0.0.1:8080/", 1);
    EXPECT_EQ(WorldTableUrl(), "http://127.0.0.1:8080/cgi/version.pl?prg=Quillon&show&type=0");

    ::setenv(kScoreServerVariable, "not a server", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ScoreServerAddress(), std::nullopt);
    EXPECT_EQ(WorldTableUrl(), std::nullopt);
    EXPECT_EQ(ScoreServerAddress(), std::nullopt);
    const std::string warned = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(warned,
              "quillon: the score server address \"not a server\" is not an http or https address: no score is sent and "
              "the world table is not opened\n")
        << "one warning that names the value";

    if (previous)
        ::setenv(kScoreServerVariable, previous->c_str(), 1);
    else
        ::unsetenv(kScoreServerVariable);
}

}  // namespace
}  // namespace quillon
