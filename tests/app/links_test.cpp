// What the game hands to the desktop: the play link at shutdown, the exit launcher
// after the loop, link files and web addresses, and nothing for anything else.
#include <gtest/gtest.h>

#include <fstream>

#include "support/GameFolderFixture.h"

namespace quillon::testing {
namespace {

using TLinks = TGameFolderTest;

TEST_F(TLinks, WithoutLinkFilesClosingOpensNothing) {
    TMForm& form = StartForm();
    form.Shutdown();
    form.RunExitLauncher();
    EXPECT_TRUE(form.Terminated());
    EXPECT_TRUE(Platform->Opened().empty());
}

TEST_F(TLinks, ThePlayLinkOpensAtShutdownAndTheLauncherAfterIt) {
    std::ofstream(GameDir + "/play.url") << "[InternetShortcut]\r\nURL=https://example.org/play\r\n";
    std::filesystem::create_directories(GameDir + "/fscommand");
    std::ofstream(GameDir + "/fscommand/wgame.exe") << "x";
    TMForm& form = StartForm();
    form.Shutdown();
    ASSERT_EQ(Platform->Opened().size(), 1u);
    EXPECT_EQ(Platform->Opened()[0], "https://example.org/play");
    form.RunExitLauncher();
    ASSERT_EQ(Platform->Opened().size(), 2u);
    EXPECT_EQ(Platform->Opened()[1], (std::filesystem::path(GameDir) / "fscommand/wgame.exe").string());
    // The game was saved before anything was opened.
    EXPECT_TRUE(std::filesystem::exists(GameDir + "/Data/Save/options"));
}

TEST_F(TLinks, OnlyWebAddressesReachTheDesktop) {
    std::ofstream(GameDir + "/moregames.url") << "[InternetShortcut]\nURL=http://example.org/more\n";
    std::ofstream(GameDir + "/bad.url") << "[InternetShortcut]\nURL=file:///etc/passwd\n";
    TMForm& form = StartForm();
    form.OpenLink("moregames.url");
    form.OpenLink("bad.url");
    form.OpenLink("missing.url");
    form.OpenLink("/bin/sh");
    form.OpenLink("https://example.org/direct");
    std::vector<std::string> expected = {"http://example.org/more", "https://example.org/direct"};
    EXPECT_EQ(Platform->Opened(), expected);
}

}  // namespace
}  // namespace quillon::testing
