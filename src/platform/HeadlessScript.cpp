// Parsing of headless scripts; key names are SDL's.
#include "platform/HeadlessScript.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/VirtualKeys.h"

namespace quillon {

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool ParseInt(const std::string& word, int& value) {
    if (word.empty()) return false;
    size_t used = 0;
    try {
        long v = std::stol(word, &used, 10);
        if (used != word.size() || v < -1000000000L || v > 1000000000L) return false;
        value = static_cast<int>(v);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

[[noreturn]] void Fail(int line, const std::string& why) {
    throw EScriptError("script line " + std::to_string(line) + ": " + why);
}

}  // namespace

THeadlessScript THeadlessScript::Parse(const std::string& text, const std::string& baseDir) {
    THeadlessScript script;
    std::istringstream input(text);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(input, raw)) {
        ++lineNumber;
        std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;

        std::istringstream words(line);
        std::string frameWord, name;
        words >> frameWord >> name;
        int frame = 0;
        if (!ParseInt(frameWord, frame) || frame < 0) Fail(lineNumber, "bad frame number '" + frameWord + "'");
        std::string rest;
        std::getline(words, rest);
        if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        std::string args = Trim(rest);

        THeadlessCommand command;
        command.Line = lineNumber;
        if (name == "down" || name == "up" || name == "tap") {
            command.Kind = name == "down" ? THeadlessCommand::TKind::Down
                         : name == "up"   ? THeadlessCommand::TKind::Up
                                          : THeadlessCommand::TKind::Tap;
            command.Key = VirtualKeyFromName(args);
            if (command.Key == 0) Fail(lineNumber, "unknown key '" + args + "'");
        } else if (name == "pad") {
            // "pad down BUTTON" or "pad up BUTTON", with SDL's button names.
            std::istringstream words(args);
            std::string action, button, extra;
            words >> action >> button >> extra;
            if ((action != "down" && action != "up") || button.empty() || !extra.empty())
                Fail(lineNumber, "pad needs down or up and a button");
            command.Kind = action == "down" ? THeadlessCommand::TKind::PadDown : THeadlessCommand::TKind::PadUp;
            TPadButton pad = TPadButton::A;
            if (!PadButtonFromName(button, pad)) Fail(lineNumber, "unknown pad button '" + button + "'");
            command.Key = static_cast<int>(pad);
        } else if (name == "text") {
            command.Kind = THeadlessCommand::TKind::Text;
            command.Text = rest;
            while (!command.Text.empty() && command.Text.back() == '\r') command.Text.pop_back();
        } else if (name == "move" || name == "click") {
            command.Kind = name == "move" ? THeadlessCommand::TKind::Move : THeadlessCommand::TKind::Click;
            std::istringstream xy(args);
            std::string xs, ys, extra;
            xy >> xs >> ys >> extra;
            if (!ParseInt(xs, command.X) || !ParseInt(ys, command.Y) || !extra.empty())
                Fail(lineNumber, name + " needs X Y");
        } else if (name == "race") {
            command.Kind = THeadlessCommand::TKind::Race;
            std::istringstream words(args);
            std::string ship, level, extra;
            words >> ship >> level >> extra;
            if (!ParseInt(ship, command.X) || !ParseInt(level, command.Y) || !extra.empty() || command.X < 1 ||
                command.X > 5 || command.Y < 1 || command.Y > 10)
                Fail(lineNumber, "race needs SHIP (1..5) and LEVEL (1..10)");
        } else if (name == "pilot") {
            command.Kind = THeadlessCommand::TKind::Pilot;
            if (args != "on" && args != "off") Fail(lineNumber, "pilot needs on or off");
            command.X = args == "on" ? 1 : 0;
        } else if (name == "shot" || name == "state" || name == "track") {
            command.Kind = name == "shot"    ? THeadlessCommand::TKind::Shot
                         : name == "state"   ? THeadlessCommand::TKind::State
                                             : THeadlessCommand::TKind::Track;
            if (args.empty()) Fail(lineNumber, name + " needs a file name");
            std::filesystem::path path(args);
            if (path.is_relative()) path = std::filesystem::path(baseDir) / path;
            command.Text = path.string();
        } else if (name == "quit" || name == "minimize" || name == "restore" || name == "close") {
            command.Kind = name == "quit"     ? THeadlessCommand::TKind::Quit
                         : name == "minimize" ? THeadlessCommand::TKind::Minimize
                         : name == "restore"  ? THeadlessCommand::TKind::Restore
                                              : THeadlessCommand::TKind::Close;
            if (!args.empty()) Fail(lineNumber, name + " takes no arguments");
        } else {
            Fail(lineNumber, "unknown command '" + name + "'");
        }
        script.FFrames[frame].push_back(command);
    }
    return script;
}

THeadlessScript THeadlessScript::Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw EScriptError("cannot read script " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return Parse(text.str(), std::filesystem::current_path().string());
}

const std::vector<THeadlessCommand>& THeadlessScript::CommandsAt(int frame) const {
    static const std::vector<THeadlessCommand> none;
    auto it = FFrames.find(frame);
    return it == FFrames.end() ? none : it->second;
}

}  // namespace quillon
