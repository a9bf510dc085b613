// The classic ipconfig: its conversion of answers made by hand in the system's own
// structures, with the interface list and the replies to renewals made by hand too,
// pinned by stored texts (in Japanese and Tokyo's time, as the scripts run Wine); the
// system's texts in the ANSI code page, in the zones and locales the scripts run
// SystemText in; and as it ships (IPCONFIG_TOOL, else the one built here), against
// Linux's own reading of the test network (IPCONFIG_SYSTEM_FACTS), option by option, in
// a console, beside a planted DLL, and on a system without IP Helper (a process of its
// own, which the scripts run with it taken away).
#include "ipconfig/lease_change.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>

#include "ipconfig/report_output.h"
#include "ipconfig/system_message.h"
#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "tests/win/test_support.h"

namespace {

IP_ADDR_STRING Entry(const char* address, const char* mask = "", IP_ADDR_STRING* next = nullptr) {
  IP_ADDR_STRING entry = {next, {}, {}, 0};
  lstrcpyA(entry.IpAddress.String, address);
  lstrcpyA(entry.IpMask.String, mask);
  return entry;
}

constexpr time_t OBTAINED = 1796601600;  // 2026-12-07 0:00 UTC
IP_ADDR_STRING lists[] = {
    Entry("10.0.0.54", "", &lists[1]),   Entry("10.0.0.55"), Entry("10.1.0.10", "255.255.0.0"),
    Entry("192.168.1.1", "", &lists[4]), Entry("10.1.0.1"),  Entry("10.7.0.1")};
FIXED_INFO host = {"pc01", "example.org", nullptr, {}, HYBRID_NODETYPE, "scope", 1, 0, 1};
IP_ADAPTER_INFO adapters[6];
IP_ADAPTER_ADDRESSES connections[5];

// In the system's order: Wi-Fi (its link down), Ethernet with DHCP and a gateway,
// loopback, PPP with a static address, a tunnel, and mobile broadband with a gateway;
// all but loopback with a connection name, the tunnel's empty. The indexes put the
// mobile adapter first among those with a gateway, and the tunnel before PPP.
void Answer() {
  const UINT types[] = {
      IF_TYPE_IEEE80211, IF_TYPE_ETHERNET_CSMACD, IF_TYPE_SOFTWARE_LOOPBACK,
      IF_TYPE_PPP,       IF_TYPE_TUNNEL,          243};  // IF_TYPE_WWANPP: mobile broadband
  const DWORD indexes[] = {11, 12, 13, 17, 15, 10};
  static const char* names[] = {"{A}", "{B}", "{C}", "{D}", "{E}", "{F}"};
  static const wchar_t* connectionNames[] = {L"Wi-Fi", L"ローカル エリア接続", L"Dial-up", L"",
                                             L"Mobile"};
  host.DnsServerList = Entry("10.0.0.53", "", &lists[0]);
  IP_ADAPTER_ADDRESSES* connection = connections;
  for (int i = 0; i < 6; ++i) {
    IP_ADAPTER_INFO& a = adapters[i];
    a = {};
    a.Next = i < 5 ? &adapters[i + 1] : nullptr;
    lstrcpyA(a.AdapterName, names[i]);
    wsprintfA(a.Description, "NIC %d", i);
    a.Type = types[i];
    a.Index = indexes[i];
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
    connection->Next = connection < &connections[4] ? connection + 1 : nullptr;
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
  adapters[5].IpAddressList = Entry("10.7.0.9", "255.255.255.0");
  adapters[5].GatewayList = lists[5];
}

// The interfaces: {B}'s in other letter case and under another index than its adapter's
// (enabled again since), {F}'s, and two that carry the indexes of {B} and the tunnel
// under other names: neither may ever be asked.
struct {
  LONG count;
  IP_ADAPTER_INDEX_MAP entries[4];
} interfaceList = {4,
                   {{99, L"\\DEVICE\\TCPIP_{b}"},
                    {12, L"\\DEVICE\\TCPIP_{Q}"},
                    {15, L"X"},
                    {31, L"\\DEVICE\\TCPIP_{F}"}}};
DWORD listAnswer = NO_ERROR;

DWORD WINAPI ListInterfaces(IP_INTERFACE_INFO* list, ULONG*) {
  std::memcpy(list, &interfaceList, sizeof interfaceList);
  return listAnswer;
}

// The replies of the interfaces asked: done, refused for want of rights or otherwise.
DWORD Reply(ULONG index, DWORD fromB, DWORD fromF) {
  if (index == 99) return fromB;
  if (index == 31) return fromF;
  ADD_FAILURE() << "interface " << index << " was asked, which is no adapter's own";
  return ERROR_FILE_NOT_FOUND;
}

DWORD WINAPI Renew(IP_ADAPTER_INDEX_MAP* entry) { return Reply(entry->Index, NO_ERROR, 740); }

DWORD WINAPI Release(IP_ADAPTER_INDEX_MAP* entry) {
  return Reply(entry->Index, ERROR_ACCESS_DENIED, ERROR_NOT_SUPPORTED);
}

// The link state that Windows 2000 reports, and how often it was read.
DWORD linkState;
int linkReadings;

DWORD WINAPI ReadLink(MIB_IFROW* row) {
  ++linkReadings;
  row->dwOperStatus = linkState;
  return NO_ERROR;
}

PlatformConfig config;
ReportText report;

// The connection name that Windows 2000 keeps in its registry for {B}.
void KeepConnectionName(const std::string& name) {
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE,
                            "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-"
                            "BFC1-08002BE10318}\\{B}\\Connection",
                            "Name", REG_SZ, name.c_str(), name.size() + 1),
            0);
}

