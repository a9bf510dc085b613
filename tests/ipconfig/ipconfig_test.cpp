// The classic ipconfig: its conversion of answers made by hand in the system's own
// structures, with the interface list and the replies to renewals made by hand too,
// pinned by stored texts (in Japanese and Tokyo's time, as the scripts run Wine); lease
// times in the zones and the locale the scripts run LeaseTime in; and as it ships
// (IPCONFIG_TOOL, else the one built here), run as the program runs it, against Linux's
// own reading (IPCONFIG_SYSTEM_FACTS), option by option, in a console, and on a system
// without IP Helper (a process of its own, which the scripts run with it taken away).
#include "ipconfig/lease_change.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/run_captured.h"
#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

IP_ADDR_STRING Entry(const char* address, const char* mask = "", IP_ADDR_STRING* next = nullptr) {
  IP_ADDR_STRING entry = {next, {}, {}, 0};
  lstrcpyA(entry.IpAddress.String, address);
  lstrcpyA(entry.IpMask.String, mask);
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
// a tunnel, in the system's order; all but loopback with a connection name, the
// tunnel's empty.
void Answer() {
  const UINT types[] = {IF_TYPE_IEEE80211, IF_TYPE_ETHERNET_CSMACD, IF_TYPE_SOFTWARE_LOOPBACK,
                        IF_TYPE_PPP, IF_TYPE_TUNNEL};
  static const char* names[] = {"{A}", "{B}", "{C}", "{D}", "{E}"};
  static const wchar_t* connectionNames[] = {L"Wi-Fi", L"ローカル エリア接続", L"Dial-up", L""};
  host.DnsServerList = Entry("10.0.0.53", "", &lists[0]);
  IP_ADAPTER_ADDRESSES* connection = connections;
  for (int i = 0; i < 5; ++i) {
    IP_ADAPTER_INFO& a = adapters[i];
    a = {};
    a.Next = i < 4 ? &adapters[i + 1] : nullptr;
    lstrcpyA(a.AdapterName, names[i]);
    wsprintfA(a.Description, "NIC %d", i);
    a.Type = types[i];
    a.Index = 11 + i;
    a.DhcpEnabled = i != 3;
    a.AddressLength = 6;
    for (BYTE b = 0; b < 6; ++b) a.Address[b] = 0xA0 + 16 * b + i;
    a.IpAddressList = Entry("0.0.0.0", "0.0.0.0");  // none
    a.GatewayList = Entry("0.0.0.0");
    a.DhcpServer = Entry("10.9.9.8");
    a.PrimaryWinsServer = Entry("10.9.9.9");
    a.LeaseObtained = OBTAINED;
    a.LeaseExpires = OBTAINED + 27 * 3600;
    if (i == 2) continue;
    connection->Next = connection < &connections[3] ? connection + 1 : nullptr;
    connection->AdapterName = const_cast<char*>(names[i]);
    connection->FriendlyName = const_cast<wchar_t*>(connectionNames[connection - connections]);
    connection->OperStatus = i == 0 ? IfOperStatusDown : IfOperStatusUp;
    ++connection;
  }
  adapters[1].IpAddressList = Entry("192.168.1.10", "255.255.255.0", &lists[2]);
  adapters[1].GatewayList.Next = &lists[3];
  adapters[1].HaveWins = TRUE;
  adapters[1].SecondaryWinsServer = Entry("10.9.9.10");
  adapters[3].IpAddressList = Entry("203.0.113.5", "255.255.255.255");
}

// The interfaces: {B}'s under another index than its adapter's (enabled again since),
// another under {B}'s old index, and one that only the tunnel's index finds.
struct {
  LONG count;
  IP_ADAPTER_INDEX_MAP entries[3];
} interfaceList = {3, {{99, L"\\DEVICE\\TCPIP_{B}"}, {12, L"\\DEVICE\\TCPIP_{Q}"}, {15, L"X"}}};

DWORD WINAPI ListInterfaces(IP_INTERFACE_INFO* list, ULONG*) {
  std::memcpy(list, &interfaceList, sizeof interfaceList);
  return NO_ERROR;
}

// The replies of the interfaces asked: done, refused for want of rights or otherwise,
// and "file not found" from any interface that is not the adapter's.
DWORD Reply(ULONG index, DWORD fromB, DWORD fromTunnel) {
  if (index == 99) return fromB;
  return index == 15 ? fromTunnel : ERROR_FILE_NOT_FOUND;
}

DWORD WINAPI Renew(IP_ADAPTER_INDEX_MAP* entry) { return Reply(entry->Index, NO_ERROR, 740); }

DWORD WINAPI Release(IP_ADAPTER_INDEX_MAP* entry) {
  return Reply(entry->Index, ERROR_ACCESS_DENIED, ERROR_NOT_SUPPORTED);
}

// A link that changes between two readings: down, then up.
DWORD WINAPI ChangingLink(MIB_IFROW* row) {
  static int readings = 0;
  row->dwOperStatus =
      readings++ % 2 ? MIB_IF_OPER_STATUS_OPERATIONAL : MIB_IF_OPER_STATUS_UNREACHABLE;
  return NO_ERROR;
}

PlatformConfig config;
ReportText report;

TEST(ConvertConfig, WritesEachAnswerInItsPlaceAndFormConnectedAdaptersFirst) {
  ASSERT_TRUE(LoadPlatformFunctions());
  platform.getInterfaceInfo = ListInterfaces;
  platform.ipRenewAddress = Renew;
  platform.ipReleaseAddress = Release;
  platform.getIfEntry = ChangingLink;
  Answer();
  ConvertConfig(host, adapters, connections, config);
  WriteFullReport(report, config.host, config.adapters, config.adapterCount);
  EXPECT_EQ(report.text, ReadFileText(Fixture("classic_report.txt")));
  report.length = 0;
  WriteShortReport(report, config.adapters, config.adapterCount);
  std::string said = report.text;
  const auto change = [&](bool renew, const char* pattern) {
    report.length = 0;
    const int exitCode = ChangeLeases(config, renew, pattern, report);
    said += "-- exit " + std::to_string(exitCode) + ":\r\n" + report.text;
  };
  const std::pair<bool, const char*> leases[] = {{true, nullptr},    {false, nullptr},
                                                 {true, "*"},        {true, "Dial-up"},
                                                 {false, "No?such"}, {true, "\x83\x8d*"}};  // ロ*
  for (const auto& [renew, pattern] : leases) change(renew, pattern);
  interfaceList.count = 0;
  change(true, nullptr);
  interfaceList.count = 3;
  // The system's own texts are in its language: only their place is pinned.
  EXPECT_EQ(std::regex_replace(said, std::regex("(\\(error \\d+\\)): [^\r]+"), "$1: ..."),
            ReadFileText(SOURCE_DIR "/tests/ipconfig/short_report_and_leases.txt"));
  std::string nodeTypes;
  for (const UINT type : {BROADCAST_NODETYPE, PEER_TO_PEER_NODETYPE, MIXED_NODETYPE, 0}) {
    host.NodeType = type;
    ConvertConfig(host, nullptr, nullptr, config);
    nodeTypes += config.host.nodeType + std::string(" ");
  }
  EXPECT_EQ(nodeTypes, "Broadcast Peer-Peer Mixed Unknown ");
  // Every state of a link but up is down.
  for (const auto state :
       {IfOperStatusDown, IfOperStatusTesting, IfOperStatusUnknown, IfOperStatusDormant,
        IfOperStatusNotPresent, IfOperStatusLowerLayerDown}) {
    connections[0].OperStatus = state;
    ConvertConfig(host, adapters, connections, config);
    EXPECT_STREQ(config.adapters[3].name, "Wi-Fi") << state;
  }
  // Windows 2000 has no GetAdaptersAddresses: the name is the one its registry keeps
  // unless empty, and the link is read once.
  adapters[1].Next = nullptr;
  for (const std::string name : {"Local Area Connection", ""}) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE,
                              "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-"
                              "BFC1-08002BE10318}\\{B}\\Connection",
                              "Name", REG_SZ, name.c_str(), name.size() + 1),
              0);
    ConvertConfig(host, &adapters[1], nullptr, config);
    ASSERT_EQ(config.adapterCount, 1);
    EXPECT_EQ(config.adapters[0].name, name.empty() ? "{B}" : name);
  }
}

