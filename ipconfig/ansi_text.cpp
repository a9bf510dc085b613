#include "ipconfig/ansi_text.h"

#include <cwchar>

bool ToAnsiExactly(const wchar_t* wide, char* text, int size) {
  // Read back, the text must give the same characters: this finds a substitute of either
  // kind on every Windows, where the flags that would say so are newer than NT 4.0.
  wchar_t back[1024];
  if (WideCharToMultiByte(CP_ACP, 0, wide, -1, text, size, nullptr, nullptr) > 0 &&
      MultiByteToWideChar(CP_ACP, 0, text, -1, back, 1024) > 0 && std::wcscmp(back, wide) == 0)
    return true;
  text[0] = '\0';
  return false;
}
