// ipconfig in the classic report form, for systems whose own ipconfig prints a
// later form or another language: /all, the short form, /renew and /release with
// an optional adapter name (wildcards * and ?), and /?.
#include <cstdlib>
#include <cstring>

#include "tools/ipconfig/classic_report.h"
#include "tools/ipconfig/lease_change.h"
#include "tools/ipconfig/platform_config.h"

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
    "? for any one character, a blank included: ipconfig /renew Local?Area?Connection\r\n"
    "Renewing and releasing need administrator rights.\r\n";

PlatformConfig config;
ReportText report;

// The report's CR LF go out as they are.
int Print(int exitCode) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), report.text, static_cast<DWORD>(report.length),
            &written, nullptr);
  return exitCode;
}

bool SwitchIs(const char* argument, const char* name) {
  if (argument[0] != '/' && argument[0] != '-') return false;
  return lstrcmpiA(argument + 1, name) == 0;
}

bool ReadConfig() {
  DWORD error = 0;
  if (ReadPlatformConfig(config, &error)) return true;
  char message[512], number[16];
  SystemMessage(error, message, sizeof message);
  Append(report, {"ipconfig: the system did not give its network configuration: ", message,
                  " (error ", _ultoa(error, number, 10)});
  Line(report, ").");
  return false;
}

int BadUsage(const char* message, const char* argument) {
  char shown[TEXT_SIZE];
  CopyClean(shown, sizeof shown, argument);
  Append(report, {"ipconfig: ", message, ": "});
  Line(report, shown);
  Append(report, USAGE);
  return Print(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) {
    if (!ReadConfig()) return Print(1);
    WriteShortReport(report, config.adapters, config.adapterCount);
    return Print(0);
  }
  const char* option = argv[1];
  if (SwitchIs(option, "?")) {
    Append(report, USAGE);
    return Print(0);
  }
  if (SwitchIs(option, "all")) {
    if (argc > 2) return BadUsage("/all takes no adapter name", argv[2]);
    if (!ReadConfig()) return Print(1);
    WriteFullReport(report, config.host, config.adapters, config.adapterCount);
    return Print(0);
  }
  if (SwitchIs(option, "renew") || SwitchIs(option, "release")) {
    // A name typed with blanks arrives as several arguments: join them again.
    char name[TEXT_SIZE] = "";
    for (int i = 2; i < argc; ++i) {
      if (i > 2) std::strncat(name, " ", sizeof name - 1 - std::strlen(name));
      std::strncat(name, argv[i], sizeof name - 1 - std::strlen(name));
    }
    if (!ReadConfig()) return Print(1);
    return Print(ChangeLeases(config, SwitchIs(option, "renew"), argc > 2 ? name : nullptr,
                              AskSystem, report));
  }
  return BadUsage("unknown option", option);
}
