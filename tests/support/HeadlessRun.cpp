// Starting the headless game from tests.
#include "support/HeadlessRun.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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
                          " --script script.txt 2> stderr.txt";
    THeadlessResult result;
    int status = std::system(command.c_str());
    result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(dir + "/stderr.txt");
    std::ostringstream text;
    text << err.rdbuf();
    result.Stderr = text.str();
    return result;
}

}  // namespace quillon::testing
