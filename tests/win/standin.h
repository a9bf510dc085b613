// Helpers for the Windows tests: steering the stand-in ipconfig through the
// environment its children inherit, temporary files, and a window to post to.
#pragma once

#include <windows.h>

#include <string>

inline void SetEnv(const char* name, const std::string& value) {
  SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

inline void ClearStandin() {
  for (const char* name :
       {"IPCONFIG_STANDIN_LOG", "IPCONFIG_STANDIN_REPORT", "IPCONFIG_STANDIN_OUTPUT",
        "IPCONFIG_STANDIN_BYTES", "IPCONFIG_STANDIN_DELAY_MS", "IPCONFIG_STANDIN_HOLD",
        "IPCONFIG_STANDIN_DONE", "IPCONFIG_STANDIN_SLOW_ALL_ONLY"})
    SetEnvironmentVariableA(name, nullptr);
}

// A path in the temporary folder, unique to this process, removed first.
inline std::string TempFile(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  std::string path = std::string(folder) + "ipstest-" + std::to_string(GetCurrentProcessId()) +
                     "-" + name;
  DeleteFileA(path.c_str());
  return path;
}

inline std::string Fixture(const char* name) {
  return std::string("Z:" SOURCE_DIR "/tests/report/fixtures/") + name;
}

inline std::string ReadFileText(const std::string& path) {
  std::string text;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

inline void WriteFileText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// Logs every command line the stand-in runs, in a fresh file.
inline std::string StartCommandLog() {
  std::string log = TempFile("commands.log");
  SetEnv("IPCONFIG_STANDIN_LOG", log);
  return log;
}

// A message-only window of this thread whose messages go to procedure.
inline HWND CreateTestWindow(WNDPROC procedure) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "IpsTestWindow";
  RegisterClassA(&windowClass);
  return CreateWindowA("IpsTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                       windowClass.hInstance, nullptr);
}
