// Text safe to show on a terminal or in a message box, whatever bytes a damaged file put in it.
#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Valid UTF-8 stays as it is, except control characters (codes below 32, 127 and 128..159);
// those and every byte that is not part of valid UTF-8 become "\xNN" (two upper-case hex digits).
std::string PrintableText(std::string_view text);

}  // namespace quillon
