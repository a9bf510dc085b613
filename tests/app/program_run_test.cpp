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

// The program's main window and console, as found in its process.
HWND mainDialog;
HWND consoleDialog;

// A dialog of the program's process that has control, with a menu or without: the main
// window by its adapter list, the console by its output box and its menu. Waits until it
// exists.
HWND FindDialog(DWORD process, int control, bool withMenu) {
  for (;; Sleep(10)) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr));) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == process && GetDlgItem(window, control) &&
          (GetMenu(window) != nullptr) == withMenu)
        return window;
    }
  }
}

// Another process's list items come back as UTF-16 under Wine, whatever was asked.
Texts ListItems() {
  Texts items;
  const HWND list = GetDlgItem(mainDialog, IDC_ADAPTER_LIST);
  for (wchar_t item[512];
       SendMessageW(list, CB_GETLBTEXT, items.size(), reinterpret_cast<LPARAM>(item)) >= 0;) {
    char text[1024];
    WideCharToMultiByte(CP_ACP, 0, item, -1, text, sizeof text, nullptr, nullptr);
    items.push_back(text);
  }
  return items;
}

void Select(int item) {
  SendDlgItemMessageA(mainDialog, IDC_ADAPTER_LIST, CB_SETCURSEL, item, 0);
  Press(IDC_ADAPTER_LIST, mainDialog);
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
  EXPECT_EQ(Fields(IDC_FIRST_ADAPTER_VALUE, 9, mainDialog),
            Texts({"146", "148", "150", "152", "154", "156", "158", "160", "162"}));
  for (HWND window : {mainDialog, consoleDialog})
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  const auto press = [&](int button, const char* report) {
    show(report);
    Press(button, mainDialog);
  };
  Press(IDC_RENEW, mainDialog);
  press(IDC_RENEW_ALL, "xp_ppp.txt");
  EXPECT_EQ(Fields(IDC_FIRST_HOST_VALUE, 7, mainDialog),
            Texts({"LAPTOP01", "198.51.100.53", "Unknown", "", "No", "No", ""}));
  EXPECT_EQ(ListItems(), Texts({"Broadcom NetXtreme 57xx Gigabit Controller",
                                "VirtualBox Host-Only Ethernet Adapter"}));
  EXPECT_EQ(Fields(IDC_FIRST_ADAPTER_VALUE, 9, mainDialog),
            Texts({"00-14-22-DE-AD-01", "192.168.0.23", "255.255.255.0", "192.168.0.1",
                   "192.168.0.1", "", "", "2008/06/01 9:00:00", "2008/06/02 9:00:00"}));
  Select(1);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2, mainDialog), "192.168.56.1");
  press(IDC_RELEASE, "five_ethernet.txt");
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2, mainDialog), "10.0.2.7");
  Select(2);
  press(IDC_RENEW, "win2000.txt");  // two adapters: item 2 is gone, the first is shown
  EXPECT_EQ(SendDlgItemMessageA(mainDialog, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text(IDC_FIRST_ADAPTER_VALUE + 2, mainDialog), "10.20.30.40");
  press(IDC_RELEASE_ALL, "empty_name.txt");
  Press(IDC_RELEASE, mainDialog);
  press(IDC_RENEW_ALL, "shift_jis.txt");
  Press(IDC_RENEW, mainDialog);
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
    SetDlgItemTextA(consoleDialog, IDC_CONSOLE_OUTPUT, c.box.c_str());
    Press(c.item, consoleDialog);
    EXPECT_EQ(Text(IDC_CONSOLE_OUTPUT, consoleDialog),
              (c.commandLine + "\r\n").substr(0, TEXT_AREA_SIZE - 1));
  }
  Press(IDM_SHOW_ALL, consoleDialog);
  EXPECT_EQ(Text(IDC_CONSOLE_OUTPUT, consoleDialog), ReadFileText(Fixture("shift_jis.txt")));
  Press(IDM_CLEAR, consoleDialog);
  EXPECT_EQ(Text(IDC_CONSOLE_OUTPUT, consoleDialog), "");
}

