// ipconfig in the classic report form, for systems whose own ipconfig prints a
// later form or another language: /all, the short form, /renew and /release with
// an optional adapter name (wildcards * and ?), and /?. Where the system lacks an IP
// Helper function that the tool needs (Windows NT 4.0), the system's own ipconfig does
// the work.
#include <cstring>

#include "ipconfig/classic_report.h"
#include "ipconfig/lease_change.h"
#include "ipconfig/platform_config.h"
#include "ipconfig/report_output.h"
#include "ipconfig/system_ipconfig.h"

// The C run-time must not expand '*' and '?' in adapter names into file names.
int _dowildcard = 0;

namespace {

const char USAGE[] =
    "\r\nUsage: ipconfig [/all | /renew [adapter] | /release [adapter] | /?]\r\n"
    "\r\n"
    "   (none)      Shows each adapter's IP address, subnet mask and default gateway.\r\n"
    "   /all        Shows the full TCP/IP configuration.\r\n"
    "   /renew      Renews the DHCP lease of the named adapter, or of each connected\r\n"
    "               adapter that uses DHCP.\r\n"
    "   /release    Releases the DHCP lease of the named adapter, or of each connected\r\n"
    "               adapter that uses DHCP.\r\n"
    "   /?          Shows this help.\r\n"
    "\r\n"
    "The adapter is named by its connection name, in which ? may stand for a blank:\r\n"
    "ipconfig /renew Local?Area?Connection. A name that some adapters have exactly\r\n"
    "names those alone. Where none has it, * stands for any text and ? for any one\r\n"
    "character, a blank included. Renewing and releasing need administrator rights.\r\n";

PlatformConfig config;
ReportText report;

// Returns the tool's exit code: exitCode, or 1 where the report was cut.
int PrintReportForExit(int exitCode) {
  exitCode = EndReport(report, exitCode);
  WriteReport(GetStdHandle(STD_OUTPUT_HANDLE), report);
  return exitCode;
}

bool SwitchIs(const char* argument, const char* name) {
  if (argument[0] != '/' && argument[0] != '-') return false;
  return lstrcmpiA(argument + 1, name) == 0;
}

int BadUsage(const char* message, const char* argument) {
  char shown[TEXT_SIZE];
  CopyClean(shown, sizeof shown, argument);
  Append(report, {"ipconfig: ", message, ": "});
  Line(report, shown);
  Append(report, USAGE);
  return PrintReportForExit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (!LoadPlatformFunctions()) return PrintReportForExit(RunSystemIpconfig(report));
  if (argc == 1) {
    if (!ReadPlatformConfig(config, report)) return PrintReportForExit(1);
    WriteShortReport(report, config.adapters, config.adapterCount, config.listsCut);
    return PrintReportForExit(0);
  }
  const char* option = argv[1];
  if (SwitchIs(option, "?")) {
    Append(report, USAGE);
    return PrintReportForExit(0);
  }
  if (SwitchIs(option, "all")) {
    if (argc > 2) return BadUsage("/all takes no adapter name", argv[2]);
    if (!ReadPlatformConfig(config, report)) return PrintReportForExit(1);
    WriteFullReport(report, config.host, config.adapters, config.adapterCount, config.listsCut);
    return PrintReportForExit(0);
  }
  if (SwitchIs(option, "renew") || SwitchIs(option, "release")) {
    // A name typed with blanks arrives as several arguments: join them again.
    char name[TEXT_SIZE] = "";
    for (int i = 2; i < argc; ++i) {
      if (i > 2) std::strncat(name, " ", sizeof name - 1 - std::strlen(name));
      std::strncat(name, argv[i], sizeof name - 1 - std::strlen(name));
    }
    if (!ReadPlatformConfig(config, report)) return PrintReportForExit(1);
    const char* pattern = argc > 2 ? name : nullptr;
    return PrintReportForExit(ChangeLeases(config, SwitchIs(option, "renew"), pattern, report));
  }
  return BadUsage("unknown option", option);
}
