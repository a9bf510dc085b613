// The classic-form ipconfig, run for real under the test platform and compared
// with what iphlpapi itself says.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "tests/win/program_folder.h"

namespace {

std::string ToolPath() { return ProgramFolder() + "tools\\ipconfig\\ipconfig.exe"; }

struct Outcome {
  std::string output;
  DWORD exitCode;
};

Outcome RunTool(const std::string& arguments) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  CreatePipe(&readEnd, &writeEnd, &inheritable, 0);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  std::string commandLine = "\"" + ToolPath() + "\" " + arguments;
  PROCESS_INFORMATION child = {};
  Outcome outcome = {"", 0xFFFFFFFF};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &child))
    return outcome;
  CloseHandle(writeEnd);
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr) && read > 0) outcome.output.append(chunk, read);
  WaitForSingleObject(child.hProcess, INFINITE);
  GetExitCodeProcess(child.hProcess, &outcome.exitCode);
  CloseHandle(child.hProcess);
  CloseHandle(child.hThread);
  CloseHandle(readEnd);
  return outcome;
}

void ScanOutput(const std::string& text) {
  ResetSnapshot();
  ScanReport(text.c_str());
}

struct ListedAdapter {
  std::string name;  // as the program stores it: blanks as '?'
  std::string address;
  std::string physical;
};

// The Ethernet (and wireless) adapters as iphlpapi lists them, in its order.
std::vector<ListedAdapter> EthernetAdapters() {
  static unsigned char infoBuffer[1 << 18];
  static unsigned char addressBuffer[1 << 18];
  ULONG infoSize = sizeof infoBuffer;
  ULONG addressSize = sizeof addressBuffer;
  auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(infoBuffer);
  auto* addresses = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(addressBuffer);
  std::vector<ListedAdapter> listed;
  if (GetAdaptersInfo(info, &infoSize) != ERROR_SUCCESS) return listed;
  if (GetAdaptersAddresses(AF_UNSPEC, 0, nullptr, addresses, &addressSize) != ERROR_SUCCESS) addresses = nullptr;
  for (; info != nullptr; info = info->Next) {
    if (info->Type != MIB_IF_TYPE_ETHERNET && info->Type != IF_TYPE_IEEE80211) continue;
    ListedAdapter adapter;
    adapter.name = info->AdapterName;
    for (IP_ADAPTER_ADDRESSES* a = addresses; a != nullptr; a = a->Next) {
      if (std::strcmp(a->AdapterName, info->AdapterName) != 0) continue;
      char friendly[256];
      WideCharToMultiByte(CP_ACP, 0, a->FriendlyName, -1, friendly, sizeof friendly, nullptr, nullptr);
      adapter.name = friendly;
    }
    for (char& c : adapter.name)
      if (c == ' ') c = '?';
    adapter.address = info->IpAddressList.IpAddress.String;
    for (UINT i = 0; i < info->AddressLength; ++i) {
      char byte[4];
      std::snprintf(byte, sizeof byte, i ? "-%02X" : "%02X", info->Address[i]);
      adapter.physical += byte;
    }
    listed.push_back(adapter);
  }
  return listed;
}

TEST(ClassicIpconfig, AllReportReadByTheProgramsScannerMatchesThePlatform) {
  const Outcome outcome = RunTool("/all");
  ASSERT_EQ(outcome.exitCode, 0u) << outcome.output;
  ScanOutput(outcome.output);

  static unsigned char buffer[1 << 16];
  ULONG size = sizeof buffer;
  auto* params = reinterpret_cast<FIXED_INFO*>(buffer);
  ASSERT_EQ(GetNetworkParams(params, &size), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_STREQ(configSnapshot.host.hostName, params->HostName);
  EXPECT_STRNE(configSnapshot.host.nodeType, "");
  EXPECT_STRNE(configSnapshot.host.ipRoutingEnabled, "");

  const std::vector<ListedAdapter> listed = EthernetAdapters();
  ASSERT_FALSE(listed.empty()) << "the platform lists no Ethernet adapter here";
  ASSERT_EQ(configSnapshot.adapterCount, static_cast<int>(std::min<std::size_t>(listed.size(), ADAPTER_SLOTS)));
  for (int slot = 0; slot < configSnapshot.adapterCount; ++slot) {
    EXPECT_EQ(configSnapshot.adapters.name[slot], listed[slot].name);
    EXPECT_EQ(configSnapshot.adapters.ipAddress[slot], listed[slot].address) << listed[slot].name;
    EXPECT_EQ(configSnapshot.adapters.physicalAddress[slot], listed[slot].physical) << listed[slot].name;
  }
}

TEST(ClassicIpconfig, ShortFormShowsTheSameAddresses) {
  const Outcome outcome = RunTool("");
  ASSERT_EQ(outcome.exitCode, 0u);
  ScanOutput(outcome.output);
  const std::vector<ListedAdapter> listed = EthernetAdapters();
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(configSnapshot.adapters.ipAddress[0], listed[0].address);
  EXPECT_STREQ(configSnapshot.host.hostName, "");  // the short form has no host part
}

TEST(ClassicIpconfig, RenewOfAnUnknownAdapterSaysSoAndFails) {
  const Outcome outcome = RunTool("/renew No?Such?Adapter");
  EXPECT_NE(outcome.exitCode, 0u);
  EXPECT_NE(outcome.output.find("no adapter is named \"No?Such?Adapter\""), std::string::npos) << outcome.output;
}

TEST(ClassicIpconfig, AnUnknownOptionSaysSoShowsTheUsageAndFails) {
  const Outcome outcome = RunTool("/flushdns");
  EXPECT_NE(outcome.exitCode, 0u);
  EXPECT_NE(outcome.output.find("unknown option: /flushdns"), std::string::npos) << outcome.output;
  EXPECT_NE(outcome.output.find("Usage: ipconfig"), std::string::npos);
  const Outcome extra = RunTool("/all eth0");
  EXPECT_NE(extra.exitCode, 0u);
}

TEST(ClassicIpconfig, HelpShowsTheUsage) {
  for (const char* option : {"/?", "-?"}) {
    const Outcome outcome = RunTool(option);
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_NE(outcome.output.find("Usage: ipconfig"), std::string::npos);
  }
}

TEST(ClassicIpconfig, RenewAndReleaseAnswerOnceForEachAdapterAndFailWhenTheSystemRefuses) {
  const std::vector<ListedAdapter> listed = EthernetAdapters();
  for (const char* option : {"/renew", "/release"}) {
    const Outcome outcome = RunTool(option);
    std::size_t lines = 0;
    std::size_t refusals = 0;
    for (std::size_t at = 0; (at = outcome.output.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    for (std::size_t at = 0; (at = outcome.output.find("refused", at)) != std::string::npos; ++at) ++refusals;
    EXPECT_GE(lines, listed.size()) << outcome.output;
    EXPECT_EQ(outcome.exitCode != 0, refusals > 0) << outcome.output;
  }
  const Outcome named = RunTool(std::string("/release ") + listed.at(0).name);
  EXPECT_NE(named.output.find(listed[0].name.c_str()), std::string::npos) << named.output;
}

}  // namespace
