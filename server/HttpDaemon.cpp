// The server's HTTP layer on libmicrohttpd.
#include "server/HttpDaemon.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string_view>
#include <thread>

#include "server/AddressGroup.h"

namespace quillon::server {

struct THttpDaemon::TRequestState {
    THttpRequest Request;
    int Status = 0;
    std::size_t Bytes = 0;
    bool HeadSeen = false;
    bool Answered = false;
    bool ReadingBody = false;
    std::size_t BodyLength = 0;  // as announced
    std::string BodyFrom;        // the address group its body counts against
};

namespace {

std::string ClientAddress(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (!info || !info->client_addr) return "-";
    char text[INET6_ADDRSTRLEN] = {};
    const sockaddr* address = info->client_addr;
    if (address->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
    else if (address->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr, text, sizeof text);
    return text[0] ? text : "-";
}

// The address a trusted proxy appended last to X-Forwarded-For; empty when there is none.
std::string ForwardedAddress(MHD_Connection* connection) {
    const char* header = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Forwarded-For");
    if (!header) return "";
    std::string_view list(header);
    const std::size_t comma = list.rfind(',');
    std::string last(comma == std::string_view::npos ? list : list.substr(comma + 1));
    last.erase(0, last.find_first_not_of(" \t"));
    last.erase(last.find_last_not_of(" \t") + 1);
    in6_addr six{};
    in_addr four{};
    if (inet_pton(AF_INET, last.c_str(), &four) == 1 || inet_pton(AF_INET6, last.c_str(), &six) == 1) return last;
    return "";
}

// Every Accept-Language line of the head as one list, as HTTP reads lines of one name; within
// the head's limit, so never longer than 16 KiB.
std::string AcceptLanguage(MHD_Connection* connection) {
    std::string list;
    MHD_get_connection_values_n(
        connection, MHD_HEADER_KIND,
        [](void* text, MHD_ValueKind, const char* name, std::size_t, const char* value, std::size_t valueSize) {
            auto& joined = *static_cast<std::string*>(text);
            if (name && value && strcasecmp(name, MHD_HTTP_HEADER_ACCEPT_LANGUAGE) == 0) {
                if (!joined.empty()) joined += ',';
                joined.append(value, valueSize);
            }
            return MHD_YES;
        },
        &list);
    return list;
}

bool AnnouncesBody(MHD_Connection* connection) {
    const char* length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    return MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING) ||
           (length && std::string_view(length) != "0");
}

// A Content-Length of digits only that fits; nothing otherwise.
std::optional<std::size_t> AnnouncedLength(MHD_Connection* connection) {
    const char* length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (!length || MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING))
        return std::nullopt;
    const std::string_view text(length);
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return static_cast<std::size_t>(std::stoull(std::string(text)));
}

// Room in a connection's memory beyond its request head, so that every head within the limit is
// answered: the library's record of each header line (about 64 bytes, and a request has at most
// a few dozen) and the answer's own head.
constexpr std::size_t kConnectionRoom = 8192;

std::size_t RequestLineBytes(std::string_view method, std::string_view target) {
    return method.size() + 1 + target.size() + std::string_view(" HTTP/1.1\r\n").size();
}

struct THeadSize {
    std::size_t Bytes = 0;
    std::size_t Lines = 0;
};

// The request head as sent, counted from what the library parsed: the request line, each header
// line and the empty line that ends them.
THeadSize MeasureHead(MHD_Connection* connection, std::size_t requestLineBytes) {
    THeadSize size{requestLineBytes + 2, 0};
    MHD_get_connection_values_n(
        connection, MHD_HEADER_KIND,
        [](void* sum, MHD_ValueKind, const char*, std::size_t nameSize, const char*, std::size_t valueSize) {
            auto& head = *static_cast<THeadSize*>(sum);
            head.Bytes += nameSize + 2 + valueSize + 2;
            ++head.Lines;
            return MHD_YES;
        },
        &size);
    return size;
}

// A head over the limit is refused by a fixed answer written straight to the socket, since the
// connection's memory (which holds the head) may have no room left to build one; the library
// then closes the connection.
void RefuseHead(MHD_Connection* connection, int status, std::string_view text) {
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    if (!info) return;
    const std::string body = std::string(text) + "\n";
    const std::string answer = "HTTP/1.1 " + std::to_string(status) +
                               (status == 414 ? " URI Too Long" : " Request Header Fields Too Large") +
                               "\r\nConnection: close\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
                               std::to_string(body.size()) + "\r\n\r\n" + body;
    // Small enough for the socket's buffer; a client that does not read it loses it.
    [[maybe_unused]] const ssize_t sent = send(info->connect_fd, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

THttpDaemon& Daemon(void* self) { return *static_cast<THttpDaemon*>(self); }

void* RequestStarted(void* self, const char* target, MHD_Connection* connection) {
    return Daemon(self).OnRequestStart(target, connection);
}

MHD_Result RequestHead(void* self, MHD_Connection* connection, const char* /*url*/, const char* method,
                       const char* /*version*/, const char* upload, std::size_t* uploadSize, void** state) {
    return Daemon(self).OnRequest(connection, method, upload, uploadSize, state) ? MHD_YES : MHD_NO;
}

void RequestEnded(void* self, MHD_Connection* connection, void** state, MHD_RequestTerminationCode) {
    Daemon(self).OnRequestEnd(connection, state);
}

void ConnectionChanged(void* self, MHD_Connection* connection, void**, MHD_ConnectionNotificationCode code) {
    Daemon(self).OnConnection(connection, code == MHD_CONNECTION_NOTIFY_STARTED);
}

}  // namespace

THttpAnswer TextAnswer(int status, const std::string& text) {
    THttpAnswer answer;
    answer.Status = status;
    answer.Body = text + "\n";
    return answer;
}

THttpDaemon::THttpDaemon(THttpLimits limits, THandler handler, TLogger logger, std::function<double()> steadyClock)
    : FLimits(limits), FHandler(std::move(handler)), FLogger(std::move(logger)), FClock(std::move(steadyClock)),
      FDeadlines(limits.HeadSeconds) {}

THttpDaemon::~THttpDaemon() {
    Stop();
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [&] { return FDaemon == nullptr; });
}

int THttpDaemon::Bind(const std::string& host, int port) { return FListen.Bind(host, port); }

bool THttpDaemon::Run() {
    {
        std::lock_guard lock(FMutex);
        if (FStopping) return true;
        if (FListen.Descriptor() < 0) return false;
        const unsigned idleSeconds = static_cast<unsigned>(FLimits.HeadSeconds + 0.999);
        FDaemon = MHD_start_daemon(
            MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_ITC, 0, nullptr, nullptr, &RequestHead, this,
            MHD_OPTION_LISTEN_SOCKET, FListen.Descriptor(),
            MHD_OPTION_THREAD_POOL_SIZE, static_cast<unsigned>(FLimits.Threads),
            MHD_OPTION_CONNECTION_MEMORY_LIMIT, FLimits.HeadBytes + kConnectionRoom,
            MHD_OPTION_PER_IP_CONNECTION_LIMIT, static_cast<unsigned>(FLimits.PerAddress),
            MHD_OPTION_CONNECTION_LIMIT, static_cast<unsigned>(FLimits.Connections),
            MHD_OPTION_CONNECTION_TIMEOUT, idleSeconds,
            MHD_OPTION_URI_LOG_CALLBACK, &RequestStarted, this,
            MHD_OPTION_NOTIFY_COMPLETED, &RequestEnded, this,
            MHD_OPTION_NOTIFY_CONNECTION, &ConnectionChanged, this,
            MHD_OPTION_END);
        if (!FDaemon) return false;
        FListen.Release();  // the library closes it from now on
    }
    std::thread watcher([this] { WatchDeadlines(); });
    {
        std::unique_lock lock(FMutex);
        FChanged.wait(lock, [&] { return FStopping; });
    }
    const double giveUp = FClock() + FLimits.StopSeconds;
    while (FAnswering > 0 && FClock() < giveUp) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    {
        std::lock_guard lock(FMutex);
        FRunEnded = true;
    }
    FChanged.notify_all();
    watcher.join();
    // Not under the lock: stopping calls back into this object as connections close.
    MHD_stop_daemon(FDaemon);
    {
        std::lock_guard lock(FMutex);
        FDaemon = nullptr;
    }
    FChanged.notify_all();
    return true;
}

void THttpDaemon::Stop() {
    {
        std::lock_guard lock(FMutex);
        if (FStopping) return;
        FStopping = true;
        // From here on a new connection is refused by the system, not left waiting.
        if (FDaemon) {
            const MHD_socket listening = MHD_quiesce_daemon(FDaemon);
            if (listening != MHD_INVALID_SOCKET) close(listening);
        }
    }
    FDeadlines.ShutDownLate(FClock(), true);
    FChanged.notify_all();
}

void THttpDaemon::WatchDeadlines() {
    std::unique_lock lock(FMutex);
    while (!FRunEnded) {
        const bool stopping = FStopping;
        lock.unlock();
        FDeadlines.ShutDownLate(FClock(), stopping);
        lock.lock();
        FChanged.wait_for(lock, std::chrono::milliseconds(100), [&] { return FRunEnded; });
    }
}

void THttpDaemon::OnConnection(MHD_Connection* connection, bool opened) {
    if (!opened) return FDeadlines.Closed(connection);
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    if (info) FDeadlines.Opened(connection, info->connect_fd, FClock());
}

void* THttpDaemon::OnRequestStart(const char* target, MHD_Connection* connection) {
    auto* state = new TRequestState;
    state->Request.Target = target ? target : "";
    state->Request.Address = ClientAddress(connection);
    return state;
}

int THttpDaemon::OnRequest(MHD_Connection* connection, const char* method, const char* upload, std::size_t* uploadSize,
                           void** state) {
    auto* request = static_cast<TRequestState*>(*state);
    if (!request) return 0;
    if (!request->HeadSeen) {
        const std::string_view requestMethod = method ? method : "";
        const std::size_t lineBytes = RequestLineBytes(requestMethod, request->Request.Target);
        const THeadSize head = MeasureHead(connection, lineBytes);
        if (head.Bytes > FLimits.HeadBytes || head.Lines > FLimits.HeaderLines) {
            request->Request.Method = requestMethod;
            request->Status = lineBytes > FLimits.HeadBytes ? 414 : 431;
            const char* text = request->Status == 414                ? "request line too long"
                               : head.Lines > FLimits.HeaderLines ? "too many header lines"
                                                                     : "request head too large";
            request->Bytes = std::string_view(text).size() + 1;
            RefuseHead(connection, request->Status, text);
            return 0;
        }
        // The first call comes with the head alone. Without a body, answering on the next call
        // keeps the connection alive; a body no route takes is not waited for: the answer
        // goes at once and the library closes the connection after it.
        request->HeadSeen = true;
        ++FAnswering;
        FDeadlines.HeadComplete(connection);
        if (!FLimits.TrustProxy.empty() && request->Request.Address == FLimits.TrustProxy) {
            const std::string forwarded = ForwardedAddress(connection);
            if (!forwarded.empty()) request->Request.Address = forwarded;
        }
        request->Request.AcceptLanguage = AcceptLanguage(connection);
        if (!AnnouncesBody(connection)) return 1;
        const std::size_t limit =
            FLimits.BodyLimit ? FLimits.BodyLimit(method ? method : "", request->Request.Target) : 0;
        if (limit > 0) return BeginBody(connection, *request, method, limit);
    } else if (request->ReadingBody) {
        if (*uploadSize > 0) {
            const std::size_t room = request->BodyLength - request->Request.Body.size();
            request->Request.Body.append(upload, std::min(*uploadSize, room));
            *uploadSize = 0;
            return 1;
        }
        // The whole body is in: from here on the request is being answered.
        EndBody(*request);
        FDeadlines.HeadComplete(connection);
    } else if (*uploadSize > 0 || request->Answered) {
        *uploadSize = 0;
        return 1;
    }
    request->Answered = true;
    request->Request.Method = method ? method : "";

    THttpAnswer answer;
    try {
        answer = FHandler(request->Request);
    } catch (...) {
        answer = TextAnswer(500, "internal error");
    }
    return Respond(connection, *request, answer);
}

int THttpDaemon::BeginBody(MHD_Connection* connection, TRequestState& request, const char* method,
                           std::size_t limit) {
    const std::optional<std::size_t> length = AnnouncedLength(connection);
    request.Request.Method = method ? method : "";
    // Refused before a byte of the body is read; the library closes the connection after.
    request.Answered = true;
    if (!length) return Respond(connection, request, TextAnswer(411, "a body needs its Content-Length"));
    if (*length > limit) return Respond(connection, request, TextAnswer(413, "request body too large"));
    if (FLimits.AdmitBody) {
        if (std::optional<THttpAnswer> refused = FLimits.AdmitBody(request.Request))
            return Respond(connection, request, *refused);
        request.Request.Admitted = true;
    }
    // A body's place counts from its head: a client trickling bodies holds its own places only.
    const std::string from = AddressGroup(request.Request.Address);
    const char* busy = nullptr;
    {
        std::lock_guard lock(FMutex);
        std::size_t& fromThere = FBodiesFrom[from];
        if (fromThere >= FLimits.BodiesPerAddress) busy = "too many uploads from your address at once";
        else if (FBodies >= FLimits.Bodies) busy = "too many uploads at once";
        if (busy && fromThere == 0) FBodiesFrom.erase(from);
        if (!busy) {
            ++fromThere;
            ++FBodies;
        }
    }
    if (busy) {
        THttpAnswer refused = TextAnswer(503, busy);
        refused.Headers.emplace_back("Retry-After", "5");
        return Respond(connection, request, refused);
    }
    request.BodyFrom = from;
    request.Answered = false;
    request.ReadingBody = true;
    request.BodyLength = *length;
    request.Request.Body.reserve(*length);
    FDeadlines.BodyExpected(connection, FClock() + FLimits.BodySeconds);
    return 1;
}

void THttpDaemon::EndBody(TRequestState& request) {
    request.ReadingBody = false;
    std::lock_guard lock(FMutex);
    --FBodies;
    const auto from = FBodiesFrom.find(request.BodyFrom);
    if (from != FBodiesFrom.end() && --from->second == 0) FBodiesFrom.erase(from);
}

int THttpDaemon::Respond(MHD_Connection* connection, TRequestState& request, const THttpAnswer& answer) {
    request.Status = answer.Status;
    request.Bytes = answer.Body.size();
    // Copied by the library: the buffer is only read.
    MHD_Response* response = MHD_create_response_from_buffer(
        answer.Body.size(), const_cast<char*>(answer.Body.data()), MHD_RESPMEM_MUST_COPY);
    if (!response) return 0;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, answer.ContentType.c_str());
    for (const auto& [name, value] : answer.Headers) MHD_add_response_header(response, name.c_str(), value.c_str());
    bool stopping;
    {
        std::lock_guard lock(FMutex);
        stopping = FStopping;
    }
    if (stopping) MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
    const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(answer.Status), response);
    MHD_destroy_response(response);
    return queued == MHD_YES;
}

void THttpDaemon::OnRequestEnd(MHD_Connection* connection, void** state) {
    auto* request = static_cast<TRequestState*>(*state);
    *state = nullptr;
    FDeadlines.Answered(connection, FClock());
    if (!request) return;
    if (FLogger) FLogger(request->Request, request->Status, request->Bytes);
    if (request->HeadSeen) --FAnswering;
    if (request->ReadingBody) EndBody(*request);  // the connection ended in the middle of the body
    delete request;
}

}  // namespace quillon::server
