// The system's own word for an error code, for the lines that say why something failed.
#pragma once

#include <windows.h>

#include "ipconfig/classic_report.h"

// Appends " (error N): " and the system's text for error, on one line, without its
// closing dot.
void AppendSystemError(ReportText& report, DWORD error);
