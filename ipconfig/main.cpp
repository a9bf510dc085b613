// ipconfig in the classic report form, for systems whose own ipconfig prints a
// later form or another language: /all, the short form, /renew and /release with
// an optional adapter name (wildcards * and ?), and /?. Where the system has no IP
// Helper (Windows NT 4.0), the system's own ipconfig does the work.
#include <cstring>
#include <iterator>

#include "ipconfig/classic_report.h"
#include "ipconfig/lease_change.h"
#include "ipconfig/platform_config.h"
#include "ipconfig/system_ipconfig.h"

// The C run-time must not expand '*' and '?' in adapter names into file names.
int _dowildcard = 0;

namespace {

const char USAGE[] =
    "\r\nUsage: ipconfig [/all | /renew [adapter] | /release [adapter] | /?]\r\n"
    "\r\n"
    "   (none)      Shows each adapter's IP address, subnet mask and default gateway.\r\n"
    "   /all        Shows the full TCP/IP configuration.\r\n"
    "   /renew      Renews the DHCP lease of the named adapter, or of each connected one.\r\n"
    "   /release    Releases the DHCP lease of the named adapter, or of each connected one.\r\n"
    "   /?          Shows this help.\r\n"
    "\r\n"
    "The adapter is named by its connection name, in which * stands for any text and\r\n"
    "? for any one character, a blank included: ipconfig /renew Local?Area?Connection\r\n"
    "Renewing and releasing need administrator rights.\r\n";

PlatformConfig config;
ReportText report;

// To a pipe or a file the report goes as it is, in the ANSI code page that the
// program reads. A console shows the OEM code page, so there it goes as UTF-16.
// A report that was cut fails.
int Print(int exitCode) {
  EndReport(report);
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  DWORD written = 0;
  if (!GetConsoleMode(out, &mode)) {
    WriteFile(out, report.text, static_cast<DWORD>(report.length), &written, nullptr);
  } else {
    static wchar_t wide[sizeof report.text];
    const int length = MultiByteToWideChar(CP_ACP, 0, report.text, static_cast<int>(report.length),
                                           wide, static_cast<int>(std::size(wide)));
    // Older consoles take a few kilobytes a call.
    for (int at = 0; at < length; at += static_cast<int>(written)) {
      const int piece = length - at < 4096 ? length - at : 4096;
      if (!WriteConsoleW(out, wide + at, piece, &written, nullptr) || written == 0) break;
    }
  }
  if (report.cut) return 1;
  return exitCode;
}

bool SwitchIs(const char* argument, const char* name) {
  if (argument[0] != '/' && argument[0] != '-') return false;
  return lstrcmpiA(argument + 1, name) == 0;
}

// Says so where a list was longer than the report shows.
void EndListing() {
  if (config.listsCut) Line(report, "ipconfig: the system lists more addresses than shown here.");
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
  if (!LoadPlatformFunctions()) return Print(RunSystemIpconfig(report));
  if (argc == 1) {
    if (!ReadPlatformConfig(config, report)) return Print(1);
    WriteShortReport(report, config.adapters, config.adapterCount);
    EndListing();
    return Print(0);
  }
  const char* option = argv[1];
  if (SwitchIs(option, "?")) {
    Append(report, USAGE);
    return Print(0);
  }
  if (SwitchIs(option, "all")) {
    if (argc > 2) return BadUsage("/all takes no adapter name", argv[2]);
    if (!ReadPlatformConfig(config, report)) return Print(1);
    WriteFullReport(report, config.host, config.adapters, config.adapterCount);
    EndListing();
    return Print(0);
  }
  if (SwitchIs(option, "renew") || SwitchIs(option, "release")) {
    // A name typed with blanks arrives as several arguments: join them again.
    char name[TEXT_SIZE] = "";
    for (int i = 2; i < argc; ++i) {
      if (i > 2) std::strncat(name, " ", sizeof name - 1 - std::strlen(name));
      std::strncat(name, argv[i], sizeof name - 1 - std::strlen(name));
    }
    if (!ReadPlatformConfig(config, report)) return Print(1);
    const char* pattern = argc > 2 ? name : nullptr;
    return Print(ChangeLeases(config, SwitchIs(option, "renew"), pattern, report));
  }
  return BadUsage("unknown option", option);
}
