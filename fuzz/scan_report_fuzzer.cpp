// libFuzzer target: any bytes, up to a full text area, scanned from a buffer of their
// exact length and NUL (AddressSanitizer sees a read past the end), going on from the
// adapterCount that a first byte up to 4 picks; every field must end within its width.
#include <cstddef>
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
  const struct {
    std::size_t offset, width, count;
  } tables[] = {{offsetof(ConfigSnapshot, host), SHORT_FIELD_SIZE, HOST_FIELD_COUNT},
                {offsetof(ConfigSnapshot, adapters), LONG_FIELD_SIZE, 2 * ADAPTER_SLOTS},
                {offsetof(ConfigSnapshot, adapters.physicalAddress), SHORT_FIELD_SIZE,
                 ADAPTER_SETTING_COUNT * ADAPTER_SLOTS}};
  for (const auto& table : tables)
    for (std::size_t i = 0; i < table.count; ++i)
      if (!std::memchr(
              reinterpret_cast<const char*>(&configSnapshot) + table.offset + i * table.width, '\0',
              table.width))
        std::abort();
  return 0;
}
