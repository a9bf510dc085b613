// A stand-in for ipconfig in the Windows tests, steered by the inherited environment:
//   IPCONFIG_STANDIN_LOG        append the command line to this file, one a line
//   IPCONFIG_STANDIN_REPORT     "/all" prints this file's bytes
//   IPCONFIG_STANDIN_HOLD       after printing, wait until this file exists
//   IPCONFIG_STANDIN_DONE       write this process's id to this file just before ending
// Any other command than "/all" prints its own command line, " with a console" where it
// has one, and CR LF, and ends with 7, so that a caller's exit code shows whose it is.
#include <windows.h>

#include <share.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

char buffer[2 << 20];

// Each file its own while open, another stand-in waiting: the C library appends by finding
// the end and then writing there, so two logging at once could write one line over another.
std::FILE* Open(const char* variable, const char* mode) {
  std::FILE* file = nullptr;
  while (std::getenv(variable) && !(file = _fsopen(std::getenv(variable), mode, _SH_DENYRW)) &&
         GetLastError() == ERROR_SHARING_VIOLATION)
    Sleep(1);
  return file;
}

void Write(const char* bytes, std::size_t length) {  // a blocking pipe takes all at once
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes, static_cast<DWORD>(length), &written, nullptr);
}

}  // namespace

int main() {
  const char* commandLine = GetCommandLineA();
  const char* arguments = std::strchr(commandLine, ' ') ? std::strchr(commandLine, ' ') + 1 : "";
  if (std::FILE* log = Open("IPCONFIG_STANDIN_LOG", "ab")) {
    std::fprintf(log, "%s\n", commandLine);
    std::fclose(log);
  }
  const bool all = std::strcmp(arguments, "/all") == 0;
  if (!all) {
    Write(commandLine, std::strlen(commandLine));
    if (GetConsoleWindow() != nullptr) Write(" with a console", 15);
    Write("\r\n", 2);
  } else if (std::FILE* report = Open("IPCONFIG_STANDIN_REPORT", "rb")) {
    Write(buffer, std::fread(buffer, 1, sizeof buffer, report));
    std::fclose(report);
  }
  if (const char* hold = std::getenv("IPCONFIG_STANDIN_HOLD"))
    while (GetFileAttributesA(hold) == INVALID_FILE_ATTRIBUTES) Sleep(5);
  if (std::FILE* done = Open("IPCONFIG_STANDIN_DONE", "wb")) {
    std::fprintf(done, "%lu", GetCurrentProcessId());
    std::fclose(done);
  }
  return all ? 0 : 7;
}
