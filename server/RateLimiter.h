// TRateLimiter: a token bucket per client address. Each request takes one token; tokens come
// back at a steady rate up to a small burst. Idle addresses are forgotten so the map stays small.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quillon::server {

class TRateLimiter {
public:
    // `perMinute` requests a minute on average, up to `burst` at once; perMinute 0 lets
    // everything through.
    TRateLimiter(double perMinute, double burst, std::size_t maxAddresses = 100000);

    // True when the address may make a request at `now` (seconds of a steady clock).
    bool Allow(const std::string& address, double now);
    // Seconds until the address has a token again (0 when it has one).
    double WaitFor(const std::string& address, double now);

    std::size_t TrackedAddresses();

private:
    struct TBucket {
        double Tokens = 0;
        double Time = 0;
    };
    double Refill(TBucket& bucket, double now) const;
    void Forget(double now);

    double FPerSecond;
    double FBurst;
    std::size_t FMaxAddresses;
    std::mutex FMutex;
    std::unordered_map<std::string, TBucket> FBuckets;
};

}  // namespace quillon::server