// Its box fills it whatever its size, the whole window took its client size from the
// template, and closing it only hides it, with its text and rectangle.
void SizeAndHideTheConsole() {
  const HWND fresh =
      CreateDialogParamA(GetModuleHandleA(nullptr), "DIALOG2", nullptr, ConsoleDialogProc, 0);
  EXPECT_TRUE(Size(consoleDialog) == Size(fresh, true));
  DestroyWindow(fresh);
  const HWND box = GetDlgItem(consoleDialog, IDC_CONSOLE_OUTPUT);
  for (const SIZE size : {SIZE{520, 410}, SIZE{300, 200}}) {
    SetWindowPos(consoleDialog, nullptr, 40, 50, size.cx, size.cy, SWP_NOZORDER);
    EXPECT_TRUE(Size(box) == Size(consoleDialog, true));
  }
  SetDlgItemTextA(consoleDialog, IDC_CONSOLE_OUTPUT, "kept\r\ntext");
  SendMessageA(consoleDialog, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(consoleDialog));
  Press(IDC_SHOW_CONSOLE, mainDialog);
  EXPECT_TRUE(IsWindowVisible(consoleDialog) && Size(consoleDialog) == SIZE({300, 200}));
  EXPECT_EQ(Text(IDC_CONSOLE_OUTPUT, consoleDialog), "kept\r\ntext");
  SendMessageA(consoleDialog, WM_SIZE, SIZE_MINIMIZED, 0);
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
    PROCESS_INFORMATION started = {};
    const std::size_t before = Commands().size();
    std::string commandLine = EnvOr("IPSETTINGS_PROGRAM", "ipsettings.exe");
    const HANDLE job = CreateJobObjectA(nullptr, nullptr);  // it and every command it starts
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               nullptr, nullptr, &startup, &started));
    ASSERT_TRUE(AssignProcessToJobObject(job, started.hProcess));
    ResumeThread(started.hThread);
    while (Commands().size() == before) Sleep(10);  // its first report runs, held
    mainDialog = FindDialog(started.dwProcessId, IDC_ADAPTER_LIST, false);
    consoleDialog = FindDialog(started.dwProcessId, IDC_CONSOLE_OUTPUT, true);
    EXPECT_FALSE(IsWindowVisible(mainDialog));
    Release(hold);
    while (!IsWindowVisible(mainDialog)) Sleep(10);
    if (!busy) {
      UseTheMainWindow(show);
      Press(IDC_SHOW_CONSOLE, mainDialog);
      UseTheConsole();
      SizeAndHideTheConsole();
    } else {  // two commands, the second inside the first's wait, both held until the end
      EXPECT_EQ(Text(IDC_FIRST_HOST_VALUE, mainDialog), "LAPTOP01");
      DeleteFileA(hold.c_str());
      for (const int button : {IDC_RENEW_ALL, IDC_RELEASE_ALL}) {
        const std::size_t commands = Commands().size();
        PostMessageA(GetDlgItem(mainDialog, button), BM_CLICK, 0, 0);
        while (Commands().size() == commands) Sleep(10);
      }
      EXPECT_GT(SendMessageA(mainDialog, WM_GETTEXTLENGTH, 0, 0), 0);  // answered while both wait
    }
    SendMessageA(mainDialog, WM_CLOSE, 0, 0);  // as another program would close it
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(started.hProcess, INFINITE);
    GetExitCodeProcess(started.hProcess, &code);
    EXPECT_EQ(code, 0u) << (busy ? "closed during a command" : "closed with the console shown");
    Release(hold);  // so that any command started at the close has logged itself and ended
    while (CommandsRunIn(job)) Sleep(10);
    for (HANDLE handle : {started.hProcess, started.hThread, job}) CloseHandle(handle);
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
