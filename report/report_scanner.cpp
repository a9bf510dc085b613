#include "report/report_scanner.h"

#include <cstddef>
#include <iterator>

#include "report/config_snapshot.h"

namespace {

constexpr char ETHERNET_HEADER[] = "Ethernet adapter";
constexpr std::size_t ETHERNET_HEADER_STEP =
    sizeof ETHERNET_HEADER;  // the key and the blank after it
static_assert(ETHERNET_HEADER_STEP == 17, "the key is 16 bytes and one more is stepped over");

constexpr char OTHER_ADAPTER_WORD[] = " adapter ";

// Where a key's value goes: a host field, or the current slot's row of one of the
// adapter tables (the column's offset within AdapterRecord and its row width).
struct KeyDestination {
  const char* key;
  char* hostField;  // null for an adapter key
  std::size_t column;
  std::size_t width;
};

#define HOST_KEY(text, member) \
  KeyDestination { text, configSnapshot.host.member, 0, sizeof configSnapshot.host.member }
#define ADAPTER_KEY(text, member)                                                            \
  KeyDestination {                                                                           \
    text, nullptr, offsetof(AdapterRecord, member), sizeof configSnapshot.adapters.member[0] \
  }

// Tested in this order on every line; the first match wins.
const KeyDestination keyTable[] = {
    HOST_KEY("Host Name", hostName),
    HOST_KEY("DNS Servers", dnsServers),
    HOST_KEY("Node Type", nodeType),
    HOST_KEY("NetBIOS Scope ID", netbiosScopeId),
    HOST_KEY("IP Routing Enabled", ipRoutingEnabled),
    HOST_KEY("WINS Proxy Enabled", winsProxyEnabled),
    HOST_KEY("NetBIOS Resolution Uses DNS", netbiosUsesDns),
    ADAPTER_KEY("Description", description),
    ADAPTER_KEY("Physical Address", physicalAddress),
    ADAPTER_KEY("IP Address", ipAddress),
    ADAPTER_KEY("Subnet Mask", subnetMask),
    ADAPTER_KEY("Default Gateway", defaultGateway),
    ADAPTER_KEY("DHCP Server", dhcpServer),
    ADAPTER_KEY("Primary WINS Server", primaryWinsServer),
    ADAPTER_KEY("Secondary WINS Server", secondaryWinsServer),
    ADAPTER_KEY("Lease Obtained", leaseObtained),
    ADAPTER_KEY("Lease Expires", leaseExpires),
};
static_assert(std::size(keyTable) == 17, "seven host keys and ten adapter keys");

#undef HOST_KEY
#undef ADAPTER_KEY

constexpr int NO_SLOT = -1;

bool FoldedEqual(unsigned char a, unsigned char b) { return (a & 0xDF) == (b & 0xDF); }

// Bytes of value 0x10 or less (NUL, tab, CR, LF among them) end a value.
bool EndsValue(unsigned char byte) { return byte <= 0x10; }

const char* SkipBlanks(const char* pos) {
  while (*pos == ' ' || *pos == '\t') ++pos;
  return pos;
}

// A line such as "PPP adapter RAS:" heads an adapter of another kind: the text
// before the line's first ':' holds " adapter " and that ':' ends it on this line.
bool IsOtherAdapterHeader(const char* line) {
  const char* end = line;
  while (*end != '\0' && *end != ':' && *end != '\r' && *end != '\n') ++end;
  if (*end != ':') return false;
  const std::size_t wordLength = sizeof OTHER_ADAPTER_WORD - 1;
  for (const char* at = line; static_cast<std::size_t>(end - at) >= wordLength; ++at) {
    std::size_t i = 0;
    while (i < wordLength && FoldedEqual(static_cast<unsigned char>(at[i]),
                                         static_cast<unsigned char>(OTHER_ADAPTER_WORD[i])))
      ++i;
    if (i == wordLength) return true;
  }
  return false;
}

// Copies the connection name up to ':' or NUL, blanks as '?', keeping what fits in
// the field (none when destination is null). Returns the position of the ':' or NUL.
const char* CopyAdapterName(const char* pos, char* destination) {
  std::size_t kept = 0;
  for (; *pos != '\0' && *pos != ':'; ++pos) {
    if (destination != nullptr && kept < LONG_FIELD_SIZE - 1)
      destination[kept++] = (*pos == ' ') ? '?' : *pos;
  }
  if (destination != nullptr) destination[kept] = '\0';
  return pos;
}

// Takes the value after the next ':' and stores what fits (nothing when destination
// is null). Returns the position of the byte that ended the value.
const char* CopyValue(const char* pos, char* destination, std::size_t width) {
  while (*pos != '\0' && *pos != ':') ++pos;
  if (*pos == ':') ++pos;
  pos = SkipBlanks(pos);
  std::size_t kept = 0;
  for (; !EndsValue(static_cast<unsigned char>(*pos)); ++pos) {
    if (destination != nullptr && kept < width - 1) destination[kept++] = *pos;
  }
  if (destination != nullptr) destination[kept] = '\0';
  return pos;
}

// The field a key's value goes to, or null when it is an adapter key and no slot
// is current.
char* Destination(const KeyDestination& entry, int slot) {
  if (entry.hostField != nullptr) return entry.hostField;
  if (slot == NO_SLOT) return nullptr;
  return reinterpret_cast<char*>(&configSnapshot.adapters) + entry.column +
         static_cast<std::size_t>(slot) * entry.width;
}

const char* NextLine(const char* pos) {
  while (*pos != '\0' && !(pos[0] == '\r' && pos[1] == '\n')) ++pos;
  return (*pos == '\0') ? pos : pos + 2;
}

}  // namespace

bool StartsWithNoCase(const char* text, const char* key) {
  while (*text != '\0' && *key != '\0' &&
         FoldedEqual(static_cast<unsigned char>(*text), static_cast<unsigned char>(*key))) {
    ++text;
    ++key;
  }
  return *key == '\0';
}

void ScanReport(const char* report) {
  int currentSlot = NO_SLOT;  // lines before the first Ethernet header belong to no adapter
  const char* pos = report;
  while (*pos != '\0') {
    pos = SkipBlanks(pos);

    if (StartsWithNoCase(pos, ETHERNET_HEADER)) {
      for (std::size_t i = 0; i < ETHERNET_HEADER_STEP && *pos != '\0'; ++i) ++pos;
      char* name = nullptr;
      currentSlot = NO_SLOT;  // a header beyond the last slot opens none
      if (configSnapshot.adapterCount >= 0 && configSnapshot.adapterCount < ADAPTER_SLOTS) {
        currentSlot = configSnapshot.adapterCount++;
        name = configSnapshot.adapters.name[currentSlot];
      }
      pos = CopyAdapterName(pos, name);
    } else if (IsOtherAdapterHeader(pos)) {
      currentSlot = NO_SLOT;  // its lines must not land in the Ethernet adapter before it
    }

    for (const KeyDestination& entry : keyTable) {
      if (!StartsWithNoCase(pos, entry.key)) continue;
      pos = CopyValue(pos, Destination(entry, currentSlot), entry.width);
      break;
    }

    pos = NextLine(pos);
  }
}
