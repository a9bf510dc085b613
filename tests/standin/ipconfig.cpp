// A stand-in for ipconfig in the Windows tests. It logs the command line it was
// started with and prints what the environment asks for:
//   IPCONFIG_STANDIN_LOG     file to which each command line is appended, one a line
//   IPCONFIG_STANDIN_REPORT  file whose bytes "/all" prints
//   IPCONFIG_STANDIN_OUTPUT  file whose bytes any other command prints
//                            (unset: the command line itself and CR LF)
//   IPCONFIG_STANDIN_BYTES   print this many pattern bytes instead of any file
//   IPCONFIG_STANDIN_DELAY_MS  sleep this long before the output and again halfway
//   IPCONFIG_STANDIN_SLOW_ALL_ONLY  when set, only "/all" sleeps
//   IPCONFIG_STANDIN_HOLD    do not end until this file exists
//   IPCONFIG_STANDIN_DONE    file created just before the stand-in ends
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return (value != nullptr && *value != '\0') ? value : nullptr;
}

// What follows the program name on the command line, quotes and all.
const char* Arguments(const char* commandLine) {
  const char* p = commandLine;
  bool quoted = false;
  for (; *p != '\0'; ++p) {
    if (*p == '"') quoted = !quoted;
    if (*p == ' ' && !quoted) break;
  }
  while (*p == ' ') ++p;
  return p;
}

void Write(const char* bytes, DWORD length) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  while (length > 0) {
    DWORD written = 0;
    if (!WriteFile(out, bytes, length, &written, nullptr) || written == 0) return;
    bytes += written;
    length -= written;
  }
}

bool slow = true;

void Pause() {
  const char* delay = Env("IPCONFIG_STANDIN_DELAY_MS");
  if (slow && delay != nullptr) Sleep(std::atoi(delay));
}

void WriteFileContents(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return;
  static char buffer[1 << 20];
  std::size_t length = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  Write(buffer, static_cast<DWORD>(length / 2));
  Pause();
  Write(buffer + length / 2, static_cast<DWORD>(length - length / 2));
}

// Writes count bytes of the alphabet over and over, pausing halfway.
void WritePattern(long count) {
  static char buffer[65536];
  for (long done = 0; done < count;) {
    if (done == count / 2 && done > 0) Pause();
    long piece = count - done;
    if (done < count / 2 && piece > count / 2 - done) piece = count / 2 - done;
    if (piece > static_cast<long>(sizeof buffer)) piece = sizeof buffer;
    for (long i = 0; i < piece; ++i) buffer[i] = static_cast<char>('A' + (done + i) % 26);
    Write(buffer, static_cast<DWORD>(piece));
    done += piece;
  }
}

}  // namespace

int main() {
  const char* commandLine = GetCommandLineA();
  if (const char* log = Env("IPCONFIG_STANDIN_LOG")) {
    if (std::FILE* file = std::fopen(log, "ab")) {
      std::fprintf(file, "%s\n", commandLine);
      std::fclose(file);
    }
  }
  const char* arguments = Arguments(commandLine);
  slow = !Env("IPCONFIG_STANDIN_SLOW_ALL_ONLY") || std::strcmp(arguments, "/all") == 0;
  Pause();
  if (const char* bytes = Env("IPCONFIG_STANDIN_BYTES")) {
    WritePattern(std::atol(bytes));
  } else if (std::strcmp(arguments, "/all") == 0 && Env("IPCONFIG_STANDIN_REPORT")) {
    WriteFileContents(Env("IPCONFIG_STANDIN_REPORT"));
  } else if (Env("IPCONFIG_STANDIN_OUTPUT")) {
    WriteFileContents(Env("IPCONFIG_STANDIN_OUTPUT"));
  } else if (std::strcmp(arguments, "/all") != 0) {
    Write(commandLine, static_cast<DWORD>(std::strlen(commandLine)));
    Write("\r\n", 2);
  }
  if (const char* hold = Env("IPCONFIG_STANDIN_HOLD")) {
    while (GetFileAttributesA(hold) == INVALID_FILE_ATTRIBUTES) Sleep(10);
  }
  if (const char* done = Env("IPCONFIG_STANDIN_DONE")) {
    if (std::FILE* file = std::fopen(done, "wb")) std::fclose(file);
  }
  return 0;
}
