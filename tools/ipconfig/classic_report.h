// Writes the configuration in the classic ipconfig report form: CR LF line ends,
// host settings first, then each adapter under "<Kind> adapter <name>:", each
// setting as an indented English key, a dot leader, ':' and the value.
#pragma once

#include <cstddef>
#include <initializer_list>

constexpr int MAX_LISTED = 8;  // addresses, gateways or DNS servers shown per list
constexpr std::size_t ADDRESS_SIZE = 64;
constexpr std::size_t TEXT_SIZE = 256;

struct HostConfig {
  char hostName[TEXT_SIZE];
  char primaryDnsSuffix[TEXT_SIZE];
  const char* nodeType;
  char scopeId[TEXT_SIZE];
  bool ipRouting;
  bool winsProxy;
  bool netbiosUsesDns;
  int dnsServerCount;
  char dnsServers[MAX_LISTED][ADDRESS_SIZE];
};

struct AdapterConfig {
  const char* kind;     // "Ethernet", "PPP", ... as the header names it
  unsigned long index;  // the system's interface index, for renew and release
  bool connected;       // false: the link is down, and the report says "Media disconnected"
  char name[TEXT_SIZE];
  char description[TEXT_SIZE];
  char physicalAddress[ADDRESS_SIZE];
  bool dhcpEnabled;
  int addressCount;
  char addresses[MAX_LISTED][ADDRESS_SIZE];
  char masks[MAX_LISTED][ADDRESS_SIZE];
  int gatewayCount;
  char gateways[MAX_LISTED][ADDRESS_SIZE];
  char dhcpServer[ADDRESS_SIZE];
  char primaryWinsServer[ADDRESS_SIZE];
  char secondaryWinsServer[ADDRESS_SIZE];
  char leaseObtained[TEXT_SIZE];
  char leaseExpires[TEXT_SIZE];
};

// Text built up piece by piece; a piece that does not fit is dropped whole.
struct ReportText {
  char text[1 << 16];
  std::size_t length;
};

void Append(ReportText& report, const char* text);
void Append(ReportText& report, std::initializer_list<const char*> pieces);
void Line(ReportText& report, const char* text);  // text and CR LF

void WriteFullReport(ReportText& report, const HostConfig& host, const AdapterConfig* adapters,
                     int count);
// Each adapter's address, mask and gateway lines (or its media state), nothing else.
void WriteShortReport(ReportText& report, const AdapterConfig* adapters, int count);

// The header word for an interface type number (IF_TYPE_*), or nullptr for the
// kinds a classic report leaves out (loopback). Wireless adapters are reported as
// Ethernet, as the classic reports did.
const char* AdapterKind(unsigned interfaceType);

// Copies text into a field of the given size, replacing control bytes by blanks so
// that a value stays on its own line.
void CopyClean(char* field, std::size_t size, const char* text);
