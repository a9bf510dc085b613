// The classic ipconfig: answers made by hand in the system's structures, its texts, its
// name patterns, and the tool as it ships (IPCONFIG_TOOL) in the test network.
#include "ipconfig/lease_change.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ipconfig/report_output.h"
#include "ipconfig/system_message.h"
#include "ipconfig/wildcard.h"
#include "tests/win/test_support.h"

namespace {

IP_ADDR_STRING Entry(const char* address, const char* mask = "") {
  IP_ADDR_STRING entry = {nullptr, {}, {}, 0};
  lstrcpyA(entry.IpAddress.String, address);
  lstrcpyA(entry.IpMask.String, mask);
  return entry;
}

constexpr time_t OBTAINED = 1796601600;  // 2026-12-07 0:00 UTC
FIXED_INFO host = {"pc01", "example.org", nullptr, {}, HYBRID_NODETYPE, "scope", 1, 0, 1};
IP_ADAPTER_INFO adapters[7];
IP_ADAPTER_ADDRESSES connections[7];

// In the system's order: Wi-Fi (link down), Ethernet (a gateway, WINS, the default route's,
// as metrics may choose), loopback, PPP (static), a tunnel (empty connection name), mobile
// broadband (a gateway), WiMAX. By index: PPP, mobile broadband, Ethernet. Gateways 0.0.0.0
// are none.
void Answer() {
  const struct {
    UINT type;
    DWORD index;
    const wchar_t* connection;
    const char *address, *mask, *gateway;
  } answers[] = {
      {IF_TYPE_IEEE80211, 11, L"Wi-Fi* 1", "0.0.0.0", "0.0.0.0", "0.0.0.0"},
      {IF_TYPE_ETHERNET_CSMACD, 12, L"ローカル エリア接続", "192.168.1.10", "255.255.255.0",
       "192.168.1.1"},
      {IF_TYPE_SOFTWARE_LOOPBACK, 13, nullptr, "0.0.0.0", "0.0.0.0", "0.0.0.0"},
      {IF_TYPE_PPP, 9, L"Dial-up", "203.0.113.5", "255.255.255.255", "0.0.0.0"},
      {IF_TYPE_TUNNEL, 15, L"", "0.0.0.0", "0.0.0.0", "0.0.0.0"},
      {243, 10, L"Mobile", "10.7.0.9", "255.255.255.0", "10.7.0.1"},  // mobile broadband: GSM
      {237, 16, L"Wi-Fi* 11", "0.0.0.0", "0.0.0.0", "0.0.0.0"}};      // and WiMAX
  host.DnsServerList = Entry("10.0.0.53");
  for (int i = 0; i < 7; ++i) {
    IP_ADAPTER_INFO& a = adapters[i];
    a = {};
    a.Next = i < 6 ? &adapters[i + 1] : nullptr;
    wsprintfA(a.AdapterName, "{%c}", 'A' + i);
    wsprintfA(a.Description, "NIC %d", i);
    a.Type = answers[i].type;
    a.Index = answers[i].index;
    a.DhcpEnabled = a.Type != IF_TYPE_PPP;
    a.AddressLength = 6;
    for (BYTE b = 0; b < 6; ++b) a.Address[b] = 0xA0 + 16 * b + i;
    a.IpAddressList = Entry(answers[i].address, answers[i].mask);
    a.GatewayList = Entry(answers[i].gateway);
    a.DhcpServer = Entry("10.9.9.8");
    a.PrimaryWinsServer = Entry("10.9.9.9");
    a.HaveWins = i == 1;
    a.LeaseObtained = OBTAINED;
    a.LeaseExpires = OBTAINED + 27 * 3600;
    connections[i] = {};
    connections[i].Next = a.Next ? &connections[i + 1] : nullptr;
    connections[i].AdapterName = a.AdapterName;
    connections[i].FriendlyName = const_cast<wchar_t*>(answers[i].connection);
    connections[i].OperStatus = i == 0 ? IfOperStatusDown : IfOperStatusUp;
  }
}

// The interfaces: {B}'s in other letter case under another index (enabled again since),
// {F}'s, and two under {B}'s and the tunnel's indexes that may never be asked.
const IP_ADAPTER_INDEX_MAP interfaces[] = {{99, L"\\DEVICE\\TCPIP_{b}"},
                                           {12, L"\\DEVICE\\TCPIP_{Q}"},
                                           {15, L"X"},
                                           {31, L"\\DEVICE\\TCPIP_{F}"}};
DWORD Reply(const IP_ADAPTER_INDEX_MAP* entry, DWORD fromB, DWORD fromF) {
  const ULONG index = entry->Index;
  if (index != 99 && index != 31) ADD_FAILURE() << "asked interface " << index << ", no adapter's";
  return index == 99 ? fromB : fromF;
}

PlatformConfig config;
ReportText report;

void Convert() {
  ASSERT_TRUE(LoadPlatformFunctions());
  platform.getInterfaceInfo = [](IP_INTERFACE_INFO* list, ULONG*) {
    list->NumAdapters = std::size(interfaces);
    std::copy(std::begin(interfaces), std::end(interfaces), list->Adapter);
    return DWORD{NO_ERROR};
  };
  platform.ipRenewAddress = [](auto* entry) { return Reply(entry, NO_ERROR, 740); };
  platform.ipReleaseAddress = [](auto* e) { return Reply(e, ERROR_ACCESS_DENIED, 50); };
  platform.getBestInterface = [](IPAddr, DWORD* index) {
    *index = 12;  // Ethernet's, though mobile broadband's index is lower
    return DWORD{NO_ERROR};
  };
  Answer();
  ConvertConfig(host, adapters, connections, config);
  report = {};
}

// The full report, each answer in place and the adapters in use first, is the stored one
// the scanner's tests read. Then the short report, each change, no adapter information.
TEST(ChangeLeases, ActsOnTheAdapterNamedThroughItsOwnInterfaceAndSaysHowItWent) {
  Convert();
  WriteFullReport(report, config.host, config.adapters, config.adapterCount, false);
  EXPECT_EQ(report.text, ReadFileText(Fixture("classic_report.txt")));
  report.length = 0;
  WriteShortReport(report, config.adapters, config.adapterCount, false);
  std::string said = report.text;
  for (const char* command : {"renew", "release", "renew *", "renew Dial-up", "release Wi-Fi*?1",
                              "release No?such", "renew \x83\x8d*"}) {  // ロ*
    const char* blank = std::strchr(command, ' ');
    report.length = 0;
    const int exitCode =
        ChangeLeases(config, command[2] == 'n', blank ? blank + 1 : nullptr, report);
    said +=
        "-- " + std::string(command) + ": exit " + std::to_string(exitCode) + "\r\n" + report.text;
  }
  platform.getNetworkParams = [](FIXED_INFO*, ULONG*) { return DWORD{ERROR_NO_DATA}; };
  said += "-- read refused: " + std::to_string(ReadPlatformConfig(config, report)) + "\r\n";
  ExpectPinned(said);
}

// Beyond the tool's room a text ends with its last whole line and a line saying it was
// cut, written inside the buffer, and the exit code becomes 1.
TEST(ClassicReport, TellsWhatGoesBeyondItsRoom) {
  const std::string cutLine =
      "ipconfig: the report is cut here: it is longer than this tool holds.\r\n";
  for (const int spare : {-1, 0, 4, 13}) {  // room after the x's beyond what the cut line needs
    report = {};
    const std::string line(sizeof report.text - cutLine.size() - 3 - spare, 'x');
    Line(report, line.c_str());
    Append(report, "yyyy");
    Line(report, std::string(20, 'z').c_str());
    EXPECT_EQ(EndReport(report, 0), 1);
    EXPECT_EQ(std::string(report.text, report.length + 1),
              (spare < 0 ? "" : line + "\r\n") + cutLine + '\0');
  }
}

// Whole, in the ANSI code page: a Japanese connection name; lease times in their own date's
// local time (TZ's zone), past 2038 too; long dates in the user's form, else the system's,
// else digits, as in Sydney, where Wine's Russian system has none that 1251 holds; an error.
TEST(SystemText, LeaseTimesAndErrorsInTheAnsiCodePage) {
  Convert();
  const std::pair<unsigned long long, LCID> times[] = {
      {1768435200, LOCALE_INVARIANT},  // 15 January
      {1784073600, LOCALE_INVARIANT},  // 15 July
      {LeaseSeconds(std::int32_t{INT32_MIN}), LOCALE_INVARIANT},
      {OBTAINED, LOCALE_USER_DEFAULT},
      {OBTAINED, 0x419}};  // Russian
  std::string said = config.adapters[0].name + std::string("\r\n");
  for (const auto& [when, locale] : times) {
    char text[TEXT_SIZE];
    FormatLeaseTime(when, locale, text, sizeof text);
    said += text + std::string("\r\n");
  }
  AppendSystemError(report, ERROR_ACCESS_DENIED);
  const std::string zone = EnvOr("TZ", "");
  ExpectPinned(said + report.text, "." + zone.substr(zone.find('/') + 1));
}

std::string Tool() { return EnvOr("IPCONFIG_TOOL", "ipconfig\\ipconfig.exe"); }

// One run of the tool: what its file got (a file each run: a console opened for a run may
// hold the last one a while), and its exit code.
std::string RunTool(const std::string& commandLine, DWORD flags = DETACHED_PROCESS,
                    const char* application = nullptr) {
  static int runs = 0;
  const std::string path = TempFile("output" + std::to_string(++runs) + ".txt");
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                  CREATE_ALWAYS, 0, nullptr);
  const PROCESS_INFORMATION child = Start(commandLine, flags, file, application);
  CloseHandle(file);
  WaitUntil(commandLine.substr(0, 80), nullptr, [&] { return Ended(child.hProcess); });
  DWORD exitCode = STILL_ACTIVE;
  GetExitCodeProcess(child.hProcess, &exitCode);
  for (HANDLE handle : {child.hProcess, child.hThread}) CloseHandle(handle);
  return ReadFileText(path) + "-- exit " + std::to_string(exitCode) + "\r\n";
}

