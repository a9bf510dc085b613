// What the stored reports in fixtures/ (read by report-dump) cannot show: a scan going on
// from an earlier one's slots, as a read nested in another's wait leaves them.
#include "report/report_scanner.h"

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

}  // namespace
