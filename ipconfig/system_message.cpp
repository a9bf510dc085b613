#include "ipconfig/system_message.h"

#include <cstdlib>
#include <cstring>

void AppendSystemError(ReportText& report, DWORD error) {
  char message[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 message, sizeof message, nullptr);
  char text[512];
  CopyClean(text, sizeof text, message);
  for (std::size_t end = std::strlen(text); end > 0 && std::strchr(" .", text[end - 1]); --end)
    text[end - 1] = '\0';
  if (text[0] == '\0') CopyClean(text, sizeof text, "unknown error");
  char number[16];
  Append(report, {" (error ", _ultoa(error, number, 10), "): ", static_cast<const char*>(text)});
}
