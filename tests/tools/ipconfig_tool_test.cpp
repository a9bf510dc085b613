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
  if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                     nullptr, &startup, &child))
    WaitForSingleObject(child.hProcess, INFINITE), GetExitCodeProcess(child.hProcess, &exitCode);
  for (HANDLE handle : {child.hProcess, child.hThread}) CloseHandle(handle);
  return {output, exitCode};
}

// Each Ethernet or wireless adapter as the program would store it: the connection
// name with blanks as '?', its first IPv4 address and its physical address.
Texts PlatformAdapters() {
  static unsigned char buffer[1 << 18];
  ULONG size = sizeof buffer;
  Texts adapters;
  auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer);
  for (a = GetAdaptersAddresses(AF_INET, 0, nullptr, a, &size) ? nullptr : a; a; a = a->Next) {
    if (a->IfType != IF_TYPE_ETHERNET_CSMACD && a->IfType != IF_TYPE_IEEE80211) continue;
    char name[256], text[512];
    WideCharToMultiByte(CP_ACP, 0, a->FriendlyName, -1, name, sizeof name, nullptr, nullptr);
    std::replace(name, name + std::strlen(name), ' ', '?');
    const auto* sockaddr = a->FirstUnicastAddress ? a->FirstUnicastAddress->Address.lpSockaddr : 0;
    const auto* ip = sockaddr ? reinterpret_cast<const unsigned char*>(sockaddr->sa_data) + 2
                              : reinterpret_cast<const unsigned char*>("\0\0\0");
    const unsigned char* mac = a->PhysicalAddress;
    std::snprintf(text, sizeof text, "%s %u.%u.%u.%u %02X-%02X-%02X-%02X-%02X-%02X", name, ip[0],
                  ip[1], ip[2], ip[3], mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
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
  ASSERT_EQ(GetNetworkParams(reinterpret_cast<FIXED_INFO*>(params), &size),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_STREQ(configSnapshot.host.hostName, reinterpret_cast<FIXED_INFO*>(params)->HostName);
  EXPECT_STRNE(configSnapshot.host.nodeType, "");
  Texts platform = PlatformAdapters(), shown;
  ASSERT_FALSE(platform.empty()) << "the platform lists no Ethernet adapter here";
  platform.resize(std::min<std::size_t>(platform.size(), ADAPTER_SLOTS));
  for (int slot = 0; slot < configSnapshot.adapterCount; ++slot)
    shown.push_back(std::string(configSnapshot.adapters.name[slot]) + " " +
                    configSnapshot.adapters.ipAddress[slot] + " " +
                    configSnapshot.adapters.physicalAddress[slot]);
  EXPECT_EQ(shown, platform);
}

TEST(ClassicIpconfig, AnswersEachOptionAndFailsExactlyWhereItSaysWhy) {
  const std::string adapter = PlatformAdapters().at(0).substr(0, PlatformAdapters()[0].find(' '));
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
