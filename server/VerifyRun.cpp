// Running the game on a replay in a child process with limits, and reading its verdict.
#include "server/VerifyRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
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

// Where the replay lies inside the sandbox: the private folder, in memory.
constexpr const char* kInsideFolder = "/verify";
constexpr const char* kInsideReplay = "/verify/replay.qrp";

// A file in memory holding the replay, read by the sandbox into its private folder.
int ReplayInMemory(const std::string& bytes) {
    const int fd = memfd_create("quillon-replay", MFD_CLOEXEC);
    if (fd < 0) return -1;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) break;
        done += static_cast<std::size_t>(wrote);
    }
    if (done != bytes.size() || lseek(fd, 0, SEEK_SET) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// The threads of this process: when the server is not root its own tasks count against the
// task limit of its user too.
int OwnThreads() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Threads:", 0) == 0) return std::atoi(line.c_str() + 8);
    return 64;
}

// The sandbox's command line: the game sees the system read-only, its own folder read-only,
// a private folder in memory with the replay, its own /proc and /dev, nothing else.
std::vector<std::string> SandboxArguments(const TVerifyLimits& limits, const std::vector<std::string>& command) {
    const std::string gameFolder = fs::path(command.front()).parent_path().string();
    std::vector<std::string> args = {limits.Sandbox,
                                     "--unshare-all", "--unshare-user", "--disable-userns",
                                     "--uid", std::to_string(kVerifierUser), "--gid", std::to_string(kVerifierUser),
                                     "--die-with-parent", "--new-session", "--cap-drop", "ALL",
                                     "--ro-bind", "/usr", "/usr"};
    for (const char* link : {"bin", "sbin", "lib", "lib32", "lib64", "libx32"}) {
        std::error_code error;
        const fs::path target = fs::read_symlink(fs::path("/") / link, error);
        if (!error) args.insert(args.end(), {"--symlink", target.string(), std::string("/") + link});
    }
    for (const char* shared :
         {"/etc/ld.so.cache", "/etc/fonts", "/etc/alternatives", "/etc/localtime", "/var/cache/fontconfig"})
        args.insert(args.end(), {"--ro-bind-try", shared, shared});
    if (!gameFolder.empty() && gameFolder != "/") args.insert(args.end(), {"--ro-bind", gameFolder, gameFolder});
    args.insert(args.end(), {"--proc", "/proc", "--dev", "/dev",
                             "--size", std::to_string(limits.FolderMiB << 20), "--tmpfs", kInsideFolder,
                             "--file", "3", kInsideReplay,
                             "--remount-ro", "/", "--chdir", kInsideFolder});
    args.insert(args.end(), command.begin(), command.end());
    return args;
}

struct TChild {
    pid_t Pid = -1;
    int Out = -1;
    int Err = -1;
};

