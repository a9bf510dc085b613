#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "console/console_window.h"
#include "runner/run_captured.h"
#include "runner/text_area.h"
#include "tests/win/app_fixture.h"

namespace {

using Texts = std::vector<std::string>;

class ConsoleTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    StartWith("win2000.txt");
  }

  static std::string Box() {
    static char text[4 * TEXT_AREA_SIZE];
    GetDlgItemTextA(consoleWindow, IDC_CONSOLE_OUTPUT, text, sizeof text);
    return text;
  }

  static void SetBox(const std::string& text) { SetDlgItemTextA(consoleWindow, IDC_CONSOLE_OUTPUT, text.c_str()); }

  static void Choose(int item) { SendMessageA(consoleWindow, WM_COMMAND, MAKEWPARAM(item, 0), 0); }

  std::string LastCommand() const { return Commands().empty() ? "" : Commands().back(); }

  static SIZE ClientSize(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
  }

  static SIZE WindowSize(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
  }
};

TEST_F(ConsoleTest, EachFixedItemRunsItsCommandAndTheBoxHoldsTheWholeOutput) {
  const struct {
    int item;
    const char* commandLine;
  } items[] = {{IDM_SHOW, "ipconfig"},           {IDM_RENEW_ALL, "ipconfig /renew"},
               {IDM_RELEASE_ALL, "ipconfig /release"}, {IDM_HELP, "ipconfig /?"}};
  for (const auto& item : items) {
    SetBox("earlier text\r\nwith two lines");
    Choose(item.item);
    EXPECT_EQ(LastCommand(), item.commandLine);
    EXPECT_EQ(Box(), std::string(item.commandLine) + "\r\n");  // the stand-in echoes its command
  }
  Choose(IDM_SHOW_ALL);
  EXPECT_EQ(LastCommand(), "ipconfig /all");
  EXPECT_EQ(Box(), ReadFileText(Fixture("win2000.txt")));
}

TEST_F(ConsoleTest, ConsoleCommandsLeaveTheMainWindowAsItWas) {
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("xp_ppp.txt"));
  Choose(IDM_RENEW_ALL);
  Choose(IDM_RELEASE_ALL);
  EXPECT_EQ(Commands(), Texts({"ipconfig /all", "ipconfig /renew", "ipconfig /release"}));
  EXPECT_EQ(HostTexts()[0], "office-pc");
}

TEST_F(ConsoleTest, ClearEmptiesTheBoxAndRunsNothing) {
  SetBox("some output");
  Choose(IDM_CLEAR);
  EXPECT_EQ(Box(), "");
  EXPECT_EQ(Commands(), Texts({"ipconfig /all"}));
}

TEST_F(ConsoleTest, TheFirstLineOfTheBoxIsTheArgumentOfThreeItems) {
  const struct {
    const char* box;
    int item;
    const char* commandLine;
  } cases[] = {
      {"\r\nan empty first line", IDM_RENEW_FIRST_LINE, "ipconfig /renew "},
      {"Local?Area?Connection\r\nrest", IDM_RENEW_FIRST_LINE, "ipconfig /renew Local?Area?Connection"},
      {"\x83\x8d\x81\x5b\x83\x4a\x83\x8b \x90\xda\x91\xb1\r\nrest", IDM_RELEASE_FIRST_LINE,
       "ipconfig /release \x83\x8d\x81\x5b\x83\x4a\x83\x8b \x90\xda\x91\xb1"},
      {"/all\tignored", IDM_RUN_FIRST_LINE, "ipconfig /all"},
      {"/renew eth0\r", IDM_RUN_FIRST_LINE, "ipconfig /renew eth0"},
  };
  for (const auto& c : cases) {
    SetBox(c.box);
    Choose(c.item);
    EXPECT_EQ(LastCommand(), c.commandLine) << c.box;
  }
  EXPECT_EQ(Box(), "ipconfig /renew eth0\r\n");  // the output replaced the argument line
}