// The hand-made answers converted, with the system's other functions made by hand too.
void Convert() {
  ASSERT_TRUE(LoadPlatformFunctions());
  platform.getInterfaceInfo = ListInterfaces;
  platform.ipRenewAddress = Renew;
  platform.ipReleaseAddress = Release;
  platform.getIfEntry = ReadLink;
  Answer();
  ConvertConfig(host, adapters, connections, config);
  report = {};
}

TEST(ConvertConfig, WritesEachAnswerInItsPlaceAndTheAdaptersInUseFirst) {
  Convert();
  WriteFullReport(report, config.host, config.adapters, config.adapterCount, false);
  EXPECT_EQ(report.text, ReadFileText(Fixture("classic_report.txt")));
}

TEST(ChangeLeases, ActsOnTheAdapterNamedThroughItsOwnInterfaceAndSaysHowItWent) {
  Convert();
  WriteShortReport(report, config.adapters, config.adapterCount, false);
  std::string said = report.text;
  const struct {
    bool renew;
    const char* pattern;
    DWORD listed;
  } cases[] = {{true, nullptr, NO_ERROR},
               {false, nullptr, NO_ERROR},
               {true, "*", NO_ERROR},
               {true, "Dial-up", NO_ERROR},
               {true, "Wi-Fi", NO_ERROR},
               {false, "No?such", NO_ERROR},
               {true, "\x83\x8d*", NO_ERROR},  // ロ*
               {true, nullptr, ERROR_NO_DATA},
               {true, nullptr, ERROR_INSUFFICIENT_BUFFER},
               {true, nullptr, ERROR_NOT_SUPPORTED}};
  for (const auto& c : cases) {
    report.length = 0;
    listAnswer = c.listed;
    const int exitCode = ChangeLeases(config, c.renew, c.pattern, report);
    said += "-- exit " + std::to_string(exitCode) + ":\r\n" + report.text;
  }
  listAnswer = NO_ERROR;
  // The system's own texts are in its language: only their place is pinned.
  EXPECT_EQ(std::regex_replace(said, std::regex("(\\(error \\d+\\)): [^\r]+"), "$1: ..."),
            ReadFileText(SOURCE_DIR "/tests/ipconfig/short_report_and_leases.txt"));
}

// Node types by name; on XP every link state but up is down; on Windows 2000, which
// has no GetAdaptersAddresses, the link is read once, only "connected" and "operational"
// are up, and the name is the one its registry keeps unless empty.
TEST(ConvertConfig, NodeTypesLinkStatesAndNamesOnEachWindows) {
  Convert();
  std::string nodeTypes;
  for (const UINT type : {BROADCAST_NODETYPE, PEER_TO_PEER_NODETYPE, MIXED_NODETYPE, 0}) {
    host.NodeType = type;
    ConvertConfig(host, nullptr, nullptr, config);
    nodeTypes += config.host.nodeType + std::string(" ");
  }
  EXPECT_EQ(nodeTypes, "Broadcast Peer-Peer Mixed Unknown ");
  for (const auto state :
       {IfOperStatusDown, IfOperStatusTesting, IfOperStatusUnknown, IfOperStatusDormant,
        IfOperStatusNotPresent, IfOperStatusLowerLayerDown}) {
    connections[0].OperStatus = state;
    ConvertConfig(host, adapters, connections, config);
    EXPECT_STREQ(config.adapters[4].name, "Wi-Fi") << state;
  }
  adapters[1].Next = nullptr;
  const std::pair<DWORD, bool> links[] = {
      {MIB_IF_OPER_STATUS_NON_OPERATIONAL, false}, {MIB_IF_OPER_STATUS_UNREACHABLE, false},
      {MIB_IF_OPER_STATUS_DISCONNECTED, false},    {MIB_IF_OPER_STATUS_CONNECTING, false},
      {MIB_IF_OPER_STATUS_CONNECTED, true},        {MIB_IF_OPER_STATUS_OPERATIONAL, true}};
  for (const auto& [state, connected] : links) {
    linkState = state;
    linkReadings = 0;
    ConvertConfig(host, &adapters[1], nullptr, config);
    EXPECT_EQ(std::make_pair(config.adapters[0].connected, linkReadings),
              std::make_pair(connected, 1))
        << state;
  }
  for (const std::string name : {"Local Area Connection", ""}) {
    KeepConnectionName(name);
    ConvertConfig(host, &adapters[1], nullptr, config);
    ASSERT_EQ(config.adapterCount, 1);
    EXPECT_EQ(config.adapters[0].name, name.empty() ? "{B}" : name);
  }
}

