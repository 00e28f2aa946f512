// Starting and ending quillon-scores for the tests.
#include "support/ServerProcess.h"
#include "support/FileText.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace quillon::testing {

TServerProcess::TServerProcess(const std::string& dir, const std::vector<std::string>& extraArgs,
                               const std::string& database)
    : FDir(dir) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, (dir + "/log.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string program = QUILLON_SCORES;
    std::vector<std::string> args = {program, "--listen", "127.0.0.1:0", "--db",
                                     database.empty() ? dir + "/scores.db" : database, "--rate-limit", "0"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        throw std::runtime_error("cannot start " + program);
    }
    // "quillon-scores: listening on 127.0.0.1:PORT, database FILE"
    FILE* stream = fdopen(out[0], "r");
    char line[512] = {};
    const bool got = std::fgets(line, sizeof line, stream) != nullptr;
    std::fclose(stream);
    if (got) std::sscanf(line, "quillon-scores: listening on 127.0.0.1:%d,", &Port);
}

TServerProcess::~TServerProcess() {
    if (FPid > 0) {
        kill(FPid, SIGKILL);
        Wait();
    }
}

int TServerProcess::Wait() {
    int status = 0;
    waitpid(FPid, &status, 0);
    FPid = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

void TServerProcess::Signal(int number) {
    if (FPid > 0) kill(FPid, number);
}

std::string TServerProcess::Log() const {
    return ReadFileText(FDir + "/log.txt");
}

long TServerProcess::ResidentKiB() const {
    std::ifstream status("/proc/" + std::to_string(FPid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

}  // namespace quillon::testing
