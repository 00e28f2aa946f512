// The settings file: one table of keys (section, name, default, comment, how a value is
// read), the reader that warns about each bad line, and the rewrite that keeps the
// player's lines and adds the keys that are missing.
#include "app/Settings.h"

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "engine/KeyCodes.h"

namespace quillon {

namespace {

struct TActionInfo {
    const char* Name;
    int GameKey;
    const char* Keys;  // the default keys, as the file spells them
    const char* Pad;   // the default pad buttons
    const char* What;  // the comment's words
    bool Race, Menu;   // where the pad button is heard
};

constexpr TActionInfo kActions[ActionCount] = {
    {"Left", KeyLeft, "Left", "dpleft, leftx-", "steer left; in the menus, left", true, true},
    {"Right", KeyRight, "Right", "dpright, leftx+", "steer right; in the menus, right", true, true},
    {"Accelerate", KeyUp, "Up", "dpup, lefty-", "accelerate; in the menus, up", true, true},
    {"SlowDown", KeyDown, "Down", "dpdown, lefty+", "slow down; in the menus, down", true, true},
    {"Brake", KeySpace, "Space", "rightshoulder", "hard brake", true, false},
    {"Fire", 'Z', "Z, Left Ctrl, Right Ctrl", "a", "fire", true, false},
    {"Nitro", 'X', "X, Left Shift, Right Shift", "x", "nitro", true, false},
    {"Horn", 'H', "H", "y", "horn", true, false},
    {"Pause", 'P', "P", "start", "pause", true, true},
    {"Enter", KeyEnter, "Return, Keypad Enter", "a", "choose in the menus; yes in the questions", false, true},
    {"Escape", KeyEscape, "Escape", "b", "back in the menus; no in the questions", false, true},
};

const TActionInfo& Info(TAction action) { return kActions[static_cast<int>(action)]; }

std::string TrimText(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool ParseWhole(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 6) return false;
    int number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    if (number < low || number > high) return false;
    value = number;
    return true;
}

// "A, B, C" into its names; an empty value is an empty list.
std::vector<std::string> SplitList(const std::string& value) {
    std::vector<std::string> names;
    if (TrimText(value).empty()) return names;
    std::string item;
    std::istringstream in(value);
    while (std::getline(in, item, ',')) names.push_back(TrimText(item));
    return names;
}

// How a key's value is read: false with the reason when it cannot be.
using TApply = std::function<bool(const std::string& value, TSettings& settings, const TSettingNames& names,
                                  std::string& why)>;

struct TKeyDef {
    std::string Section;
    std::string Name;
    std::string Default;
    std::string Comment;
    TApply Apply;
    int Action = -1;   // the action a [Keys] or [Pad] line binds
    bool Pad = false;
};

TApply Number(int TSettings::*field, int low, int high) {
    return [=](const std::string& value, TSettings& settings, const TSettingNames&, std::string& why) {
        if (ParseWhole(value, low, high, settings.*field)) return true;
        why = "needs a whole number from " + std::to_string(low) + " to " + std::to_string(high);
        return false;
    };
}

TApply KeyList(int action) {
    return [=](const std::string& value, TSettings& settings, const TSettingNames& names, std::string& why) {
        std::vector<int> keys;
        for (const std::string& name : SplitList(value)) {
            const int key = names.Key && !name.empty() ? names.Key(name) : 0;
            if (key == 0) {
                why = "has no key named '" + name + "'";
                return false;
            }
            keys.push_back(key);
        }
        settings.Keys[static_cast<size_t>(action)] = keys;
        return true;
    };
}

TApply PadList(int action) {
    return [=](const std::string& value, TSettings& settings, const TSettingNames& names, std::string& why) {
        std::vector<TPadButton> buttons;
        for (const std::string& name : SplitList(value)) {
            TPadButton button = TPadButton::A;
            if (!names.Pad || name.empty() || !names.Pad(Lower(name), button)) {
                why = "has no pad button or stick direction named '" + name + "'";
                return false;
            }
            buttons.push_back(button);
        }
        settings.Pad[static_cast<size_t>(action)] = buttons;
        return true;
    };
}

// Every key of the file, in the order a new file lists them. One more key is one more row.
const std::vector<TKeyDef>& KeyTable() {
    static const std::vector<TKeyDef> table = [] {
        std::vector<TKeyDef> keys = {
            {"Sound", "MusicVolume", "100", "Volume of the music, 0 (silent) to 100 (as the game was made).",
             Number(&TSettings::MusicVolume, 0, 100)},
            {"Sound", "EffectsVolume", "100", "Volume of the sound effects, 0 (silent) to 100 (as the game was made).",
             Number(&TSettings::EffectsVolume, 0, 100)},
            {"Display", "WindowScale", "1",
             "The window's size as a multiple of 800 x 600: 1, 2, 3, 4, or auto for the largest that fits the desktop.",
             [](const std::string& value, TSettings& settings, const TSettingNames&, std::string& why) {
                 if (Lower(value) == "auto") {
                     settings.WindowScale = 0;
                     return true;
                 }
                 if (ParseWhole(value, 1, 4, settings.WindowScale)) return true;
                 why = "needs 1, 2, 3, 4 or auto";
                 return false;
             }},
            {"Display", "Scaling", "sharp",
             "How the picture fills a larger window or the full screen: sharp (whole pixels, a black border), "
             "smooth (filtered), stretch (the whole screen, the aspect not kept).",
             [](const std::string& value, TSettings& settings, const TSettingNames&, std::string& why) {
                 const std::string v = Lower(value);
                 if (v == "sharp") settings.Scaling = TScaling::Sharp;
                 else if (v == "smooth") settings.Scaling = TScaling::Smooth;
                 else if (v == "stretch") settings.Scaling = TScaling::Stretch;
                 else {
                     why = "needs sharp, smooth or stretch";
                     return false;
                 }
                 return true;
             }},
            {"Display", "Display", "1", "The display the game opens on, counted from 1.",
             Number(&TSettings::Display, 1, 16)},
            {"Display", "Language", "auto",
             "The language of the game's words: ru, en, or auto for the locale's (Russian for ru, else English).",
             [](const std::string& value, TSettings& settings, const TSettingNames&, std::string& why) {
                 const std::string v = Lower(value);
                 if (v == "auto") {
                     settings.Language.reset();
                     return true;
                 }
                 settings.Language = LanguageFromCode(v);
                 if (settings.Language) return true;
                 why = "needs ru, en or auto";
                 return false;
             }},
        };
        for (int a = 0; a < ActionCount; ++a) {
            TKeyDef def{"Keys", kActions[a].Name, kActions[a].Keys,
                        std::string("Keys to ") + kActions[a].What + ", as SDL names them, separated by commas.",
                        KeyList(a)};
            def.Action = a;
            keys.push_back(def);
        }
        for (int a = 0; a < ActionCount; ++a) {
            TKeyDef def{"Pad", kActions[a].Name, kActions[a].Pad,
                        std::string("Pad buttons to ") + kActions[a].What +
                            " (SDL's names; leftx-, leftx+, lefty-, lefty+ are the left stick's directions).",
                        PadList(a)};
            def.Action = a;
            def.Pad = true;
            keys.push_back(def);
        }
        keys.push_back({"Pad", "StickDeadZone", "25",
                        "How far the stick may lean and still count as the middle, in percent of its travel (5 to 45).",
                        Number(&TSettings::StickDeadZone, 5, 45)});
        // Checked where it is used, so that a bad address sends nothing rather than falling back.
        keys.push_back({"Network", "ScoreServer", "",
                        "The world table's address (http:// or https://); empty for the one the game was built with.",
                        [](const std::string& value, TSettings& settings, const TSettingNames&, std::string&) {
                            settings.ScoreServer = value;
                            return true;
                        }});
        return keys;
    }();
    return table;
}

bool IsSection(const std::string& name) {
    for (const TKeyDef& def : KeyTable())
        if (def.Section == name) return true;
    return false;
}

const TKeyDef* FindKey(const std::string& section, const std::string& name) {
    for (const TKeyDef& def : KeyTable())
        if (def.Section == section && Lower(def.Name) == Lower(name)) return &def;
    return nullptr;
}

// Two actions may not share a key; on a pad, two actions of the race, or two of the menus.
bool Clash(int a, int b, bool pad) {
    if (a == b) return false;
    if (!pad) return true;
    return (kActions[a].Race && kActions[b].Race) || (kActions[a].Menu && kActions[b].Menu);
}

template <class T>
bool Shares(const std::vector<T>& one, const std::vector<T>& other) {
    for (const T& item : one)
        for (const T& o : other)
            if (item == o) return true;
    return false;
}

// A binding line as read, for the check that no key serves two actions.
struct TBindingLine {
    int Line;
    std::string Text;
    const TKeyDef* Def;
};

}  // namespace

const char* ActionName(TAction action) { return Info(action).Name; }
int ActionGameKey(TAction action) { return Info(action).GameKey; }

TSettings::TSettings() {
    const std::vector<int> keys[ActionCount] = {
        {KeyLeft}, {KeyRight}, {KeyUp}, {KeyDown}, {KeySpace}, {'Z', KeyCtrl, KeyCtrl}, {'X', KeyShift, KeyShift},
        {'H'},     {'P'},      {KeyEnter, KeyEnter}, {KeyEscape},
    };
    using B = TPadButton;
    const std::vector<TPadButton> pad[ActionCount] = {
        {B::DpadLeft, B::StickLeft}, {B::DpadRight, B::StickRight}, {B::DpadUp, B::StickUp},
        {B::DpadDown, B::StickDown}, {B::RightShoulder},            {B::A},
        {B::X},                      {B::Y},                        {B::Start},
        {B::A},                      {B::B},
    };
    for (int a = 0; a < ActionCount; ++a) {
        Keys[static_cast<size_t>(a)] = keys[a];
        Pad[static_cast<size_t>(a)] = pad[a];
    }
}

TSettingsRead ParseSettings(const std::string& text, const std::string& fileName, const TSettingNames& names) {
    TSettingsRead read;
    const TSettings defaults;
    auto warn = [&](int line, const std::string& what) {
        read.Warnings.push_back(fileName + ":" + std::to_string(line) + ": " + what);
    };

    std::vector<std::string> lines;
    {
        std::istringstream in(text);
        std::string raw;
        while (std::getline(in, raw)) lines.push_back(raw);
    }
    std::map<const TKeyDef*, int> seen;          // the line that set each key
    std::map<std::string, size_t> sectionEnd;    // index after a section's last non-blank line
    std::vector<TBindingLine> bindings;
    std::string section;
    bool knownSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string line = TrimText(lines[i]);
        if (line.empty()) continue;
        if (line[0] == '#' || line[0] == ';') {
            if (!section.empty()) sectionEnd[section] = i + 1;
            continue;
        }
        if (line[0] == '[') {
            section = line.back() == ']' ? TrimText(line.substr(1, line.size() - 2)) : line;
            knownSection = IsSection(section);
            if (knownSection) sectionEnd[section] = i + 1;
            else warn(number, "unknown section " + line + "; its lines are ignored");
            continue;
        }
        if (!section.empty()) sectionEnd[section] = i + 1;
        if (section.empty()) {
            warn(number, "'" + line + "' is outside a section; the line is ignored");
            continue;
        }
        if (!knownSection) continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            warn(number, "'" + line + "' is not KEY = VALUE; the line is ignored");
            continue;
        }
        const std::string name = TrimText(line.substr(0, equals));
        const std::string value = TrimText(line.substr(equals + 1));
        const TKeyDef* def = FindKey(section, name);
        if (!def) {
            warn(number, "unknown key '" + name + "' in [" + section + "]; the line is ignored");
            continue;
        }
        if (seen.count(def)) {
            warn(number, def->Name + " is already set on line " + std::to_string(seen[def]) +
                             "; the line is ignored");
            continue;
        }
        seen[def] = number;
        std::string why;
        if (!def->Apply(value, read.Settings, names, why)) {
            warn(number, def->Name + " = " + value + ": " + def->Name + " " + why + "; using the default " +
                             def->Default);
            continue;
        }
        if (def->Action >= 0) bindings.push_back({number, value, def});
    }

    // No key may serve two actions: the later of two lines that share one gets its default (as
    // does a line that takes another action's default key), and the check runs again until no
    // line changes (the defaults never clash).
    for (bool changed = true; changed;) {
        changed = false;
        for (auto it = bindings.rbegin(); it != bindings.rend(); ++it) {
            const TBindingLine& binding = *it;
            const int a = binding.Def->Action;
            const size_t ia = static_cast<size_t>(a);
            for (int b = 0; b < ActionCount; ++b) {
                const size_t ib = static_cast<size_t>(b);
                if (!Clash(a, b, binding.Def->Pad)) continue;
                const bool shared = binding.Def->Pad ? Shares(read.Settings.Pad[ia], read.Settings.Pad[ib])
                                                     : Shares(read.Settings.Keys[ia], read.Settings.Keys[ib]);
                if (!shared) continue;
                const bool isDefault = binding.Def->Pad ? read.Settings.Pad[ia] == defaults.Pad[ia]
                                                        : read.Settings.Keys[ia] == defaults.Keys[ia];
                if (isDefault) continue;  // the other line is at fault
                warn(binding.Line, binding.Def->Name + " = " + binding.Text + ": a " +
                                       (binding.Def->Pad ? "pad button" : "key") + " of it is also " +
                                       kActions[b].Name + "'s; using the default " + binding.Def->Default);
                if (binding.Def->Pad) read.Settings.Pad[ia] = defaults.Pad[ia];
                else read.Settings.Keys[ia] = defaults.Keys[ia];
                changed = true;
                break;
            }
        }
    }

    // The text to keep: every line as it was, each missing key (with its comment) at the end
    // of its section, missing sections at the end of the file.
    std::map<size_t, std::string> insertAfter;  // before line index -> text
    std::string appended;
    std::string openSection;
    read.Complete = true;
    for (const TKeyDef& def : KeyTable()) {
        if (seen.count(&def)) continue;
        read.Complete = false;
        const std::string entry = "# " + def.Comment + "\n" + def.Name + " = " + def.Default + "\n";
        auto end = sectionEnd.find(def.Section);
        if (end != sectionEnd.end()) {
            insertAfter[end->second] += entry;
        } else {
            if (openSection != def.Section) {
                appended += "\n[" + def.Section + "]\n";
                openSection = def.Section;
            }
            appended += entry;
        }
    }
    std::string out;
    if (lines.empty())
        out = "# Квиллон: what the game's options screen does not hold. The game adds keys that are new\n"
              "# and keeps your own lines; a line you delete comes back with its default.\n";
    for (size_t i = 0; i <= lines.size(); ++i) {
        auto insert = insertAfter.find(i);
        if (insert != insertAfter.end()) out += insert->second;
        if (i < lines.size()) out += lines[i] + "\n";
    }
    read.Text = out + appended;
    return read;
}

