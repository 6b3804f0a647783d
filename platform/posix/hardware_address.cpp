#include "data/hardware_address.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/socket.h>

#include <cstring>

bool PlatformHardwareAddress(uint8_t address[6]) {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  bool found = false;
  for (ifaddrs* entry = list; entry && !found; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_PACKET) continue;
    if (entry->ifa_flags & IFF_LOOPBACK) continue;
    const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
    if (link->sll_halen != 6) continue;
    static const uint8_t kZero[6] = {};
    if (std::memcmp(link->sll_addr, kZero, 6) == 0) continue;
    std::memcpy(address, link->sll_addr, 6);
    found = true;
  }
  freeifaddrs(list);
  return found;
}
