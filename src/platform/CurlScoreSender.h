// TCurlScoreSender: the score submission's GET and the replay's POST on libcurl, on a thread
// of its own, each with a 5-second limit to connect and 10 seconds for the whole request.
// Destroying it abandons a request under way at once, so leaving the game never waits for the network. The
// headless driver has each request waited for where it is sent, so that its runs repeat
// frame for frame whatever the network does.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "save/ScoreSender.h"

namespace quillon {

// The limits of every request the game makes: seconds to connect, and for the whole request.
inline constexpr long kNetConnectSeconds = 5;
inline constexpr long kNetRequestSeconds = 10;

class TCurlScoreSender : public IScoreSender {
public:
    explicit TCurlScoreSender(bool waitForEachRequest = false);
    ~TCurlScoreSender() override;
    TCurlScoreSender(const TCurlScoreSender&) = delete;
    TCurlScoreSender& operator=(const TCurlScoreSender&) = delete;

    void Send(const std::string& url) override;
    void Post(const std::string& url, std::string body) override;
    bool Busy() override { return FBusy.load(); }

private:
    // A POST of `body` when `post`, else the GET.
    static void Fetch(std::string url, std::string body, bool post, std::atomic<bool>* abandon,
                      std::atomic<bool>* busy);
    void Start(std::string url, std::string body, bool post);

    bool FWait;
    std::thread FWorker;
    std::atomic<bool> FBusy{false};
    std::atomic<bool> FAbandon{false};
};

}  // namespace quillon
