// The program's arguments: the display mode of one run and the demo for players, the
// headless driver's options for tests and tools.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/GameLanguage.h"

namespace quillon {

struct TCommandLine {
    bool Headless = false;
    int Frames = 0;
    int Fps = 85;
    std::optional<uint64_t> Seed;
    std::string Script;
    std::string Root;
    std::string RecordAudio;
    // The settings file of this run; the desktop's default is in the player's config folder,
    // the headless run's default is none (the game's own settings).
    std::string Settings;
    // Full screen (true) or a window (false) for this run only; the saved option is kept.
    std::optional<bool> FullScreen;
    bool Demo = false;
    // The language of this run's words (--lang ru|en); none: the settings file and the locale.
    std::optional<TLanguage> Language;
    std::string Replay;       // a replay file to play
    bool ReplayLast = false;  // play the newest replay of the Replays folder
    bool Help = false;
    bool Version = false;
};

class ECommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

TCommandLine ParseCommandLine(const std::vector<std::string>& args);
const char* UsageText();

}  // namespace quillon
