// Measures the command runner under wine64 against the stand-in ipconfig:
//  - how quickly a window of the waiting thread answers a message sent from another
//    thread while a 2-second child runs;
//  - what capturing 1 MiB costs next to the same child writing to NUL;
//  - how much processor time the busy poll takes while a silent child runs for 2 s.
// The stand-in prints a stored report for "/all" and waits for a hold file to exist
// before it ends; a thread creates that file after 2 s.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "runner/run_captured.h"
#include "runner/text_area.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

// From now on each "ipconfig /all" is silent and lasts about 2 s.
void SilentTwoSecondChildren() {
  SetEnvironmentVariableA("IPCONFIG_STANDIN_REPORT", nullptr);
  static char hold[MAX_PATH];
  GetTempPathA(sizeof hold, hold);
  lstrcatA(hold, "runner-bench-hold");
  SetEnvironmentVariableA("IPCONFIG_STANDIN_HOLD", hold);
}

// Runs the command while a thread lets the held child end after 2 s.
void RunHeldTwoSeconds(const char* commandLine, char* area) {
  char hold[MAX_PATH];
  GetEnvironmentVariableA("IPCONFIG_STANDIN_HOLD", hold, sizeof hold);
  DeleteFileA(hold);
  HANDLE releaser = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        Sleep(2000);
        char path[MAX_PATH];
        GetEnvironmentVariableA("IPCONFIG_STANDIN_HOLD", path, sizeof path);
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        return 0;
      },
      nullptr, 0, nullptr);
  RunCaptured(commandLine, area, TEXT_AREA_SIZE);
  WaitForSingleObject(releaser, INFINITE);
  CloseHandle(releaser);
}

HWND target;
volatile LONG running;
std::vector<double> roundTrips;

DWORD WINAPI SendLoop(LPVOID) {
  while (running) {
    LARGE_INTEGER before = Now();
    SendMessageA(target, WM_APP, 0, 0);
    roundTrips.push_back(Seconds(before, Now()) * 1e6);
    Sleep(1);
  }
  return 0;
}

LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

void Responsiveness() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = Answer;
  windowClass.lpszClassName = "RunnerBench";
  RegisterClassA(&windowClass);
  target = CreateWindowA("RunnerBench", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  SilentTwoSecondChildren();
  static char area[TEXT_AREA_SIZE];
  for (int round = 0; round < 3 || roundTrips.size() < 1000; ++round) {
    running = 1;
    HANDLE sender = CreateThread(nullptr, 0, SendLoop, nullptr, 0, nullptr);
    RunHeldTwoSeconds("ipconfig /all", area);
    running = 0;
    MSG message;
    while (WaitForSingleObject(sender, 0) == WAIT_TIMEOUT)  // answer the last send
      if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    CloseHandle(sender);
  }
  std::printf(
      "responsiveness: %zu messages sent during 2 s children: median %.0f us, p99 %.0f us\n",
      roundTrips.size(), Percentile(roundTrips, 0.5), Percentile(roundTrips, 0.99));
}

// Starts the stand-in with its output going to output (inherited).
PROCESS_INFORMATION StartChild(HANDLE output) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  PROCESS_INFORMATION child = {};
  char commandLine[] = "ipconfig /all";
  CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr,
                 &startup, &child);
  return child;
}

double WaitAndClose(PROCESS_INFORMATION child, LARGE_INTEGER started) {
  WaitForSingleObject(child.hProcess, INFINITE);
  const double elapsed = Seconds(started, Now());
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  return elapsed;
}

// The child's own time, its output going nowhere.
double ChildAloneToNul() {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE nul =
      CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr);
  const LARGE_INTEGER before = Now();
  const double elapsed = WaitAndClose(StartChild(nul), before);
  CloseHandle(nul);
  return elapsed;
}

// The same child read the plainest way: blocking 8 KiB reads until the pipe ends.
double BlockingReadFloor() {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  CreatePipe(&readEnd, &writeEnd, &inheritable, PIPE_CHUNK_SIZE);
  const LARGE_INTEGER before = Now();
  const PROCESS_INFORMATION child = StartChild(writeEnd);
  CloseHandle(writeEnd);
  static char chunk[PIPE_CHUNK_SIZE];
  DWORD read = 0;
  while (ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr) && read > 0) {
  }
  const double elapsed = WaitAndClose(child, before);
  CloseHandle(readEnd);
  return elapsed;
}

void CaptureCost() {
  char report[MAX_PATH];  // 1 MiB of text
  GetTempPathA(sizeof report, report);
  lstrcatA(report, "runner-bench-report");
  HANDLE file = CreateFileA(report, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  static char text[1 << 20];
  for (std::size_t i = 0; i < sizeof text; ++i)
    text[i] = static_cast<char>(i % 64 == 63 ? '\n' : 'A' + i % 26);
  DWORD written = 0;
  WriteFile(file, text, sizeof text, &written, nullptr);
  CloseHandle(file);
  SetEnvironmentVariableA("IPCONFIG_STANDIN_REPORT", report);
  SetEnvironmentVariableA("IPCONFIG_STANDIN_HOLD", nullptr);
  static char area[TEXT_AREA_SIZE];
  std::vector<double> captured;
  std::vector<double> alone;
  std::vector<double> floor;
  for (int i = 0; i < 11; ++i) {
    floor.push_back(BlockingReadFloor());
    LARGE_INTEGER before = Now();
    RunCaptured("ipconfig /all", area, TEXT_AREA_SIZE);
    captured.push_back(Seconds(before, Now()));
    alone.push_back(ChildAloneToNul());
  }
  double c = Percentile(captured, 0.5);
  double a = Percentile(alone, 0.5);
  std::printf(
      "capture cost: 1 MiB child captured %.1f ms, same child to NUL %.1f ms, ratio %.2f "
      "(target at most 1.2), medians of 11\n",
      c * 1e3, a * 1e3, c / a);
  std::printf("capture cost: the same child read with plain blocking reads %.1f ms, ratio %.2f\n",
              Percentile(floor, 0.5) * 1e3, Percentile(floor, 0.5) / a);
}

double ProcessorSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto toSeconds = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           1e7;
  };
  return toSeconds(kernel) + toSeconds(user);
}

void PollCost() {
  SilentTwoSecondChildren();
  static char area[TEXT_AREA_SIZE];
  double processorBefore = ProcessorSeconds();
  LARGE_INTEGER before = Now();
  RunHeldTwoSeconds("ipconfig /all", area);
  double wall = Seconds(before, Now());
  double processor = ProcessorSeconds() - processorBefore;
  std::printf(
      "busy poll: %.2f s of processor time over a %.2f s silent child (%.0f%% of one core)\n",
      processor, wall, 100.0 * processor / wall);
}

}  // namespace

int main() {
  Responsiveness();
  CaptureCost();
  PollCost();
  return 0;
}
