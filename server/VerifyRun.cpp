// Running the game on a replay in a child process with limits, and reading its verdict.
#include "server/VerifyRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "server/SteadySeconds.h"

namespace quillon::server {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kKeptOutput = 64 * 1024;  // of each stream; the rest is read and dropped
constexpr std::size_t kReasonBytes = 300;

// One printable ASCII line, the private folder's name taken out.
std::string ReasonText(std::string text, const std::string& folder) {
    for (std::size_t at; !folder.empty() && (at = text.find(folder)) != std::string::npos;)
        text.erase(at, folder.size() + (at + folder.size() < text.size() && text[at + folder.size()] == '/'));
    std::string line;
    for (char c : text) {
        if (line.size() >= kReasonBytes) break;
        line += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return line;
}

std::string LastLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const std::size_t newline = text.rfind('\n');
    return newline == std::string::npos ? text : text.substr(newline + 1);
}

// The folder removes itself with everything the child left in it.
class TPrivateFolder {
public:
    TPrivateFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && base[0] == '/' ? base : "/tmp") + "/quillon-verify-XXXXXX";
        if (mkdtemp(pattern.data())) FPath = pattern;
    }
    ~TPrivateFolder() {
        std::error_code ignored;
        if (!FPath.empty()) fs::remove_all(FPath, ignored);
    }
    TPrivateFolder(const TPrivateFolder&) = delete;
    TPrivateFolder& operator=(const TPrivateFolder&) = delete;
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

bool WriteNewFile(const std::string& path, const std::string& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) break;
        done += static_cast<std::size_t>(wrote);
    }
    return close(fd) == 0 && done == bytes.size();
}

struct TChild {
    pid_t Pid = -1;
    int Out = -1;
    int Err = -1;
};

// Everything the child needs is made before fork: between fork and exec a child of a
// threaded server may only make plain system calls.
TChild Spawn(const TVerifyLimits& limits, const std::string& folder, const std::string& file) {
    TChild child;
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0) return child;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return child;
    }
    const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    std::vector<std::string> args = {limits.Game, "--headless", "--replay", file};
    std::vector<std::string> environment = {"HOME=" + folder, "XDG_DATA_HOME=" + folder, "TMPDIR=" + folder,
                                            "PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8"};
    std::vector<char*> argv, envp;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    const rlim_t cpu = static_cast<rlim_t>(limits.CpuSeconds);
    const rlimit cpuLimit{cpu, cpu + 1};  // SIGXCPU at the limit, SIGKILL a second later
    const rlim_t bytes = static_cast<rlim_t>(limits.MemoryMiB) << 20;
    const rlimit memoryLimit{bytes, bytes};
    const rlimit noCore{0, 0};
    const rlimit fileLimit{64u << 20, 64u << 20};
    sigset_t noSignals;
    sigemptyset(&noSignals);
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    rlimit descriptors{};
    getrlimit(RLIMIT_NOFILE, &descriptors);
    const unsigned lastDescriptor = descriptors.rlim_cur == RLIM_INFINITY ? 65535u : static_cast<unsigned>(descriptors.rlim_cur);

    child.Pid = fork();
    if (child.Pid == 0) {
        setpgid(0, 0);
        for (int number : {SIGPIPE, SIGTERM, SIGINT, SIGXCPU, SIGHUP}) sigaction(number, &byDefault, nullptr);
        sigprocmask(SIG_SETMASK, &noSignals, nullptr);
        if (nothing < 0 || dup2(nothing, 0) < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0) _exit(126);
        // Nothing of the server's (sockets, the database, other children's pipes) goes along.
        if (close_range(3, ~0u, 0) != 0)
            for (unsigned fd = 3; fd <= lastDescriptor; ++fd) close(static_cast<int>(fd));
        if (setrlimit(RLIMIT_CPU, &cpuLimit) != 0 || setrlimit(RLIMIT_CORE, &noCore) != 0 ||
            setrlimit(RLIMIT_FSIZE, &fileLimit) != 0 || (bytes > 0 && setrlimit(RLIMIT_AS, &memoryLimit) != 0))
            _exit(126);
        if (chdir(folder.c_str()) != 0) _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    if (nothing >= 0) close(nothing);
    close(out[1]);
    close(err[1]);
    if (child.Pid < 0) {
        close(out[0]);
        close(err[0]);
        return child;
    }
    // Also here, so a kill of the group cannot come before the child has made it.
    setpgid(child.Pid, child.Pid);
    child.Out = out[0];
    child.Err = err[0];
    return child;
}

// False once the stream has ended (or, when `drain`, has nothing more at once) and is closed.
bool ReadSome(int& fd, std::string& kept, bool drain = false) {
    char buffer[8192];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || (errno == EAGAIN && !drain))) return true;
    if (got <= 0) {
        close(fd);
        fd = -1;
        return false;
    }
    kept.append(buffer, std::min(static_cast<std::size_t>(got), kKeptOutput - std::min(kKeptOutput, kept.size())));
    return true;
}

// sigdescr_np, unlike strsignal, is safe on any thread.
const char* SignalName(int number) {
    const char* name = sigdescr_np(number);
    return name ? name : "unknown";
}

bool MentionsMemory(const std::string& text) {
    for (const char* sign : {"bad_alloc", "out of memory", "Out of memory", "Cannot allocate memory", "MemoryError"})
        if (text.find(sign) != std::string::npos) return true;
    return false;
}

}  // namespace

