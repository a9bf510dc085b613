#include "runner/run_captured.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "report/config_read.h"
#include "report/config_snapshot.h"
#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

using RunCapturedTest = StandinTest;

std::string Capture(const char* commandLine, std::int32_t limit = TEXT_AREA_SIZE) {
  static char area[TEXT_AREA_SIZE];
  std::memset(area, 'x', sizeof area);
  RunCaptured(commandLine, area, limit);
  return std::string(area, strnlen(area, sizeof area));
}

std::string Alphabet(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('A' + i % 26);
  return text;
}

TEST_F(RunCapturedTest, KeepsTheOutputUpToOneByteLessThanTheLimitAndReadsTheRestAway) {
  const struct {
    const char* bytes;
    const char* commandLine;
    std::int32_t limit;
    std::string expected;
  } cases[] = {
      {"", "ipconfig /renew LAN?2", TEXT_AREA_SIZE, "ipconfig /renew LAN?2\r\n"},
      {"0", "ipconfig", TEXT_AREA_SIZE, ""},
      {"", "no-such-command-4f1c /all", TEXT_AREA_SIZE, ""},
      {"100", "ipconfig", 11, Alphabet(10)},
      {"1048576", "ipconfig", TEXT_AREA_SIZE, Alphabet(TEXT_AREA_SIZE - 1)},
  };
  for (const auto& c : cases) {
    const std::string done = TempFile("done");
    SetEnv("IPCONFIG_STANDIN_BYTES", c.bytes);
    SetEnv("IPCONFIG_STANDIN_DONE", done);
    EXPECT_EQ(Capture(c.commandLine, c.limit), c.expected) << c.commandLine << " " << c.bytes;
    if (c.expected.size() > 0) {  // the child ran to its end, however much it printed
      EXPECT_NE(GetFileAttributesA(done.c_str()), INVALID_FILE_ATTRIBUTES) << c.bytes;
    }
  }
  EXPECT_EQ(Commands(), Texts({"ipconfig /renew LAN?2", "ipconfig", "ipconfig", "ipconfig"}));
}

TEST_F(RunCapturedTest, OutputOverwritesACommandLineHeldInTheSameArea) {
  static char area[TEXT_AREA_SIZE];
  std::strcpy(area, "ipconfig /release Local?Area?Connection");
  RunCaptured(area, area, TEXT_AREA_SIZE);
  EXPECT_STREQ(area, "ipconfig /release Local?Area?Connection\r\n");
}

// The pump is held up until the child has printed everything and ended: the output
// still in the pipe when the runner sees the end must be kept.
TEST_F(RunCapturedTest, OutputWaitingWhenTheChildHasEndedIsKept) {
  const std::string done = TempFile("done");
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
  SetEnv("IPCONFIG_STANDIN_DONE", done);
  const std::string hold = Hold();
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
  std::string inner = "not run";
  DuringNextPump([&] {
    SetEnv("IPCONFIG_STANDIN_HOLD", "");
    inner = Capture("ipconfig inner");
    Release(hold);  // only now may the outer command end
  });
  char area[TEXT_AREA_SIZE];
  RunCaptured("ipconfig outer", area, TEXT_AREA_SIZE);
  EXPECT_STREQ(area, "ipconfig outer\r\n");
  EXPECT_EQ(inner, "ipconfig inner\r\n");
}

// A quit request met while two runs wait for children that never end by themselves.
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
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
  EXPECT_TRUE(MayStartCommand());  // taken by the main loop, the request is gone
  Release(hold);
  while (Commands().size() < 2) Sleep(5);  // the children log when they get going
  EXPECT_EQ(Commands().size(), 2u);
}

// Under Wine the handle count reads 0 whatever a process holds, but a new handle
// takes the lowest free slot, so its value rises with every handle left open.
TEST_F(RunCapturedTest, RunsLeaveNoHandleOpen) {
  auto NextHandleValue = [] {
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(probe);
    return reinterpret_cast<std::uintptr_t>(probe);
  };
  Capture("ipconfig");  // the first run may open what later runs share
  const std::uintptr_t before = NextHandleValue();
  for (int i = 0; i < 50; ++i) ASSERT_EQ(Capture("ipconfig"), "ipconfig\r\n") << "run " << i;
  EXPECT_EQ(NextHandleValue(), before);
}

using ParseReportTest = StandinTest;

TEST_F(ParseReportTest, TheSnapshotReadsEmptyWhileTheReportRunsAndFullAfterIt) {
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
  ParseReport();
  const std::string hold = Hold();
  DuringNextPump([&] {
    EXPECT_EQ(configSnapshot.adapterCount, 0);
    EXPECT_STREQ(configSnapshot.host.hostName, "");
    EXPECT_STREQ(configSnapshot.adapters.name[1], "");
    Release(hold);
  });
  ParseReport();
  EXPECT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.adapters.name[1], "Local?Area?Connection");

  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("empty.txt"));
  ParseReport();
  EXPECT_EQ(configSnapshot.adapterCount, 0);
  EXPECT_STREQ(configSnapshot.host.hostName, "");
}

TEST_F(ParseReportTest, AReadCompletedDuringAnothersReportRunIsTheOneThatStands) {
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("five_ethernet.txt"));
  const std::string hold = Hold();
  DuringNextPump([&] {
    SetEnv("IPCONFIG_STANDIN_HOLD", "");
    SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
    ParseReport();
    Release(hold);
  });
  ParseReport();
  EXPECT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.host.nodeType, "Broadcast");
  EXPECT_STREQ(configSnapshot.adapters.name[0], "Local?Area?Connection?2");
  EXPECT_STREQ(configSnapshot.adapters.description[2], "");
}

}  // namespace
