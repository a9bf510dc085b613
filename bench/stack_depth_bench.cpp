// Measures how much of the program's 1 MiB stack is left at the deepest chain of nested
// commands that its bound allows. The deepest level is a press whose refresh's report is
// running: the press's 32 KiB area, the report's 32 KiB area and the runner's 8 KiB chunk,
// with the dispatch between them. So renew all is pressed again inside each refresh's
// report until a press does nothing; then the program's thread is held and its stack read.
//
// Usage: stack-depth-bench FOLDER, where FOLDER holds ipsettings.exe, 32-bit or 64-bit, and
// a copy of this program named ipconfig.exe. As ipconfig.exe it stands in for the
// system's: it logs its start, "/all" waits until the release file exists, and every
// command prints nothing.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

std::string Env(const char* name) {
  char value[MAX_PATH] = "";
  GetEnvironmentVariableA(name, value, sizeof value);
  return value;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int StandIn() {
  const HANDLE log =
      CreateFileA(Env("STACK_BENCH_LOG").c_str(), FILE_APPEND_DATA,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(log, "+", 1, &written, nullptr);
  CloseHandle(log);
  if (std::strstr(GetCommandLineA(), "/all") != nullptr)
    while (!Exists(Env("STACK_BENCH_RELEASE"))) Sleep(5);
  return 0;
}

DWORD Logged(const std::string& log) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  return GetFileAttributesExA(log.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

// Waits up to a few seconds for the log to reach count starts.
bool WaitForStarts(const std::string& log, DWORD count) {
  for (int polls = 0; polls < 300; ++polls) {
    if (Logged(log) >= count) return true;
    Sleep(10);
  }
  return false;
}

HWND mainWindow;
BOOL CALLBACK TakeMain(HWND window, LPARAM) {
  if (GetDlgItem(window, IDC_ADAPTER_LIST) != nullptr) mainWindow = window;
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (lstrcmpiA(std::strrchr(self, '\\') + 1, "ipconfig.exe") == 0) return StandIn();
  if (argc < 2) return 2;
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string log = std::string(temp) + "stack-bench.log";
  const std::string release = std::string(temp) + "stack-bench.release";
  DeleteFileA(log.c_str());
  CloseHandle(CreateFileA(release.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  SetEnvironmentVariableA("STACK_BENCH_LOG", log.c_str());
  SetEnvironmentVariableA("STACK_BENCH_RELEASE", release.c_str());

  std::string commandLine = std::string(argv[1]) + "\\ipsettings.exe";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION program = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, argv[1],
                      &startup, &program))
    return 1;
  WaitForStarts(log, 1);
  for (int polls = 0; polls < 500 && (mainWindow == nullptr || !IsWindowVisible(mainWindow));
       ++polls) {
    EnumThreadWindows(program.dwThreadId, TakeMain, 0);
    Sleep(10);
  }
  DeleteFileA(release.c_str());

  // Each press runs "/renew", which ends at once, then its refresh's "/all", which waits.
  int levels = 0;
  for (; levels < 12; ++levels) {
    const DWORD before = Logged(log);
    PostMessageA(mainWindow, WM_COMMAND, IDC_RENEW_ALL, 0);
    if (!WaitForStarts(log, before + 2)) break;
  }

  SuspendThread(program.hThread);
  DWORD64 pointer = 0;
#if defined(_WIN64)
  WOW64_CONTEXT narrow = {};
  narrow.ContextFlags = WOW64_CONTEXT_CONTROL;
  CONTEXT wide = {};
  wide.ContextFlags = CONTEXT_CONTROL;
  BOOL wow64 = FALSE;
  IsWow64Process(program.hProcess, &wow64);
  if (wow64 && Wow64GetThreadContext(program.hThread, &narrow)) pointer = narrow.Esp;
  if (!wow64 && GetThreadContext(program.hThread, &wide)) pointer = wide.Rsp;
#else
  CONTEXT context = {};
  context.ContextFlags = CONTEXT_CONTROL;
  if (GetThreadContext(program.hThread, &context)) pointer = context.Esp;
#endif
  MEMORY_BASIC_INFORMATION region = {};
  VirtualQueryEx(program.hProcess, reinterpret_cast<void*>(pointer), &region, sizeof region);
  const auto bottom = reinterpret_cast<DWORD64>(region.AllocationBase);
  // The whole reservation, and the lowest byte of it ever written: stack pages start zero.
  DWORD64 top = bottom;
  while (VirtualQueryEx(program.hProcess, reinterpret_cast<void*>(top), &region, sizeof region) &&
         reinterpret_cast<DWORD64>(region.AllocationBase) == bottom)
    top += region.RegionSize;
  std::vector<unsigned char> bytes(static_cast<std::size_t>(pointer - bottom));
  DWORD64 lowest = pointer;
  for (DWORD64 page = bottom; page < pointer; page += 4096) {
    SIZE_T read = 0;
    const SIZE_T size = static_cast<SIZE_T>(pointer - page < 4096 ? pointer - page : 4096);
    if (!ReadProcessMemory(program.hProcess, reinterpret_cast<void*>(page), &bytes[page - bottom],
                           size, &read))
      continue;
    for (SIZE_T i = 0; i < read && lowest == pointer; ++i)
      if (bytes[page - bottom + i] != 0) lowest = page + i;
    if (lowest != pointer) break;
  }
  ResumeThread(program.hThread);

  std::printf("stack depth: %d commands in flight (the press after them did nothing)\n", levels);
  std::printf(
      "stack depth: reservation %llu KiB; in use at the held thread %llu KiB; "
      "deepest byte written %llu KiB from the top\n",
      (top - bottom) / 1024, (top - pointer) / 1024, (top - lowest) / 1024);
  std::printf("stack depth: left below the deepest byte written: %llu KiB\n",
              (lowest - bottom) / 1024);

  CloseHandle(CreateFileA(release.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  PostMessageA(mainWindow, WM_CLOSE, 0, 0);
  WaitForSingleObject(program.hProcess, 60000);
  CloseHandle(program.hProcess);
  CloseHandle(program.hThread);
  DeleteFileA(release.c_str());
  return 0;
}
