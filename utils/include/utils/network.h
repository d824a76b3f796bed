// Network connectivity probe.
#pragma once

#include <cstdint>

namespace Utils {

// Connectivity flags, as the network list service reports them.
enum ConnectivityFlags : uint32_t {
  kConnectivityDisconnected = 0x0000,
  kConnectivityIpv4NoTraffic = 0x0001,
  kConnectivityIpv6NoTraffic = 0x0002,
  kConnectivityIpv4Subnet = 0x0010,
  kConnectivityIpv4LocalNetwork = 0x0020,
  kConnectivityIpv4Internet = 0x0040,
  kConnectivityIpv6Subnet = 0x0100,
  kConnectivityIpv6LocalNetwork = 0x0200,
  kConnectivityIpv6Internet = 0x0400,
};

// Findings in the high 16 bits of CheckNetwork's answer.
enum NetworkFinding : uint32_t {
  kNetworkConnected = 0,         // on the internet, or the service was unavailable
  kNetworkNoConnectivity = 1,    // no connectivity flags at all
  kNetworkNotOnInternet = 2,     // flags present, but not on the internet
};

// Answers flags + finding * 65536. On Windows it asks the network list
// manager (the calling thread must have initialised COM); elsewhere it looks
// for interfaces that are up and not loopback and for a default route.
// Logs "GetConnectivity %d" or "get_IsConnectedToInternet:%d" when not
// connected. Blocks briefly; call it off the UI thread.
uint32_t CheckNetwork();

namespace detail {
// What the POSIX probe found, and the answer it makes of it: families with an
// address and a default route are "internet", with an address only "local
// network", without an address "no traffic"; no usable interface at all
// gives no flags.
struct NetworkFacts {
  bool interfaceUp = false;  // an interface that is up, running, not loopback
  bool ipv4Address = false;
  bool ipv6Address = false;  // global scope
  bool ipv4DefaultRoute = false;
  bool ipv6DefaultRoute = false;
};
uint32_t ConnectivityFlagsFromFacts(const NetworkFacts& facts);
}  // namespace detail

inline uint32_t ConnectivityFlagsOf(uint32_t answer) { return answer & 0xFFFFu; }
inline uint32_t NetworkFindingOf(uint32_t answer) { return answer >> 16; }

}  // namespace Utils
