// Decoding and checking the world table's submissions.
#include "server/SubmissionCheck.h"

#include <array>
#include <limits>

#include "engine/Cp1251.h"
#include "save/HighScores.h"
#include "save/ScoreCodec.h"

namespace quillon::server {
namespace {

constexpr std::array<std::string_view, 7> kFieldKeys = {"type", "name", "score", "key", "p", "add", "z"};

bool IsNameText(std::string_view text, std::size_t limit) {
    if (text.size() > limit) return false;
    for (char c : text)
        if (!IsNameChar(c)) return false;
    return true;
}

}  // namespace

const char* SubmissionFaultText(TSubmissionFault fault) {
    switch (fault) {
        case TSubmissionFault::Empty: return "no message";
        case TSubmissionFault::TooLong: return "message too long";
        case TSubmissionFault::NotPadded: return "message length is not a whole number of blocks";
        case TSubmissionFault::BadLetter: return "character outside the alphabet";
        case TSubmissionFault::BadLayout: return "fields missing or out of order";
        case TSubmissionFault::BadPadding: return "bad padding";
        case TSubmissionFault::BadType: return "bad type";
        case TSubmissionFault::BadName: return "bad name";
        case TSubmissionFault::BadScore: return "bad score";
        case TSubmissionFault::BadKey: return "bad key";
        case TSubmissionFault::BadP: return "bad p field";
        case TSubmissionFault::BadCountry: return "bad country";
    }
    return "bad message";
}

bool ParseScoreText(std::string_view text, std::int32_t& score) {
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 10) return false;
    if (digits.front() == '0' && (digits.size() > 1 || negative)) return false;
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return false;
    score = static_cast<std::int32_t>(value);
    return true;
}

TSubmissionCheck CheckSubmission(std::string_view letters) {
    if (letters.empty()) return TSubmissionFault::Empty;
    if (letters.size() > kMaxSubmissionLetters) return TSubmissionFault::TooLong;
    // A padded message is a whole number of 5-byte blocks, each 8 letters.
    if (letters.size() % 8 != 0) return TSubmissionFault::NotPadded;
    const auto message = DecodeScoreLetters(letters);
    if (!message) return TSubmissionFault::BadLetter;

    std::array<std::string_view, kFieldKeys.size()> values;
    std::string_view rest = *message;
    for (std::size_t i = 0; i < kFieldKeys.size(); ++i) {
        const std::size_t bar = rest.find('|');
        const std::string_view field = rest.substr(0, bar);
        if ((bar == std::string_view::npos) != (i + 1 == kFieldKeys.size())) return TSubmissionFault::BadLayout;
        if (field.size() <= kFieldKeys[i].size() || field.substr(0, kFieldKeys[i].size()) != kFieldKeys[i] ||
            field[kFieldKeys[i].size()] != '=')
            return TSubmissionFault::BadLayout;
        values[i] = field.substr(kFieldKeys[i].size() + 1);
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }
    const auto [type, name, scoreText, key, p, country, padding] = values;

    // The game pads with the fewest "0"s that make the length a multiple of 5.
    const std::size_t unpadded = message->size() - padding.size();
    if (padding.size() != (5 - unpadded % 5) % 5 || padding.find_first_not_of('0') != std::string_view::npos)
        return TSubmissionFault::BadPadding;
    if (type != "0") return TSubmissionFault::BadType;
    if (!IsNameText(name, kPlayerNameLimit)) return TSubmissionFault::BadName;
    TSubmission submission;
    if (!ParseScoreText(scoreText, submission.Score)) return TSubmissionFault::BadScore;
    if (key != std::string_view(&kScoreKeyLetter, 1)) return TSubmissionFault::BadKey;
    if (!p.empty()) return TSubmissionFault::BadP;
    if (!IsNameText(country, kCountryLimit)) return TSubmissionFault::BadCountry;
    submission.Name = Cp1251ToUtf8(name);
    submission.Country = Cp1251ToUtf8(country);
    return submission;
}

}  // namespace quillon::server
