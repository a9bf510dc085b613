// Adapter-name patterns, as /renew and /release match them, in the system's code page:
// the cases of wildcard_cases.txt, and characters beyond 16 bits, which no code page of
// the tests holds.
#include "ipconfig/wildcard.h"

#include "tests/win/test_support.h"

namespace {

// UTF-8 text in the ANSI code page; false where the page lacks one of its characters.
bool Ansi(const std::string& text, std::string& ansi) {
  wchar_t wide[256];
  char bytes[512];
  BOOL lacking = FALSE;
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide, 256);
  WideCharToMultiByte(CP_ACP, 0, wide, -1, bytes, sizeof bytes, nullptr, &lacking);
  ansi = bytes;
  return !lacking;
}

TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneCharacterLettersFolded) {
  std::istringstream cases(ReadFileText(SOURCE_DIR "/tests/ipconfig/wildcard_cases.txt"));
  for (std::string line; std::getline(cases, line);) {
    std::string fields[3];
    std::istringstream columns(line);
    for (std::string& field : fields) std::getline(columns, field, '\t');
    std::string pattern;
    std::string name;
    if (line[0] == '#' || !Ansi(fields[0], pattern) || !Ansi(fields[1], name)) continue;
    EXPECT_EQ(MatchesWildcard(pattern.c_str(), name.c_str()), fields[2] == "yes") << line;
  }
  EXPECT_TRUE(MatchesCharacters(L"?", L"𠀋"));  // D840 DC0B: one character
  EXPECT_FALSE(MatchesCharacters(L"??", L"𠀋"));
  EXPECT_FALSE(MatchesCharacters(L"*\xDC0B", L"x𠀋"));
}

}  // namespace
