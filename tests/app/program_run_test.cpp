// The real program, started beside the stand-in as a user would start it, and closed
// once idle and once while two commands run, one inside the other's wait.
#include "tests/win/test_support.h"

namespace {

using ProgramRun = StandinTest;

TEST_F(ProgramRun, ShowsItselfOnceTheReportIsReadAnswersWhileACommandRunsAndEndsWithZero) {
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
    HWND main = nullptr;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr;)
      if (GetDlgItem(window, IDC_RENEW) != nullptr) main = window;
    EXPECT_FALSE(IsWindowVisible(main));
    Release(hold);
    while (!IsWindowVisible(main)) Sleep(10);
    EXPECT_EQ(Text(IDC_FIRST_HOST_VALUE, main), "LAPTOP01");
    if (busy) {  // two commands, the second run inside the first's wait, held until the end
      DeleteFileA(hold.c_str());
      for (int button : {IDC_RENEW_ALL, IDC_RELEASE_ALL}) {
        PostMessageA(GetDlgItem(main, button), BM_CLICK, 0, 0);
        while (Commands().size() < (button == IDC_RENEW_ALL ? 3u : 4u)) Sleep(10);
      }
      EXPECT_GT(SendMessageA(main, WM_GETTEXTLENGTH, 0, 0), 0);  // answered while both wait
    }
    SendMessageA(main, WM_CLOSE, 0, 0);  // as another program would close it
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(program.hProcess, INFINITE);
    GetExitCodeProcess(program.hProcess, &code);
    EXPECT_EQ(code, 0u) << (busy ? "closed during a command" : "closed when idle");
    for (HANDLE handle : {program.hProcess, program.hThread}) CloseHandle(handle);
  }
  Release(hold);
  EXPECT_EQ(Commands(), Texts({"ipconfig /all", "ipconfig /all", "ipconfig /renew", "ipconfig /release"}));  // none after the close
}

}  // namespace
