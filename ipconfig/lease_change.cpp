#include "ipconfig/lease_change.h"

#include "ipconfig/system_message.h"
#include "ipconfig/wildcard.h"

namespace {

constexpr DWORD ELEVATION_REQUIRED = 740;  // ERROR_ELEVATION_REQUIRED, from Vista on

const char ADMINISTRATOR_ADVICE[] =
    "Renewing and releasing leases need administrator rights. On Windows Vista and later,\r\n"
    "start the program with \"Run as administrator\"; on Windows NT 4.0, 2000 and XP,\r\n"
    "log on as an administrator.";

// The interfaces that leases are renewed on; null, said in out, where the system does
// not list them.
IP_INTERFACE_INFO* ReadInterfaces(ReportText& out) {
  alignas(IP_INTERFACE_INFO) static unsigned char buffer[1 << 17];
  auto* interfaces = reinterpret_cast<IP_INTERFACE_INFO*>(buffer);
  ULONG size = sizeof buffer;
  const DWORD error = platform.getInterfaceInfo(interfaces, &size);
  if (error == ERROR_NO_DATA) interfaces->NumAdapters = 0;
  if (error == ERROR_INSUFFICIENT_BUFFER) {
    Line(out, "ipconfig: this system has more adapters than this tool can read.");
    return nullptr;
  }
  if (error != NO_ERROR && error != ERROR_NO_DATA) {
    Append(out, "ipconfig: the system did not list its interfaces");
    AppendSystemError(out, error);
    Line(out, "");
    return nullptr;
  }
  // Never past the buffer, whatever count the system wrote.
  constexpr LONG room =
      (sizeof buffer - offsetof(IP_INTERFACE_INFO, Adapter)) / sizeof(IP_ADAPTER_INDEX_MAP);
  if (interfaces->NumAdapters > room) interfaces->NumAdapters = room;
  return interfaces;
}

// The adapter's interface: the one named "\DEVICE\TCPIP_{GUID}" for the adapter's own
// "{GUID}". The system finds the interface to act on by that name alone, so an entry
// found otherwise, such as by index, would renew or release another adapter's lease.
// Null where it is not listed.
IP_ADAPTER_INDEX_MAP* FindInterface(IP_INTERFACE_INFO& interfaces, const AdapterConfig& adapter) {
  wchar_t id[TEXT_SIZE];
  const int idLength = MultiByteToWideChar(CP_ACP, 0, adapter.id, -1, id, TEXT_SIZE) - 1;
  for (LONG k = 0; k < interfaces.NumAdapters; ++k) {
    IP_ADAPTER_INDEX_MAP& entry = interfaces.Adapter[k];
    wchar_t name[MAX_ADAPTER_NAME + 1] = {};
    int length = 0;
    for (; length < MAX_ADAPTER_NAME && entry.Name[length] != L'\0'; ++length)
      name[length] = entry.Name[length];
    if (idLength > 0 && length >= idLength && lstrcmpiW(name + length - idLength, id) == 0)
      return &entry;
  }
  return nullptr;
}

// Writes the outcome for one adapter; true when its lease was renewed (or released).
bool ChangeLease(const AdapterConfig& adapter, bool renew, IP_INTERFACE_INFO& interfaces,
                 bool& needsRights, ReportText& out) {
  const char* verb = renew ? "renew" : "release";
  if (!adapter.dhcpEnabled) {
    Append(out, {"no lease to ", verb, ": the adapter has a static address."});
    return false;
  }
  if (!adapter.connected) {
    Append(out, {"no lease to ", verb, ": its media is disconnected."});
    return false;
  }
  IP_ADAPTER_INDEX_MAP* entry = FindInterface(interfaces, adapter);
  if (entry == nullptr) {
    Append(out, {"the adapter was not found among the system's interfaces, so its lease was not ",
                 renew ? "renewed." : "released."});
    return false;
  }
  const DWORD result = renew ? platform.ipRenewAddress(entry) : platform.ipReleaseAddress(entry);
  if (result == NO_ERROR) {
    Append(out, renew ? "lease renewed." : "lease released.");
    return true;
  }
  const bool rights = result == ERROR_ACCESS_DENIED || result == ELEVATION_REQUIRED;
  if (rights) needsRights = true;
  Append(out, {"the system refused to ", verb, " the lease",
               rights ? ", which needs administrator rights" : ""});
  AppendSystemError(out, result);
  return false;
}

}  // namespace

int ChangeLeases(const PlatformConfig& config, bool renew, const char* pattern, ReportText& out) {
  IP_INTERFACE_INFO* interfaces = ReadInterfaces(out);
  if (interfaces == nullptr) return 1;
  int acted = 0;
  int failed = 0;
  bool needsRights = false;
  // A name that some adapters have exactly names those alone, so that "Wi-Fi*?1" is not
  // also "Wi-Fi* 11"; only where none has it do '*' and '?' act as wildcards.
  bool literally = false;
  for (int i = 0; pattern != nullptr && i < config.adapterCount; ++i)
    literally = literally || MatchesLiterally(pattern, config.adapters[i].name);
  for (int i = 0; i < config.adapterCount; ++i) {
    const AdapterConfig& adapter = config.adapters[i];
    bool chosen = adapter.dhcpEnabled && adapter.connected;
    if (pattern != nullptr)
      chosen = literally ? MatchesLiterally(pattern, adapter.name)
                         : MatchesWildcard(pattern, adapter.name);
    if (!chosen) continue;
    ++acted;
    Append(out, {adapter.kind, " adapter ", adapter.name, ": "});
    if (!ChangeLease(adapter, renew, *interfaces, needsRights, out)) ++failed;
    Line(out, "");
  }
  if (acted == 0 && pattern != nullptr) {
    char name[TEXT_SIZE];
    CopyClean(name, sizeof name, pattern);
    Append(out, {"ipconfig: no adapter is named \"", name});
    Line(out, "\".");
  } else if (acted == 0) {
    Append(out, {"ipconfig: no connected adapter uses DHCP, so there is no lease to ",
                 renew ? "renew" : "release"});
    Line(out, ".");
  }
  if (acted == 0) return 1;
  if (needsRights) {
    Line(out, "");
    Line(out, ADMINISTRATOR_ADVICE);
  }
  if (failed == 0) return 0;
  return 1;
}
