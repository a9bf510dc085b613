// libFuzzer target: any bytes, up to a full text area, scanned from a buffer of their
// exact length and a NUL (AddressSanitizer sees a read past the end), going on from the
// adapterCount that a first byte up to 4 picks; every field must end within its width.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/text_area.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ResetSnapshot();
  const bool goOn = size > 0 && data[0] <= ADAPTER_SLOTS;
  configSnapshot.adapterCount = goOn ? data[0] : 0;
  std::vector<char> text(data + goOn, data + std::min<std::size_t>(size, TEXT_AREA_SIZE - 1));
  text.push_back('\0');
  ScanReport(text.data());
  if (configSnapshot.adapterCount < 0 || configSnapshot.adapterCount > ADAPTER_SLOTS) std::abort();
  const auto ends = [](const char* field, std::size_t width) {
    if (!std::memchr(field, '\0', width)) std::abort();
  };
  for (const char* field : hostFields) ends(field, SHORT_FIELD_SIZE);
  for (int slot = 0; slot < ADAPTER_SLOTS; ++slot) {
    ends(configSnapshot.adapters.name[slot], LONG_FIELD_SIZE);
    ends(configSnapshot.adapters.description[slot], LONG_FIELD_SIZE);
    for (const auto table : adapterSettings) ends(table[slot], SHORT_FIELD_SIZE);
  }
  return 0;
}
