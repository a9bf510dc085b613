// The real program, started beside the stand-in as a user would start it, and closed.
#include <windows.h>

#include <string>

#include "resources/resource_ids.h"
#include "tests/win/test_support.h"

namespace {

class ProgramRun : public StandinTest {
 protected:
  void Start() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "ipsettings.exe";
    ASSERT_TRUE(CreateProcessA((ProgramFolder() + commandLine).c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                               0, nullptr, nullptr, &startup, &program));
    while ((main = MainWindow()) == nullptr) Sleep(10);
  }

  HWND MainWindow() const {
    struct Search { DWORD id; HWND found; } search = {program.dwProcessId, nullptr};
    EnumWindows([](HWND window, LPARAM lParam) -> BOOL {
      auto* s = reinterpret_cast<Search*>(lParam);
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == s->id && GetDlgItem(window, IDC_RENEW) != nullptr) s->found = window;
      return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  void WaitForCommand(const std::string& line) {
    while (ReadFileText(log).find(line + "\n") == std::string::npos) Sleep(10);
  }

  DWORD CloseAndTakeExitCode() {
    PostMessageA(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(program.hProcess, INFINITE);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program.hProcess, &code);
    CloseHandle(program.hProcess);
    CloseHandle(program.hThread);
    return code;
  }

  PROCESS_INFORMATION program = {};
  HWND main = nullptr;
};

TEST_F(ProgramRun, ShowsTheMainWindowOnceTheFirstReportIsReadAndEndsWithZeroWhenClosed) {
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("xp_ppp.txt"));
  const std::string hold = Hold("/all");
  Start();
  WaitForCommand("ipconfig /all");
  EXPECT_FALSE(IsWindowVisible(main));  // the report is still running
  Release(hold);
  while (!IsWindowVisible(main)) Sleep(10);
  char host[64] = "";
  GetDlgItemTextA(main, IDC_FIRST_HOST_VALUE, host, sizeof host);
  EXPECT_STREQ(host, "LAPTOP01");
  EXPECT_EQ(CloseAndTakeExitCode(), 0u);
}

TEST_F(ProgramRun, EndsWithZeroWhenClosedWhileACommandRuns) {
  const std::string hold = Hold("/renew");
  Start();
  while (!IsWindowVisible(main)) Sleep(10);
  PostMessageA(GetDlgItem(main, IDC_RENEW_ALL), BM_CLICK, 0, 0);
  WaitForCommand("ipconfig /renew");
  EXPECT_EQ(CloseAndTakeExitCode(), 0u);
  Release(hold);
  EXPECT_EQ(Commands(), Texts({"ipconfig /all", "ipconfig /renew"}));
}

}  // namespace
