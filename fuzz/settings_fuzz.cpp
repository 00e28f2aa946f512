// Fuzz target for the settings file reader: any bytes as quillon.ini. Reading never fails;
// every warning names the file and a line; the text it would write keeps every line of the
// input, reads back with every key present, and gives the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Settings.h"

namespace {

// Names as a stand-in for SDL's: single letters and digits, and a few pad buttons.
int KeyByName(const std::string& name) {
    if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) return name[0];
    if (name == "Left Ctrl" || name == "Right Ctrl") return 17;
    if (name == "Left Shift" || name == "Right Shift") return 16;
    if (name == "Left") return 37;
    if (name == "Up") return 38;
    if (name == "Right") return 39;
    if (name == "Down") return 40;
    if (name == "Space") return 32;
    if (name == "Return" || name == "Keypad Enter") return 13;
    if (name == "Escape") return 27;
    return 0;
}

bool PadByName(const std::string& name, quillon::TPadButton& button) {
    const char* names[] = {"a", "b", "x", "y", "back", "guide", "start", "leftstick", "rightstick", "leftshoulder",
                           "rightshoulder", "dpup", "dpdown", "dpleft", "dpright", "lefty-", "lefty+", "leftx-",
                           "leftx+"};
    for (int i = 0; i < quillon::PadButtonCount; ++i) {
        if (name == names[i]) {
            button = static_cast<quillon::TPadButton>(i);
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const quillon::TSettingNames names{KeyByName, PadByName};
    const quillon::TSettingsRead read = quillon::ParseSettings(text, "f.ini", names);
    for (const std::string& warning : read.Warnings)
        if (warning.rfind("f.ini:", 0) != 0) std::abort();
    if (read.Settings.MusicVolume < 0 || read.Settings.MusicVolume > 100 || read.Settings.WindowScale < 0 ||
        read.Settings.WindowScale > 4 || read.Settings.StickDeadZone < 5 || read.Settings.StickDeadZone > 45)
        std::abort();
    const quillon::TSettingsRead again = quillon::ParseSettings(read.Text, "f.ini", names);
    if (!again.Complete || again.Text != read.Text) std::abort();
    if (again.Settings.Keys != read.Settings.Keys || again.Settings.Pad != read.Settings.Pad ||
        again.Settings.MusicVolume != read.Settings.MusicVolume || again.Settings.Scaling != read.Settings.Scaling)
        std::abort();
    return 0;
}
