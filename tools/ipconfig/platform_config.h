// Reads this machine's configuration from iphlpapi into the classic report's form.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "tools/ipconfig/classic_report.h"

constexpr int MAX_ADAPTERS = 32;

struct PlatformConfig {
  HostConfig host;
  int adapterCount;
  AdapterConfig adapters[MAX_ADAPTERS];
  DWORD indexes[MAX_ADAPTERS];  // each adapter's interface index, for renew and release
};

// Fills config; false (with the platform's error code in *error) when the platform
// would not give its configuration.
bool ReadPlatformConfig(PlatformConfig& config, DWORD* error);
