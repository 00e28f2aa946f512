// The game's own reader of compiled message catalogs: what msgfmt writes reads back, in either
// byte order; every damaged file gives a fixed message; the run's language decides whether a
// text is translated at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/GameLanguage.h"
#include "engine/MessageCatalog.h"
#include "support/TempDir.h"

namespace quillon {
namespace {

using TPairs = std::vector<std::pair<std::string, std::string>>;

void PutWord(std::string& out, uint32_t word, bool bigEndian) {
    for (int i = 0; i < 4; ++i) {
        const int shift = bigEndian ? 24 - 8 * i : 8 * i;
        out += static_cast<char>((word >> shift) & 0xFF);
    }
}

// A catalog as msgfmt lays it out: header, the two tables, then the strings with their NULs.
std::string CatalogBytes(const TPairs& pairs, bool bigEndian = false) {
    const uint32_t count = static_cast<uint32_t>(pairs.size());
    const uint32_t originals = 28, translations = originals + 8 * count;
    uint32_t at = translations + 8 * count;
    std::string tables, strings;
    std::string translationTable;
    for (const auto& [original, translation] : pairs) {
        PutWord(tables, static_cast<uint32_t>(original.size()), bigEndian);
        PutWord(tables, at, bigEndian);
        at += static_cast<uint32_t>(original.size()) + 1;
        strings += original + '\0';
    }
    for (const auto& [original, translation] : pairs) {
        PutWord(translationTable, static_cast<uint32_t>(translation.size()), bigEndian);
        PutWord(translationTable, at, bigEndian);
        at += static_cast<uint32_t>(translation.size()) + 1;
        strings += translation + '\0';
    }
    std::string out;
    PutWord(out, 0x950412de, bigEndian);
    for (uint32_t word : {0u, count, originals, translations, 0u, 0u}) PutWord(out, word, bigEndian);
    return out + tables + translationTable + strings;
}

const TPairs kPairs = {{"", "Content-Type: text/plain; charset=UTF-8\n"},
                       {"Пауза", "Pause"},
                       {"Уровень ", "Level "},
                       {"Строка\nи ещё", "A line\nand more"},
                       {"Пусто", ""}};

TEST(MessageCatalog, ReadsWhatItsWriterLaysOutInEitherByteOrder) {
    for (bool bigEndian : {false, true}) {
        const TMessageCatalog catalog = TMessageCatalog::Parse(CatalogBytes(kPairs, bigEndian));
        ASSERT_NE(catalog.Find("Пауза"), nullptr);
        EXPECT_EQ(*catalog.Find("Пауза"), "Pause");
        EXPECT_EQ(*catalog.Find("Уровень "), "Level ");
        EXPECT_EQ(*catalog.Find("Строка\nи ещё"), "A line\nand more");
        EXPECT_EQ(catalog.Find("Уровень"), nullptr);  // keys match exactly
        EXPECT_EQ(catalog.Find(""), nullptr);         // the header is no translation
        EXPECT_EQ(catalog.Find("Пусто"), nullptr);    // nor is an empty one
        EXPECT_EQ(catalog.Size(), 3u);
    }
}

TEST(MessageCatalog, DamagedFilesGiveFixedMessages) {
    const std::string good = CatalogBytes(kPairs);
    auto with = [&](size_t at, uint32_t word) {
        std::string bytes = good;
        std::string w;
        PutWord(w, word, false);
        bytes.replace(at, 4, w);
        return bytes;
    };
    const size_t firstString = 28 + 16 * kPairs.size();
    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty", "", "not a message catalog"},
        {"a header cut short", good.substr(0, 27), "not a message catalog"},
        {"another magic number", with(0, 0x12345678), "not a message catalog"},
        {"a newer revision", with(4, 2u << 16), "a message catalog of an unknown revision"},
        {"more strings than the tables hold", with(8, 0x10000000), "a message catalog's tables lie outside the file"},
        {"a table past the end", with(16, static_cast<uint32_t>(good.size())), "a message catalog's tables lie outside the file"},
        {"a string past the end", with(28 + 4, static_cast<uint32_t>(good.size())), "a message catalog's string lies outside the file"},
        {"a length wrapping around", with(28 + 8, 0xFFFFFFFF), "a message catalog's string lies outside the file"},
        {"a string without its NUL", with(28 + 8, 1), "a message catalog's string lies outside the file"},
        {"the strings cut off", good.substr(0, firstString + 3), "a message catalog's string lies outside the file"},
    };
    for (const auto& c : cases) {
        try {
            TMessageCatalog::Parse(c.bytes);
            ADD_FAILURE() << c.what << ": read without complaint";
        } catch (const ECatalogError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.what;
        }
    }
}

TEST(MessageCatalog, FilesThatCannotBeReadOrAreTooLargeGiveFixedMessages) {
    const testing::TTempDir dir("catalog");
    const struct {
        const char* what;
        std::string file;
        const char* message;
    } cases[] = {
        {"no file", dir.File("missing.mo"), "the message catalog cannot be read"},
        {"a folder", dir.Path(), "the message catalog cannot be read"},
        {"too large", dir.File("large.mo"), "the message catalog is too large"},
    };
    {
        std::ofstream large(dir.File("large.mo"), std::ios::binary);
        large << CatalogBytes(kPairs) << std::string(TMessageCatalog::MaxFileSize, 'x');
    }
    for (const auto& c : cases) {
        try {
            TMessageCatalog::Load(c.file);
            ADD_FAILURE() << c.what << ": read without complaint";
        } catch (const ECatalogError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.what;
        }
    }
}

// The English catalog the build compiled with msgfmt reads back with every paragraph whole.
TEST(MessageCatalog, TheBuildsEnglishCatalogTranslatesTheGamesTexts) {
    const TMessageCatalog catalog =
        TMessageCatalog::Load(CatalogFile(std::string(QUILLON_BINARY_DIR) + "/locale", "en"));
    ASSERT_NE(catalog.Find("Выйти из игры?"), nullptr);
    EXPECT_EQ(*catalog.Find("Выйти из игры?"), "Quit the game?");
    ASSERT_NE(catalog.Find("Квиллон"), nullptr);
    EXPECT_EQ(*catalog.Find("Квиллон"), "Quillon");
}

TEST(MessageCatalog, OnlyARunInAnotherLanguageTranslates) {
    SetGameCatalog(TMessageCatalog::Parse(CatalogBytes(kPairs)));
    SetGameLanguage(TLanguage::Russian);
    EXPECT_EQ(Tr("Пауза"), "Пауза");
    EXPECT_EQ(TrDrawn("Пауза"), "\xCF\xE0\xF3\xE7\xE0");  // Windows-1251, as drawn
    SetGameLanguage(TLanguage::English);
    EXPECT_EQ(Tr("Пауза"), "Pause");
    EXPECT_EQ(TrDrawn("Пауза"), "Pause");
    EXPECT_EQ(Tr("Очки"), "Очки");  // not in the catalog: stays Russian
    SetGameLanguage(TLanguage::Russian);
    SetGameCatalog(TMessageCatalog());
}

}  // namespace
}  // namespace quillon
