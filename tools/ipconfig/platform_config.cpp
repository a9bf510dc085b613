#include "tools/ipconfig/platform_config.h"

#include <winsock2.h>  // before iphlpapi.h, for IP_ADAPTER_ADDRESSES
#include <iphlpapi.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

const char* NodeTypeName(UINT type) {
  switch (type) {
    case BROADCAST_NODETYPE: return "Broadcast";
    case PEER_TO_PEER_NODETYPE: return "Peer-Peer";
    case MIXED_NODETYPE: return "Mixed";
    case HYBRID_NODETYPE: return "Hybrid";
    default: return "Unknown";
  }
}

bool ReadHost(HostConfig& host, DWORD* error) {
  static unsigned char buffer[1 << 16];
  ULONG size = sizeof buffer;
  FIXED_INFO* info = reinterpret_cast<FIXED_INFO*>(buffer);
  *error = GetNetworkParams(info, &size);
  if (*error != ERROR_SUCCESS) return false;
  CopyClean(host.hostName, sizeof host.hostName, info->HostName);
  CopyClean(host.primaryDnsSuffix, sizeof host.primaryDnsSuffix, info->DomainName);
  CopyClean(host.nodeType, sizeof host.nodeType, NodeTypeName(info->NodeType));
  CopyClean(host.scopeId, sizeof host.scopeId, info->ScopeId);
  host.ipRouting = info->EnableRouting != 0;
  host.winsProxy = info->EnableProxy != 0;
  host.netbiosUsesDns = info->EnableDns != 0;
  host.dnsServerCount = 0;
  for (IP_ADDR_STRING* server = &info->DnsServerList;
       server != nullptr && host.dnsServerCount < MAX_LISTED; server = server->Next) {
    if (server->IpAddress.String[0] == '\0') continue;
    CopyClean(host.dnsServers[host.dnsServerCount++], ADDRESS_SIZE, server->IpAddress.String);
  }
  return true;
}

// Connection names ("Local Area Connection") come from GetAdaptersAddresses, which
// systems before XP lack: there the adapter's own name stands in.
void FindConnectionName(const char* adapterName, char* name, std::size_t size) {
  CopyClean(name, size, adapterName);
  using GetAddresses = ULONG(WINAPI*)(ULONG, ULONG, void*, IP_ADAPTER_ADDRESSES*, ULONG*);
  HMODULE library = GetModuleHandleA("iphlpapi.dll");
  auto get = library ? reinterpret_cast<GetAddresses>(
                           reinterpret_cast<void*>(GetProcAddress(library, "GetAdaptersAddresses")))
                     : nullptr;
  if (get == nullptr) return;
  static unsigned char buffer[1 << 18];
  ULONG length = sizeof buffer;
  auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer);
  const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
  if (get(AF_UNSPEC, flags, nullptr, first, &length) != ERROR_SUCCESS) return;
  for (IP_ADAPTER_ADDRESSES* entry = first; entry != nullptr; entry = entry->Next) {
    if (entry->AdapterName == nullptr || std::strcmp(entry->AdapterName, adapterName) != 0)
      continue;
    char friendly[TEXT_SIZE];
    if (entry->FriendlyName != nullptr &&
        WideCharToMultiByte(CP_ACP, 0, entry->FriendlyName, -1, friendly, sizeof friendly, nullptr,
                            nullptr) > 0)
      CopyClean(name, size, friendly);
    return;
  }
}

void FormatLeaseTime(time_t when, char* text, std::size_t size) {
  // time_t counts seconds from 1970; FILETIME counts 100 ns from 1601.
  ULARGE_INTEGER ticks;
  ticks.QuadPart = static_cast<ULONGLONG>(when) * 10000000ULL + 116444736000000000ULL;
  FILETIME utc = {ticks.LowPart, ticks.HighPart};
  FILETIME local;
  SYSTEMTIME time;
  if (when == 0 || !FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) {
    text[0] = '\0';
    return;
  }
  char date[128] = "";
  char clock[64] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof clock);
  std::snprintf(text, size, "%s %s", date, clock);
}

void ReadAdapter(const IP_ADAPTER_INFO& info, const char* kind, AdapterConfig& adapter) {
  adapter = {};
  adapter.kind = kind;
  FindConnectionName(info.AdapterName, adapter.name, sizeof adapter.name);
  CopyClean(adapter.description, sizeof adapter.description, info.Description);
  // "00-0C-F1-11-22-33": three characters a byte, at most eight bytes, fits 64.
  std::size_t at = 0;
  for (UINT i = 0; i < info.AddressLength && i < MAX_ADAPTER_ADDRESS_LENGTH; ++i)
    at += std::snprintf(adapter.physicalAddress + at, sizeof adapter.physicalAddress - at,
                        i == 0 ? "%02X" : "-%02X", info.Address[i]);
  adapter.dhcpEnabled = info.DhcpEnabled != 0;
  for (const IP_ADDR_STRING* entry = &info.IpAddressList;
       entry != nullptr && adapter.addressCount < MAX_LISTED; entry = entry->Next) {
    CopyClean(adapter.addresses[adapter.addressCount], ADDRESS_SIZE, entry->IpAddress.String);
    CopyClean(adapter.masks[adapter.addressCount], ADDRESS_SIZE, entry->IpMask.String);
    ++adapter.addressCount;
  }
  for (const IP_ADDR_STRING* entry = &info.GatewayList;
       entry != nullptr && adapter.gatewayCount < MAX_LISTED; entry = entry->Next) {
    if (entry->IpAddress.String[0] == '\0' || std::strcmp(entry->IpAddress.String, "0.0.0.0") == 0)
      continue;
    CopyClean(adapter.gateways[adapter.gatewayCount++], ADDRESS_SIZE, entry->IpAddress.String);
  }
  CopyClean(adapter.dhcpServer, sizeof adapter.dhcpServer, info.DhcpServer.IpAddress.String);
  if (info.HaveWins) {
    CopyClean(adapter.primaryWinsServer, sizeof adapter.primaryWinsServer,
              info.PrimaryWinsServer.IpAddress.String);
    CopyClean(adapter.secondaryWinsServer, sizeof adapter.secondaryWinsServer,
              info.SecondaryWinsServer.IpAddress.String);
  }
  FormatLeaseTime(info.LeaseObtained, adapter.leaseObtained, sizeof adapter.leaseObtained);
  FormatLeaseTime(info.LeaseExpires, adapter.leaseExpires, sizeof adapter.leaseExpires);
}

}  // namespace

bool ReadPlatformConfig(PlatformConfig& config, DWORD* error) {
  if (!ReadHost(config.host, error)) return false;
  static unsigned char buffer[1 << 18];
  ULONG size = sizeof buffer;
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer);
  config.adapterCount = 0;
  *error = GetAdaptersInfo(first, &size);
  if (*error == ERROR_NO_DATA) return true;  // no adapters at all
  if (*error != ERROR_SUCCESS) return false;
  for (IP_ADAPTER_INFO* info = first; info != nullptr && config.adapterCount < MAX_ADAPTERS;
       info = info->Next) {
    const char* kind = AdapterKind(info->Type);
    if (kind == nullptr) continue;
    ReadAdapter(*info, kind, config.adapters[config.adapterCount]);
    config.indexes[config.adapterCount] = info->Index;
    ++config.adapterCount;
  }
  return true;
}
