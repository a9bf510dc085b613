// The real program, started as a user would start it (the build that IPSETTINGS_PROGRAM
// names, such as the release program, or else the one beside this test), beside the
// stand-in, used through its windows from this process, and closed once idle with the
// console shown and once while two commands run, one inside the other's wait.
#include <cstdlib>

#include "console/console_window.h"
#include "tests/win/test_support.h"

namespace {

using ProgramRun = StandinTest;

// The program's dialog owned by owner (none for the main window), once it exists.
HWND FindDialog(HWND owner) {
  for (;; Sleep(10))
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr));)
      if (GetWindow(window, GW_OWNER) == owner && GetDlgItem(window, IDC_CONSOLE_OUTPUT))
        return window;
}

SIZE Size(HWND window, bool client = false) {
  RECT r;
  client ? GetClientRect(window, &r) : GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

bool operator==(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

// The console: shown by its button, its box fills it whatever its size, the whole window
// took its client size from the template, and closing it only hides it.
void UseTheConsole(HWND main, HWND console) {
  const HWND fresh =
      CreateDialogParamA(GetModuleHandleA(nullptr), "DIALOG2", nullptr, ConsoleDialogProc, 0);
  EXPECT_TRUE(Size(console) == Size(fresh, true));
  DestroyWindow(fresh);
  for (int shown = 0; shown < 2; ++shown) {
    PostMessageA(GetDlgItem(main, IDC_SHOW_CONSOLE), BM_CLICK, 0, 0);
    while (!IsWindowVisible(console)) Sleep(10);
    EXPECT_TRUE(!shown || Size(console) == SIZE({520, 410}));  // as it was left
    SetWindowPos(console, nullptr, 40, 50, 520 - 200 * shown, 410 - 200 * shown, SWP_NOZORDER);
    EXPECT_TRUE(Size(GetDlgItem(console, IDC_CONSOLE_OUTPUT)) == Size(console, true));
    if (shown == 0) PostMessageA(console, WM_COMMAND, IDM_HELP, 0);
    while (Text(IDC_CONSOLE_OUTPUT, console) != "ipconfig /?\r\n") Sleep(10);  // kept
    SendMessageA(console, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(console));
  }
  PostMessageA(GetDlgItem(main, IDC_SHOW_CONSOLE), BM_CLICK, 0, 0);
  while (!IsWindowVisible(console)) Sleep(10);
  SendMessageA(console, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(Size(GetDlgItem(console, IDC_CONSOLE_OUTPUT)).cx, 0);
}

TEST_F(ProgramRun, ShowsTheReportRunsWhatItsWindowsAskAndEndsWithZeroIdleOrBusy) {
  const std::string report = TempFile("report.txt"), hold = Hold();
  SetEnv("IPCONFIG_STANDIN_REPORT", report);  // what it holds when each report runs
  const auto show = [&](const char* fixture) {
    CopyFileA(Fixture(fixture).c_str(), report.c_str(), FALSE);
  };
  for (const bool busy : {false, true}) {
    show("xp_ppp.txt");
    DeleteFileA(hold.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION program = {};
    std::string commandLine = std::getenv("IPSETTINGS_PROGRAM") ?: "ipsettings.exe";
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &program));
    while (Commands().size() < (busy ? 7u : 1u)) Sleep(10);  // its first report runs, held
    const HWND main = FindDialog(nullptr), console = FindDialog(main);
    EXPECT_FALSE(IsWindowVisible(main));
    Release(hold);
    while (!IsWindowVisible(main)) Sleep(10);
    EXPECT_EQ(Fields(IDC_FIRST_HOST_VALUE, 7, main),
              Texts({"LAPTOP01", "198.51.100.53", "Unknown", "", "No", "No", ""}));
    EXPECT_EQ(Fields(IDC_FIRST_ADAPTER_VALUE, 2, main),
              Texts({"00-14-22-DE-AD-01", "192.168.0.23"}));
    if (!busy) {  // each press ends when its refresh shows the next report
      const struct {
        int button;
        const char *fixture, *hostName;
      } presses[] = {{IDC_RENEW, "win2000.txt", "office-pc"},
                     {IDC_RELEASE, "xp_ppp.txt", "LAPTOP01"}};
      for (const auto& press : presses) {
        show(press.fixture);
        PostMessageA(GetDlgItem(main, press.button), BM_CLICK, 0, 0);
        while (Text(IDC_FIRST_HOST_VALUE, main) != press.hostName) Sleep(10);
      }
      UseTheConsole(main, console);
    } else {  // two commands, the second inside the first's wait, both held until the end
      DeleteFileA(hold.c_str());
      for (const int button : {IDC_RENEW_ALL, IDC_RELEASE_ALL}) {
        PostMessageA(GetDlgItem(main, button), BM_CLICK, 0, 0);
        while (Commands().size() < (button == IDC_RENEW_ALL ? 8u : 9u)) Sleep(10);
      }
      EXPECT_GT(SendMessageA(main, WM_GETTEXTLENGTH, 0, 0), 0);  // answered while both wait
    }
    SendMessageA(main, WM_CLOSE, 0, 0);  // as another program would close it
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(program.hProcess, INFINITE);
    GetExitCodeProcess(program.hProcess, &code);
    EXPECT_EQ(code, 0u) << (busy ? "closed during a command" : "closed with the console shown");
    for (HANDLE handle : {program.hProcess, program.hThread}) CloseHandle(handle);
  }
  Release(hold);
  const std::string all = "ipconfig /all";
  EXPECT_EQ(Commands(), Texts({all, "ipconfig /renew Wired", all,
                               "ipconfig /release Local?Area?Connection?2", all, "ipconfig /?", all,
                               "ipconfig /renew", "ipconfig /release"}));  // none after the close
}

}  // namespace
