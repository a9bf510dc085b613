// Pure text help for the console, with no Win32 in it; the console's items test it
// through the real program.
#pragma once

// Ends text at its first byte of value 0x10 or less (NUL, tab, LF, CR among them),
// leaving the first line without its line end. Bytes of 0x80 and above belong to
// the line.
void CutAtLineEnd(char* text);
