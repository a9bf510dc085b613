#include <string>

#include <gtest/gtest.h>

#include "scan_helpers.h"

namespace {

struct PrefixCase {
  const char* text;
  const char* key;
  bool expected;
};

TEST(StartsWithNoCase, FoldsBit0x20AndStopsAtTheKeysEnd) {
  const PrefixCase cases[] = {
      {"Host Name . . : pc", "Host Name", true},
      {"HOST NAME", "Host Name", true},
      {"host name", "Host Name", true},
      {"Host Nam", "Host Name", false},      // text ends first
      {"Host_Name", "Host Name", false},
      {"anything", "", true},                // an empty key is a prefix of everything
      {"", "", true},
      {"", "Host", false},
      {"`", "@", true},                      // the fold is bitwise, not a locale rule
      {"IP Addresses", "IP Address", true},  // no test of the byte after the key
      {"\xC9thernet", "Ethernet", false},
  };
  for (const PrefixCase& c : cases)
    EXPECT_EQ(StartsWithNoCase(c.text, c.key), c.expected) << c.text << " / " << c.key;
}

TEST(ScanReportHostLines, SkipLeadingBlanksDotLeadersAndTheBlankAfterTheColon) {
  ResetAndScan("   Host Name . . . . . . . . . : pc01\r\n");
  EXPECT_STREQ(configSnapshot.host.hostName, "pc01");
  ResetAndScan("\t host name. . . :\t pc02\r\n");
  EXPECT_STREQ(configSnapshot.host.hostName, "pc02");
}

TEST(ScanReportHostLines, FillEveryHostFieldFromItsKey) {
  ResetAndScan(
      "Host Name: h\r\nDNS Servers: d\r\nNode Type: n\r\nNetBIOS Scope ID: s\r\n"
      "IP Routing Enabled: r\r\nWINS Proxy Enabled: w\r\nNetBIOS Resolution Uses DNS: u\r\n");
  const char* expected[HOST_FIELD_COUNT] = {"h", "d", "n", "s", "r", "w", "u"};
  for (int i = 0; i < HOST_FIELD_COUNT; ++i) EXPECT_STREQ(hostFields[i], expected[i]) << i;
  EXPECT_EQ(configSnapshot.adapterCount, 0);
}

TEST(ScanReportHostLines, EmptyReportChangesNothing) {
  ResetAndScan("");
  EXPECT_EQ(configSnapshot.adapterCount, 0);
  EXPECT_STREQ(configSnapshot.host.hostName, "");
}

struct ValueCase {
  const char* line;
  const char* expected;
};

TEST(ScanReportValues, EndAtTheFirstByteOf0x10OrLess) {
  const ValueCase cases[] = {
      {"IP Address: 10.0.0.1\r\n", "10.0.0.1"},
      {"IP Address: 10.0.0.1   \r\n", "10.0.0.1   "},  // trailing blanks stay
      {"IP Address: 10.0\t.0.1\r\n", "10.0"},          // a tab ends the value
      {"IP Address: 10\x10.1\r\n", "10"},
      {"IP Address: 10\x11.1\r\n", "10\x11.1"},        // 0x11 belongs to the value
      {"IP Address: \x83\x8a\x81\x5b\x83X\r\n", "\x83\x8a\x81\x5b\x83X"},
      {"IP Address: a:b:c\r\n", "a:b:c"},              // only the first ':' is the separator
      {"IP Addressing mode: 1.2.3.4\r\n", "1.2.3.4"},  // the key matches as a prefix
      {"IP Address: 10.0.0.1", "10.0.0.1"},            // no line end at all
  };
  for (const ValueCase& c : cases) {
    ResetAndScan(std::string("Ethernet adapter x:\r\n") + c.line);
    EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], c.expected) << c.line;
  }
}

TEST(ScanReportValues, RepeatedKeyKeepsTheLaterValue) {
  ResetAndScan("Ethernet adapter x:\r\nIP Address: 1\r\nIP Address: 2\r\n");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], "2");
}

TEST(ScanReportValues, ColonFollowedOnlyByBlanksEmptiesTheField) {
  ResetAndScan("Host Name: pc\r\nHost Name:   \r\n");
  EXPECT_STREQ(configSnapshot.host.hostName, "");
}

TEST(ScanReportValues, KeyLineWithoutColonTakesTheValueAfterTheNextColon) {
  // The passed-over "Node Type" line is not tested; the walk resumes after "x".
  ResetAndScan("Host Name\r\nNode Type: x\r\nDNS Servers: d\r\n");
  EXPECT_STREQ(configSnapshot.host.hostName, "x");
  EXPECT_STREQ(configSnapshot.host.nodeType, "");
  EXPECT_STREQ(configSnapshot.host.dnsServers, "d");
}

