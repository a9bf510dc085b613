// End to end: starts the real program beside the stand-in ipconfig, finds its
// windows from this other process, reads and presses them as a user's tools would,
// and closes it: once when idle, once while a command runs. Exit code 0 if every
// check held.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/win/program_folder.h"
#include "tests/win/standin.h"

namespace {

int passed = 0;
int failed = 0;

void Check(bool condition, const std::string& what) {
  (condition ? passed : failed)++;
  std::printf("%s: %s\n", condition ? "ok" : "FAILED", what.c_str());
}

std::string Quoted(const std::string& text) {
  std::string shown;
  for (unsigned char c : text) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02x", c);
    shown += (c < 0x20 || c >= 0x7F) ? escape : std::string(1, static_cast<char>(c));
  }
  return "\"" + shown + "\"";
}

void CheckEqual(const std::string& actual, const std::string& expected, const std::string& what) {
  Check(actual == expected, what + (actual == expected ? "" : ": got " + Quoted(actual) + ", expected " + Quoted(expected)));
}

bool WaitFor(bool (*condition)(), DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

struct Program {
  PROCESS_INFORMATION process;
  HWND main;
  HWND console;
};
Program program;
std::string commandLog;

BOOL CALLBACK FindWindows(HWND window, LPARAM) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != program.process.dwProcessId) return TRUE;
  if (GetDlgItem(window, IDC_RENEW) != nullptr) program.main = window;
  if (GetDlgItem(window, IDC_CONSOLE_OUTPUT) != nullptr && GetDlgItem(window, IDC_RENEW) == nullptr)
    program.console = window;
  return TRUE;
}

bool MainWindowShown() {
  EnumWindows(FindWindows, 0);
  return program.main != nullptr && IsWindowVisible(program.main);
}

std::string Text(HWND window, int control) {
  static char text[40000];
  text[0] = '\0';
  GetDlgItemTextA(window, control, text, sizeof text);
  return text;
}

// CB_GETLBTEXT sent across processes comes back as UTF-16 under Wine whatever the
// A/W form; ask in UTF-16 and convert to the system code page.
std::vector<std::string> ListItems() {
  std::vector<std::string> items;
  HWND list = GetDlgItem(program.main, IDC_ADAPTER_LIST);
  const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t wide[512] = {};
    SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
    char text[1024];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    items.push_back(text);
  }
  return items;
}

// Clicks the button itself, which tells its window as a mouse click would.
void Press(HWND window, int control) { PostMessageA(GetDlgItem(window, control), BM_CLICK, 0, 0); }