// Beyond the tool's room: a list is cut and said to be; more adapters than its buffer
// holds are told plainly; a full report ends with its last whole line and says so.
TEST(ConvertConfig, TellsWhatGoesBeyondItsRoom) {
  ASSERT_TRUE(LoadPlatformFunctions());
  IP_ADDR_STRING addresses[MAX_LISTED + 1];
  for (int i = 0; i <= MAX_LISTED; ++i)
    addresses[i] = Entry("10.0.0.1", "", i < MAX_LISTED ? &addresses[i + 1] : nullptr);
  Answer();
  adapters[1].IpAddressList = addresses[0];
  ConvertConfig(host, adapters, connections, config);
  EXPECT_EQ(std::make_pair(config.adapters[0].addressCount, config.listsCut),
            std::make_pair(MAX_LISTED, true));
  platform.getNetworkParams = [](FIXED_INFO*, ULONG*) -> DWORD { return NO_ERROR; };
  platform.getAdaptersInfo = [](IP_ADAPTER_INFO*, ULONG*) -> DWORD { return 111; };
  static ReportText text;
  EXPECT_FALSE(ReadPlatformConfig(config, text));
  EXPECT_STREQ(text.text,
               "ipconfig: this system has more adapters or addresses than this tool can read.\r\n");
  std::string whole = text.text;
  // Lines of a short piece, a long one and the line end: the cut falls inside a line, and
  // a short piece after it would fit.
  const std::string pieces[] = {"x", std::string(97, 'x'), "\r\n"};
  while (!text.cut) {
    for (const std::string& piece : pieces) Append(text, piece.c_str());
    if (!text.cut) whole += pieces[0] + pieces[1] + pieces[2];
  }
  EndReport(text);
  EXPECT_EQ(std::string(text.text, text.length),
            whole + "ipconfig: the report is cut here: it is longer than this tool holds.\r\n");
}

