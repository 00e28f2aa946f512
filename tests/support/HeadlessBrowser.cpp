// Starting and bounding the headless browser.
#include "support/HeadlessBrowser.h"
#include "support/FileText.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace quillon::testing {
namespace {

// A browser start costs a second or two; a run that has not ended after this is stuck.
constexpr auto kRunDeadline = std::chrono::seconds(60);

}  // namespace

std::string FindChromium() {
    if (const char* given = std::getenv("QUILLON_CHROMIUM"); given && *given) return given;
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/chromium";
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

std::string THeadlessBrowser::DumpDom(const std::string& url) {
    std::string out;
    return Run(url, "--dump-dom", "1280,900", out) ? out : std::string();
}

bool THeadlessBrowser::Screenshot(const std::string& url, int width, int height, const std::string& png) {
    std::string out;
    std::error_code ignored;
    std::filesystem::remove(png, ignored);
    return Run(url, "--screenshot=" + png, std::to_string(width) + "," + std::to_string(height), out) &&
           std::filesystem::exists(png);
}

bool THeadlessBrowser::Run(const std::string& url, const std::string& mode, const std::string& window,
                           std::string& out) {
    const std::string tag = std::to_string(++FRuns);
    const std::string outPath = FDir + "/browser-out-" + tag + ".txt";
    const std::string errPath = FDir + "/browser-err-" + tag + ".txt";
    std::vector<std::string> args = {FProgram,
                                     "--headless",
                                     "--no-sandbox",
                                     "--disable-gpu",
                                     "--disable-dev-shm-usage",
                                     "--no-first-run",
                                     "--no-default-browser-check",
                                     "--disable-extensions",
                                     "--disable-background-networking",
                                     "--disable-sync",
                                     "--metrics-recording-only",
                                     "--hide-scrollbars",
                                     "--force-device-scale-factor=1",
                                     "--user-data-dir=" + FDir + "/browser-profile-" + tag,
                                     "--window-size=" + window,
                                     mode,
                                     url};
    if (!FLanguages.empty()) args.insert(args.end() - 2, "--accept-lang=" + FLanguages);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // A group of its own, so the deadline ends the browser's helper processes too.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, FProgram.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
        FErrors = "cannot start " + FProgram;
        return false;
    }

    int status = 0;
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + kRunDeadline;
    while (!(ended = waitpid(pid, &status, WNOHANG) == pid) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // Whatever the browser left running in its group goes now.
    kill(-pid, SIGKILL);
    if (!ended) waitpid(pid, &status, 0);
    FErrors = ReadFileText(errPath);
    if (!ended) FErrors = "the browser did not finish within its deadline\n" + FErrors;
    out = ReadFileText(outPath);
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace quillon::testing
