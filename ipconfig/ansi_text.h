// Text from the system's wide functions for the report, which is read in the system's
// ANSI code page.
#pragma once

#include <windows.h>

// Converts wide into text (size bytes) in the ANSI code page; false, and text empty,
// where that page lacks one of its characters, which would come out as '?' or as a
// look-alike.
bool ToAnsiExactly(const wchar_t* wide, char* text, int size);
