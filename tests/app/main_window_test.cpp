#include <algorithm>

#include "report/config_snapshot.h"
#include "runner/run_captured.h"
#include "tests/win/test_support.h"

namespace {

Texts ListItems() {
  Texts items;
  for (char text[512]; SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETLBTEXT, items.size(),
                                           reinterpret_cast<LPARAM>(text)) >= 0;)
    items.push_back(text);
  return items;
}

void Select(int item) {
  SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_SETCURSEL, item, 0);
  Press(IDC_ADAPTER_LIST);
}

// Each press's refresh reads the report named just before it. The buttons for one
// adapter run nothing with no adapter selected, or one whose header gives no name (a
// bare "ipconfig /renew " would act on every adapter); a name goes as one word.
TEST_F(AppTest, ShowsEachReportKeepsAValidSelectionAndRunsEachButtonsCommandLine) {
  StartWith("lf_only.txt");
  EXPECT_TRUE(IsWindowVisible(mainWindow) && !IsWindowVisible(consoleWindow) &&
              GetWindow(consoleWindow, GW_OWNER) == mainWindow);
  for (HWND window : {mainWindow, consoleWindow}) {
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
  }
  EXPECT_TRUE(ListItems().empty());
  EXPECT_EQ(Fields(IDC_FIRST_ADAPTER_VALUE, 9),
            Texts({"146", "148", "150", "152", "154", "156", "158", "160", "162"}));
  const auto refresh = [](int button, const char* report) {
    SetEnv("IPCONFIG_STANDIN_REPORT", Fixture(report));
    Press(button);
  };
  Press(IDC_RENEW);
  refresh(IDC_RENEW_ALL, "xp_ppp.txt");
  EXPECT_EQ(ListItems(), Texts({"Broadcom NetXtreme 57xx Gigabit Controller",
                                "VirtualBox Host-Only Ethernet Adapter"}));
  EXPECT_EQ(Fields(IDC_FIRST_ADAPTER_VALUE, 9),
            Texts({"00-14-22-DE-AD-01", "192.168.0.23", "255.255.255.0", "192.168.0.1",
                   "192.168.0.1", "", "", "2008/06/01 9:00:00", "2008/06/02 9:00:00"}));
  Select(1);
  EXPECT_EQ(Fields(IDC_FIRST_ADAPTER_VALUE, 2), Texts({"08-00-27-00-51-52", "192.168.56.1"}));
  refresh(IDC_RELEASE, "five_ethernet.txt");
  Select(3);
  refresh(IDC_RELEASE_ALL, "five_ethernet.txt");
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2), "10.0.4.7");
  refresh(IDC_RENEW, "win2000.txt");  // two adapters: item 3 is gone, the first is shown
  EXPECT_EQ(SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2), "10.20.30.40");
  refresh(IDC_RELEASE_ALL, "empty_name.txt");
  Press(IDC_RELEASE);
  refresh(IDC_RENEW_ALL, "shift_jis.txt");
  Press(IDC_RENEW);
  const std::string all = "ipconfig /all";
  EXPECT_EQ(Commands(),
            Texts({all, "ipconfig /renew", all, "ipconfig /release VirtualBox?Host-Only?Network",
                   all, "ipconfig /release", all, "ipconfig /renew NIC?4", all, "ipconfig /release",
                   all, "ipconfig /renew", all,
                   "ipconfig /renew \x83\x8d\x81\x5b\x83\x4a\x83\x8b?\x83\x47\x83"
                   "\x8a\x83\x41\x90\xda\x91\xb1",
                   all}));
}

// A timer tick, dispatched by the innermost pump, presses "renew all" whenever that
// pump waits for a refresh's report, until the bound refuses: each level then holds a
// command's and a report's areas. Of the reads, the innermost completes first and stands.
struct {
  std::string log, hold;
  std::size_t linesAtPress = 1, leastStackLeft = SIZE_MAX;
} chain;

void CALLBACK PressInsideTheReport(HWND, UINT, UINT_PTR timer, DWORD) {
  MEMORY_BASIC_INFORMATION stack = {};
  VirtualQuery(&stack, &stack, sizeof stack);
  const std::size_t left =
      reinterpret_cast<char*>(&stack) - static_cast<char*>(stack.AllocationBase);
  chain.leastStackLeft = std::min(chain.leastStackLeft, left);
  const std::string lines = ReadFileText(chain.log);
  const std::size_t count = std::count(lines.begin(), lines.end(), '\n');
  if (count < chain.linesAtPress + 2 || lines.rfind("ipconfig /all\n") != lines.size() - 14) return;
  EXPECT_EQ(configSnapshot.adapterCount, 0) << "a read's report runs: the snapshot is empty";
  if (MayStartCommand()) {
    chain.linesAtPress = count;
    SetEnv("IPCONFIG_STANDIN_REPORT",
           Fixture(count % 4 == 3 ? "five_ethernet.txt" : "win2000.txt"));
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
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "ipconfig /renew"),
            MAX_COMMANDS_IN_FLIGHT);
  EXPECT_EQ(commands.size(), 1u + 2 * MAX_COMMANDS_IN_FLIGHT);
  EXPECT_GT(chain.leastStackLeft, 128u * 1024u);  // about 490 KB are left here
  EXPECT_EQ(ListItems().size(), 4u);              // the innermost read's five_ethernet, alone
  EXPECT_EQ(Text(IDC_FIRST_HOST_VALUE), "rack-07");
}

}  // namespace
