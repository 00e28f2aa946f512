// Text of the options and high-score files, and reading them from disk.
#include "save/SaveFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "save/SaveError.h"
#include "save/TextFileReader.h"

namespace quillon {

namespace {

constexpr const char* kLineEnd = "\r\n";

std::optional<TReadStop> Stop(int item) { return TReadStop{item, kInvalidNumericInput}; }

int ShiftNumber(TShiftState shift) {
    if (shift.Contains(TShiftKey::Alt)) return 1;
    if (shift.Contains(TShiftKey::Ctrl)) return 2;
    if (shift.Contains(TShiftKey::Shift)) return 3;
    return 0;
}

int KeyNumber(std::uint16_t code) { return code >= kKeyF1 && code <= kKeyF12 ? code - kKeyF1 + 1 : 0; }

class TFileHandle {
public:
    explicit TFileHandle(int fd) : Fd(fd) {}
    ~TFileHandle() {
        if (Fd >= 0) ::close(Fd);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Fd;
};

}  // namespace

std::string FormatOptionsFile(const TSavedState& state) {
    const TGameOptions& o = state.GameOptions;
    std::string text;
    for (bool flag : {o.FullScreen, o.MusicOn, o.SoundOn}) text += (flag ? "1" : "0") + std::string(kLineEnd);
    text += o.Country + kLineEnd;
    text += std::to_string(ShiftNumber(state.BossKeyShift)) + kLineEnd;
    text += std::to_string(KeyNumber(state.BossKeyCode)) + kLineEnd;
    text += ComputeHighScoreChecksum(state.HighScores) + kLineEnd;
    return text;
}

std::optional<TReadStop> ReadOptionsFile(std::string_view text, TSavedState& state) {
    TTextFileReader reader(text);
    std::int32_t value = 0;
    bool* flags[] = {&state.GameOptions.FullScreen, &state.GameOptions.MusicOn, &state.GameOptions.SoundOn};
    for (int line = 1; line <= 3; ++line) {
        if (!reader.ReadInteger(value)) return Stop(line);
        *flags[line - 1] = value != 0;
        reader.SkipLine();
    }
    state.GameOptions.Country = reader.ReadLine();

    if (!reader.ReadInteger(value)) return Stop(5);
    static const TShiftState kShifts[] = {TShiftState{}, TShiftState::Of(TShiftKey::Alt),
                                          TShiftState::Of(TShiftKey::Ctrl), TShiftState::Of(TShiftKey::Shift)};
    if (value >= 0 && value <= 3) state.BossKeyShift = kShifts[value];
    reader.SkipLine();

    if (!reader.ReadInteger(value)) return Stop(6);
    if (value == 0) state.BossKeyCode = 0;
    if (value >= 1 && value <= 12) state.BossKeyCode = static_cast<std::uint16_t>(kKeyF1 + value - 1);
    reader.SkipLine();

    state.HighScoreChecksum = reader.ReadLine();
    return std::nullopt;
}

void ResetOptionsFromLine(TSavedState& state, int line) {
    TSavedState defaults;
    ResetOptions(defaults);
    TGameOptions& o = state.GameOptions;
    if (line <= 1) o.FullScreen = defaults.GameOptions.FullScreen;
    if (line <= 2) o.MusicOn = defaults.GameOptions.MusicOn;
    if (line <= 3) o.SoundOn = defaults.GameOptions.SoundOn;
    if (line <= 4) o.Country = defaults.GameOptions.Country;
    if (line <= 5) state.BossKeyShift = defaults.BossKeyShift;
    if (line <= 6) state.BossKeyCode = defaults.BossKeyCode;
}

std::string FormatHighScoreFile(const THighScoreTable& table) {
    std::string text;
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) {
        text += table[i].Name + kLineEnd;
        text += std::to_string(table[i].Score) + kLineEnd;
    }
    return text;
}

std::optional<TReadStop> ReadHighScoreFile(std::string_view text, THighScoreTable& table) {
    TTextFileReader reader(text);
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) {
        table[i].Name = reader.ReadLine();
        std::int32_t score = 0;
        if (!reader.ReadInteger(score)) return Stop(static_cast<int>(i + 1));
        table[i].Score = score;
        reader.SkipLine();
    }
    return std::nullopt;
}

bool IsFileReadable(const std::filesystem::path& file) {
    if (file.empty()) return false;
    // Non-blocking, so that a named pipe put in place of a save file cannot hang the start.
    TFileHandle handle(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (handle.Fd < 0) return false;
    struct stat info {};
    return ::fstat(handle.Fd, &info) == 0 && S_ISREG(info.st_mode);
}

std::string ReadWholeFile(const std::filesystem::path& file) {
    TFileHandle handle(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (handle.Fd < 0) throw ESaveFileError(InOutErrorText(errno));
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(handle.Fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw ESaveFileError(InOutErrorText(errno));
        }
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

std::optional<TReadStop> LoadOptions(TSavedState& state, const std::filesystem::path& file) {
    if (!IsFileReadable(file)) {
        ResetOptions(state);
        return std::nullopt;
    }
    return ReadOptionsFile(ReadWholeFile(file), state);
}

std::optional<TReadStop> LoadHighScores(THighScoreTable& table, const std::filesystem::path& file) {
    if (!IsFileReadable(file)) {
        ResetHighScores(table);
        return std::nullopt;
    }
    return ReadHighScoreFile(ReadWholeFile(file), table);
}

}  // namespace quillon
