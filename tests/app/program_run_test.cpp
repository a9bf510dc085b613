// The real program, started beside the stand-in as a user would start it, and closed
// once idle and once while a command runs.
#include "tests/win/test_support.h"

namespace {

using ProgramRun = StandinTest;

TEST_F(ProgramRun, ShowsItselfOnceTheReportIsReadAndEndsWithZeroWhenClosed) {
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("xp_ppp.txt"));
  const std::string hold = Hold();
  for (const bool busy : {false, true}) {
    DeleteFileA(hold.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION program = {};
    char commandLine[] = "ipsettings.exe";  // found in this program's own folder
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &program));
    while (Commands().size() < (busy ? 2u : 1u)) Sleep(10);  // its first report runs, held
    static DWORD id;
    static HWND main;
    id = program.dwProcessId;
    EnumWindows([](HWND window, LPARAM) -> BOOL {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == id && GetDlgItem(window, IDC_RENEW) != nullptr) main = window;
      return TRUE;
    }, 0);
    EXPECT_FALSE(IsWindowVisible(main));
    Release(hold);
    while (!IsWindowVisible(main)) Sleep(10);
    EXPECT_EQ(Text(IDC_FIRST_HOST_VALUE, main), "LAPTOP01");
    if (busy) {
      DeleteFileA(hold.c_str());
      PostMessageA(GetDlgItem(main, IDC_RENEW_ALL), BM_CLICK, 0, 0);
      while (Commands().size() < 3) Sleep(10);
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(program.hProcess, INFINITE);
    GetExitCodeProcess(program.hProcess, &code);
    EXPECT_EQ(code, 0u) << (busy ? "closed during a command" : "closed when idle");
    for (HANDLE handle : {program.hProcess, program.hThread}) CloseHandle(handle);
  }
  Release(hold);
  EXPECT_EQ(Commands(), Texts({"ipconfig /all", "ipconfig /all", "ipconfig /renew"}));  // nothing after the close
}

}  // namespace
