// THttpDaemon: the server's HTTP/1.1 layer on libmicrohttpd. A few event-driven threads (each
// with its own epoll set) serve every connection, so a slow or idle client costs a socket and
// a little memory, never a worker. The library bounds each connection's memory (the whole
// request head must fit), the connections per address and in all, and answers pipelined
// requests in order; TConnectionDeadlines adds a deadline for each request head. A head within
// HeadBytes and HeaderLines is always answered, a longer one always refused (414 or 431). A request
// body is read only where the routes take one (BodyLimit), with a length given in advance, a
// deadline of its own and a bound on the bodies read at once. The routes see a plain request
// and give a plain answer, written out in one piece.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "server/ConnectionDeadlines.h"
#include "server/ListenSocket.h"

struct MHD_Daemon;
struct MHD_Connection;

namespace quillon::server {

struct THttpRequest {
    std::string Method;
    std::string Target;  // as sent: path and query, not decoded
    std::string Address;
    std::string Body;  // only on the routes that take one
    bool Admitted = false;  // its head was let in by AdmitBody before its body was read
    std::string AcceptLanguage;  // every Accept-Language line of the head, joined by commas
};

struct THttpAnswer {
    int Status = 200;
    std::string Body;
    std::string ContentType = "text/plain; charset=utf-8";
    std::vector<std::pair<std::string, std::string>> Headers;
};

// A plain-text answer: the status and one line.
THttpAnswer TextAnswer(int status, const std::string& text);

struct THttpLimits {
    std::size_t Threads = 4;
    double HeadSeconds = 5;          // to send a whole request head, also the most a connection idles
    std::size_t HeadBytes = 16384;   // request line and headers together
    std::size_t HeaderLines = 64;    // header lines of one request
    std::size_t PerAddress = 32;     // connections open from one address
    std::size_t Connections = 1000;  // connections open in all
    double StopSeconds = 3;          // the longest stopping waits for requests being answered
    double BodySeconds = 10;         // to send a whole request body after its head
    std::size_t Bodies = 16;         // bodies being read at once
    std::size_t BodiesPerAddress = 2;  // of them from one address group (AddressGroup)
    // The largest body the request may carry (0: it takes none), asked when its head is in.
    std::function<std::size_t(const std::string& method, const std::string& target)> BodyLimit;
    // Asked when the head of a body that will be read is in: an answer refuses it at once.
    std::function<std::optional<THttpAnswer>(const THttpRequest&)> AdmitBody;
    // A proxy in front: a request from this address is the client's whose address it appends
    // last to X-Forwarded-For. Empty: every request is its connection's.
    std::string TrustProxy;
};

class THttpDaemon {
public:
    using THandler = std::function<THttpAnswer(const THttpRequest&)>;
    // One line per finished request: the request, its answer's status and body size (status 0
    // when the connection ended before an answer).
    using TLogger = std::function<void(const THttpRequest&, int status, std::size_t bytes)>;

    THttpDaemon(THttpLimits limits, THandler handler, TLogger logger, std::function<double()> steadyClock);
    ~THttpDaemon();
    THttpDaemon(const THttpDaemon&) = delete;
    THttpDaemon& operator=(const THttpDaemon&) = delete;

    // Port 0 picks a free one. The bound port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop, then finishes the requests being answered (for at most StopSeconds)
    // and closes every connection. False when serving could not start.
    bool Run();
    // Safe from any thread, also before Run (Run then returns at once). Returns at once: new
    // connections are refused from here on and connections not being answered are closed.
    void Stop();

    // Used by the library's callbacks.
    struct TRequestState;
    void OnConnection(MHD_Connection* connection, bool opened);
    void* OnRequestStart(const char* target, MHD_Connection* connection);
    int OnRequest(MHD_Connection* connection, const char* method, const char* upload, std::size_t* uploadSize,
                  void** state);
    void OnRequestEnd(MHD_Connection* connection, void** state);

private:
    void WatchDeadlines();
    // Starts reading an announced body, or answers at once why it is not read.
    int BeginBody(MHD_Connection* connection, TRequestState& request, const char* method, std::size_t limit);
    void EndBody(TRequestState& request);
    int Respond(MHD_Connection* connection, TRequestState& request, const THttpAnswer& answer);

    THttpLimits FLimits;
    THandler FHandler;
    TLogger FLogger;
    std::function<double()> FClock;
    TListenSocket FListen;
    TConnectionDeadlines FDeadlines;

    std::mutex FMutex;
    std::condition_variable FChanged;
    MHD_Daemon* FDaemon = nullptr;
    bool FStopping = false;
    bool FRunEnded = false;
    std::atomic<std::size_t> FAnswering = 0;  // requests whose head has come and whose answer has not gone out
    std::atomic<std::size_t> FBodies = 0;     // bodies being read
    std::map<std::string, std::size_t> FBodiesFrom;  // of them by address group, under FMutex
};

}  // namespace quillon::server
