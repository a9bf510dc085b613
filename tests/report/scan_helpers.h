// Helpers shared by the report tests.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"

// Scans text from a buffer of exactly its length and its NUL, so that a read past
// the terminator is caught by AddressSanitizer.
inline void ScanExact(const std::string& text) {
  std::vector<char> exact(text.begin(), text.end());
  exact.push_back('\0');
  ScanReport(exact.data());
}

inline void ResetAndScan(const std::string& text) {
  ResetSnapshot();
  ScanExact(text);
}

// Every field of the snapshot holds a NUL within its width.
inline bool EveryFieldTerminated() {
  auto terminated = [](const char* field, std::size_t width) {
    return std::memchr(field, '\0', width) != nullptr;
  };
  for (const char* field : hostFields)
    if (!terminated(field, SHORT_FIELD_SIZE)) return false;
  for (int slot = 0; slot < ADAPTER_SLOTS; ++slot) {
    if (!terminated(configSnapshot.adapters.name[slot], LONG_FIELD_SIZE)) return false;
    if (!terminated(configSnapshot.adapters.description[slot], LONG_FIELD_SIZE)) return false;
    for (auto table : adapterSettings)
      if (!terminated(table[slot], SHORT_FIELD_SIZE)) return false;
  }
  return true;
}
