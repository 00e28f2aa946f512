// TInProcessServer: a score server of the test's own on a free loopback port, answering on a
// thread of its own until it is stopped or destroyed.
#pragma once

#include <memory>
#include <thread>

#include "server/ScoreServer.h"

namespace quillon::testing {

class TInProcessServer {
public:
    // Port is not positive when no port could be bound (nothing runs then).
    TInProcessServer(server::TScoreStore& store, server::TScoreServerSettings settings)
        : FServer(std::make_unique<server::TScoreServer>(store, std::move(settings))) {
        Port = FServer->Bind("127.0.0.1", 0);
        if (Port > 0) FThread = std::thread([this] { FServer->Run(); });
    }
    ~TInProcessServer() {
        BeginStop();
        if (FThread.joinable()) FThread.join();
    }
    TInProcessServer(const TInProcessServer&) = delete;
    TInProcessServer& operator=(const TInProcessServer&) = delete;

    // Takes no new connection from now on; the requests under way are still answered, and the
    // destructor waits for them.
    void BeginStop() { FServer->Stop(); }

    int Port = 0;

private:
    std::unique_ptr<server::TScoreServer> FServer;
    std::thread FThread;
};

}  // namespace quillon::testing
