// The settings file: every bad line gives one warning naming the file, the line and the
// default used; the player's lines survive a rewrite; a folder that cannot be written costs
// one warning and nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Settings.h"
#include "platform/VirtualKeys.h"
#include "support/TempDir.h"

namespace quillon {
namespace {

const TSettingNames kNames{VirtualKeyFromName, PadButtonFromName};

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(Settings, TheNewFileListsEveryKeyWithItsCommentAndReadsBackAsTheDefaults) {
    const TSettingsRead first = ParseSettings("", "quillon.ini", kNames);
    EXPECT_TRUE(first.Warnings.empty());
    EXPECT_FALSE(first.Complete);
    for (const char* line : {"[Sound]\n", "[Display]\n", "[Keys]\n", "[Pad]\n", "MusicVolume = 100\n",
                             "EffectsVolume = 100\n", "WindowScale = 1\n", "Scaling = sharp\n", "Display = 1\n", "Language = auto\n",
                             "Fire = Z, Left Ctrl, Right Ctrl\n", "Enter = Return, Keypad Enter\n",
                             "Fire = a\n", "Left = dpleft, leftx-\n", "StickDeadZone = 25\n"})
        EXPECT_NE(first.Text.find(line), std::string::npos) << line;
    // Every key has its one-line comment just above it.
    std::istringstream lines(first.Text);
    std::string line, previous;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != '#' && line[0] != '[') {
            EXPECT_EQ(previous.substr(0, 2), "# ") << line;
        }
        previous = line;
    }

    const TSettingsRead again = ParseSettings(first.Text, "quillon.ini", kNames);
    EXPECT_TRUE(again.Warnings.empty());
    EXPECT_TRUE(again.Complete);
    EXPECT_EQ(again.Text, first.Text);
    const TSettings defaults;
    EXPECT_EQ(again.Settings.Keys, defaults.Keys);
    EXPECT_EQ(again.Settings.Pad, defaults.Pad);
    EXPECT_EQ(again.Settings.MusicVolume, 100);
    EXPECT_EQ(again.Settings.WindowScale, 1);
    EXPECT_EQ(again.Settings.StickDeadZone, 25);
}

TEST(Settings, GoodValuesAreRead) {
    const TSettingsRead read = ParseSettings(
        "[Sound]\nMusicVolume = 30\neffectsvolume=0\n[Display]\nWindowScale = auto\nScaling = Smooth\nDisplay = 2\nLanguage = EN\n"
        "[Keys]\nFire = Q, Return\nEnter = Space\nBrake = B\nNitro =\n[Pad]\nFire = b\nEscape = y\nHorn = x\n"
        "Nitro = leftshoulder\nStickDeadZone = 10\n[Network]\nScoreServer = https://scores.example.org\n",
        "f.ini", kNames);
    EXPECT_TRUE(read.Warnings.empty()) << read.Warnings.front();
    EXPECT_EQ(read.Settings.MusicVolume, 30);
    EXPECT_EQ(read.Settings.EffectsVolume, 0);
    EXPECT_EQ(read.Settings.WindowScale, 0);
    EXPECT_EQ(read.Settings.Scaling, TScaling::Smooth);
    EXPECT_EQ(read.Settings.Display, 2);
    EXPECT_EQ(read.Settings.Language, TLanguage::English);
    EXPECT_EQ(read.Settings.Keys[static_cast<size_t>(TAction::Fire)], (std::vector<int>{'Q', 13}));
    EXPECT_EQ(read.Settings.Keys[static_cast<size_t>(TAction::Enter)], (std::vector<int>{32}));
    EXPECT_TRUE(read.Settings.Keys[static_cast<size_t>(TAction::Nitro)].empty());
    EXPECT_EQ(read.Settings.Pad[static_cast<size_t>(TAction::Fire)], (std::vector<TPadButton>{TPadButton::B}));
    EXPECT_EQ(read.Settings.StickDeadZone, 10);
    EXPECT_EQ(read.Settings.ScoreServer, "https://scores.example.org");
}

