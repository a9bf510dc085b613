#include "tools/ipconfig/classic_report.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "tools/ipconfig/wildcard.h"

namespace {

struct WildcardCase {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneByteLettersFolded) {
  const WildcardCase cases[] = {
      {"Local?Area?Connection", "Local Area Connection", true},
      {"Local?Area?Connection", "Local Area Connection 2", false},
      {"Local*", "Local Area Connection 2", true},
      {"*2", "Local Area Connection 2", true},
      {"*Area*", "Local Area Connection", true},
      {"*", "", true},
      {"", "", true},
      {"", "eth0", false},
      {"eth?", "eth0", true},
      {"eth?", "eth", false},
      {"ETH0", "eth0", true},
      {"e*h*0", "eth0", true},
      {"e*h*1", "eth0", false},
      {"a*b*c", "aXbYbZc", true},
      {"**", "x", true},
      {"\x83\x8d*", "\x83\x8d\x81\x5b\x83\x4a\x83\x8b", true},
  };
  for (const WildcardCase& c : cases)
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

AdapterConfig Adapter(const char* kind, const char* name, const char* address) {
  AdapterConfig adapter = {};
  adapter.kind = kind;
  std::strcpy(adapter.name, name);
  std::strcpy(adapter.description, "Adapter for ");
  std::strcat(adapter.description, name);
  std::strcpy(adapter.physicalAddress, "00-11-22-33-44-55");
  adapter.addressCount = 1;
  std::strcpy(adapter.addresses[0], address);
  std::strcpy(adapter.masks[0], "255.255.255.0");
  return adapter;
}

class ClassicReport : public ::testing::Test {
 protected:
  void Scan() {
    ResetSnapshot();
    ScanReport(report.text);
  }
  ReportText report = {};
  HostConfig host = {};
};

TEST_F(ClassicReport, TheProgramsScannerReadsEveryHostField) {
  std::strcpy(host.hostName, "pc01");
  std::strcpy(host.nodeType, "Hybrid");
  std::strcpy(host.scopeId, "scope");
  host.ipRouting = true;
  host.dnsServerCount = 2;
  std::strcpy(host.dnsServers[0], "10.0.0.53");
  std::strcpy(host.dnsServers[1], "10.0.0.54");
  WriteFullReport(report, host, nullptr, 0);
  Scan();
  EXPECT_STREQ(configSnapshot.host.hostName, "pc01");
  EXPECT_STREQ(configSnapshot.host.dnsServers, "10.0.0.53");
  EXPECT_STREQ(configSnapshot.host.nodeType, "Hybrid");
  EXPECT_STREQ(configSnapshot.host.netbiosScopeId, "scope");
  EXPECT_STREQ(configSnapshot.host.ipRoutingEnabled, "Yes");
  EXPECT_STREQ(configSnapshot.host.winsProxyEnabled, "No");
  EXPECT_STREQ(configSnapshot.host.netbiosUsesDns, "No");
  EXPECT_EQ(configSnapshot.adapterCount, 0);
}

TEST_F(ClassicReport, EachEthernetAdapterFillsOneSlotAndOtherKindsStayOut) {
  AdapterConfig adapters[] = {Adapter("Ethernet", "Local Area Connection", "10.0.0.2"),
                              Adapter("PPP", "Dial Up", "203.0.113.9"),
                              Adapter("Ethernet", "LAN 2", "10.0.1.2")};
  adapters[0].dhcpEnabled = true;
  std::strcpy(adapters[0].dhcpServer, "10.0.0.1");
  std::strcpy(adapters[0].leaseObtained, "2026\x94\x4e 12\x8c\x8e 6\x93\xfa 10:00:00");
  adapters[0].gatewayCount = 1;
  std::strcpy(adapters[0].gateways[0], "10.0.0.1");
  adapters[2].addressCount = 2;
  std::strcpy(adapters[2].addresses[1], "10.0.1.3");
  std::strcpy(adapters[2].masks[1], "255.255.0.0");
  WriteFullReport(report, host, adapters, 3);
  Scan();
  ASSERT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.adapters.name[0], "Local?Area?Connection");
  EXPECT_STREQ(configSnapshot.adapters.description[0], "Adapter for Local Area Connection");
  EXPECT_STREQ(configSnapshot.adapters.physicalAddress[0], "00-11-22-33-44-55");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], "10.0.0.2");
  EXPECT_STREQ(configSnapshot.adapters.defaultGateway[0], "10.0.0.1");
  EXPECT_STREQ(configSnapshot.adapters.dhcpServer[0], "10.0.0.1");
  EXPECT_STREQ(configSnapshot.adapters.leaseObtained[0], "2026\x94\x4e 12\x8c\x8e 6\x93\xfa 10:00:00");
  EXPECT_STREQ(configSnapshot.adapters.name[1], "LAN?2");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[1], "10.0.1.2");  // the first address is shown
  EXPECT_STREQ(configSnapshot.adapters.subnetMask[1], "255.255.255.0");
}

TEST_F(ClassicReport, TheShortFormListsAddressesMasksAndGateways) {
  AdapterConfig adapter = Adapter("Ethernet", "eth0", "192.0.2.2");
  WriteShortReport(report, &adapter, 1);
  Scan();
  EXPECT_EQ(configSnapshot.adapterCount, 1);
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], "192.0.2.2");
  EXPECT_STREQ(configSnapshot.adapters.subnetMask[0], "255.255.255.0");
  EXPECT_EQ(std::string(report.text).find("Description"), std::string::npos);
}

TEST_F(ClassicReport, EverySettingLineHasAKeyADotLeaderABlankAndTheColon) {
  std::strcpy(host.hostName, "pc01");
  WriteFullReport(report, host, nullptr, 0);
  const std::string text = report.text;
  for (const char* key : {"Host Name", "Node Type", "NetBIOS Resolution Uses DNS", "IP Routing Enabled"}) {
    const std::size_t at = text.find(key);
    ASSERT_NE(at, std::string::npos) << key;
    const std::size_t colon = text.find(':', at);
    const std::string leader = text.substr(at + std::strlen(key), colon - at - std::strlen(key));
    EXPECT_EQ(leader.find_first_not_of(". "), std::string::npos) << key;
    EXPECT_EQ(text[colon - 1], ' ') << key;
    EXPECT_EQ(colon - text.rfind('\n', at) - 1, 43u) << key;  // every ':' in one column
  }
  EXPECT_EQ(text.find("\n"), text.find("\r\n") + 1);  // CR LF line ends
}

TEST(CopyClean, KeepsAValueOnItsLineAndInsideItsField) {
  char field[8];
  CopyClean(field, sizeof field, "a\r\nb\tc");
  EXPECT_STREQ(field, "a  b c");
  CopyClean(field, sizeof field, "0123456789");
  EXPECT_STREQ(field, "0123456");
}

TEST(AdapterKind, NamesTheHeaderOfEachInterfaceType) {
  EXPECT_STREQ(AdapterKind(6), "Ethernet");
  EXPECT_STREQ(AdapterKind(71), "Ethernet");
  EXPECT_STREQ(AdapterKind(23), "PPP");
  EXPECT_EQ(AdapterKind(24), nullptr);
  EXPECT_STREQ(AdapterKind(131), "Tunnel");
}

}  // namespace
