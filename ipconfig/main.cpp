// ipconfig in the classic report form, for systems whose own ipconfig prints a
// later form or another language: /all, the short form, /renew and /release with
// an optional adapter name (wildcards * and ?), and /?. Every other option (/flushdns,
// /displaydns, ...) goes to the system's own ipconfig, and so does all the work where the
// system lacks an IP Helper function that the tool needs (Windows NT 4.0).
#include <cstring>

#include "ipconfig/classic_report.h"
#include "ipconfig/lease_change.h"
#include "ipconfig/platform_config.h"
#include "ipconfig/report_output.h"
#include "ipconfig/system_ipconfig.h"
#include "ipconfig/typed_command.h"

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
    "character, a blank included. Renewing and releasing need administrator rights.\r\n"
    "\r\n"
    "Any other option, such as /flushdns, is handed to the system's own ipconfig.\r\n";

constexpr char NOT_OURS[] = " is not an option of this tool";

PlatformConfig config;
ReportText report;

// Returns the tool's exit code: exitCode, or 1 where the report was cut.
int PrintReportForExit(int exitCode) {
  exitCode = EndReport(report, exitCode);
  WriteReport(GetStdHandle(STD_OUTPUT_HANDLE), report);
  return exitCode;
}

bool IsSwitch(const char* argument) { return argument[0] == '/' || argument[0] == '-'; }

bool SwitchIs(const char* argument, const char* name) {
  return IsSwitch(argument) && lstrcmpiA(argument + 1, name) == 0;
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
  // The arguments, the first one an option run on to the program's name where one is.
  char** arguments = argv + 1;
  int count = argc - 1;
  const std::size_t nameLength = ProgramNameLength(argv[0], std::strlen(argv[0]), OwnFileName());
  if (argv[0][nameLength] != '\0') {
    argv[0] += nameLength;
    arguments = argv;
    count = argc;
  }
  if (!LoadPlatformFunctions())
    return PrintReportForExit(RunSystemIpconfig(report, LACKS_IP_HELPER));
  if (count == 0) {
    if (!ReadPlatformConfig(config, report)) return PrintReportForExit(1);
    WriteShortReport(report, config.adapters, config.adapterCount, config.listsCut);
    return PrintReportForExit(0);
  }
  const char* option = arguments[0];
  if (SwitchIs(option, "?")) {
    Append(report, USAGE);
    return PrintReportForExit(0);
  }
  if (SwitchIs(option, "all")) {
    if (count > 1) return BadUsage("/all takes no adapter name", arguments[1]);
    if (!ReadPlatformConfig(config, report)) return PrintReportForExit(1);
    WriteFullReport(report, config.host, config.adapters, config.adapterCount, config.listsCut);
    return PrintReportForExit(0);
  }
  if (SwitchIs(option, "renew") || SwitchIs(option, "release")) {
    // A name typed with blanks arrives as several arguments: join them again.
    char name[TEXT_SIZE] = "";
    for (int i = 1; i < count; ++i) {
      if (i > 1) std::strncat(name, " ", sizeof name - 1 - std::strlen(name));
      std::strncat(name, arguments[i], sizeof name - 1 - std::strlen(name));
    }
    if (!ReadPlatformConfig(config, report)) return PrintReportForExit(1);
    const char* pattern = count > 1 ? name : nullptr;
    return PrintReportForExit(ChangeLeases(config, SwitchIs(option, "renew"), pattern, report));
  }
  if (!IsSwitch(option)) return BadUsage("unknown option", option);
  char reason[TEXT_SIZE];
  CopyClean(reason, sizeof reason - sizeof NOT_OURS, option);
  lstrcatA(reason, NOT_OURS);
  return PrintReportForExit(RunSystemIpconfig(report, reason));
}
