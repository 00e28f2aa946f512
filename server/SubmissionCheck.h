// Reading a submission from the world table's request: the letters back to the game's message,
// the message split into its fields, and every field checked as the game would have typed it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace quillon::server {

// A checked submission; name and country already converted to UTF-8.
struct TSubmission {
    std::string Name;
    std::int32_t Score = 0;
    std::string Country;
    friend bool operator==(const TSubmission&, const TSubmission&) = default;
};

enum class TSubmissionFault {
    Empty,          // no letters at all
    TooLong,        // more letters than the longest message the game can send
    NotPadded,      // a letter count that no padded message gives
    BadLetter,      // a character outside the alphabet (or bits the encoder never sets)
    BadLayout,      // not the seven fields in the game's order
    BadPadding,     // the last field is not the "0"s the game pads with
    BadType,
    BadName,
    BadScore,
    BadKey,
    BadP,
    BadCountry,
};

// The longest message: a 12-character name, an 11-character score and a 16-character country,
// padded to 80 bytes, is 128 letters.
inline constexpr std::size_t kMaxSubmissionLetters = 128;

// A fixed English text for the fault, used in the 400 answer and the log.
const char* SubmissionFaultText(TSubmissionFault fault);

using TSubmissionCheck = std::variant<TSubmission, TSubmissionFault>;

// The submission carried by the "inf" letters, or the first fault found in them.
TSubmissionCheck CheckSubmission(std::string_view letters);

// The decimal text of a 32-bit score exactly as the game writes it: an optional "-", no "+",
// no leading zeros, no "-0".
bool ParseScoreText(std::string_view text, std::int32_t& score);

}  // namespace quillon::server
