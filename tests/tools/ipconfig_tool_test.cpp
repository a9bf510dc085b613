// The classic ipconfig: its conversion of answers made by hand in the system's own
// structures, pinned by stored texts (in Japanese and Tokyo's time, as the scripts run
// Wine); and as it ships (IPCONFIG_TOOL, else the one built here), run as the program
// runs it, against Linux's own reading (IPCONFIG_SYSTEM_FACTS) and option by option.
#include "tools/ipconfig/lease_change.h"

#include <cstdlib>
#include <regex>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/run_captured.h"
#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

IP_ADDR_STRING Entry(const char* address, const char* mask = "", IP_ADDR_STRING* next = nullptr) {
  IP_ADDR_STRING entry = {next, {}, {}, 0};
  lstrcpyA(entry.IpAddress.String, address), lstrcpyA(entry.IpMask.String, mask);
  return entry;
}

constexpr time_t OBTAINED = 1796601600;  // 2026-12-07 0:00 UTC
IP_ADDR_STRING lists[] = {Entry("10.0.0.54", "", &lists[1]), Entry("10.0.0.55"),
                          Entry("10.1.0.10", "255.255.0.0"), Entry("192.168.1.1", "", &lists[4]),
                          Entry("10.1.0.1")};
FIXED_INFO host = {"pc01", "example.org", nullptr, {}, HYBRID_NODETYPE, "scope", 1, 0, 1};
IP_ADAPTER_INFO adapters[5];
IP_ADAPTER_ADDRESSES connections[4];

// Wi-Fi (its link down), Ethernet with DHCP, loopback, PPP with a static address, and
// a tunnel, in the system's order; all but loopback with a connection name.
void Answer() {
  const UINT types[] = {IF_TYPE_IEEE80211, IF_TYPE_ETHERNET_CSMACD, IF_TYPE_SOFTWARE_LOOPBACK,
                        IF_TYPE_PPP, IF_TYPE_TUNNEL};
  static const char* names[] = {"{A}", "{B}", "{C}", "{D}", "{E}"};
  static const wchar_t* connectionNames[] = {L"Wi-Fi", L"ローカル エリア接続", L"Dial-up",
                                             L"Tunnel"};
  host.DnsServerList = Entry("10.0.0.53", "", &lists[0]);
  for (int i = 0, k = 0; i < 5; ++i) {
    IP_ADAPTER_INFO& a = adapters[i] = {};
    a.Next = i < 4 ? &adapters[i + 1] : nullptr;
    lstrcpyA(a.AdapterName, names[i]), wsprintfA(a.Description, "NIC %d", i);
    a.Type = types[i], a.Index = 11 + i, a.DhcpEnabled = i != 3, a.AddressLength = 6;
    for (BYTE b = 0; b < 6; ++b) a.Address[b] = 0xA0 + 16 * b + i;
    a.IpAddressList = Entry("0.0.0.0", "0.0.0.0"), a.GatewayList = Entry("0.0.0.0");  // none
    a.DhcpServer = Entry("10.9.9.8"), a.PrimaryWinsServer = Entry("10.9.9.9");
    a.LeaseObtained = OBTAINED, a.LeaseExpires = OBTAINED + 27 * 3600;
    if (i == 2) continue;
    connections[k].Next = k < 3 ? &connections[k + 1] : nullptr;
    connections[k].AdapterName = const_cast<char*>(names[i]);
    connections[k].FriendlyName = const_cast<wchar_t*>(connectionNames[k]);
    connections[k++].OperStatus = i == 0 ? IfOperStatusDown : IfOperStatusUp;
  }
  adapters[1].IpAddressList = Entry("192.168.1.10", "255.255.255.0", &lists[2]);
  adapters[1].GatewayList.Next = &lists[3];
  adapters[1].HaveWins = TRUE, adapters[1].SecondaryWinsServer = Entry("10.9.9.10");
  adapters[3].IpAddressList = Entry("203.0.113.5", "255.255.255.255");
}

