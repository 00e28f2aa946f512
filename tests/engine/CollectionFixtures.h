// Small builders for hand-made collection files and pictures used by the
// collection tests.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/ComponentStream.h"
#include "engine/DIB.h"
#include "support/TempDir.h"

namespace quillon::testing {

// A picture whose every pixel tells where it came from (0x00RRGGBB).
inline TDIBImage CoordinatePicture(int width, int height) {
    TDIBImage image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Pixels[static_cast<size_t>(y) * width + x] =
                (static_cast<uint32_t>(x * 7 & 0xFF) << 16) | (static_cast<uint32_t>(y * 5 & 0xFF) << 8) |
                static_cast<uint32_t>((x + y) & 0xFF);
    return image;
}

inline TDIBImage SolidPicture(int width, int height, uint32_t rgb) {
    return TDIBImage{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, rgb)};
}

// A collection file whose root holds "List" with the items writeItems writes; each
// item is bracketed by its list start and end.
inline std::vector<uint8_t> CollectionFile(const std::string& rootClass,
                                           const std::vector<std::function<void(TComponentWriter&)>>& items,
                                           const std::function<void(TComponentWriter&)>& rootExtra = {}) {
    TComponentWriter w;
    w.WriteRootHeader(rootClass, "");
    if (rootExtra) rootExtra(w);
    w.WritePropName("List");
    w.WriteCollectionStart();
    for (const auto& item : items) {
        w.WriteItemStart();
        item(w);
        w.WriteListEnd();
    }
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    return w.Finish();
}

inline std::vector<uint8_t> ImageFile(const std::vector<std::function<void(TComponentWriter&)>>& items) {
    return CollectionFile("TPictureCollectionComponent", items);
}

// A "Picture.Data" payload: the class name "TDIB", then the bitmap bytes.
inline std::vector<uint8_t> DIBPayload(const std::vector<uint8_t>& dib) {
    std::vector<uint8_t> payload(5 + dib.size());
    std::memcpy(payload.data(), "\x04TDIB", 5);
    if (!dib.empty()) std::memcpy(payload.data() + 5, dib.data(), dib.size());
    return payload;
}

// A file name in a temporary folder of its own, removed with the object.
class TTempFile {
public:
    explicit TTempFile(const std::string& name) : FDir("file"), FPath(FDir.File(name)) {}
    const std::string& Path() const { return FPath; }

private:
    TTempDir FDir;
    std::string FPath;
};

}  // namespace quillon::testing
