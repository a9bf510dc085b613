// This machine's configuration, read from the IP Helper API into the classic report's
// form, and the conversion of the system's answers on its own, so that answers made
// by hand go through exactly what the system's go through.
#pragma once

#include <cstddef>
#include <type_traits>

#include "ipconfig/classic_report.h"
#include "ipconfig/platform_functions.h"

// The system's answers are read into buffers of these sizes. Every adapter that the
// adapter buffer can hold has a place in the configuration.
constexpr std::size_t HOST_BUFFER_SIZE = 1 << 15;
constexpr std::size_t ADAPTER_BUFFER_SIZE = 1 << 18;
constexpr std::size_t CONNECTION_BUFFER_SIZE = 1 << 19;
constexpr int MAX_ADAPTERS = ADAPTER_BUFFER_SIZE / sizeof(IP_ADAPTER_INFO);

struct PlatformConfig {
  HostConfig host;
  int adapterCount;
  AdapterConfig adapters[MAX_ADAPTERS];
  bool listsCut;  // some list had more entries than MAX_LISTED
};

// What GetNetworkParams and GetAdaptersInfo gave, with GetAdaptersAddresses' list for
// the connection names and link states (null where the system lacks it, before XP).
// Each adapter is converted once; then the one that carries the default route comes
// first (GetBestInterface for 0.0.0.0, where the system has it), then the others connected
// with a default gateway, then the other connected ones, then the disconnected, each group
// by interface index.
void ConvertConfig(const FIXED_INFO& host, const IP_ADAPTER_INFO* adapters,
                   const IP_ADAPTER_ADDRESSES* connections, PlatformConfig& config);

// Fills config; where the system does not give its configuration, says why in report
// and returns false.
bool ReadPlatformConfig(PlatformConfig& config, ReportText& report);

// A lease time as the system stores it, in seconds since 1970: 4 bytes in the 32-bit
// structures, which count on past 2038 as unsigned.
template <typename Time>
unsigned long long LeaseSeconds(Time when) {
  return static_cast<std::make_unsigned_t<Time>>(when);
}

// A lease time as the locale writes a long date and a time, in local time by the
// rule of daylight saving time of that date, in the system's ANSI code page whatever
// the locale's own; empty for 0.
void FormatLeaseTime(unsigned long long seconds, LCID locale, char* text, std::size_t size);
