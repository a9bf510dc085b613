// The runner against the stand-in: output left in the pipe, and no handle left open.
#include "runner/run_captured.h"

#include <cstring>

#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

using RunCapturedTest = StandinTest;

// Runs the command line from the area that then takes its output, as the buttons do.
std::string Capture(const char* commandLine) {
  static char area[TEXT_AREA_SIZE];
  std::memset(area, 'x', sizeof area);
  RunCaptured(std::strcpy(area, commandLine), area, TEXT_AREA_SIZE);
  return std::string(area, strnlen(area, sizeof area));
}

// Wine's handle count reads 0; but a new handle takes the lowest free slot, so the last
// of 64 new ones lies higher for every handle left open.
HANDLE SixtyFourthFreeHandle() {
  HANDLE handles[64];
  for (HANDLE& handle : handles) handle = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  for (HANDLE handle : handles) CloseHandle(handle);
  return handles[63];
}

// The runner's pump, from a timer's tick, is held up until the child has printed
// everything and ended: what is still in the pipe is kept, and no handle is left open.
TEST_F(RunCapturedTest, OutputStillInThePipeWhenTheChildHasEndedIsKeptAndNoHandleLeftOpen) {
  // Under Wine the first tick of a timer, and the first run, open what later ones share.
  SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR timer, DWORD) { KillTimer(nullptr, timer); });
  MSG tick;
  GetMessageA(&tick, nullptr, WM_TIMER, WM_TIMER);
  DispatchMessageA(&tick);
  Capture("ipconfig");
  const HANDLE before = SixtyFourthFreeHandle();
  static std::string done, hold;
  SetEnv("IPCONFIG_STANDIN_HOLD", hold = TempFile("hold"));
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
  SetEnv("IPCONFIG_STANDIN_DONE", done = TempFile("done"));
  SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    Release(hold);
    WaitUntil("the child's id", nullptr, [] { return !ReadFileText(done).empty(); });
    const DWORD id = std::strtoul(ReadFileText(done).c_str(), nullptr, 10);
    const HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, id);
    WaitUntil("the child's end", nullptr, [&] { return Ended(child); });
    CloseHandle(child);
  });
  EXPECT_EQ(Capture("ipconfig /all"), ReadFileText(Fixture("win2000.txt")));
  EXPECT_EQ(SixtyFourthFreeHandle(), before);
}

}  // namespace
