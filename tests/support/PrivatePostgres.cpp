// A private PostgreSQL server for the store tests.
#include "support/PrivatePostgres.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/HeadlessRun.h"

namespace quillon::testing {
namespace {

namespace fs = std::filesystem;

// The newest installed server's programs (Debian keeps each major version in a folder named
// after it), or "".
std::string FindPostgresBin() {
    std::string best;
    int bestVersion = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", error)) {
        const int version = std::atoi(entry.path().filename().c_str());
        const fs::path bin = entry.path() / "bin";
        if (version > bestVersion && fs::exists(bin / "initdb", error) && fs::exists(bin / "pg_ctl", error)) {
            best = bin.string();
            bestVersion = version;
        }
    }
    return best;
}

}  // namespace

TPrivatePostgres::TPrivatePostgres() : FBin(FindPostgresBin()) {
    if (FBin.empty()) {
        FMissing = "PostgreSQL is not installed (Debian's postgresql package); skipping the PostgreSQL cases";
        return;
    }
    if (geteuid() == 0 && !getpwnam("postgres")) {
        FMissing = "running as root without a postgres user to run PostgreSQL as; skipping the PostgreSQL cases";
        return;
    }
    FDir = MakeTempDir("pg");
    if (geteuid() == 0) {
        const passwd* user = getpwnam("postgres");
        if (chown(FDir.c_str(), user->pw_uid, user->pw_gid) != 0) FMissing = "cannot hand the folder to postgres";
    }
    if (FMissing.empty() && !RunTool("initdb", "-D " + FDir + "/data -A trust -U quillon -E UTF8 --no-locale --no-sync"))
        FMissing = "initdb failed (see " + FDir + "/tool.log)";
    if (FMissing.empty() && !Start()) FMissing = "the private PostgreSQL server did not start (see " + FDir + "/server.log)";
}

TPrivatePostgres::~TPrivatePostgres() {
    if (FRunning) RunTool("pg_ctl", "-D " + FDir + "/data -m immediate -w stop");
    if (!FDir.empty()) {
        std::error_code error;
        fs::remove_all(FDir, error);
    }
}

std::string TPrivatePostgres::Connection() const {
    return "host=" + FDir + " port=5432 user=quillon dbname=postgres";
}

bool TPrivatePostgres::Stop() {
    FRunning = !RunTool("pg_ctl", "-D " + FDir + "/data -m immediate -w stop");
    return !FRunning;
}

bool TPrivatePostgres::Start() {
    FRunning = RunTool("pg_ctl", "-D " + FDir + "/data -l " + FDir + "/server.log -w -t 30 -o \"-k " + FDir +
                                     " -c listen_addresses='' -c fsync=off -c max_connections=40\" start");
    return FRunning;
}

bool TPrivatePostgres::RunTool(const std::string& tool, const std::string& args) const {
    const std::string as = geteuid() == 0 ? "runuser -u postgres -- " : "";
    const std::string command = as + FBin + "/" + tool + " " + args + " >>" + FDir + "/tool.log 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace quillon::testing