TEST(ScanReportValues, KeyWithNoColonAnywhereEmptiesTheField) {
  ResetSnapshot();
  ScanExact("Host Name: old\r\n");
  ScanExact("Host Name . . . pc\r\n");
  EXPECT_STREQ(configSnapshot.host.hostName, "");
}

TEST(ScanReportValues, OnlyTheFirstLineOfAValueIsKept) {
  ResetAndScan("DNS Servers: 10.0.0.53\r\n       10.0.0.54\r\nNode Type: Hybrid\r\n");
  EXPECT_STREQ(configSnapshot.host.dnsServers, "10.0.0.53");
  EXPECT_STREQ(configSnapshot.host.nodeType, "Hybrid");
}

TEST(ScanReportLineEnds, BareLineFeedsMakeOneLine) {
  ResetAndScan("Host Name: pc\nNode Type: Hybrid\nEthernet adapter x:\n");
  EXPECT_STREQ(configSnapshot.host.hostName, "pc");
  EXPECT_STREQ(configSnapshot.host.nodeType, "");
  EXPECT_EQ(configSnapshot.adapterCount, 0);
}

TEST(ScanReportAdapters, HeaderOpensASlotWithBlanksStoredAsQuestionMarks) {
  ResetAndScan("Ethernet adapter LAN 2:\r\n  Description . . : Fast  Ethernet NIC\r\n");
  EXPECT_EQ(configSnapshot.adapterCount, 1);
  EXPECT_STREQ(configSnapshot.adapters.name[0], "LAN?2");
  EXPECT_STREQ(configSnapshot.adapters.description[0], "Fast  Ethernet NIC");
  ResetAndScan("  ETHERNET ADAPTER Local Area Connection :\r\n");
  EXPECT_STREQ(configSnapshot.adapters.name[0], "Local?Area?Connection?");
}

TEST(ScanReportAdapters, LinesFillOnlyTheLastOpenedSlot) {
  ResetAndScan("Ethernet adapter A:\r\nIP Address: 1\r\n"
               "Ethernet adapter B:\r\nSubnet Mask: 255.0.0.0\r\n");
  EXPECT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], "1");
  EXPECT_STREQ(configSnapshot.adapters.subnetMask[0], "");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[1], "");
  EXPECT_STREQ(configSnapshot.adapters.subnetMask[1], "255.0.0.0");
}

TEST(ScanReportAdapters, EverySettingKeyReachesItsTable) {
  ResetAndScan("Ethernet adapter e:\r\nPhysical Address: 0\r\nIP Address: 1\r\nSubnet Mask: 2\r\n"
               "Default Gateway: 3\r\nDHCP Server: 4\r\nPrimary WINS Server: 5\r\n"
               "Secondary WINS Server: 6\r\nLease Obtained: 7\r\nLease Expires: 8\r\n");
  for (int i = 0; i < ADAPTER_SETTING_COUNT; ++i)
    EXPECT_STREQ(adapterSettings[i][0], std::to_string(i).c_str()) << i;
}

TEST(ScanReportAdapters, HeaderWithoutColonRunsOnToTheNextColon) {
  ResetAndScan("Ethernet adapter eth0\r\n  IP Address: 10.0.0.1\r\nNode Type: x\r\n");
  EXPECT_STREQ(configSnapshot.adapters.name[0], "eth0\r\n??IP?Address");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], "");  // that line was never tested
  EXPECT_STREQ(configSnapshot.host.nodeType, "x");  // the walk resumes after the IP line
}

TEST(ScanReportAdapters, HostKeysInsideAnAdapterBlockStillGoToTheHost) {
  ResetAndScan("Ethernet adapter A:\r\n  DNS Servers: 10.1.1.1\r\n");
  EXPECT_STREQ(configSnapshot.host.dnsServers, "10.1.1.1");
}

TEST(ScanReportLimits, AdapterKeysBeforeTheFirstHeaderStoreNothing) {
  ResetAndScan("IP Address: 1.1.1.1\r\nDescription: d\r\nHost Name: h\r\n");
  EXPECT_EQ(configSnapshot.adapterCount, 0);
  EXPECT_STREQ(configSnapshot.host.hostName, "h");
  for (int slot = 0; slot < ADAPTER_SLOTS; ++slot) {
    EXPECT_STREQ(configSnapshot.adapters.ipAddress[slot], "");
    EXPECT_STREQ(configSnapshot.adapters.description[slot], "");
  }
}

TEST(ScanReportLimits, AScanContinuingEarlierSlotsHasNoCurrentSlotBeforeItsFirstHeader) {
  ResetAndScan("Ethernet adapter A:\r\nIP Address: 1\r\n");
  ScanExact("IP Address: 2\r\nEthernet adapter B:\r\nIP Address: 3\r\n");
  EXPECT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], "1");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[1], "3");
}

