// A replay fetched from a world table's page: `quillon --replay https://...` downloads the file
// (http or https only, at most 1 MiB, the score sending's time limits) and plays it.
#pragma once

#include <string>

namespace quillon {

// True for an address the game downloads rather than a file name.
bool IsReplayAddress(const std::string& text);

// The body of a successful answer, or false with a short reason in `why`.
bool DownloadReplay(const std::string& url, std::string& body, std::string& why);

}  // namespace quillon
