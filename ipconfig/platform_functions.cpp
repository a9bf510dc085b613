#include "ipconfig/platform_functions.h"

PlatformFunctions platform;

HMODULE LoadSystemLibrary(const char* name) {
  char path[MAX_PATH];
  const UINT folder = GetSystemDirectoryA(path, MAX_PATH);
  if (folder == 0 || folder + 1 + lstrlenA(name) >= MAX_PATH) return nullptr;
  lstrcatA(path, "\\");
  lstrcatA(path, name);
  // The altered search looks for the DLL's own imports in its folder first.
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool LoadPlatformFunctions() {
  const HMODULE ipHelper = LoadSystemLibrary("iphlpapi.dll");
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  platform.getNetworkParams = Lookup<decltype(&GetNetworkParams)>(ipHelper, "GetNetworkParams");
  platform.getAdaptersInfo = Lookup<decltype(&GetAdaptersInfo)>(ipHelper, "GetAdaptersInfo");
  platform.getIfEntry = Lookup<decltype(&GetIfEntry)>(ipHelper, "GetIfEntry");
  platform.getInterfaceInfo = Lookup<decltype(&GetInterfaceInfo)>(ipHelper, "GetInterfaceInfo");
  platform.ipRenewAddress = Lookup<decltype(&IpRenewAddress)>(ipHelper, "IpRenewAddress");
  platform.ipReleaseAddress = Lookup<decltype(&IpReleaseAddress)>(ipHelper, "IpReleaseAddress");
  platform.systemTimeToTzSpecificLocalTime =
      Lookup<decltype(&SystemTimeToTzSpecificLocalTime)>(kernel, "SystemTimeToTzSpecificLocalTime");
  platform.getAdaptersAddresses =
      Lookup<decltype(&GetAdaptersAddresses)>(ipHelper, "GetAdaptersAddresses");
  return platform.getNetworkParams && platform.getAdaptersInfo && platform.getIfEntry &&
         platform.getInterfaceInfo && platform.ipRenewAddress && platform.ipReleaseAddress &&
         platform.systemTimeToTzSpecificLocalTime;
}
