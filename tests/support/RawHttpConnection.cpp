// Raw loopback HTTP connections for the server's hostile-client tests.
#include "support/RawHttpConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <strings.h>

namespace quillon::testing {
namespace {

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

sockaddr_in LoopbackAddress(const std::string& text, int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, text.c_str(), &address.sin_addr);
    return address;
}

}  // namespace

TRawHttpConnection::TRawHttpConnection(int port, const std::string& from) {
    FDescriptor = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (FDescriptor < 0) return;
    const sockaddr_in local = LoopbackAddress(from, 0);
    const sockaddr_in server = LoopbackAddress("127.0.0.1", port);
    if (bind(FDescriptor, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        connect(FDescriptor, reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0) {
        close(FDescriptor);
        FDescriptor = -1;
    }
}

TRawHttpConnection::~TRawHttpConnection() {
    if (FDescriptor >= 0) close(FDescriptor);
}

bool TRawHttpConnection::Send(std::string_view bytes) {
    while (!bytes.empty() && FDescriptor >= 0) {
        const ssize_t sent = send(FDescriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return FDescriptor >= 0;
}

std::vector<TRawAnswer> TRawHttpConnection::ReadAnswers(std::size_t count, double seconds) {
    std::vector<TRawAnswer> answers;
    const double giveUp = Now() + seconds;
    for (;;) {
        for (TRawAnswer& answer : TakeAnswers(FPending)) answers.push_back(std::move(answer));
        const double left = giveUp - Now();
        if (answers.size() >= count || left <= 0 || FDescriptor < 0) return answers;
        pollfd wait{FDescriptor, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(left * 1000) + 1) <= 0) continue;
        char buffer[65536];
        const ssize_t got = recv(FDescriptor, buffer, sizeof buffer, 0);
        if (got <= 0) {
            for (TRawAnswer& answer : TakeAnswers(FPending)) answers.push_back(std::move(answer));
            return answers;
        }
        FPending.append(buffer, static_cast<std::size_t>(got));
    }
}

bool TRawHttpConnection::ClosedWithin(double seconds) {
    const double giveUp = Now() + seconds;
    for (double left = seconds; left > 0; left = giveUp - Now()) {
        pollfd wait{FDescriptor, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(left * 1000) + 1) <= 0) continue;
        char buffer[65536];
        if (recv(FDescriptor, buffer, sizeof buffer, 0) <= 0) return true;
    }
    return false;
}

std::string GetRequest(const std::string& target, const std::string& extraHeaders) {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: test\r\n" + extraHeaders + "\r\n";
}

std::vector<TRawAnswer> TakeAnswers(std::string& bytes) {
    std::vector<TRawAnswer> answers;
    for (;;) {
        const std::size_t headEnd = bytes.find("\r\n\r\n");
        if (headEnd == std::string::npos || bytes.compare(0, 9, "HTTP/1.1 ") != 0) return answers;
        TRawAnswer answer;
        answer.Head = bytes.substr(0, headEnd + 2);
        answer.Status = std::atoi(answer.Head.c_str() + 9);
        std::size_t length = 0;
        for (std::size_t line = answer.Head.find("\r\n"); line != std::string::npos;
             line = answer.Head.find("\r\n", line + 2)) {
            if (strncasecmp(answer.Head.c_str() + line + 2, "Content-Length:", 15) == 0)
                length = std::strtoul(answer.Head.c_str() + line + 17, nullptr, 10);
        }
        if (bytes.size() < headEnd + 4 + length) return answers;
        answer.Body = bytes.substr(headEnd + 4, length);
        bytes.erase(0, headEnd + 4 + length);
        answers.push_back(std::move(answer));
    }
}

}  // namespace quillon::testing
