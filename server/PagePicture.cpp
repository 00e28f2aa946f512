// Reading the page's PNG pictures.
#include "server/PagePicture.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace quillon::server {
namespace {

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

}  // namespace

TPagePicture ParsePagePicture(std::string_view bytes) {
    if (bytes.size() > kMaxPagePictureBytes) throw EPagePictureError("the picture is too large");
    // The signature, then the header chunk first of all: its length (13), "IHDR", width, height.
    constexpr std::size_t kHeaderEnd = 8 + 4 + 4 + 8;
    if (bytes.size() < kHeaderEnd || bytes.substr(0, 8) != kPngSignature || BigEndian32(bytes, 8) != 13 ||
        bytes.substr(12, 4) != "IHDR")
        throw EPagePictureError("not a PNG picture");
    const std::uint32_t width = BigEndian32(bytes, 16);
    const std::uint32_t height = BigEndian32(bytes, 20);
    if (width == 0 || height == 0) throw EPagePictureError("not a PNG picture");
    if (width > kMaxPagePictureSide || height > kMaxPagePictureSide)
        throw EPagePictureError("the picture is too large");
    return {std::string(bytes), static_cast<int>(width), static_cast<int>(height)};
}

TPagePicture ReadPagePicture(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw EPagePictureError("cannot read the picture");
    std::string bytes;
    // One byte more than allowed is enough to tell a file that is too large.
    bytes.resize(kMaxPagePictureBytes + 1);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) throw EPagePictureError("cannot read the picture");
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return ParsePagePicture(bytes);
}

std::string FindPageArtFolder(const std::string& program, const std::vector<std::string>& dataFolders) {
    const std::filesystem::path folder = std::filesystem::path(program).parent_path();
    std::vector<std::filesystem::path> candidates{folder / "page-art", folder / ".." / "share" / "quillon-scores"};
    candidates.insert(candidates.end(), dataFolders.begin(), dataFolders.end());
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate / kTitlePictureName, error)) return candidate.lexically_normal().string();
    }
    return {};
}

}  // namespace quillon::server
