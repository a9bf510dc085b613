#include "ipconfig/platform_config.h"

#include <cstring>

#include "ipconfig/ansi_text.h"
#include "ipconfig/system_message.h"

// The 32-bit system fills its structures in this layout, with 4-byte lease times.
#ifndef _WIN64
static_assert(sizeof(time_t) == 4 && sizeof(IP_ADAPTER_INFO) == 640 &&
                  offsetof(IP_ADAPTER_INFO, LeaseObtained) == 632 &&
                  offsetof(IP_ADAPTER_INFO, LeaseExpires) == 636,
              "IP_ADAPTER_INFO as 32-bit Windows fills it");
static_assert(sizeof(FIXED_INFO) == 584 && offsetof(FIXED_INFO, NodeType) == 308,
              "FIXED_INFO as 32-bit Windows fills it");
#endif
static_assert(sizeof(IP_ADDRESS_STRING) == ADDRESS_SIZE, "an address as the system writes it");

namespace {

const char* NodeTypeName(UINT type) {
  switch (type) {
    case BROADCAST_NODETYPE: return "Broadcast";
    case PEER_TO_PEER_NODETYPE: return "Peer-Peer";
    case MIXED_NODETYPE: return "Mixed";
    case HYBRID_NODETYPE: return "Hybrid";
    default: return "Unknown";
  }
}

// Copies the entries of a list, leaving out empty ones and those that only mark an
// absent address; returns their number.
int CopyList(const IP_ADDR_STRING* entry, char (*values)[ADDRESS_SIZE], bool withoutNone,
             bool& cut) {
  int count = 0;
  for (; entry != nullptr; entry = entry->Next) {
    const char* value = entry->IpAddress.String;
    if (value[0] == '\0' || (withoutNone && std::strcmp(value, "0.0.0.0") == 0)) continue;
    if (count == MAX_LISTED) {
      cut = true;
      break;
    }
    CopyClean(values[count], ADDRESS_SIZE, value);
    ++count;
  }
  return count;
}

void ConvertHost(const FIXED_INFO& info, HostConfig& host, bool& cut) {
  CopyClean(host.hostName, sizeof host.hostName, info.HostName);
  CopyClean(host.primaryDnsSuffix, sizeof host.primaryDnsSuffix, info.DomainName);
  host.nodeType = NodeTypeName(info.NodeType);
  CopyClean(host.scopeId, sizeof host.scopeId, info.ScopeId);
  host.ipRouting = info.EnableRouting != 0;
  host.winsProxy = info.EnableProxy != 0;
  host.netbiosUsesDns = info.EnableDns != 0;
  host.dnsServerCount = CopyList(&info.DnsServerList, host.dnsServers, false, cut);
}

// A name the system gives replaces the one held, unless it is empty.
void TakeName(char* name, std::size_t size, const char* given) {
  if (given[0] != '\0') CopyClean(name, size, given);
}

// A connection name given in UTF-16 replaces the one held where the ANSI code page holds
// every character of it: a '?' in its place would make the name a pattern that other
// adapters match. The adapter's own name, "{GUID}", then stays.
void TakeWideName(char* name, std::size_t size, const wchar_t* given) {
  char converted[TEXT_SIZE];
  if (ToAnsiExactly(given, converted, sizeof converted)) TakeName(name, size, converted);
}

// Windows 2000 keeps the connection name only here, under the adapter's GUID. The
// registry functions are looked up when needed, so the tool imports no more DLLs.
void RegistryConnectionName(const char* adapterName, char* name, std::size_t size) {
  using Open = LONG(WINAPI*)(HKEY, const char*, DWORD, REGSAM, HKEY*);
  using Query = LONG(WINAPI*)(HKEY, const wchar_t*, DWORD*, DWORD*, BYTE*, DWORD*);
  using Close = LONG(WINAPI*)(HKEY);
  const HMODULE advapi = LoadSystemLibrary("advapi32.dll");
  if (advapi == nullptr) return;
  const auto open = Lookup<Open>(advapi, "RegOpenKeyExA");
  const auto query = Lookup<Query>(advapi, "RegQueryValueExW");
  const auto close = Lookup<Close>(advapi, "RegCloseKey");
  char path[400] =
      "SYSTEM\\CurrentControlSet\\Control\\Network\\"
      "{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
  std::strncat(path, adapterName, 300);
  std::strcat(path, "\\Connection");
  HKEY key;
  if (open && query && close && open(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) == 0) {
    wchar_t value[TEXT_SIZE] = L"";
    DWORD type = 0;
    DWORD length = sizeof value - sizeof value[0];
    if (query(key, L"Name", nullptr, &type, reinterpret_cast<BYTE*>(value), &length) == 0 &&
        type == REG_SZ)
      TakeWideName(name, size, value);
    close(key);
  }
  FreeLibrary(advapi);
}

// The connection name ("Local Area Connection") and link state; where the system
// says nothing of them, the adapter's own name and a link that is up.
void FindConnection(const IP_ADAPTER_INFO& info, const IP_ADAPTER_ADDRESSES* connections,
                    AdapterConfig& adapter) {
  CopyClean(adapter.name, sizeof adapter.name, info.AdapterName);
  adapter.connected = true;
  if (connections == nullptr) {
    RegistryConnectionName(info.AdapterName, adapter.name, sizeof adapter.name);
    MIB_IFROW row = {};
    row.dwIndex = info.Index;
    if (platform.getIfEntry(&row) == NO_ERROR)
      adapter.connected = row.dwOperStatus == MIB_IF_OPER_STATUS_CONNECTED ||
                          row.dwOperStatus == MIB_IF_OPER_STATUS_OPERATIONAL;
    return;
  }
  for (const IP_ADAPTER_ADDRESSES* entry = connections; entry != nullptr; entry = entry->Next) {
    if (entry->AdapterName == nullptr || std::strcmp(entry->AdapterName, info.AdapterName) != 0)
      continue;
    if (entry->FriendlyName != nullptr)
      TakeWideName(adapter.name, sizeof adapter.name, entry->FriendlyName);
    adapter.connected = entry->OperStatus == IfOperStatusUp;
    return;
  }
}

void ConvertAdapter(const IP_ADAPTER_INFO& info, const char* kind,
                    const IP_ADAPTER_ADDRESSES* connections, AdapterConfig& adapter, bool& cut) {
  adapter = {};
  adapter.kind = kind;
  adapter.index = info.Index;
  CopyClean(adapter.id, sizeof adapter.id, info.AdapterName);
  FindConnection(info, connections, adapter);
  CopyClean(adapter.description, sizeof adapter.description, info.Description);
  static const char digits[] = "0123456789ABCDEF";
  char* at = adapter.physicalAddress;
  for (UINT i = 0; i < info.AddressLength && i < MAX_ADAPTER_ADDRESS_LENGTH; ++i) {
    if (i > 0) *at++ = '-';
    *at++ = digits[info.Address[i] >> 4];
    *at++ = digits[info.Address[i] & 15];
  }
  adapter.dhcpEnabled = info.DhcpEnabled != 0;
  for (const IP_ADDR_STRING* entry = &info.IpAddressList; entry != nullptr; entry = entry->Next) {
    if (adapter.addressCount == MAX_LISTED) {
      cut = true;
      break;
    }
    CopyClean(adapter.addresses[adapter.addressCount], ADDRESS_SIZE, entry->IpAddress.String);
    CopyClean(adapter.masks[adapter.addressCount], ADDRESS_SIZE, entry->IpMask.String);
    ++adapter.addressCount;
  }
  adapter.gatewayCount = CopyList(&info.GatewayList, adapter.gateways, true, cut);
  if (adapter.dhcpEnabled) {
    CopyClean(adapter.dhcpServer, sizeof adapter.dhcpServer, info.DhcpServer.IpAddress.String);
    FormatLeaseTime(LeaseSeconds(info.LeaseObtained), LOCALE_USER_DEFAULT, adapter.leaseObtained,
                    sizeof adapter.leaseObtained);
    FormatLeaseTime(LeaseSeconds(info.LeaseExpires), LOCALE_USER_DEFAULT, adapter.leaseExpires,
                    sizeof adapter.leaseExpires);
  }
  if (info.HaveWins) {
    CopyClean(adapter.primaryWinsServer, sizeof adapter.primaryWinsServer,
              info.PrimaryWinsServer.IpAddress.String);
    CopyClean(adapter.secondaryWinsServer, sizeof adapter.secondaryWinsServer,
              info.SecondaryWinsServer.IpAddress.String);
  }
}

// The interface that carries the default route, as the system's route metrics choose it
// among several with a gateway; bestKnown is false where the system does not say.
bool bestKnown;
DWORD bestIndex;

// The adapters the machine reaches the world through come first, since the window has
// room for four: the one that carries the default route, then the other connected ones
// that hold a default gateway, then the other connected ones, then those whose media is
// disconnected. Virtual adapters are connected without a gateway, and the system promises
// no order. Within a group the interface index decides, which stays from one reading to
// the next, and the window's choice with it.
int Group(const AdapterConfig& adapter) {
  if (bestKnown && adapter.index == bestIndex) return 0;
  if (!adapter.connected) return 3;
  if (adapter.gatewayCount == 0) return 2;
  return 1;
}

bool Before(const AdapterConfig& a, const AdapterConfig& b) {
  if (Group(a) != Group(b)) return Group(a) < Group(b);
  return a.index < b.index;
}

}  // namespace

