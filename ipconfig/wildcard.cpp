#include "ipconfig/wildcard.h"

#include <windows.h>

namespace {

// 2 for a lead byte and the byte after it, else 1.
int CharacterLength(const char* text) {
  if (IsDBCSLeadByte(static_cast<BYTE>(text[0])) && text[1] != '\0') return 2;
  return 1;
}

char Folded(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return c;
}

// True when the pattern's next character is the name's, letters folded in single bytes.
bool SameCharacter(const char* pattern, const char* name, int length) {
  if (*pattern == '\0' || CharacterLength(pattern) != length) return false;
  if (length == 1) return Folded(*pattern) == Folded(*name);
  return pattern[0] == name[0] && pattern[1] == name[1];
}

}  // namespace

bool MatchesWildcard(const char* pattern, const char* name) {
  // Greedy walk with one backtrack point: the last '*' and where its run began.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name != '\0') {
    const int length = CharacterLength(name);
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || SameCharacter(pattern, name, length)) {
      pattern += *pattern == '?' ? 1 : length;
      name += length;
    } else if (star != nullptr) {
      pattern = star + 1;
      resume += CharacterLength(resume);
      name = resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}
