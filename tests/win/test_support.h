// Shared by the Windows tests: files, stored texts, processes and waits, and the stand-in
// ipconfig, steered through the environment.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using Texts = std::vector<std::string>;

inline std::string EnvOr(const char* name, const char* otherwise) {
  return std::getenv(name) != nullptr ? std::getenv(name) : otherwise;
}

inline void SetEnv(const std::string& name, const std::string& value) {
  SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

// A path in the temporary folder, unique to this process, removed first.
inline std::string TempFile(const std::string& name) {
  char folder[MAX_PATH];
  const std::string path = std::string(folder, GetTempPathA(sizeof folder, folder)) +
                           std::to_string(GetCurrentProcessId()) + name;
  DeleteFileA(path.c_str());
  return path;
}

inline std::string Fixture(const std::string& name) {
  return "Z:" SOURCE_DIR "/tests/report/fixtures/" + name;
}

inline std::string ReadFileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// Starts commandLine with flags, with output, where given, as its standard output, and the
// program named by application where given.
inline PROCESS_INFORMATION Start(std::string commandLine, DWORD flags, HANDLE output = nullptr,
                                 const char* application = nullptr) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = output ? STARTF_USESTDHANDLES : 0;
  startup.hStdOutput = output;
  PROCESS_INFORMATION started = {};
  EXPECT_TRUE(CreateProcessA(application, &commandLine[0], nullptr, nullptr, output != nullptr,
                             flags, nullptr, nullptr, &startup, &started))
      << commandLine << " did not start: error " << GetLastError();
  return started;
}

inline bool Ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

// Polls until done() holds; else fails, naming what, after a minute or once process has ended.
inline bool WaitUntil(const std::string& what, HANDLE process, const std::function<bool()>& done) {
  for (int polls = 0; polls < 6000; ++polls) {
    const bool ended = process != nullptr && Ended(process);
    if (done()) return true;
    if (ended) break;
    Sleep(10);
  }
  ADD_FAILURE() << "gave up waiting for " << what;
  return false;
}

// Compares text with tests/pinned/SUITE.NAME[VARIANT].txt, named after the running test;
// without a variant the system's error texts, in its language, only by their place.
inline void ExpectPinned(const std::string& text, const std::string& variant = "") {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = test->test_suite_name() + std::string(".") + test->name() + variant;
  const std::string masked =
      std::regex_replace(text, std::regex("(\\(error \\d+\\)): [^\r]+"), "$1: ...");
  EXPECT_EQ(variant.empty() ? masked : text,
            ReadFileText(SOURCE_DIR "/tests/pinned/" + name + ".txt"));
}

// The stand-in, where IPCONFIG_STANDIN_HOLD names hold, goes on once this makes the file.
inline void Release(const std::string& hold) { std::ofstream{hold}; }

// Each test starts with a stand-in that logs its command lines to a fresh file.
struct StandinTest : ::testing::Test {
  void SetUp() override {
    for (const char* name : {"REPORT", "HOLD", "DONE"})
      SetEnv(std::string("IPCONFIG_STANDIN_") + name, "");
    SetEnv("IPCONFIG_STANDIN_LOG", log = TempFile("commands.log"));
  }

  Texts Commands() const {
    std::istringstream text(ReadFileText(log));
    Texts lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  }

  std::string log;
};
