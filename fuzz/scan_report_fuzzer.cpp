// libFuzzer target: any bytes, up to a full text area, scanned into the snapshot from
// a buffer of exactly their length and NUL, so that AddressSanitizer sees any read
// past the end. The first byte picks the adapterCount that the scan goes on from, as
// after a read nested in another; every field must then still end within its width.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/text_area.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ResetSnapshot();
  if (size > 0 && data[0] <= ADAPTER_SLOTS) configSnapshot.adapterCount = *data++, --size;
  std::vector<char> text(data, data + (size < TEXT_AREA_SIZE ? size : TEXT_AREA_SIZE - 1));
  text.push_back('\0');
  ScanReport(text.data());
  if (configSnapshot.adapterCount < 0 || configSnapshot.adapterCount > ADAPTER_SLOTS) std::abort();
  // Host fields, then names and descriptions, then the settings tables, back to back.
  const char* field = reinterpret_cast<const char*>(&configSnapshot.host);
  for (int i = 0; i < HOST_FIELD_COUNT; ++i, field += SHORT_FIELD_SIZE)
    if (std::memchr(field, '\0', SHORT_FIELD_SIZE) == nullptr) std::abort();
  field = reinterpret_cast<const char*>(&configSnapshot.adapters);
  for (int i = 0; i < 2 * ADAPTER_SLOTS; ++i, field += LONG_FIELD_SIZE)
    if (std::memchr(field, '\0', LONG_FIELD_SIZE) == nullptr) std::abort();
  for (int i = 0; i < ADAPTER_SETTING_COUNT * ADAPTER_SLOTS; ++i, field += SHORT_FIELD_SIZE)
    if (std::memchr(field, '\0', SHORT_FIELD_SIZE) == nullptr) std::abort();
  return 0;
}
