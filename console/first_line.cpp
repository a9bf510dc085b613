#include "console/first_line.h"

void CutAtLineEnd(char* text) {
  while (static_cast<unsigned char>(*text) > 0x10) ++text;
  *text = '\0';
}
