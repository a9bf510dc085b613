// The console: runs ipconfig commands from its menu and shows their raw output.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ConsoleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Builds prefix + the first line of the output box in area (TEXT_AREA_SIZE bytes).
void ComposeWithFirstLine(HWND window, char* area, const char* prefix);
