// The server's worker threads with a bounded queue.
#include "server/BoundedTaskQueue.h"

#include <algorithm>

namespace quillon::server {

TBoundedTaskQueue::TBoundedTaskQueue(std::size_t threads, std::size_t maxWaiting)
    : FMaxWaiting(std::max<std::size_t>(maxWaiting, 1)) {
    for (std::size_t i = 0; i < std::max<std::size_t>(threads, 1); ++i) FThreads.emplace_back([this] { Work(); });
}

TBoundedTaskQueue::~TBoundedTaskQueue() { shutdown(); }

void TBoundedTaskQueue::enqueue(std::function<void()> task) {
    {
        std::unique_lock lock(FMutex);
        FHasRoom.wait(lock, [&] { return FTasks.size() < FMaxWaiting || FShutdown; });
        FTasks.push_back(std::move(task));
    }
    FHasTask.notify_one();
}

void TBoundedTaskQueue::shutdown() {
    {
        std::lock_guard lock(FMutex);
        FShutdown = true;
    }
    FHasTask.notify_all();
    FHasRoom.notify_all();
    for (std::thread& thread : FThreads)
        if (thread.joinable()) thread.join();
}

void TBoundedTaskQueue::Work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(FMutex);
            FHasTask.wait(lock, [&] { return !FTasks.empty() || FShutdown; });
            if (FTasks.empty()) return;
            task = std::move(FTasks.front());
            FTasks.pop_front();
        }
        FHasRoom.notify_one();
        task();
    }
}

}  // namespace quillon::server
