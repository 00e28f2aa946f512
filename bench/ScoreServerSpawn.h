// Starting quillon-scores for the server benchmarks: on a free loopback port, its standard
// error dropped, its first line read for the port.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace quillon::bench {

// The server's process, or -1; `port` is 0 when it did not say where it listens.
inline pid_t StartScoreServer(const std::string& server, const std::vector<std::string>& options, int& port) {
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args = {server, "--listen", "127.0.0.1:0"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, server.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    FILE* stream = fdopen(out[0], "r");
    char line[512] = {};
    if (rc != 0 || !std::fgets(line, sizeof line, stream) ||
        std::sscanf(line, "quillon-scores: listening on 127.0.0.1:%d,", &port) != 1)
        port = 0;
    std::fclose(stream);
    return rc == 0 ? pid : -1;
}

}  // namespace quillon::bench
