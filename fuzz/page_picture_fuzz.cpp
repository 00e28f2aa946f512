// Fuzz target for the score server's page pictures: any bytes are taken with their size in
// bounds or refused with one of the fixed texts, never more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "server/PagePicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillon::server;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const TPagePicture picture = ParsePagePicture(bytes);
        if (picture.Width < 1 || picture.Height < 1 || picture.Width > kMaxPagePictureSide ||
            picture.Height > kMaxPagePictureSide || picture.Png != bytes)
            std::abort();
    } catch (const EPagePictureError& error) {
        const std::string text = error.what();
        if (text != "not a PNG picture" && text != "the picture is too large") std::abort();
    }
    return 0;
}
