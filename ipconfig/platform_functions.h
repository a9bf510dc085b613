// The functions of Windows 2000 and later that the tool calls, looked up when it starts
// rather than imported: Windows NT 4.0 has no IP Helper, and its loader would refuse to
// start a program that imports one function it lacks.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

struct PlatformFunctions {
  decltype(&GetNetworkParams) getNetworkParams;
  decltype(&GetAdaptersInfo) getAdaptersInfo;
  decltype(&GetIfEntry) getIfEntry;
  decltype(&GetInterfaceInfo) getInterfaceInfo;
  decltype(&IpRenewAddress) ipRenewAddress;
  decltype(&IpReleaseAddress) ipReleaseAddress;
  decltype(&SystemTimeToTzSpecificLocalTime) systemTimeToTzSpecificLocalTime;
  decltype(&GetAdaptersAddresses) getAdaptersAddresses;  // from XP on; null before
};

extern PlatformFunctions platform;

// Fills platform; false when IP Helper, or a function the tool cannot do without, is
// missing.
bool LoadPlatformFunctions();

// A function that not every system has, looked up by name; null where it is missing.
template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
