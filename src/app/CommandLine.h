// The program's arguments: the desktop game takes none; the headless driver and
// the tools take the options below.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {

struct TCommandLine {
    bool Headless = false;
    int Frames = 0;
    int Fps = 85;
    std::optional<uint64_t> Seed;
    std::string Script;
    std::string Root;
    std::string RecordAudio;
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
