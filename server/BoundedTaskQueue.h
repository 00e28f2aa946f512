// TBoundedTaskQueue: the server's worker threads. Unlike an open-ended queue it holds at most a
// fixed number of waiting connections; beyond that the accepting thread waits, and further
// clients wait in the system's listen backlog instead of in our memory.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quillon::server {

class TBoundedTaskQueue : public httplib::TaskQueue {
public:
    TBoundedTaskQueue(std::size_t threads, std::size_t maxWaiting);
    ~TBoundedTaskQueue() override;

    void enqueue(std::function<void()> task) override;
    // Runs every task already queued, then ends the threads.
    void shutdown() override;

private:
    void Work();

    std::size_t FMaxWaiting;
    std::mutex FMutex;
    std::condition_variable FHasTask;
    std::condition_variable FHasRoom;
    std::deque<std::function<void()>> FTasks;
    bool FShutdown = false;
    std::vector<std::thread> FThreads;
};

}  // namespace quillon::server
