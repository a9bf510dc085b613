// The folder of the running program, with its trailing separator: the test
// programs, the stand-in and the program under test are built side by side.
#pragma once

#include <windows.h>

#include <string>

inline std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  folder.erase(folder.find_last_of("\\/") + 1);
  return folder;
}
