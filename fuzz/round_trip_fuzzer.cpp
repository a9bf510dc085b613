// libFuzzer target: what the classic ipconfig writes, the program reads back. A
// configuration made from the bytes (adapters of every kind, connected or not, values of
// every length, names with blanks and double-byte characters but none of \ / : * ? " < > |)
// goes through the tool's report writer, then the program's scanner. Every host setting,
// and every setting of each of the first four Ethernet adapters, must come back as
// written: cut to the snapshot's widths, leading blanks of a value dropped, blanks in names
// as '?', each in its own slot, and the other slots empty, whatever the snapshot held.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
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
FuzzedDataProvider* data;

// Up to size - 1 bytes of text as the tool holds it: no control bytes, none of refused;
// in a list of addresses only digits and dots, as the system writes them.
void Fill(char* field, std::size_t size, const char* refused = "", bool listed = false) {
  std::string text = data->ConsumeRandomLengthString(size - 1);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr(refused, c)) c = '_';
    if (listed) c = "0123456789."[static_cast<unsigned char>(c) % 11];
  }
  std::strcpy(field, text.c_str());
}

int List(char (*list)[ADDRESS_SIZE], char (*masks)[ADDRESS_SIZE] = nullptr) {
  const int count = data->ConsumeIntegralInRange(0, MAX_LISTED);
  for (int i = 0; i < count; ++i)
    for (char* entry : {list[i], masks ? masks[i] : nullptr})
      if (entry) Fill(entry, ADDRESS_SIZE, "", true);
  return count;
}

// What the scanner keeps of a value the report shows: no leading blanks, at most
// width - 1 bytes.
std::string Kept(const std::string& value, bool shown = true,
                 std::size_t width = SHORT_FIELD_SIZE) {
  const std::size_t start = value.find_first_not_of(' ');
  return !shown || start == std::string::npos ? "" : value.substr(start, width - 1);
}

// Field k of a slot: its name, its description, then its nine settings.
const char* Field(int k, int slot) {
  const auto& record = configSnapshot.adapters;
  return k == 0   ? record.name[slot]
         : k == 1 ? record.description[slot]
                  : adapterSettings[k - 2][slot];
}

void Expect(const char* read, const std::string& written) {
  if (written == read) return;
  std::fprintf(stderr, "read \"%s\", written \"%s\" in\n%s", read, written.c_str(), report.text);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider provider(bytes, size);
  data = &provider;
  const char* kinds[] = {"Ethernet", "Token Ring", "PPP", "Tunnel", "Other"};
  const char* nodeTypes[] = {"Broadcast", "Peer-Peer", "Mixed", "Hybrid", "Unknown"};
  for (char* text : {host.hostName, host.primaryDnsSuffix, host.scopeId}) Fill(text, TEXT_SIZE);
  host.nodeType = provider.PickValueInArray(nodeTypes);
  for (bool* flag : {&host.ipRouting, &host.winsProxy, &host.netbiosUsesDns})
    *flag = provider.ConsumeBool();
  host.dnsServerCount = List(host.dnsServers);
  const int count = provider.ConsumeIntegralInRange(0, 8);
  for (AdapterConfig& a : adapters) {
    a.kind = provider.ConsumeBool() ? "Ethernet" : provider.PickValueInArray(kinds);
    a.connected = provider.ConsumeBool();
    a.dhcpEnabled = provider.ConsumeBool();
    Fill(a.name, TEXT_SIZE, "\\/:*?\"<>|");
    for (char* text : {a.description, a.leaseObtained, a.leaseExpires}) Fill(text, TEXT_SIZE);
    Fill(a.physicalAddress, PHYSICAL_ADDRESS_SIZE);
    for (char* value : {a.dhcpServer, a.primaryWinsServer, a.secondaryWinsServer})
      Fill(value, ADDRESS_SIZE);
    a.addressCount = List(a.addresses, a.masks);
    a.gatewayCount = List(a.gateways);
  }
  report.length = 0;
  report.cut = false;
  WriteFullReport(report, host, adapters, count, provider.ConsumeBool());
  EndReport(report, 0);
  std::memset(&configSnapshot, 'x', sizeof configSnapshot);  // as any earlier read left it
  ResetSnapshot();
  for (const char* field : hostFields) Expect(field, "");
  ScanReport(report.text);

  const char* yesNo[] = {"No", "Yes"};
  const std::string hostValues[] = {Kept(host.hostName),
                                    host.dnsServerCount > 0 ? host.dnsServers[0] : "",
                                    host.nodeType,
                                    Kept(host.scopeId),
                                    yesNo[host.ipRouting],
                                    yesNo[host.winsProxy],
                                    yesNo[host.netbiosUsesDns]};
  for (int i = 0; i < HOST_FIELD_COUNT; ++i) Expect(hostFields[i], hostValues[i]);
  int slot = 0;
  for (int i = 0; i < count && slot < ADAPTER_SLOTS; ++i) {
    const AdapterConfig& a = adapters[i];
    if (std::strcmp(a.kind, "Ethernet") != 0) continue;
    std::string name = a.name;
    std::replace(name.begin(), name.end(), ' ', '?');
    const bool up = a.connected;
    const bool dhcp = up && a.dhcpEnabled;
    const bool addressed = up && a.addressCount > 0;
    const std::string values[] = {name,
                                  Kept(a.description, true, LONG_FIELD_SIZE),
                                  Kept(a.physicalAddress),
                                  Kept(a.addresses[0], addressed),
                                  Kept(a.masks[0], addressed),
                                  Kept(a.gateways[0], up && a.gatewayCount > 0),
                                  Kept(a.dhcpServer, dhcp),
                                  Kept(a.primaryWinsServer, up),
                                  Kept(a.secondaryWinsServer, up),
                                  Kept(a.leaseObtained, dhcp),
                                  Kept(a.leaseExpires, dhcp)};
    for (int k = 0; k < 2 + ADAPTER_SETTING_COUNT; ++k) Expect(Field(k, slot), values[k]);
    ++slot;
  }
  if (configSnapshot.adapterCount != slot) std::abort();
  for (; slot < ADAPTER_SLOTS; ++slot)
    for (int k = 0; k < 2 + ADAPTER_SETTING_COUNT; ++k) Expect(Field(k, slot), "");
  return 0;
}
