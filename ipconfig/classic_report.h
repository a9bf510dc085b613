// Writes the configuration in the classic ipconfig report form: CR LF line ends,
// host settings first, then each adapter under "<Kind> adapter <name>:", each
// setting as an indented English key, a dot leader, ':' and the value.
#pragma once

#include <cstddef>
#include <initializer_list>

constexpr int MAX_LISTED = 32;            // addresses, gateways or DNS servers shown per list
constexpr std::size_t ADDRESS_SIZE = 16;  // "255.255.255.255" and its NUL, as the system writes
constexpr std::size_t PHYSICAL_ADDRESS_SIZE = 3 * 8;  // "00-0C-F1-11-22-33", up to eight bytes
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
  unsigned long index;  // the system's interface index, which orders the adapters
  bool connected;       // false: the link is down, and the report says "Media disconnected"
  char id[TEXT_SIZE];   // the system's own name for it, "{GUID}", for renew and release
  char name[TEXT_SIZE];
  char description[TEXT_SIZE];
  char physicalAddress[PHYSICAL_ADDRESS_SIZE];
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

// Text built up piece by piece. Once a piece does not fit, it and every later piece
// are left out, and EndReport closes the text with a line that says it was cut.
struct ReportText {
  char text[1 << 20];
  std::size_t length;
  bool cut;
};

void Append(ReportText& report, const char* text);
void Append(ReportText& report, std::initializer_list<const char*> pieces);
void Line(ReportText& report, const char* text);  // text and CR LF

// Where the report was cut, takes back the broken line at its end and adds the line
// that says so; every line before it stays whole. Returns the tool's exit code: 1 for a
// cut report, else exitCode.
int EndReport(ReportText& report, int exitCode);

// listsCut: some list had more entries than MAX_LISTED, which a last line says.
void WriteFullReport(ReportText& report, const HostConfig& host, const AdapterConfig* adapters,
                     int count, bool listsCut);
// Each adapter's address, mask and gateway lines (or its media state), nothing else.
void WriteShortReport(ReportText& report, const AdapterConfig* adapters, int count, bool listsCut);

// The header word for an interface type number (IF_TYPE_*), or nullptr for the
// kinds a classic report leaves out (loopback). Wireless and mobile broadband adapters
// are reported as Ethernet, as the classic reports did wireless ones, so that the
// window shows them.
const char* AdapterKind(unsigned interfaceType);

// Copies text into a field of the given size, replacing control bytes by blanks so
// that a value stays on its own line.
void CopyClean(char* field, std::size_t size, const char* text);
