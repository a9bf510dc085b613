#include "report/report_scanner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/config_snapshot.h"
#include "tools/report-dump/snapshot_dump.h"

namespace {

// The fields that hold text, as "key=value" joined by '|'; empty ones and a zero
// adapterCount are left out, so a case names exactly what the scan must store.
std::string FilledFields() {
  char* text = nullptr;
  std::size_t length = 0;
  std::FILE* out = open_memstream(&text, &length);
  DumpSnapshot(out);
  std::fclose(out);
  std::string filled;
  for (char *line = std::strtok(text, "\n"); line != nullptr; line = std::strtok(nullptr, "\n"))
    if (line[std::strlen(line) - 1] != '=' && std::strcmp(line, "adapterCount=0") != 0)
      filled += (filled.empty() ? "" : "|") + std::string(line);
  std::free(text);
  return filled;
}

// Scans from a buffer of exactly the text and its NUL, so that AddressSanitizer
// catches a read past the end.
std::string Scan(const std::string& text, bool reset = true) {
  if (reset) ResetSnapshot();
  std::vector<char> exact(text.begin(), text.end());
  exact.push_back('\0');
  ScanReport(exact.data());
  return FilledFields();
}

TEST(StartsWithNoCase, FoldsOnlyBit0x20AndStopsAtTheEndOfTheKey) {
  const struct {
    const char* text;
    const char* key;
    bool expected;
  } cases[] = {
      {"HOST NAME . : pc", "Host Name", true}, {"host name", "Host Name", true},
      {"Host Nam", "Host Name", false},        {"Host_Name", "Host Name", false},
      {"anything", "", true},                  {"", "Host", false},
      {"`", "@", true},                        {"\xC8OST NAME", "Host Name", false},
      {"\xE8ost", "Host", false},
  };
  for (const auto& c : cases) EXPECT_EQ(StartsWithNoCase(c.text, c.key), c.expected) << c.text << " / " << c.key;
}

TEST(ScanReport, StoresEachKnownLineInItsField) {
  const std::string A = "adapterCount=1|slot0.name=A";
  const struct {
    std::string report;
    std::string filled;
  } cases[] = {
      {"", ""},
      {"   Host Name . . . . . . . : pc01\r\n", "hostName=pc01"},
      {"\t host name. . :\t pc02\r\n", "hostName=pc02"},
      {"Host Name: h\r\nDNS Servers: d\r\nNode Type: n\r\nNetBIOS Scope ID: s\r\nIP Routing Enabled: r\r\n"
       "WINS Proxy Enabled: w\r\nNetBIOS Resolution Uses DNS: u\r\n",
       "hostName=h|dnsServers=d|nodeType=n|netbiosScopeId=s|ipRoutingEnabled=r|winsProxyEnabled=w|netbiosUsesDns=u"},
      // Where a value ends.
      {"Host Name: 10.0.0.1   \r\n", "hostName=10.0.0.1   "},
      {"Host Name: a\tb\r\n", "hostName=a"},
      {"Host Name: a\x10z\r\nNode Type: a\x11\x1fz\r\n", "hostName=a|nodeType=a\\x11\\x1fz"},
      {"Host Name: \x83\x8a\x81\x5b\x83X a:b\r\n", "hostName=\x83\x8a\x81\x5b\x83X a:b"},
      {"Host Names: pc", "hostName=pc"},
      {"DNS Servers: 10.0.0.53\r\n       10.0.0.54\r\nNode Type: Hybrid\r\n", "dnsServers=10.0.0.53|nodeType=Hybrid"},
      {"Host Name: 1\r\nHost Name: 2\r\n", "hostName=2"},
      {"Host Name: pc\r\nHost Name:   \r\n", ""},
      {"Host Name\r\nNode Type: x\r\nDNS Servers: d\r\n", "hostName=x|dnsServers=d"},
      {"Host Name: old\r\nHost Name . . . pc\r\n", ""},
      {"Host Name: pc\nNode Type: Hybrid\nEthernet adapter x:\n", "hostName=pc"},
      // Adapters.
      {"Ethernet adapter LAN 2:\r\n  Description . . : Fast  Ethernet NIC\r\n",
       "adapterCount=1|slot0.name=LAN?2|slot0.description=Fast  Ethernet NIC"},
      {"  ETHERNET ADAPTER Local Area Connection :\r\n", "adapterCount=1|slot0.name=Local?Area?Connection?"},
      {"\xC5thernet adapter A:\r\n", ""},
      {"Ethernet adapter A:\r\nPhysical Address: 0\r\nIP Address: 1\r\nSubnet Mask: 2\r\nDefault Gateway: 3\r\n"
       "DHCP Server: 4\r\nPrimary WINS Server: 5\r\nSecondary WINS Server: 6\r\nLease Obtained: 7\r\nLease Expires: 8\r\n",
       A + "|slot0.physicalAddress=0|slot0.ipAddress=1|slot0.subnetMask=2|slot0.defaultGateway=3|slot0.dhcpServer=4"
           "|slot0.primaryWinsServer=5|slot0.secondaryWinsServer=6|slot0.leaseObtained=7|slot0.leaseExpires=8"},
      {"Ethernet adapter A:\r\nIP Address: 1\r\nEthernet adapter B:\r\nSubnet Mask: 2\r\n  DNS Servers: 3\r\n",
       "dnsServers=3|adapterCount=2|slot0.name=A|slot0.ipAddress=1|slot1.name=B|slot1.subnetMask=2"},
      {"Ethernet adapter eth0\r\n  IP Address: 10.0.0.1\r\nNode Type: x\r\n",
       "nodeType=x|adapterCount=1|slot0.name=eth0\\x0d\\x0a??IP?Address"},
      // Beyond the snapshot's room, and adapters of other kinds.
      {"IP Address: 1\r\nDescription: d\r\nHost Name: h\r\n", "hostName=h"},
      {"Ethernet adapter A:\r\nEthernet adapter B:\r\nEthernet adapter C:\r\nEthernet adapter D:\r\n"
       "Ethernet adapter E:\r\nIP Address: 5\r\nHost Name: h\r\n",
       "hostName=h|adapterCount=4|slot0.name=A|slot1.name=B|slot2.name=C|slot3.name=D"},
      {"Ethernet adapterab", "adapterCount=1|slot0.name=b"},
      {"Ethernet adapter A:\r\nPPP adapter Dial Up:\r\n  IP Address: 9\r\n  DNS Servers: 8\r\n", "dnsServers=8|" + A},
  };
  for (const auto& c : cases) EXPECT_EQ(Scan(c.report), c.filled) << c.report;
}

TEST(ScanReport, OnlyALineWhoseColonEndsItAfterTheWordAdapterIsAnotherAdaptersHeader) {
  const struct {
    const char* line;
    bool endsSlot;
  } cases[] = {
      {"   tunnel ADAPTER Teredo Tunneling:", true}, {"Wireless LAN adapter Wi-Fi:", true},
      {"Token Ring adapter TR 1 :", true},          {"My Description adapter x: text", true},
      {"PPP adapter NoColon", false},               {"Comment . . : Fast adapter Card", false},
      {"PPPadapter X:", false},
  };
  const std::string slot = "adapterCount=1|slot0.name=A";
  for (const auto& c : cases)
    EXPECT_EQ(Scan("Ethernet adapter A:\r\n" + std::string(c.line) + "\r\nLease Expires: soon\r\n"),
              c.endsSlot ? slot : slot + "|slot0.leaseExpires=soon")
        << c.line;
}

TEST(ScanReport, KeepsWhatFitsOfOverlongTextAndNeverReadsPastItsEnd) {
  const std::string name(300, 'n'), value(100, 'v');
  EXPECT_EQ(Scan("Ethernet adapter " + name + ":\r\nDescription: " + name + "\r\nIP Address: " + value +
                 "\r\nSubnet Mask: 255.0.0.0\r\n"),
            "adapterCount=1|slot0.name=" + name.substr(0, 255) + "|slot0.description=" + name.substr(0, 255) +
                "|slot0.ipAddress=" + value.substr(0, 63) + "|slot0.subnetMask=255.0.0.0");
  for (const char* text : {"Ethernet adapter", "Ethernet adapter ", "  ethernet adapterX"})
    EXPECT_EQ(Scan(text), "adapterCount=1") << text;
}

TEST(ScanReport, AScanGoingOnFromEarlierSlotsHasNoCurrentSlotBeforeItsFirstHeader) {
  Scan("Ethernet adapter A:\r\nIP Address: 1\r\n");
  EXPECT_EQ(Scan("IP Address: 2\r\nEthernet adapter B:\r\nIP Address: 3\r\n", false),
            "adapterCount=2|slot0.name=A|slot0.ipAddress=1|slot1.name=B|slot1.ipAddress=3");
}

TEST(ResetSnapshot, EmptiesEveryFieldOfEverySlotWhateverTheCount) {
  std::memset(&configSnapshot, 'x', sizeof configSnapshot);
  configSnapshot.adapterCount = 1;
  ResetSnapshot();
  EXPECT_EQ(FilledFields(), "");
}

}  // namespace
