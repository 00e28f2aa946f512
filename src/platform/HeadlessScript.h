// The headless driver's script: one command per line, "FRAME COMMAND ARGS".
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {

struct THeadlessCommand {
    enum class TKind { Down, Up, Tap, PadDown, PadUp, Text, Move, Click, Minimize, Restore, Close, Shot, State, Quit, Race, Pilot, Track };
    TKind Kind = TKind::Quit;
    int Key = 0;        // virtual-key code for down, up, tap; the TPadButton of pad down, pad up
    std::string Text;   // text to type, or the output file of shot and state
    int X = 0;
    int Y = 0;
    int Line = 0;
};

// A bad line: the message names the line number.
class EScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class THeadlessScript {
public:
    // Parses a whole script; relative output paths are taken from baseDir.
    static THeadlessScript Parse(const std::string& text, const std::string& baseDir);
    static THeadlessScript Load(const std::string& path);

    // Commands of one frame, in file order.
    const std::vector<THeadlessCommand>& CommandsAt(int frame) const;

private:
    std::map<int, std::vector<THeadlessCommand>> FFrames;
};

}  // namespace quillon