// A lease time in the local time of its own date, whatever today's: leases of winter
// and summer where the clocks change, north and south (the zone that TZ names), and in
// the system's code page where the console's differs (the scripts run it in Russian,
// whose are 1251 and 866).
TEST(LeaseTime, InTheLocalTimeOfItsOwnDateAndTheSystemCodePage) {
  ASSERT_TRUE(LoadPlatformFunctions());
  std::map<std::string, std::string> hours = {{"Asia/Tokyo", "09:00:00 09:00:00 "},
                                              {"Europe/Berlin", "01:00:00 02:00:00 "},
                                              {"Australia/Sydney", "11:00:00 10:00:00 "}};
  std::string seen;
  char text[TEXT_SIZE];
  for (const unsigned long long when : {1768435200ull, 1784073600ull}) {  // 15 January, 15 July
    FormatLeaseTime(when, LOCALE_INVARIANT, text, sizeof text);
    seen += std::string(text + std::strlen(text) - 8) + " ";
  }
  EXPECT_EQ(seen, hours[EnvOr("TZ", "")]) << "in the zone of TZ";
  EXPECT_EQ(LeaseSeconds(std::int32_t{INT32_MIN}), 1ull << 31);  // 2038, in 4 bytes
  wchar_t read[TEXT_SIZE];
  FormatLeaseTime(OBTAINED, 0x419, text, sizeof text);
  MultiByteToWideChar(CP_ACP, 0, text, -1, read, TEXT_SIZE);
  EXPECT_TRUE(wcsstr(read, L"7 декабря 2026")) << text;
}

std::string Tool() { return EnvOr("IPCONFIG_TOOL", "ipconfig\\ipconfig.exe"); }

// Runs the tool with its standard output on output (detached where null) and returns its
// exit code.
DWORD ExitCode(std::string commandLine, HANDLE output) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  PROCESS_INFORMATION child = {};
  DWORD exitCode = STILL_ACTIVE;
  const DWORD flags = output != nullptr ? 0 : DETACHED_PROCESS;
  if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                     &startup, &child)) {
    WaitForSingleObject(child.hProcess, INFINITE);
    GetExitCodeProcess(child.hProcess, &exitCode);
  } else {
    ADD_FAILURE() << commandLine << " did not start: error " << GetLastError();
  }
  for (HANDLE handle : {child.hProcess, child.hThread}) CloseHandle(handle);
  return exitCode;
}