std::filesystem::path DefaultSettingsFile(const char* xdgConfigHome, const char* home) {
    // The XDG rule: a relative $XDG_CONFIG_HOME is ignored.
    if (xdgConfigHome && xdgConfigHome[0] == '/') return std::filesystem::path(xdgConfigHome) / "quillon" / "quillon.ini";
    if (home && home[0] == '/') return std::filesystem::path(home) / ".config" / "quillon" / "quillon.ini";
    return {};
}

TSettingsRead LoadSettingsFile(const std::filesystem::path& file, const TSettingNames& names) {
    namespace fs = std::filesystem;
    const std::string shown = file.string();
    std::string text;
    std::error_code error;
    const bool exists = fs::exists(file, error);
    if (exists) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream content;
        if (in) content << in.rdbuf();
        if (!in || !fs::is_regular_file(file, error)) {
            TSettingsRead read;
            read.Warnings.push_back(shown + ": cannot be read; using the default settings");
            return read;
        }
        // A settings file is a few kilobytes; a huge one is read only as far as 64 KiB.
        text = content.str().substr(0, 64 * 1024);
    }
    TSettingsRead read = ParseSettings(text, shown, names);
    if (read.Complete) return read;

    // Written beside the old one and renamed over it, so a failed write never loses the player's lines.
    const fs::path temporary = file.string() + ".new";
    std::string why;
    fs::create_directories(file.parent_path(), error);
    if (error) {
        why = error.message();
    } else {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << read.Text;
        out.close();
        if (!out) why = "the file cannot be created";
        else fs::rename(temporary, file, error);
        if (!why.empty() || error) {
            if (why.empty()) why = error.message();
            fs::remove(temporary, error);
        }
    }
    if (why.empty()) return read;
    read.Warnings.push_back(shown + ": cannot be written (" + why +
                            "); the settings read are used, the missing keys get their defaults");
    return read;
}

}  // namespace quillon
