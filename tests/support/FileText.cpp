#include "support/FileText.h"

#include <fstream>
#include <iterator>

namespace quillon::testing {

std::string ReadFileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file) {
    const std::string text = ReadFileText(file);
    return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace quillon::testing
