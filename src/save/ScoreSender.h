// IScoreSender: the one HTTP GET of a score submission, carried out away from the frame
// loop so that the window goes on answering while it waits. Its answer is read and
// dropped; every failure is silent.
#pragma once

#include <string>

namespace quillon {

class IScoreSender {
public:
    virtual ~IScoreSender() = default;
    // Starts the request; a request still under way is left to finish first.
    virtual void Send(const std::string& url) = 0;
    // True until the request has been answered, failed or timed out.
    virtual bool Busy() = 0;
};

}  // namespace quillon
