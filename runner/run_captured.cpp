#include "runner/run_captured.h"

#include <windows.h>

#include <cstring>

#include "runner/text_area.h"

#if !defined(_WIN64)
static_assert(sizeof(STARTUPINFOA) == 68, "start-up information of a 32-bit program");
static_assert(sizeof(SECURITY_ATTRIBUTES) == 12, "security attributes of a 32-bit program");
#endif

namespace {

int commandsInFlight = 0;

// CreateProcessA may write to its command line. Nothing is pumped while it runs, so
// one copy serves every nesting level.
char commandCopy[TEXT_AREA_SIZE];

// Reads what the pipe holds now (up to one chunk) and appends what the limit still
// allows. Returns the number of bytes taken from the pipe.
DWORD TakeWaitingOutput(HANDLE readEnd, char* destination, std::int32_t& remaining) {
  DWORD waiting = 0;
  if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr) || waiting == 0) return 0;
  char chunk[PIPE_CHUNK_SIZE];
  DWORD read = 0;
  if (!ReadFile(readEnd, chunk, waiting < sizeof chunk ? waiting : sizeof chunk, &read, nullptr))
    return 0;
  std::int32_t kept = static_cast<std::int32_t>(read);
  if (kept > remaining) kept = remaining;
  std::memcpy(destination, chunk, static_cast<std::size_t>(kept));
  remaining -= kept;
  return read;
}

// True while a quit request waits in this thread's queue for the main loop: the
// process is ending, so every run still waiting returns at once and no further
// child is started. The queue is the only record of it, so nothing outlives the
// request once the main loop has taken it.
bool QuitPending() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

// Dispatches every waiting message. A quit request is posted again for the main
// loop, and false tells the caller to stop waiting.
bool PumpWaitingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    if (got < 0) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    if (QuitPending()) return false;  // that dispatch, or a run nested in it, met one
  }
  return true;
}

}  // namespace

bool MayStartCommand() { return !QuitPending() && commandsInFlight < MAX_COMMANDS_IN_FLIGHT; }

void RunCaptured(const char* commandLine, char* area, std::int32_t limit) {
  if (limit <= 0) return;
  std::int32_t remaining = limit - 1;  // the NUL must fit inside the area
  std::int32_t collected = 0;
  // Counted before the look at the queue, which may run a press sent meanwhile: that
  // press sees this run and keeps to the bound.
  ++commandsInFlight;
  if (QuitPending()) {
    area[0] = '\0';
    --commandsInFlight;
    return;
  }

  SECURITY_ATTRIBUTES inheritable = {};
  inheritable.nLength = sizeof inheritable;
  inheritable.bInheritHandle = TRUE;
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  const bool havePipe = CreatePipe(&readEnd, &writeEnd, &inheritable, PIPE_CHUNK_SIZE) != 0;

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = havePipe ? writeEnd : nullptr;

  std::strncpy(commandCopy, commandLine, sizeof commandCopy - 1);
  commandCopy[sizeof commandCopy - 1] = '\0';

  PROCESS_INFORMATION child = {};
  if (CreateProcessA(nullptr, commandCopy, &inheritable, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                     nullptr, &startup, &child)) {
    CloseHandle(child.hThread);
    // Poll until the child has ended and nothing more is waiting in the pipe, so the
    // output written just before the end is kept too.
    for (;;) {
      const bool ended = WaitForSingleObject(child.hProcess, 0) != WAIT_TIMEOUT;
      const DWORD taken = havePipe ? TakeWaitingOutput(readEnd, area + collected, remaining) : 0;
      collected = (limit - 1) - remaining;
      if (ended && taken == 0) break;
      if (!PumpWaitingMessages()) break;
    }
    CloseHandle(child.hProcess);
  }

  if (havePipe) {
    CloseHandle(writeEnd);
    CloseHandle(readEnd);
  }
  area[collected] = '\0';
  --commandsInFlight;
}
