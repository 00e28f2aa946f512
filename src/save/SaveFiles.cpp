// Text of the options and high-score files, and reading them from disk.
#include "save/SaveFiles.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "save/SaveError.h"
#include "save/TextFileReader.h"

namespace quillon {

namespace {

constexpr const char* kLineEnd = "\r\n";

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

// A line whose number cannot be read is noted and skipped; the next line is read as usual.
TBadItems ReadOptionsFile(std::string_view text, TSavedState& state) {
    TTextFileReader reader(text);
    TBadItems bad;
    auto readNumber = [&](int line, std::int32_t& value) {
        const bool ok = reader.ReadInteger(value);
        if (!ok) bad.push_back(line);
        return ok;
    };
    std::int32_t value = 0;
    bool* flags[] = {&state.GameOptions.FullScreen, &state.GameOptions.MusicOn, &state.GameOptions.SoundOn};
    for (int line = 1; line <= 3; ++line) {
        if (readNumber(line, value)) *flags[line - 1] = value != 0;
        reader.SkipLine();
    }
    state.GameOptions.Country = reader.ReadLine();

    static const TShiftState kShifts[] = {TShiftState{}, TShiftState::Of(TShiftKey::Alt),
                                          TShiftState::Of(TShiftKey::Ctrl), TShiftState::Of(TShiftKey::Shift)};
    if (readNumber(5, value) && value >= 0 && value <= 3) state.BossKeyShift = kShifts[value];
    reader.SkipLine();

    if (readNumber(6, value)) {
        if (value == 0) state.BossKeyCode = 0;
        if (value >= 1 && value <= 12) state.BossKeyCode = static_cast<std::uint16_t>(kKeyF1 + value - 1);
    }
    reader.SkipLine();

    state.HighScoreChecksum = reader.ReadLine();
    return bad;
}

void ResetOptionsLine(TSavedState& state, int line) {
    TSavedState defaults;
    ResetOptions(defaults);
    TGameOptions& o = state.GameOptions;
    switch (line) {
        case 1: o.FullScreen = defaults.GameOptions.FullScreen; break;
        case 2: o.MusicOn = defaults.GameOptions.MusicOn; break;
        case 3: o.SoundOn = defaults.GameOptions.SoundOn; break;
        case 4: o.Country = defaults.GameOptions.Country; break;
        case 5: state.BossKeyShift = defaults.BossKeyShift; break;
        case 6: state.BossKeyCode = defaults.BossKeyCode; break;
        default: break;
    }
}

std::string FormatHighScoreFile(const THighScoreTable& table) {
    std::string text;
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) {
        text += table[i].Name + kLineEnd;
        text += std::to_string(table[i].Score) + kLineEnd;
    }
    return text;
}

// An entry whose score cannot be read is noted and keeps its old name and score; the next entry
// is read from the line after the bad one.
TBadItems ReadHighScoreFile(std::string_view text, THighScoreTable& table) {
    TTextFileReader reader(text);
    TBadItems bad;
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) {
        std::string name = reader.ReadLine();
        std::int32_t score = 0;
        if (reader.ReadInteger(score))
            table[i] = THighScore{std::move(name), score};
        else
            bad.push_back(static_cast<int>(i + 1));
        reader.SkipLine();
    }
    return bad;
}

bool IsFileReadable(const std::filesystem::path& file) {
    if (file.empty()) return false;
    // Non-blocking, so that a named pipe put in place of a save file cannot hang the start.
    TFileHandle handle(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (handle.Fd < 0) return false;
    struct stat info {};
    return ::fstat(handle.Fd, &info) == 0 && S_ISREG(info.st_mode);
}

TFileStart ReadFileStart(const std::filesystem::path& file, std::size_t limit) {
    // Non-blocking, and only a regular file is read: a pipe or a device swapped in is refused.
    TFileHandle handle(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (handle.Fd < 0) throw ESaveFileError(InOutErrorText(errno));
    struct stat info {};
    if (::fstat(handle.Fd, &info) != 0) throw ESaveFileError(InOutErrorText(errno));
    if (!S_ISREG(info.st_mode)) throw ESaveFileError(InOutErrorText(EACCES));
    TFileStart start;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(handle.Fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw ESaveFileError(InOutErrorText(errno));
        }
        if (n == 0) break;
        const std::size_t room = limit - start.Text.size();
        if (static_cast<std::size_t>(n) > room) {
            start.Text.append(buffer, room);
            start.Whole = false;
            break;
        }
        start.Text.append(buffer, static_cast<std::size_t>(n));
    }
    return start;
}

std::string ReadWholeFile(const std::filesystem::path& file) { return ReadFileStart(file, SIZE_MAX).Text; }

}  // namespace quillon
