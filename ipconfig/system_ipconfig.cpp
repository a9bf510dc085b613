#include "ipconfig/system_ipconfig.h"

#include <windows.h>

#include <cstring>

#include "ipconfig/system_message.h"
#include "ipconfig/typed_command.h"

namespace {

// The same file whatever path or copy of a folder it is reached by: its volume and
// its index on that volume.
bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION& identity) {
  const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(file, &identity) != 0;
  CloseHandle(file);
  return known;
}

bool SameFile(const char* first, const char* second) {
  BY_HANDLE_FILE_INFORMATION a;
  BY_HANDLE_FILE_INFORMATION b;
  if (!FileIdentity(first, a) || !FileIdentity(second, b)) return false;
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

// Whether the tool is attached to a console: only then does the console's screen open.
bool HasConsole() {
  const HANDLE screen =
      CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (screen == INVALID_HANDLE_VALUE) return false;
  CloseHandle(screen);
  return true;
}

// The tool's own path; empty where it is unknown.
const char* OwnPath() {
  static char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) path[0] = '\0';
  return path;
}

}  // namespace

const char* OwnFileName() {
  const char* path = OwnPath();
  const char* name = std::strrchr(path, '\\');
  if (path[0] == '\0') return "ipconfig.exe";
  return name != nullptr ? name + 1 : path;
}

int RunSystemIpconfig(ReportText& report, const char* reason) {
  char system[MAX_PATH];
  const UINT folder = GetSystemDirectoryA(system, MAX_PATH - sizeof "\\ipconfig.exe");
  if (folder == 0 || folder >= MAX_PATH - sizeof "\\ipconfig.exe") {
    Append(report, {"ipconfig: ", reason});
    Line(report, ", and the system folder is unknown.");
    return 1;
  }
  lstrcatA(system, "\\ipconfig.exe");
  if (OwnPath()[0] != '\0' && SameFile(OwnPath(), system)) {
    Append(report, {"ipconfig: ", reason, ", and ", system, " is this tool itself."});
    Line(report, "");
    return 1;
  }
  // The platform takes a command line of at most 32,767 characters with its NUL.
  static char commandLine[32767];
  const char* arguments = TypedArguments(GetCommandLineA(), OwnFileName());
  if (lstrlenA(system) + 3 + lstrlenA(arguments) >= static_cast<int>(sizeof commandLine)) {
    Line(report, "ipconfig: the command line is too long to hand to the system's ipconfig.");
    return 1;
  }
  // A blank after the path: an argument typed right after a quoted path ("x.exe"/all)
  // would otherwise become part of the program's name.
  lstrcpyA(commandLine, "\"");
  lstrcatA(commandLine, system);
  lstrcatA(commandLine, "\" ");
  lstrcatA(commandLine, arguments);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  // The child shares the tool's console, where any of its output may go, even with
  // standard output sent to a file; a tool with none, such as one started hidden, asks
  // for none, so that no console window opens for it.
  const DWORD flags = HasConsole() ? 0 : DETACHED_PROCESS;
  PROCESS_INFORMATION child = {};
  if (!CreateProcessA(system, commandLine, nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                      &startup, &child)) {
    Append(report, {"ipconfig: ", reason, ", and ", system, " did not start"});
    AppendSystemError(report, GetLastError());
    Line(report, "");
    return 1;
  }
  CloseHandle(child.hThread);
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hProcess);
  return static_cast<int>(exitCode);
}
