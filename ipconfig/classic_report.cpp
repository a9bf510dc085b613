#include "ipconfig/classic_report.h"

#include <cstring>

namespace {

// Room for it is always kept at the end of the text.
constexpr char CUT_LINE[] =
    "ipconfig: the report is cut here: it is longer than this tool holds.\r\n";

}  // namespace

void Append(ReportText& report, const char* text) {
  const std::size_t length = std::strlen(text);
  if (report.cut || report.length + length + sizeof CUT_LINE > sizeof report.text) {
    report.cut = true;
    return;
  }
  std::memcpy(report.text + report.length, text, length + 1);
  report.length += length;
}

void Append(ReportText& report, std::initializer_list<const char*> pieces) {
  for (const char* piece : pieces) Append(report, piece);
}

void Line(ReportText& report, const char* text) {
  Append(report, text);
  Append(report, "\r\n");
}

int EndReport(ReportText& report, int exitCode) {
  if (!report.cut) return exitCode;
  while (report.length > 0 && report.text[report.length - 1] != '\n') --report.length;
  std::memcpy(report.text + report.length, CUT_LINE, sizeof CUT_LINE);
  report.length += sizeof CUT_LINE - 1;
  return 1;
}

namespace {

constexpr std::size_t INDENT = 8;
constexpr std::size_t VALUE_COLUMN = 44;  // where the ':' before each value stands

// "        Key . . . . . . : value"
void Setting(ReportText& report, const char* key, const char* value) {
  char line[INDENT + VALUE_COLUMN + TEXT_SIZE + 8];
  std::size_t at = 0;
  while (at < INDENT) line[at++] = ' ';
  for (const char* k = key; *k != '\0' && at < VALUE_COLUMN - 1; ++k) line[at++] = *k;
  // Dots on every other column, counted back from the ':', with a blank before it.
  if (at >= VALUE_COLUMN - 1) line[at++] = ' ';
  for (; at < VALUE_COLUMN - 1; ++at) line[at] = ((VALUE_COLUMN - 2 - at) % 2 == 0) ? ' ' : '.';
  line[at++] = ':';
  line[at++] = ' ';
  line[at] = '\0';
  Append(report, line);
  Line(report, value);
}

// A list: its first entry on the key's line, the others below it, aligned.
void ListSetting(ReportText& report, const char* key, const char (*values)[ADDRESS_SIZE],
                 int count) {
  Setting(report, key, count > 0 ? values[0] : "");
  for (int i = 1; i < count; ++i) {
    char line[VALUE_COLUMN + ADDRESS_SIZE + 8];
    std::memset(line, ' ', VALUE_COLUMN + 1);
    std::strcpy(line + VALUE_COLUMN + 1, values[i]);
    Line(report, line);
  }
}

const char* YesNo(bool value) { return value ? "Yes" : "No"; }

// The adapter's header; false when its link is down, which the report then says
// instead of its addresses.
bool Header(ReportText& report, const AdapterConfig& adapter) {
  Line(report, "");
  Append(report, adapter.kind);
  Append(report, " adapter ");
  Append(report, adapter.name);
  Line(report, ":");
  Line(report, "");
  if (!adapter.connected) Setting(report, "Media State", "Media disconnected");
  return adapter.connected;
}

void AddressSettings(ReportText& report, const AdapterConfig& adapter) {
  ListSetting(report, "IP Address", adapter.addresses, adapter.addressCount);
  ListSetting(report, "Subnet Mask", adapter.masks, adapter.addressCount);
  ListSetting(report, "Default Gateway", adapter.gateways, adapter.gatewayCount);
}

void EndListing(ReportText& report, bool listsCut) {
  if (listsCut) Line(report, "ipconfig: the system lists more addresses than shown here.");
}

}  // namespace

void WriteFullReport(ReportText& report, const HostConfig& host, const AdapterConfig* adapters,
                     int count, bool listsCut) {
  Line(report, "");
  Line(report, "Windows IP Configuration");
  Line(report, "");
  Setting(report, "Host Name", host.hostName);
  Setting(report, "Primary DNS Suffix", host.primaryDnsSuffix);
  ListSetting(report, "DNS Servers", host.dnsServers, host.dnsServerCount);
  Setting(report, "Node Type", host.nodeType);
  Setting(report, "NetBIOS Scope ID", host.scopeId);
  Setting(report, "IP Routing Enabled", YesNo(host.ipRouting));
  Setting(report, "WINS Proxy Enabled", YesNo(host.winsProxy));
  Setting(report, "NetBIOS Resolution Uses DNS", YesNo(host.netbiosUsesDns));
  for (int i = 0; i < count; ++i) {
    const AdapterConfig& adapter = adapters[i];
    const bool connected = Header(report, adapter);
    Setting(report, "Description", adapter.description);
    Setting(report, "Physical Address", adapter.physicalAddress);
    if (!connected) continue;
    Setting(report, "DHCP Enabled", YesNo(adapter.dhcpEnabled));
    AddressSettings(report, adapter);
    if (adapter.dhcpEnabled) Setting(report, "DHCP Server", adapter.dhcpServer);
    Setting(report, "Primary WINS Server", adapter.primaryWinsServer);
    Setting(report, "Secondary WINS Server", adapter.secondaryWinsServer);
    if (adapter.dhcpEnabled) {
      Setting(report, "Lease Obtained", adapter.leaseObtained);
      Setting(report, "Lease Expires", adapter.leaseExpires);
    }
  }
  EndListing(report, listsCut);
}

void WriteShortReport(ReportText& report, const AdapterConfig* adapters, int count, bool listsCut) {
  Line(report, "");
  Line(report, "Windows IP Configuration");
  Line(report, "");
  for (int i = 0; i < count; ++i)
    if (Header(report, adapters[i])) AddressSettings(report, adapters[i]);
  EndListing(report, listsCut);
}

const char* AdapterKind(unsigned interfaceType) {
  switch (interfaceType) {
    case 6: return "Ethernet";    // IF_TYPE_ETHERNET_CSMACD
    case 71: return "Ethernet";   // IF_TYPE_IEEE80211: classic reports called it Ethernet
    case 9: return "Token Ring";  // IF_TYPE_ISO88025_TOKENRING
    case 23: return "PPP";        // IF_TYPE_PPP
    case 24: return nullptr;      // IF_TYPE_SOFTWARE_LOOPBACK
    case 131: return "Tunnel";    // IF_TYPE_TUNNEL
    case 237: return "Ethernet";  // IF_TYPE_IEEE80216_WMAN: mobile broadband, WiMAX
    case 243: return "Ethernet";  // IF_TYPE_WWANPP: mobile broadband, GSM
    case 244: return "Ethernet";  // IF_TYPE_WWANPP2: mobile broadband, CDMA
    default: return "Other";
  }
}

void CopyClean(char* field, std::size_t size, const char* text) {
  std::size_t at = 0;
  for (; text[at] != '\0' && at + 1 < size; ++at)
    field[at] = (static_cast<unsigned char>(text[at]) < 0x20) ? ' ' : text[at];
  field[at] = '\0';
}
