// TPrivatePostgres: a PostgreSQL server of a test's own, made with Debian's initdb in a
// temporary folder and reached only through a socket in that folder (no TCP port). As root it
// runs as the package's `postgres` user, since PostgreSQL refuses to run as root. Stopped and
// removed when the object goes, also when the test failed.
#pragma once

#include <string>

namespace quillon::testing {

class TPrivatePostgres {
public:
    TPrivatePostgres();
    ~TPrivatePostgres();
    TPrivatePostgres(const TPrivatePostgres&) = delete;
    TPrivatePostgres& operator=(const TPrivatePostgres&) = delete;

    // Empty when the server runs; otherwise why not (the test skips with it).
    const std::string& Missing() const { return FMissing; }
    // A libpq connection string for the server's database.
    std::string Connection() const;

    // Stops the server at once (as a crash would) and starts it again.
    bool Stop();
    bool Start();

private:
    // Runs one of PostgreSQL's programs as the user it must run as; true on success.
    bool RunTool(const std::string& tool, const std::string& args) const;

    std::string FBin;
    std::string FDir;
    std::string FMissing;
    bool FRunning = false;
};

}  // namespace quillon::testing
