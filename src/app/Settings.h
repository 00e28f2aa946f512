// The player's settings file (quillon.ini): what the game's own options screen does not
// offer. Every default leaves the game exactly as it plays without the file: full volumes,
// an 800 x 600 window, the game's own keys and pad buttons.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/GameLanguage.h"
#include "engine/PadButton.h"

namespace quillon {

// The controls a player can move to other keys or pad buttons.
enum class TAction : int { Left, Right, Accelerate, SlowDown, Brake, Fire, Nitro, Horn, Pause, Enter, Escape, Count };
constexpr int ActionCount = static_cast<int>(TAction::Count);

// The name of an action in the file ("Fire") and the game's own key for it (Z).
const char* ActionName(TAction action);
int ActionGameKey(TAction action);

enum class TScaling { Sharp, Smooth, Stretch };

struct TSettings {
    int MusicVolume = 100;    // 0..100, a linear gain on the song
    int EffectsVolume = 100;  // 0..100, a linear gain on the effects
    int WindowScale = 1;      // 1..4, or 0 for the largest that fits the desktop
    TScaling Scaling = TScaling::Sharp;
    int Display = 1;          // the display the window opens on, from 1
    std::optional<TLanguage> Language;  // the words' language; none (auto): the locale's
    // Virtual-key codes of each action's keys, and pad buttons of each action.
    std::array<std::vector<int>, ActionCount> Keys;
    std::array<std::vector<TPadButton>, ActionCount> Pad;
    int StickDeadZone = 25;   // percent of the stick's travel that counts as the middle
    std::string ScoreServer;  // the world table's address; empty: the one the game was built with

    TSettings();  // the defaults
};

// The names keys and pad buttons have in the file: SDL's, looked up by the platform.
struct TSettingNames {
    int (*Key)(const std::string& name) = nullptr;  // virtual-key code, 0 when unknown
    bool (*Pad)(const std::string& name, TPadButton& button) = nullptr;
};

struct TSettingsRead {
    TSettings Settings;
    std::vector<std::string> Warnings;  // one line each, naming the file and the line
    std::string Text;                   // the file as it is to be: the player's lines and the missing keys
    bool Complete = false;              // the text read held every key: nothing to write
};

// Reads a settings file's text. Bad lines are warned about and get their defaults; the
// player's lines are kept as they are and missing keys are added with their comments.
TSettingsRead ParseSettings(const std::string& text, const std::string& fileName, const TSettingNames& names);

// Reads the file and writes it back when keys are missing (the whole file on the first
// start). A file or folder that cannot be read or written gives one warning and the
// defaults (or what could be read). Never throws.
TSettingsRead LoadSettingsFile(const std::filesystem::path& file, const TSettingNames& names);

// $XDG_CONFIG_HOME/quillon/quillon.ini, else ~/.config/quillon/quillon.ini; empty without a home.
std::filesystem::path DefaultSettingsFile(const char* xdgConfigHome, const char* home);

}  // namespace quillon
