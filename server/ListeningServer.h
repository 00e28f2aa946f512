// TListeningServer: cpp-httplib's server with a listen backlog fit for bursts of clients (the
// library's own is 5, so a burst of new connections would wait for the system's SYN retries).
#pragma once

#include <httplib.h>
#include <sys/socket.h>

namespace quillon::server {

class TListeningServer : public httplib::Server {
public:
    // Call after binding; on Linux a second listen() only changes the backlog.
    bool WidenBacklog(int backlog) { return ::listen(svr_sock_, backlog) == 0; }
};

}  // namespace quillon::server
