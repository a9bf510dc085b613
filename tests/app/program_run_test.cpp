// The real program (IPSETTINGS_PROGRAM, else the one built here) beside the stand-in,
// used through its windows. A message sent returns once its command has run and the
// windows show the outcome. Each step traces what it ran and what the windows show; the
// trace is pinned (tests/pinned/), so a difference names its step. Closed once idle with
// the console shown, and once while two commands run, one inside the other's wait.
#include "console/console_window.h"
#include "runner/text_area.h"
#include "tests/win/test_support.h"

namespace {

HWND mainDialog;
HWND consoleDialog;

// The dialog of the process that has control, with a menu (the console) or without.
HWND FindDialog(const PROCESS_INFORMATION& process, int control, bool withMenu) {
  HWND window = nullptr;
  WaitUntil("the dialog with control " + std::to_string(control), process.hProcess, [&] {
    while ((window = FindWindowExA(nullptr, window, "#32770", nullptr))) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == process.dwProcessId && GetDlgItem(window, control) &&
          (GetMenu(window) != nullptr) == withMenu)
        return true;
    }
    return false;
  });
  return window;
}

// Under Wine, the 32-bit program also starts a desktop process in its job, which stays.
DWORD Running(HANDLE job) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts = {};
  QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &counts, sizeof counts,
                            nullptr);
  return counts.ActiveProcesses;
}

