// The real program (the build that IPSETTINGS_PROGRAM names, such as the release program,
// or else the one beside this test), started as a user starts it beside the stand-in and
// used through its windows from this process; a message sent to it returns once the
// command it asks for has run. Closed once idle with the console shown, and once while
// two commands run, one inside the other's wait.
#include <cstdlib>
#include <cstring>

#include "console/console_window.h"
#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

using ProgramRun = StandinTest;

HWND main, console;

// The program's dialog owned by owner (none for the main window), once it exists.
HWND FindDialog(HWND owner) {
  for (;; Sleep(10))
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr));)
      if (GetWindow(window, GW_OWNER) == owner && GetDlgItem(window, IDC_CONSOLE_OUTPUT))
        return window;
}

// Another process's list items come back as UTF-16 under Wine, whatever was asked.
Texts ListItems() {
  Texts items;
  const HWND list = GetDlgItem(main, IDC_ADAPTER_LIST);
  for (wchar_t item[512]; SendMessageW(list, CB_GETLBTEXT, items.size(), (LPARAM)item) >= 0;) {
    char text[1024];
    WideCharToMultiByte(CP_ACP, 0, item, -1, text, sizeof text, nullptr, nullptr);
    items.push_back(text);
  }
  return items;
}

void Select(int item) {
  SendDlgItemMessageA(main, IDC_ADAPTER_LIST, CB_SETCURSEL, item, 0);
  Press(IDC_ADAPTER_LIST, main);
}

// True while a command that the program started still runs. (Under Wine, the 32-bit
// program also starts a desktop process in its job, which stays.)
bool CommandsRunIn(HANDLE job) {
  struct {
    JOBOBJECT_BASIC_PROCESS_ID_LIST list;
    ULONG_PTR more[63];
  } ids = {};
  ids.list.NumberOfAssignedProcesses = 64;
  EXPECT_TRUE(
      QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof ids, nullptr));
  bool running = false;
  for (ULONG i = 0; i < ids.list.NumberOfProcessIdsInList; ++i) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                       static_cast<DWORD>(ids.list.ProcessIdList[i]));
    char name[MAX_PATH];
    DWORD size = sizeof name;
    running |= process && QueryFullProcessImageNameA(process, 0, name, &size) &&
               std::strstr(name, "ipconfig");
    CloseHandle(process);
  }
  return running;
}

SIZE Size(HWND window, bool client = false) {
  RECT r;
  client ? GetClientRect(window, &r) : GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

bool operator==(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

// The buttons for one adapter run nothing with no adapter selected, or one whose header
// gives no name (a bare "ipconfig /renew " would act on every adapter); a name goes as
// one word. A refresh keeps the selection while it names an adapter.
void UseTheMainWindow(const std::function<void(const char*)>& show) {
  EXPECT_TRUE(ListItems().empty());
  EXPECT_EQ(Fields(IDC_FIRST_ADAPTER_VALUE, 9, main),
            Texts({"146", "148", "150", "152", "154", "156", "158", "160", "162"}));
  for (HWND window : {main, console})
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  const auto press = [&](int button, const char* report) { show(report), Press(button, main); };
  Press(IDC_RENEW, main);
  press(IDC_RENEW_ALL, "xp_ppp.txt");
  EXPECT_EQ(Fields(IDC_FIRST_HOST_VALUE, 7, main),
            Texts({"LAPTOP01", "198.51.100.53", "Unknown", "", "No", "No", ""}));
  EXPECT_EQ(ListItems(), Texts({"Broadcom NetXtreme 57xx Gigabit Controller",
                                "VirtualBox Host-Only Ethernet Adapter"}));
  EXPECT_EQ(Fields(IDC_FIRST_ADAPTER_VALUE, 9, main),
            Texts({"00-14-22-DE-AD-01", "192.168.0.23", "255.255.255.0", "192.168.0.1",
                   "192.168.0.1", "", "", "2008/06/01 9:00:00", "2008/06/02 9:00:00"}));
  Select(1);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2, main), "192.168.56.1");
  press(IDC_RELEASE, "five_ethernet.txt");
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2, main), "10.0.2.7");
  Select(2);
  press(IDC_RENEW, "win2000.txt");  // two adapters: item 2 is gone, the first is shown
  EXPECT_EQ(SendDlgItemMessageA(main, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2, main), "10.20.30.40");
  press(IDC_RELEASE_ALL, "empty_name.txt");
  Press(IDC_RELEASE, main);
  press(IDC_RENEW_ALL, "shift_jis.txt");
  Press(IDC_RENEW, main);
}