// The tool's output, caught as the program catches it, and its exit code.
std::pair<std::string, DWORD> RunTool(const std::string& arguments) {
  static char output[TEXT_AREA_SIZE];
  std::string commandLine = Tool();
  if (!arguments.empty()) commandLine += " " + arguments;
  RunCaptured(commandLine.c_str(), output, TEXT_AREA_SIZE);
  EXPECT_EQ(std::string(output).find('\n'), std::string(output).find("\r\n") + 1) << "CR LF";
  return {output, ExitCode(commandLine, nullptr)};
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
  const std::string all = RunTool("-All").first;
  // The short form (pinned above): no host settings, each adapter's addresses.
  const auto [brief, briefExit] = RunTool("");
  EXPECT_EQ(brief.find("Host Name"), std::string::npos) << brief;
  EXPECT_NE(brief.find("IP Address"), std::string::npos) << brief;
  EXPECT_EQ(briefExit, 0u);
  // Renewed: each connected adapter that uses DHCP; released: the last, by name (here one
  // whose link is down, which no name leaves out). A line each, whatever the system says.
  std::string renewed;
  std::string last;
  std::string name;
  const std::regex header("(\\S[^\r]* adapter ([^\r]*)):\r\n\r\n((?: {8}[^\r]*\r\n)*)");
  for (std::sregex_iterator it(all.begin(), all.end(), header), end; it != end; ++it) {
    last = (*it)[1].str() + ": ...\r\n";
    name = (*it)[2];
    if ((*it)[3].str().find("DHCP Enabled . . . . . . . . . . . : Yes") != std::string::npos)
      renewed += (*it)[1].str() + ": ...\r\n";
  }
  for (const auto& [arguments, expected] :
       {std::pair<std::string, std::string>{"/renew", renewed}, {"/release " + name, last}}) {
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

// In a console whose code page is not the system's (a Western console's, 437, while the
// tool writes in 932), the tool's text shows in its own characters.
TEST(ClassicIpconfig, WritesToAConsoleInItsOwnCharacters) {
  const DWORD kinds[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  HANDLE standard[3];
  for (int i = 0; i < 3; ++i) standard[i] = GetStdHandle(kinds[i]);
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  const HANDLE screen =
      CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inheritable, OPEN_EXISTING, 0, nullptr);
  SetConsoleOutputCP(437);
  EXPECT_EQ(ExitCode(Tool() + " /renew \x83\x41", screen), 1ul);  // ア
  const wchar_t expected[] = L"ipconfig: no adapter is named \"ア\".";
  wchar_t shown[std::size(expected)] = {};
  DWORD read = 0;
  ReadConsoleOutputCharacterW(screen, shown, std::size(expected) - 1, {0, 0}, &read);
  EXPECT_STREQ(shown, expected);
  CloseHandle(screen);
  FreeConsole();
  for (int i = 0; i < 3; ++i) SetStdHandle(kinds[i], standard[i]);
}

// With no IP Helper, as on Windows NT 4.0, the system folder's ipconfig answers in the
// tool's place: the stand-in put there, run by its full path with the tool's arguments,
// its output and exit code passed on; never the tool itself.
TEST(WithoutIpHelper, TheSystemsOwnIpconfigAnswers) {
  ASSERT_EQ(LoadLibraryA("iphlpapi.dll"), nullptr) << "run with WINEDLLOVERRIDES=iphlpapi=d";
  char folders[2][MAX_PATH];
  GetSystemDirectoryA(folders[0], MAX_PATH);
  GetSystemWow64DirectoryA(folders[1], MAX_PATH);
  const std::string system = folders[0] + std::string("\\ipconfig.exe");
  // The 32-bit tool finds it in syswow64, which a prefix without a 32-bit side lacks.
  const auto place = [&](const std::string& file) {
    for (const char* folder : folders)
      CopyFileA(file.c_str(), (folder + std::string("\\ipconfig.exe")).c_str(), FALSE);
  };

  place("ipconfig.exe");  // the stand-in beside this test
  SetEnv("IPCONFIG_STANDIN_EXIT", "7");
  EXPECT_EQ(RunTool("-renew Local?Area x"),
            std::make_pair("\"" + system + "\" -renew Local?Area x\r\n", 7ul));
  SetEnv("IPCONFIG_STANDIN_EXIT", "");
  place(Tool());
  EXPECT_EQ(RunTool("/all"),
            std::make_pair("ipconfig: this system has no IP Helper, and " + system +
                               " is this tool itself, which needs it.\r\n",
                           1ul));
}

}  // namespace
