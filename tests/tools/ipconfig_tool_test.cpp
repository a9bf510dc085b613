// The classic-form ipconfig, run for real and compared with what iphlpapi says.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

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
  if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &startup, &child))
    WaitForSingleObject(child.hProcess, INFINITE), GetExitCodeProcess(child.hProcess, &exitCode);
  for (HANDLE handle : {child.hProcess, child.hThread}) CloseHandle(handle);
  return {output, exitCode};
}

// Each Ethernet or wireless adapter as the program would store it: the connection
// name with blanks as '?', its first IPv4 address and its physical address.
Texts PlatformAdapters() {
  static unsigned char buffer[1 << 18];
  ULONG size = sizeof buffer;
  auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer);
  Texts adapters;
  for (adapter = GetAdaptersAddresses(AF_INET, 0, nullptr, adapter, &size) ? nullptr : adapter; adapter; adapter = adapter->Next) {
    if (adapter->IfType != IF_TYPE_ETHERNET_CSMACD && adapter->IfType != IF_TYPE_IEEE80211) continue;
    char text[512];
    const int length = WideCharToMultiByte(CP_ACP, 0, adapter->FriendlyName, -1, text, sizeof text, nullptr, nullptr);
    std::replace(text, text + length, ' ', '?');
    const auto* address = adapter->FirstUnicastAddress ? adapter->FirstUnicastAddress->Address.lpSockaddr->sa_data + 2 : "\0\0\0";
    std::sprintf(text + length - 1, " %u.%u.%u.%u ", address[0] & 255, address[1] & 255, address[2] & 255, address[3] & 255);
    for (ULONG i = 0; i < adapter->PhysicalAddressLength; ++i)
      std::sprintf(text + std::strlen(text), i ? "-%02X" : "%02X", adapter->PhysicalAddress[i]);
    adapters.push_back(text);
  }
  return adapters;
}

TEST(ClassicIpconfig, TheFullReportReadByTheProgramMatchesThePlatform) {
  const auto [output, exitCode] = RunTool("/all");
  ASSERT_EQ(exitCode, 0u) << output;
  ResetSnapshot();
  ScanReport(output.c_str());
  static unsigned char params[1 << 16];
  ULONG size = sizeof params;
  ASSERT_EQ(GetNetworkParams(reinterpret_cast<FIXED_INFO*>(params), &size), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_STREQ(configSnapshot.host.hostName, reinterpret_cast<FIXED_INFO*>(params)->HostName);
  EXPECT_STRNE(configSnapshot.host.nodeType, "");
  Texts platform = PlatformAdapters(), shown;
  ASSERT_FALSE(platform.empty()) << "the platform lists no Ethernet adapter here";
  platform.resize(std::min<std::size_t>(platform.size(), ADAPTER_SLOTS));
  for (int slot = 0; slot < configSnapshot.adapterCount; ++slot)
    shown.push_back(std::string(configSnapshot.adapters.name[slot]) + " " + configSnapshot.adapters.ipAddress[slot] + " " +
                    configSnapshot.adapters.physicalAddress[slot]);
  EXPECT_EQ(shown, platform);
}

TEST(ClassicIpconfig, AnswersEachOptionAndFailsExactlyWhereItSaysWhy) {
  const std::string adapter = PlatformAdapters().at(0).substr(0, PlatformAdapters()[0].find(' '));
  const struct { std::string arguments; bool fails; std::string said; } cases[] = {
      {"/?", false, "Usage: ipconfig"},
      {"-?", false, "Usage: ipconfig"},
      {"", false, "        IP Address . . "},
      {"/renew", false, "Ethernet adapter "},
      {"/release " + adapter, false, "adapter " + adapter + ": "},
      {"/flushdns", true, "unknown option: /flushdns"},
      {"/all eth0", true, "/all takes no adapter name: eth0"},
      {"/renew No?Such?Adapter", true, "no adapter is named \"No?Such?Adapter\""}};
  for (const auto& c : cases) {
    const auto [output, exitCode] = RunTool(c.arguments);
    const bool refused = output.find("the system refused") != std::string::npos;  // as Wine does
    EXPECT_EQ(exitCode != 0, c.fails || refused) << c.arguments << "\n" << output;
    EXPECT_NE(output.find(c.said), std::string::npos) << c.arguments << "\n" << output;
    EXPECT_EQ(output.find('\n'), output.find("\r\n") + 1) << "CR LF line ends";
  }
}

}  // namespace
