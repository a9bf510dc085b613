// libFuzzer target: any bytes, up to a full text area, scanned into the snapshot.
// The text lies in a buffer of exactly its length and NUL, so AddressSanitizer sees
// any read past the terminator; the first byte picks the adapterCount the scan
// starts from, as a scan continuing an earlier one would.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/text_area.h"

namespace {

void CheckTerminated(const char* field, std::size_t width) {
  if (std::memchr(field, '\0', width) == nullptr) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int startCount = 0;
  if (size > 0 && data[0] < ADAPTER_SLOTS + 1) {
    startCount = data[0];
    ++data;
    --size;
  }
  if (size > TEXT_AREA_SIZE - 1) size = TEXT_AREA_SIZE - 1;
  std::vector<char> text(data, data + size);
  text.push_back('\0');

  ResetSnapshot();
  configSnapshot.adapterCount = startCount;
  ScanReport(text.data());

  if (configSnapshot.adapterCount < 0 || configSnapshot.adapterCount > ADAPTER_SLOTS) std::abort();
  for (const char* field : hostFields) CheckTerminated(field, SHORT_FIELD_SIZE);
  for (int slot = 0; slot < ADAPTER_SLOTS; ++slot) {
    CheckTerminated(configSnapshot.adapters.name[slot], LONG_FIELD_SIZE);
    CheckTerminated(configSnapshot.adapters.description[slot], LONG_FIELD_SIZE);
    for (auto table : adapterSettings) CheckTerminated(table[slot], SHORT_FIELD_SIZE);
  }
  return 0;
}
