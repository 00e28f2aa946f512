// IScoreSender: the one HTTP GET of a score submission, and after it the POST of the game's
// replay that proves the score, carried out away from the frame loop so that the window
// goes on answering while they wait. Their answers are read and dropped; every failure is
// silent.
#pragma once

#include <string>

namespace quillon {

class IScoreSender {
public:
    virtual ~IScoreSender() = default;
    // Starts the request; a request still under way is left to finish first.
    virtual void Send(const std::string& url) = 0;
    // Starts the POST of `body` (application/octet-stream) in the same way.
    virtual void Post(const std::string& url, std::string body) = 0;
    // True until the request (either kind) has been answered, failed or timed out.
    virtual bool Busy() = 0;
};

}  // namespace quillon