TEST_F(ConsoleTest, AFirstLineLongerThanTheAreaIsCutByTheRead) {
  SetBox(std::string(40000, 'a') + "\r\nsecond");
  const struct {
    const char* prefix;
    std::size_t read;
  } prefixes[] = {{"ipconfig /renew ", 32752}, {"ipconfig /release ", 32750}, {"ipconfig ", 32759}};
  for (const auto& p : prefixes) {
    static char area[TEXT_AREA_SIZE];
    ComposeWithFirstLine(consoleWindow, area, p.prefix);
    EXPECT_EQ(std::string(area), p.prefix + std::string(p.read - 1, 'a'));
  }
  Choose(IDM_RENEW_FIRST_LINE);  // runs with what fits, or nothing where the platform refuses so long a line
  EXPECT_TRUE(IsWindow(consoleWindow));
}

TEST_F(ConsoleTest, TheBoxFillsTheClientAreaAtStartUpAndAfterEverySizeChange) {
  HWND box = GetDlgItem(consoleWindow, IDC_CONSOLE_OUTPUT);
  EXPECT_EQ(WindowSize(box).cx, ClientSize(consoleWindow).cx);
  EXPECT_EQ(WindowSize(box).cy, ClientSize(consoleWindow).cy);

  SetWindowPos(consoleWindow, nullptr, 0, 0, 520, 410, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(WindowSize(box).cx, ClientSize(consoleWindow).cx);
  EXPECT_EQ(WindowSize(box).cy, ClientSize(consoleWindow).cy);

  SendMessageA(consoleWindow, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
  EXPECT_EQ(WindowSize(box).cx, 0);
  SendMessageA(consoleWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
  EXPECT_EQ(WindowSize(box).cx, 123);
  EXPECT_EQ(WindowSize(box).cy, 45);
}

TEST_F(ConsoleTest, TheWholeConsoleTakesTheSizeItsClientAreaHadWhenCreated) {
  HWND fresh = CreateDialogParamA(GetModuleHandleA(nullptr), "DIALOG2", nullptr, ConsoleDialogProc, 0);
  const SIZE created = ClientSize(fresh);
  DestroyWindow(fresh);
  EXPECT_EQ(WindowSize(consoleWindow).cx, created.cx);
  EXPECT_EQ(WindowSize(consoleWindow).cy, created.cy);
}

TEST_F(ConsoleTest, ClosingHidesItAndTheFifthButtonShowsItAgainAsItWasLeft) {
  Press(IDC_SHOW_CONSOLE);
  EXPECT_TRUE(IsWindowVisible(consoleWindow));
  SetBox("kept\r\ntext");
  SetWindowPos(consoleWindow, nullptr, 40, 50, 480, 360, SWP_NOZORDER);
  RECT before;
  GetWindowRect(consoleWindow, &before);

  SendMessageA(consoleWindow, WM_CLOSE, 0, 0);
  DispatchWaiting();
  EXPECT_TRUE(IsWindow(consoleWindow));
  EXPECT_FALSE(IsWindowVisible(consoleWindow));

  Press(IDC_SHOW_CONSOLE);
  RECT after;
  GetWindowRect(consoleWindow, &after);
  EXPECT_TRUE(IsWindowVisible(consoleWindow));
  EXPECT_EQ(Box(), "kept\r\ntext");
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(ConsoleTest, ClosingTheMainWindowWhileTheConsoleIsShownClosesBothAndQuitsWithZero) {
  Press(IDC_SHOW_CONSOLE);
  SendMessageA(mainWindow, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(mainWindow));
  EXPECT_FALSE(IsWindow(consoleWindow));
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

TEST_F(ConsoleTest, MenuChoicesDuringASlowCommandRunAtMostTheBound) {
  SetEnv("IPCONFIG_STANDIN_DELAY_MS", "150");
  for (int i = 0; i < 50; ++i) PostMessageA(consoleWindow, WM_COMMAND, MAKEWPARAM(IDM_SHOW, 0), 0);
  Choose(IDM_HELP);
  DispatchWaiting();
  const Texts commands = Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "ipconfig"), MAX_COMMANDS_IN_FLIGHT - 1);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "ipconfig /?"), 1);
  EXPECT_EQ(Box(), "ipconfig /?\r\n");  // the outer command finished last
}

}  // namespace
