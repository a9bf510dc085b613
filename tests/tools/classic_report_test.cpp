// The classic report writer, against a stored report and its snapshot as the program
// reads it (classic_report.txt and .expected beside this file).
#include "tools/ipconfig/classic_report.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "tools/ipconfig/wildcard.h"
#include "tools/report-dump/snapshot_dump.h"

namespace {

std::string ReadFile(const char* name) {
  std::string text(1 << 16, '\0');
  std::FILE* file = std::fopen((SOURCE_DIR "/tests/tools/" + std::string(name)).c_str(), "rb");
  text.resize(file ? std::fread(&text[0], 1, text.size(), file) : 0);
  if (file) std::fclose(file);
  return text;
}

TEST(MatchesWildcard, StarForAnyRunQuestionMarkForAnyOneByteLettersFolded) {
  const struct { const char *pattern, *name; bool matches; } cases[] = {
      {"Local?Area", "Local Area", true}, {"Local?Area", "Local Area 2", false}, {"*2", "LAN 2", true},
      {"*Area*", "Local Area 2", true},   {"", "", true},                      {"", "eth0", false},
      {"eth?", "eth", false},             {"ETH0", "eth0", true},              {"a*b*c", "aXbYbZc", true},
      {"e*h*1", "eth0", false},           {"\x83\x8d*", "\x83\x8d\x81\x5b", true}};
  for (const auto& c : cases) EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

TEST(ClassicReport, WritesTheStoredReportWhichTheProgramReadsAsStored) {
  HostConfig host = {"pc01", "example.org", "Hybrid", "", true, false, false, 2, {"10.0.0.53", "10.0.0.54"}};
  static AdapterConfig adapters[3];
  const char* names[] = {"Local Area", "Dial Up", "LAN\t2"};
  for (int i = 0; i < 3; ++i) {
    adapters[i].kind = i == 1 ? "PPP" : "Ethernet";
    CopyClean(adapters[i].name, sizeof adapters[i].name, names[i]);
    CopyClean(adapters[i].description, sizeof adapters[i].description, names[i]);
    std::strcpy(adapters[i].physicalAddress, "00-0C-F1-11-22-33");
    adapters[i].addressCount = 1 + i;
    for (int k = 0; k <= i; ++k)
      std::snprintf(adapters[i].addresses[k], ADDRESS_SIZE, "10.0.%d.%d", i, k + 2), std::strcpy(adapters[i].masks[k], "255.0.0.0");
  }
  adapters[0].dhcpEnabled = true;
  adapters[0].gatewayCount = 1;
  std::strcpy(adapters[0].gateways[0], "10.0.0.1");
  std::strcpy(adapters[0].dhcpServer, "10.0.0.1");
  std::strcpy(adapters[0].leaseExpires, "2026\x94\x4e 12\x8c\x8e");
  static ReportText report;
  WriteFullReport(report, host, adapters, 3);
  EXPECT_EQ(report.text, ReadFile("classic_report.txt"));
  ResetSnapshot();
  ScanReport(report.text);
  char* dump = nullptr;
  std::size_t length = 0;
  std::FILE* out = open_memstream(&dump, &length);
  DumpSnapshot(out);
  std::fclose(out);
  EXPECT_EQ(std::string(dump, length), ReadFile("classic_report.expected"));
  std::free(dump);
}

}  // namespace
