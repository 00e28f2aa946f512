// Starting the headless game from tests.
#include "support/HeadlessRun.h"
#include "support/FileText.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace quillon::testing {

std::string BuildDir() { return QUILLON_BINARY_DIR; }

std::string MakeTempDir(const std::string& tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("quillon-" + tag + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

void MakeGameFolder(const std::string& dir) {
    namespace fs = std::filesystem;
    fs::create_directories(fs::path(dir) / "Data");
    for (const char* part : {"Res", "Music"}) {
        fs::path link = fs::path(dir) / "Data" / part;
        if (!fs::exists(link)) fs::create_directory_symlink(fs::path(BuildDir()) / "Data" / part, link);
    }
}

THeadlessResult RunHeadless(const std::string& dir, const std::string& script, const std::string& arguments) {
    MakeGameFolder(dir);
    std::ofstream(dir + "/script.txt") << script;
    std::string command = "cd '" + dir + "' && '" + BuildDir() + "/quillon' --headless --root '" + dir + "' " + arguments +
                          " --script script.txt > stdout.txt 2> stderr.txt";
    THeadlessResult result;
    int status = std::system(command.c_str());
    result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Stdout = ReadFileText(dir + "/stdout.txt");
    result.Stderr = ReadFileText(dir + "/stderr.txt");
    return result;
}

int RunUntilTerminated(const std::string& dir, const std::string& script, const std::vector<std::string>& extra) {
    namespace fs = std::filesystem;
    MakeGameFolder(dir);
    std::ofstream(dir + "/script.txt") << script;
    const std::string game = BuildDir() + "/quillon";
    std::vector<std::string> args = {game, "--headless", "--frames", "100000000", "--root", dir, "--script",
                                     dir + "/script.txt"};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (dir + "/stderr.txt").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, game.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    for (int i = 0; i < 6000 && !fs::exists(dir + "/running.json"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(pid, SIGTERM);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace quillon::testing
