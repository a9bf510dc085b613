// Adapter-name patterns for /renew and /release.
#pragma once

// True when name matches pattern, where '*' stands for any run of characters and '?'
// for any one character (so "Local?Area?Connection" matches "Local Area Connection").
// Both are read as characters of the ANSI code page, whatever its kind (single-byte,
// double-byte or UTF-8), a surrogate pair as one; letters of every script match
// regardless of case.
bool MatchesWildcard(const char* pattern, const char* name);

// True when name is pattern taken literally: '?' stands for itself or a blank, as the
// window writes blanks, and '*' for itself; letters match regardless of case.
bool MatchesLiterally(const char* pattern, const char* name);

// The walk itself, over UTF-16 text whose letters are folded already: a surrogate pair
// is one character.
bool MatchesCharacters(const wchar_t* pattern, const wchar_t* name);
