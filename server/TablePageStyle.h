// The style sheet of the table page, written into the page itself (the page loads nothing from
// anywhere else). Wide screens see the best three as a podium of plates above a table of the
// rest; narrow ones (a phone held upright) see one plate per line and each table row folded
// into two lines, so nothing runs off the right edge.
#pragma once

#include <string>

namespace quillon::server {

// The whole <style> element's content: the palette as custom properties, then the rules.
const std::string& TablePageStyle();

}  // namespace quillon::server
