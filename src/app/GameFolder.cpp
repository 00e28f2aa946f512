// The game folder rules.
#include "app/GameFolder.h"

#include <filesystem>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

std::string FindGameFolder(const std::string& root, const std::string& executablePath) {
    std::error_code error;
    if (!root.empty()) return fs::absolute(root, error).string();
    fs::path current = fs::current_path(error);
    if (!error && fs::is_directory(current / "Data" / "Res", error)) return current.string();
    fs::path executable = fs::canonical("/proc/self/exe", error);
    if (error) executable = fs::absolute(executablePath, error);
    return executable.parent_path().string();
}

}  // namespace quillon
