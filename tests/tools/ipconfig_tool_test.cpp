// The classic-form ipconfig, run as the program runs it and read by the program's own
// scanner: what it reports of the platform, and its answer to each option.
#include <windows.h>

#include <regex>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/run_captured.h"
#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

// The tool's output, caught as the program catches it, and its exit code.
std::pair<std::string, DWORD> RunTool(const std::string& arguments) {
  static char output[TEXT_AREA_SIZE];
  std::string commandLine = "tools\\ipconfig\\ipconfig.exe " + arguments;
  RunCaptured(commandLine.c_str(), output, TEXT_AREA_SIZE);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  DWORD exitCode = STILL_ACTIVE;
  if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                     nullptr, &startup, &child))
    WaitForSingleObject(child.hProcess, INFINITE), GetExitCodeProcess(child.hProcess, &exitCode);
  for (HANDLE handle : {child.hProcess, child.hThread}) CloseHandle(handle);
  return {output, exitCode};
}

bool Matches(const char* text, const char* pattern) {
  return std::regex_match(text, std::regex(pattern));
}

TEST(ClassicIpconfig, ReportsThisMachineToTheProgramAndAnswersEachOption) {
  const auto [report, exitCode] = RunTool("/all");
  ASSERT_EQ(exitCode, 0u) << report;
  ResetSnapshot();
  ScanReport(report.c_str());
  char hostName[256];
  DWORD size = sizeof hostName;
  GetComputerNameExA(ComputerNameDnsHostname, hostName, &size);
  EXPECT_STREQ(configSnapshot.host.hostName, hostName);
  EXPECT_TRUE(Matches(configSnapshot.host.nodeType, "Broadcast|Peer-Peer|Mixed|Hybrid|Unknown"));
  ASSERT_GT(configSnapshot.adapterCount, 0) << "no Ethernet adapter here:\n" << report;
  for (int slot = 0; slot < configSnapshot.adapterCount; ++slot) {  // 0.0.0.0: no IPv4
    EXPECT_TRUE(Matches(configSnapshot.adapters.name[slot], "[^ {}]+")) << report;
    EXPECT_TRUE(
        Matches(configSnapshot.adapters.physicalAddress[slot], "([0-9A-F]{2}-){5}[0-9A-F]{2}"));
    EXPECT_TRUE(Matches(configSnapshot.adapters.ipAddress[slot], "(\\d{1,3}\\.){3}\\d{1,3}"));
    EXPECT_TRUE(Matches(configSnapshot.adapters.subnetMask[slot],
                        "255\\.(\\d{1,3}\\.){2}\\d{1,3}|0\\.0\\.0\\.0"));
  }
  const std::string adapter = configSnapshot.adapters.name[0];
  const struct {
    std::string arguments;
    bool fails;
    std::string said;
  } cases[] = {{"/?", false, "Usage: ipconfig"},
               {"-?", false, "Usage: ipconfig"},
               {"", false, "        IP Address . . "},
               {"/renew", false, "Ethernet adapter "},
               {"/release " + adapter, false, "adapter " + adapter + ": "},
               {"/flushdns", true, "unknown option: /flushdns"},
               {"/all eth0", true, "/all takes no adapter name: eth0"},
               {"/renew No Such ?dapter", true, "no adapter is named \"No Such ?dapter\""}};
  for (const auto& c : cases) {
    const auto [output, exitCode] = RunTool(c.arguments);
    const bool refused = output.find("the system refused") != std::string::npos;  // as Wine does
    EXPECT_EQ(exitCode != 0, c.fails || refused) << c.arguments << "\n" << output;
    EXPECT_NE(output.find(c.said), std::string::npos) << c.arguments << "\n" << output;
    EXPECT_EQ(output.find('\n'), output.find("\r\n") + 1) << "CR LF line ends";
  }
}

}  // namespace