std::string Size(HWND window, bool client = false) {
  RECT r;
  client ? GetClientRect(window, &r) : GetWindowRect(window, &r);
  return std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// A text for the trace: line ends shown, a long one by its start and its length.
std::string Brief(const std::string& text) {
  std::string shown;
  for (const char c : text.substr(0, 60))
    shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return text.size() > 60 ? shown + "... (" + std::to_string(text.size()) + " bytes)" : shown;
}

std::string Joined(const Texts& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += " | " + Brief(text);
  return joined.substr(std::min<std::size_t>(joined.size(), 3));
}

class ProgramRun : public StandinTest {
 protected:
  // The step's label, the commands logged since the last step, and what the window shown
  // (main, console or none) shows: another process's list items come back as UTF-16
  // under Wine.
  void Step(const std::string& label, const std::string& shown = "main") {
    const Texts commands = Commands();
    trace += "## " + label + "\nran: " + Joined(Texts(commands.begin() + logged, commands.end()));
    trace += shown == "console" ? "\nbox: " + Brief(Text(IDC_CONSOLE_OUTPUT, consoleDialog)) : "";
    trace += "\n";
    logged = commands.size();
    if (shown != "main") return;
    Texts items;
    const HWND list = GetDlgItem(mainDialog, IDC_ADAPTER_LIST);
    for (wchar_t item[512];
         SendMessageW(list, CB_GETLBTEXT, items.size(), reinterpret_cast<LPARAM>(item)) >= 0;) {
      char text[1024];
      WideCharToMultiByte(CP_ACP, 0, item, -1, text, sizeof text, nullptr, nullptr);
      items.push_back(text);
    }
    trace += "host: " + Joined(Fields(IDC_FIRST_HOST_VALUE, 7, mainDialog)) +
             "\nlist: " + Joined(items) + " [" +
             std::to_string(SendMessageA(list, CB_GETCURSEL, 0, 0)) +
             "]\nadapter: " + Joined(Fields(IDC_FIRST_ADAPTER_VALUE, 9, mainDialog)) + "\n";
  }

  std::string trace;
  std::size_t logged = 0;
};

// Each main-window step: the report the next refresh reads, and a press or a selection.
const struct {
  const char* label;
  const char* report;
  int control;  // or, with 0, the list's item to select
  int item;
} mainSteps[] = {{"renew the chosen adapter with none in the list", nullptr, IDC_RENEW, 0},
                 {"renew all", "xp_ppp.txt", IDC_RENEW_ALL, 0},
                 {"select item 1", nullptr, 0, 1},
                 {"release item 1", "five_ethernet.txt", IDC_RELEASE, 0},
                 {"select item 2", nullptr, 0, 2},
                 {"renew item 2, to a report of two adapters", "win2000.txt", IDC_RENEW, 0},
                 {"release all", "empty_name.txt", IDC_RELEASE_ALL, 0},
                 {"release the adapter whose header gives no name", nullptr, IDC_RELEASE, 0},
                 {"renew all", "shift_jis.txt", IDC_RENEW_ALL, 0},
                 {"renew the adapter with a Japanese name", nullptr, IDC_RENEW, 0}};

// Each console item with the box it finds; the first line of the box is the argument of
// three of them, up to the command line's limit.
const std::string sjisName = "\x83\x8d\x81\x5b\x83\x4a\x83\x8b \x90\xda\x91\xb1";  // ローカル 接続
const std::pair<int, std::string> consoleSteps[] = {
    {IDM_SHOW, "earlier\r\ntext"},
    {IDM_RENEW_ALL, ""},
    {IDM_RELEASE_ALL, ""},
    {IDM_HELP, ""},
    {IDM_RENEW_FIRST_LINE, "\r\nan empty first line"},
    {IDM_RELEASE_FIRST_LINE, sjisName + "\r\nrest"},
    {IDM_RUN_FIRST_LINE, "/renew eth0\x11\x1f\tcomment"},
    {IDM_RUN_FIRST_LINE, "/release eth0\x10rest"},
    {IDM_RENEW_FIRST_LINE, std::string(40000, 'a') + "\r\n2"},
    {IDM_RELEASE_FIRST_LINE, std::string(40000, 'a')},
    {IDM_RUN_FIRST_LINE, std::string(40000, 'a')},
    {IDM_SHOW_ALL, "earlier"},
    {IDM_CLEAR, "earlier"}};

// Its box fills it whatever its size, the whole window took its client size from the
// template, and closing it only hides it, with its text and rectangle.
void SizeAndHideTheConsole() {
  const HWND fresh =
      CreateDialogParamA(GetModuleHandleA(nullptr), "DIALOG2", nullptr, ConsoleDialogProc, 0);
  EXPECT_EQ(Size(consoleDialog), Size(fresh, true));
  DestroyWindow(fresh);
  const HWND box = GetDlgItem(consoleDialog, IDC_CONSOLE_OUTPUT);
  for (const SIZE size : {SIZE{520, 410}, SIZE{300, 200}}) {
    SetWindowPos(consoleDialog, nullptr, 40, 50, size.cx, size.cy, SWP_NOZORDER);
    EXPECT_EQ(Size(box), Size(consoleDialog, true));
  }
  SetDlgItemTextA(consoleDialog, IDC_CONSOLE_OUTPUT, "kept\r\ntext");
  SendMessageA(consoleDialog, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(consoleDialog));
  Press(IDC_SHOW_CONSOLE, mainDialog);
  EXPECT_TRUE(IsWindowVisible(consoleDialog));
  EXPECT_EQ(Size(consoleDialog), "300x200");
  EXPECT_EQ(Text(IDC_CONSOLE_OUTPUT, consoleDialog), "kept\r\ntext");
  SendMessageA(consoleDialog, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(Size(box), "0x0");
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
    std::string commandLine = EnvOr("IPSETTINGS_PROGRAM", "ipsettings.exe");
    const HANDLE job = CreateJobObjectA(nullptr, nullptr);  // it and every command it starts
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               nullptr, nullptr, &startup, &started));
    ASSERT_TRUE(AssignProcessToJobObject(job, started.hProcess));
    ResumeThread(started.hThread);
    // Its first report runs, held.
    ASSERT_TRUE(WaitUntil("the first report", started.hProcess,
                          [&] { return Commands().size() > logged; }));
    mainDialog = FindDialog(started, IDC_ADAPTER_LIST, false);
    consoleDialog = FindDialog(started, IDC_CONSOLE_OUTPUT, true);
    trace += IsWindowVisible(mainDialog) ? "shown before its first report\n" : "";
    Release(hold);
    ASSERT_TRUE(
        WaitUntil("the main window", started.hProcess, [] { return IsWindowVisible(mainDialog); }));
    for (HWND window : {mainDialog, consoleDialog})
      trace += GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST ? "topmost\n" : "";
    Step("started");
    const DWORD idle = Running(job);  // the program, and no command
    if (!busy) {
      for (const auto& step : mainSteps) {
        if (step.report != nullptr) show(step.report);
        if (step.control == 0)
          SendDlgItemMessageA(mainDialog, IDC_ADAPTER_LIST, CB_SETCURSEL, step.item, 0);
        Press(step.control != 0 ? step.control : IDC_ADAPTER_LIST, mainDialog);
        Step(step.label);
      }
      Press(IDC_SHOW_CONSOLE, mainDialog);
      for (const auto& [item, box] : consoleSteps) {
        SetDlgItemTextA(consoleDialog, IDC_CONSOLE_OUTPUT, box.c_str());
        Press(item, consoleDialog);
        Step("console item " + std::to_string(item) + " on " + Brief(box), "console");
      }
      SizeAndHideTheConsole();
    } else {  // two commands, the second inside the first's wait, both held until the end
      DeleteFileA(hold.c_str());
      for (const int button : {IDC_RENEW_ALL, IDC_RELEASE_ALL}) {
        const std::size_t commands = Commands().size();
        PostMessageA(GetDlgItem(mainDialog, button), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil("its command", started.hProcess,
                              [&] { return Commands().size() > commands; }));
      }
      EXPECT_GT(SendMessageA(mainDialog, WM_GETTEXTLENGTH, 0, 0), 0);  // answered while both wait
      Step("renew all, and release all inside its wait", "none");
    }
    SendMessageA(mainDialog, WM_CLOSE, 0, 0);  // as another program would close it
    DWORD code = STILL_ACTIVE;
    ASSERT_TRUE(WaitUntil("the program's end", nullptr, [&] { return Ended(started.hProcess); }));
    GetExitCodeProcess(started.hProcess, &code);
    Release(hold);  // so that any command started at the close has logged itself and ended
    ASSERT_TRUE(WaitUntil("its commands' end", nullptr, [&] { return Running(job) < idle; }));
    Step(busy ? "closed while commands run" : "closed with the console shown", "none");
    trace += "exit code " + std::to_string(code) + "\n";
    for (HANDLE handle : {started.hProcess, started.hThread, job}) CloseHandle(handle);
  }
  ExpectPinned(trace);
}

}  // namespace
