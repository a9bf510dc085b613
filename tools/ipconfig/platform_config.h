// This machine's configuration, read from the IP Helper API into the classic report's
// form, and the conversion of the system's answers on its own, so that answers made
// by hand go through exactly what the system's go through.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstddef>
#include <ctime>

#include "tools/ipconfig/classic_report.h"

constexpr int MAX_ADAPTERS = 32;

struct PlatformConfig {
  HostConfig host;
  int adapterCount;
  AdapterConfig adapters[MAX_ADAPTERS];
};

// What GetNetworkParams and GetAdaptersInfo gave, with GetAdaptersAddresses' list for
// the connection names and link states (null where the system lacks it, before XP).
// Connected adapters come first, each group in the system's order.
void ConvertConfig(const FIXED_INFO& host, const IP_ADAPTER_INFO* adapters,
                   const IP_ADAPTER_ADDRESSES* connections, PlatformConfig& config);

// Fills config; false (with the platform's error code in *error) when the platform
// would not give its configuration.
bool ReadPlatformConfig(PlatformConfig& config, DWORD* error);

// A lease time as the locale writes a long date and a time, in local time, in the
// system's ANSI code page whatever the locale's own; empty for 0.
void FormatLeaseTime(time_t when, LCID locale, char* text, std::size_t size);
