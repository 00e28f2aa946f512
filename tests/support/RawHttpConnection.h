// TRawHttpConnection: a loopback TCP connection that sends exactly the bytes a test gives it,
// for clients no HTTP library would be: slow, flooding, pipelining. It can connect from any
// address of 127.0.0.0/8, so many clients need not share one address.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon::testing {

struct TRawAnswer {
    int Status = 0;
    std::string Head;  // status line and headers
    std::string Body;
};

class TRawHttpConnection {
public:
    TRawHttpConnection(int port, const std::string& from = "127.0.0.1");
    ~TRawHttpConnection();
    TRawHttpConnection(const TRawHttpConnection&) = delete;
    TRawHttpConnection& operator=(const TRawHttpConnection&) = delete;

    bool Connected() const { return FDescriptor >= 0; }
    // False once the server has closed or reset the connection.
    bool Send(std::string_view bytes);
    // Reads until `count` whole answers have come, the server closes, or `seconds` pass.
    std::vector<TRawAnswer> ReadAnswers(std::size_t count, double seconds);
    // True when the server closes the connection within `seconds` (any answer is read and dropped).
    bool ClosedWithin(double seconds);

private:
    int FDescriptor = -1;
    std::string FPending;
};

// A GET of `target` as a browser would send it, keeping the connection alive.
std::string GetRequest(const std::string& target, const std::string& extraHeaders = "");

// The whole answers at the front of `bytes` (bodies by Content-Length); the rest stays in it.
std::vector<TRawAnswer> TakeAnswers(std::string& bytes);

}  // namespace quillon::testing
