// The address a client is counted and known by: an IPv4 address itself, an IPv6 address by
// its /64 (one subscriber's network holds millions of addresses), an IPv4 address written
// as IPv6 (::ffff:a.b.c.d) as that IPv4 address.
#pragma once

#include <string>

namespace quillon::server {

// Text that is no address stays as it is.
std::string AddressGroup(const std::string& address);

}  // namespace quillon::server