bool ParseReplayVerdict(const std::string& line, TReplayVerdict& verdict) {
    const auto number = [&](const char* key, std::int64_t& value) {
        const std::string field = std::string("\"") + key + "\":";
        const std::size_t at = line.find(field);
        if (at == std::string::npos) return false;
        const char* begin = line.data() + at + field.size();
        const char* end = line.data() + line.size();
        return std::from_chars(begin, end, value).ec == std::errc();
    };
    if (line.empty() || line.front() != '{' || line.back() != '}') return false;
    const bool reproduced = line.find("\"result\":\"reproduced\"") != std::string::npos;
    if (!reproduced && line.find("\"result\":\"diverged\"") == std::string::npos) return false;
    TReplayVerdict read;
    read.Reproduced = reproduced;
    if (!number("score", read.Score)) return false;
    if (!number("divergedAt", read.DivergedAt)) read.DivergedAt = -1;
    verdict = read;
    return true;
}

TVerifyResult VerifyReplay(const TVerifyLimits& limits, const std::string& replay, std::int32_t score,
                           const std::atomic<bool>& stop) {
    TVerifyResult result;
    TPrivateFolder folder;
    const std::string file = folder.Path() + "/replay.qrp";
    if (folder.Path().empty() || !WriteNewFile(file, replay)) {
        result.Reason = "the server cannot write the replay to a private folder";
        return result;
    }
    TChild child = Spawn(limits, folder.Path(), file);
    if (child.Pid < 0) {
        result.Reason = "the server cannot start the game";
        return result;
    }
    const double deadline = SteadySeconds() + limits.WallSeconds;
    std::string out, err;
    bool late = false, abandoned = false;
    siginfo_t ended{};
    // Until the child has ended (not yet reaped, so its process group stays its own).
    for (;;) {
        ended.si_pid = 0;
        if (waitid(P_PID, static_cast<id_t>(child.Pid), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid != 0)
            break;
        if (stop.load()) abandoned = true;
        if (SteadySeconds() >= deadline) late = true;
        if (abandoned || late) {
            kill(-child.Pid, SIGKILL);
            kill(child.Pid, SIGKILL);
            waitid(P_PID, static_cast<id_t>(child.Pid), &ended, WEXITED | WNOWAIT);
            break;
        }
        pollfd streams[2] = {{child.Out, POLLIN, 0}, {child.Err, POLLIN, 0}};
        if (child.Out < 0 && child.Err < 0) {
            usleep(20000);
            continue;
        }
        if (poll(streams, 2, 100) > 0) {
            if (child.Out >= 0 && streams[0].revents) ReadSome(child.Out, out);
            if (child.Err >= 0 && streams[1].revents) ReadSome(child.Err, err);
        }
    }
    // Whatever is left of its group goes with it; then what it wrote before it ended.
    kill(-child.Pid, SIGKILL);
    for (int* fd : {&child.Out, &child.Err}) {
        if (*fd < 0) continue;
        fcntl(*fd, F_SETFL, O_NONBLOCK);
        std::string& kept = fd == &child.Out ? out : err;
        while (ReadSome(*fd, kept, true)) {
        }
    }
    int status = 0;
    rusage usage{};
    while (wait4(child.Pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.CpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;

    if (abandoned) {
        result.Kind = TVerifyResult::TKind::Abandoned;
        return result;
    }
    const std::string complaint = LastLine(err);
    const auto withComplaint = [&](std::string text) {
        return ReasonText(complaint.empty() ? text : text + ": " + complaint, folder.Path());
    };
    const bool memory = limits.MemoryMiB > 0 && MentionsMemory(err);
    const std::string memoryText = "the address-space limit of " + std::to_string(limits.MemoryMiB) + " MiB was hit";
    if (late) {
        result.Reason = "the wall-clock deadline of " + std::to_string(static_cast<int>(limits.WallSeconds)) +
                        " s passed";
        return result;
    }
    if (WIFSIGNALED(status)) {
        const int number = WTERMSIG(status);
        if (number == SIGXCPU || (number == SIGKILL && result.CpuSeconds >= limits.CpuSeconds))
            result.Reason = "the CPU time limit of " + std::to_string(limits.CpuSeconds) + " s was hit";
        else if (memory)
            result.Reason = withComplaint(memoryText);
        else
            result.Reason = withComplaint("the game crashed (" + std::string(SignalName(number)) + ")");
        return result;
    }
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    TReplayVerdict verdict;
    const bool spoke = ParseReplayVerdict(LastLine(out), verdict);
    if (memory && !(spoke && exitStatus == 0)) {
        result.Reason = withComplaint(memoryText);
    } else if (exitStatus == 2) {
        result.Reason = withComplaint("the game refused the replay");
    } else if (exitStatus == 127 || exitStatus == 126) {
        result.Reason = "the game could not be started";
    } else if (spoke && !verdict.Reproduced) {
        result.Reason = withComplaint("the replay diverged at frame " + std::to_string(verdict.DivergedAt));
    } else if (spoke && exitStatus == 0 && verdict.Score != score) {
        result.Reason = "the replay ends with score " + std::to_string(verdict.Score) + ", the row has " +
                        std::to_string(score);
    } else if (spoke && exitStatus == 0) {
        result.Kind = TVerifyResult::TKind::Verified;
    } else {
        result.Reason = withComplaint("the game ended with status " + std::to_string(exitStatus) + " without a result");
    }
    return result;
}

}  // namespace quillon::server
