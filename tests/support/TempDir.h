// TTempDir: a folder of its own in the temporary area (mkdtemp), removed with the object,
// so tests and benchmarks run side by side never share a file.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace quillon::testing {

class TTempDir {
public:
    explicit TTempDir(const std::string& tag) {
        std::string pattern = (std::filesystem::temp_directory_path() / ("quillon-" + tag + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        FPath = pattern;
    }
    ~TTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return FPath; }
    // A file name inside the folder.
    std::string File(const std::string& name) const { return (std::filesystem::path(FPath) / name).string(); }

private:
    std::string FPath;
};

}  // namespace quillon::testing
