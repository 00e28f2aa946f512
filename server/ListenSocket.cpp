// Binding the server's listening socket.
#include "server/ListenSocket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quillon::server {
namespace {

// Bursts of new connections wait here instead of in the system's SYN retries.
constexpr int kListenBacklog = 1024;

int BoundPort(int descriptor) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
    if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
    return -1;
}

}  // namespace

int TListenSocket::Bind(const std::string& host, int port) {
    Close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
    for (addrinfo* entry = found; entry && FDescriptor < 0; entry = entry->ai_next) {
        const int descriptor = socket(entry->ai_family, entry->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (descriptor < 0) continue;
        const int yes = 1;
        setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (bind(descriptor, entry->ai_addr, entry->ai_addrlen) == 0 && listen(descriptor, kListenBacklog) == 0)
            FDescriptor = descriptor;
        else
            close(descriptor);
    }
    freeaddrinfo(found);
    if (FDescriptor < 0) return -1;
    const int bound = BoundPort(FDescriptor);
    if (bound <= 0) Close();
    return bound > 0 ? bound : -1;
}

void TListenSocket::Close() {
    if (FDescriptor >= 0) close(FDescriptor);
    FDescriptor = -1;
}

}  // namespace quillon::server
