// What the stored reports in fixtures/ cannot show: a scan from a buffer of exactly
// the text and its NUL (so that AddressSanitizer catches a read past the end), a scan
// going on from an earlier one's slots, and the reset.
#include "report/report_scanner.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/config_snapshot.h"

namespace {

void ScanExactly(const std::string& text) {
  std::vector<char> exact(text.begin(), text.end());
  exact.push_back('\0');
  ScanReport(exact.data());
}

TEST(ScanReport, TextEndingWithinTheStepAfterAHeaderIsNotReadPast) {
  for (const char* text : {"Ethernet adapter", "Ethernet adapter ", "  ethernet adapterX"}) {
    ResetSnapshot();
    ScanExactly(text);
    EXPECT_EQ(configSnapshot.adapterCount, 1) << text;
    EXPECT_STREQ(configSnapshot.adapters.name[0], "") << text;
  }
}

TEST(ScanReport, AScanGoingOnFromEarlierSlotsHasNoCurrentSlotBeforeItsFirstHeader) {
  ResetSnapshot();
  ScanExactly("Ethernet adapter A:\r\nIP Address: 1\r\n");
  ScanExactly("IP Address: 2\r\nEthernet adapter B:\r\nIP Address: 3\r\n");
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
