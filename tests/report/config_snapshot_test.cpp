#include <cstring>

#include <gtest/gtest.h>

#include "scan_helpers.h"

namespace {

TEST(ResetSnapshot, EmptiesEveryFieldOfEverySlotAndTheCount) {
  std::memset(&configSnapshot, 'x', sizeof configSnapshot);
  configSnapshot.adapterCount = 3;
  ResetSnapshot();
  EXPECT_EQ(configSnapshot.adapterCount, 0);
  for (const char* field : hostFields) EXPECT_STREQ(field, "");
  for (int slot = 0; slot < ADAPTER_SLOTS; ++slot) {
    EXPECT_STREQ(configSnapshot.adapters.name[slot], "") << slot;
    EXPECT_STREQ(configSnapshot.adapters.description[slot], "") << slot;
    for (auto table : adapterSettings) EXPECT_STREQ(table[slot], "") << slot;
  }
}

TEST(ResetSnapshot, ClearsAllFourSlotsWhateverTheCountWas) {
  ResetAndScan("Ethernet adapter A:\r\nEthernet adapter B:\r\nEthernet adapter C:\r\n"
               "Ethernet adapter D:\r\n  IP Address: 10.0.0.4\r\n");
  ASSERT_EQ(configSnapshot.adapterCount, 4);
  configSnapshot.adapterCount = 1;  // the clear must not depend on the count
  ResetSnapshot();
  EXPECT_STREQ(configSnapshot.adapters.name[3], "");
  EXPECT_STREQ(configSnapshot.adapters.ipAddress[3], "");
}

TEST(ConfigSnapshotTables, FollowTheOrderTheWindowShowsThem) {
  EXPECT_EQ(hostFields[0], configSnapshot.host.hostName);
  EXPECT_EQ(hostFields[6], configSnapshot.host.netbiosUsesDns);
  EXPECT_EQ(adapterSettings[0], configSnapshot.adapters.physicalAddress);
  EXPECT_EQ(adapterSettings[1], configSnapshot.adapters.ipAddress);
  EXPECT_EQ(adapterSettings[8], configSnapshot.adapters.leaseExpires);
}

}  // namespace