// Each option in the test network: the adapters in use first, a name of several words, a
// file "Adapter" that "?dapter" would match were names expanded as files. Beside the tool,
// a DLL named as IP Helper, which Wine prefers as Windows would: loaded, it hands over.
TEST(ClassicIpconfig, AnswersEachOptionWhole) {
  ASSERT_NE(EnvOr("WINEDLLOVERRIDES", "").find("iphlpapi=n,b"), std::string::npos)
      << "run through scripts/, which tell Wine to look for IP Helper in the tool's folder";
  const std::string planted = Tool().substr(0, Tool().rfind('\\') + 1) + "iphlpapi.dll";
  ASSERT_TRUE(
      CopyFileA(EnvOr("IPCONFIG_PLANTED_DLL", "planted.dll").c_str(), planted.c_str(), FALSE));
  CloseHandle(CreateFileA("Adapter", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  std::string said;
  for (const char* arguments : {"/all", "", "/renew", "-RELEASE cable-peer", "/release virtual?",
                                "/?", "-All eth0", "/renew No Such ?dapter"})
    said += "> " + std::string(arguments) + "\r\n" + RunTool(Tool() + " " + arguments);
  DeleteFileA("Adapter");
  DeleteFileA(planted.c_str());
  ExpectPinned(said);
}

// In a console of code page 437 (the tool writes in 932 or 1251), a text longer than one
// piece of writing shows in its own characters.
TEST(ClassicIpconfig, WritesToAConsoleInItsOwnCharacters) {
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  const HANDLE screen = GetStdHandle(STD_OUTPUT_HANDLE);
  SetConsoleOutputCP(437);
  ASSERT_TRUE(SetConsoleScreenBufferSize(screen, {100, 100}));
  const wchar_t letter = GetACP() == 932 ? L'ア' : L'Ж';
  const char* bytes = GetACP() == 932 ? "\x83\x41" : "\xC6";
  report = {};
  for (int i = 0; i < 9000; ++i) Append(report, bytes);
  WriteReport(screen, report);
  std::wstring shown(9000, L'\0');
  DWORD read = 0;
  ReadConsoleOutputCharacterW(screen, &shown[0], shown.size(), {0, 0}, &read);
  EXPECT_EQ(shown, std::wstring(9000, letter));
  FreeConsole();
}

// The system's ipconfig (the stand-in) answers by its full path, with the arguments as typed,
// in the tool's console, else detached: every option where Wine denies the tool IP Helper, as
// NT 4.0 lacks it, else those not the tool's, one run on to the tool's name too. Never the
// tool itself, nor one that does not start, nor a command too long.
TEST(SystemIpconfig, AnswersWhatTheToolDoesNot) {
  const std::string tool = Tool();
  CopyFileA(tool.c_str(), "t.exe", FALSE);
  const std::tuple<std::string, std::string, bool, DWORD> cases[] = {
      {"ipconfig.exe", "\"" + tool + "\"-renew Local?Area x", false, CREATE_NEW_CONSOLE},
      {"ipconfig.exe", "ipconfig/flushdns", true, DETACHED_PROCESS},
      {tool, tool + " /all", false, DETACHED_PROCESS},
      {"Z:" SOURCE_DIR "/README.md", tool + " /displaydns", true, DETACHED_PROCESS},
      {"ipconfig.exe", "t.exe /" + std::string(32740, 'a'), true, DETACHED_PROCESS}};
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\ipconfig.exe\\DllOverrides", 0,
                  nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  std::string said;
  for (const auto& [placed, commandLine, ipHelper, flags] : cases) {
    // The 32-bit tool finds it in syswow64, which a prefix without a 32-bit side lacks.
    for (const char* folder : {"C:\\windows\\system32", "C:\\windows\\syswow64"})
      CopyFileA(placed.c_str(), (folder + std::string("\\ipconfig.exe")).c_str(), FALSE);
    ipHelper ? RegDeleteValueA(key, "iphlpapi")
             : RegSetValueExA(key, "iphlpapi", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    const bool namesNoFile = commandLine.find(".exe") == std::string::npos;  // as cmd starts it
    said += RunTool(commandLine, flags, namesNoFile ? tool.c_str() : nullptr);
  }
  RegDeleteValueA(key, "iphlpapi");
  RegCloseKey(key);
  ExpectPinned(said);
}

// Name patterns in the system's code page: each case of wildcard_cases.txt that it holds.
TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneCharacterLettersFolded) {
  std::istringstream cases(ReadFileText(SOURCE_DIR "/tests/ipconfig/wildcard_cases.txt"));
  int checked = 0;
  for (std::string line; std::getline(cases, line);) {
    wchar_t wide[512];
    char ansi[1024];  // no byte of a character in 932 or 1251 is a tab
    BOOL lacking = FALSE;
    MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, wide, 512);
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, &lacking);
    if (line[0] == '#' || lacking) continue;
    std::string fields[3];
    std::istringstream columns(ansi);
    for (std::string& field : fields) std::getline(columns, field, '\t');
    EXPECT_EQ(MatchesWildcard(fields[0].c_str(), fields[1].c_str()), fields[2] == "yes") << line;
    ++checked;
  }
  // 11 cases are ASCII; code page 1251 holds 2 more of the 21, 932 all of them.
  EXPECT_GE(checked, GetACP() == 932 ? 21 : 13) << "cases checked of wildcard_cases.txt";
  // Nothing is read past a pattern's end: here the next page has no access.
  auto* page = static_cast<wchar_t*>(VirtualAlloc(nullptr, 8192, MEM_RESERVE, PAGE_NOACCESS));
  VirtualAlloc(page, 4096, MEM_COMMIT, PAGE_READWRITE);
  lstrcpyW(page + 2046, L"a");
  EXPECT_FALSE(MatchesCharacters(page + 2046, L"ab"));
  VirtualFree(page, 0, MEM_RELEASE);
}

}  // namespace
