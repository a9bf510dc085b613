// The classic-form ipconfig, run for real and compared with what iphlpapi says.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "tests/win/test_support.h"

namespace {

// The tool's output, read through a pipe to its end, and its exit code.
std::pair<std::string, DWORD> RunTool(const std::string& arguments) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  CreatePipe(&readEnd, &writeEnd, &inheritable, 0);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  std::string commandLine = "tools\\ipconfig\\ipconfig.exe " + arguments, output;
  PROCESS_INFORMATION child = {};
  DWORD exitCode = STILL_ACTIVE, read = 0;
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child))
    return {"not started", exitCode};
  CloseHandle(writeEnd);
  char chunk[4096];
  while (ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr) && read > 0) output.append(chunk, read);
  WaitForSingleObject(child.hProcess, INFINITE);
  GetExitCodeProcess(child.hProcess, &exitCode);
  for (HANDLE handle : {child.hProcess, child.hThread, readEnd}) CloseHandle(handle);
  return {output, exitCode};
}

// Each Ethernet or wireless adapter as the program would store it: the connection
// name with blanks as '?', its first address and its physical address.
Texts PlatformAdapters() {
  static unsigned char infoBuffer[1 << 18], addressBuffer[1 << 18];
  ULONG infoSize = sizeof infoBuffer, addressSize = sizeof addressBuffer;
  auto* addresses = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(addressBuffer);
  if (GetAdaptersAddresses(AF_UNSPEC, 0, nullptr, addresses, &addressSize) != ERROR_SUCCESS) addresses = nullptr;
  auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(infoBuffer);
  Texts adapters;
  for (info = GetAdaptersInfo(info, &infoSize) == ERROR_SUCCESS ? info : nullptr; info; info = info->Next) {
    if (info->Type != MIB_IF_TYPE_ETHERNET && info->Type != IF_TYPE_IEEE80211) continue;
    char name[256];
    std::snprintf(name, sizeof name, "%s", info->AdapterName);
    for (IP_ADAPTER_ADDRESSES* a = addresses; a != nullptr; a = a->Next)
      if (std::string(a->AdapterName) == info->AdapterName)
        WideCharToMultiByte(CP_ACP, 0, a->FriendlyName, -1, name, sizeof name, nullptr, nullptr);
    std::string adapter = name;
    for (char& c : adapter) c = c == ' ' ? '?' : c;
    adapter += std::string(" ") + info->IpAddressList.IpAddress.String + " ";
    for (UINT i = 0; i < info->AddressLength; ++i) {
      std::snprintf(name, sizeof name, i ? "-%02X" : "%02X", info->Address[i]);
      adapter += name;
    }
    adapters.push_back(adapter);
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