// Everything the child needs is made before fork: between fork and exec a child of a
// threaded server may only make plain system calls.
TChild Spawn(const TVerifyLimits& limits, const std::vector<std::string>& command, int replay) {
    TChild child;
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0) return child;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return child;
    }
    const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    std::vector<std::string> args = SandboxArguments(limits, command);
    std::vector<std::string> environment = {std::string("HOME=") + kInsideFolder,
                                            std::string("XDG_DATA_HOME=") + kInsideFolder,
                                            std::string("TMPDIR=") + kInsideFolder,
                                            "PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8"};
    std::vector<char*> argv, envp;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    const bool root = geteuid() == 0;
    const rlim_t cpu = static_cast<rlim_t>(limits.CpuSeconds);
    const rlimit cpuLimit{cpu, cpu + 1};  // SIGXCPU at the limit, SIGKILL a second later
    const rlim_t bytes = static_cast<rlim_t>(limits.MemoryMiB) << 20;
    const rlimit memoryLimit{bytes, bytes};
    const rlimit noCore{0, 0};
    const rlim_t fileBytes = static_cast<rlim_t>(limits.FolderMiB) << 20;
    const rlimit fileLimit{fileBytes, fileBytes};
    const rlim_t tasks = static_cast<rlim_t>(limits.Tasks + (root ? 0 : OwnThreads() + 8));
    const rlimit taskLimit{tasks, tasks};
    const rlimit fileCount{static_cast<rlim_t>(limits.OpenFiles), static_cast<rlim_t>(limits.OpenFiles)};
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
        if (nothing < 0 || dup2(nothing, 0) < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0) _exit(125);
        // The replay goes to 3 (dup2 onto itself would leave it close-on-exec).
        if (replay == 3 ? fcntl(3, F_SETFD, 0) != 0 : dup2(replay, 3) != 3) _exit(125);
        // Nothing of the server's (sockets, the database, other children's pipes) goes along.
        if (close_range(4, ~0u, 0) != 0)
            for (unsigned fd = 4; fd <= lastDescriptor; ++fd) close(static_cast<int>(fd));
        if (setrlimit(RLIMIT_CPU, &cpuLimit) != 0 || setrlimit(RLIMIT_CORE, &noCore) != 0 ||
            setrlimit(RLIMIT_FSIZE, &fileLimit) != 0 || setrlimit(RLIMIT_NPROC, &taskLimit) != 0 ||
            setrlimit(RLIMIT_NOFILE, &fileCount) != 0 || (bytes > 0 && setrlimit(RLIMIT_AS, &memoryLimit) != 0))
            _exit(125);
        // Root's tasks are never counted: a root server starts the sandbox as a user of its own.
        // The raw calls change this process alone, as a child of a threaded program must.
        if (root && (syscall(SYS_setgroups, 0, nullptr) != 0 ||
                     syscall(SYS_setresgid, kVerifierUser, kVerifierUser, kVerifierUser) != 0 ||
                     syscall(SYS_setresuid, kVerifierUser, kVerifierUser, kVerifierUser) != 0))
            _exit(125);
        if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) _exit(125);
        execve(argv[0], argv.data(), envp.data());
        _exit(125);
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

