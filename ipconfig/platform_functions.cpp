#include "ipconfig/platform_functions.h"

PlatformFunctions platform;

bool LoadPlatformFunctions() {
  const HMODULE ipHelper = LoadLibraryA("iphlpapi.dll");
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
