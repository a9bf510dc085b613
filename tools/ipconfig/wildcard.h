// Adapter-name patterns for /renew and /release.
#pragma once

// True when name matches pattern, where '*' stands for any run of bytes and '?'
// for any one byte (so "Local?Area?Connection" matches "Local Area Connection").
// ASCII letters match regardless of case.
bool MatchesWildcard(const char* pattern, const char* name);
