// The runner against the stand-in: the output it keeps, and no handle left open.
#include "runner/run_captured.h"

#include <cstring>

#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

using RunCapturedTest = StandinTest;

// Runs the command line from the area that then takes its output, as the buttons do.
std::string Capture(const char* commandLine, std::int32_t limit = TEXT_AREA_SIZE) {
  static char area[TEXT_AREA_SIZE];
  std::memset(area, 'x', sizeof area);
  RunCaptured(std::strcpy(area, commandLine), area, limit);
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

// Output far longer than the area, kept whole up to one byte less than the limit; no
// output, or no command, leaves an empty text. Each without a handle left open.
TEST_F(RunCapturedTest, KeepsTheOutputUpToOneByteLessThanTheLimitAndLeavesNoHandleOpen) {
  EXPECT_EQ(Capture("ipconfig /all"), "");  // the first run may open what later runs share
  const HANDLE before = SixtyFourthFreeHandle();
  std::string alphabet(1 << 20, 'A');
  for (std::size_t i = 0; i < alphabet.size(); ++i) alphabet[i] += i % 26;
  const std::string big = TempFile("big");
  std::ofstream(big, std::ios::binary) << alphabet;
  SetEnv("IPCONFIG_STANDIN_REPORT", big);
  EXPECT_EQ(Capture("ipconfig /all", 11), "ABCDEFGHIJ");
  EXPECT_EQ(Capture("ipconfig /all"), alphabet.substr(0, TEXT_AREA_SIZE - 1));
  EXPECT_EQ(Capture("no-such-command-4f1c /all"), "");
  EXPECT_EQ(SixtyFourthFreeHandle(), before);
}

// The runner's pump, from a timer's tick, is held up until the child has printed
// everything and ended.
TEST_F(RunCapturedTest, OutputStillInThePipeWhenTheChildHasEndedIsKept) {
  static std::string done;
  static std::string hold;
  done = TempFile("done");
  hold = Hold();
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
  SetEnv("IPCONFIG_STANDIN_DONE", done);
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
}

}  // namespace
