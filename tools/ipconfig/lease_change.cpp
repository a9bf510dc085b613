#include "tools/ipconfig/lease_change.h"

#include <cstdlib>
#include <cstring>

#include "tools/ipconfig/wildcard.h"

namespace {

constexpr DWORD ELEVATION_REQUIRED = 740;  // ERROR_ELEVATION_REQUIRED, from Vista on

const char ADMINISTRATOR_ADVICE[] =
    "Renewing and releasing leases need administrator rights. On Windows Vista and later,\r\n"
    "start the program with \"Run as administrator\"; on Windows NT 4.0, 2000 and XP,\r\n"
    "log on as an administrator.";

}  // namespace

DWORD AskSystem(bool renew, DWORD interfaceIndex) {
  static unsigned char buffer[1 << 16];
  ULONG size = sizeof buffer;
  auto* interfaces = reinterpret_cast<IP_INTERFACE_INFO*>(buffer);
  if (const DWORD error = GetInterfaceInfo(interfaces, &size)) return error;
  // Never past the buffer, whatever count the system wrote.
  constexpr LONG room =
      (sizeof buffer - offsetof(IP_INTERFACE_INFO, Adapter)) / sizeof(IP_ADAPTER_INDEX_MAP);
  for (LONG k = 0; k < interfaces->NumAdapters && k < room; ++k) {
    if (interfaces->Adapter[k].Index != interfaceIndex) continue;
    return renew ? IpRenewAddress(&interfaces->Adapter[k])
                 : IpReleaseAddress(&interfaces->Adapter[k]);
  }
  return ERROR_NOT_FOUND;
}

void SystemMessage(DWORD error, char* text, std::size_t size) {
  char message[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 message, sizeof message, nullptr);
  CopyClean(text, size, message);
  for (std::size_t end = std::strlen(text); end > 0 && std::strchr(" .", text[end - 1]); --end)
    text[end - 1] = '\0';
  if (text[0] == '\0') CopyClean(text, size, "unknown error");
}

int ChangeLeases(const PlatformConfig& config, bool renew, const char* pattern, LeaseCall call,
                 ReportText& out) {
  const char* verb = renew ? "renew" : "release";
  int acted = 0, failed = 0;
  bool needsRights = false;
  for (int i = 0; i < config.adapterCount; ++i) {
    const AdapterConfig& adapter = config.adapters[i];
    if (pattern ? !MatchesWildcard(pattern, adapter.name) : !adapter.dhcpEnabled) continue;
    ++acted;
    Append(out, {adapter.kind, " adapter ", adapter.name, ": "});
    const DWORD result = adapter.dhcpEnabled ? call(renew, adapter.index) : NO_ERROR;
    failed += !adapter.dhcpEnabled || result != NO_ERROR;
    if (!adapter.dhcpEnabled) {
      Append(out, {"no lease to ", verb, ": the adapter has a static address."});
    } else if (result == NO_ERROR) {
      Append(out, renew ? "lease renewed." : "lease released.");
    } else {
      const bool rights = result == ERROR_ACCESS_DENIED || result == ELEVATION_REQUIRED;
      needsRights |= rights;
      char message[512], number[16];
      SystemMessage(result, message, sizeof message);
      Append(out, {"the system refused to ", verb, " the lease",
                   rights ? ", which needs administrator rights" : "", " (error ",
                   _ultoa(result, number, 10), "): ", static_cast<const char*>(message)});
    }
    Line(out, "");
  }
  if (acted == 0 && pattern != nullptr) {
    char name[TEXT_SIZE];
    CopyClean(name, sizeof name, pattern);
    Append(out, {"ipconfig: no adapter is named \"", name});
    Line(out, "\".");
  } else if (acted == 0) {
    Append(out, {"ipconfig: no adapter uses DHCP, so there is no lease to ", verb});
    Line(out, ".");
  }
  if (acted == 0) return 1;
  if (needsRights) Line(out, ""), Line(out, ADMINISTRATOR_ADVICE);
  return failed == 0 ? 0 : 1;
}
