// TServerProcess: one running quillon-scores on a free loopback port, with its own database and
// log in a given folder. Ended with SIGKILL if the test has not ended it.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quillon::testing {

class TServerProcess {
public:
    // `database` defaults to dir/scores.db; `extraArgs` follow the defaults (no rate limit).
    explicit TServerProcess(const std::string& dir, const std::vector<std::string>& extraArgs = {},
                            const std::string& database = "");
    ~TServerProcess();
    TServerProcess(const TServerProcess&) = delete;
    TServerProcess& operator=(const TServerProcess&) = delete;

    // The exit status, or -signal when a signal ended it.
    int Wait();
    void Signal(int number);
    std::string Log() const;
    // The resident memory of the process in KiB (0 when unknown).
    long ResidentKiB() const;

    int Port = 0;  // 0 when it did not start
    pid_t Pid() const { return FPid; }

private:
    std::string FDir;
    pid_t FPid = 0;
};

}  // namespace quillon::testing
