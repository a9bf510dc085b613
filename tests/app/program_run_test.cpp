// The real program (IPSETTINGS_PROGRAM, else this build's) driven through its windows: a
// message sent returns once its command has run. Each step's commands and windows are traced
// (tests/pinned/). Closed once idle, and once with as many nested commands as it lets run.
#include "resources/resource_ids.h"
#include "tests/win/test_support.h"

namespace {

HWND mainDialog;
HWND consoleDialog;

// Takes the program's two dialogs as its thread lists them. The console has a menu and
// the output box; the main window has a control 128 too, a combo box's list an id as menu.
BOOL CALLBACK TakeDialog(HWND window, LPARAM) {
  if (GetDlgItem(window, IDC_ADAPTER_LIST)) mainDialog = window;
  if (GetDlgItem(window, IDC_CONSOLE_OUTPUT) && GetMenu(window)) consoleDialog = window;
  return TRUE;
}

// Under Wine, the 32-bit program also starts a desktop process in its job, which stays.
DWORD Running(HANDLE job) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
  QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr);
  return info.ActiveProcesses;
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

// The texts given, then those of count value fields from first on (every second id), brief.
std::string Joined(int first, int count, HWND window, Texts texts = {}) {
  for (std::string text(1 << 17, '\0'); count-- > 0; first += 2)
    texts.push_back(text.substr(0, GetDlgItemTextA(window, first, &text[0], 1 << 17)));
  std::string joined;
  for (const std::string& text : texts) joined += " | " + Brief(text);
  return joined.substr(std::min<std::size_t>(joined.size(), 3));
}

class ProgramRun : public StandinTest {
 protected:
  // The label, the commands logged since the last step, and what the window shown (main,
  // console or none) shows; another process's list items come back as UTF-16 under Wine.
  // Each line begins with the step's number, so that a line that differs names its step.
  void Step(const std::string& label, const std::string& shown = "main") {
    const Texts commands = Commands();
    const std::string n = std::to_string(++steps) + " ";
    trace += "## " + n + label + "\n" + n +
             "ran: " + Joined(0, 0, nullptr, Texts(commands.begin() + logged, commands.end())) +
             "\n";
    trace +=
        shown == "console" ? n + "box: " + Joined(IDC_CONSOLE_OUTPUT, 1, consoleDialog) + "\n" : "";
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
    trace += n + "host: " + Joined(IDC_FIRST_HOST_VALUE, 7, mainDialog) + "\n" + n +
             "list: " + Joined(0, 0, nullptr, items) + " [" +
             std::to_string(SendMessageA(list, CB_GETCURSEL, 0, 0)) + "]\n" + n +
             "adapter: " + Joined(IDC_FIRST_ADAPTER_VALUE, 9, mainDialog) + "\n";
  }

  std::string trace;
  std::size_t logged = 0;
  int steps = 0;
};

// Each main-window step: the report the next refresh reads, and a press, or (-n) a choice.
const std::tuple<const char*, const char*, int> mainSteps[] = {
    {"renew the chosen adapter with none in the list", nullptr, IDC_RENEW},
    {"renew all", "xp_ppp.txt", IDC_RENEW_ALL},
    {"select item 1", nullptr, -1},
    {"release item 1", "five_ethernet.txt", IDC_RELEASE},
    {"select item 2", nullptr, -2},
    {"renew item 2, to a report of two adapters", "win2000.txt", IDC_RENEW},
    {"release all", "empty_name.txt", IDC_RELEASE_ALL},
    {"release the adapter whose header gives no name", nullptr, IDC_RELEASE},
    {"renew all", "shift_jis.txt", IDC_RENEW_ALL},
    {"renew the adapter with a Japanese name", nullptr, IDC_RENEW}};

// Each console item with the box it finds, whose first line three of them take, up to a limit.
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
    {IDM_RELEASE_FIRST_LINE, std::string(40000, 'a') + "\r\n2"},
    {IDM_SHOW_ALL, "earlier"},
    {IDM_CLEAR, "earlier"}};

