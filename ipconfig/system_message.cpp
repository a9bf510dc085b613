#include "ipconfig/system_message.h"

#include <cstdlib>
#include <cstring>

#include "ipconfig/ansi_text.h"

namespace {

// The system's text for error in language, where the ANSI code page holds all of it.
bool MessageIn(LANGID language, DWORD error, char* text, int size) {
  wchar_t wide[512];
  return FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                        language, wide, 512, nullptr) > 0 &&
         ToAnsiExactly(wide, text, size);
}

}  // namespace

void AppendSystemError(ReportText& report, DWORD error) {
  // The user's language, then the system's, whose characters the ANSI code page was
  // chosen for, then English.
  char message[512] = "";
  const LANGID languages[] = {0, GetSystemDefaultLangID(),
                              MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)};
  for (const LANGID language : languages)
    if (MessageIn(language, error, message, sizeof message)) break;
  char text[512];
  CopyClean(text, sizeof text, message);
  for (std::size_t end = std::strlen(text); end > 0 && std::strchr(" .", text[end - 1]); --end)
    text[end - 1] = '\0';
  if (text[0] == '\0') CopyClean(text, sizeof text, "unknown error");
  char number[16];
  Append(report, {" (error ", _ultoa(error, number, 10), "): ", static_cast<const char*>(text)});
}