bool LogEndsWith(const std::string& tail) {
  const std::string text = ReadFileText(commandLog);
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string expectedTail;
bool LogHasExpectedTail() { return LogEndsWith(expectedTail); }

bool ConsoleShown() {
  EnumWindows(FindWindows, 0);
  return program.console != nullptr && IsWindowVisible(program.console);
}

std::string expectedBox;
bool BoxHoldsExpected() { return Text(program.console, IDC_CONSOLE_OUTPUT) == expectedBox; }

bool Start(const std::string& programPath) {
  program = {};
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + programPath + "\"";
  if (!CreateProcessA(programPath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &program.process))
    return false;
  return WaitFor(MainWindowShown, 30000);
}

DWORD ExitCodeAfter(DWORD milliseconds) {
  if (WaitForSingleObject(program.process.hProcess, milliseconds) != WAIT_OBJECT_0) {
    TerminateProcess(program.process.hProcess, 99);
    return STILL_ACTIVE;
  }
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(program.process.hProcess, &code);
  CloseHandle(program.process.hProcess);
  CloseHandle(program.process.hThread);
  return code;
}

void ExpectCommand(const std::string& lines, const char* what) {
  expectedTail = lines;
  Check(WaitFor(LogHasExpectedTail, 15000), what);
}

void ExpectBox(const std::string& text, const char* what) {
  expectedBox = text;
  Check(WaitFor(BoxHoldsExpected, 15000), what);
}

void IdleSession(const std::string& programPath) {
  std::printf("-- a session closed while idle\n");
  if (!Start(programPath)) {
    Check(false, "the main window appears");
    return;
  }
  char title[64] = {};
  GetWindowTextA(program.main, title, sizeof title);
  CheckEqual(title, "IP \x90\xdd\x92\xe8", "the title is IP 設定 in code page 932");
  const char* hosts[] = {"LAPTOP01", "198.51.100.53", "Unknown", "", "No", "No", ""};
  for (int i = 0; i < 7; ++i)
    CheckEqual(Text(program.main, IDC_FIRST_HOST_VALUE + 2 * i), hosts[i], "host field " + std::to_string(130 + 2 * i));
  const std::vector<std::string> items = ListItems();
  Check(items == std::vector<std::string>{"Broadcom NetXtreme 57xx Gigabit Controller",
                                          "VirtualBox Host-Only Ethernet Adapter"},
        "the list holds both Ethernet adapters' descriptions");
  CheckEqual(Text(program.main, IDC_FIRST_ADAPTER_VALUE + 2), "192.168.0.23", "the first adapter's address");

  HWND list = GetDlgItem(program.main, IDC_ADAPTER_LIST);
  SendMessageA(list, CB_SETCURSEL, 1, 0);
  SendMessageA(program.main, WM_COMMAND, MAKEWPARAM(IDC_ADAPTER_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  CheckEqual(Text(program.main, IDC_FIRST_ADAPTER_VALUE + 2), "192.168.56.1", "the second adapter's address");

  Press(program.main, IDC_RELEASE);
  ExpectCommand("ipconfig /release VirtualBox?Host-Only?Network\nipconfig /all\n",
                "release of the chosen adapter names it as one word, then the report is read again");
  Press(program.main, IDC_RENEW_ALL);
  ExpectCommand("ipconfig /renew\nipconfig /all\n", "renew all, then the report");

  Press(program.main, IDC_SHOW_CONSOLE);
  Check(WaitFor(ConsoleShown, 10000), "the fifth button shows the console");
  PostMessageA(program.console, WM_COMMAND, MAKEWPARAM(IDM_SHOW, 0), 0);
  ExpectBox("ipconfig\r\n", "the console shows the output of ipconfig");
  PostMessageA(program.console, WM_COMMAND, MAKEWPARAM(IDM_SHOW_ALL, 0), 0);
  ExpectBox(ReadFileText(Fixture("xp_ppp.txt")), "the console shows the whole report");
  SetDlgItemTextA(program.console, IDC_CONSOLE_OUTPUT, "Wired\r\nthe rest");
  PostMessageA(program.console, WM_COMMAND, MAKEWPARAM(IDM_RELEASE_FIRST_LINE, 0), 0);
  ExpectCommand("ipconfig /release Wired\n", "the first line of the box is the argument");
  PostMessageA(program.console, WM_COMMAND, MAKEWPARAM(IDM_CLEAR, 0), 0);
  ExpectBox("", "clear empties the box");

  PostMessageA(program.main, WM_CLOSE, 0, 0);
  Check(ExitCodeAfter(15000) == 0, "closing the main window with the console shown ends the program with code 0");
}

void BusySession(const std::string& programPath, const std::string& hold) {
  std::printf("-- a session closed while a command runs\n");
  if (!Start(programPath)) {
    Check(false, "the main window appears");
    return;
  }
  DeleteFileA(hold.c_str());  // from now on the children wait
  Press(program.main, IDC_RENEW_ALL);
  ExpectCommand("ipconfig /renew\n", "renew all has started");
  PostMessageA(program.main, WM_CLOSE, 0, 0);
  Check(ExitCodeAfter(15000) == 0, "closing the main window while a command runs ends the program with code 0");
  WriteFileText(hold, "");
}

}  // namespace

int main() {
  const std::string programPath = ProgramFolder() + "ipsettings.exe";

  ClearStandin();
  commandLog = StartCommandLog();
  const std::string hold = TempFile("hold");
  WriteFileText(hold, "");
  SetEnv("IPCONFIG_STANDIN_HOLD", hold);
  SetEnv("IPCONFIG_STANDIN_REPORT", Fixture("xp_ppp.txt"));

  IdleSession(programPath);
  BusySession(programPath, hold);
  std::printf("end-to-end: %d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
