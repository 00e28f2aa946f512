// Where a run finds its data and keeps its saves: a --root folder, the build tree, or an
// installed game with its saves in the player's data folder; never the working directory.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/GameFolder.h"
#include "support/HeadlessRun.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

class GameFolder : public ::testing::Test {
protected:
    void SetUp() override { Base = testing::MakeTempDir("folders"); }
    void TearDown() override { fs::remove_all(Base); }
    fs::path Data(const std::string& folder) {
        fs::create_directories(Base / folder / "Data" / "Res");
        return Base / folder;
    }
    // An installed layout: PREFIX/bin/quillon and PREFIX/share/quillon/Data/Res.
    TFolderSearch Installed() {
        Data("prefix/share/quillon");
        fs::create_directories(Base / "prefix" / "bin");
        TFolderSearch search;
        search.Executable = Base / "prefix" / "bin" / "quillon";
        search.InstalledData = "../share/quillon";
        search.InstalledLocale = "../share/locale";
        search.Home = "/home/player";
        return search;
    }
    fs::path Base;
};

TEST_F(GameFolder, RootThenTheBuildTreeKeepSavesInTheirOwnDataSave) {
    TFolderSearch search;
    search.Executable = Data("build") / "quillon";
    search.InstalledData = "../share/quillon";
    search.Home = "/home/player";

    search.Root = (Base / "elsewhere").string();
    TGameFolder root = FindGameFolder(search);
    EXPECT_EQ(root.Folder, Base / "elsewhere");
    EXPECT_EQ(root.SaveFolder, Base / "elsewhere" / "Data" / "Save");
    EXPECT_FALSE(root.Installed);

    search.Root.clear();
    TGameFolder build = FindGameFolder(search);
    EXPECT_EQ(build.Folder, Base / "build");
    EXPECT_EQ(build.SaveFolder, Base / "build" / "Data" / "Save");
    EXPECT_FALSE(build.Installed);
}

TEST_F(GameFolder, AnInstalledGameSavesInThePlayersDataFolder) {
    const struct {
        const char* XdgDataHome;
        fs::path Save;
    } cases[] = {
        {"", "/home/player/.local/share/quillon/Save"},
        {"/data/player", "/data/player/quillon/Save"},
        {"relative/ignored", "/home/player/.local/share/quillon/Save"},
    };
    for (const auto& c : cases) {
        TFolderSearch search = Installed();
        search.XdgDataHome = c.XdgDataHome;
        TGameFolder found = FindGameFolder(search);
        EXPECT_TRUE(found.Installed) << c.XdgDataHome;
        EXPECT_EQ(found.Folder, Base / "prefix" / "share" / "quillon") << c.XdgDataHome;
        EXPECT_EQ(found.SaveFolder, c.Save) << c.XdgDataHome;
    }
}

// A folder of data in the working directory (an unpacked archive, say) is no game folder:
// the running game's own data wins. tests/shell/install.sh starts the installed game inside
// such a folder and shows nothing of it is read, saved to or opened.
TEST_F(GameFolder, DataInTheWorkingDirectoryIsIgnored) {
    Data("planted");
    fs::path before = fs::current_path();
    fs::current_path(Base / "planted");
    TFolderSearch installed = Installed();
    TFolderSearch build;
    build.Executable = Data("build") / "quillon";
    build.InstalledData = "../share/quillon";
    TFolderSearch fromProcess = ThisRun("", "quillon");
    fs::current_path(before);

    EXPECT_EQ(FindGameFolder(installed).Folder, Base / "prefix" / "share" / "quillon");
    EXPECT_EQ(FindGameFolder(build).Folder, Base / "build");
    EXPECT_NE(FindGameFolder(fromProcess).Folder, Base / "planted");
}

TEST_F(GameFolder, WithoutDataAnywhereTheExecutablesFolderReportsTheMissingFiles) {
    TFolderSearch search;
    search.Executable = Base / "bin" / "quillon";
    search.InstalledData = "../share/quillon";
    search.Home = "/home/player";
    TGameFolder found = FindGameFolder(search);
    EXPECT_EQ(found.Folder, Base / "bin");
    EXPECT_FALSE(found.Installed);
}

// The message catalogs belong to the program: the build tree's locale folder beside it, else
// the installed share/locale; a --root game folder does not move them.
TEST_F(GameFolder, TheCatalogsAreTheBuildTreesElseTheInstalledOnesWhateverTheRoot) {
    TFolderSearch build;
    build.Executable = Data("build") / "quillon";
    build.InstalledLocale = "../share/locale";
    fs::create_directories(Base / "build" / "locale");
    TFolderSearch installed = Installed();
    for (const std::string root : {"", "elsewhere"}) {
        build.Root = installed.Root = root.empty() ? "" : (Base / root).string();
        EXPECT_EQ(FindGameFolder(build).Catalogs, Base / "build" / "locale") << root;
        EXPECT_EQ(FindGameFolder(installed).Catalogs, Base / "prefix" / "share" / "locale") << root;
    }
}

}  // namespace
}  // namespace quillon
