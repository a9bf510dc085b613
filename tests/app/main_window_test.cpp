#include <algorithm>

#include "report/config_snapshot.h"
#include "runner/run_captured.h"
#include "tests/win/test_support.h"

namespace {

TEST_F(AppTest, StartUpShowsTheReportAndARefreshKeepsTheSelectionWhileItNamesAnAdapter) {
  StartWith("xp_ppp.txt");
  EXPECT_EQ(Commands(), Texts({"ipconfig /all"}));
  EXPECT_EQ(Values(IDC_FIRST_HOST_VALUE, 7), Texts({"LAPTOP01", "198.51.100.53", "Unknown", "", "No", "No", ""}));
  EXPECT_EQ(ListItems(), Texts({"Broadcom NetXtreme 57xx Gigabit Controller", "VirtualBox Host-Only Ethernet Adapter"}));
  EXPECT_EQ(Values(IDC_FIRST_ADAPTER_VALUE, 9), Texts({"00-14-22-DE-AD-01", "192.168.0.23", "255.255.255.0", "192.168.0.1",
                                                       "192.168.0.1", "", "", "2008/06/01 9:00:00", "2008/06/02 9:00:00"}));
  EXPECT_TRUE(IsWindowVisible(mainWindow) && !IsWindowVisible(consoleWindow) && GetWindow(consoleWindow, GW_OWNER) == mainWindow);
  for (HWND window : {mainWindow, consoleWindow}) {
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
  }
  Select(1);
  EXPECT_EQ(Values(IDC_FIRST_ADAPTER_VALUE, 2), Texts({"08-00-27-00-51-52", "192.168.56.1"}));
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("five_ethernet.txt"));
  Press(IDC_RENEW_ALL);
  Select(3);
  Press(IDC_RELEASE_ALL);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2), "10.0.4.7");
  Select(2);
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));  // two adapters: item 2 is gone
  Press(IDC_RENEW_ALL);
  EXPECT_EQ(SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2), "10.20.30.40");
}

// The buttons for one adapter run nothing while no adapter, or one whose header
// gives no name, is selected: a bare "ipconfig /renew " would act on every adapter.
TEST_F(AppTest, ButtonsRunTheirCommandLinesWithTheSlotNameAsOneWordAndThenRefresh) {
  StartWith("lf_only.txt");
  EXPECT_TRUE(ListItems().empty());
  EXPECT_EQ(Values(IDC_FIRST_ADAPTER_VALUE, 9), Texts({"146", "148", "150", "152", "154", "156", "158", "160", "162"}));
  const char* reports[] = {"empty_name.txt", "win2000.txt", "shift_jis.txt"};
  for (const char* report : reports) {
    Press(IDC_RENEW);
    Select(1);
    Press(IDC_RELEASE);
    SetEnv("IPCONFIG_STANDIN_REPORT", Fixture(report));
    Press(report == reports[1] ? IDC_RELEASE_ALL : IDC_RENEW_ALL);
  }
  Press(IDC_RELEASE);  // the only adapter is selected again
  const std::string all = "ipconfig /all";
  EXPECT_EQ(Commands(), Texts({all, "ipconfig /renew", all, "ipconfig /release", all, "ipconfig /renew Local?Area?Connection?2", all,
                               "ipconfig /release Local?Area?Connection", all, "ipconfig /renew", all,
                               "ipconfig /release \x83\x8d\x81\x5b\x83\x4a\x83\x8b?\x83\x47\x83\x8a\x83\x41\x90\xda\x91\xb1", all}));
}

// A timer tick, dispatched by the innermost pump, presses "renew all" whenever that
// pump waits for a refresh's report, until the bound refuses: each level then holds a
// command's and a report's areas. Of the reads, the innermost completes first and stands.
struct { std::string log, hold; std::size_t linesAtPress = 1, leastStackLeft = SIZE_MAX; } chain;

void CALLBACK PressInsideTheReport(HWND, UINT, UINT_PTR timer, DWORD) {
  MEMORY_BASIC_INFORMATION stack = {};
  VirtualQuery(&stack, &stack, sizeof stack);
  chain.leastStackLeft = std::min<std::size_t>(chain.leastStackLeft, reinterpret_cast<char*>(&stack) - static_cast<char*>(stack.AllocationBase));
  const std::string lines = ReadFileText(chain.log);
  const std::size_t count = std::count(lines.begin(), lines.end(), '\n');
  if (count < chain.linesAtPress + 2 || lines.compare(lines.size() - 14, 14, "ipconfig /all\n") != 0) return;
  EXPECT_EQ(configSnapshot.adapterCount, 0) << "a read's report runs: the snapshot is empty";
  if (MayStartCommand()) {
    chain.linesAtPress = count;
    SetEnv("IPCONFIG_STANDIN_REPORT", Fixture(count % 4 == 3 ? "five_ethernet.txt" : "win2000.txt"));
    return Press(IDC_RENEW_ALL);
  }
  Press(IDM_SHOW, consoleWindow);  // refused too
  KillTimer(nullptr, timer);
  Release(chain.hold);
}

TEST_F(AppTest, CommandsNestedInEachOthersRefreshesStopAtTheBoundWithStackToSpare) {
  StartWith("win2000.txt");
  chain.log = log;
  chain.hold = Hold("/all");
  SetTimer(nullptr, 0, 5, PressInsideTheReport);
  Press(IDC_RENEW_ALL);
  const Texts commands = Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "ipconfig /renew"), MAX_COMMANDS_IN_FLIGHT);
  EXPECT_EQ(commands.size(), 1u + 2 * MAX_COMMANDS_IN_FLIGHT);
  EXPECT_GT(chain.leastStackLeft, 128u * 1024u);  // about 490 KB are left here
  EXPECT_EQ(ListItems().size(), 4u);  // the innermost read's five_ethernet, alone
  EXPECT_EQ(Values(IDC_FIRST_HOST_VALUE, 1), Texts({"rack-07"}));
}

}  // namespace
