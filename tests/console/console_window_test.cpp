#include <windows.h>

#include <iterator>
#include <string>
#include <utility>

#include "console/console_window.h"
#include "tests/win/app_fixture.h"

namespace {

class ConsoleTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    StartWith("win2000.txt");
  }
  static std::string Box() { return Text(IDC_CONSOLE_OUTPUT, consoleWindow); }
  static void SetBox(const std::string& text) { SetDlgItemTextA(consoleWindow, IDC_CONSOLE_OUTPUT, text.c_str()); }
  static void Choose(int item) { Press(item, consoleWindow); }
  static SIZE Size(HWND window, bool client) {
    RECT r;
    client ? GetClientRect(window, &r) : GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
  }
};

// The stand-in prints its own command line for every command but the report.
TEST_F(ConsoleTest, EachItemRunsItsCommandAndTheWholeOutputReplacesTheBox) {
  const std::string first = "\x83\x8d\x81\x5b\x83\x4a\x83\x8b \x90\xda\x91\xb1";  // Shift_JIS, with a blank
  const struct {
    int item;
    std::string box;
    std::string commandLine;
  } cases[] = {
      {IDM_SHOW, "earlier\r\ntext", "ipconfig"},
      {IDM_RENEW_ALL, "", "ipconfig /renew"},
      {IDM_RELEASE_ALL, "", "ipconfig /release"},
      {IDM_HELP, "", "ipconfig /?"},
      {IDM_RENEW_FIRST_LINE, "\r\nan empty first line", "ipconfig /renew "},
      {IDM_RENEW_FIRST_LINE, "Local?Area?Connection\r\nrest", "ipconfig /renew Local?Area?Connection"},
      {IDM_RELEASE_FIRST_LINE, first + "\r\nrest", "ipconfig /release " + first},
      {IDM_RUN_FIRST_LINE, "/renew eth0\x11\x1f\tcomment", "ipconfig /renew eth0\x11\x1f"},
      {IDM_RUN_FIRST_LINE, "/release eth0\rrest", "ipconfig /release eth0"},
  };
  for (const auto& c : cases) {
    SetBox(c.box);
    Choose(c.item);
    EXPECT_EQ(Commands().back(), c.commandLine);
    EXPECT_EQ(Box(), c.commandLine + "\r\n");
  }
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("xp_ppp.txt"));
  Choose(IDM_SHOW_ALL);
  EXPECT_EQ(Box(), ReadFileText(Fixture("xp_ppp.txt")));
  Choose(IDM_CLEAR);
  EXPECT_EQ(Box(), "");
  EXPECT_EQ(Commands().size(), 2u + std::size(cases));  // clear runs nothing, and nothing refreshed
  EXPECT_EQ(Values(IDC_FIRST_HOST_VALUE, 1), Texts({"office-pc"}));
}

// The platform takes at most 32,767 characters with the NUL: the longest first line
// that runs is cut so that the whole command line has 32,766.
TEST_F(ConsoleTest, AnOverlongFirstLineRunsWithWhatFits) {
  for (const auto& [item, prefix] : {std::pair{IDM_RENEW_FIRST_LINE, std::string("ipconfig /renew ")},
                                     {IDM_RELEASE_FIRST_LINE, std::string("ipconfig /release ")},
                                     {IDM_RUN_FIRST_LINE, std::string("ipconfig ")}}) {
    SetBox(std::string(40000, 'a') + "\r\nsecond");
    Choose(item);
    EXPECT_EQ(Commands().back(), prefix + std::string(32766 - prefix.size(), 'a'));
  }
}

TEST_F(ConsoleTest, TheBoxFillsTheWindowWhateverItsSize) {
  HWND fresh = CreateDialogParamA(GetModuleHandleA(nullptr), "DIALOG2", nullptr, ConsoleDialogProc, 0);
  const SIZE created = Size(fresh, true);
  DestroyWindow(fresh);
  EXPECT_EQ(Size(consoleWindow, false).cx, created.cx);  // the whole window took its client size
  EXPECT_EQ(Size(consoleWindow, false).cy, created.cy);

  HWND box = GetDlgItem(consoleWindow, IDC_CONSOLE_OUTPUT);
  for (const SIZE size : {SIZE{520, 410}, SIZE{300, 200}}) {
    SetWindowPos(consoleWindow, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Size(box, false).cx, Size(consoleWindow, true).cx);
    EXPECT_EQ(Size(box, false).cy, Size(consoleWindow, true).cy);
  }
  SendMessageA(consoleWindow, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
  EXPECT_EQ(Size(box, false).cx, 0);
}

TEST_F(ConsoleTest, ClosingHidesItAsItWasAndClosingTheMainWindowEndsBoth) {
  Press(IDC_SHOW_CONSOLE);
  EXPECT_TRUE(IsWindowVisible(consoleWindow));
  SetBox("kept\r\ntext");
  SetWindowPos(consoleWindow, nullptr, 40, 50, 480, 360, SWP_NOZORDER);
  RECT before, after;
  GetWindowRect(consoleWindow, &before);
  SendMessageA(consoleWindow, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(consoleWindow));
  Press(IDC_SHOW_CONSOLE);
  GetWindowRect(consoleWindow, &after);
  EXPECT_TRUE(IsWindowVisible(consoleWindow));
  EXPECT_EQ(Box(), "kept\r\ntext");
  EXPECT_TRUE(EqualRect(&before, &after));

  SendMessageA(mainWindow, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(mainWindow));
  EXPECT_FALSE(IsWindow(consoleWindow));
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

}  // namespace