std::string SandboxProblem(const TVerifyLimits& limits) {
    if (access(limits.Sandbox.c_str(), X_OK) != 0)
        return "the sandbox program " + limits.Sandbox + " is missing (the bubblewrap package)";
    const int memory = ReplayInMemory("");
    if (memory < 0) return "no file in memory can be made";
    TChild child = Spawn(limits, {"/usr/bin/true"}, memory);
    close(memory);
    if (child.Pid < 0) return "no process can be started";
    std::string out, err;
    const double deadline = SteadySeconds() + 10;
    while ((child.Out >= 0 || child.Err >= 0) && SteadySeconds() < deadline) {
        pollfd streams[2] = {{child.Out, POLLIN, 0}, {child.Err, POLLIN, 0}};
        if (poll(streams, 2, 100) <= 0) continue;
        if (child.Out >= 0 && streams[0].revents) ReadSome(child.Out, out);
        if (child.Err >= 0 && streams[1].revents) ReadSome(child.Err, err);
    }
    kill(-child.Pid, SIGKILL);
    for (int fd : {child.Out, child.Err})
        if (fd >= 0) close(fd);
    int status = 0;
    while (waitpid(child.Pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return "";
    const std::string why = LastLine(err);
    return "the sandbox cannot be set up here" + (why.empty() ? std::string() : ": " + ReasonText(why, ""));
}

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
    // The last field: null, or the name as the game writes strings (\" \\ \n \r \t \u00XX).
    const std::string nameField = "\"tableName\":\"";
    const std::size_t nameAt = line.find(nameField);
    if (nameAt != std::string::npos) {
        std::size_t at = nameAt + nameField.size();
        for (; at < line.size() && line[at] != '"'; ++at) {
            if (line[at] != '\\') {
                read.TableName += line[at];
                continue;
            }
            if (++at >= line.size()) return false;
            const char escaped = line[at];
            if (escaped == 'u') {
                unsigned code = 0;
                if (at + 4 >= line.size() || std::from_chars(line.data() + at + 1, line.data() + at + 5, code, 16).ptr !=
                                                 line.data() + at + 5 || code >= 0x20)
                    return false;
                read.TableName += static_cast<char>(code);
                at += 4;
            } else {
                const std::string_view from = "\"\\nrt", to = "\"\\\n\r\t";
                const std::size_t which = from.find(escaped);
                if (which == std::string_view::npos) return false;
                read.TableName += to[which];
            }
        }
        if (at + 2 != line.size()) return false;  // the closing quote, then the brace
    }
    verdict = read;
    return true;
}

TVerifyResult VerifyReplay(const TVerifyLimits& limits, const std::string& replay, std::int32_t score,
                           const std::string& name, const std::atomic<bool>& stop) {
    TVerifyResult result;
    result.Kind = TVerifyResult::TKind::ServerFault;
    const int memory = ReplayInMemory(replay);
    if (memory < 0) {
        result.Reason = "the server cannot hold the replay in memory";
        return result;
    }
    TChild child = Spawn(limits, {limits.Game, "--headless", "--replay", kInsideReplay}, memory);
    close(memory);
    if (child.Pid < 0) {
        result.Reason = "the server cannot start a process";
        return result;
    }
    result.Kind = TVerifyResult::TKind::Failed;
    const double started = SteadySeconds();
    const double deadline = started + limits.WallSeconds;
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
        return ReasonText(complaint.empty() ? text : text + ": " + complaint, kInsideFolder);
    };
    // The sandbox could not be set up or could not start the game: nothing of the replay's.
    const int sandboxStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (sandboxStatus == 125 || (sandboxStatus == 1 && err.rfind("bwrap: ", 0) == 0)) {
        result.Kind = TVerifyResult::TKind::ServerFault;
        result.Reason = sandboxStatus == 125 ? "the server cannot start the sandbox"
                                             : ReasonText("the sandbox failed: " + LastLine(err), kInsideFolder);
        return result;
    }
    // The sandbox ends as its game ended: a game killed by a signal makes it exit with 128 + the signal.
    const bool signaled = WIFSIGNALED(status) || sandboxStatus > 128;
    const int signalNumber = WIFSIGNALED(status) ? WTERMSIG(status) : sandboxStatus - 128;
    const bool outOfMemory = limits.MemoryMiB > 0 && MentionsMemory(err);
    const std::string memoryText = "the address-space limit of " + std::to_string(limits.MemoryMiB) + " MiB was hit";
    if (late) {
        result.Reason = "the wall-clock deadline of " + std::to_string(static_cast<int>(limits.WallSeconds)) +
                        " s passed";
        return result;
    }
    if (signaled) {
        const int number = signalNumber;
        // The sandbox's own usage leaves out the game's: a kill at the CPU limit's hard end is
        // told by the time it ran.
        const bool cpuSpent = result.CpuSeconds >= limits.CpuSeconds || SteadySeconds() - started >= limits.CpuSeconds;
        if (number == SIGXCPU || (number == SIGKILL && cpuSpent)) {
            result.Reason = "the CPU time limit of " + std::to_string(limits.CpuSeconds) + " s was hit";
        } else if (outOfMemory) {
            result.Reason = withComplaint(memoryText);
        } else if (number == SIGKILL) {
            // Nothing here kills it but the deadline: this is the machine's doing (its memory policy).
            result.Kind = TVerifyResult::TKind::ServerFault;
            result.Reason = "the game was killed from outside";
        } else {
            result.Reason = withComplaint("the game crashed (" + std::string(SignalName(number)) + ")");
        }
        return result;
    }
    const int exitStatus = sandboxStatus;
    TReplayVerdict verdict;
    const bool spoke = ParseReplayVerdict(LastLine(out), verdict);
    if (outOfMemory && !(spoke && exitStatus == 0)) {
        result.Reason = withComplaint(memoryText);
    } else if (exitStatus == 2) {
        result.Reason = withComplaint("the game refused the replay");
    } else if (spoke && !verdict.Reproduced) {
        result.Reason = withComplaint("the replay diverged at frame " + std::to_string(verdict.DivergedAt));
    } else if (spoke && exitStatus == 0 && verdict.Score != score) {
        result.Reason = "the replay ends with score " + std::to_string(verdict.Score) + ", the row has " +
                        std::to_string(score);
    } else if (spoke && exitStatus == 0 && verdict.TableName != name) {
        result.Reason = verdict.TableName.empty() ? std::string("the replay's score went into no table")
                                                  : "the replay's score went into the table under another name";
    } else if (spoke && exitStatus == 0) {
        result.Kind = TVerifyResult::TKind::Verified;
    } else {
        result.Reason = withComplaint("the game ended with status " + std::to_string(exitStatus) + " without a result");
    }
    return result;
}

}  // namespace quillon::server
