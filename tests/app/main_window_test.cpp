#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "report/config_snapshot.h"
#include "runner/run_captured.h"
#include "tests/win/app_fixture.h"

namespace {

const Texts TEMPLATE_TEXTS = {"146", "148", "150", "152", "154", "156", "158", "160", "162"};

TEST_F(AppTest, StartUpReadsTheReportOnceAndShowsItInTheMainWindowAlone) {
  StartWith("xp_ppp.txt");
  EXPECT_EQ(Commands(), Texts({"ipconfig /all"}));
  EXPECT_EQ(Values(IDC_FIRST_HOST_VALUE, 7), Texts({"LAPTOP01", "198.51.100.53", "Unknown", "", "No", "No", ""}));
  EXPECT_EQ(ListItems(), Texts({"Broadcom NetXtreme 57xx Gigabit Controller", "VirtualBox Host-Only Ethernet Adapter"}));
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ(Values(IDC_FIRST_ADAPTER_VALUE, 9), Texts({"00-14-22-DE-AD-01", "192.168.0.23", "255.255.255.0",
                                                       "192.168.0.1", "192.168.0.1", "", "",
                                                       "2008/06/01 9:00:00", "2008/06/02 9:00:00"}));
  Select(1);
  EXPECT_EQ(Values(IDC_FIRST_ADAPTER_VALUE, 2), Texts({"08-00-27-00-51-52", "192.168.56.1"}));

  EXPECT_TRUE(IsWindowVisible(mainWindow));
  EXPECT_FALSE(IsWindowVisible(consoleWindow));
  EXPECT_EQ(GetWindow(consoleWindow, GW_OWNER), mainWindow);
  for (HWND window : {mainWindow, consoleWindow}) {
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
    char title[64];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "IP \x90\xdd\x92\xe8");  // "IP 設定" in code page 932
  }
}

TEST_F(AppTest, ARefreshKeepsTheSelectionWhileItNamesAnAdapterAndOtherwiseSelectsTheFirst) {
  StartWith("five_ethernet.txt");
  Select(3);
  Press(IDC_RENEW_ALL);
  EXPECT_EQ(Selection(), 3);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2), "10.0.4.7");

  Select(2);
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));  // two adapters from now on
  Press(IDC_RELEASE_ALL);
  EXPECT_EQ(ListItems().size(), 2u);
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2), "10.20.30.40");
}

TEST_F(AppTest, ButtonsRunTheirCommandLinesWithTheSlotNameAsOneWordAndThenRefresh) {
  StartWith("win2000.txt");
  Press(IDC_RENEW);
  Select(1);
  Press(IDC_RELEASE);
  Press(IDC_RENEW_ALL);
  Press(IDC_RELEASE_ALL);
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("shift_jis.txt"));
  Press(IDC_RENEW_ALL);
  Press(IDC_RELEASE);
  EXPECT_EQ(Commands(), Texts({"ipconfig /all", "ipconfig /renew Local?Area?Connection?2", "ipconfig /all",
                               "ipconfig /release Local?Area?Connection", "ipconfig /all", "ipconfig /renew",
                               "ipconfig /all", "ipconfig /release", "ipconfig /all", "ipconfig /renew",
                               "ipconfig /all",
                               "ipconfig /release \x83\x8d\x81\x5b\x83\x4a\x83\x8b?\x83\x47\x83\x8a\x83\x41\x90\xda\x91\xb1",
                               "ipconfig /all"}));
}

// No adapter, or an adapter whose header gives no name: a bare "ipconfig /renew "
// would act on every adapter, so the two buttons for one adapter run nothing.
TEST_F(AppTest, AdapterButtonsRunNothingWithoutANamedAdapter) {
  StartWith("lf_only.txt");
  EXPECT_TRUE(ListItems().empty());
  EXPECT_EQ(Values(IDC_FIRST_ADAPTER_VALUE, 9), TEMPLATE_TEXTS);
  Press(IDC_RENEW);
  Press(IDC_RELEASE);
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("empty_name.txt"));
  Press(IDC_RENEW_ALL);
  EXPECT_EQ(ListItems(), Texts({"Nameless NIC"}));
  Press(IDC_RENEW);
  Press(IDC_RELEASE);
  EXPECT_EQ(Commands(), Texts({"ipconfig /all", "ipconfig /renew", "ipconfig /all"}));
}

