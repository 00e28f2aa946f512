// The game's words in another language: a compiled message catalog (quillon.mo, as msgfmt
// writes it) read by the game itself, so that no installed system locale and no change of the
// process's C locale is involved. The Russian texts are the keys; a text the catalog lacks,
// and every text in a Russian run, stays Russian.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/EngineError.h"

namespace quillon {

// A catalog that cannot be read: one of a few fixed messages.
class ECatalogError : public EEngineError {
public:
    using EEngineError::EEngineError;
};

class TMessageCatalog {
public:
    // The bytes of a .mo file (either byte order). Throws ECatalogError on anything else.
    static TMessageCatalog Parse(std::string_view bytes);
    // Reads and parses a file of at most MaxFileSize bytes.
    static TMessageCatalog Load(const std::filesystem::path& file);

    static constexpr size_t MaxFileSize = 4 << 20;

    // The translation of a text, or nullptr when the catalog has none (the header, whose key is
    // empty, is never a translation).
    const std::string* Find(std::string_view text) const;
    size_t Size() const { return FTexts.size(); }

private:
    std::unordered_map<std::string, std::string> FTexts;
};

// The run's catalog, read by Tr when the run's language is not Russian.
void SetGameCatalog(TMessageCatalog catalog);

// A text of the game in the run's language, UTF-8. The keyword xgettext extracts.
std::string_view Tr(std::string_view text);
// The same as the game draws it: Windows-1251.
std::string TrDrawn(std::string_view text);
// Marks a text for the catalog where it is kept (a table), to be translated where it is drawn.
constexpr const char* TrMark(const char* text) { return text; }

// <folder>/<code>/LC_MESSAGES/quillon.mo
std::filesystem::path CatalogFile(const std::filesystem::path& folder, std::string_view languageCode);

}  // namespace quillon
