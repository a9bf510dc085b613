// Adapter-name patterns, as /renew and /release match them, in the system's code page
// (932 here, as the scripts run Wine in Japanese).
#include "ipconfig/wildcard.h"

#include <gtest/gtest.h>

namespace {

TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneCharacterLettersFolded) {
  const struct {
    const char *pattern, *name;
    bool matches;
  } cases[] = {{"Local?Area", "Local Area", true},
               {"Local?Area", "Local Area 2", false},
               {"*2", "LAN 2", true},
               {"*Area*", "Local Area 2", true},
               {"", "", true},
               {"", "eth0", false},
               {"eth?", "eth", false},
               {"ETH0", "eth0", true},
               {"a*b*c", "aXbYbZc", true},
               {"e*h*1", "eth0", false},
               {"Local*", "Local", true},
               {"\x83\x8d*", "\x83\x8d\x81\x5b", true},  // ロ* and ロー
               {"\x83\x41", "\x83\x61", false},          // ア and ヂ: one character each
               {"?", "\x83\x41", true},
               {"??", "\x83\x41", false},
               {"?x", "\x83\x41x", true},
               {"*A", "\x83\x41", false},  // ア's second byte is no letter A
               {"*\x83\x41", "x\x83\x41", true},
               {"*\x83\x41", "x\x83\x83\x41", false}};  // xャA: 83 41 spans two characters
  for (const auto& c : cases)
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

}  // namespace
