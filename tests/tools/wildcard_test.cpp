// Adapter-name patterns, as /renew and /release match them.
#include "tools/ipconfig/wildcard.h"

#include <gtest/gtest.h>

namespace {

TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneByteLettersFolded) {
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
               {"\x83\x8d*", "\x83\x8d\x81\x5b", true},
               {"Local*", "Local", true}};
  for (const auto& c : cases)
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}
}  // namespace
