// libFuzzer target. The bytes as a report (up to a text area, in a buffer of their length
// that ASan guards, from the count a first byte up to 4 gives): each field ends in its width.
// The round trip: a configuration made of them, written by the classic ipconfig and scanned
// into a reset snapshot: slot i holds the i-th Ethernet adapter (tagged first in its
// description); host name, names (blanks as '?') and descriptions cut at widths; the count.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ipconfig/classic_report.h"
#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/text_area.h"

namespace {

HostConfig host;
AdapterConfig adapters[8];
ReportText report;
FuzzedDataProvider* data;

void ScanAnyReport(const std::uint8_t* bytes, std::size_t size) {
  ResetSnapshot();
  const bool goOn = size > 0 && bytes[0] <= ADAPTER_SLOTS;
  configSnapshot.adapterCount = goOn ? bytes[0] : 0;
  std::vector<char> text(bytes + goOn, bytes + std::min<std::size_t>(size, TEXT_AREA_SIZE - 1));
  text.push_back('\0');
  ScanReport(text.data());
  if (configSnapshot.adapterCount < 0 || configSnapshot.adapterCount > ADAPTER_SLOTS) std::abort();
  const auto ends = [](const char* field, std::size_t width) {
    if (!std::memchr(field, '\0', width)) std::abort();
  };
  for (const char* field : hostFields) ends(field, SHORT_FIELD_SIZE);
  for (int slot = 0; slot < ADAPTER_SLOTS; ++slot) {
    ends(configSnapshot.adapters.name[slot], LONG_FIELD_SIZE);
    ends(configSnapshot.adapters.description[slot], LONG_FIELD_SIZE);
    for (const auto table : adapterSettings) ends(table[slot], SHORT_FIELD_SIZE);
  }
}

// Up to size - 1 bytes of text as the tool holds it: no control bytes, none of refused.
void Fill(char* field, std::size_t size, const char* refused = "") {
  std::string text = data->ConsumeRandomLengthString(size - 1);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr(refused, c)) c = '_';
  std::strcpy(field, text.c_str());
}

// What the scanner keeps of a value: no leading blanks, at most width - 1 bytes.
void Expect(const char* read, const std::string& written, std::size_t width) {
  const std::size_t start = written.find_first_not_of(' ');
  if (read == (start == std::string::npos ? "" : written.substr(start, width - 1))) return;
  std::fprintf(stderr, "read \"%s\", written \"%s\" in\n%s", read, written.c_str(), report.text);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  ScanAnyReport(bytes, size);
  FuzzedDataProvider provider(bytes, size);
  data = &provider;
  const char* kinds[] = {"Ethernet", "Token Ring", "PPP", "Tunnel", "Other"};
  for (char* text : {host.hostName, host.primaryDnsSuffix, host.scopeId}) Fill(text, TEXT_SIZE);
  host.nodeType = "Hybrid";
  const int count = provider.ConsumeIntegralInRange(0, 8);
  for (int i = 0; i < 8; ++i) {
    AdapterConfig& a = adapters[i];
    a.kind = provider.ConsumeBool() ? "Ethernet" : provider.PickValueInArray(kinds);
    a.connected = provider.ConsumeBool();
    a.dhcpEnabled = provider.ConsumeBool();
    Fill(a.name, TEXT_SIZE, "\\/:*?\"<>|");
    std::snprintf(a.description, 3, "%d ", i);
    Fill(a.description + 2, TEXT_SIZE - 2);
    for (char* text : {a.physicalAddress, a.leaseObtained, a.dhcpServer, a.primaryWinsServer})
      Fill(text, ADDRESS_SIZE);
  }
  report.length = 0;
  report.cut = false;
  WriteFullReport(report, host, adapters, count, provider.ConsumeBool());
  EndReport(report, 0);
  std::memset(&configSnapshot, 'x', sizeof configSnapshot);  // as any earlier read left it
  ResetSnapshot();
  for (const char* field : hostFields) Expect(field, "", SHORT_FIELD_SIZE);
  ScanReport(report.text);

  Expect(hostFields[0], host.hostName, SHORT_FIELD_SIZE);
  int slot = 0;
  for (int i = 0; i < count && slot < ADAPTER_SLOTS; ++i) {
    if (std::strcmp(adapters[i].kind, "Ethernet") != 0) continue;
    std::string name = adapters[i].name;
    std::replace(name.begin(), name.end(), ' ', '?');
    Expect(configSnapshot.adapters.name[slot], name, LONG_FIELD_SIZE);
    Expect(configSnapshot.adapters.description[slot], adapters[i].description, LONG_FIELD_SIZE);
    ++slot;
  }
  if (configSnapshot.adapterCount != slot) std::abort();
  for (; slot < ADAPTER_SLOTS; ++slot) {
    Expect(configSnapshot.adapters.name[slot], "", LONG_FIELD_SIZE);
    Expect(configSnapshot.adapters.description[slot], "", LONG_FIELD_SIZE);
  }
  return 0;
}
