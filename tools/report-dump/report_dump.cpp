// report-dump FILE: shows what the program reads from a stored "ipconfig /all"
// report. It scans the file's first 32,767 bytes into an empty snapshot and prints
// every field as key=value, one a line, escaping the bytes a terminal would hide.
#include <cstdio>
#include <iterator>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/text_area.h"

namespace {

void PrintValue(const char* key, const char* value) {
  std::fputs(key, stdout);
  std::fputc('=', stdout);
  for (const char* p = value; *p != '\0'; ++p) {
    unsigned char byte = static_cast<unsigned char>(*p);
    if (byte < 0x20 || byte == 0x7F || byte == '\\')
      std::printf("\\x%02x", byte);
    else
      std::fputc(byte, stdout);
  }
  std::fputc('\n', stdout);
}

const char* const hostKeys[HOST_FIELD_COUNT] = {
    "hostName",         "dnsServers",       "nodeType",       "netbiosScopeId",
    "ipRoutingEnabled", "winsProxyEnabled", "netbiosUsesDns",
};

const char* const settingKeys[ADAPTER_SETTING_COUNT] = {
    "physicalAddress",   "ipAddress",           "subnetMask",    "defaultGateway", "dhcpServer",
    "primaryWinsServer", "secondaryWinsServer", "leaseObtained", "leaseExpires",
};

void PrintSnapshot() {
  for (int i = 0; i < HOST_FIELD_COUNT; ++i) PrintValue(hostKeys[i], hostFields[i]);
  std::printf("adapterCount=%d\n", static_cast<int>(configSnapshot.adapterCount));
  char key[32];
  for (int slot = 0; slot < ADAPTER_SLOTS; ++slot) {
    std::snprintf(key, sizeof key, "slot%d.name", slot);
    PrintValue(key, configSnapshot.adapters.name[slot]);
    std::snprintf(key, sizeof key, "slot%d.description", slot);
    PrintValue(key, configSnapshot.adapters.description[slot]);
    for (int i = 0; i < ADAPTER_SETTING_COUNT; ++i) {
      std::snprintf(key, sizeof key, "slot%d.%s", slot, settingKeys[i]);
      PrintValue(key, adapterSettings[i][slot]);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: report-dump FILE\n");
    return 2;
  }
  static char area[TEXT_AREA_SIZE];
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "report-dump: cannot read %s\n", argv[1]);
    return 2;
  }
  std::size_t length = std::fread(area, 1, sizeof area - 1, file);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    std::fprintf(stderr, "report-dump: cannot read %s\n", argv[1]);
    return 2;
  }
  area[length] = '\0';
  ResetSnapshot();
  ScanReport(area);
  PrintSnapshot();
  return 0;
}