PlatformConfig config;
ReportText report;

// The system's replies by interface: done, or refused for want of rights or otherwise.
DWORD Reply(bool renew, DWORD index) {
  const DWORD replies[] = {740, renew ? 0u : ERROR_ACCESS_DENIED, 0, 0, ERROR_NOT_SUPPORTED};
  return replies[index - 11];
}

TEST(ConvertConfig, WritesEachAnswerInItsPlaceAndFormConnectedAdaptersFirst) {
  Answer();
  ConvertConfig(host, adapters, connections, config);
  WriteFullReport(report, config.host, config.adapters, config.adapterCount);
  EXPECT_EQ(report.text, ReadFileText(Fixture("classic_report.txt")));
  report.length = 0;
  WriteShortReport(report, config.adapters, config.adapterCount);
  std::string said = report.text;
  const std::pair<bool, const char*> leases[] = {{true, nullptr},    {false, nullptr},
                                                 {true, "*"},        {true, "Dial-up"},
                                                 {false, "No?such"}, {true, "\x83\x8d*"}};  // ロ*
  for (const auto& [renew, pattern] : leases) {
    report.length = 0;
    const int exitCode = ChangeLeases(config, renew, pattern, Reply, report);
    said += "-- exit " + std::to_string(exitCode) + ":\r\n" + report.text;
  }
  // The system's own texts are in its language: only their place is pinned.
  EXPECT_EQ(std::regex_replace(said, std::regex("(\\(error \\d+\\)): [^\r]+"), "$1: ..."),
            ReadFileText(SOURCE_DIR "/tests/tools/short_report_and_leases.txt"));
  std::string nodeTypes;
  for (const UINT type : {BROADCAST_NODETYPE, PEER_TO_PEER_NODETYPE, MIXED_NODETYPE, 0})
    host.NodeType = type, ConvertConfig(host, nullptr, nullptr, config),
    nodeTypes += config.host.nodeType + std::string(" ");
  EXPECT_EQ(nodeTypes, "Broadcast Peer-Peer Mixed Unknown ");
  // In the system's code page, not the locale's: Russian's is 1251, this system's 932.
  char date[TEXT_SIZE];
  wchar_t read[TEXT_SIZE];
  FormatLeaseTime(OBTAINED, 0x419, date, sizeof date);
  MultiByteToWideChar(CP_ACP, 0, date, -1, read, TEXT_SIZE);
  EXPECT_TRUE(wcsstr(read, L"7 декабря 2026") && wcsstr(read, L"9:00:00")) << date;
  // Windows 2000 has no GetAdaptersAddresses: the name is the one its registry keeps.
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE,
                            "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-"
                            "BFC1-08002BE10318}\\{B}\\Connection",
                            "Name", REG_SZ, "Local Area Connection", 22),
            0);
  adapters[1].Next = nullptr;
  ConvertConfig(host, &adapters[1], nullptr, config);
  EXPECT_STREQ(config.adapters[0].name, "Local Area Connection");
}

// The tool's output, caught as the program catches it, and its exit code.
std::pair<std::string, DWORD> RunTool(const std::string& arguments) {
  static char output[TEXT_AREA_SIZE];
  std::string commandLine = std::getenv("IPCONFIG_TOOL") ?: "tools\\ipconfig\\ipconfig.exe";
  commandLine += arguments.empty() ? "" : " " + arguments;
  RunCaptured(commandLine.c_str(), output, TEXT_AREA_SIZE);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  DWORD exitCode = STILL_ACTIVE;
  if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                     nullptr, &startup, &child))
    WaitForSingleObject(child.hProcess, INFINITE), GetExitCodeProcess(child.hProcess, &exitCode);
  for (HANDLE handle : {child.hProcess, child.hThread}) CloseHandle(handle);
  EXPECT_EQ(std::string(output).find('\n'), std::string(output).find("\r\n") + 1) << "CR LF";
  return {output, exitCode};
}

