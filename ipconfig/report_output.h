// The report on the tool's standard output.
#pragma once

#include <windows.h>

#include "ipconfig/classic_report.h"

// To a pipe or a file the report goes as it is, in the ANSI code page that the program
// reads. A console shows its own code page, so there it goes as UTF-16.
void WriteReport(HANDLE out, const ReportText& report);
