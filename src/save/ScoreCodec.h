// The score message sent to the world table: its fields, the "0" padding, the 32-letter
// alphabet that carries it inside a URL, and the way back from the letters to the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The letters of the encoding, value 0 first (no I, O, Z or 0, so nothing is misread).
inline constexpr std::string_view kScoreAlphabet = "ABCDEFGHJKLMNPQRSTUVWXY123456789";
// The one-letter value of the "key" field, the same in every request.
inline constexpr char kScoreKeyLetter = 'Q';

// One score as the game sends it; name and country are Windows-1251 text.
struct TScoreEntry {
    std::string Name;
    std::int32_t Score = 0;
    std::string Country;
};

// "type=0|name=N|score=S|key=K|p=|add=C|z=" followed by "0"s up to a multiple of 5 bytes.
std::string FormatScoreMessage(const TScoreEntry& entry);

// Every byte as 8 bits, most significant first, cut into groups of 5 from the left, each group
// replaced by its letter. When the bit count is not a multiple of 5, zero bits go in front.
std::string EncodeScoreLetters(std::string_view bytes);
// The bytes whose encoding is exactly `letters`; nothing for a letter outside the alphabet, or a
// length or leading bits that no encoding gives.
std::optional<std::string> DecodeScoreLetters(std::string_view letters);

// The query of a submission: "hs&prg=Quillon&inf=" and the encoded message.
std::string ScoreSubmissionQuery(const TScoreEntry& entry);
// The full submission address on `server` (a base address without a trailing "/").
std::string ScoreSubmissionUrl(std::string_view server, const TScoreEntry& entry);

// The largest replay the table takes as the proof of a score.
inline constexpr std::size_t kReplayUploadLimit = 1u << 20;
// Where the replay of a sent score goes: "/api/replays?name=N&score=S&country=C" on `server`,
// name and country as UTF-8, percent-encoded.
std::string ReplayUploadUrl(std::string_view server, const TScoreEntry& entry);
// Every byte but letters, digits and "-._~" as %XX.
std::string PercentEncode(std::string_view bytes);

}  // namespace quillon
