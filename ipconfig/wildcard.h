// Adapter-name patterns for /renew and /release.
#pragma once

// True when name matches pattern, where '*' stands for any run of characters and '?'
// for any one character (so "Local?Area?Connection" matches "Local Area Connection").
// A double-byte character of the ANSI code page is one character, and matches only
// itself; single-byte letters match regardless of case.
bool MatchesWildcard(const char* pattern, const char* name);