// A message sent from another thread while a command runs is answered before the
// command's child may end: the child is held until the answer has come.
struct Asker {
  std::string log;
  std::string hold;
} asker;

DWORD WINAPI AskOnceTheChildRuns(LPVOID) {
  while (ReadFileText(asker.log).find("/renew") == std::string::npos) Sleep(5);
  DWORD_PTR length = 0;
  const LRESULT answered = SendMessageTimeoutA(mainWindow, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 60000, &length);
  Release(asker.hold);
  return answered != 0;
}

TEST_F(AppTest, TheWindowAnswersWhileACommandRunsAndAPressThenRunsNestedInIt) {
  StartWith("win2000.txt");
  asker = {log, Hold("/renew")};
  HANDLE thread = CreateThread(nullptr, 0, AskOnceTheChildRuns, nullptr, 0, nullptr);
  DuringNextPump([] { Press(IDC_RELEASE_ALL); });
  Press(IDC_RENEW_ALL);
  DWORD answeredWhileHeld = 0;
  WaitForSingleObject(thread, INFINITE);
  GetExitCodeThread(thread, &answeredWhileHeld);
  CloseHandle(thread);
  EXPECT_TRUE(answeredWhileHeld);
  Texts commands = Commands();
  std::sort(commands.begin(), commands.end());
  EXPECT_EQ(commands, Texts({"ipconfig /all", "ipconfig /all", "ipconfig /all", "ipconfig /release",
                             "ipconfig /renew"}));
  EXPECT_EQ(ListItems().size(), 2u);
}

// A timer tick, dispatched by the innermost pump, presses "renew all" whenever the
// innermost command is a refresh's report, so that every level holds a command's
// and a report's areas, until the bound refuses; it notes the least stack left.
struct DeepestChain {
  std::string log;
  std::size_t linesAtPress = 1;
  std::size_t leastStackLeft = SIZE_MAX;
  std::string hold;
} chain;

void CALLBACK PressInsideTheReport(HWND, UINT, UINT_PTR timer, DWORD) {
  MEMORY_BASIC_INFORMATION stack = {};
  VirtualQuery(&stack, &stack, sizeof stack);
  chain.leastStackLeft = std::min<std::size_t>(chain.leastStackLeft, reinterpret_cast<char*>(&stack) -
                                                                      static_cast<char*>(stack.AllocationBase));
  const std::string lines = ReadFileText(chain.log);
  const std::size_t count = std::count(lines.begin(), lines.end(), '\n');
  if (count < chain.linesAtPress + 2 || lines.compare(lines.size() - 14, 14, "ipconfig /all\n") != 0) return;
  if (!MayStartCommand()) {
    Press(IDM_SHOW, consoleWindow);
    KillTimer(nullptr, timer);
    Release(chain.hold);
    return;
  }
  chain.linesAtPress = count;
  Press(IDC_RENEW_ALL);
}

TEST_F(AppTest, NestedCommandsStopAtTheBoundWithStackToSpare) {
  StartWith("win2000.txt");
  chain.log = log;
  chain.hold = Hold("/all");
  SetTimer(nullptr, 0, 5, PressInsideTheReport);
  Press(IDC_RENEW_ALL);
  const Texts commands = Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "ipconfig /renew"), MAX_COMMANDS_IN_FLIGHT);
  EXPECT_EQ(commands.size(), 1u + 2 * MAX_COMMANDS_IN_FLIGHT);
  EXPECT_GT(chain.leastStackLeft, 128u * 1024u);
  std::printf("least stack left at the bound: %zu bytes\n", chain.leastStackLeft);
  EXPECT_EQ(Values(IDC_FIRST_HOST_VALUE, 1), Texts({"office-pc"}));
}

}  // namespace
