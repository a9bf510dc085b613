// The classic ipconfig: answers made by hand in the system's structures, converted; its
// texts in each zone and locale the scripts run; its name patterns; the tool as it ships
// (IPCONFIG_TOOL, else the one built here) in the test network. Stored texts: tests/pinned/.
#include "ipconfig/lease_change.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "ipconfig/report_output.h"
#include "ipconfig/system_message.h"
#include "ipconfig/wildcard.h"
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
IP_ADAPTER_INFO adapters[7];
IP_ADAPTER_ADDRESSES connections[6];

// In the system's order: Wi-Fi (link down), Ethernet (DHCP, a gateway), loopback (no
// connection name), PPP (static, no gateway), a tunnel (empty connection name), mobile
// broadband (a gateway), WiMAX. By index: PPP, mobile broadband, Ethernet.
void Answer() {
  const UINT types[] = {IF_TYPE_IEEE80211,
                        IF_TYPE_ETHERNET_CSMACD,
                        IF_TYPE_SOFTWARE_LOOPBACK,
                        IF_TYPE_PPP,
                        IF_TYPE_TUNNEL,
                        243,
                        237};  // mobile broadband: GSM, WiMAX
  const DWORD indexes[] = {11, 12, 13, 9, 15, 10, 16};
  static const char* names[] = {"{A}", "{B}", "{C}", "{D}", "{E}", "{F}", "{G}"};
  static const wchar_t* connectionNames[] = {
      L"Wi-Fi* 1", L"ローカル エリア接続", L"Dial-up", L"", L"Mobile", L"Wi-Fi* 11"};
  host.DnsServerList = Entry("10.0.0.53", "", &lists[0]);
  host.NodeType = HYBRID_NODETYPE;
  IP_ADAPTER_ADDRESSES* connection = connections;
  for (int i = 0; i < 7; ++i) {
    IP_ADAPTER_INFO& a = adapters[i];
    a = {};
    a.Next = i < 6 ? &adapters[i + 1] : nullptr;
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
    connection->Next = connection < &connections[5] ? connection + 1 : nullptr;
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

// The interfaces: {B}'s in other letter case under another index (enabled again since),
// {F}'s, and two under {B}'s and the tunnel's indexes that may never be asked. The
// functions made by hand answer what the test sets in answer.
const IP_ADAPTER_INDEX_MAP interfaces[] = {{99, L"\\DEVICE\\TCPIP_{b}"},
                                           {12, L"\\DEVICE\\TCPIP_{Q}"},
                                           {15, L"X"},
                                           {31, L"\\DEVICE\\TCPIP_{F}"}};
std::map<std::string, DWORD> answer;

DWORD Reply(const IP_ADAPTER_INDEX_MAP* entry, DWORD fromB, DWORD fromF) {
  const ULONG index = entry->Index;
  if (index != 99 && index != 31) ADD_FAILURE() << "asked interface " << index << ", no adapter's";
  return index == 99 ? fromB : fromF;
}

PlatformConfig config;
ReportText report;
int linkReadings;

// The connection name that Windows 2000 keeps in its registry for {B}.
void KeepConnectionName(const std::string& name) {
  RegSetKeyValueA(HKEY_LOCAL_MACHINE,
                  "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-"
                  "08002BE10318}\\{B}\\Connection",
                  "Name", REG_SZ, name.c_str(), name.size() + 1);
}

void Convert() {
  ASSERT_TRUE(LoadPlatformFunctions());
  answer = {};
  platform.getInterfaceInfo = [](IP_INTERFACE_INFO* list, ULONG*) {
    list->NumAdapters = std::size(interfaces);
    std::copy(std::begin(interfaces), std::end(interfaces), list->Adapter);
    return answer["interfaces"];
  };
  platform.ipRenewAddress = [](auto* entry) { return Reply(entry, NO_ERROR, 740); };
  platform.ipReleaseAddress = [](auto* e) { return Reply(e, ERROR_ACCESS_DENIED, 50); };
  platform.getIfEntry = [](MIB_IFROW* row) {
    ++linkReadings;
    row->dwOperStatus = answer["link"];
    return DWORD{NO_ERROR};
  };
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
  const auto change = [&](const std::string& command) {  // "renew" or "release", a pattern
    const std::size_t blank = command.find(' ');
    const char* pattern = blank == std::string::npos ? nullptr : &command[blank + 1];
    report.length = 0;
    const int exitCode = ChangeLeases(config, command[2] == 'n', pattern, report);
    said += "-- " + command + ": exit " + std::to_string(exitCode) + "\r\n" + report.text;
  };
  for (const char* command : {"renew", "release", "renew *", "renew Dial-up", "release Wi-Fi*?1",
                              "release No?such", "renew \x83\x8d*"})  // ロ*
    change(command);
  for (const DWORD listed : {ERROR_NO_DATA, ERROR_INSUFFICIENT_BUFFER, ERROR_NOT_SUPPORTED}) {
    answer["interfaces"] = listed;
    change("renew");
  }
  ExpectPinned(said);
}

// Node types by name; on XP every link state but up is down; on Windows 2000, which has
// no GetAdaptersAddresses, the link is read once, and the name is the one its registry
// keeps unless empty.
TEST(ConvertConfig, NodeTypesLinkStatesAndNamesOnEachWindows) {
  Convert();
  std::string said;
  for (const UINT type : {BROADCAST_NODETYPE, PEER_TO_PEER_NODETYPE, MIXED_NODETYPE, 0}) {
    host.NodeType = type;
    ConvertConfig(host, nullptr, nullptr, config);
    said += "node type " + std::to_string(type) + ": " + config.host.nodeType + "\r\n";
  }
  for (const auto state :
       {IfOperStatusDown, IfOperStatusTesting, IfOperStatusUnknown, IfOperStatusDormant,
        IfOperStatusNotPresent, IfOperStatusLowerLayerDown}) {
    connections[0].OperStatus = state;
    ConvertConfig(host, adapters, connections, config);
    said += "XP link " + std::to_string(state) + ": " + config.adapters[5].name + "\r\n";
  }
  adapters[1].Next = nullptr;
  for (DWORD state = MIB_IF_OPER_STATUS_NON_OPERATIONAL; state <= MIB_IF_OPER_STATUS_OPERATIONAL;
       ++state) {
    answer["link"] = state;
    linkReadings = 0;
    KeepConnectionName(state % 2 ? "Local Area Connection" : "");
    ConvertConfig(host, &adapters[1], nullptr, config);
    said += "2000 link " + std::to_string(state) + ": " + config.adapters[0].name +
            (config.adapters[0].connected ? " up" : " down") + ", read " +
            std::to_string(linkReadings) + "\r\n";
  }
  ExpectPinned(said);
}

// No adapters at all, no connection names (the registry's then), more than the tool's
// buffers hold, a failure.
TEST(ReadPlatformConfig, TakesEachAnswerOfTheSystem) {
  Convert();
  KeepConnectionName("Local Area Connection");
  platform.getNetworkParams = [](FIXED_INFO* info, ULONG*) {
    *info = host;
    return answer["host"];
  };
  platform.getAdaptersInfo = [](IP_ADAPTER_INFO* info, ULONG*) {
    *info = adapters[1];
    info->Next = nullptr;
    return answer["adapters"];
  };
  platform.getAdaptersAddresses = [](ULONG, ULONG, void*, IP_ADAPTER_ADDRESSES* list, ULONG*) {
    *list = connections[1];
    list->Next = nullptr;
    return answer["names"];
  };
  std::string said;
  for (const char* function : {"", "names", "adapters", "host"})
    for (const DWORD error : {ERROR_NOT_SUPPORTED, ERROR_NO_DATA, ERROR_BUFFER_OVERFLOW}) {
      answer = {{function, error}};
      report = {};
      config.adapterCount = 0;
      said += function + (" " + std::to_string(error)) + ": ";
      if (ReadPlatformConfig(config, report)) said += std::to_string(config.adapterCount) + " ";
      said += (config.adapterCount > 0 ? config.adapters[0].name : "") + std::string(report.text);
      said += "\r\n";
    }
  ExpectPinned(said);
}

// Beyond the tool's room: each list cut, with a last line that says so; a full text ends
// with its last whole line and a line saying it was cut, and the exit code becomes 1.
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
  for (const std::size_t spare : {0, 1, 2, 3}) {  // bytes left beyond the 10 the "y"s fit in
    report = {};
    const std::string line(sizeof report.text - cutLine.size() - 13 - spare, 'x');
    Line(report, line.c_str());
    EXPECT_EQ(EndReport(report, 0), 0);
    Append(report, "yyyy");
    Line(report, std::string(20, 'z').c_str());
    EXPECT_EQ(EndReport(report, 0), 1);
    EXPECT_EQ(std::string(report.text, report.length + 1), line + "\r\n" + cutLine + '\0');
  }
}

// A Japanese connection name, else the adapter's own; lease times in the local time of
// their own date (winter and summer, north and south: the zone that TZ names), past 2038
// in 4 bytes; long dates and error texts whole in the ANSI code page: the user's form or
// language, else the system's, else digits. Stored for each run: Japanese in Tokyo and
// Berlin, a Russian system for a Japanese user in Sydney.
TEST(SystemText, LeaseTimesAndErrorsInTheAnsiCodePage) {
  Convert();
  const std::pair<unsigned long long, LCID> times[] = {
      {1768435200, LOCALE_INVARIANT},  // 15 January
      {1784073600, LOCALE_INVARIANT},  // 15 July
      {LeaseSeconds(std::int32_t{INT32_MIN}), LOCALE_INVARIANT},
      {OBTAINED, LOCALE_USER_DEFAULT},
      {OBTAINED, 0x419}};  // Russian
  std::string said = config.adapters[1].name + std::string("\r\n");
  for (const auto& [when, locale] : times) {
    char text[TEXT_SIZE];
    FormatLeaseTime(when, locale, text, sizeof text);
    said += text + std::string("\r\n");
  }
  report = {};
  AppendSystemError(report, ERROR_ACCESS_DENIED);
  const std::string zone = EnvOr("TZ", "");
  ExpectPinned(said + report.text, "." + zone.substr(zone.find('/') + 1));
}

std::string Tool() { return EnvOr("IPCONFIG_TOOL", "ipconfig\\ipconfig.exe"); }

// One run of the tool, its output on output or else a file: what the file got, and the
// exit code.
std::pair<std::string, DWORD> RunTool(const std::string& arguments, std::string tool = Tool(),
                                      HANDLE output = nullptr, DWORD flags = DETACHED_PROCESS) {
  const std::string path = TempFile("output.txt");
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output ? output
                              : CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                            &inheritable, CREATE_ALWAYS, 0, nullptr);
  PROCESS_INFORMATION child = {};
  DWORD exitCode = STILL_ACTIVE;
  std::string commandLine = tool + (arguments.empty() ? "" : " " + arguments);
  EXPECT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, flags, nullptr,
                             nullptr, &startup, &child))
      << commandLine << " did not start: error " << GetLastError();
  WaitUntil(commandLine.substr(0, 80), nullptr, [&] { return Ended(child.hProcess); });
  GetExitCodeProcess(child.hProcess, &exitCode);
  for (HANDLE handle : {child.hProcess, child.hThread, output ? nullptr : startup.hStdOutput})
    CloseHandle(handle);
  return {ReadFileText(path), exitCode};
}

