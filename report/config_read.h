// Reads the machine's IP configuration afresh into configSnapshot.
#pragma once

// Empties the snapshot, captures "ipconfig /all" and scans it. When another read
// completed while this one's report was running, that newer result stands and
// this read's older report is not scanned.
void ParseReport();
