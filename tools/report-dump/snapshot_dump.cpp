// Prints every field of the snapshot as key=value, one a line, escaping the bytes a
// terminal would hide.
#include "tools/report-dump/snapshot_dump.h"

#include "report/config_snapshot.h"

namespace {

void PrintValue(std::FILE* out, const char* key, const char* value) {
  std::fputs(key, out);
  std::fputc('=', out);
  for (const char* p = value; *p != '\0'; ++p) {
    unsigned char byte = static_cast<unsigned char>(*p);
    if (byte < 0x20 || byte == 0x7F || byte == '\\')
      std::fprintf(out, "\\x%02x", byte);
    else
      std::fputc(byte, out);
  }
  std::fputc('\n', out);
}

const char* const hostKeys[HOST_FIELD_COUNT] = {
    "hostName",         "dnsServers",       "nodeType",       "netbiosScopeId",
    "ipRoutingEnabled", "winsProxyEnabled", "netbiosUsesDns",
};

const char* const settingKeys[ADAPTER_SETTING_COUNT] = {
    "physicalAddress",   "ipAddress",           "subnetMask",    "defaultGateway", "dhcpServer",
    "primaryWinsServer", "secondaryWinsServer", "leaseObtained", "leaseExpires",
};

}  // namespace

void DumpSnapshot(std::FILE* out) {
  for (int i = 0; i < HOST_FIELD_COUNT; ++i) PrintValue(out, hostKeys[i], hostFields[i]);
  std::fprintf(out, "adapterCount=%d\n", static_cast<int>(configSnapshot.adapterCount));
  char key[32];
  for (int slot = 0; slot < ADAPTER_SLOTS; ++slot) {
    std::snprintf(key, sizeof key, "slot%d.name", slot);
    PrintValue(out, key, configSnapshot.adapters.name[slot]);
    std::snprintf(key, sizeof key, "slot%d.description", slot);
    PrintValue(out, key, configSnapshot.adapters.description[slot]);
    for (int i = 0; i < ADAPTER_SETTING_COUNT; ++i) {
      std::snprintf(key, sizeof key, "slot%d.%s", slot, settingKeys[i]);
      PrintValue(out, key, adapterSettings[i][slot]);
    }
  }
}
