// libFuzzer target: what the classic ipconfig writes, the program reads back. A
// configuration made from the bytes (host settings, adapters of every kind, connected or
// not, values of every length, names with blanks and double-byte characters but none of
// \ / : * ? " < > |) goes through the tool's report writer, then the program's scanner.
// Every host setting, and every setting of each of the first four Ethernet adapters,
// must come back as written: cut to the snapshot's widths, leading blanks of a value
// dropped, blanks in names as '?', each in its own slot, and the other slots empty.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ipconfig/classic_report.h"
#include "report/config_snapshot.h"
#include "report/report_scanner.h"

namespace {

HostConfig host;
AdapterConfig adapters[8];
ReportText report;

// Up to size - 1 bytes of text as the tool holds it: no control bytes, and none of the
// characters in refused; with digits, only digits and dots, as addresses are written.
std::string Text(FuzzedDataProvider& data, char* field, std::size_t size, const char* refused = "",
                 bool digits = false) {
  std::string text = data.ConsumeRandomLengthString(size - 1);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr(refused, c)) c = '_';
    if (digits) c = "0123456789."[static_cast<unsigned char>(c) % 11];
  }
  std::strcpy(field, text.c_str());
  return text;
}

int Addresses(FuzzedDataProvider& data, char (*list)[ADDRESS_SIZE]) {
  const int count = data.ConsumeIntegralInRange(0, MAX_LISTED);
  for (int i = 0; i < count; ++i) Text(data, list[i], ADDRESS_SIZE, "", true);
  return count;
}

// What the scanner keeps of a value, where the report has it: no leading blanks, at most
// width - 1 bytes.
std::string Kept(const std::string& value, bool written = true,
                 std::size_t width = SHORT_FIELD_SIZE) {
  const std::size_t start = value.find_first_not_of(' ');
  return !written || start == std::string::npos ? "" : value.substr(start, width - 1);
}

void Expect(const char* read, const std::string& written, int slot) {
  if (written == read) return;
  std::fprintf(stderr, "slot %d: read \"%s\", written \"%s\"\n%s", slot, read, written.c_str(),
               report.text);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const char* yesNo[] = {"No", "Yes"};
  const char* kinds[] = {"Ethernet", "Token Ring", "PPP", "Tunnel", "Other"};
  const char* nodeTypes[] = {"Broadcast", "Peer-Peer", "Mixed", "Hybrid", "Unknown"};
  Text(data, host.hostName, TEXT_SIZE);
  Text(data, host.primaryDnsSuffix, TEXT_SIZE);
  host.nodeType = data.PickValueInArray(nodeTypes);
  Text(data, host.scopeId, TEXT_SIZE);
  host.ipRouting = data.ConsumeBool();
  host.winsProxy = data.ConsumeBool();
  host.netbiosUsesDns = data.ConsumeBool();
  host.dnsServerCount = Addresses(data, host.dnsServers);
  const int count = data.ConsumeIntegralInRange(0, 8);
  for (AdapterConfig& a : adapters) {
    a.kind = data.ConsumeBool() ? "Ethernet" : data.PickValueInArray(kinds);
    a.connected = data.ConsumeBool();
    a.dhcpEnabled = data.ConsumeBool();
    Text(data, a.name, TEXT_SIZE, "\\/:*?\"<>|");
    Text(data, a.description, TEXT_SIZE);
    Text(data, a.physicalAddress, PHYSICAL_ADDRESS_SIZE);
    a.addressCount = Addresses(data, a.addresses);
    for (int i = 0; i < a.addressCount; ++i) Text(data, a.masks[i], ADDRESS_SIZE, "", true);
    a.gatewayCount = Addresses(data, a.gateways);
    for (char* value : {a.dhcpServer, a.primaryWinsServer, a.secondaryWinsServer})
      Text(data, value, ADDRESS_SIZE);
    Text(data, a.leaseObtained, TEXT_SIZE);
    Text(data, a.leaseExpires, TEXT_SIZE);
  }
  report.length = 0;
  report.cut = false;
  WriteFullReport(report, host, adapters, count, data.ConsumeBool());
  EndReport(report, 0);
  ResetSnapshot();
  ScanReport(report.text);

  const std::string hostValues[] = {Kept(host.hostName),
                                    host.dnsServerCount > 0 ? host.dnsServers[0] : "",
                                    host.nodeType,
                                    Kept(host.scopeId),
                                    yesNo[host.ipRouting],
                                    yesNo[host.winsProxy],
                                    yesNo[host.netbiosUsesDns]};
  for (int i = 0; i < HOST_FIELD_COUNT; ++i) Expect(hostFields[i], hostValues[i], -1);
  int slot = 0;
  for (const AdapterConfig& a : adapters) {
    if (&a - adapters == count || slot == ADAPTER_SLOTS) break;
    if (std::strcmp(a.kind, "Ethernet") != 0) continue;
    std::string name = a.name;
    for (char& c : name) c = c == ' ' ? '?' : c;
    Expect(configSnapshot.adapters.name[slot], name, slot);
    Expect(configSnapshot.adapters.description[slot], Kept(a.description, true, LONG_FIELD_SIZE),
           slot);
    const bool up = a.connected;
    const bool dhcp = up && a.dhcpEnabled;
    const std::string settings[] = {Kept(a.physicalAddress),
                                    Kept(a.addresses[0], up && a.addressCount > 0),
                                    Kept(a.masks[0], up && a.addressCount > 0),
                                    Kept(a.gateways[0], up && a.gatewayCount > 0),
                                    Kept(a.dhcpServer, dhcp),
                                    Kept(a.primaryWinsServer, up),
                                    Kept(a.secondaryWinsServer, up),
                                    Kept(a.leaseObtained, dhcp),
                                    Kept(a.leaseExpires, dhcp)};
    for (int k = 0; k < ADAPTER_SETTING_COUNT; ++k)
      Expect(adapterSettings[k][slot], settings[k], slot);
    ++slot;
  }
  if (configSnapshot.adapterCount != slot) std::abort();
  for (; slot < ADAPTER_SLOTS; ++slot) {
    Expect(configSnapshot.adapters.name[slot], "", slot);
    Expect(configSnapshot.adapters.description[slot], "", slot);
    for (const auto table : adapterSettings) Expect(table[slot], "", slot);
  }
  return 0;
}
