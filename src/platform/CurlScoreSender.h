// TCurlScoreSender: the score submission's GET on libcurl, on a thread of its own, with a
// 5-second limit to connect and 10 seconds for the whole request. Destroying it abandons
// a request under way at once, so leaving the game never waits for the network. The
// headless driver has each request waited for where it is sent, so that its runs repeat
// frame for frame whatever the network does.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "save/ScoreSender.h"

namespace quillon {

class TCurlScoreSender : public IScoreSender {
public:
    explicit TCurlScoreSender(bool waitForEachRequest = false);
    ~TCurlScoreSender() override;
    TCurlScoreSender(const TCurlScoreSender&) = delete;
    TCurlScoreSender& operator=(const TCurlScoreSender&) = delete;

    void Send(const std::string& url) override;
    bool Busy() override { return FBusy.load(); }

private:
    static void Fetch(std::string url, std::atomic<bool>* abandon, std::atomic<bool>* busy);

    bool FWait;
    std::thread FWorker;
    std::atomic<bool> FBusy{false};
    std::atomic<bool> FAbandon{false};
};

}  // namespace quillon
