// Commands started from inside each other's waits, as deep as the program lets them go.
#include <algorithm>

#include "report/config_snapshot.h"
#include "runner/run_captured.h"
#include "tests/win/test_support.h"

namespace {

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
    Press(IDC_RENEW_ALL);
    return;
  }
  Press(IDM_SHOW, consoleWindow);  // refused too
  KillTimer(nullptr, timer);
  Release(chain.hold);
}

using NestedCommands = StandinTest;

// The windows, created in this process from the real resources.
TEST_F(NestedCommands, StopAtTheBoundWithStackToSpareAndTheInnermostReadStands) {
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
  StartUp(GetModuleHandleA(nullptr), SW_SHOW);
  for (HWND window : {mainWindow, consoleWindow})  // another process's reads 0 under Wine
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
  chain.log = log;
  chain.hold = Hold("/all");
  SetTimer(nullptr, 0, 5, PressInsideTheReport);
  Press(IDC_RENEW_ALL);
  const Texts commands = Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "ipconfig /renew"),
            MAX_COMMANDS_IN_FLIGHT);
  EXPECT_EQ(commands.size(), 1u + 2 * MAX_COMMANDS_IN_FLIGHT);
  EXPECT_GT(chain.leastStackLeft, 128u * 1024u);  // about 490 KB are left here
  // The innermost read's five_ethernet, alone.
  EXPECT_EQ(SendDlgItemMessageA(mainWindow, IDC_ADAPTER_LIST, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(Text(IDC_FIRST_HOST_VALUE), "rack-07");
  SendMessageA(mainWindow, WM_CLOSE, 0, 0);  // and the quit request it leaves
  for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
  }
}

}  // namespace
