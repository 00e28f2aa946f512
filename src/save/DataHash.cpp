#include "save/DataHash.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "engine/EngineError.h"
#include "engine/Fnv1a.h"
#include "engine/PictureCollection.h"
#include "engine/WordPictures.h"

namespace quillon {

namespace {

const std::filesystem::path kRes = std::filesystem::path("Data") / "Res";

// "NAME:SIZE:CRC" of a file's bytes; a missing file reads as empty.
std::string WholeFilePart(const std::filesystem::path& path, const std::string& name) {
    std::ifstream file(path, std::ios::binary);
    uLong crc = crc32(0L, Z_NULL, 0);
    uint64_t size = 0;
    char chunk[65536];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        crc = crc32(crc, reinterpret_cast<const Bytef*>(chunk), static_cast<uInt>(file.gcount()));
        size += static_cast<uint64_t>(file.gcount());
    }
    return name + ":" + std::to_string(size) + ":" + std::to_string(crc);
}

// Every item's properties and picture size, and the pixels of the items without words.
// A collection that cannot be read hashes as its bytes (and then matches no replay's data).
uint64_t HashCollection(const std::filesystem::path& path, const std::string& name, std::span<const int> words,
                        uint64_t hash) {
    TPictureCollection list;
    try {
        list.LoadFromFile(path.string());
    } catch (const EEngineError&) {
        return Fnv1a(WholeFilePart(path, name), hash);
    }
    hash = Fnv1a(name + ":" + std::to_string(list.Count()), hash);
    for (int i = 0; i < list.Count(); ++i) {
        const TPictureCollectionItem& item = list.Items(i);
        const TDIBImage* picture = item.Picture();
        std::string part = item.Name;
        for (long long field : {static_cast<long long>(item.PatternWidth), static_cast<long long>(item.PatternHeight),
                                static_cast<long long>(item.SkipWidth), static_cast<long long>(item.SkipHeight),
                                static_cast<long long>(item.SystemMemory), static_cast<long long>(item.Transparent),
                                static_cast<long long>(item.TransparentColor()),
                                static_cast<long long>(picture ? picture->Width : -1),
                                static_cast<long long>(picture ? picture->Height : -1)})
            part += ":" + std::to_string(field);
        if (picture && std::find(words.begin(), words.end(), i) == words.end()) {
            // Red, green, blue of each pixel in turn: the same bytes on every machine.
            std::vector<Bytef> bytes;
            bytes.reserve(picture->Pixels.size() * 3);
            for (uint32_t pixel : picture->Pixels)
                for (int shift : {16, 8, 0}) bytes.push_back(static_cast<Bytef>(pixel >> shift));
            part += ":" + std::to_string(crc32(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
        }
        hash = Fnv1a(part, hash);
    }
    return hash;
}

}  // namespace

uint64_t HashDataFiles(const std::filesystem::path& gameFolder) {
    uint64_t hash = Fnv1a("quillon data, words aside");
    for (const char* name : {"Res1.dxg", "Res2.dxg", "Res3.dxg", "Sounds.dxw"}) {
        const std::filesystem::path path = gameFolder / kRes / name;
        const std::span<const int> words = WordItems(name);
        hash = words.empty() ? Fnv1a(WholeFilePart(path, name), hash) : HashCollection(path, name, words, hash);
    }
    return hash;
}

uint64_t HashDataFilesWhole(const std::filesystem::path& gameFolder) {
    uint64_t hash = Fnv1a("quillon data");
    for (const char* name : {"Res1.dxg", "Res2.dxg", "Res3.dxg", "Sounds.dxw"})
        hash = Fnv1a(WholeFilePart(gameFolder / kRes / name, name), hash);
    return hash;
}

TReplayExpectation DataExpectation(const std::string& version, const std::filesystem::path& gameFolder) {
    return {version, HashDataFiles(gameFolder), HashDataFilesWhole(gameFolder)};
}

}  // namespace quillon