TEST(ScanReportLimits, AFifthEthernetHeaderOpensNoSlotAndTakesNoLines) {
  std::string report;
  for (char c = 'A'; c <= 'E'; ++c)
    report += std::string("Ethernet adapter ") + c + ":\r\nIP Address: " + c + "\r\n";
  report += "Host Name: after\r\n";
  ResetAndScan(report);
  EXPECT_EQ(configSnapshot.adapterCount, 4);
  EXPECT_STREQ(configSnapshot.adapters.name[3], "D");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[3], "D");
  EXPECT_STREQ(configSnapshot.host.hostName, "after");
}

TEST(ScanReportLimits, OverlongNamesAndValuesKeepWhatFitsAndTheWalkIsUnchanged) {
  const std::string longName(300, 'n');
  const std::string longValue(100, 'v');
  ResetAndScan("Ethernet adapter " + longName + ":\r\nDescription: " + longName +
               "\r\nIP Address: " + longValue + "\r\nSubnet Mask: 255.255.0.0\r\n");
  EXPECT_EQ(configSnapshot.adapters.name[0], std::string(255, 'n'));
  EXPECT_EQ(configSnapshot.adapters.description[0], std::string(255, 'n'));
  EXPECT_EQ(configSnapshot.adapters.ipAddress[0], std::string(63, 'v'));
  EXPECT_STREQ(configSnapshot.adapters.subnetMask[0], "255.255.0.0");
  EXPECT_TRUE(EveryFieldTerminated());
}

TEST(ScanReportLimits, TextEndingInsideTheHeaderStepIsNotReadPast) {
  const char* endings[] = {"Ethernet adapter", "Ethernet adapter ", "  ethernet adapterX",
                           "Ethernet adapterab"};
  for (const char* text : endings) {
    ResetAndScan(text);
    EXPECT_EQ(configSnapshot.adapterCount, 1) << text;
    EXPECT_TRUE(EveryFieldTerminated());
  }
  ResetAndScan("Ethernet adapterab");
  EXPECT_STREQ(configSnapshot.adapters.name[0], "b");  // the step passes over any byte
}

TEST(ScanReportOtherAdapters, LinesOfAnotherKindDoNotOverwriteTheEthernetSlot) {
  ResetAndScan("Ethernet adapter LAN:\r\n  Description: NIC\r\n  IP Address: 10.0.0.2\r\n"
               "PPP adapter Dial Up:\r\n  Description: WAN (PPP/SLIP) Interface\r\n"
               "  IP Address: 172.16.0.9\r\n  DNS Servers: 172.16.0.1\r\n"
               "Ethernet adapter LAN 2:\r\n  IP Address: 10.0.1.2\r\n");
  EXPECT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.adapters.description[0], "NIC");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], "10.0.0.2");
  EXPECT_STREQ(configSnapshot.host.dnsServers, "172.16.0.1");  // host keys still store
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[1], "10.0.1.2");
}

TEST(ScanReportOtherAdapters, OnlyALineEndedByItsColonAfterTheWordIsAHeader) {
  struct Case {
    const char* line;
    bool endsSlot;
  };
  const Case cases[] = {
      {"PPP adapter RAS:", true},
      {"   tunnel ADAPTER Teredo Tunneling:", true},
      {"Wireless LAN adapter Wi-Fi:", true},
      {"Token Ring adapter TR 1 :", true},
      {"PPP adapter NoColon", false},                        // no ':' on the line
      {"Description . . : Fast adapter Card", false},        // the word is after the ':'
      {"PPPadapter X:", false},                              // no blank before the word
      {"My Description adapter x: text", true},
  };
  for (const Case& c : cases) {
    ResetAndScan(std::string("Ethernet adapter E:\r\n") + c.line +
                 "\r\nLease Expires: soon\r\n");
    EXPECT_STREQ(configSnapshot.adapters.leaseExpires[0], c.endsSlot ? "" : "soon") << c.line;
  }
}

TEST(ScanReportFullArea, AFullAreaOfAnyBytesStaysInsideTextAndSnapshot) {
  std::string report;
  unsigned seed = 12345;
  while (report.size() < 32767) {
    seed = seed * 1103515245u + 12345u;
    switch ((seed >> 16) % 6) {
      case 0: report += "Ethernet adapter "; break;
      case 1: report += "IP Address"; break;
      case 2: report += "\r\n"; break;
      case 3: report += ':'; break;
      case 4: report += " adapter "; break;
      default: report += static_cast<char>(1 + (seed >> 8) % 255); break;
    }
  }
  report.resize(32767);
  ResetAndScan(report);
  EXPECT_GE(configSnapshot.adapterCount, 0);
  EXPECT_LE(configSnapshot.adapterCount, ADAPTER_SLOTS);
  EXPECT_TRUE(EveryFieldTerminated());
}

}  // namespace
