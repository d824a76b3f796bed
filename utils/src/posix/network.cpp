// Connectivity elsewhere than Windows: interfaces that are up and not
// loopback (getifaddrs) and default routes (/proc/net/route and
// /proc/net/ipv6_route), folded into the network list service's flags.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <sstream>
#include <string>

#include "utils/file.h"
#include "utils/log.h"
#include "utils/network.h"

namespace Utils {

namespace {

bool HasIpv4DefaultRoute() {
  std::string text;
  if (!ReadWholeFile(L"/proc/net/route", text)) return false;
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string iface, destination, gateway, flags, refcnt, use, metric, mask;
    fields >> iface >> destination >> gateway >> flags >> refcnt >> use >> metric >> mask;
    const unsigned long f = std::stoul(flags.empty() ? "0" : flags, nullptr, 16);
    if (iface != "lo" && destination == "00000000" && mask == "00000000" && (f & 1u)) return true;
  }
  return false;
}

bool HasIpv6DefaultRoute() {
  std::string text;
  if (!ReadWholeFile(L"/proc/net/ipv6_route", text)) return false;
  std::istringstream in(text);
  std::string line;
  const std::string zero(32, '0');
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string dst, dstLen, src, srcLen, next, metric, ref, use, flags, iface;
    fields >> dst >> dstLen >> src >> srcLen >> next >> metric >> ref >> use >> flags >> iface;
    const unsigned long f = std::stoul(flags.empty() ? "0" : flags, nullptr, 16);
    // RTF_UP, and not the "unreachable" (RTF_REJECT 0x200) placeholder.
    if (dst == zero && dstLen == "00" && iface != "lo" && (f & 1u) && !(f & 0x200u)) return true;
  }
  return false;
}

detail::NetworkFacts GatherFacts() {
  detail::NetworkFacts facts;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return facts;
  for (ifaddrs* a = list; a; a = a->ifa_next) {
    const unsigned flags = a->ifa_flags;
    if (!(flags & IFF_UP) || !(flags & IFF_RUNNING) || (flags & IFF_LOOPBACK)) continue;
    facts.interfaceUp = true;
    if (!a->ifa_addr) continue;
    if (a->ifa_addr->sa_family == AF_INET) facts.ipv4Address = true;
    if (a->ifa_addr->sa_family == AF_INET6) {
      const auto* in6 = reinterpret_cast<const sockaddr_in6*>(a->ifa_addr);
      if (!IN6_IS_ADDR_LINKLOCAL(&in6->sin6_addr) && !IN6_IS_ADDR_LOOPBACK(&in6->sin6_addr)) {
        facts.ipv6Address = true;
      }
    }
  }
  freeifaddrs(list);
  facts.ipv4DefaultRoute = facts.ipv4Address && HasIpv4DefaultRoute();
  facts.ipv6DefaultRoute = facts.ipv6Address && HasIpv6DefaultRoute();
  return facts;
}

}  // namespace

uint32_t CheckNetwork() {
  const detail::NetworkFacts facts = GatherFacts();
  const uint32_t flags = detail::ConnectivityFlagsFromFacts(facts);
  uint32_t finding = kNetworkConnected;
  if (flags != 0) {
    const bool internet = (flags & (kConnectivityIpv4Internet | kConnectivityIpv6Internet)) != 0;
    if (!internet) {
      UTILS_LOG(L"get_IsConnectedToInternet:%d", 0);
      finding = kNetworkNotOnInternet;
    }
  } else {
    UTILS_LOG(L"GetConnectivity %d", static_cast<int>(flags));
    finding = kNetworkNoConnectivity;
  }
  return flags + finding * 65536u;
}

}  // namespace Utils
