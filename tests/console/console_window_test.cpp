#include <iterator>
#include <utility>

#include "console/console_window.h"
#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

using ConsoleTest = AppTest;

std::string Box() { return Text(IDC_CONSOLE_OUTPUT, consoleWindow); }
void SetBox(const std::string& text) { SetDlgItemTextA(consoleWindow, IDC_CONSOLE_OUTPUT, text.c_str()); }

std::pair<LONG, LONG> Size(HWND window, bool client) {
  RECT r;
  client ? GetClientRect(window, &r) : GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// The stand-in prints its own command line for every command but the report.
TEST_F(ConsoleTest, EachItemRunsItsCommandAndTheWholeOutputReplacesTheBox) {
  StartWith("win2000.txt");
  const std::string name = "\x83\x8d\x81\x5b\x83\x4a\x83\x8b \x90\xda\x91\xb1";  // Shift_JIS, with a blank
  const struct { int item; std::string box, commandLine; } cases[] = {
      {IDM_SHOW, "earlier\r\ntext", "ipconfig"},
      {IDM_RENEW_ALL, "", "ipconfig /renew"},
      {IDM_RELEASE_ALL, "", "ipconfig /release"},
      {IDM_HELP, "", "ipconfig /?"},
      {IDM_RENEW_FIRST_LINE, "\r\nan empty first line", "ipconfig /renew "},
      {IDM_RELEASE_FIRST_LINE, name + "\r\nrest", "ipconfig /release " + name},
      {IDM_RUN_FIRST_LINE, "/renew eth0\x11\x1f\tcomment", "ipconfig /renew eth0\x11\x1f"},
      {IDM_RUN_FIRST_LINE, "/release eth0\x10rest", "ipconfig /release eth0"},
      // The platform takes 32,767 characters with the NUL: the longest line runs.
      {IDM_RENEW_FIRST_LINE, std::string(40000, 'a') + "\r\n2", "ipconfig /renew " + std::string(32750, 'a')},
      {IDM_RELEASE_FIRST_LINE, std::string(40000, 'a'), "ipconfig /release " + std::string(32748, 'a')},
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
  Press(IDM_CLEAR, consoleWindow);
  EXPECT_EQ(Box(), "");
  EXPECT_EQ(Commands().size(), 2 + std::size(cases));  // clear ran nothing, and no refresh of the main window
}

TEST_F(ConsoleTest, TheBoxFillsTheWindowWhateverItsSizeAndClosingOnlyHidesIt) {
  StartWith("win2000.txt");
  HWND fresh = CreateDialogParamA(GetModuleHandleA(nullptr), "DIALOG2", nullptr, ConsoleDialogProc, 0);
  EXPECT_EQ(Size(consoleWindow, false), Size(fresh, true));  // the whole window took its client size
  DestroyWindow(fresh);
  HWND box = GetDlgItem(consoleWindow, IDC_CONSOLE_OUTPUT);
  Press(IDC_SHOW_CONSOLE);
  for (const SIZE size : {SIZE{520, 410}, SIZE{300, 200}}) {
    SetWindowPos(consoleWindow, nullptr, 40, 50, size.cx, size.cy, SWP_NOZORDER);
    EXPECT_EQ(Size(box, false), Size(consoleWindow, true));
  }
  SetBox("kept\r\ntext");
  RECT before, after;
  GetWindowRect(consoleWindow, &before);
  SendMessageA(consoleWindow, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(consoleWindow));
  Press(IDC_SHOW_CONSOLE);
  GetWindowRect(consoleWindow, &after);
  EXPECT_TRUE(IsWindowVisible(consoleWindow) && EqualRect(&before, &after));
  EXPECT_EQ(Box(), "kept\r\ntext");
  SendMessageA(consoleWindow, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(Size(box, false).first, 0);
  SendMessageA(mainWindow, WM_CLOSE, 0, 0);  // with the console shown
  EXPECT_FALSE(IsWindow(consoleWindow));
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

}  // namespace
