#include "support/PngImage.h"

#include <png.h>

#include <cstring>

namespace quillon::testing {

TPngImage ReadPng(const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    TPngImage result;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return result;
    image.format = PNG_FORMAT_RGB;
    std::vector<TRgb> pixels(static_cast<size_t>(image.width) * image.height);
    static_assert(sizeof(TRgb) == 3);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return result;
    }
    result.Width = static_cast<int>(image.width);
    result.Height = static_cast<int>(image.height);
    result.Pixels = std::move(pixels);
    return result;
}

}  // namespace quillon::testing
