// Request text made safe for the server's log: one field without spaces, line ends or control
// characters, and never endless.
#pragma once

#include <string>
#include <string_view>

namespace quillon::server {

// Printable UTF-8 passes unchanged; every other byte (controls, spaces, backslashes, broken or
// overlong sequences, invisible direction marks) becomes \xNN. Longer than `maxBytes` ends in
// "...". Empty text gives "-".
std::string LogField(std::string_view text, std::size_t maxBytes = 300);

}  // namespace quillon::server
