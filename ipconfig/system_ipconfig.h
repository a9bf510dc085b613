// The system's own ipconfig, which answers the options that the tool does not have, and
// takes the tool's place where the system lacks an IP Helper function that the tool
// needs: Windows NT 4.0, whose ipconfig prints the classic form itself.
#pragma once

#include "ipconfig/classic_report.h"

constexpr char LACKS_IP_HELPER[] = "this system lacks IP Helper functions that this tool needs";

// Runs the system folder's ipconfig.exe by its full path with the tool's arguments as
// typed, its output going straight to the tool's standard output, and returns its exit
// code. Where that file is this tool itself, or cannot be started, says so in report
// after why it was asked (reason) and returns 1.
int RunSystemIpconfig(ReportText& report, const char* reason);

// The name of the tool's own file, "ipconfig.exe" as shipped.
const char* OwnFileName();
