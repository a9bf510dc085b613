#include "ipconfig/report_output.h"

#include <iterator>

void WriteReport(HANDLE out, const ReportText& report) {
  DWORD mode = 0;
  DWORD written = 0;
  if (!GetConsoleMode(out, &mode)) {
    WriteFile(out, report.text, static_cast<DWORD>(report.length), &written, nullptr);
    return;
  }
  static wchar_t wide[sizeof report.text];
  const int length = MultiByteToWideChar(CP_ACP, 0, report.text, static_cast<int>(report.length),
                                         wide, static_cast<int>(std::size(wide)));
  // Older consoles take a few kilobytes a call.
  for (int at = 0; at < length; at += static_cast<int>(written)) {
    const int piece = length - at < 4096 ? length - at : 4096;
    if (!WriteConsoleW(out, wide + at, piece, &written, nullptr) || written == 0) break;
  }
}