TEST(ClassicIpconfig, ReportsWhatTheSystemItselfSaysOfThisMachine) {
  const char* facts = std::getenv("IPCONFIG_SYSTEM_FACTS");
  ASSERT_TRUE(facts) << "no reading of the system: run the tests through scripts/";
  const auto [report, exitCode] = RunTool("/all");
  ResetSnapshot();
  ScanReport(report.c_str());
  // The scanner reads the first name server; the others stand aligned under it.
  std::smatch dns;
  std::regex_search(report, dns, std::regex("DNS Servers[ .]*: ([^\r]*(\r\n {45}[^\r]*)*)"));
  std::string seen = "host " + std::string(configSnapshot.host.hostName) + "\ndns " +
                     std::regex_replace(dns[1].str(), std::regex("\r\n +"), " ") + "\n";
  const auto& a = configSnapshot.adapters;
  for (int slot = 0; slot < configSnapshot.adapterCount; ++slot)
    seen += "adapter " + std::string(a.name[slot]) + " " + a.physicalAddress[slot] + " " +
            a.ipAddress[slot] + " " + a.subnetMask[slot] + " " + a.defaultGateway[slot] + "\n";
  EXPECT_EQ(std::make_pair(seen, exitCode), std::make_pair(ReadFileText(facts), 0ul)) << report;
}

TEST(ClassicIpconfig, AnswersEachOptionWhole) {
  const std::string all = RunTool("/all").first;
  // The short form: the full report but for the host's lines and, of each adapter,
  // all but its address, mask and gateway lines (or its media state).
  std::string shortForm, line;
  const std::regex kept(" {8}(IP Address|Subnet Mask|Default Gateway|Media State)[ .]*: .*\r");
  bool listing = false;
  for (std::istringstream lines(all); std::getline(lines, line);) {
    listing = std::regex_match(line, kept) || (listing && line.find(std::string(45, ' ')) == 0);
    if (listing || line == "\r" || line[0] != ' ') shortForm += line + "\n";
  }
  EXPECT_EQ(RunTool(""), std::make_pair(shortForm, 0ul));
  // Renewed: each adapter that uses DHCP (one whose link is down does not say so);
  // released: the first, by name. A line each, whatever the system answers.
  std::string renewed, first, name;
  const std::regex header("(\\S[^\r]* adapter ([^\r]*)):\r\n\r\n((?: {8}[^\r]*\r\n)*)");
  for (std::sregex_iterator it(all.begin(), all.end(), header), end; it != end; ++it) {
    if (first.empty()) first = (*it)[1].str() + ": ...\r\n", name = (*it)[2];
    if ((*it)[3].str().find("DHCP Enabled . . . . . . . . . . . : No") == std::string::npos)
      renewed += (*it)[1].str() + ": ...\r\n";
  }
  for (const auto& [arguments, expected] :
       {std::pair<std::string, std::string>{"/renew", renewed}, {"/release " + name, first}}) {
    const std::string output = RunTool(arguments).first;
    EXPECT_EQ(std::regex_replace(output, std::regex(": [^\r]+\r\n"), ": ...\r\n"), expected);
  }
  const std::string usage = RunTool("/?").first;
  EXPECT_EQ(usage.substr(0, 17), "\r\nUsage: ipconfig");
  const std::pair<std::string, std::string> refused[] = {
      {"/flushdns", "ipconfig: unknown option: /flushdns\r\n" + usage},
      {"/all eth0", "ipconfig: /all takes no adapter name: eth0\r\n" + usage},
      {"/renew No Such ?dapter", "ipconfig: no adapter is named \"No Such ?dapter\".\r\n"}};
  for (const auto& [arguments, answer] : refused)
    EXPECT_EQ(RunTool(arguments), std::make_pair(answer, 1ul));
}

}  // namespace