void FormatLeaseTime(unsigned long long seconds, LCID locale, char* text, std::size_t size) {
  text[0] = '\0';
  // Seconds from 1970; FILETIME counts 100 ns from 1601.
  ULARGE_INTEGER ticks;
  ticks.QuadPart = seconds * 10000000ULL + 116444736000000000ULL;
  const FILETIME utc = {ticks.LowPart, ticks.HighPart};
  SYSTEMTIME universal;
  SYSTEMTIME time;
  if (seconds == 0 || !FileTimeToSystemTime(&utc, &universal) ||
      !platform.systemTimeToTzSpecificLocalTime(nullptr, &universal, &time))
    return;
  // The wide forms, converted to the ANSI code page that the window reads: the "A" forms
  // would write the locale's own code page. The user's locale may write characters
  // that page lacks; then the system locale's form, which that page was chosen for; then
  // digits alone.
  const struct {
    LCID locale;
    DWORD flags;
    const wchar_t* date;
  } forms[] = {{locale, DATE_LONGDATE, nullptr},
               {LOCALE_SYSTEM_DEFAULT, DATE_LONGDATE, nullptr},
               {LOCALE_SYSTEM_DEFAULT, 0, L"yyyy'/'MM'/'dd"}};
  // The date takes at most DATE_ROOM units, so that the time always has the rest.
  constexpr int DATE_ROOM = TEXT_SIZE * 5 / 8;
  for (const auto& form : forms) {
    wchar_t wide[TEXT_SIZE];
    const int length = GetDateFormatW(form.locale, form.flags, &time, form.date, wide, DATE_ROOM);
    if (length == 0) continue;
    wide[length - 1] = L' ';
    const wchar_t* clock = form.date != nullptr ? L"H':'mm':'ss" : nullptr;
    if (GetTimeFormatW(form.locale, 0, &time, clock, wide + length, TEXT_SIZE - length) != 0 &&
        ToAnsiExactly(wide, text, static_cast<int>(size)))
      return;
  }
}

