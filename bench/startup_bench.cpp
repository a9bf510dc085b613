// Measures, under wine64, the time from starting the program to its main window
// being visible and filled (the stand-in prints a stored report at once), next to
// the time of running the stand-in alone. Medians of 11 runs each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/win/program_folder.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

DWORD programId;
HWND found;

BOOL CALLBACK FindMainWindow(HWND window, LPARAM) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == programId && GetDlgItem(window, IDC_RENEW) != nullptr) found = window;
  return TRUE;
}

// Visible, with the report's host name in its first field.
bool Filled(HWND window) {
  char text[64] = "";
  GetDlgItemTextA(window, IDC_FIRST_HOST_VALUE, text, sizeof text);
  return IsWindowVisible(window) && std::string(text) != "130" && text[0] != '\0';
}

double StartProgram(const std::string& path) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string commandLine = "\"" + path + "\"";
  const double start = Now();
  if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return -1;
  programId = process.dwProcessId;
  found = nullptr;
  while (found == nullptr || !Filled(found)) {
    EnumWindows(FindMainWindow, 0);
    Sleep(1);
  }
  const double elapsed = Now() - start;
  PostMessageA(found, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return elapsed;
}

double RunStandInAlone(const std::string& path) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = nul;
  PROCESS_INFORMATION process = {};
  std::string commandLine = "\"" + path + "\" /all";
  const double start = Now();
  CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr,
                 &startup, &process);
  WaitForSingleObject(process.hProcess, INFINITE);
  const double elapsed = Now() - start;
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(nul);
  return elapsed;
}

}  // namespace

int main() {
  const std::string folder = ProgramFolder();
  std::vector<double> program, standIn;
  for (int i = 0; i < 11; ++i) {
    program.push_back(StartProgram(folder + "ipsettings.exe"));
    standIn.push_back(RunStandInAlone(folder + "ipconfig.exe"));
  }
  std::printf("start-up: main window visible and filled after %.0f ms; the stand-in ipconfig /all alone "
              "takes %.0f ms (medians of 11)\n",
              Median(program) * 1e3, Median(standIn) * 1e3);
  return 0;
}
