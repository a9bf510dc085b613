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

namespace {

// IP Helper loads the DHCP client's DLLs by name, from Vista on only at the first renewal
// or release, and a load by name looks in the tool's own folder first. Where the system
// can, every later load by name looks in the system folder alone; elsewhere those DLLs are
// loaded now from there and kept, and a load by name then gets the module already loaded.
void LoadDllsFromTheSystemFolderOnly() {
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDirectories =
      Lookup<SetDefaultDirectories>(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
  if (setDefaultDirectories != nullptr && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
    return;
  LoadSystemLibrary("dhcpcsvc.dll");
  LoadSystemLibrary("dhcpcsvc6.dll");  // from Vista on
}

}  // namespace

bool LoadPlatformFunctions() {
  LoadDllsFromTheSystemFolderOnly();
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
  platform.getBestInterface = Lookup<decltype(&GetBestInterface)>(ipHelper, "GetBestInterface");
  return platform.getNetworkParams && platform.getAdaptersInfo && platform.getIfEntry &&
         platform.getInterfaceInfo && platform.ipRenewAddress && platform.ipReleaseAddress &&
         platform.systemTimeToTzSpecificLocalTime;
}