// Each answer of the system as read: no adapters at all, no connection names (they come
// from the registry then), more than the tool's buffers hold, a failure.
DWORD infoAnswer;
DWORD addressesAnswer;

TEST(ReadPlatformConfig, TakesEachAnswerOfTheSystem) {
  Convert();
  KeepConnectionName("Local Area Connection");
  platform.getNetworkParams = [](FIXED_INFO* info, ULONG*) -> DWORD {
    *info = host;
    return infoAnswer == ERROR_NOT_SUPPORTED ? ERROR_NOT_SUPPORTED : NO_ERROR;
  };
  platform.getAdaptersInfo = [](IP_ADAPTER_INFO* info, ULONG*) -> DWORD {
    *info = adapters[1];
    info->Next = nullptr;
    return infoAnswer == ERROR_NOT_SUPPORTED ? NO_ERROR : infoAnswer;
  };
  platform.getAdaptersAddresses = [](ULONG, ULONG, void*, IP_ADAPTER_ADDRESSES* list, ULONG*) {
    *list = connections[1];
    list->Next = nullptr;
    return addressesAnswer;
  };
  const struct {
    DWORD info, addresses;
    const char* name;  // of the one adapter read, or what the report says
  } cases[] = {
      {NO_ERROR, NO_ERROR,
       "\x83\x8d\x81\x5b\x83\x4a\x83\x8b \x83\x47\x83\x8a\x83\x41\x90\xda\x91\xb1"},
      {NO_ERROR, ERROR_NOT_SUPPORTED, "Local Area Connection"},
      {ERROR_NO_DATA, NO_ERROR, "no adapters"},
      {ERROR_BUFFER_OVERFLOW, NO_ERROR,
       "ipconfig: this system has more adapters or addresses than this tool can read.\r\n"},
      {NO_ERROR, ERROR_BUFFER_OVERFLOW,
       "ipconfig: this system has more adapters or addresses than this tool can read.\r\n"},
      {ERROR_NOT_SUPPORTED, NO_ERROR,
       "ipconfig: the system did not give its network configuration (error 50): ...\r\n"}};
  for (const auto& c : cases) {
    infoAnswer = c.info;
    addressesAnswer = c.addresses;
    report = {};
    std::string read = "no adapters";
    if (!ReadPlatformConfig(config, report))
      read = std::regex_replace(report.text, std::regex("(\\(error \\d+\\)): [^\r]+"), "$1: ...");
    else if (config.adapterCount > 0)
      read = config.adapters[0].name;
    EXPECT_EQ(read, c.name) << c.info << " " << c.addresses;
  }
}

// Beyond the tool's room: each list is cut, and the report says so in a last line; a
// report that fills its text ends with its last whole line and a line saying that it
// was cut, within the text, and the tool's exit code becomes 1.
TEST(ClassicReport, TellsWhatGoesBeyondItsRoom) {
  Convert();
  IP_ADDR_STRING addresses[MAX_LISTED + 1];
  for (int i = 0; i <= MAX_LISTED; ++i)
    addresses[i] = Entry("10.0.0.1", "", i < MAX_LISTED ? &addresses[i + 1] : nullptr);
  for (IP_ADDR_STRING* list :
       {&host.DnsServerList, &adapters[1].IpAddressList, &adapters[1].GatewayList}) {
    Answer();
    *list = addresses[0];
    ConvertConfig(host, adapters, connections, config);
    report = {};
    WriteShortReport(report, config.adapters, 0, config.listsCut);
    EXPECT_STREQ(report.text,
                 "\r\nWindows IP Configuration\r\n\r\n"
                 "ipconfig: the system lists more addresses than shown here.\r\n");
  }
  EXPECT_EQ(config.adapters[1].gatewayCount, MAX_LISTED);
  const std::string cutLine =
      "ipconfig: the report is cut here: it is longer than this tool holds.\r\n";
  for (const std::size_t spare : {0, 1, 2, 3}) {
    report = {};
    const std::string line(sizeof report.text - cutLine.size() - 3 - spare, 'x');
    Line(report, line.c_str());
    EXPECT_EQ(EndReport(report, 0), 0);
    Append(report, std::string(spare + 1, 'y').c_str());
    Line(report, "z");
    EXPECT_EQ(EndReport(report, 0), 1);
    EXPECT_EQ(std::string(report.text, report.length), line + "\r\n" + cutLine);
    EXPECT_EQ(report.text[report.length], '\0');
  }
}

