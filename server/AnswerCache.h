// TAnswerCache: the page's and the JSON's answers kept for a moment. A busy table's readers then
// cost the database one query per kind of answer and change (or second), not one per request.
// An answer is given again while the store's change count is the one it was built at, for at
// most `seconds`; at most `capacity` answers are kept, so queries with ever new countries
// cannot fill the memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "server/HttpDaemon.h"

namespace quillon::server {

class TAnswerCache {
public:
    TAnswerCache(double seconds, std::size_t capacity) : FSeconds(seconds), FCapacity(capacity) {}

    // The answer kept for `key`, unless the table changed since or it is too old.
    std::optional<THttpAnswer> Find(const std::string& key, std::uint64_t changes, double now);
    // Keeps `answer`, built from the table as it was at `changes` at `now`.
    void Keep(const std::string& key, const THttpAnswer& answer, std::uint64_t changes, double now);

private:
    struct TKept {
        THttpAnswer Answer;
        std::uint64_t Changes = 0;
        double Time = 0;
    };
    bool Fresh(const TKept& kept, std::uint64_t changes, double now) const {
        return kept.Changes == changes && now >= kept.Time && now - kept.Time < FSeconds;
    }

    double FSeconds;
    std::size_t FCapacity;
    std::mutex FMutex;
    std::unordered_map<std::string, TKept> FKept;
};

}  // namespace quillon::server
