// Pure text help for the console: no Win32, so it is tested natively too.
#pragma once

// Ends text at its first byte of value 0x10 or less (NUL, tab, LF, CR among them),
// leaving the first line without its line end. Bytes of 0x80 and above belong to
// the line.
void CutAtLineEnd(char* text);
