// Grouping client addresses.
#include "server/AddressGroup.h"

#include <arpa/inet.h>

#include <cstdio>

namespace quillon::server {

std::string AddressGroup(const std::string& address) {
    in6_addr six{};
    if (address.find(':') == std::string::npos || inet_pton(AF_INET6, address.c_str(), &six) != 1) return address;
    const unsigned char* b = six.s6_addr;
    static constexpr unsigned char kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    bool mapped = true;
    for (int i = 0; i < 12; ++i) mapped = mapped && b[i] == kMappedPrefix[i];
    char text[64];
    if (mapped)
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[12], b[13], b[14], b[15]);
    else
        std::snprintf(text, sizeof text, "%x:%x:%x:%x::/64", b[0] << 8 | b[1], b[2] << 8 | b[3], b[4] << 8 | b[5],
                      b[6] << 8 | b[7]);
    return text;
}

}  // namespace quillon::server
