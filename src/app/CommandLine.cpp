// Parsing of the program's arguments.
#include "app/CommandLine.h"

namespace quillon {

namespace {

long long ParseNumber(const std::string& option, const std::string& value, long long low, long long high) {
    size_t used = 0;
    long long number = 0;
    try {
        number = std::stoll(value, &used, 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != value.size() || number < low || number > high)
        throw ECommandLineError(option + " needs a number from " + std::to_string(low) + " to " +
                                std::to_string(high) + ", not '" + value + "'");
    return number;
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine line;
    bool framesGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw ECommandLineError(option + " needs a value");
            return args[++i];
        };
        if (option == "--headless") line.Headless = true;
        else if (option == "--help" || option == "-h") line.Help = true;
        else if (option == "--version") line.Version = true;
        else if (option == "--fullscreen" || option == "--window") {
            bool fullScreen = option == "--fullscreen";
            if (line.FullScreen && *line.FullScreen != fullScreen)
                throw ECommandLineError("--fullscreen and --window exclude each other");
            line.FullScreen = fullScreen;
        }
        else if (option == "--demo") line.Demo = true;
        else if (option == "--frames") { line.Frames = static_cast<int>(ParseNumber(option, value(), 1, 100000000)); framesGiven = true; }
        else if (option == "--fps") line.Fps = static_cast<int>(ParseNumber(option, value(), 1, 1000));
        else if (option == "--seed") line.Seed = static_cast<uint64_t>(ParseNumber(option, value(), 0, 1LL << 62));
        else if (option == "--script") line.Script = value();
        else if (option == "--root") line.Root = value();
        else if (option == "--record-audio") line.RecordAudio = value();
        else if (option == "--settings") line.Settings = value();
        else if (option == "--lang") {
            const std::string& code = value();
            line.Language = LanguageFromCode(code);
            if (!line.Language) throw ECommandLineError("--lang needs ru or en, not '" + code + "'");
        }
        else if (option == "--replay") line.Replay = value();
        else if (option == "--replay-last") line.ReplayLast = true;
        else if (!option.empty() && option[0] != '-') {
            // A replay handed over by the file manager (the desktop entry's %f), or its address.
            if (!line.Replay.empty()) throw ECommandLineError("one replay at a time, not '" + option + "' too");
            line.Replay = option;
        }
        else throw ECommandLineError("unknown option '" + option + "'");
    }
    if (line.Help || line.Version) return line;
    const bool replay = !line.Replay.empty() || line.ReplayLast;
    if (!line.Replay.empty() && line.ReplayLast) throw ECommandLineError("--replay and --replay-last exclude each other");
    if (replay && (line.Demo || !line.RecordAudio.empty()))
        throw ECommandLineError("--replay and --replay-last play alone, without --demo or --record-audio");
    if (replay) {
        if (!line.Headless && !line.Script.empty()) throw ECommandLineError("--script needs --headless");
        return line;
    }
    bool headlessOnly = framesGiven || !line.Script.empty() || !line.RecordAudio.empty();
    if (!line.Headless && headlessOnly) throw ECommandLineError("--frames, --script and --record-audio need --headless");
    if (line.Headless && !framesGiven) throw ECommandLineError("--headless needs --frames N");
    return line;
}

const char* UsageText() {
    return "Квиллон, a space-racing game.\n"
           "\n"
           "usage: quillon [--fullscreen | --window] [--demo] [--settings FILE] [--lang ru|en]\n"
           "       quillon --headless --frames N [--fps F] [--seed S] [--script FILE]\n"
           "               [--root DIR] [--record-audio FILE.wav] [--settings FILE]\n"
           "       quillon [--headless] (--replay FILE|URL | --replay-last) [--root DIR] [--script FILE]\n"
           "       quillon FILE.qrp|URL\n"
           "\n"
           "  --fullscreen        play in full screen this time (the saved option is kept)\n"
           "  --window            play in a window this time (the saved option is kept)\n"
           "  --demo              start a demo race, driven until you take over\n"
           "  --headless          run with no window and no sound device\n"
           "  --frames N          number of frames to run\n"
           "  --fps F             frames per second of the virtual clock (default 85)\n"
           "  --seed S            seed of the random source (default: the clock)\n"
           "  --script FILE       commands per frame: FRAME COMMAND ARGS, where COMMAND is\n"
           "                      down KEY, up KEY, tap KEY, pad down BUTTON, pad up BUTTON,\n"
           "                      text STRING, move X Y, click X Y, minimize, restore, close,\n"
           "                      shot FILE.png, state FILE.json or quit\n"
           "  --root DIR          the game folder (holding Data/Res, Data/Music, Data/Save)\n"
           "  --record-audio FILE write the run's sound to a WAV file\n"
           "  --settings FILE     the settings file of this run (volumes, window scale,\n"
           "                      keys, pad); the game's own is\n"
           "                      $XDG_CONFIG_HOME/quillon/quillon.ini (~/.config/quillon/),\n"
           "                      written with every key on the first start; a headless\n"
           "                      run uses none unless given one\n"
           "  --lang ru|en        the language of this run (default: the settings file's\n"
           "                      Language, else the locale: Russian for ru, else English;\n"
           "                      a headless run reads no locale and is Russian)\n"
           "  --replay FILE       watch a recorded race (Escape ends it, P pauses); with\n"
           "                      --headless, check that it plays out as recorded; FILE\n"
           "                      may be the http or https address of a world table's\n"
           "                      replay (at most 1 MiB), downloaded first\n"
           "  --replay-last       watch the newest race of the Replays folder\n"
           "  --help, --version   this text, the version\n"
           "\n"
           "Exit status: 0 when the run ends, 1 when a screenshot, dump or recording\n"
           "cannot be written, 2 for a bad argument or script line. A headless replay\n"
           "prints one line of JSON and exits 0 when it reproduced the race, 3 when it\n"
           "diverged, 2 when the file cannot be played.\n";
}

}  // namespace quillon
