// The page's and the JSON's answers kept for a moment.
#include "server/AnswerCache.h"

#include <iterator>

namespace quillon::server {

std::optional<THttpAnswer> TAnswerCache::Find(const std::string& key, std::uint64_t changes, double now) {
    std::lock_guard lock(FMutex);
    const auto found = FKept.find(key);
    if (found == FKept.end() || !Fresh(found->second, changes, now)) return std::nullopt;
    return found->second.Answer;
}

void TAnswerCache::Keep(const std::string& key, const THttpAnswer& answer, std::uint64_t changes, double now) {
    if (FSeconds <= 0 || FCapacity == 0) return;
    std::lock_guard lock(FMutex);
    if (FKept.size() >= FCapacity && !FKept.contains(key)) {
        for (auto kept = FKept.begin(); kept != FKept.end();)
            kept = Fresh(kept->second, changes, now) ? std::next(kept) : FKept.erase(kept);
        if (FKept.size() >= FCapacity) return;  // every one still fresh: this one is built again next time
    }
    FKept[key] = {answer, changes, now};
}

}  // namespace quillon::server