TEST_F(ProgramRun, ShowsWhatEachReportSaysRunsWhatItsWindowsAskAndEndsWithZero) {
  const std::string report = TempFile("report.txt"), hold = TempFile("hold");
  SetEnv("IPCONFIG_STANDIN_REPORT", report);  // what it holds when each report runs
  SetEnv("IPCONFIG_STANDIN_HOLD", hold);
  for (const bool busy : {false, true}) {
    CopyFileA(Fixture(busy ? "xp_ppp.txt" : "win2000.txt").c_str(), report.c_str(), FALSE);
    DeleteFileA(hold.c_str());
    const PROCESS_INFORMATION started =
        Start(EnvOr("IPSETTINGS_PROGRAM", "ipsettings.exe"), CREATE_SUSPENDED);
    const HANDLE job = CreateJobObjectA(nullptr, nullptr);  // it and its commands, ending with us
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    ASSERT_TRUE(AssignProcessToJobObject(job, started.hProcess));
    ResumeThread(started.hThread);
    ASSERT_TRUE(WaitUntil("the first report, held", started.hProcess,
                          [&] { return Commands().size() > logged; }));
    EnumThreadWindows(started.dwThreadId, TakeDialog, 0);  // both made before the first report
    trace += IsWindowVisible(mainDialog) ? "shown before its first report\n" : "";
    if (!busy) {  // renew all, pressed now, reads a newer report inside the first one's wait
      PostMessageA(mainDialog, WM_COMMAND, IDC_RENEW_ALL, 0);
      ASSERT_TRUE(WaitUntil("the press's command", started.hProcess,
                            [&] { return Commands().size() > logged + 1; }));
      CopyFileA(Fixture("lf_only.txt").c_str(), report.c_str(), FALSE);
    }
    Release(hold);
    ASSERT_TRUE(
        WaitUntil("the main window", started.hProcess, [] { return IsWindowVisible(mainDialog); }));
    Step(busy ? "started" : "started, and renew all pressed during the first report");
    const DWORD idle = Running(job);  // the program, and no command
    if (!busy) {
      for (const auto& [label, shown, control] : mainSteps) {
        if (shown != nullptr) CopyFileA(Fixture(shown).c_str(), report.c_str(), FALSE);
        if (control < 0)
          SendDlgItemMessageA(mainDialog, IDC_ADAPTER_LIST, CB_SETCURSEL, -control, 0);
        SendMessageA(mainDialog, WM_COMMAND, control < 0 ? IDC_ADAPTER_LIST : control, 0);
        Step(label);
      }
      // A release, and a renew all sent right behind it, while the program's thread is held:
      // the release's look at the queue runs the renew all, whose refresh leaves the selected
      // adapter without a name. The release then runs nothing.
      CopyFileA(Fixture("empty_name.txt").c_str(), report.c_str(), FALSE);
      SuspendThread(started.hThread);
      SendNotifyMessageA(mainDialog, WM_COMMAND, IDC_RELEASE, 0);
      SendNotifyMessageA(mainDialog, WM_COMMAND, IDC_RENEW_ALL, 0);
      ResumeThread(started.hThread);
      WaitUntil("the refresh sent meanwhile", started.hProcess,
                [] { return Joined(IDC_FIRST_HOST_VALUE, 1, mainDialog) == "nameless-pc"; });
      Step("release, with renew all sent meanwhile to a report whose adapter has no name");
      SendMessageA(mainDialog, WM_COMMAND, IDC_SHOW_CONSOLE, 0);
      for (const auto& [item, box] : consoleSteps) {
        SetDlgItemTextA(consoleDialog, IDC_CONSOLE_OUTPUT, box.c_str());
        SendMessageA(consoleDialog, WM_COMMAND, item, 0);
        Step("console item " + std::to_string(item) + " on " + Brief(box), "console");
      }
      // Its box fills it whatever its size; closed, it only hides, with its text and size.
      for (const int width : {520, 300}) {
        SetWindowPos(consoleDialog, nullptr, 40, 50, width, width - 110, SWP_NOZORDER);
        EXPECT_EQ(Size(GetDlgItem(consoleDialog, IDC_CONSOLE_OUTPUT)), Size(consoleDialog, true));
      }
      SetDlgItemTextA(consoleDialog, IDC_CONSOLE_OUTPUT, "kept");
      SendMessageA(consoleDialog, WM_CLOSE, 0, 0);
      trace += IsWindowVisible(consoleDialog) ? "closed, still shown\n" : "";
      SendMessageA(mainDialog, WM_COMMAND, IDC_SHOW_CONSOLE, 0);
      Step("closed and shown again: " + Size(consoleDialog), "console");
    } else {  // nine presses, each inside the last's wait, all held until the end
      DeleteFileA(hold.c_str());
      for (int i = 0; i < 9; ++i)
        PostMessageA(GetDlgItem(mainDialog, IDC_RENEW_ALL), BM_CLICK, 0, 0);
      ASSERT_TRUE(WaitUntil("eight commands", started.hProcess,
                            [&] { return Commands().size() >= logged + 8; }));
    }
    PostMessageA(mainDialog, WM_CLOSE, 0, 0);  // as another program would close it, after those
    DWORD code = STILL_ACTIVE;
    ASSERT_TRUE(WaitUntil("the program's end", nullptr, [&] { return Ended(started.hProcess); }));
    GetExitCodeProcess(started.hProcess, &code);
    Release(hold);  // so that any command started at the close has logged itself and ended
    ASSERT_TRUE(WaitUntil("its commands' end", nullptr, [&] { return Running(job) < idle; }));
    Step(busy ? "renew all, pressed nine times, and closed while they run"
              : "closed with the console shown",
         "none");
    trace += "exit code " + std::to_string(code) + "\n";
    for (HANDLE handle : {started.hProcess, started.hThread, job}) CloseHandle(handle);
  }
  ExpectPinned(trace);
}

}  // namespace
