#include "utils/network.h"

namespace Utils {
namespace detail {

uint32_t ConnectivityFlagsFromFacts(const NetworkFacts& f) {
  if (!f.interfaceUp) return kConnectivityDisconnected;
  uint32_t flags = 0;
  if (!f.ipv4Address) flags |= kConnectivityIpv4NoTraffic;
  else flags |= f.ipv4DefaultRoute ? kConnectivityIpv4Internet : kConnectivityIpv4LocalNetwork;
  if (!f.ipv6Address) flags |= kConnectivityIpv6NoTraffic;
  else flags |= f.ipv6DefaultRoute ? kConnectivityIpv6Internet : kConnectivityIpv6LocalNetwork;
  return flags;
}

}  // namespace detail
}  // namespace Utils
