// A tiny HTTP server on the loopback interface for the tests of the score submission: it
// keeps every request it receives, and either answers it or holds the connection open
// without a word until it is stopped.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillon::testing {

class TLoopbackHttpServer {
public:
    enum class TMode { Answer, NeverAnswer };
    explicit TLoopbackHttpServer(TMode mode);
    ~TLoopbackHttpServer();

    std::string Address() const;  // http://127.0.0.1:PORT
    std::vector<std::string> Requests();  // each request's head, as received
    // What the Answer mode answers from now on: "200 OK" and "ok" unless told.
    void SetAnswer(const std::string& status, const std::string& body);

    // An address where nothing listens: connections to it are refused.
    static std::string RefusingAddress();

private:
    void Serve();

    TMode FMode;
    int FListener = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::mutex FLock;
    std::vector<std::string> FRequests;
    std::string FStatus = "200 OK";
    std::string FBody = "ok";
    std::vector<int> FHeld;
    std::thread FThread;
};

}  // namespace quillon::testing
