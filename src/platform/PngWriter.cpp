// PNG output through libpng's simplified interface.
#include "platform/PngWriter.h"

#include <png.h>

#include <cstring>

namespace quillon {

bool WritePngRGB(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() < static_cast<size_t>(width) * height * 3) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    int ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr);
    png_image_free(&image);
    return ok != 0;
}

}  // namespace quillon
