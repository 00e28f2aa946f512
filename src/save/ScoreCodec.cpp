// The score message and its 32-letter encoding.
#include "save/ScoreCodec.h"

#include <array>

#include "engine/Cp1251.h"

namespace quillon {
namespace {

constexpr int kBitsPerLetter = 5;

// Letter code -> value, -1 for everything outside the alphabet.
constexpr std::array<int, 256> MakeLetterValues() {
    std::array<int, 256> values{};
    for (int& v : values) v = -1;
    for (std::size_t i = 0; i < kScoreAlphabet.size(); ++i)
        values[static_cast<unsigned char>(kScoreAlphabet[i])] = static_cast<int>(i);
    return values;
}
constexpr std::array<int, 256> kLetterValues = MakeLetterValues();

}  // namespace

std::string FormatScoreMessage(const TScoreEntry& entry) {
    std::string message = "type=0|name=" + entry.Name + "|score=" + std::to_string(entry.Score) + "|key=" +
                          kScoreKeyLetter + "|p=|add=" + entry.Country + "|z=";
    while (message.size() % 5 != 0) message += '0';
    return message;
}

std::string EncodeScoreLetters(std::string_view bytes) {
    const std::size_t bits = bytes.size() * 8;
    const std::size_t lead = (kBitsPerLetter - bits % kBitsPerLetter) % kBitsPerLetter;
    auto bit = [&](std::size_t i) {
        if (i < lead) return 0;
        i -= lead;
        return (static_cast<unsigned char>(bytes[i / 8]) >> (7 - i % 8)) & 1;
    };
    std::string letters;
    letters.reserve((lead + bits) / kBitsPerLetter);
    for (std::size_t start = 0; start < lead + bits; start += kBitsPerLetter) {
        int value = 0;
        for (int k = 0; k < kBitsPerLetter; ++k) value = value << 1 | bit(start + k);
        letters += kScoreAlphabet[value];
    }
    return letters;
}

std::optional<std::string> DecodeScoreLetters(std::string_view letters) {
    const std::size_t bits = letters.size() * kBitsPerLetter;
    const std::size_t lead = bits % 8;
    // The encoder puts fewer than five zero bits in front, so more than four left over means
    // a length it never produces.
    if (lead >= kBitsPerLetter) return std::nullopt;
    std::string bytes(bits / 8, '\0');
    std::size_t i = 0;
    for (char letter : letters) {
        const int value = kLetterValues[static_cast<unsigned char>(letter)];
        if (value < 0) return std::nullopt;
        for (int k = kBitsPerLetter - 1; k >= 0; --k, ++i) {
            const int b = (value >> k) & 1;
            if (i < lead) {
                if (b != 0) return std::nullopt;
                continue;
            }
            const std::size_t at = i - lead;
            bytes[at / 8] = static_cast<char>(static_cast<unsigned char>(bytes[at / 8]) | b << (7 - at % 8));
        }
    }
    return bytes;
}

std::string ScoreSubmissionQuery(const TScoreEntry& entry) {
    return "hs&prg=Quillon&inf=" + EncodeScoreLetters(FormatScoreMessage(entry));
}

std::string ScoreSubmissionUrl(std::string_view server, const TScoreEntry& entry) {
    return std::string(server) + "/cgi/version.pl?" + ScoreSubmissionQuery(entry);
}

std::string PercentEncode(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
            byte == '-' || byte == '.' || byte == '_' || byte == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

std::string ReplayUploadUrl(std::string_view server, const TScoreEntry& entry) {
    return std::string(server) + "/api/replays?name=" + PercentEncode(Cp1251ToUtf8(entry.Name)) +
           "&score=" + std::to_string(entry.Score) + "&country=" + PercentEncode(Cp1251ToUtf8(entry.Country));
}

}  // namespace quillon