// Connection names in Shift_JIS: as typed in the console, and as the report names one.
const std::string sjisName = "\x83\x8d\x81\x5b\x83\x4a\x83\x8b \x90\xda\x91\xb1",
                  sjisAdapter =
                      "\x83\x8d\x81\x5b\x83\x4a\x83\x8b?\x83\x47\x83\x8a\x83\x41\x90\xda\x91\xb1";

// Each console item with the box it finds, and the command line it runs.
const struct {
  int item;
  std::string box, commandLine;
} consoleCases[] = {
    {IDM_SHOW, "earlier\r\ntext", "ipconfig"},
    {IDM_RENEW_ALL, "", "ipconfig /renew"},
    {IDM_RELEASE_ALL, "", "ipconfig /release"},
    {IDM_HELP, "", "ipconfig /?"},
    {IDM_RENEW_FIRST_LINE, "\r\nan empty first line", "ipconfig /renew "},
    {IDM_RELEASE_FIRST_LINE, sjisName + "\r\nrest", "ipconfig /release " + sjisName},
    {IDM_RUN_FIRST_LINE, "/renew eth0\x11\x1f\tcomment", "ipconfig /renew eth0\x11\x1f"},
    {IDM_RUN_FIRST_LINE, "/release eth0\x10rest", "ipconfig /release eth0"},
    // The platform takes 32,767 characters with the NUL: the longest line runs.
    {IDM_RENEW_FIRST_LINE, std::string(40000, 'a') + "\r\n2",
     "ipconfig /renew " + std::string(32750, 'a')},
    {IDM_RELEASE_FIRST_LINE, std::string(40000, 'a'),
     "ipconfig /release " + std::string(32748, 'a')},
    {IDM_RUN_FIRST_LINE, std::string(40000, 'a'), "ipconfig " + std::string(32757, 'a')}};

// Each item runs its command, and the whole output replaces the box (the stand-in
// prints its own command line for each command but the report).
void UseTheConsole() {
  for (const auto& c : consoleCases) {
    SetDlgItemTextA(console, IDC_CONSOLE_OUTPUT, c.box.c_str());
    Press(c.item, console);
    EXPECT_EQ(Text(IDC_CONSOLE_OUTPUT, console),
              (c.commandLine + "\r\n").substr(0, TEXT_AREA_SIZE - 1));
  }
  Press(IDM_SHOW_ALL, console);
  EXPECT_EQ(Text(IDC_CONSOLE_OUTPUT, console), ReadFileText(Fixture("shift_jis.txt")));
  Press(IDM_CLEAR, console);
  EXPECT_EQ(Text(IDC_CONSOLE_OUTPUT, console), "");
}

