// The system's own ipconfig, which takes the tool's place where the system lacks an IP
// Helper function that the tool needs: Windows NT 4.0, whose ipconfig prints the classic
// form itself.
#pragma once

#include "ipconfig/classic_report.h"

// Runs the system folder's ipconfig.exe by its full path with the tool's own arguments,
// its output going straight to the tool's standard output, and returns its exit code.
// Where that file is this tool itself, or cannot be started, says so in report and
// returns 1.
int RunSystemIpconfig(ReportText& report);
