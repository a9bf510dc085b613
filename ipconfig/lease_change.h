// Renewing and releasing DHCP leases, one line of outcome for each adapter acted on.
#pragma once

#include "ipconfig/platform_config.h"

// Acts on every adapter whose connection name is pattern taken literally, else on every
// one whose name matches it as a wildcard pattern, or with no pattern on
// every connected adapter that uses DHCP, and writes a line for each; the exit code: 0
// when every lease asked for was renewed (or released), else 1.
int ChangeLeases(const PlatformConfig& config, bool renew, const char* pattern, ReportText& out);
