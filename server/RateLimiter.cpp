// Per-address token buckets.
#include "server/RateLimiter.h"

#include <algorithm>
#include <iterator>

namespace quillon::server {

TRateLimiter::TRateLimiter(double perMinute, double burst, std::size_t maxAddresses)
    : FPerSecond(perMinute / 60.0), FBurst(std::max(burst, 1.0)), FMaxAddresses(maxAddresses) {}

double TRateLimiter::Refill(TBucket& bucket, double now) const {
    if (now > bucket.Time) {
        bucket.Tokens = std::min(FBurst, bucket.Tokens + (now - bucket.Time) * FPerSecond);
        bucket.Time = now;
    }
    return bucket.Tokens;
}

void TRateLimiter::Forget(double now) {
    // A bucket that has filled up again tells nothing: drop it.
    for (auto it = FBuckets.begin(); it != FBuckets.end();)
        it = Refill(it->second, now) >= FBurst ? FBuckets.erase(it) : std::next(it);
    // Still too many (a flood from many addresses): start over rather than grow without end.
    if (FBuckets.size() >= FMaxAddresses) FBuckets.clear();
}

bool TRateLimiter::Allow(const std::string& address, double now) {
    if (FPerSecond <= 0) return true;
    std::lock_guard lock(FMutex);
    auto found = FBuckets.find(address);
    if (found == FBuckets.end()) {
        if (FBuckets.size() >= FMaxAddresses) Forget(now);
        found = FBuckets.emplace(address, TBucket{FBurst, now}).first;
    }
    TBucket& bucket = found->second;
    if (Refill(bucket, now) < 1.0) return false;
    bucket.Tokens -= 1.0;
    return true;
}

double TRateLimiter::WaitFor(const std::string& address, double now) {
    if (FPerSecond <= 0) return 0;
    std::lock_guard lock(FMutex);
    const auto found = FBuckets.find(address);
    if (found == FBuckets.end()) return 0;
    const double tokens = Refill(found->second, now);
    return tokens >= 1.0 ? 0 : (1.0 - tokens) / FPerSecond;
}

std::size_t TRateLimiter::TrackedAddresses() {
    std::lock_guard lock(FMutex);
    return FBuckets.size();
}

}  // namespace quillon::server
