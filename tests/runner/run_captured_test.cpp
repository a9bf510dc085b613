#include "runner/run_captured.h"

#include <cstdlib>
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

// Under Wine the handle count reads 0 whatever a process holds, but a new handle
// takes the lowest free slot: its value rises with every handle a run leaves open.
HANDLE NextHandle() {
  HANDLE handle = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  CloseHandle(handle);
  return handle;
}

TEST_F(RunCapturedTest, KeepsTheOutputUpToOneByteLessThanTheLimitAndLeavesNoHandleOpen) {
  std::string alphabet;
  while (alphabet.size() < TEXT_AREA_SIZE - 1) alphabet += static_cast<char>('A' + alphabet.size() % 26);
  const struct { const char *bytes, *commandLine; std::int32_t limit; std::string expected; } cases[] = {
      {"", "ipconfig /renew LAN?2", TEXT_AREA_SIZE, "ipconfig /renew LAN?2\r\n"},
      {"0", "ipconfig", TEXT_AREA_SIZE, ""},
      {"", "no-such-command-4f1c /all", TEXT_AREA_SIZE, ""},
      {"100", "ipconfig", 11, "ABCDEFGHIJ"},
      {"1048576", "ipconfig", TEXT_AREA_SIZE, alphabet}};  // the rest is read and thrown away
  const std::string done = TempFile("done");
  SetEnv("IPCONFIG_STANDIN_DONE", done);
  Capture("ipconfig");  // the first run may open what later runs share
  const HANDLE firstFree = NextHandle();
  for (const auto& c : cases) {
    DeleteFileA(done.c_str());
    SetEnv("IPCONFIG_STANDIN_BYTES", c.bytes);
    EXPECT_EQ(Capture(c.commandLine, c.limit), c.expected) << c.commandLine << " " << c.bytes;
  }
  EXPECT_NE(ReadFileText(done), "") << "the last child did not run to its end";
  EXPECT_EQ(Commands(), Texts({"ipconfig", "ipconfig /renew LAN?2", "ipconfig", "ipconfig", "ipconfig"}));
  EXPECT_EQ(NextHandle(), firstFree);
}

// The pump is held up until the child has printed everything and ended.
TEST_F(RunCapturedTest, OutputStillInThePipeWhenTheChildHasEndedIsKept) {
  const std::string done = TempFile("done"), hold = Hold();
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
  SetEnv("IPCONFIG_STANDIN_DONE", done);
  DuringNextPump([&] {
    Release(hold);
    DWORD id = 0;
    while ((id = std::strtoul(ReadFileText(done).c_str(), nullptr, 10)) == 0) Sleep(5);
    HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, id);
    WaitForSingleObject(child, INFINITE);
    CloseHandle(child);
  });
  EXPECT_EQ(Capture("ipconfig /all"), ReadFileText(Fixture("win2000.txt")));
}

TEST_F(RunCapturedTest, ACommandStartedFromThePumpCompletesFirstInItsOwnArea) {
  const std::string hold = Hold();
  char inner[TEXT_AREA_SIZE] = "not run";
  DuringNextPump([&] {
    SetEnv("IPCONFIG_STANDIN_HOLD", "");
    RunCaptured("ipconfig inner", inner, TEXT_AREA_SIZE);
    Release(hold);  // only now may the outer command end
  });
  EXPECT_EQ(Capture("ipconfig outer"), "ipconfig outer\r\n");
  EXPECT_STREQ(inner, "ipconfig inner\r\n");
}

// Met while two runs wait for children that never end by themselves.
TEST_F(RunCapturedTest, AQuitRequestEndsEveryWaitingRunAndReachesTheMainLoop) {
  const std::string hold = Hold();
  DuringNextPump([] {
    DuringNextPump([] { PostQuitMessage(3); });
    Capture("ipconfig inner");
  });
  Capture("ipconfig outer");
  EXPECT_FALSE(MayStartCommand());
  EXPECT_EQ(Capture("ipconfig after"), "");  // the process is ending: nothing more starts
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
  }
  EXPECT_EQ(message.wParam, 3u);
  EXPECT_TRUE(MayStartCommand());  // taken by the main loop, the request is gone
  Release(hold);
  while (Commands().size() < 2) Sleep(5);  // the children log once they get going
  EXPECT_EQ(Commands().size(), 2u);
}

}  // namespace
