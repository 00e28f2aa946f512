// Fuzz target for the world table's submission reader: any bytes as the "inf" letters of a
// submission, and as the bytes of a message. What the server accepts must be exactly what the
// game's encoder writes for it, and whatever the game can type must be accepted unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "engine/Cp1251.h"
#include "save/HighScores.h"
#include "save/ScoreCodec.h"
#include "server/SubmissionCheck.h"

namespace {

using namespace quillon;

void CheckLetters(std::string_view letters) {
    if (const auto bytes = DecodeScoreLetters(letters); bytes && EncodeScoreLetters(*bytes) != letters) std::abort();
    const auto check = server::CheckSubmission(letters);
    const auto* accepted = std::get_if<server::TSubmission>(&check);
    if (!accepted) return;
    const TScoreEntry entry{Utf8ToCp1251(accepted->Name), accepted->Score, Utf8ToCp1251(accepted->Country)};
    if (EncodeScoreLetters(FormatScoreMessage(entry)) != letters) std::abort();
}

void CheckBytes(std::string_view bytes) {
    if (DecodeScoreLetters(EncodeScoreLetters(bytes)) != bytes) std::abort();
}

// The bytes as what a player could type: a score, then name and country characters.
void CheckTyped(std::string_view bytes) {
    if (bytes.size() < 4) return;
    TScoreEntry entry;
    entry.Score = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[0])) << 24 |
                                            static_cast<unsigned char>(bytes[1]) << 16 |
                                            static_cast<unsigned char>(bytes[2]) << 8 |
                                            static_cast<unsigned char>(bytes[3]));
    for (char c : bytes.substr(4)) {
        if (!IsNameChar(c)) continue;
        if (!AppendNameChar(entry.Name, c, kPlayerNameLimit)) AppendNameChar(entry.Country, c, kCountryLimit);
    }
    const auto check = server::CheckSubmission(EncodeScoreLetters(FormatScoreMessage(entry)));
    const auto* accepted = std::get_if<server::TSubmission>(&check);
    if (!accepted || accepted->Score != entry.Score || accepted->Name != Cp1251ToUtf8(entry.Name) ||
        accepted->Country != Cp1251ToUtf8(entry.Country))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckLetters(text);
    CheckBytes(text);
    CheckTyped(text);
    return 0;
}
