// Starts the program from its own folder and arranges its windows for a screenshot:
// places the main window, opens the console beside it showing the full report, and
// prints both windows' rectangles ("main x y w h" and "console x y w h") for the script that crops
// them. With the argument "main", the console stays closed.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "resources/resource_ids.h"

namespace {

HWND mainWindow;
HWND consoleWindow;

// Keeps the windows of the program's own process (its id in process) by their controls.
BOOL CALLBACK Find(HWND window, LPARAM process) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != static_cast<DWORD>(process)) return TRUE;
  if (GetDlgItem(window, IDC_RENEW) != nullptr) mainWindow = window;
  if (GetDlgItem(window, IDC_CONSOLE_OUTPUT) != nullptr && GetDlgItem(window, IDC_RENEW) == nullptr)
    consoleWindow = window;
  return TRUE;
}

void Print(const char* name, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

int main(int argc, char** argv) {
  const bool mainOnly = argc > 1 && std::strcmp(argv[1], "main") == 0;
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  char* folderEnd = std::strrchr(path, '\\');
  if (folderEnd == nullptr) return 1;
  std::strcpy(folderEnd + 1, "ipsettings.exe");
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION program = {};
  if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &program))
    return 1;
  CloseHandle(program.hThread);
  CloseHandle(program.hProcess);
  const LPARAM process = program.dwProcessId;

  for (int i = 0; i < 300 && (mainWindow == nullptr || !IsWindowVisible(mainWindow)); ++i) {
    EnumWindows(Find, process);
    Sleep(100);
  }
  if (mainWindow == nullptr) return 1;
  SetWindowPos(mainWindow, nullptr, 16, 16, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  if (mainOnly) {
    Sleep(1500);
    Print("main", mainWindow);
    return 0;
  }
  PostMessageA(GetDlgItem(mainWindow, IDC_SHOW_CONSOLE), BM_CLICK, 0, 0);
  for (int i = 0; i < 100 && (consoleWindow == nullptr || !IsWindowVisible(consoleWindow)); ++i) {
    EnumWindows(Find, process);
    Sleep(100);
  }
  if (consoleWindow == nullptr) return 1;
  RECT mainRect;
  GetWindowRect(mainWindow, &mainRect);
  SetWindowPos(consoleWindow, nullptr, mainRect.right + 16, 16, 560, mainRect.bottom - mainRect.top,
               SWP_NOZORDER);
  PostMessageA(consoleWindow, WM_COMMAND, MAKEWPARAM(IDM_SHOW_ALL, 0), 0);
  Sleep(3000);
  Print("main", mainWindow);
  Print("console", consoleWindow);
  return 0;
}
