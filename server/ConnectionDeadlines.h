// TConnectionDeadlines: the clock of every open connection. A connection must deliver a whole
// request head within a fixed time of opening or of its last answer (which also bounds how long
// it may sit idle between requests); one that does not is shut down, so slow or idle clients
// never hold a place that others need. Stopping shuts down at once every connection that is
// not in the middle of a request. A request body has a deadline of its own, counted from
// the end of its head.
#pragma once

#include <mutex>
#include <unordered_map>

namespace quillon::server {

class TConnectionDeadlines {
public:
    explicit TConnectionDeadlines(double headSeconds) : FHeadSeconds(headSeconds) {}

    // `key` names the connection until Closed; `descriptor` is its socket, open until then.
    void Opened(const void* key, int descriptor, double now);
    void HeadComplete(const void* key);
    // The head announced a body that must have come in whole by `deadline`.
    void BodyExpected(const void* key, double deadline);
    void Answered(const void* key, double now);
    void Closed(const void* key);

    // Shuts down the connections past their deadline; with `everyWaiting`, also every one that
    // is not being answered. The number shut down.
    int ShutDownLate(double now, bool everyWaiting = false);
    std::size_t Open();

private:
    struct TClock {
        int Descriptor = -1;
        double Deadline = 0;
        bool InRequest = false;
        bool ShutDown = false;
    };

    double FHeadSeconds;
    std::mutex FMutex;
    std::unordered_map<const void*, TClock> FClocks;
};

}  // namespace quillon::server
