#include "save/DataHash.h"

#include <zlib.h>

#include <fstream>
#include <string>

#include "engine/Fnv1a.h"

namespace quillon {

uint64_t HashDataFiles(const std::filesystem::path& gameFolder) {
    uint64_t hash = Fnv1a("quillon data");
    for (const char* name : {"Res1.dxg", "Res2.dxg", "Res3.dxg", "Sounds.dxw"}) {
        std::ifstream file(gameFolder / "Data" / "Res" / name, std::ios::binary);
        uLong crc = crc32(0L, Z_NULL, 0);
        uint64_t size = 0;
        char chunk[65536];
        while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
            crc = crc32(crc, reinterpret_cast<const Bytef*>(chunk), static_cast<uInt>(file.gcount()));
            size += static_cast<uint64_t>(file.gcount());
        }
        const std::string part = std::string(name) + ":" + std::to_string(size) + ":" + std::to_string(crc);
        hash = Fnv1a(part, hash);
    }
    return hash;
}

}  // namespace quillon
