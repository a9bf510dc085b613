// The functions of Windows 2000 and later that the tool calls, looked up when it starts
// rather than imported: Windows NT 4.0 lacks some of them (IP Helper came with its later
// service packs, and only in part), and its loader would refuse to start a program that
// imports one function it lacks.
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
  decltype(&GetBestInterface) getBestInterface;          // from 2000 on; null before
};

extern PlatformFunctions platform;

// Fills platform; false when IP Helper, or a function the tool cannot do without, is
// missing.
bool LoadPlatformFunctions();

// A DLL of the system folder, by its full path, and the DLLs it needs from there too:
// never a file of that name in the tool's folder or the current one, where anybody who
// can write there would have it run, as administrator at the next renewal. Null where
// it is missing.
HMODULE LoadSystemLibrary(const char* name);

// A function that not every system has, looked up by name; null where it is missing.
template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
