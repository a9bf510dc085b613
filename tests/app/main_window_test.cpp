#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "report/config_snapshot.h"
#include "runner/run_captured.h"
#include "tests/win/app_fixture.h"

namespace {

using Texts = std::vector<std::string>;

long LineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST_F(AppTest, StartUpShowsTheHostFieldsTheAdapterListAndTheFirstAdapter) {
  StartWith("xp_ppp.txt");
  EXPECT_EQ(Commands(), Texts({"ipconfig /all"}));
  EXPECT_EQ(HostTexts(), Texts({"LAPTOP01", "198.51.100.53", "Unknown", "", "No", "No", ""}));
  EXPECT_EQ(ListItems(), Texts({"Broadcom NetXtreme 57xx Gigabit Controller",
                                "VirtualBox Host-Only Ethernet Adapter"}));
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ(AdapterTexts(), Texts({"00-14-22-DE-AD-01", "192.168.0.23", "255.255.255.0", "192.168.0.1",
                                   "192.168.0.1", "", "", "2008/06/01 9:00:00", "2008/06/02 9:00:00"}));
}

TEST_F(AppTest, StartUpShowsTheMainWindowOutOfTheTopmostBandWithTheIconAndTheConsoleHidden) {
  StartWith("xp_ppp.txt");
  EXPECT_TRUE(IsWindowVisible(mainWindow));
  EXPECT_FALSE(GetWindowLongA(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongA(consoleWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(IsWindowVisible(consoleWindow));
  EXPECT_EQ(GetWindow(consoleWindow, GW_OWNER), mainWindow);
  EXPECT_NE(SendMessageA(mainWindow, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(consoleWindow, WM_GETICON, ICON_BIG, 0), 0);
  char title[64];
  GetWindowTextA(mainWindow, title, sizeof title);
  EXPECT_STREQ(title, "IP \x90\xdd\x92\xe8");  // "IP 設定" in code page 932
}

TEST_F(AppTest, ChoosingAnAdapterShowsItsSettings) {
  StartWith("xp_ppp.txt");
  Select(1);
  EXPECT_EQ(AdapterTexts(), Texts({"08-00-27-00-51-52", "192.168.56.1", "255.255.255.0", "", "", "", "",
                                   "", ""}));
  Select(0);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2), "192.168.0.23");
}

TEST_F(AppTest, ARefreshKeepsAValidSelectionAndOtherwiseSelectsTheFirstAdapter) {
  StartWith("five_ethernet.txt");
  Select(3);
  Press(IDC_RENEW_ALL);
  EXPECT_EQ(Selection(), 3);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2), "10.0.4.7");

  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));  // now two adapters
  Press(IDC_RELEASE_ALL);
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ(ListItems().size(), 2u);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2), "10.20.30.40");
}

TEST_F(AppTest, WithNoAdapterTheListIsEmptyTheFieldsKeepTheirTextsAndAdapterButtonsRunNothing) {
  StartWith("lf_only.txt");
  EXPECT_TRUE(ListItems().empty());
  EXPECT_EQ(AdapterTexts(), Texts({"146", "148", "150", "152", "154", "156", "158", "160", "162"}));
  Press(IDC_RENEW);
  Press(IDC_RELEASE);
  EXPECT_EQ(Commands(), Texts({"ipconfig /all"}));
}

TEST_F(AppTest, ButtonsRunTheirCommandLinesWithTheSlotNameAsOneWordThenRefresh) {
  StartWith("win2000.txt");
  Press(IDC_RENEW);
  Select(1);
  Press(IDC_RELEASE);
  Press(IDC_RENEW_ALL);
  Press(IDC_RELEASE_ALL);
  EXPECT_EQ(Commands(), Texts({"ipconfig /all", "ipconfig /renew Local?Area?Connection?2", "ipconfig /all",
                               "ipconfig /release Local?Area?Connection", "ipconfig /all",
                               "ipconfig /renew", "ipconfig /all", "ipconfig /release", "ipconfig /all"}));
}

TEST_F(AppTest, AdapterNamesInShiftJisReachTheCommandLineUnchanged) {
  StartWith("shift_jis.txt");
  Press(IDC_RENEW);
  const Texts commands = Commands();
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[1], std::string("ipconfig /renew ") + configSnapshot.adapters.name[0]);
  EXPECT_EQ(commands[1], "ipconfig /renew \x83\x8d\x81\x5b\x83\x4a\x83\x8b?\x83\x47\x83\x8a\x83\x41\x90\xda\x91\xb1");
}

DWORD WINAPI AskForTheTitle(LPVOID result) {
  Sleep(150);
  DWORD_PTR length = 0;
  const DWORD before = GetTickCount();
  const bool answered = SendMessageTimeoutA(mainWindow, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 2000, &length);
  *static_cast<DWORD*>(result) = answered ? GetTickCount() - before : 0xFFFFFFFF;
  return 0;
}

TEST_F(AppTest, ASlowCommandKeepsTheWindowAnsweringAndAPressDuringItRunsNested) {
  StartWith("win2000.txt");
  SetEnv("IPCONFIG_STANDIN_DELAY_MS", "400");
  DWORD answerMilliseconds = 0;
  HANDLE asker = CreateThread(nullptr, 0, AskForTheTitle, &answerMilliseconds, 0, nullptr);
  PostMessageA(mainWindow, WM_COMMAND, Click(IDC_RELEASE_ALL), 0);
  Press(IDC_RENEW_ALL);
  WaitForSingleObject(asker, INFINITE);
  CloseHandle(asker);
  EXPECT_LT(answerMilliseconds, 300u);  // answered within the 400 ms child, not after it

  const Texts commands = Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "ipconfig /renew"), 1);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "ipconfig /release"), 1);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "ipconfig /all"), 3);
  EXPECT_EQ(HostTexts()[0], "office-pc");
  EXPECT_EQ(ListItems().size(), 2u);
}

