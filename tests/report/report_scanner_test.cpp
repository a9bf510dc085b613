// What the stored reports in fixtures/ (read by report-dump, and fuzzed) cannot show:
// a scan going on from an earlier one's slots, and the reset.
#include "report/report_scanner.h"

#include <cstring>

#include <gtest/gtest.h>

#include "report/config_snapshot.h"

namespace {

TEST(ScanReport, AScanGoingOnFromEarlierSlotsHasNoCurrentSlotBeforeItsFirstHeader) {
  ResetSnapshot();
  ScanReport("Ethernet adapter A:\r\nIP Address: 1\r\n");
  ScanReport("IP Address: 2\r\nEthernet adapter B:\r\nIP Address: 3\r\n");
  EXPECT_EQ(configSnapshot.adapterCount, 2);
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[0], "1");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[1], "3");
}

TEST(ResetSnapshot, EmptiesEveryFieldOfEverySlotWhateverTheCount) {
  std::memset(&configSnapshot, 'x', sizeof configSnapshot);
  configSnapshot.adapterCount = 1;
  ResetSnapshot();
  for (const char* field : hostFields) EXPECT_STREQ(field, "");
  for (int slot = 0; slot < ADAPTER_SLOTS; ++slot) {
    EXPECT_STREQ(configSnapshot.adapters.name[slot], "");
    EXPECT_STREQ(configSnapshot.adapters.description[slot], "");
    for (auto table : adapterSettings) EXPECT_STREQ(table[slot], "") << slot;
  }
  EXPECT_EQ(configSnapshot.adapterCount, 0);
}

}  // namespace
