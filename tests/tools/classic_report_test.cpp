#include "tools/ipconfig/classic_report.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "tools/ipconfig/wildcard.h"

namespace {

TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneByteLettersFolded) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"Local?Area?Connection", "Local Area Connection", true}, {"Local?Area?Connection", "Local Area Connection 2", false},
      {"*2", "Local Area Connection 2", true},                  {"*Area*", "Local Area Connection", true},
      {"", "", true},                                           {"", "eth0", false},
      {"eth?", "eth", false},                                   {"ETH0", "eth0", true},
      {"a*b*c", "aXbYbZc", true},                               {"e*h*1", "eth0", false},
      {"\x83\x8d*", "\x83\x8d\x81\x5b", true},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

AdapterConfig Adapter(const char* kind, const char* name, const char* address) {
  AdapterConfig adapter = {};
  adapter.kind = kind;
  std::strcpy(adapter.name, name);
  std::strcpy(adapter.description, name);
  adapter.addressCount = 1;
  std::strcpy(adapter.addresses[0], address);
  std::strcpy(adapter.masks[0], "255.255.255.0");
  return adapter;
}

// The report is read back through the program's own scanner.
TEST(ClassicReport, TheProgramReadsEveryFieldItWritesAndOnlyItsEthernetAdapters) {
  HostConfig host = {};
  std::strcpy(host.hostName, "pc01");
  std::strcpy(host.nodeType, "Hybrid");
  host.ipRouting = true;
  host.dnsServerCount = 2;
  std::strcpy(host.dnsServers[0], "10.0.0.53");
  std::strcpy(host.dnsServers[1], "10.0.0.54");
  AdapterConfig adapters[] = {Adapter("Ethernet", "Local Area Connection", "10.0.0.2"),
                              Adapter("PPP", "Dial Up", "203.0.113.9"), Adapter("Ethernet", "LAN 2", "10.0.1.2")};
  adapters[0].dhcpEnabled = true;
  std::strcpy(adapters[0].dhcpServer, "10.0.0.1");
  std::strcpy(adapters[0].leaseExpires, "2026\x94\x4e 12\x8c\x8e 6\x93\xfa");
  adapters[2].addressCount = 2;
  std::strcpy(adapters[2].addresses[1], "10.0.1.3");
  static ReportText report;
  WriteFullReport(report, host, adapters, 3);
  ResetSnapshot();
  ScanReport(report.text);
  EXPECT_STREQ(configSnapshot.host.hostName, "pc01");
  EXPECT_STREQ(configSnapshot.host.dnsServers, "10.0.0.53");
  EXPECT_STREQ(configSnapshot.host.nodeType, "Hybrid");
  EXPECT_STREQ(configSnapshot.host.ipRoutingEnabled, "Yes");
  EXPECT_STREQ(configSnapshot.host.winsProxyEnabled, "No");
  ASSERT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.adapters.name[0], "Local?Area?Connection");
  EXPECT_STREQ(configSnapshot.adapters.dhcpServer[0], "10.0.0.1");
  EXPECT_STREQ(configSnapshot.adapters.leaseExpires[0], "2026\x94\x4e 12\x8c\x8e 6\x93\xfa");
  EXPECT_STREQ(configSnapshot.adapters.name[1], "LAN?2");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[1], "10.0.1.2");  // the first address is shown
  EXPECT_STREQ(configSnapshot.adapters.subnetMask[1], "255.255.255.0");

  const std::string text = report.text;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    ASSERT_EQ(text[at - 1], '\r') << "every line ends with CR LF";
}

TEST(CopyClean, KeepsAValueOnItsLineAndInsideItsField) {
  char field[8];
  CopyClean(field, sizeof field, "a\r\nb\tcdef");
  EXPECT_STREQ(field, "a  b cd");
}

}  // namespace
