#include <iterator>

#include "console/console_window.h"
#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

using ConsoleTest = AppTest;

std::string Box() { return Text(IDC_CONSOLE_OUTPUT, consoleWindow); }
void SetBox(const std::string& text) {
  SetDlgItemTextA(consoleWindow, IDC_CONSOLE_OUTPUT, text.c_str());
}

// The stand-in prints its own command line for every command but the report.
TEST_F(ConsoleTest, EachItemRunsItsCommandAndTheWholeOutputReplacesTheBox) {
  StartWith("win2000.txt");
  const std::string name =
      "\x83\x8d\x81\x5b\x83\x4a\x83\x8b \x90\xda\x91\xb1";  // Shift_JIS, with a blank
  const struct {
    int item;
    std::string box, commandLine;
  } cases[] = {
      {IDM_SHOW, "earlier\r\ntext", "ipconfig"},
      {IDM_RENEW_ALL, "", "ipconfig /renew"},
      {IDM_RELEASE_ALL, "", "ipconfig /release"},
      {IDM_HELP, "", "ipconfig /?"},
      {IDM_RENEW_FIRST_LINE, "\r\nan empty first line", "ipconfig /renew "},
      {IDM_RELEASE_FIRST_LINE, name + "\r\nrest", "ipconfig /release " + name},
      {IDM_RUN_FIRST_LINE, "/renew eth0\x11\x1f\tcomment", "ipconfig /renew eth0\x11\x1f"},
      {IDM_RUN_FIRST_LINE, "/release eth0\x10rest", "ipconfig /release eth0"},
      // The platform takes 32,767 characters with the NUL: the longest line runs.
      {IDM_RENEW_FIRST_LINE, std::string(40000, 'a') + "\r\n2",
       "ipconfig /renew " + std::string(32750, 'a')},
      {IDM_RELEASE_FIRST_LINE, std::string(40000, 'a'),
       "ipconfig /release " + std::string(32748, 'a')},
      {IDM_RUN_FIRST_LINE, std::string(40000, 'a'), "ipconfig " + std::string(32757, 'a')}};
  for (const auto& c : cases) {
    SetBox(c.box);
    Press(c.item, consoleWindow);
    EXPECT_EQ(Commands().back(), c.commandLine);
    EXPECT_EQ(Box(), (c.commandLine + "\r\n").substr(0, TEXT_AREA_SIZE - 1));
  }
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("xp_ppp.txt"));
  Press(IDM_SHOW_ALL, consoleWindow);
  EXPECT_EQ(Box(), ReadFileText(Fixture("xp_ppp.txt")));
  const HMENU items = GetSubMenu(GetMenu(consoleWindow), 0);  // the nine items of MENU2
  for (int i = 0; i < GetMenuItemCount(items) || i < 9; ++i)
    EXPECT_EQ(GetMenuItemID(items, i), static_cast<UINT>(IDM_SHOW + i)) << i;
  Press(IDM_CLEAR, consoleWindow);
  EXPECT_EQ(Box(), "");
  // Clear ran nothing, and no command refreshed the main window.
  EXPECT_EQ(Commands().size(), 2 + std::size(cases));
}

}  // namespace