// Each option in the test network: the adapters in use first; a name of several words;
// a file "Adapter" that "?dapter" would match were names expanded as file names. Last,
// /all beside a planted DLL named as IP Helper, which Wine prefers as Windows would:
// loaded, it would make the tool hand over to the system's ipconfig.
TEST(ClassicIpconfig, AnswersEachOptionWhole) {
  ASSERT_NE(EnvOr("WINEDLLOVERRIDES", "").find("iphlpapi=n,b"), std::string::npos)
      << "run through scripts/, which tell Wine to look for IP Helper in the tool's folder";
  const std::string folder = TempFile("planted");
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(Tool().c_str(), (folder + "\\ipconfig.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(EnvOr("IPCONFIG_PLANTED_DLL", "planted.dll").c_str(),
                        (folder + "\\iphlpapi.dll").c_str(), FALSE));
  CloseHandle(CreateFileA("Adapter", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  std::string said;
  const auto run = [&](const char* arguments, const std::string& tool) {
    const auto [output, exitCode] = RunTool(arguments, tool);
    said += "> " + std::string(arguments) + "\r\n" + output + "-- exit " +
            std::to_string(exitCode) + "\r\n";
  };
  for (const char* arguments : {"/all", "", "/renew", "-RELEASE cable-peer", "/release virtual?",
                                "/?", "/flushdns", "-All eth0", "/renew No Such ?dapter"})
    run(arguments, Tool());
  said += "beside a planted iphlpapi.dll:\r\n";
  run("/all", '"' + folder + "\\ipconfig.exe\"");
  DeleteFileA("Adapter");
  ExpectPinned(said);
}

// In a console of code page 437 (the tool writes in 932 or 1251), its text shows in its
// own characters, however long.
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
  EXPECT_EQ(RunTool("/renew " + std::string(name), Tool(), screen, 0).second, 1ul);
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

// Without IP Helper the system's ipconfig answers: the stand-in (ending with 7, saying
// whether it has a console: the tool's, where the tool has one), by its full path, with
// the tool's arguments, the tool started by a quoted path with an argument right after
// it, or by a plain one. Never the tool itself; where it cannot start, or the command
// line is too long to hand over, the tool says why.
TEST(WithoutIpHelper, TheSystemsOwnIpconfigAnswers) {
  ASSERT_EQ(LoadLibraryA("iphlpapi.dll"), nullptr) << "run with WINEDLLOVERRIDES=iphlpapi=d";
  char folders[2][MAX_PATH];
  GetSystemDirectoryA(folders[0], MAX_PATH);
  GetSystemWow64DirectoryA(folders[1], MAX_PATH);
  CopyFileA(Tool().c_str(), "t.exe", FALSE);
  const std::tuple<std::string, std::string, std::string, DWORD> cases[] = {
      {"ipconfig.exe", "\"" + Tool() + "\"-renew", "Local?Area x", CREATE_NEW_CONSOLE},
      {Tool(), Tool(), "/all", DETACHED_PROCESS},
      {"Z:" SOURCE_DIR "/README.md", Tool(), "/all", DETACHED_PROCESS},
      {"ipconfig.exe", "t.exe", std::string(32760, 'a'), DETACHED_PROCESS}};
  SetEnv("IPCONFIG_STANDIN_EXIT", "7");
  std::string said;
  for (const auto& [placed, tool, arguments, flags] : cases) {
    // The 32-bit tool finds it in syswow64, which a prefix without a 32-bit side lacks.
    for (const char* folder : folders)
      CopyFileA(placed.c_str(), (folder + std::string("\\ipconfig.exe")).c_str(), FALSE);
    const auto [output, exitCode] = RunTool(arguments, tool, nullptr, flags);
    said += output.substr(0, 200) + "-- exit " + std::to_string(exitCode) + "\r\n";
  }
  SetEnv("IPCONFIG_STANDIN_EXIT", "");
  ExpectPinned(said);
}

// UTF-8 text in the ANSI code page; false where the page lacks a character.
bool Ansi(const std::string& text, std::string& ansi) {
  wchar_t wide[256];
  char bytes[512];
  BOOL lacking = FALSE;
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide, 256);
  WideCharToMultiByte(CP_ACP, 0, wide, -1, bytes, sizeof bytes, nullptr, &lacking);
  ansi = bytes;
  return !lacking;
}

// Name patterns of /renew and /release in the system's code page: the cases of
// wildcard_cases.txt, and characters beyond 16 bits, which no code page of the tests holds.
TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneCharacterLettersFolded) {
  std::istringstream cases(ReadFileText(SOURCE_DIR "/tests/ipconfig/wildcard_cases.txt"));
  for (std::string line; std::getline(cases, line);) {
    std::string fields[3];
    std::istringstream columns(line);
    for (std::string& field : fields) std::getline(columns, field, '\t');
    std::string pattern;
    std::string name;
    if (line[0] == '#' || !Ansi(fields[0], pattern) || !Ansi(fields[1], name)) continue;
    EXPECT_EQ(MatchesWildcard(pattern.c_str(), name.c_str()), fields[2] == "yes") << line;
  }
  EXPECT_TRUE(MatchesCharacters(L"?", L"𠀋"));  // D840 DC0B: one character
  EXPECT_FALSE(MatchesCharacters(L"??", L"𠀋"));
  EXPECT_FALSE(MatchesCharacters(L"*\xDC0B", L"x𠀋"));
  // Nothing is read past a pattern's end: here the next page has no access.
  auto* pages = static_cast<wchar_t*>(VirtualAlloc(nullptr, 8192, MEM_COMMIT, PAGE_READWRITE));
  DWORD access = 0;
  VirtualProtect(pages + 2048, 4096, PAGE_NOACCESS, &access);
  lstrcpyW(pages + 2046, L"a");
  EXPECT_FALSE(MatchesCharacters(pages + 2046, L"ab"));
  VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace
