#include "ipconfig/ansi_text.h"

#include <cwchar>

bool ToAnsiExactly(const wchar_t* wide, char* text, int size) {
  // Read back, the text must give the same characters. The system's flag for a default
  // character says nothing of a best-fit look-alike ("e" for "é"), which is no '?', and
  // must be null where the ANSI code page is UTF-8; the read-back finds both.
  wchar_t back[1024];
  if (WideCharToMultiByte(CP_ACP, 0, wide, -1, text, size, nullptr, nullptr) > 0 &&
      MultiByteToWideChar(CP_ACP, 0, text, -1, back, 1024) > 0 && std::wcscmp(back, wide) == 0)
    return true;
  text[0] = '\0';
  return false;
}