// Each bad line: its one warning (file, line, what is wrong, what is used) and the default kept.
TEST(Settings, EachBadLineGivesOneWarningAndItsDefault) {
    const struct {
        const char* Text;
        const char* Warning;
    } cases[] = {
        {"[Sound]\nMusicVolume = 101\n", "f.ini:2: MusicVolume = 101: MusicVolume needs a whole number from 0 to 100; using the default 100"},
        {"[Sound]\nMusicVolume = -1\n", "f.ini:2: MusicVolume = -1: MusicVolume needs a whole number from 0 to 100; using the default 100"},
        {"[Sound]\nEffectsVolume = 5o\n", "f.ini:2: EffectsVolume = 5o: EffectsVolume needs a whole number from 0 to 100; using the default 100"},
        {"[Sound]\nEffectsVolume = 99999999999\n", "f.ini:2: EffectsVolume = 99999999999: EffectsVolume needs a whole number from 0 to 100; using the default 100"},
        {"[Display]\nWindowScale = 5\n", "f.ini:2: WindowScale = 5: WindowScale needs 1, 2, 3, 4 or auto; using the default 1"},
        {"[Display]\nScaling = blurry\n", "f.ini:2: Scaling = blurry: Scaling needs sharp, smooth or stretch; using the default sharp"},
        {"[Display]\nDisplay = 0\n", "f.ini:2: Display = 0: Display needs a whole number from 1 to 16; using the default 1"},
        {"[Display]\nLanguage = de\n", "f.ini:2: Language = de: Language needs ru, en or auto; using the default auto"},
        {"[Keys]\nFire = Q, Warp Drive\n", "f.ini:2: Fire = Q, Warp Drive: Fire has no key named 'Warp Drive'; using the default Z, Left Ctrl, Right Ctrl"},
        {"[Keys]\nFire = Q,,W\n", "f.ini:2: Fire = Q,,W: Fire has no key named ''; using the default Z, Left Ctrl, Right Ctrl"},
        {"[Pad]\nFire = trigger\n", "f.ini:2: Fire = trigger: Fire has no pad button or stick direction named 'trigger'; using the default a"},
        {"[Pad]\nStickDeadZone = 80\n", "f.ini:2: StickDeadZone = 80: StickDeadZone needs a whole number from 5 to 45; using the default 25"},
        {"[Sound]\nLoudness = 3\n", "f.ini:2: unknown key 'Loudness' in [Sound]; the line is ignored"},
        {"[Sounds]\nMusicVolume = 3\n", "f.ini:1: unknown section [Sounds]; its lines are ignored"},
        {"MusicVolume = 3\n", "f.ini:1: 'MusicVolume = 3' is outside a section; the line is ignored"},
        {"[Sound]\nMusicVolume 3\n", "f.ini:2: 'MusicVolume 3' is not KEY = VALUE; the line is ignored"},
        {"[Sound]\nMusicVolume = 3\nMusicVolume = 4\n", "f.ini:3: MusicVolume is already set on line 2; the line is ignored"},
        // One key for two actions: the line that takes another action's key gets its default.
        {"[Keys]\nFire = X\n", "f.ini:2: Fire = X: a key of it is also Nitro's; using the default Z, Left Ctrl, Right Ctrl"},
        {"[Keys]\nHorn = P\n", "f.ini:2: Horn = P: a key of it is also Pause's; using the default H"},
        {"[Keys]\nEnter = Z\n", "f.ini:2: Enter = Z: a key of it is also Fire's; using the default Return, Keypad Enter"},
        {"[Pad]\nBrake = a\n", "f.ini:2: Brake = a: a pad button of it is also Fire's; using the default rightshoulder"},
        {"[Pad]\nEscape = a\n", "f.ini:2: Escape = a: a pad button of it is also Enter's; using the default b"},
    };
    const TSettings defaults;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const TSettingsRead read = ParseSettings(c.Text, "f.ini", kNames);
        ASSERT_EQ(read.Warnings.size(), 1u);
        EXPECT_EQ(read.Warnings[0], c.Warning);
        EXPECT_EQ(read.Settings.Keys, defaults.Keys);
        EXPECT_EQ(read.Settings.Pad, defaults.Pad);
        EXPECT_EQ(read.Settings.Scaling, defaults.Scaling);
        EXPECT_EQ(read.Settings.WindowScale, defaults.WindowScale);
        EXPECT_EQ(read.Settings.StickDeadZone, defaults.StickDeadZone);
        EXPECT_EQ(read.Settings.EffectsVolume, defaults.EffectsVolume);
    }
}

TEST(Settings, KeysSwappedBetweenTwoActionsAndPadButtonsSharedAcrossRaceAndMenusAreFine) {
    const TSettingsRead read =
        ParseSettings("[Keys]\nFire = X\nNitro = Z\n[Pad]\nFire = b\nHorn = a\n", "f.ini", kNames);
    EXPECT_TRUE(read.Warnings.empty()) << read.Warnings.front();
    EXPECT_EQ(read.Settings.Keys[static_cast<size_t>(TAction::Fire)], std::vector<int>{'X'});
    EXPECT_EQ(read.Settings.Keys[static_cast<size_t>(TAction::Nitro)], std::vector<int>{'Z'});

    // Of two lines giving one key to two actions, the later gets its default.
    const TSettingsRead twice = ParseSettings("[Keys]\nHorn = Q\nPause = Q\n", "f.ini", kNames);
    ASSERT_EQ(twice.Warnings.size(), 1u);
    EXPECT_EQ(twice.Warnings[0], "f.ini:3: Pause = Q: a key of it is also Horn's; using the default P");
    EXPECT_EQ(twice.Settings.Keys[static_cast<size_t>(TAction::Horn)], std::vector<int>{'Q'});
    EXPECT_EQ(twice.Settings.Keys[static_cast<size_t>(TAction::Pause)], std::vector<int>{'P'});
}