void ConvertConfig(const FIXED_INFO& host, const IP_ADAPTER_INFO* adapters,
                   const IP_ADAPTER_ADDRESSES* connections, PlatformConfig& config) {
  config.listsCut = false;
  ConvertHost(host, config.host, config.listsCut);
  static AdapterConfig converted[MAX_ADAPTERS];
  int count = 0;
  for (const IP_ADAPTER_INFO* info = adapters; info != nullptr && count < MAX_ADAPTERS;
       info = info->Next) {
    const char* kind = AdapterKind(info->Type);
    if (kind == nullptr) continue;
    ConvertAdapter(*info, kind, connections, converted[count], config.listsCut);
    ++count;
  }
  bestKnown = platform.getBestInterface != nullptr &&
              platform.getBestInterface(INADDR_ANY, &bestIndex) == NO_ERROR;
  // Sorted by insertion, through their places: each adapter is large.
  int order[MAX_ADAPTERS];
  for (int i = 0; i < count; ++i) {
    int at = i;
    for (; at > 0 && Before(converted[i], converted[order[at - 1]]); --at)
      order[at] = order[at - 1];
    order[at] = i;
  }
  for (int i = 0; i < count; ++i) config.adapters[i] = converted[order[i]];
  config.adapterCount = count;
}

bool ReadPlatformConfig(PlatformConfig& config, ReportText& report) {
  alignas(FIXED_INFO) static unsigned char hostBuffer[HOST_BUFFER_SIZE];
  alignas(IP_ADAPTER_INFO) static unsigned char adapterBuffer[ADAPTER_BUFFER_SIZE];
  alignas(IP_ADAPTER_ADDRESSES) static unsigned char connectionBuffer[CONNECTION_BUFFER_SIZE];
  const auto host = reinterpret_cast<FIXED_INFO*>(hostBuffer);
  auto adapters = reinterpret_cast<IP_ADAPTER_INFO*>(adapterBuffer);
  auto connections = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(connectionBuffer);
  ULONG size = sizeof hostBuffer;
  DWORD error = platform.getNetworkParams(host, &size);
  if (error == ERROR_SUCCESS) {
    size = sizeof adapterBuffer;
    error = platform.getAdaptersInfo(adapters, &size);
    if (error == ERROR_NO_DATA) {
      adapters = nullptr;  // no adapters at all
      error = ERROR_SUCCESS;
    }
  }
  if (error == ERROR_SUCCESS && platform.getAdaptersAddresses != nullptr) {
    size = sizeof connectionBuffer;
    const ULONG flags = GAA_FLAG_SKIP_UNICAST | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST |
                        GAA_FLAG_SKIP_DNS_SERVER;
    error = platform.getAdaptersAddresses(AF_UNSPEC, flags, nullptr, connections, &size);
    if (error != ERROR_BUFFER_OVERFLOW && error != ERROR_SUCCESS) {
      connections = nullptr;  // no names from it: those of the registry, as before XP
      error = ERROR_SUCCESS;
    }
  } else {
    connections = nullptr;  // before XP: names from the registry
  }
  if (error == ERROR_BUFFER_OVERFLOW) {
    Line(report, "ipconfig: this system has more adapters or addresses than this tool can read.");
    return false;
  }
  if (error == ERROR_NO_DATA) {  // from GetNetworkParams: the others' "none" is handled above
    Line(report,
         "ipconfig: the system did not give its network configuration: it holds no "
         "adapter information.");
    return false;
  }
  if (error != ERROR_SUCCESS) {
    Append(report, "ipconfig: the system did not give its network configuration");
    AppendSystemError(report, error);
    Line(report, "");
    return false;
  }
  ConvertConfig(*host, adapters, connections, config);
  return true;
}