TEST_F(AppTest, FiftyPressesDuringASlowCommandRunAtMostTheBound) {
  StartWith("win2000.txt");
  SetEnv("IPCONFIG_STANDIN_DELAY_MS", "150");
  for (int i = 0; i < 50; ++i) PostMessageA(mainWindow, WM_COMMAND, Click(IDC_RENEW_ALL), 0);
  Press(IDC_RENEW);
  DispatchWaiting();
  const Texts commands = Commands();
  const auto renews = std::count_if(commands.begin(), commands.end(), [](const std::string& line) {
    return line.rfind("ipconfig /renew", 0) == 0;
  });
  EXPECT_EQ(renews, MAX_COMMANDS_IN_FLIGHT);
  EXPECT_TRUE(IsWindow(mainWindow));
  EXPECT_EQ(HostTexts()[0], "office-pc");

  SetEnv("IPCONFIG_STANDIN_DELAY_MS", "");
  Press(IDC_RELEASE_ALL);  // the program goes on working
  EXPECT_EQ(Commands().size(), commands.size() + 2);
}

// Presses arriving at any moment, during commands and during refreshes alike.
DWORD WINAPI PressRepeatedly(LPVOID) {
  for (int i = 0; i < 80; ++i) {
    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(i % 2 ? IDC_RENEW : IDC_RELEASE_ALL, BN_CLICKED), 0);
    Sleep(15);
  }
  return 0;
}

TEST_F(AppTest, PressesArrivingThroughoutSlowCommandsNeverOverflowTheStack) {
  StartWith("xp_ppp.txt");
  SetEnv("IPCONFIG_STANDIN_DELAY_MS", "60");
  HANDLE presser = CreateThread(nullptr, 0, PressRepeatedly, nullptr, 0, nullptr);
  while (WaitForSingleObject(presser, 0) == WAIT_TIMEOUT) {
    DispatchWaiting();
    Sleep(1);
  }
  CloseHandle(presser);
  DispatchWaiting();
  EXPECT_TRUE(IsWindow(mainWindow));
  EXPECT_TRUE(MayStartCommand());
  EXPECT_EQ(HostTexts()[0], "LAPTOP01");
  EXPECT_EQ(ListItems().size(), 2u);
  EXPECT_GT(Commands().size(), 20u);
}

// A timer's tick, dispatched by whichever message pump is innermost: notes how much stack is left
// there and, when a refresh's report is what runs now, presses "renew all" from
// inside it, so every level of nesting holds a command's and a report's areas.
struct StackProbe {
  std::string log;
  DWORD deadline = 0;
  long linesAtPress = 1;  // the start-up report
  std::size_t leastStackLeft = ~std::size_t{0};
  bool boundReached = false;
};
StackProbe probe;

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER) return DefWindowProcA(window, message, wParam, lParam);
  MEMORY_BASIC_INFORMATION stack = {};
  VirtualQuery(&stack, &stack, sizeof stack);
  const std::size_t left = reinterpret_cast<char*>(&stack) - static_cast<char*>(stack.AllocationBase);
  probe.leastStackLeft = std::min(probe.leastStackLeft, left);
  if (probe.boundReached || GetTickCount() > probe.deadline) KillTimer(window, 1);
  // Since the last press, its renew and then its refresh's report have started.
  const std::string commands = ReadFileText(probe.log);
  const long lines = LineCount(commands);
  const bool inReportRun = lines >= probe.linesAtPress + 2 &&
                           commands.compare(commands.size() - 14, 14, "ipconfig /all\n") == 0;
  if (!inReportRun) return 0;
  if (!MayStartCommand()) {
    probe.boundReached = true;
    return 0;
  }
  probe.linesAtPress = lines;
  SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_RENEW_ALL, BN_CLICKED), 0);
  return 0;
}

TEST_F(AppTest, AtTheBoundWithEveryLevelInsideARefreshTheStackStillHasRoomToSpare) {
  StartWith("win2000.txt");
  SetEnv("IPCONFIG_STANDIN_DELAY_MS", "80");
  SetEnv("IPCONFIG_STANDIN_SLOW_ALL_ONLY", "1");
  probe.log = log;
  probe.deadline = GetTickCount() + 30000;
  HWND prober = CreateTestWindow(ProbeProcedure);
  SetTimer(prober, 1, 10, nullptr);
  Press(IDC_RENEW_ALL);
  DispatchWaiting();
  EXPECT_TRUE(probe.boundReached) << ReadFileText(log);
  EXPECT_GT(probe.leastStackLeft, 128u * 1024u) << "bytes of stack left at the deepest point";
  RecordProperty("leastStackLeft", static_cast<int>(probe.leastStackLeft));
  std::printf("least stack left at the bound: %zu bytes\n", probe.leastStackLeft);
  EXPECT_TRUE(IsWindow(mainWindow));
  EXPECT_EQ(HostTexts()[0], "office-pc");
  DestroyWindow(prober);
}

}  // namespace