TEST(Settings, ThePlayersLinesAndCommentsSurviveAndMissingKeysJoinTheirSections) {
    const std::string mine =
        "; my own notes\n[Sound]\n# quieter at night\nMusicVolume = 40\n\n[Keys]\nFire = Q  \nOldKey = 1\n\n[Mine]\nA = b\n";
    const TSettingsRead read = ParseSettings(mine, "f.ini", kNames);
    EXPECT_EQ(read.Warnings.size(), 2u);  // the unknown key and the unknown section
    EXPECT_FALSE(read.Complete);
    // Every line of the player's is there, in its order.
    size_t at = 0;
    std::istringstream lines(mine);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t found = read.Text.find(line + "\n", at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found + line.size();
    }
    // EffectsVolume joins [Sound] before [Keys]; Nitro joins [Keys]; [Display] and [Pad] come at the end.
    const size_t effects = read.Text.find("EffectsVolume = 100\n");
    EXPECT_LT(read.Text.find("MusicVolume = 40"), effects);
    EXPECT_LT(effects, read.Text.find("[Keys]"));
    EXPECT_GT(read.Text.find("Nitro = X, Left Shift"), read.Text.find("[Keys]"));
    EXPECT_LT(read.Text.find("Nitro = X, Left Shift"), read.Text.find("[Mine]"));
    EXPECT_GT(read.Text.find("[Display]"), read.Text.find("[Mine]"));
    EXPECT_EQ(Count(read.Text, "Fire = "), 2u);  // the player's key and the pad's
    EXPECT_EQ(Count(read.Text, "MusicVolume"), 1u);

    const TSettingsRead again = ParseSettings(read.Text, "f.ini", kNames);
    EXPECT_TRUE(again.Complete);
    EXPECT_EQ(again.Text, read.Text);
    EXPECT_EQ(again.Settings.MusicVolume, 40);
}

TEST(Settings, TheFileIsWrittenOnTheFirstStartAndKeptAfterwards) {
    testing::TTempDir dir("settings");
    const std::filesystem::path file = std::filesystem::path(dir.Path()) / "config" / "quillon" / "quillon.ini";
    const TSettingsRead first = LoadSettingsFile(file, kNames);
    EXPECT_TRUE(first.Warnings.empty());
    EXPECT_EQ(FileText(file.string()), first.Text);

    std::ofstream(file, std::ios::app) << "# mine\n";
    {
        std::string text = FileText(file.string());
        text.replace(text.find("MusicVolume = 100"), 17, "MusicVolume = 55");
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    }
    const std::string edited = FileText(file.string());
    const TSettingsRead second = LoadSettingsFile(file, kNames);
    EXPECT_TRUE(second.Warnings.empty());
    EXPECT_EQ(second.Settings.MusicVolume, 55);
    EXPECT_EQ(FileText(file.string()), edited);
}

// A config "folder" that is a file cannot be made, and a folder where the file should be
// cannot be read: either way one warning, and the game starts with the defaults.
TEST(Settings, AConfigFolderThatCannotBeMadeOrAFileThatCannotBeReadGivesOneWarningAndTheDefaults) {
    testing::TTempDir dir("settings-bad");
    const std::filesystem::path plain = std::filesystem::path(dir.Path()) / "plain";
    std::ofstream(plain) << "not a folder";
    const std::filesystem::path unmakeable = plain / "quillon" / "quillon.ini";
    const TSettingsRead read = LoadSettingsFile(unmakeable, kNames);
    ASSERT_EQ(read.Warnings.size(), 1u);
    EXPECT_EQ(read.Warnings[0].rfind(unmakeable.string() + ": cannot be written (", 0), 0u) << read.Warnings[0];
    EXPECT_NE(read.Warnings[0].find("the missing keys get their defaults"), std::string::npos);
    EXPECT_EQ(read.Settings.Keys, TSettings().Keys);
    EXPECT_EQ(FileText(plain.string()), "not a folder");

    const std::filesystem::path folder = std::filesystem::path(dir.Path()) / "folder.ini";
    std::filesystem::create_directory(folder);
    const TSettingsRead closed = LoadSettingsFile(folder, kNames);
    ASSERT_EQ(closed.Warnings.size(), 1u);
    EXPECT_EQ(closed.Warnings[0], folder.string() + ": cannot be read; using the default settings");
    EXPECT_EQ(closed.Settings.MusicVolume, 100);
}

TEST(Settings, TheFileLivesInTheConfigFolder) {
    EXPECT_EQ(DefaultSettingsFile("/x/cfg", "/home/p"), "/x/cfg/quillon/quillon.ini");
    EXPECT_EQ(DefaultSettingsFile("relative", "/home/p"), "/home/p/.config/quillon/quillon.ini");
    EXPECT_EQ(DefaultSettingsFile(nullptr, "/home/p"), "/home/p/.config/quillon/quillon.ini");
    EXPECT_EQ(DefaultSettingsFile(nullptr, nullptr), "");
}

}  // namespace
}  // namespace quillon
