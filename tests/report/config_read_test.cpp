#include "report/config_read.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "report/config_snapshot.h"
#include "runner/run_captured.h"
#include "tests/win/standin.h"

namespace {

class ParseReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearStandin();
    ResetSnapshot();
  }
};

TEST_F(ParseReportTest, FillsTheSnapshotFromTheCapturedReport) {
  const std::string log = StartCommandLog();
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
  ParseReport();
  EXPECT_EQ(ReadFileText(log), "ipconfig /all\n");
  EXPECT_STREQ(configSnapshot.host.hostName, "office-pc");
  EXPECT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.adapters.name[0], "Local?Area?Connection?2");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], "10.20.30.40");
  EXPECT_STREQ(configSnapshot.adapters.physicalAddress[1], "00-E0-4C-AA-BB-CC");
}

TEST_F(ParseReportTest, AnEmptyReportLeavesTheSnapshotEmpty) {
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
  ParseReport();
  ASSERT_EQ(configSnapshot.adapterCount, 2);
  SetEnv("IPCONFIG_STANDIN_BYTES", "0");
  ParseReport();
  EXPECT_EQ(configSnapshot.adapterCount, 0);
  EXPECT_STREQ(configSnapshot.host.hostName, "");
  EXPECT_STREQ(configSnapshot.adapters.name[0], "");
}

// What a reader sees while a read's report is still running.
int countSeen = -1;
std::string hostSeen = "unset";
LRESULT CALLBACK ReadingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    countSeen = configSnapshot.adapterCount;
    hostSeen = configSnapshot.host.hostName;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(ParseReportTest, WhileTheReportRunsTheSnapshotReadsEmpty) {
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
  ParseReport();
  SetEnv("IPCONFIG_STANDIN_DELAY_MS", "200");
  HWND window = CreateTestWindow(ReadingProcedure);
  PostMessageA(window, WM_APP, 0, 0);
  ParseReport();
  EXPECT_EQ(countSeen, 0);
  EXPECT_EQ(hostSeen, "");
  EXPECT_EQ(configSnapshot.adapterCount, 2);
  DestroyWindow(window);
}

// A read started from the pump while another read's report is running.
LRESULT CALLBACK NestedReadProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    SetEnv("IPCONFIG_STANDIN_DELAY_MS", "");
    SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("win2000.txt"));
    ParseReport();
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(ParseReportTest, AReadNestedInAnotherLeavesTheNewerReportAloneInTheSnapshot) {
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("five_ethernet.txt"));
  SetEnv("IPCONFIG_STANDIN_DELAY_MS", "300");
  HWND window = CreateTestWindow(NestedReadProcedure);
  PostMessageA(window, WM_APP, 0, 0);
  ParseReport();
  EXPECT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.host.hostName, "office-pc");
  EXPECT_STREQ(configSnapshot.host.nodeType, "Broadcast");
  EXPECT_STREQ(configSnapshot.adapters.name[0], "Local?Area?Connection?2");
  EXPECT_STREQ(configSnapshot.adapters.name[2], "");
  EXPECT_STREQ(configSnapshot.adapters.description[3], "");
  DestroyWindow(window);
}

}  // namespace
