// Fuzz target for the message catalog reader: any bytes as quillon.mo. Reading either gives a
// catalog or one of its fixed messages; every translation it gives is a string of the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/MessageCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const quillon::TMessageCatalog catalog = quillon::TMessageCatalog::Parse(bytes);
        if (catalog.Size() > size / 16) std::abort();  // two table entries of 8 bytes per text at least
        for (const std::string_view key : {"", "Пауза", "\n"}) {
            const std::string* translation = catalog.Find(key);
            if (translation && (translation->empty() || bytes.find(*translation) == std::string_view::npos))
                std::abort();
        }
    } catch (const quillon::ECatalogError&) {
    }
    return 0;
}
