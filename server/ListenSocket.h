// A listening TCP socket bound to an address and port before the server starts, so the caller
// learns the port (0 picks a free one) and a failure to bind is reported before serving.
#pragma once

#include <string>

namespace quillon::server {

class TListenSocket {
public:
    TListenSocket() = default;
    ~TListenSocket() { Close(); }
    TListenSocket(const TListenSocket&) = delete;
    TListenSocket& operator=(const TListenSocket&) = delete;

    // Binds and listens (non-blocking, a backlog fit for bursts of clients). The port, or -1.
    int Bind(const std::string& host, int port);
    int Descriptor() const { return FDescriptor; }
    // Hands the socket over to whoever closes it from now on.
    int Release() {
        const int descriptor = FDescriptor;
        FDescriptor = -1;
        return descriptor;
    }
    void Close();

private:
    int FDescriptor = -1;
};

}  // namespace quillon::server
