// The settings of one run: which file, read with the platform's names of keys and pad
// buttons, its warnings on standard error, and what the desktop platform takes of them.
#pragma once

#include <filesystem>

#include "app/CommandLine.h"
#include "app/Settings.h"
#include "platform/DesktopPlatform.h"

namespace quillon {

// --settings FILE (made absolute before the run enters the game folder); else the player's
// file for a desktop run and the game's own settings for a headless one.
TSettings LoadRunSettings(const TCommandLine& line, const std::filesystem::path& given);

TDesktopChoices DesktopChoices(const TSettings& settings);

}  // namespace quillon
