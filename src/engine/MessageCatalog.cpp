// Reading compiled message catalogs: a header of 32-bit words (magic, revision, count, the
// offsets of the two tables of lengths and offsets), then the strings. Every offset and length
// is checked against the file before it is used.
#include "engine/MessageCatalog.h"

#include <cstdint>
#include <fstream>
#include <iterator>

#include "engine/Cp1251.h"
#include "engine/GameLanguage.h"

namespace quillon {

namespace {

constexpr uint32_t Magic = 0x950412de;
constexpr uint32_t SwappedMagic = 0xde120495;

uint32_t Word(std::string_view bytes, size_t at, bool swapped) {
    const auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])); };
    return swapped ? (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3) : b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

// String `index` of the table at `table`: its length and offset, checked, with the NUL after it.
std::string_view TableString(std::string_view bytes, uint64_t table, uint32_t index, bool swapped) {
    const uint64_t entry = table + uint64_t{index} * 8;
    const uint32_t length = Word(bytes, entry, swapped);
    const uint32_t offset = Word(bytes, entry + 4, swapped);
    if (uint64_t{offset} + length >= bytes.size() || bytes[offset + length] != '\0')
        throw ECatalogError("a message catalog's string lies outside the file");
    return bytes.substr(offset, length);
}

TMessageCatalog RunCatalog;

}  // namespace

TMessageCatalog TMessageCatalog::Parse(std::string_view bytes) {
    if (bytes.size() < 28) throw ECatalogError("not a message catalog");
    const uint32_t magic = Word(bytes, 0, false);
    if (magic != Magic && magic != SwappedMagic) throw ECatalogError("not a message catalog");
    const bool swapped = magic == SwappedMagic;
    // Major revisions 0 and 1 share the tables read here; 1 adds strings this game never has.
    if ((Word(bytes, 4, swapped) >> 16) > 1) throw ECatalogError("a message catalog of an unknown revision");
    const uint32_t count = Word(bytes, 8, swapped);
    const uint64_t originals = Word(bytes, 12, swapped);
    const uint64_t translations = Word(bytes, 16, swapped);
    if (originals + uint64_t{count} * 8 > bytes.size() || translations + uint64_t{count} * 8 > bytes.size())
        throw ECatalogError("a message catalog's tables lie outside the file");
    TMessageCatalog catalog;
    for (uint32_t i = 0; i < count; ++i) {
        const std::string_view original = TableString(bytes, originals, i, swapped);
        const std::string_view translation = TableString(bytes, translations, i, swapped);
        // An empty translation would draw nothing: the text stays as it is.
        if (!original.empty() && !translation.empty()) catalog.FTexts.emplace(original, translation);
    }
    return catalog;
}

TMessageCatalog TMessageCatalog::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ECatalogError("the message catalog cannot be read");
    std::string bytes;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        bytes.append(block, static_cast<size_t>(in.gcount()));
        if (bytes.size() > MaxFileSize) throw ECatalogError("the message catalog is too large");
    }
    if (in.bad()) throw ECatalogError("the message catalog cannot be read");
    return Parse(bytes);
}

const std::string* TMessageCatalog::Find(std::string_view text) const {
    if (text.empty()) return nullptr;
    const auto found = FTexts.find(std::string(text));
    return found == FTexts.end() ? nullptr : &found->second;
}

void SetGameCatalog(TMessageCatalog catalog) { RunCatalog = std::move(catalog); }

std::string_view Tr(std::string_view text) {
    if (GameLanguage() == TLanguage::Russian) return text;
    const std::string* translation = RunCatalog.Find(text);
    return translation ? std::string_view(*translation) : text;
}

std::string TrDrawn(std::string_view text) { return Utf8ToCp1251(Tr(text)); }

std::filesystem::path CatalogFile(const std::filesystem::path& folder, std::string_view languageCode) {
    return folder / std::string(languageCode) / "LC_MESSAGES" / "quillon.mo";
}

}  // namespace quillon
