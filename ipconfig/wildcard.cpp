#include "ipconfig/wildcard.h"

#include <windows.h>

namespace {

constexpr int MAX_UNITS = 512;  // UTF-16 units of a pattern or a name: TEXT_SIZE bytes fit

// The text in UTF-16 capitals, so that case folds for every letter the system knows;
// false where it does not fit.
bool Capitals(const char* text, wchar_t* capitals) {
  wchar_t wide[MAX_UNITS];
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_UNITS);
  return length > 0 && LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, wide, length, capitals,
                                    MAX_UNITS) == length;
}

// 2 for a surrogate pair, else 1; the unit after the first is read only where the first
// opens a pair, so never past the terminating NUL.
int CharacterLength(const wchar_t* text) {
  if (text[0] < 0xD800 || text[0] >= 0xDC00) return 1;
  return text[1] >= 0xDC00 && text[1] < 0xE000 ? 2 : 1;
}

}  // namespace

bool MatchesCharacters(const wchar_t* pattern, const wchar_t* name) {
  // Greedy walk with one backtrack point: the last '*' and where its run began.
  const wchar_t* star = nullptr;
  const wchar_t* resume = nullptr;
  while (*name != L'\0') {
    const int length = CharacterLength(name);
    if (*pattern == L'*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == L'?') {
      ++pattern;
      name += length;
    } else if (CharacterLength(pattern) == length && pattern[0] == name[0] &&
               pattern[length - 1] == name[length - 1]) {
      pattern += length;
      name += length;
    } else if (star != nullptr) {
      pattern = star + 1;
      resume += CharacterLength(resume);
      name = resume;
    } else {
      return false;
    }
  }
  while (*pattern == L'*') ++pattern;
  return *pattern == L'\0';
}

bool MatchesWildcard(const char* pattern, const char* name) {
  wchar_t widePattern[MAX_UNITS];
  wchar_t wideName[MAX_UNITS];
  return Capitals(pattern, widePattern) && Capitals(name, wideName) &&
         MatchesCharacters(widePattern, wideName);
}

bool MatchesLiterally(const char* pattern, const char* name) {
  wchar_t widePattern[MAX_UNITS];
  wchar_t wideName[MAX_UNITS];
  if (!Capitals(pattern, widePattern) || !Capitals(name, wideName)) return false;
  int at = 0;
  for (; widePattern[at] != L'\0'; ++at)  // a shorter name differs at its NUL
    if (widePattern[at] != wideName[at] && !(widePattern[at] == L'?' && wideName[at] == L' '))
      return false;
  return wideName[at] == L'\0';
}
