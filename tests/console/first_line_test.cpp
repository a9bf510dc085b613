#include "console/first_line.h"

#include <string>

#include <gtest/gtest.h>

namespace {

struct CutCase {
  const char* text;
  const char* firstLine;
};

TEST(CutAtLineEnd, EndsTheTextAtItsFirstByteOf0x10OrLess) {
  const CutCase cases[] = {
      {"LAN 2\r\nsecond line", "LAN 2"},
      {"eth0\nrest", "eth0"},
      {"eth0\tcomment", "eth0"},
      {"a\x10z", "a"},
      {"a\x11z", "a\x11z"},  // 0x11 to 0x1F do not end the line
      {"a\x1fz", "a\x1fz"},
      {"\r\nafter an empty first line", ""},
      {"", ""},
      {"\x83\x8d\x81\x5b\x83\x4a\x83\x8b \x90\xda\x91\xb1\r\n", "\x83\x8d\x81\x5b\x83\x4a\x83\x8b \x90\xda\x91\xb1"},
      {"\xff\x80 trailing blanks  \r\n", "\xff\x80 trailing blanks  "},
  };
  for (const CutCase& c : cases) {
    std::string text = c.text;
    text.push_back('\0');
    CutAtLineEnd(&text[0]);
    EXPECT_STREQ(text.c_str(), c.firstLine) << c.text;
  }
}

}  // namespace
