// ipconfig in the classic report form, for systems whose own ipconfig prints a
// later form or another language: /all, the short form, /renew and /release with
// an optional adapter name (wildcards * and ?), and /?.
#include <fcntl.h>
#include <io.h>
#include <winsock2.h>  // before windows.h and iphlpapi.h
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/ipconfig/classic_report.h"
#include "tools/ipconfig/platform_config.h"
#include "tools/ipconfig/wildcard.h"

// The C run-time must not expand '*' and '?' in adapter names into file names.
int _dowildcard = 0;

namespace {

const char USAGE[] =
    "\r\nUsage: ipconfig [/all | /renew [adapter] | /release [adapter] | /?]\r\n"
    "\r\n"
    "   (none)      Shows each adapter's IP address, subnet mask and default gateway.\r\n"
    "   /all        Shows the full TCP/IP configuration.\r\n"
    "   /renew      Renews the DHCP lease of the named adapter, or of every adapter.\r\n"
    "   /release    Releases the DHCP lease of the named adapter, or of every adapter.\r\n"
    "   /?          Shows this help.\r\n"
    "\r\n"
    "The adapter is named by its connection name, in which * stands for any text and\r\n"
    "? for any one character, a blank included: ipconfig /renew Local?Area?Connection\r\n";

PlatformConfig config;
ReportText report;

void Print(const char* text) { std::fwrite(text, 1, std::strlen(text), stdout); }

bool SwitchIs(const char* argument, const char* name) {
  if (argument[0] != '/' && argument[0] != '-') return false;
  return lstrcmpiA(argument + 1, name) == 0;
}

std::string SystemMessage(DWORD error) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 text, sizeof text, nullptr);
  std::string message = text;
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                              message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  return message.empty() ? "unknown error" : message;
}

bool ReadConfig() {
  DWORD error = 0;
  if (ReadPlatformConfig(config, &error)) return true;
  std::printf("ipconfig: the system did not give its network configuration: %s (error %lu).\r\n",
              SystemMessage(error).c_str(), error);
  return false;
}

// Renews or releases the lease of every adapter whose name matches pattern (every
// adapter when pattern is null), a line for each with the platform's answer.
int ChangeLeases(bool renew, const char* pattern) {
  if (!ReadConfig()) return 1;
  static unsigned char buffer[1 << 16];
  ULONG size = sizeof buffer;
  auto* interfaces = reinterpret_cast<IP_INTERFACE_INFO*>(buffer);
  const DWORD listed = GetInterfaceInfo(interfaces, &size);
  int matched = 0;
  int failed = 0;
  for (int i = 0; i < config.adapterCount; ++i) {
    const AdapterConfig& adapter = config.adapters[i];
    if (pattern != nullptr && !MatchesWildcard(pattern, adapter.name)) continue;
    ++matched;
    DWORD result = ERROR_NOT_FOUND;
    if (listed == NO_ERROR) {
      for (LONG k = 0; k < interfaces->NumAdapters; ++k) {
        if (interfaces->Adapter[k].Index != config.indexes[i]) continue;
        result = renew ? IpRenewAddress(&interfaces->Adapter[k])
                       : IpReleaseAddress(&interfaces->Adapter[k]);
        break;
      }
    }
    if (result == NO_ERROR) {
      std::printf("%s adapter %s: lease %s.\r\n", adapter.kind, adapter.name,
                  renew ? "renewed" : "released");
    } else {
      ++failed;
      std::printf("%s adapter %s: the system refused to %s the lease: %s (error %lu).\r\n",
                  adapter.kind, adapter.name, renew ? "renew" : "release",
                  SystemMessage(result).c_str(), result);
    }
  }
  if (matched == 0) {
    if (pattern != nullptr)
      std::printf("ipconfig: no adapter is named \"%s\".\r\n", pattern);
    else
      std::printf("ipconfig: there is no adapter to %s.\r\n", renew ? "renew" : "release");
    return 1;
  }
  return failed == 0 ? 0 : 1;
}

int BadUsage(const char* message, const char* argument) {
  std::printf("ipconfig: %s: %s\r\n", message, argument);
  Print(USAGE);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // the report's CR LF go out as they are
  if (argc == 1) {
    if (!ReadConfig()) return 1;
    WriteShortReport(report, config.adapters, config.adapterCount);
    Print(report.text);
    return 0;
  }
  const char* option = argv[1];
  if (SwitchIs(option, "?")) {
    Print(USAGE);
    return 0;
  }
  if (SwitchIs(option, "all")) {
    if (argc > 2) return BadUsage("/all takes no adapter name", argv[2]);
    if (!ReadConfig()) return 1;
    WriteFullReport(report, config.host, config.adapters, config.adapterCount);
    Print(report.text);
    return 0;
  }
  if (SwitchIs(option, "renew") || SwitchIs(option, "release")) {
    // A name typed with blanks arrives as several arguments: join them again.
    std::string name;
    for (int i = 2; i < argc; ++i) name += (i > 2 ? " " : "") + std::string(argv[i]);
    return ChangeLeases(SwitchIs(option, "renew"), argc > 2 ? name.c_str() : nullptr);
  }
  return BadUsage("unknown option", option);
}