// A lease time in the local time of its own date, whatever today's: leases of winter
// and summer where the clocks change, north and south (the zone that TZ names). Lease
// times and error texts never hold a character that the ANSI code page lacks: the user's
// form where it holds all, else the system locale's, else digits. The scripts run it in
// Japanese, and with a Russian system (1251) for a Japanese user.
TEST(SystemText, LeaseTimesAndErrorsInTheAnsiCodePage) {
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
  // In Japanese the user's form holds; a Russian user on a Japanese system reads the
  // system's; in 1251 neither a Japanese nor a Russian long date is whole, so digits.
  std::map<UINT, std::wstring> dates = {{932, L"2026年12月7日月曜日 2026年12月7日月曜日 "},
                                        {1251, L"2026/12/07 2026/12/07 "}};
  std::wstring written;
  for (const LCID locale : {LOCALE_USER_DEFAULT, LCID{0x419}}) {
    FormatLeaseTime(OBTAINED, locale, text, sizeof text);
    wchar_t wide[TEXT_SIZE];
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, TEXT_SIZE);
    written += std::wstring(wide, wcsrchr(wide, L' ') + 1);
  }
  EXPECT_TRUE(written == dates[GetACP()]);
  report = {};
  AppendSystemError(report, ERROR_ACCESS_DENIED);
  // In the user's language where the code page holds it, else in the system's: hiragana
  // in Japanese, Cyrillic in Russian.
  wchar_t error[TEXT_SIZE];
  MultiByteToWideChar(CP_ACP, 0, report.text, -1, error, TEXT_SIZE);
  const std::wstring message = error;
  const wchar_t first = GetACP() == 932 ? L'\x3041' : L'\x0410';
  const auto inLanguage = [&](wchar_t c) { return c >= first && c < first + 0x60; };
  EXPECT_TRUE(message.find('?') == std::wstring::npos &&
              std::any_of(message.begin(), message.end(), inLanguage))
      << report.text;
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
  DWORD mode = 0;
  const DWORD flags = GetConsoleMode(output, &mode) ? 0 : DETACHED_PROCESS;
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

// The tool's output, as the program reads it, in a file rather than a pipe, and its exit
// code: one run.
std::pair<std::string, DWORD> RunTool(const std::string& arguments, std::string tool = Tool()) {
  const std::string path = TempFile("output.txt");
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                  CREATE_ALWAYS, 0, nullptr);
  if (!arguments.empty()) tool += " " + arguments;
  const DWORD exitCode = ExitCode(tool, file);
  CloseHandle(file);
  const std::string output = ReadFileText(path);
  EXPECT_EQ(output.find('\n'), output.find("\r\n") + 1) << "CR LF";
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
  // A file that "?dapter" would match, were the names expanded as file names.
  const std::string file = "Adapter";
  CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::pair<std::string, std::string> refused[] = {
      {"/flushdns", "ipconfig: unknown option: /flushdns\r\n" + usage},
      {"/all eth0", "ipconfig: /all takes no adapter name: eth0\r\n" + usage},
      {"/renew ?dapter", "ipconfig: no adapter is named \"?dapter\".\r\n"}};
  for (const auto& [arguments, answer] : refused)
    EXPECT_EQ(RunTool(arguments), std::make_pair(answer, 1ul));
  DeleteFileA(file.c_str());
}

