// Shared by the Windows tests: files, the stand-in ipconfig (steered through the
// environment its children inherit, see tests/standin/), and a way to act from
// inside the runner's message pump.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

using Texts = std::vector<std::string>;

inline void SetEnv(const char* name, const std::string& value) {
  SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

inline std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.erase(folder.find_last_of("\\/") + 1);
}

// A path in the temporary folder, unique to this process, removed first.
inline std::string TempFile(const std::string& name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string path = folder + ("ipstest-" + std::to_string(GetCurrentProcessId()) + "-" + name);
  DeleteFileA(path.c_str());
  return path;
}

inline std::string Fixture(const char* name) { return "Z:" SOURCE_DIR "/tests/report/fixtures/" + std::string(name); }

inline std::string ReadFileText(const std::string& path) {
  std::string text;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  char chunk[4096];
  DWORD read = 0;
  while (file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
    text.append(chunk, read);
  CloseHandle(file);
  return text;
}

inline void WriteFileText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// Runs action from the next message pump that dispatches posted messages: the
// runner's, while the command it waits for still runs.
inline void DuringNextPump(std::function<void()> action) {
  static std::function<void()> pending;
  static const HWND window = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = [](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == WM_APP && pending) std::exchange(pending, nullptr)();
      return DefWindowProcA(w, message, wParam, lParam);
    };
    windowClass.lpszClassName = "IpsTestPump";
    RegisterClassA(&windowClass);
    return CreateWindowA("IpsTestPump", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }();
  pending = std::move(action);
  PostMessageA(window, WM_APP, 0, 0);
}

// From now on the stand-in waits, after printing, until Release(); with only, just
// the command with those arguments waits.
inline std::string Hold(const std::string& only = "") {
  static int holds = 0;
  const std::string hold = TempFile("hold" + std::to_string(++holds));
  SetEnv("IPCONFIG_STANDIN_HOLD", hold);
  SetEnv("IPCONFIG_STANDIN_HOLD_ONLY", only);
  return hold;
}

inline void Release(const std::string& hold) { WriteFileText(hold, ""); }

// Each test starts with a stand-in that logs its command lines to a fresh file and
// otherwise prints its command line and ends at once.
class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"REPORT", "BYTES", "HOLD", "HOLD_ONLY", "DONE"})
      SetEnv(("IPCONFIG_STANDIN_" + std::string(name)).c_str(), "");
    SetEnv("IPCONFIG_STANDIN_LOG", log = TempFile("commands.log"));
  }

  std::vector<std::string> Commands() const {
    std::vector<std::string> lines;
    const std::string text = ReadFileText(log);
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }

  std::string log;
};
