// Fills the configuration snapshot from the text of an "ipconfig /all" report by
// matching fixed English keys at the start of each CR LF line.
#pragma once

// True when key is a prefix of text, comparing bytes with bit 0x20 cleared.
bool StartsWithNoCase(const char* text, const char* key);

// Walks a NUL-terminated report and stores every line it knows in configSnapshot.
// It does not empty the snapshot first: slots are opened from adapterCount on.
void ScanReport(const char* report);
