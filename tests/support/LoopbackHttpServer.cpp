// The loopback test server: one thread, one connection at a time.
#include "support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace quillon::testing {

namespace {
int ListenOnLoopback(int& port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) throw std::runtime_error("no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 8) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(s);
        throw std::runtime_error("cannot listen on the loopback interface");
    }
    port = ntohs(address.sin_port);
    return s;
}
}  // namespace

TLoopbackHttpServer::TLoopbackHttpServer(TMode mode) : FMode(mode) {
    FListener = ListenOnLoopback(FPort);
    FThread = std::thread([this] { Serve(); });
}

TLoopbackHttpServer::~TLoopbackHttpServer() {
    FStop = true;
    FThread.join();
    for (int held : FHeld) close(held);
    close(FListener);
}

std::string TLoopbackHttpServer::Address() const { return "http://127.0.0.1:" + std::to_string(FPort); }

std::vector<std::string> TLoopbackHttpServer::Requests() {
    std::lock_guard<std::mutex> lock(FLock);
    return FRequests;
}

std::string TLoopbackHttpServer::RefusingAddress() {
    int port = 0;
    close(ListenOnLoopback(port));
    return "http://127.0.0.1:" + std::to_string(port);
}

void TLoopbackHttpServer::SetAnswer(const std::string& status, const std::string& body) {
    std::lock_guard<std::mutex> lock(FLock);
    FStatus = status;
    FBody = body;
}

void TLoopbackHttpServer::Serve() {
    while (!FStop) {
        pollfd waiting{FListener, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0) continue;
        const int connection = accept(FListener, nullptr, nullptr);
        if (connection < 0) continue;
        std::string head;
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos && !FStop) {
            pollfd reading{connection, POLLIN, 0};
            if (poll(&reading, 1, 50) <= 0) continue;
            const ssize_t got = read(connection, buffer, sizeof buffer);
            if (got <= 0) break;
            head.append(buffer, static_cast<size_t>(got));
        }
        {
            std::lock_guard<std::mutex> lock(FLock);
            FRequests.push_back(head);
        }
        if (FMode == TMode::NeverAnswer) {
            FHeld.push_back(connection);
            continue;
        }
        std::string answer;
        {
            std::lock_guard<std::mutex> lock(FLock);
            answer = "HTTP/1.1 " + FStatus + "\r\nContent-Length: " + std::to_string(FBody.size()) +
                     "\r\nConnection: close\r\n\r\n" + FBody;
        }
        for (size_t sent = 0; sent < answer.size();) {
            const ssize_t wrote = send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
            if (wrote <= 0) break;
            sent += static_cast<size_t>(wrote);
        }
        close(connection);
    }
}

}  // namespace quillon::testing
