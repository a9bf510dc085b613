// Adapter-name patterns, as /renew and /release match them, in the system's code page:
// the scripts run it in 932 and in 1251. A case whose characters the code page lacks
// is left out there.
#include "ipconfig/wildcard.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// The text in the ANSI code page; empty where the page lacks one of its characters.
std::string Ansi(const wchar_t* text) {
  char ansi[256];
  BOOL lacking = FALSE;
  WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, &lacking);
  return lacking ? "" : ansi;
}

TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneCharacterLettersFolded) {
  const struct {
    const wchar_t *pattern, *name;
    bool matches;
  } cases[] = {{L"Local?Area", L"Local Area", true},
               {L"Local?Area", L"Local Area 2", false},
               {L"*2", L"LAN 2", true},
               {L"*Area*", L"Local Area 2", true},
               {L"", L"", true},
               {L"", L"eth0", false},
               {L"eth?", L"eth", false},
               {L"ETH0", L"eth0", true},
               {L"a*b*c", L"aXbYbZc", true},
               {L"e*h*1", L"eth0", false},
               {L"Local*", L"Local", true},
               {L"подключение*", L"Подключение по локальной сети", true},
               {L"ПОДКЛЮЧЕНИЕ?ПО*", L"Подключение по локальной сети", true},
               {L"ロ*", L"ローカル", true},
               {L"ア", L"ヂ", false},  // 83 41 and 83 61 in 932: one character each
               {L"?", L"ア", true},
               {L"??", L"ア", false},
               {L"?x", L"アx", true},
               {L"*A", L"ア", false},  // ア's second byte is no letter A
               {L"*ア", L"xア", true},
               {L"*ア", L"xャA", false}};  // 83 83 41: 83 41 spans two characters
  for (const auto& c : cases) {
    const std::string pattern = Ansi(c.pattern);
    const std::string name = Ansi(c.name);
    if ((pattern.empty() && *c.pattern) || (name.empty() && *c.name)) continue;
    EXPECT_EQ(MatchesWildcard(pattern.c_str(), name.c_str()), c.matches)
        << pattern << " / " << name;
  }
  // No code page of the tests holds a character beyond 16 bits (𠀋: D840 DC0B).
  EXPECT_TRUE(MatchesCharacters(L"?", L"𠀋"));
  EXPECT_FALSE(MatchesCharacters(L"??", L"𠀋"));
  EXPECT_FALSE(MatchesCharacters(L"*\xDC0B", L"x𠀋"));
}

}  // namespace
