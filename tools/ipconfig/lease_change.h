// Renewing and releasing DHCP leases, one line of outcome for each adapter acted on.
#pragma once

#include "tools/ipconfig/platform_config.h"

// The system's answer to renewing (or releasing) one interface's lease: 0 or an error.
using LeaseCall = DWORD (*)(bool renew, DWORD interfaceIndex);
DWORD AskSystem(bool renew, DWORD interfaceIndex);

// Acts on every adapter whose connection name matches pattern, or with no pattern on
// every adapter that uses DHCP, and writes a line for each; the exit code: 0 when
// every lease asked for was renewed (or released), else 1.
int ChangeLeases(const PlatformConfig& config, bool renew, const char* pattern, LeaseCall call,
                 ReportText& out);

// The system's own text for an error code, on one line, without its closing dot.
void SystemMessage(DWORD error, char* text, std::size_t size);