// In a console whose code page is neither of the system's (a Western console's, 437, while
// the tool writes in 932 or 1251), the tool's text shows in its own characters, however
// long.
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
  ASSERT_TRUE(SetConsoleScreenBufferSize(screen, {100, 100}));
  const std::wstring letter = GetACP() == 932 ? L"ア" : L"Ж";
  char name[8] = {};
  WideCharToMultiByte(CP_ACP, 0, letter.c_str(), -1, name, sizeof name, nullptr, nullptr);
  EXPECT_EQ(ExitCode(Tool() + " /renew " + name, screen), 1ul);
  std::wstring expected = L"ipconfig: no adapter is named \"" + letter + L"\".";
  expected.resize(100, L' ');
  report = {};
  for (int i = 0; i < 9000; ++i) Append(report, name);
  WriteReport(screen, report);
  expected.resize(9100, letter[0]);
  std::wstring shown(expected.size(), L'\0');
  DWORD read = 0;
  ReadConsoleOutputCharacterW(screen, &shown[0], shown.size(), {0, 0}, &read);
  EXPECT_TRUE(shown == expected);
  CloseHandle(screen);
  FreeConsole();
  for (int i = 0; i < 3; ++i) SetStdHandle(kinds[i], standard[i]);
}

// A DLL named as IP Helper beside the tool, which Wine is told to prefer to its own as
// Windows would (a program's folder comes first), is never loaded: the tool answers
// itself. The planted one has none of IP Helper's functions: loaded, it would make the
// tool hand over to the system's ipconfig.
TEST(ClassicIpconfig, LoadsNoDllFromItsOwnFolder) {
  ASSERT_NE(EnvOr("WINEDLLOVERRIDES", "").find("iphlpapi=n,b"), std::string::npos)
      << "run through scripts/, which tell Wine to look for IP Helper in the tool's folder";
  const std::string folder = TempFile("planted");
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(Tool().c_str(), (folder + "\\ipconfig.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(EnvOr("IPCONFIG_PLANTED_DLL", "planted.dll").c_str(),
                        (folder + "\\iphlpapi.dll").c_str(), FALSE));
  const auto [report, exitCode] = RunTool("/all", "\"" + folder + "\\ipconfig.exe\"");
  const std::string own =
      "\r\nWindows IP Configuration\r\n\r\n        Host Name. . . . . . . . . . . . . :";
  EXPECT_EQ(std::make_pair(report.substr(0, own.size()), exitCode), std::make_pair(own, 0ul));
}

// With no IP Helper, as on Windows NT 4.0, the system folder's ipconfig answers in the
// tool's place: the stand-in put there, run by its full path with the tool's arguments
// (started by a quoted path or not), its output and exit code passed on. Never the tool
// itself, and where it cannot be run, the tool says why.
TEST(WithoutIpHelper, TheSystemsOwnIpconfigAnswers) {
  ASSERT_EQ(LoadLibraryA("iphlpapi.dll"), nullptr) << "run with WINEDLLOVERRIDES=iphlpapi=d";
  char folders[2][MAX_PATH];
  GetSystemDirectoryA(folders[0], MAX_PATH);
  GetSystemWow64DirectoryA(folders[1], MAX_PATH);
  const std::string system = folders[0] + std::string("\\ipconfig.exe");
  const std::string lacks =
      "ipconfig: this system lacks IP Helper functions that this tool "
      "needs, and " +
      system;
  // Started by a short name, the longest command line of the tool is too long to hand over.
  CopyFileA(Tool().c_str(), "t.exe", FALSE);
  const struct {
    std::string placed, tool, arguments, output;
    DWORD exitCode;
  } cases[] = {{"ipconfig.exe", "\"" + Tool() + "\"", "-renew Local?Area x",
                "\"" + system + "\" -renew Local?Area x\r\n", 7},
               {Tool(), Tool(), "/all", lacks + " is this tool itself.\r\n", 1},
               {"Z:" SOURCE_DIR "/README.md", Tool(), "/all",
                lacks + " did not start (error 193): ...\r\n", 1},
               {"ipconfig.exe", "t.exe", std::string(32760, 'a'),
                "ipconfig: the command line is too long to hand to the system's ipconfig.\r\n", 1}};
  SetEnv("IPCONFIG_STANDIN_EXIT", "7");
  for (const auto& c : cases) {
    // The 32-bit tool finds it in syswow64, which a prefix without a 32-bit side lacks.
    for (const char* folder : folders)
      CopyFileA(c.placed.c_str(), (folder + std::string("\\ipconfig.exe")).c_str(), FALSE);
    auto [output, exitCode] = RunTool(c.arguments, c.tool);
    output = std::regex_replace(output, std::regex("(\\(error \\d+\\)): [^\r]+"), "$1: ...");
    EXPECT_EQ(std::make_pair(output, exitCode), std::make_pair(c.output, c.exitCode));
  }
  SetEnv("IPCONFIG_STANDIN_EXIT", "");
}

}  // namespace
