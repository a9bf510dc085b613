// The classic report writer, against a stored report: the program's reading of that
// report is checked with the other stored reports (tests/report/fixtures/).
#include "tools/ipconfig/classic_report.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "tools/ipconfig/wildcard.h"

namespace {

TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneByteLettersFolded) {
  const struct {
    const char *pattern, *name;
    bool matches;
  } cases[] = {{"Local?Area", "Local Area", true},
               {"Local?Area", "Local Area 2", false},
               {"*2", "LAN 2", true},
               {"*Area*", "Local Area 2", true},
               {"", "", true},
               {"", "eth0", false},
               {"eth?", "eth", false},
               {"ETH0", "eth0", true},
               {"a*b*c", "aXbYbZc", true},
               {"e*h*1", "eth0", false},
               {"\x83\x8d*", "\x83\x8d\x81\x5b", true},
               {"Local*", "Local", true}};
  for (const auto& c : cases)
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

TEST(ClassicReport, WritesTheStoredReportWithCrLfLineEndsAndOnlyTheFirstAddressOnTheKeysLine) {
  HostConfig host = {
      "pc01", "example.org", "Hybrid", "", true, false, false, 2, {"10.0.0.53", "10.0.0.54"}};
  static AdapterConfig adapters[3];
  const char* names[] = {"Local Area", "Dial Up", "LAN\t2"};
  for (int i = 0; i < 3; ++i) {
    adapters[i].kind = i == 1 ? "PPP" : "Ethernet";
    CopyClean(adapters[i].name, sizeof adapters[i].name, names[i]);
    CopyClean(adapters[i].description, sizeof adapters[i].description, names[i]);
    std::strcpy(adapters[i].physicalAddress, "00-0C-F1-11-22-33");
    adapters[i].addressCount = 1 + i;
    for (int k = 0; k <= i; ++k)
      std::snprintf(adapters[i].addresses[k], ADDRESS_SIZE, "10.0.%d.%d", i, k + 2),
          std::strcpy(adapters[i].masks[k], "255.0.0.0");
  }
  adapters[0].dhcpEnabled = true;
  adapters[0].gatewayCount = 1;
  std::strcpy(adapters[0].gateways[0], "10.0.0.1");
  std::strcpy(adapters[0].dhcpServer, "10.0.0.1");
  std::strcpy(adapters[0].leaseExpires, "2026\x94\x4e 12\x8c\x8e");
  static ReportText report;
  WriteFullReport(report, host, adapters, 3);
  std::ifstream stored(SOURCE_DIR "/tests/report/fixtures/classic_report.txt", std::ios::binary);
  EXPECT_EQ(report.text, std::string(std::istreambuf_iterator<char>(stored), {}));
}

}  // namespace
