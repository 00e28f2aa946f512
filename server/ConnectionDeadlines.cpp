// Deadlines of the server's connections.
#include "server/ConnectionDeadlines.h"

#include <sys/socket.h>

namespace quillon::server {

void TConnectionDeadlines::Opened(const void* key, int descriptor, double now) {
    std::lock_guard lock(FMutex);
    FClocks[key] = {descriptor, now + FHeadSeconds, false, false};
}

void TConnectionDeadlines::HeadComplete(const void* key) {
    std::lock_guard lock(FMutex);
    if (auto found = FClocks.find(key); found != FClocks.end()) found->second.InRequest = true;
}

void TConnectionDeadlines::BodyExpected(const void* key, double deadline) {
    std::lock_guard lock(FMutex);
    if (auto found = FClocks.find(key); found != FClocks.end()) {
        found->second.InRequest = false;
        found->second.Deadline = deadline;
    }
}

void TConnectionDeadlines::Answered(const void* key, double now) {
    std::lock_guard lock(FMutex);
    if (auto found = FClocks.find(key); found != FClocks.end()) {
        found->second.InRequest = false;
        found->second.Deadline = now + FHeadSeconds;
    }
}

void TConnectionDeadlines::Closed(const void* key) {
    // The socket is closed only after this returns, so a shutdown under the same lock never
    // reaches a descriptor that has been reused.
    std::lock_guard lock(FMutex);
    FClocks.erase(key);
}

int TConnectionDeadlines::ShutDownLate(double now, bool everyWaiting) {
    std::lock_guard lock(FMutex);
    int count = 0;
    for (auto& [key, clock] : FClocks) {
        if (clock.InRequest || clock.ShutDown) continue;
        if (!everyWaiting && now < clock.Deadline) continue;
        // The connection's own thread sees the end of input and closes it.
        shutdown(clock.Descriptor, SHUT_RDWR);
        clock.ShutDown = true;
        ++count;
    }
    return count;
}

std::size_t TConnectionDeadlines::Open() {
    std::lock_guard lock(FMutex);
    return FClocks.size();
}

}  // namespace quillon::server
