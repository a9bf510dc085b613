// The one record of what the last "ipconfig /all" report said about this machine.
// Every field is a fixed-width, NUL-terminated 8-bit string, kept exactly as the
// report's bytes came (the text may be in a double-byte code page).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int ADAPTER_SLOTS = 4;
constexpr std::size_t SHORT_FIELD_SIZE = 64;  // host fields and the nine adapter settings
constexpr std::size_t LONG_FIELD_SIZE = 256;  // adapter name and description
constexpr int HOST_FIELD_COUNT = 7;
constexpr int ADAPTER_SETTING_COUNT = 9;

struct HostInfo {
  char hostName[SHORT_FIELD_SIZE];
  char dnsServers[SHORT_FIELD_SIZE];
  char nodeType[SHORT_FIELD_SIZE];
  char netbiosScopeId[SHORT_FIELD_SIZE];
  char ipRoutingEnabled[SHORT_FIELD_SIZE];
  char winsProxyEnabled[SHORT_FIELD_SIZE];
  char netbiosUsesDns[SHORT_FIELD_SIZE];
};

// Column-wise: each field is a table indexed by slot number.
struct AdapterRecord {
  char name[ADAPTER_SLOTS][LONG_FIELD_SIZE];  // connection name, blanks stored as '?'
  char description[ADAPTER_SLOTS][LONG_FIELD_SIZE];
  char physicalAddress[ADAPTER_SLOTS][SHORT_FIELD_SIZE];
  char ipAddress[ADAPTER_SLOTS][SHORT_FIELD_SIZE];
  char subnetMask[ADAPTER_SLOTS][SHORT_FIELD_SIZE];
  char defaultGateway[ADAPTER_SLOTS][SHORT_FIELD_SIZE];
  char dhcpServer[ADAPTER_SLOTS][SHORT_FIELD_SIZE];
  char primaryWinsServer[ADAPTER_SLOTS][SHORT_FIELD_SIZE];
  char secondaryWinsServer[ADAPTER_SLOTS][SHORT_FIELD_SIZE];
  char leaseObtained[ADAPTER_SLOTS][SHORT_FIELD_SIZE];
  char leaseExpires[ADAPTER_SLOTS][SHORT_FIELD_SIZE];
};

struct ConfigSnapshot {
  HostInfo host;
  std::int32_t adapterCount;  // slots opened by the last parse, 0 to ADAPTER_SLOTS
  AdapterRecord adapters;
};

static_assert(sizeof(HostInfo) == HOST_FIELD_COUNT * SHORT_FIELD_SIZE, "host fields are packed");
static_assert(offsetof(ConfigSnapshot, adapterCount) == sizeof(HostInfo),
              "count follows host fields");
static_assert(offsetof(ConfigSnapshot, adapters) == sizeof(HostInfo) + 4,
              "tables follow the count");
static_assert(offsetof(AdapterRecord, description) == ADAPTER_SLOTS * LONG_FIELD_SIZE,
              "names first");
static_assert(offsetof(AdapterRecord, physicalAddress) == 2 * ADAPTER_SLOTS * LONG_FIELD_SIZE,
              "then descriptions");
static_assert(sizeof(AdapterRecord) ==
                  ADAPTER_SLOTS * (2 * LONG_FIELD_SIZE + ADAPTER_SETTING_COUNT * SHORT_FIELD_SIZE),
              "then the nine settings tables");
static_assert(sizeof(ConfigSnapshot) == 4804, "the snapshot's layout is fixed");

extern ConfigSnapshot configSnapshot;

// The host fields in the order the main window shows them (controls 130, 132, ... 142).
inline char* const hostFields[HOST_FIELD_COUNT] = {
    configSnapshot.host.hostName,         configSnapshot.host.dnsServers,
    configSnapshot.host.nodeType,         configSnapshot.host.netbiosScopeId,
    configSnapshot.host.ipRoutingEnabled, configSnapshot.host.winsProxyEnabled,
    configSnapshot.host.netbiosUsesDns,
};

// The nine settings tables in the order the main window shows them (controls 146 ... 162).
inline char (*const adapterSettings[ADAPTER_SETTING_COUNT])[SHORT_FIELD_SIZE] = {
    configSnapshot.adapters.physicalAddress,     configSnapshot.adapters.ipAddress,
    configSnapshot.adapters.subnetMask,          configSnapshot.adapters.defaultGateway,
    configSnapshot.adapters.dhcpServer,          configSnapshot.adapters.primaryWinsServer,
    configSnapshot.adapters.secondaryWinsServer, configSnapshot.adapters.leaseObtained,
    configSnapshot.adapters.leaseExpires,
};

// Empties every text and sets adapterCount to 0: host fields first, then the slots
// from the last to the first.
void ResetSnapshot();
