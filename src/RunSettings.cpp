// The settings of one run.
#include "RunSettings.h"

#include <cstdio>
#include <cstdlib>

#include "engine/PrintableText.h"
#include "platform/VirtualKeys.h"

namespace quillon {

TSettings LoadRunSettings(const TCommandLine& line, const std::filesystem::path& given) {
    std::filesystem::path file = given;
    if (file.empty() && !line.Headless) {
        file = DefaultSettingsFile(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
        if (file.empty()) {
            std::fprintf(stderr, "quillon: no home folder for the settings file; using the default settings\n");
            return TSettings();
        }
    }
    if (file.empty()) return TSettings();
    const TSettingsRead read = LoadSettingsFile(file, TSettingNames{VirtualKeyFromName, PadButtonFromName});
    for (const std::string& warning : read.Warnings)
        std::fprintf(stderr, "quillon: %s\n", PrintableText(warning).c_str());
    return read.Settings;
}

TDesktopChoices DesktopChoices(const TSettings& settings) {
    TDesktopChoices choices;
    choices.WindowScale = settings.WindowScale;
    choices.Scaling = settings.Scaling == TScaling::Smooth    ? TDesktopScaling::Smooth
                    : settings.Scaling == TScaling::Stretch ? TDesktopScaling::Stretch
                                                             : TDesktopScaling::Sharp;
    choices.Display = settings.Display;
    choices.StickDeadZone = settings.StickDeadZone;
    return choices;
}

}  // namespace quillon