// Its box fills it whatever its size, the whole window took its client size from the
// template, and closing it only hides it, with its text and rectangle.
void SizeAndHideTheConsole() {
  const HWND fresh =
      CreateDialogParamA(GetModuleHandleA(nullptr), "DIALOG2", nullptr, ConsoleDialogProc, 0);
  EXPECT_TRUE(Size(console) == Size(fresh, true));
  DestroyWindow(fresh);
  const HWND box = GetDlgItem(console, IDC_CONSOLE_OUTPUT);
  for (const SIZE size : {SIZE{520, 410}, SIZE{300, 200}}) {
    SetWindowPos(console, nullptr, 40, 50, size.cx, size.cy, SWP_NOZORDER);
    EXPECT_TRUE(Size(box) == Size(console, true));
  }
  SetDlgItemTextA(console, IDC_CONSOLE_OUTPUT, "kept\r\ntext");
  SendMessageA(console, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(console));
  Press(IDC_SHOW_CONSOLE, main);
  EXPECT_TRUE(IsWindowVisible(console) && Size(console) == SIZE({300, 200}));
  EXPECT_EQ(Text(IDC_CONSOLE_OUTPUT, console), "kept\r\ntext");
  SendMessageA(console, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(Size(box).cx, 0);
}

TEST_F(ProgramRun, ShowsWhatEachReportSaysRunsWhatItsWindowsAskAndEndsWithZero) {
  const std::string report = TempFile("report.txt"), hold = Hold();
  SetEnv("IPCONFIG_STANDIN_REPORT", report);  // what it holds when each report runs
  const auto show = [&](const char* fixture) {
    CopyFileA(Fixture(fixture).c_str(), report.c_str(), FALSE);
  };
  for (const bool busy : {false, true}) {
    show(busy ? "xp_ppp.txt" : "lf_only.txt");
    DeleteFileA(hold.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION program = {};
    const std::size_t before = Commands().size();
    std::string commandLine = std::getenv("IPSETTINGS_PROGRAM") ?: "ipsettings.exe";
    const HANDLE job = CreateJobObjectA(nullptr, nullptr);  // it and every command it starts
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               nullptr, nullptr, &startup, &program));
    ASSERT_TRUE(AssignProcessToJobObject(job, program.hProcess));
    ResumeThread(program.hThread);
    while (Commands().size() == before) Sleep(10);  // its first report runs, held
    main = FindDialog(nullptr), console = FindDialog(main);
    EXPECT_FALSE(IsWindowVisible(main));
    Release(hold);
    while (!IsWindowVisible(main)) Sleep(10);
    if (!busy) {
      UseTheMainWindow(show);
      Press(IDC_SHOW_CONSOLE, main);
      UseTheConsole();
      SizeAndHideTheConsole();
    } else {  // two commands, the second inside the first's wait, both held until the end
      EXPECT_EQ(Text(IDC_FIRST_HOST_VALUE, main), "LAPTOP01");
      DeleteFileA(hold.c_str());
      for (const int button : {IDC_RENEW_ALL, IDC_RELEASE_ALL}) {
        const std::size_t commands = Commands().size();
        PostMessageA(GetDlgItem(main, button), BM_CLICK, 0, 0);
        while (Commands().size() == commands) Sleep(10);
      }
      EXPECT_GT(SendMessageA(main, WM_GETTEXTLENGTH, 0, 0), 0);  // answered while both wait
    }
    SendMessageA(main, WM_CLOSE, 0, 0);  // as another program would close it
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(program.hProcess, INFINITE);
    GetExitCodeProcess(program.hProcess, &code);
    EXPECT_EQ(code, 0u) << (busy ? "closed during a command" : "closed with the console shown");
    Release(hold);  // so that any command started at the close has logged itself and ended
    while (CommandsRunIn(job)) Sleep(10);
    for (HANDLE handle : {program.hProcess, program.hThread, job}) CloseHandle(handle);
  }
  const std::string all = "ipconfig /all";
  Texts expected = {
      all, "ipconfig /renew",       all, "ipconfig /release VirtualBox?Host-Only?Network",
      all, "ipconfig /renew NIC?3", all, "ipconfig /release",
      all, "ipconfig /renew",       all, "ipconfig /renew " + sjisAdapter,
      all};
  for (const auto& c : consoleCases) expected.push_back(c.commandLine);  // refreshing nothing
  expected.insert(expected.end(), {all, all, "ipconfig /renew", "ipconfig /release"});
  EXPECT_EQ(Commands(), expected);  // and none after either close
}

}  // namespace
